// Audio and clock speed rules, and the clock, cel and sample conversions.
#include <climits>
#include <cmath>
#include <limits>

#include "test_support.h"

namespace {

constexpr char kKey[] = "video_in_film_pulldown";
enum KeyState { key_unset, key_0, key_1 };

struct Speed : HostReset {
    static void set_key(KeyState k) {
        if (k == key_unset)
            host::unset_config_int(kKey);
        else
            host::set_config_int(kKey, k == key_0 ? 0 : 1);
    }
    static MPosn_Xlate_Params params(Kest::FrameRate pr, transfer_type t, Kest::FrameRate video, double camera = 24.0) {
        MPosn_Xlate_Params P;
        P.project_rate = pr;
        P.cel_resolution = Kest::getCelResolution(pr);
        P.transfer = t;
        P.video_rate = video;
        P.camera_film_fps = camera;
        return P;
    }
    // Cel position of `seconds` at project rate pr.
    static double cels(Kest::FrameRate pr, double seconds) {
        return Kest::getCelResolution(pr) * seconds / Kest::getFrameDuration(pr);
    }
};

// At film project rates, video of no stated transfer runs the film at the
// video rate; the key says whether that video holds the film by pulldown
// (default 0 for 25 fps video, 1 for the others). Cel back to audio undoes it.
TEST_F(Speed, AudioAtFilmRatesWithVideoOfNoStatedTransfer) {
    for (KeyState key : {key_unset, key_0, key_1}) {
        set_key(key);
        for (int pr : {1, 2, 6, 7, 31, 34})
            for (int vr : {1, 3, 4, 5, 8, 9, 10}) {
                MPosn_Xlate_Params P = params(fr(pr), transfer_unspecified, fr(vr));
                bool const pal = vr == 3 || vr == 8;
                double factor = Kest::has1001Factor(fr(vr)) ? 1 / 1.001 : 1.0;
                if (pal && key != key_1) factor *= 25.0 / 24.0;
                if (!pal && key == key_0) factor *= 1.25;
                double const c = mPosn_Xlate(2.0, audio_Medium, cel_Medium, P, false);
                EXPECT_DOUBLE_EQ(c, cels(fr(pr), 2.0 * factor)) << pr << " " << vr << " " << key;
                EXPECT_NEAR(mPosn_Xlate(-c, cel_Medium, audio_Medium, P, false), -2.0, 1e-12) << pr << " " << vr;
            }
    }
    MPosn_Xlate_Params P = params(Kest::FrameRate_24, transfer_unspecified, Kest::FrameRate_25);
    set_key(key_unset);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, audio_Medium, cel_Medium, P, false), 24 * 1.0416666666666667);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(24.0, cel_Medium, audio_Medium, P, false), 0.96);
    P.video_rate = Kest::FrameRate_29_97;
    EXPECT_DOUBLE_EQ(mPosn_Xlate(24.0, cel_Medium, audio_Medium, P, false), 1.001);
    set_key(key_0);  // read at each translation with the same block
    EXPECT_DOUBLE_EQ(mPosn_Xlate(24.0, cel_Medium, audio_Medium, P, false), 1.001 * 0.8);
    for (transfer_type t : {transfer_pull23, transfer_pogle, transfer_frame_for_frame, transfer_pulldown}) {
        P.transfer = t;  // any stated transfer keeps audio at film speed
        EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, audio_Medium, cel_Medium, P, false), 24.0) << t;
    }
}

// At video project rates, the camera-speed correction: 24/25 (48/50) at
// 25 and 50 fps, 24/30 (48/60) at 30 and 60 fps, and 1/1.001 for a 29.97
// transfer of no stated kind at the NTSC and other rates.
TEST_F(Speed, AudioAtVideoRates) {
    struct { transfer_type t; bool use_aud_sync, aud_sync_pulled_down, applies; } const rules[] = {
        {transfer_unspecified, false, false, false}, {transfer_unspecified, true, false, false},
        {transfer_frame_for_frame, false, true, true}, {transfer_pull23, false, true, true},
        {transfer_pogle, false, false, true},        {transfer_pulldown, false, false, false},
        {transfer_pulldown, true, false, true},      {transfer_pulldown, true, true, false},
        {transfer_frame_for_frame, true, true, false},
    };
    for (int pr : {3, 8, 4, 5, 9, 10, 35, 0})
        for (auto const& c : rules)
            for (double cam : {24.0, 25.0, 48.0})
                for (int vr : {3, 5}) {
                    bool const pal = pr == 3 || pr == 8;
                    MPosn_Xlate_Params P = params(fr(pr), c.t, fr(vr), cam);
                    P.use_aud_sync_setting = c.use_aud_sync;
                    P.aud_sync_pulled_down = c.aud_sync_pulled_down;
                    double v = 1.0;
                    if (!pal && c.t == transfer_unspecified)
                        v = vr == 5 ? 1 / 1.001 : 1.0;
                    else if (c.applies)
                        v = cam / (pal ? 25 : 30) / (cam == 48.0 ? 2 : 1);
                    double const cel = mPosn_Xlate(1.0, audio_Medium, cel_Medium, P, false);
                    EXPECT_DOUBLE_EQ(cel, cels(fr(pr), v)) << pr << " " << c.t << " " << cam << " " << vr;
                    EXPECT_NEAR(mPosn_Xlate(cel, cel_Medium, audio_Medium, P, false), 1.0, 1e-12);
                }
    MPosn_Xlate_Params P = params(Kest::FrameRate_25, transfer_frame_for_frame, Kest::FrameRate_25);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, audio_Medium, cel_Medium, P, false), 24.0);
    P.transfer = transfer_pulldown;
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, audio_Medium, cel_Medium, P, false), 25.0);
    // Film run at 25 and 30: audio to cel leaves seconds, cel to audio speeds them up.
    P = params(Kest::FrameRate_film_at_25, transfer_frame_for_frame, Kest::FrameRate_25);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, audio_Medium, cel_Medium, P, false), cels(Kest::FrameRate_film_at_25, 1.0));
    EXPECT_DOUBLE_EQ(mPosn_Xlate(25.0, cel_Medium, audio_Medium, P, false), 25.0 / 24.0);
    P = params(Kest::FrameRate_film_at_30, transfer_unspecified, Kest::FrameRate_29_97);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(30.0, cel_Medium, audio_Medium, P, false), 1.25);
}

TEST_F(Speed, FilmSourceVideoAndClockToAudio) {
    for (double cam : {24.0, 25.0, 48.0}) {
        MPosn_Xlate_Params P = params(Kest::FrameRate_24, transfer_pulldown, Kest::FrameRate_29_97, cam);
        EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, film_Medium, audio_Medium, P, false), 24 / cam);
        EXPECT_DOUBLE_EQ(mPosn_Xlate(-1.0, lab_Medium, audio_Medium, P, false), -24 / cam);
    }
    MPosn_Xlate_Params P = params(Kest::FrameRate_24, transfer_unspecified, Kest::FrameRate_29_97);
    EXPECT_EQ(mPosn_Xlate(2.0, source_30i_1001_Medium, audio_Medium, P, false), 2.0);
    P.transfer = transfer_frame_for_frame;
    EXPECT_DOUBLE_EQ(mPosn_Xlate(2.0, source_25p_Medium, audio_Medium, P, false), 2.0 * 25 / 24);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(2.0, source_30i_1001_Medium, audio_Medium, P, false), 2.0 * (30 / 1.001) / 24);
    P.transfer = transfer_pulldown;
    EXPECT_DOUBLE_EQ(mPosn_Xlate(2.0, source_30i_1001_Medium, audio_Medium, P, false), 2.0 / 1.001);
    EXPECT_EQ(mPosn_Xlate(2.0, source_25i_Medium, audio_Medium, P, false), 2.0);
    P = params(Kest::FrameRate_24, transfer_frame_for_frame, Kest::FrameRate_29_97);
    P.output_rate = Kest::FrameRate_24;
    P.output_rate_has_1001 = false;
    EXPECT_DOUBLE_EQ(mPosn_Xlate(2.0, audio_Medium, time_Medium, P, false), 2.0);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(-2.0, time_Medium, audio_Medium, P, false), -2.0);
    P.video_medium = unknown_Medium;  // audio to no medium: unchanged, silently
    EXPECT_EQ(printed([&] { EXPECT_EQ(mPosn_Xlate(-2.5, audio_Medium, video_Medium, P, false), -2.5); }), "");
}

// Clock and cel at film rates follow the output pull-up one way and the
// gearing the other at the 1000/1001 film rates.
TEST_F(Speed, ClockAndCel) {
    struct {
        int pr, orate;
        bool pulled_down;
        double to_cel, to_time;  // time 1.0 s to cel, cel 1.0 to time
    } const rows[] = {
        {1, 5, false, 1.25 / 1.001, 1.001 * 0.8}, {1, 5, true, 1 / 1.001, 1.001}, {1, 4, false, 1.25, 0.8},
        {1, 3, false, 1.0416666666666667, 0.96},  {6, 8, true, 1.0, 1.0},
        {31, 10, false, 1.25 / 1.001, 1.001 * 0.8},
        {2, 5, true, 1 / 1.001, 1.001 / 30},      {7, 3, false, 1.0416666666666667, 0.04},
        {1, 1, true, 24.0, 1 / 24.0},             {1, 35, false, 24.0, 1 / 24.0},  // film-rate and >60 fps outputs
        {3, 3, true, 25.0, 0.04},                 {9, 5, true, 30 / 1.001, 1.001 / 30},  // video rates: the gearing
    };
    for (auto const& r : rows) {
        MPosn_Xlate_Params P;
        P.initOutputFormat(fr(r.pr), fr(r.orate), r.pulled_down);
        EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, time_Medium, cel_Medium, P, false), r.to_cel) << r.pr << " " << r.orate;
        EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, cel_Medium, time_Medium, P, false), r.to_time) << r.pr << " " << r.orate;
        EXPECT_DOUBLE_EQ(mPosn_Xlate_ClockToCel(-1.0, P), -r.to_cel);
        EXPECT_DOUBLE_EQ(mPosn_Xlate_CelToClock(-1.0, P), -r.to_time);
    }
    host::ProjectSettings s = host::default_project_settings();
    s.output_image_rate = Kest::FrameRate_29_97;
    s.output_pulled_down = false;
    host::set_project_settings(s);
    Kest::OutputGearing const g(Kest::FrameRate_25, true), project(Kest::FrameRate_29_97, false);
    MPosn_Xlate_Params P(g);
    for (double t : {3.7, -2.25}) {
        EXPECT_EQ(mPosn_Xlate_ClockToCel(t, g), mPosn_Xlate_ClockToCel(t, P));
        EXPECT_EQ(mPosn_Xlate_ClockToCel(t, g), t);  // pulled-down 25 fps output in a 24 fps project
        EXPECT_EQ(mPosn_Xlate_ClockToCel(t), mPosn_Xlate_ClockToCel(t, project));
        EXPECT_DOUBLE_EQ(transform_KESTtime_to_CELtime(t), t / 1.001 * 1.25);  // the project's output image
        EXPECT_EQ(transform_CELtime_to_KESTtime(t), mPosn_Xlate(t, cel_Medium, time_Medium));
    }
    MPosn_Xlate_Params C;
    C.initOutputFormat(Kest::FrameRate_25, Kest::FrameRate_25, true);
    C.video_medium = source_25p_Medium;
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, time_Medium, film_Medium, C, false), 25 / 24.0);  // through cel
    double v = -3;
    EXPECT_EQ(getTRSVelocityForCurrentUTR(v, film_Medium, true, transfer_pull23, Kest::FrameRate_25), 0);
    EXPECT_EQ(v, 1.0);
}

TEST_F(Speed, SamplesAndCelPositions) {
    for (int r : {1, 2, 3, 5, 8, 10, 35, 37, 41, 45, 46}) {
        host::ProjectSettings s = host::default_project_settings();
        s.frame_rate = fr(r);
        host::set_project_settings(s);
        double const cel = Kest::getCelResolution(fr(r));
        for (int n = -100000; n <= 100000; n += 37) {
            ASSERT_EQ(sampleNr_to_CelPosn(n), cel * n) << r;
            ASSERT_EQ(celPosn_to_SampleNr(sampleNr_to_CelPosn(n)), n) << r;
        }
        if (cel == 1.0 || cel == 0.5) {
            for (int n : {INT_MAX, INT_MIN}) EXPECT_EQ(celPosn_to_SampleNr(sampleNr_to_CelPosn(n)), n) << r;
        }
    }
    host::ProjectSettings s = host::default_project_settings();
    s.frame_rate = Kest::FrameRate_50;  // cel 0.5
    host::set_project_settings(s);
    double const inf = std::numeric_limits<double>::infinity();
    struct { double cel; int sample; } const cases[] = {
        {1.24, 2}, {1.49996, 3},  // within 0.0001 of a sample below
        {-0.2, -1}, {-0.5, -1}, {-0.51, -2},  // floor first
        {std::nan(""), 0}, {inf, INT_MAX}, {-inf, INT_MIN}, {1e300, INT_MAX}, {-1e12, INT_MIN},
    };
    for (auto const& c : cases) EXPECT_EQ(celPosn_to_SampleNr(c.cel), c.sample) << c.cel;
}

}  // namespace
