// Audio and clock speed rules, and the clock, cel and sample conversions.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include <labelsbase/labelsbase.h>

namespace {

using Kest::FrameRate;

FrameRate fr(int r) { return static_cast<FrameRate>(r); }

constexpr char kKey[] = "video_in_film_pulldown";
enum KeyState { key_unset, key_0, key_1 };

class Speed : public ::testing::Test {
protected:
    void SetUp() override { restore(); }
    void TearDown() override { restore(); }
    static void restore() {
        host::set_project_settings(host::default_project_settings());
        host::reset_config();
    }
    static void set_key(KeyState k) {
        if (k == key_unset)
            host::unset_config_int(kKey);
        else
            host::set_config_int(kKey, k == key_0 ? 0 : 1);
    }
    static MPosn_Xlate_Params params(FrameRate pr, transfer_type t, FrameRate video, double camera = 24.0) {
        MPosn_Xlate_Params P;
        P.project_rate = pr;
        P.cel_resolution = Kest::getCelResolution(pr);
        P.transfer = t;
        P.video_rate = video;
        P.camera_film_fps = camera;
        return P;
    }
    // Cel position of `seconds` at project rate pr.
    static double cels(FrameRate pr, double seconds) {
        return Kest::getCelResolution(pr) * seconds / Kest::getFrameDuration(pr);
    }
};

constexpr int kFilmRates[] = {1, 2, 6, 7, 31, 34};
constexpr int kVideoRates[] = {1, 3, 4, 5, 8, 9, 10};

// ---------------------------------------------------------------------------
// Audio at film project rates: video of no stated transfer runs the film at
// the video rate; the key says whether that video holds the film by pulldown.

TEST_F(Speed, AudioAtFilmRatesWithVideoOfNoStatedTransfer) {
    for (KeyState key : {key_unset, key_0, key_1}) {
        set_key(key);
        for (int pr : kFilmRates)
            for (int vr : kVideoRates) {
                MPosn_Xlate_Params P = params(fr(pr), transfer_unspecified, fr(vr));
                bool const pal = vr == 3 || vr == 8;
                double factor = Kest::has1001Factor(fr(vr)) ? 1 / 1.001 : 1.0;
                if (pal && key != key_1) factor *= 25.0 / 24.0;   // default 0: 25 fps video sped the film up
                if (!pal && key == key_0) factor *= 1.25;          // default 1: 30 fps video is pulled down
                double const c = mPosn_Xlate(2.0, audio_Medium, cel_Medium, P, false);
                EXPECT_DOUBLE_EQ(c, cels(fr(pr), 2.0 * factor)) << pr << " " << vr << " " << key;
                // Cel back to audio undoes it: 0.96, 0.8 and 1.001.
                EXPECT_NEAR(mPosn_Xlate(c, cel_Medium, audio_Medium, P, false), 2.0, 1e-12)
                    << pr << " " << vr << " " << key;
                EXPECT_NEAR(mPosn_Xlate(-c, cel_Medium, audio_Medium, P, false), -2.0, 1e-12);
            }
    }
}

TEST_F(Speed, AudioAtFilmRatesWorkedExamples) {
    MPosn_Xlate_Params P = params(Kest::FrameRate_24, transfer_unspecified, Kest::FrameRate_25);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, audio_Medium, cel_Medium, P, false), 24 * 1.0416666666666667);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(24.0, cel_Medium, audio_Medium, P, false), 0.96);
    set_key(key_1);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, audio_Medium, cel_Medium, P, false), 24.0);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(24.0, cel_Medium, audio_Medium, P, false), 1.0);
    // 29.97 video: 1/1.001, and 1.25 only with the key at 0.
    P.video_rate = Kest::FrameRate_29_97;
    host::unset_config_int(kKey);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, audio_Medium, cel_Medium, P, false), 24 / 1.001);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(24.0, cel_Medium, audio_Medium, P, false), 1.001);
    // The key is read at each translation with the same block.
    set_key(key_0);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, audio_Medium, cel_Medium, P, false), 24 / 1.001 * 1.25);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(24.0, cel_Medium, audio_Medium, P, false), 1.001 * 0.8);
    set_key(key_1);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, audio_Medium, cel_Medium, P, false), 24 / 1.001);
    // Any stated transfer keeps audio at film speed.
    for (transfer_type t : {transfer_pull23, transfer_pogle, transfer_frame_for_frame, transfer_pulldown}) {
        P.transfer = t;
        EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, audio_Medium, cel_Medium, P, false), 24.0) << t;
        EXPECT_DOUBLE_EQ(mPosn_Xlate(24.0, cel_Medium, audio_Medium, P, false), 1.0) << t;
    }
}

// ---------------------------------------------------------------------------
// Audio at video project rates: the camera-speed correction.

struct CorrectionCase {
    transfer_type t;
    bool use_aud_sync, aud_sync_pulled_down;
    bool applies;
};
constexpr CorrectionCase kCorrection[] = {
    {transfer_unspecified, false, false, false}, {transfer_unspecified, true, false, false},
    {transfer_frame_for_frame, false, false, true}, {transfer_frame_for_frame, false, true, true},
    {transfer_pull23, false, true, true},          {transfer_pogle, false, false, true},
    {transfer_pulldown, false, false, false},      {transfer_pulldown, true, false, true},
    {transfer_pulldown, true, true, false},        {transfer_frame_for_frame, true, true, false},
    {transfer_frame_for_frame, true, false, true},
};

TEST_F(Speed, AudioAtPalRates) {
    for (int pr : {3, 8})
        for (CorrectionCase const& c : kCorrection)
            for (double cam : {24.0, 25.0, 48.0}) {
                MPosn_Xlate_Params P = params(fr(pr), c.t, Kest::FrameRate_29_97, cam);
                P.use_aud_sync_setting = c.use_aud_sync;
                P.aud_sync_pulled_down = c.aud_sync_pulled_down;
                double const v = !c.applies ? 1.0 : cam == 48.0 ? cam / 50 : cam / 25;
                double const cel = mPosn_Xlate(1.0, audio_Medium, cel_Medium, P, false);
                EXPECT_DOUBLE_EQ(cel, cels(fr(pr), v)) << pr << " " << c.t << " " << cam;
                EXPECT_NEAR(mPosn_Xlate(cel, cel_Medium, audio_Medium, P, false), 1.0, 1e-12);
            }
    // Worked: frame for frame at 25 with a 24 fps camera runs 24/25; pulled down it does not.
    MPosn_Xlate_Params P = params(Kest::FrameRate_25, transfer_frame_for_frame, Kest::FrameRate_25);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, audio_Medium, cel_Medium, P, false), 24.0);
    P.transfer = transfer_pulldown;
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, audio_Medium, cel_Medium, P, false), 25.0);
}

TEST_F(Speed, AudioAtNtscAndOtherRates) {
    for (int pr : {4, 5, 9, 10, 35, 44, 0})
        for (CorrectionCase const& c : kCorrection)
            for (double cam : {24.0, 25.0, 48.0})
                for (int vr : {3, 5}) {
                    MPosn_Xlate_Params P = params(fr(pr), c.t, fr(vr), cam);
                    P.use_aud_sync_setting = c.use_aud_sync;
                    P.aud_sync_pulled_down = c.aud_sync_pulled_down;
                    double v = 1.0;
                    if (c.t == transfer_unspecified)
                        v = vr == 5 ? 1 / 1.001 : 1.0;
                    else if (c.applies)
                        v = cam == 48.0 ? cam / 60 : cam / 30;
                    double const cel = mPosn_Xlate(1.0, audio_Medium, cel_Medium, P, false);
                    EXPECT_DOUBLE_EQ(cel, cels(fr(pr), v)) << pr << " " << c.t << " " << cam;
                    EXPECT_NEAR(mPosn_Xlate(cel, cel_Medium, audio_Medium, P, false), 1.0, 1e-12);
                }
}

TEST_F(Speed, FilmRunAtVideoRatesKeepsAudioOneWay) {
    // 25 and 30 fps runs of film: audio to cel leaves seconds as they are,
    // cel to audio speeds them up by 25/24 and 1.25.
    MPosn_Xlate_Params P = params(Kest::FrameRate_film_at_25, transfer_frame_for_frame, Kest::FrameRate_25);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, audio_Medium, cel_Medium, P, false), cels(Kest::FrameRate_film_at_25, 1.0));
    EXPECT_DOUBLE_EQ(mPosn_Xlate(25.0, cel_Medium, audio_Medium, P, false), 25.0 / 24.0);
    P = params(Kest::FrameRate_film_at_30, transfer_unspecified, Kest::FrameRate_29_97);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, audio_Medium, cel_Medium, P, false), cels(Kest::FrameRate_film_at_30, 1.0));
    EXPECT_DOUBLE_EQ(mPosn_Xlate(30.0, cel_Medium, audio_Medium, P, false), 1.25);
}

TEST_F(Speed, FilmAndSourceVideoToAudio) {
    for (double cam : {24.0, 25.0, 48.0}) {
        MPosn_Xlate_Params P = params(Kest::FrameRate_24, transfer_pulldown, Kest::FrameRate_29_97, cam);
        EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, film_Medium, audio_Medium, P, false), 24 / cam);
        EXPECT_DOUBLE_EQ(mPosn_Xlate(-1.0, lab_Medium, audio_Medium, P, false), -24 / cam);
    }
    MPosn_Xlate_Params P = params(Kest::FrameRate_24, transfer_unspecified, Kest::FrameRate_29_97, 24.0);
    EXPECT_EQ(mPosn_Xlate(2.0, source_30i_1001_Medium, audio_Medium, P, false), 2.0);
    P.transfer = transfer_frame_for_frame;
    EXPECT_DOUBLE_EQ(mPosn_Xlate(2.0, source_25p_Medium, audio_Medium, P, false), 2.0 * 25 / 24);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(2.0, source_30i_1001_Medium, audio_Medium, P, false), 2.0 * (30 / 1.001) / 24);
    P.camera_film_fps = 48.0;
    EXPECT_DOUBLE_EQ(mPosn_Xlate(2.0, source_60p_Medium, audio_Medium, P, false), 2.0 * 60 / 48);
    for (transfer_type t : {transfer_pulldown, transfer_pull23, transfer_pogle}) {
        P.transfer = t;
        EXPECT_DOUBLE_EQ(mPosn_Xlate(2.0, source_30i_1001_Medium, audio_Medium, P, false), 2.0 / 1.001);
        EXPECT_EQ(mPosn_Xlate(2.0, source_25i_Medium, audio_Medium, P, false), 2.0);
    }
}

TEST_F(Speed, AudioToOtherMediaGoesThroughCel) {
    MPosn_Xlate_Params P = params(Kest::FrameRate_24, transfer_frame_for_frame, Kest::FrameRate_29_97);
    P.output_rate = Kest::FrameRate_24;
    P.output_rate_has_1001 = false;
    EXPECT_DOUBLE_EQ(mPosn_Xlate(2.0, audio_Medium, film_Medium, P, false), 2.0);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(2.0, audio_Medium, time_Medium, P, false), 2.0);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(-2.0, time_Medium, audio_Medium, P, false), -2.0);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(2.0, audio_Medium, output_24p_Medium, P, false), 2.0);
    // An audio position to no medium comes back unchanged and says nothing.
    P.video_medium = unknown_Medium;
    testing::internal::CaptureStdout();
    EXPECT_EQ(mPosn_Xlate(-2.5, audio_Medium, video_Medium, P, false), -2.5);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    LogNothing("%s %d\n", "dropped", 1);
}

// ---------------------------------------------------------------------------
// Clock and cel.

TEST_F(Speed, ClockAtFilmRatesFollowsTheOutputPullUp) {
    struct Row {
        int pr, orate;
        bool pulled_down;
        double to_cel;   // time 1.0 s to cel
        double to_time;  // cel 1.0 to time
    } const rows[] = {
        {1, 5, false, 1.25 / 1.001, 1.001 * 0.8}, {1, 5, true, 1 / 1.001, 1.001},
        {1, 4, false, 1.25, 0.8},                 {1, 9, true, 1.0, 1.0},
        {1, 3, false, 1.0416666666666667, 0.96},  {6, 8, true, 1.0, 1.0},
        {31, 10, false, 1.25 / 1.001, 1.001 * 0.8},
        // 1000/1001 film rates: the output factors one way, the gearing the other.
        {2, 5, true, 1 / 1.001, 1.001 / 30}, {7, 3, false, 1.0416666666666667, 0.04},
        // Film-rate outputs and outputs above 60 fps: the gearing.
        {1, 1, true, 24.0, 1 / 24.0}, {1, 6, true, 24.0, 1 / 24.0}, {1, 35, false, 24.0, 1 / 24.0},
        // Video rates: the gearing.
        {3, 3, true, 25.0, 0.04}, {8, 3, true, 25.0, 0.04}, {4, 5, false, 30 / 1.001, 1.001 / 30},
        {9, 5, true, 30 / 1.001, 1.001 / 30},
    };
    for (Row const& r : rows) {
        MPosn_Xlate_Params P;
        P.initOutputFormat(fr(r.pr), fr(r.orate), r.pulled_down);
        EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, time_Medium, cel_Medium, P, false), r.to_cel)
            << r.pr << " " << r.orate << " " << r.pulled_down;
        EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, cel_Medium, time_Medium, P, false), r.to_time)
            << r.pr << " " << r.orate << " " << r.pulled_down;
        EXPECT_DOUBLE_EQ(mPosn_Xlate_ClockToCel(-1.0, P), -r.to_cel);
        EXPECT_DOUBLE_EQ(mPosn_Xlate_CelToClock(-1.0, P), -r.to_time);
    }
}

TEST_F(Speed, ClockEntryPointsAgree) {
    host::ProjectSettings s = host::default_project_settings();
    s.frame_rate = Kest::FrameRate_24;
    s.output_image_rate = Kest::FrameRate_29_97;
    s.output_pulled_down = false;
    host::set_project_settings(s);
    Kest::OutputGearing const g(Kest::FrameRate_25, true);
    MPosn_Xlate_Params P(g);
    for (double t : {0.0, 0.5, 1.0, 3.7, -2.25}) {
        EXPECT_EQ(mPosn_Xlate_ClockToCel(t, g), mPosn_Xlate_ClockToCel(t, P));
        EXPECT_EQ(mPosn_Xlate_CelToClock(t, g), mPosn_Xlate_CelToClock(t, P));
        EXPECT_EQ(mPosn_Xlate_ClockToCel(t, g), t);  // pulled down 25 fps output in a 24 fps project
        // The project's gearing and the project's output image agree here.
        Kest::OutputGearing const project(Kest::FrameRate_29_97, false);
        EXPECT_EQ(mPosn_Xlate_ClockToCel(t), mPosn_Xlate_ClockToCel(t, project));
        EXPECT_EQ(mPosn_Xlate_CelToClock(t), mPosn_Xlate_CelToClock(t, project));
        EXPECT_EQ(transform_KESTtime_to_CELtime(t), mPosn_Xlate(t, time_Medium, cel_Medium));
        EXPECT_EQ(transform_CELtime_to_KESTtime(t), mPosn_Xlate(t, cel_Medium, time_Medium));
        EXPECT_DOUBLE_EQ(transform_KESTtime_to_CELtime(t), t / 1.001 * 1.25);
    }
    // A 25 fps project round-trips clock and cel at its own rate.
    s.frame_rate = Kest::FrameRate_25;
    s.output_image_rate = Kest::FrameRate_25;
    host::set_project_settings(s);
    for (int n = -50; n <= 50; ++n)
        EXPECT_NEAR(mPosn_Xlate_CelToClock(mPosn_Xlate_ClockToCel(n / 25.0)), n / 25.0, 1e-12);
    EXPECT_DOUBLE_EQ(transform_KESTtime_to_CELtime(2.0), 50.0);
}

TEST_F(Speed, ClockToOtherMedia) {
    MPosn_Xlate_Params P;
    P.initOutputFormat(Kest::FrameRate_25, Kest::FrameRate_25, true);
    EXPECT_EQ(mPosn_Xlate(1.5, time_Medium, output_60p_Medium, P, false), 1.5);
    // Clock to source video and film through cel.
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, time_Medium, source_25i_Medium, P, false), 1.0);
    P.video_medium = source_25p_Medium;
    P.transfer = transfer_frame_for_frame;
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, time_Medium, film_Medium, P, false), 25 / 24.0);
}

// ---------------------------------------------------------------------------
// Samples.

TEST_F(Speed, SamplesAndCelPositionsRoundTrip) {
    for (int r : {1, 2, 3, 5, 6, 8, 10, 35, 37, 40, 41, 42, 43, 45, 46}) {
        host::ProjectSettings s = host::default_project_settings();
        s.frame_rate = fr(r);
        host::set_project_settings(s);
        double const cel = Kest::getCelResolution(fr(r));
        for (int n = -100000; n <= 100000; n += 7) {
            EXPECT_EQ(sampleNr_to_CelPosn(n), cel * n);
            ASSERT_EQ(celPosn_to_SampleNr(sampleNr_to_CelPosn(n)), n) << r;
        }
        if (cel == 1.0 || cel == 0.5) {
            for (int n : {INT_MAX, INT_MIN, INT_MAX - 1, INT_MIN + 1})
                EXPECT_EQ(celPosn_to_SampleNr(sampleNr_to_CelPosn(n)), n) << r;
        }
    }
}

TEST_F(Speed, CelPositionsToSamplesRoundDown) {
    host::ProjectSettings s = host::default_project_settings();
    s.frame_rate = Kest::FrameRate_50;  // cel 0.5
    host::set_project_settings(s);
    EXPECT_EQ(celPosn_to_SampleNr(1.0), 2);
    EXPECT_EQ(celPosn_to_SampleNr(1.24), 2);
    EXPECT_EQ(celPosn_to_SampleNr(1.49996), 3);  // within 0.0001 of a sample below
    EXPECT_EQ(celPosn_to_SampleNr(-0.2), -1);    // floor first
    EXPECT_EQ(celPosn_to_SampleNr(-0.5), -1);
    EXPECT_EQ(celPosn_to_SampleNr(-0.51), -2);
    double const inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(celPosn_to_SampleNr(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(celPosn_to_SampleNr(inf), INT_MAX);
    EXPECT_EQ(celPosn_to_SampleNr(-inf), INT_MIN);
    EXPECT_EQ(celPosn_to_SampleNr(1e300), INT_MAX);
    EXPECT_EQ(celPosn_to_SampleNr(-1e12), INT_MIN);
    EXPECT_EQ(celPosn_to_SampleNr(1e99), INT_MAX);
}

TEST_F(Speed, TransportVelocityIsAlwaysOne) {
    double v = -3;
    EXPECT_EQ(getTRSVelocityForCurrentUTR(v, film_Medium, true, transfer_pull23, Kest::FrameRate_25), 0);
    EXPECT_EQ(v, 1.0);
    v = 0;
    EXPECT_EQ(getTRSVelocityForCurrentUTR(v, unknown_Medium, false, transfer_unspecified, fr(-9)), 0);
    EXPECT_EQ(v, 1.0);
}

}  // namespace
