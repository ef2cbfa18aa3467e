// Audio and clock speed rules, and the clock, cel and sample conversions.
#include <climits>
#include <cmath>
#include <limits>

#include "test_support.h"

namespace {

struct Speed : HostReset {};

// Audio seconds against cels: film speed under a stated transfer; at film
// rates video of no stated transfer runs the film at the video rate unless
// "video_in_film_pulldown" says it holds it by pulldown (default 0 for 25 fps
// video, 1 otherwise); at video rates the camera-speed correction.
TEST_F(Speed, AudioWorkedExamples) {
    constexpr transfer_type un = transfer_unspecified, ff = transfer_frame_for_frame, pd = transfer_pulldown;
    struct {
        int pr;
        transfer_type t;
        int video;
        double cam;
        bool use_sync, sync_pd;
        int key;  // key -1: unset
        MediumRollMedium from, to;
        double x, want;
    } const rows[] = {
        {1, un, 3, 24, false, true, -1, audio_Medium, cel_Medium, 1.0, 25.0},  // 25 fps video: 25/24
        {1, un, 3, 24, false, true, 1, audio_Medium, cel_Medium, 1.0, 24.0},
        {1, un, 5, 24, false, true, -1, audio_Medium, cel_Medium, 1.001, 24.0},       // 29.97 held by pulldown
        {1, un, 5, 24, false, true, 0, cel_Medium, audio_Medium, 24.0, 1.001 * 0.8},  // 30 fps run
        {34, un, 4, 24, false, true, 0, audio_Medium, cel_Medium, 1.0, 30.0},
        {1, transfer_pogle, 5, 24, false, true, 0, audio_Medium, cel_Medium, 1.0, 24.0},    // stated: film speed
        {3, ff, 3, 24, false, true, -1, audio_Medium, cel_Medium, 1.0, 24.0},               // 24/25
        {3, pd, 3, 24, false, true, -1, audio_Medium, cel_Medium, 1.0, 25.0},               // pulled down: none
        {3, pd, 3, 24, true, false, -1, audio_Medium, cel_Medium, 1.0, 24.0},               // the sync setting decides
        {8, transfer_pull23, 3, 48, false, true, -1, audio_Medium, cel_Medium, 1.0, 24.0},  // 48/50
        {5, un, 5, 24, false, true, -1, audio_Medium, cel_Medium, 1.001, 30 / 1.001},       // 1/1.001
        {9, ff, 5, 25, false, true, -1, cel_Medium, audio_Medium, 50.0, 2.0},               // 30/25
        {35, ff, 3, 48, false, true, -1, audio_Medium, cel_Medium, 1.0, 19.2},              // 48/60
        {32, ff, 3, 24, false, true, -1, cel_Medium, audio_Medium, 25.0, 25.0 / 24},        // film run at 25, 30
        {33, un, 5, 24, false, true, -1, cel_Medium, audio_Medium, 30.0, 1.25},
        {1, pd, 5, 48, false, true, -1, film_Medium, audio_Medium, -1.0, -0.5},
        {1, un, 5, 24, false, true, -1, source_30i_1001_Medium, audio_Medium, 2.0, 2.0},
        {1, ff, 5, 24, false, true, -1, source_25p_Medium, audio_Medium, 2.0, 2.0 * 25 / 24},
        {1, pd, 5, 24, false, true, -1, source_30i_1001_Medium, audio_Medium, 2.0, 2.0 / 1.001},
    };
    for (auto const& r : rows) {
        if (r.key < 0)
            host::unset_config_int("video_in_film_pulldown");
        else
            host::set_config_int("video_in_film_pulldown", r.key);
        MPosn_Xlate_Params P;  // the key is read at each translation, so one block serves
        P.project_rate = fr(r.pr);
        P.cel_resolution = Kest::getCelResolution(fr(r.pr));
        P.transfer = r.t;
        P.video_rate = fr(r.video);
        P.camera_film_fps = r.cam;
        P.use_aud_sync_setting = r.use_sync;
        P.aud_sync_pulled_down = r.sync_pd;
        double const y = mPosn_Xlate(r.x, r.from, r.to, P, false);
        EXPECT_DOUBLE_EQ(y, r.want) << r.pr << " " << r.t << " " << r.video << " " << r.from << " -> " << r.to;
        if (r.from == audio_Medium) {
            EXPECT_NEAR(mPosn_Xlate(-y, cel_Medium, audio_Medium, P, false), -r.x, 1e-12) << r.pr << " back";
        }
    }
}

// Clock and cel at film rates follow the output pull-up one way and the
// gearing the other at the 1000/1001 film rates; film-rate and over-60 fps
// outputs give the frame rate; video rates the gearing.
TEST_F(Speed, ClockAndCel) {
    struct {
        int pr, orate;
        bool pulled_down;
        double to_cel, to_time;  // time 1.0 s to cel, cel 1.0 to time
    } const rows[] = {
        {6, 8, true, 1.0, 1.0},       {1, 5, true, 1 / 1.001, 1.001},       {1, 3, false, 1.0416666666666667, 0.96},
        {1, 4, false, 1.25, 0.8},     {1, 35, false, 24.0, 1 / 24.0},       {7, 3, false, 1.0416666666666667, 0.04},
        {3, 3, true, 25.0, 0.04},     {2, 5, true, 1 / 1.001, 1.001 / 30},  {1, 5, false, 1.25 / 1.001, 1.001 * 0.8},
        {1, 1, true, 24.0, 1 / 24.0}, {9, 5, true, 30 / 1.001, 1.001 / 30}, {31, 10, false, 1.25 / 1.001, 1.001 * 0.8},
    };
    for (auto const& r : rows) {
        MPosn_Xlate_Params P;
        P.initOutputFormat(fr(r.pr), fr(r.orate), r.pulled_down);
        EXPECT_DOUBLE_EQ(mPosn_Xlate_ClockToCel(1.0, P), r.to_cel) << r.pr << " " << r.orate;
        EXPECT_DOUBLE_EQ(mPosn_Xlate_CelToClock(-1.0, P), -r.to_time) << r.pr << " " << r.orate;
    }
    host::ProjectSettings s = host::default_project_settings();
    s.output_image_rate = Kest::FrameRate_29_97;
    s.output_pulled_down = false;
    host::set_project_settings(s);
    Kest::OutputGearing const g(Kest::FrameRate_25, true), project(Kest::FrameRate_29_97, false);
    for (double t : {3.7, -2.25}) {
        EXPECT_EQ(mPosn_Xlate_ClockToCel(t, g), t);  // pulled-down 25 fps output in a 24 fps project
        EXPECT_EQ(mPosn_Xlate_ClockToCel(t), mPosn_Xlate_ClockToCel(t, project));
        EXPECT_DOUBLE_EQ(transform_KESTtime_to_CELtime(t), t / 1.001 * 1.25);  // the project's output image
        EXPECT_EQ(transform_CELtime_to_KESTtime(t), mPosn_Xlate(t, cel_Medium, time_Medium));
    }
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
    struct {
        double cel;
        int sample;
    } const cases[] = {
        // within 0.0001 below, floor, saturation
        {1.24, 2}, {1.49996, 3}, {-0.2, -1}, {-0.51, -2}, {std::nan(""), 0}, {inf, INT_MAX}, {-1e12, INT_MIN}};
    for (auto const& c : cases) EXPECT_EQ(celPosn_to_SampleNr(c.cel), c.sample) << c.cel;
}

}  // namespace
