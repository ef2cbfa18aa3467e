// Parameter blocks and position translation between film, source video,
// output and cel.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>

#include <labelsbase/EditLabel.h>
#include <labelsbase/MediumRoll.h>
#include <labelsbase/labelsbase.h>

namespace {

using Kest::FrameRate;

constexpr double kNone = 1e99;

FrameRate fr(int r) { return static_cast<FrameRate>(r); }
MediumRollMedium med(int m) { return static_cast<MediumRollMedium>(m); }

class Xlate : public ::testing::Test {
protected:
    void SetUp() override { restore(); }
    void TearDown() override { restore(); }
    static void restore() {
        host::set_project_settings(host::default_project_settings());
        host::reset_config();
    }
    static void set_project(FrameRate rate, FrameRate out = Kest::FrameRate_29_97, bool pulled_down = true,
                            FrameRate camera = Kest::FrameRate_24,
                            Kest::Image::ScanMode scan = Kest::Image::ScanMode_interlaced_upper) {
        host::ProjectSettings s = host::default_project_settings();
        s.frame_rate = rate;
        s.output_image_rate = out;
        s.output_pulled_down = pulled_down;
        s.in_camera_film_speed = camera;
        s.output_scan_mode = scan;
        host::set_project_settings(s);
    }
    // A block for the open project with a transfer at a phase.
    static MPosn_Xlate_Params params(FrameRate pr, transfer_type t = transfer_frame_for_frame, int phase = 0,
                                     MediumRollMedium video = unknown_Medium) {
        MPosn_Xlate_Params P;
        P.project_rate = pr;
        P.cel_resolution = Kest::getCelResolution(pr);
        P.transfer = t;
        P.sequence_phase = phase;
        P.video_medium = video;
        return P;
    }
};

// ---------------------------------------------------------------------------
// Rounding and parameter blocks.

TEST(MRound, WithinATenThousandthBelowCountsAsTheInteger) {
    EXPECT_EQ(mround(2.99995), 3.0);
    EXPECT_EQ(mround(2.9998), 2.0);
    EXPECT_EQ(mround(-0.5), -1.0);
    EXPECT_EQ(mround(7.0), 7.0);
    EXPECT_EQ(mround(-0.00005), 0.0);
}

TEST_F(Xlate, InitSamplesTheProject) {
    set_project(Kest::FrameRate_25, Kest::FrameRate_50, false, Kest::FrameRate_48);
    host::ProjectSettings s = host::project_settings();
    s.audio_sync_pulled_down = false;
    host::set_project_settings(s);
    MPosn_Xlate_Params P;
    EXPECT_EQ(P.transfer, transfer_frame_for_frame);
    EXPECT_EQ(P.sequence_phase, 0);
    EXPECT_EQ(P.video_rate, Kest::FrameRate_none);
    EXPECT_EQ(P.video_medium, unknown_Medium);
    EXPECT_EQ(P.cookie, invalid_cookie);
    EXPECT_EQ(P.project_rate, Kest::FrameRate_25);
    EXPECT_EQ(P.cel_resolution, 1.0);
    EXPECT_EQ(P.output_rate, Kest::FrameRate_50);
    EXPECT_FALSE(P.output_rate_has_1001);
    EXPECT_FALSE(P.aud_sync_pulled_down);
    EXPECT_FALSE(P.use_aud_sync_setting);
    EXPECT_EQ(P.camera_film_fps, 48.0);
    EXPECT_FALSE(P.output_pulled_down);
    EXPECT_EQ(P.reserved, 0);

    // A block keeps what it sampled until it is initialised again.
    set_project(Kest::FrameRate_24);
    EXPECT_EQ(P.project_rate, Kest::FrameRate_25);
    P.init();
    EXPECT_EQ(P.project_rate, Kest::FrameRate_24);
    EXPECT_TRUE(P.output_rate_has_1001);
    EXPECT_TRUE(P.output_pulled_down);
}

TEST_F(Xlate, GearingConstructorTakesOnlyTheOutputFromTheGearing) {
    set_project(Kest::FrameRate_48, Kest::FrameRate_25, true);
    MPosn_Xlate_Params P(Kest::OutputGearing(Kest::FrameRate_59_94, false));
    EXPECT_EQ(P.output_rate, Kest::FrameRate_59_94);
    EXPECT_TRUE(P.output_rate_has_1001);
    EXPECT_FALSE(P.output_pulled_down);
    EXPECT_EQ(P.project_rate, Kest::FrameRate_48);
    EXPECT_EQ(P.cel_resolution, 0.5);
    EXPECT_EQ(P.transfer, transfer_frame_for_frame);
}

TEST_F(Xlate, LabelGroupTakesTheSourceMediumOfTheOutputImage) {
    struct Row {
        FrameRate out;
        Kest::Image::ScanMode scan;
        MediumRollMedium expected;
    } const rows[] = {
        {Kest::FrameRate_29_97, Kest::Image::ScanMode_interlaced_upper, source_30i_1001_Medium},
        {Kest::FrameRate_29_97, Kest::Image::ScanMode_progressive, source_30p_1001_Medium},
        {Kest::FrameRate_25, Kest::Image::ScanMode_interlaced_lower, source_25i_Medium},
        {Kest::FrameRate_50, Kest::Image::ScanMode_progressive_segmented, source_50p_Medium},
    };
    for (Row const& r : rows) {
        set_project(Kest::FrameRate_24, r.out, true, Kest::FrameRate_24, r.scan);
        MPosn_Xlate_Params P;
        P.init_for_labelgroup(transfer_pull23, 3);
        EXPECT_EQ(P.transfer, transfer_pull23);
        EXPECT_EQ(P.sequence_phase, 3);
        EXPECT_EQ(P.video_rate, r.out);
        EXPECT_EQ(P.video_medium, r.expected);
    }
}

TEST_F(Xlate, DefaultFilmVideoConversionFollowsTheKey) {
    set_project(Kest::FrameRate_25);
    MPosn_Xlate_Params P(Kest::OutputGearing(Kest::FrameRate_60, false));
    P.sequence_phase = 4;
    P.transfer = transfer_pogle;
    P.init_to_default_filmvid_conversion(Kest::FrameRate_29_97);
    EXPECT_EQ(P.transfer, transfer_frame_for_frame);
    EXPECT_EQ(P.sequence_phase, 0);
    EXPECT_EQ(P.video_rate, Kest::FrameRate_29_97);
    EXPECT_EQ(P.video_medium, source_30i_Medium);
    EXPECT_EQ(P.project_rate, Kest::FrameRate_25);
    EXPECT_EQ(P.output_rate, Kest::FrameRate_60);  // not re-initialised
    for (int v : {1, -3, 7}) {
        host::set_config_int("default_film_video_conversion_pulldown", v);
        P.init_to_default_filmvid_conversion(Kest::FrameRate_59_94);
        EXPECT_EQ(P.transfer, transfer_pulldown);
        EXPECT_EQ(P.video_medium, source_60p_Medium);
    }
    host::set_config_int("default_film_video_conversion_pulldown", 0);
    P.init_to_default_filmvid_conversion(Kest::FrameRate_25);
    EXPECT_EQ(P.transfer, transfer_frame_for_frame);
    EXPECT_EQ(P.video_medium, source_25i_Medium);
}

TEST_F(Xlate, PlayoutGenerationAndExplicitOutput) {
    MPosn_Xlate_Params P;
    P.sequence_phase = 3;
    P.output_pulled_down = false;
    P.transfer = transfer_pull23;
    P.init_to_default_playout_generation();
    EXPECT_EQ(P.sequence_phase, 0);
    EXPECT_TRUE(P.output_pulled_down);
    EXPECT_EQ(P.transfer, transfer_pull23);

    P.initOutputFormat(Kest::FrameRate_60, Kest::FrameRate_23_976, false);
    EXPECT_EQ(P.transfer, transfer_frame_for_frame);
    EXPECT_EQ(P.project_rate, Kest::FrameRate_60);
    EXPECT_EQ(P.cel_resolution, 0.5);
    EXPECT_EQ(P.output_rate, Kest::FrameRate_23_976);
    EXPECT_TRUE(P.output_rate_has_1001);
    EXPECT_FALSE(P.output_pulled_down);
}

TEST_F(Xlate, PlayfileSequenceAdvancesWithinTheCycle) {
    struct Row {
        transfer_type t;
        FrameRate video;
        int phase, frames, expected;
    } const rows[] = {
        {transfer_pulldown, Kest::FrameRate_30, 4, 7, 1},
        {transfer_pulldown, Kest::FrameRate_25, 4, 7, 11},
        {transfer_pulldown, Kest::FrameRate_50, 20, 7, 2},
        {transfer_frame_for_frame, Kest::FrameRate_30, 4, 7, 4},
        {transfer_pull23, Kest::FrameRate_30, 4, 7, 4},
        {transfer_pulldown, Kest::FrameRate_30, 1, -3, -2},   // remainder keeps the sign of the sum
        {transfer_pulldown, Kest::FrameRate_30, 0, INT_MAX, INT_MAX % 5},
        {transfer_pulldown, Kest::FrameRate_30, 1, INT_MAX, INT_MIN % 5},  // the sum wraps
    };
    for (Row const& r : rows) {
        MPosn_Xlate_Params P;
        P.transfer = r.t;
        P.video_rate = r.video;
        P.sequence_phase = r.phase;
        P.modify_sequence_to_playfile_std(r.frames);
        EXPECT_EQ(P.sequence_phase, r.expected) << r.phase << " + " << r.frames;
    }
}

TEST_F(Xlate, ConversionParams) {
    set_project(Kest::FrameRate_50);
    MPosn_Conversion_Params C;
    EXPECT_FALSE(C.sequence_active);
    EXPECT_EQ(C.transfer, transfer_frame_for_frame);
    EXPECT_TRUE(C.filmvid_conversion);
    EXPECT_EQ(C.filmvid_variant, 1);
    EXPECT_EQ(C.sequence_phase, 0);
    EXPECT_EQ(C.project_rate, Kest::FrameRate_50);
    EXPECT_EQ(C.filmvid_kind, 0);

    C.init_to_default_filmvid_conversion();
    EXPECT_EQ(C.filmvid_kind, 2);
    C.init_to_playout_generation();
    EXPECT_EQ(C.transfer, transfer_unspecified);
    EXPECT_FALSE(C.filmvid_conversion);
    C.filmvid_variant = 9;
    C.init_to_default_filmvid_conversion();
    EXPECT_TRUE(C.filmvid_conversion);
    EXPECT_EQ(C.filmvid_variant, 1);
    EXPECT_EQ(C.filmvid_kind, 1);

    C.sequence_phase = 3;
    C.modify_sequence_to_playfile_std(4);
    EXPECT_EQ(C.sequence_phase, 3);  // inactive
    C.sequence_active = true;
    C.modify_sequence_to_playfile_std(4);
    EXPECT_EQ(C.sequence_phase, 2);
    C.transfer = transfer_pogle;
    C.modify_sequence_to_playfile_std(30);
    EXPECT_EQ(C.sequence_phase, 7);
    C.modify_sequence_to_playfile_std(-10);
    EXPECT_EQ(C.sequence_phase, -3);
}

// ---------------------------------------------------------------------------
// The driver: trivial cases, sign, no position, generic media, failures.

TEST_F(Xlate, SameMediumAndUnknownMedium) {
    MPosn_Xlate_Params P = params(Kest::FrameRate_24);
    EXPECT_EQ(mPosn_Xlate(5.0, film_Medium, film_Medium, P, false), 5.0);
    EXPECT_EQ(mPosn_Xlate(-5.0, video_Medium, video_Medium, P, false), -5.0);
    EXPECT_EQ(mPosn_Xlate(5.0, source_24_Medium, source_24p_Medium, P, false), 5.0);
    EXPECT_EQ(mPosn_Xlate(5.0, edit_24_Medium, output_24p_Medium, P, false), 5.0);
    testing::internal::CaptureStdout();
    EXPECT_EQ(mPosn_Xlate(5.0, unknown_Medium, film_Medium, P, false), 0.0);
    EXPECT_EQ(mPosn_Xlate(5.0, cel_Medium, unknown_Medium, P, false), 0.0);
    EXPECT_EQ(mPosn_Xlate(kNone, unknown_Medium, unknown_Medium, P, false), 0.0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST_F(Xlate, NoPositionStaysNoPositionForEveryPair) {
    MPosn_Xlate_Params P = params(Kest::FrameRate_24, transfer_pulldown, 0, source_30i_1001_Medium);
    testing::internal::CaptureStdout();
    for (int a = 1; a <= 70; ++a)
        for (int b = 1; b <= 70; ++b)
            if (a != b) {
                ASSERT_EQ(mPosn_Xlate(kNone, med(a), med(b), P, false), kNone) << a << " " << b;
            }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST_F(Xlate, NegativePositionsTranslateTheMagnitude) {
    MPosn_Xlate_Params P = params(Kest::FrameRate_24, transfer_frame_for_frame);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(-1.0, film_Medium, source_25p_Medium, P, false), -24.0 / 25.0);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, film_Medium, source_25p_Medium, P, false), 24.0 / 25.0);
    P.transfer = transfer_pulldown;
    for (int n = 1; n < 100; ++n) {
        double const x = n / 24.0;
        for (MediumRollMedium to : {source_30i_1001_Medium, source_25i_Medium, cel_Medium, output_30i_1001_Medium})
            EXPECT_EQ(mPosn_Xlate(-x, film_Medium, to, P, false), -mPosn_Xlate(x, film_Medium, to, P, false));
    }
    // -1e99 is an ordinary negative position.
    double const r = mPosn_Xlate(-kNone, film_Medium, cel_Medium, P, false);
    EXPECT_LT(r, 0.0);
    EXPECT_NE(r, -kNone);
}

TEST_F(Xlate, UnsetPhaseIsWrittenBackAsZero) {
    MPosn_Xlate_Params P = params(Kest::FrameRate_24, transfer_pulldown, -1);
    double const r = mPosn_Xlate(2.0 / 24, film_Medium, source_30i_1001_Medium, P, false);
    EXPECT_EQ(P.sequence_phase, 0);
    EXPECT_DOUBLE_EQ(r, 5 / (2 * (30 / 1.001)));
    // Other phases are left as they are, even out of range.
    P.sequence_phase = 17;
    mPosn_Xlate(1.0, film_Medium, source_30i_1001_Medium, P, false);
    EXPECT_EQ(P.sequence_phase, 17);
    // Only a translation that gets past the same-medium test writes it.
    P.sequence_phase = -1;
    mPosn_Xlate(1.0, film_Medium, film_Medium, P, false);
    EXPECT_EQ(P.sequence_phase, -1);
    mPosn_Xlate(kNone, film_Medium, cel_Medium, P, false);
    EXPECT_EQ(P.sequence_phase, 0);
}

TEST_F(Xlate, UnknownSourcesPrintTheAssertionLine) {
    MPosn_Xlate_Params P = params(Kest::FrameRate_24, transfer_pulldown, 0, video_Medium);
    for (int m : {1, 3, 5, 6, 9, 71, 200, -4}) {
        testing::internal::CaptureStdout();
        double const r = mPosn_Xlate(-2.5, med(m), film_Medium, P, false);
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  "assertion failed unknown_Medium at labelsbase/mposnxlate line 2758\n")
            << m;
        EXPECT_EQ(r, -2.5);
    }
    // video_Medium standing for itself is not resolved twice.
    testing::internal::CaptureStdout();
    EXPECT_EQ(mPosn_Xlate(1.5, video_Medium, cel_Medium, P, false), 1.5);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "assertion failed unknown_Medium at labelsbase/mposnxlate line 2758\n");
}

TEST_F(Xlate, CelToAMediumItCannotReachPrintsFalse) {
    MPosn_Xlate_Params P = params(Kest::FrameRate_24);
    for (int m : {1, 5, 6, 9, 71, 113, -1}) {
        testing::internal::CaptureStdout();
        EXPECT_EQ(mPosn_Xlate(-3.0, cel_Medium, med(m), P, false), -3.0);
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  "assertion failed false at labelsbase/mposnxlate line 1622\n")
            << m;
    }
    // video_Medium standing for itself, or for no medium.
    for (MediumRollMedium vm : {video_Medium, unknown_Medium}) {
        P.video_medium = vm;
        testing::internal::CaptureStdout();
        EXPECT_EQ(mPosn_Xlate(3.0, cel_Medium, video_Medium, P, false), 3.0);
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  "assertion failed false at labelsbase/mposnxlate line 1622\n")
            << vm;
    }
    P.video_medium = unknown_Medium;
    // Film to such a medium goes through cel first and ends on the same line.
    testing::internal::CaptureStdout();
    EXPECT_EQ(mPosn_Xlate(-1.0, film_Medium, any_Medium, P, false), -24.0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "assertion failed false at labelsbase/mposnxlate line 1622\n");
}

TEST_F(Xlate, GenericMediaResolve) {
    set_project(Kest::FrameRate_24, Kest::FrameRate_25, false, Kest::FrameRate_24,
                Kest::Image::ScanMode_progressive);
    MPosn_Xlate_Params P = params(Kest::FrameRate_24, transfer_pulldown, 0, source_25p_Medium);
    // video_Medium is the block's video medium.
    EXPECT_EQ(mPosn_Xlate(1.0, film_Medium, video_Medium, P, false),
              mPosn_Xlate(1.0, film_Medium, source_25p_Medium, P, false));
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, film_Medium, video_Medium, P, false), 1.0);
    // edit_Medium is the project's output medium (25p here): cel 24 at the
    // 24/25 gearing of 1 is 24 frames of 25 fps.
    EXPECT_DOUBLE_EQ(mPosn_Xlate(24.0, cel_Medium, edit_Medium, P, false), 24 / 25.0);
    // source_24_Medium and edit_24_Medium stand for the progressive media.
    EXPECT_EQ(mPosn_Xlate(1.0, film_Medium, source_24_Medium, P, false),
              mPosn_Xlate(1.0, film_Medium, source_24p_Medium, P, false));
    EXPECT_EQ(mPosn_Xlate(24.0, cel_Medium, edit_24_Medium, P, false),
              mPosn_Xlate(24.0, cel_Medium, output_24p_Medium, P, false));
    // With no video medium set, translating to video answers 0.
    P.video_medium = unknown_Medium;
    EXPECT_EQ(mPosn_Xlate(1.0, film_Medium, video_Medium, P, false), 0.0);
}

TEST_F(Xlate, EditMediumOfAnUnmappedOutputRate) {
    set_project(Kest::FrameRate_24, fr(20));  // 2 fps: no output medium
    MPosn_Xlate_Params P = params(Kest::FrameRate_24);
    testing::internal::CaptureStdout();
    EXPECT_EQ(mPosn_Xlate(4.0, edit_Medium, film_Medium, P, false), 4.0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "assertion failed 0 at labelsbase/MediumRoll line 361\n"
              "assertion failed unknown_Medium at labelsbase/mposnxlate line 2758\n");
}

TEST_F(Xlate, OverloadsSetTheProjectRate) {
    set_project(Kest::FrameRate_24);
    // Local block from the project.
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, film_Medium, cel_Medium), 24.0);
    // Local block at another rate: 48 fps edit of 24 fps camera film, cel 0.5.
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, film_Medium, cel_Medium, Kest::FrameRate_48), 24.0);
    // Frame for frame at the 48 -> 24 gearing of 0.5.
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, film_Medium, source_24p_Medium, Kest::FrameRate_48), 0.5);
    MPosn_Xlate_Params P = params(Kest::FrameRate_24);
    P.aud_sync_pulled_down = false;
    mPosn_Xlate(1.0, film_Medium, cel_Medium, P, Kest::FrameRate_60);
    EXPECT_EQ(P.project_rate, Kest::FrameRate_60);
    EXPECT_EQ(P.cel_resolution, 0.5);
    EXPECT_FALSE(P.aud_sync_pulled_down);
    mPosn_Xlate(1.0, film_Medium, cel_Medium, P, Kest::FrameRate_25, Cookie(7));
    EXPECT_EQ(P.project_rate, Kest::FrameRate_25);
    EXPECT_TRUE(P.aud_sync_pulled_down);
    EXPECT_EQ(P.cookie, invalid_cookie);
}

// ---------------------------------------------------------------------------
// Film and source video through pulldown.

struct PhaseCase {
    MediumRollMedium medium;
    transfer_type transfer;
    int phases;
    int shifted_phase;  // the phase whose origin row is one frame on, or -1
};

class FilmVideoRoundTrip : public Xlate, public ::testing::WithParamInterface<PhaseCase> {};

// A film frame goes to video and back to itself at every phase (one frame
// later at the shifted 2:3 phase). Frames whose first video slot lies in the
// previous cycle come back with the video position's sign, so the check
// starts where video positions are non-negative.
TEST_P(FilmVideoRoundTrip, EveryPhase) {
    PhaseCase const c = GetParam();
    for (int phase = 0; phase < c.phases; ++phase) {
        MPosn_Xlate_Params P = params(Kest::FrameRate_24, c.transfer, phase);
        int const shift = phase == c.shifted_phase ? 1 : 0;
        for (int n = 0; n < 200; ++n) {
            double const v = mPosn_Xlate(n / 24.0, film_Medium, c.medium, P, false);
            if (v < 0) {
                EXPECT_EQ(n, 0) << "phase " << phase;
                continue;
            }
            double const back = mPosn_Xlate(v, c.medium, film_Medium, P, false);
            EXPECT_EQ(mround(back * 24), n + shift) << "phase " << phase << " frame " << n;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Pulldowns, FilmVideoRoundTrip,
    ::testing::Values(PhaseCase{source_30p_1001_Medium, transfer_pulldown, 5, 4},
                      PhaseCase{source_30i_1001_Medium, transfer_pull23, 5, 2},
                      PhaseCase{source_25p_Medium, transfer_pulldown, 25, -1},
                      PhaseCase{source_25i_Medium, transfer_pogle, 25, -1},
                      PhaseCase{source_50p_Medium, transfer_pulldown, 25, -1},
                      PhaseCase{source_60p_Medium, transfer_pulldown, 1, -1},
                      PhaseCase{source_60p_1001_Medium, transfer_pulldown, 1, -1},
                      // Frame for frame at the gearing of each rate.
                      PhaseCase{source_30i_1001_Medium, transfer_frame_for_frame, 1, -1},
                      PhaseCase{source_25i_Medium, transfer_frame_for_frame, 1, -1},
                      PhaseCase{source_48p_Medium, transfer_frame_for_frame, 1, -1},
                      PhaseCase{source_12p_Medium, transfer_frame_for_frame, 1, -1},
                      PhaseCase{source_120p_1001_Medium, transfer_frame_for_frame, 1, -1}));

TEST_F(Xlate, TwoThreeCadenceAtPhaseZero) {
    MPosn_Xlate_Params P = params(Kest::FrameRate_24, transfer_pulldown, 0);
    double const field = 1 / (2 * (30 / 1.001));
    int const fields[] = {0, 2, 5, 7, 10, 12, 15, 17};
    int const frames[] = {0, 1, 2, 3, 5, 6, 7, 8};
    for (int n = 0; n < 8; ++n) {
        EXPECT_DOUBLE_EQ(mPosn_Xlate(n / 24.0, film_Medium, source_30i_1001_Medium, P, false), fields[n] * field);
        EXPECT_DOUBLE_EQ(mPosn_Xlate(n / 24.0, film_Medium, source_30p_1001_Medium, P, false),
                         frames[n] / (30 / 1.001));
    }
    // Video frame 4 repeats film frame 3.
    EXPECT_DOUBLE_EQ(mPosn_Xlate(4 / (30 / 1.001), source_30p_1001_Medium, film_Medium, P, false), 3 / 24.0);
    // The 30 fps (not 1001) media place film at their own rate but read back
    // in 29.97 fps fields: frame 1 at 1/30 s reads as field 1, film frame 0.
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1 / 24.0, film_Medium, source_30p_Medium, P, false), 1 / 30.0);
    EXPECT_EQ(mPosn_Xlate(1 / 30.0, source_30p_Medium, film_Medium, P, false), 0.0);
    // 60p: two and a half frames per film frame, no table.
    EXPECT_DOUBLE_EQ(mPosn_Xlate(2 / 24.0, film_Medium, source_60p_Medium, P, false), 5 / 60.0);
}

TEST_F(Xlate, FieldAlignmentAtPhaseThree) {
    MPosn_Xlate_Params P = params(Kest::FrameRate_24, transfer_pulldown, 3);
    // Film frame 0 begins in the last field of the previous cycle.
    EXPECT_DOUBLE_EQ(mPosn_Xlate(0.0, film_Medium, source_30i_Medium, P, false), -1 / 60.0);
    EXPECT_EQ(mPosn_Xlate(0.0, film_Medium, source_30i_Medium, P, true), 0.0);
    // Film frame 1 begins on field 1: aligned to field 2.
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1 / 24.0, film_Medium, source_30i_Medium, P, true), 2 / 60.0);
    // Only source_30i_Medium is aligned among the 30 fps media.
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1 / 24.0, film_Medium, source_30i_1001_Medium, P, true), 1 / (2 * (30 / 1.001)));
    // 24-to-25 phase 24: frame 0 one field (and one frame) early; 25i aligns.
    P.sequence_phase = 24;
    EXPECT_DOUBLE_EQ(mPosn_Xlate(0.0, film_Medium, source_25i_Medium, P, false), -1 / 50.0);
    EXPECT_EQ(mPosn_Xlate(0.0, film_Medium, source_25i_Medium, P, true), 0.0);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(0.0, film_Medium, source_50p_Medium, P, true), -1 / 50.0);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(0.0, film_Medium, source_25p_Medium, P, true), -1 / 25.0);
}

TEST_F(Xlate, TwentyFourToTwentyFiveAtPhaseZero) {
    MPosn_Xlate_Params P = params(Kest::FrameRate_24, transfer_pulldown, 0);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(12 / 24.0, film_Medium, source_25p_Medium, P, false), 12 / 25.0);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(12 / 24.0, film_Medium, source_25i_Medium, P, false), 25 / 50.0);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, film_Medium, source_25p_Medium, P, false), 1.0);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(24 / 25.0, source_25p_Medium, film_Medium, P, false), 23 / 24.0);
    // Frame for frame instead: 24/25 s at gearing 1.
    P.transfer = transfer_frame_for_frame;
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, film_Medium, source_25p_Medium, P, false), 24 / 25.0);
}

TEST_F(Xlate, TransferChoiceByProjectRate) {
    // In a 24 fps project an unspecified transfer is pulled down to NTSC
    // video and read back from both families with their own defaults.
    MPosn_Xlate_Params P = params(Kest::FrameRate_24, transfer_unspecified, 0);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(2 / 24.0, film_Medium, source_30i_1001_Medium, P, false),
                     5 / (2 * (30 / 1.001)));
    EXPECT_DOUBLE_EQ(mPosn_Xlate(5 / (2 * (30 / 1.001)), source_30i_1001_Medium, film_Medium, P, false),
                     2 / 24.0);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, film_Medium, source_25p_Medium, P, false), 24 / 25.0);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(24 / 25.0, source_25p_Medium, film_Medium, P, false), 1.0);
    // At 23.976 it stays frame for frame to NTSC.
    P = params(Kest::FrameRate_23_976, transfer_unspecified, 0);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(2 / 24.0, film_Medium, source_30p_1001_Medium, P, false), 2 / (30 / 1.001));
    // A source medium outside the NTSC and PAL rows reads back unchanged under pulldown.
    P = params(Kest::FrameRate_24, transfer_pulldown, 0);
    EXPECT_EQ(mPosn_Xlate(0.75, source_48p_Medium, film_Medium, P, false), 0.75);
}

TEST_F(Xlate, FilmToVideoOfTheOtherFamilyHasNoPosition) {
    for (int pr : {3, 8, 32}) {
        MPosn_Xlate_Params P = params(fr(pr), transfer_pulldown);
        EXPECT_EQ(mPosn_Xlate(1.0, film_Medium, source_30i_1001_Medium, P, false), kNone) << pr;
        EXPECT_EQ(mPosn_Xlate(-1.0, film_Medium, source_60p_Medium, P, false), -kNone) << pr;
    }
    for (int pr : {4, 5, 9, 10, 33}) {
        MPosn_Xlate_Params P = params(fr(pr), transfer_pulldown);
        EXPECT_EQ(mPosn_Xlate(1.0, film_Medium, source_25i_Medium, P, false), kNone) << pr;
    }
    // Film run at 25 and at 30: one video frame per film frame.
    MPosn_Xlate_Params P = params(Kest::FrameRate_film_at_25, transfer_pulldown);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, film_Medium, source_50p_Medium, P, false), 24 / 25.0);
    P = params(Kest::FrameRate_film_at_30, transfer_pulldown);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, film_Medium, source_30i_1001_Medium, P, false), 24 / (30 / 1.001));
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, film_Medium, source_60p_Medium, P, false), 24 / 60.0);
}

TEST_F(Xlate, FrameForFrameGearing) {
    // 48 fps project: a film frame spans two 48p frames on the edit timeline
    // but one 25p frame at the 48 -> 25 gearing of 0.5.
    MPosn_Xlate_Params P = params(Kest::FrameRate_48, transfer_frame_for_frame);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, film_Medium, source_25p_Medium, P, false), 0.5 * 24 / 25);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, film_Medium, source_48p_Medium, P, false), 24 / 48.0);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(0.5 * 24 / 25, source_25p_Medium, film_Medium, P, false), 1.0);
    P = params(Kest::FrameRate_24, transfer_frame_for_frame);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, film_Medium, source_48p_Medium, P, false), 1.0);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, film_Medium, source_240p_Medium, P, false), 1.0);
}

// ---------------------------------------------------------------------------
// Phases and numbers out of range.

TEST_F(Xlate, PhasesOutOfRangeReduceIntoTheCycle) {
    for (MediumRollMedium m : {source_30i_1001_Medium, source_30p_1001_Medium}) {
        for (int phase : {5, 7, 12, -2, -3, -6, 1000001, INT_MAX, INT_MIN}) {
            int const in_range = ((phase % 5) + 5) % 5;
            MPosn_Xlate_Params P = params(Kest::FrameRate_24, transfer_pulldown, phase);
            MPosn_Xlate_Params Q = params(Kest::FrameRate_24, transfer_pulldown, in_range);
            for (int n = 0; n < 12; ++n) {
                EXPECT_EQ(mPosn_Xlate(n / 24.0, film_Medium, m, P, false),
                          mPosn_Xlate(n / 24.0, film_Medium, m, Q, false)) << phase;
                EXPECT_EQ(mPosn_Xlate(n / 30.0, m, film_Medium, P, false),
                          mPosn_Xlate(n / 30.0, m, film_Medium, Q, false)) << phase;
            }
            EXPECT_EQ(P.sequence_phase, phase);
        }
    }
    for (int phase : {25, 49, -2, -25, -26, INT_MAX, INT_MIN}) {
        int const in_range = ((phase % 25) + 25) % 25;
        MPosn_Xlate_Params P = params(Kest::FrameRate_24, transfer_pulldown, phase);
        MPosn_Xlate_Params Q = params(Kest::FrameRate_24, transfer_pulldown, in_range);
        for (MediumRollMedium m : {source_25p_Medium, source_25i_Medium})
            for (int n = 0; n < 50; ++n) {
                EXPECT_EQ(mPosn_Xlate(n / 24.0, film_Medium, m, P, false),
                          mPosn_Xlate(n / 24.0, film_Medium, m, Q, false)) << phase;
                EXPECT_EQ(mPosn_Xlate(n / 50.0, m, film_Medium, P, false),
                          mPosn_Xlate(n / 50.0, m, film_Medium, Q, false)) << phase;
            }
    }
}

TEST_F(Xlate, NonFiniteAndHugePositionsStayDefined) {
    double const inf = std::numeric_limits<double>::infinity();
    double const nan = std::numeric_limits<double>::quiet_NaN();
    MPosn_Xlate_Params P = params(Kest::FrameRate_24, transfer_pulldown, 2, source_25i_Medium);
    P.output_pulled_down = true;
    MediumRollMedium const table_media[] = {source_30i_1001_Medium, source_30p_1001_Medium, source_25p_Medium,
                                            source_25i_Medium, source_50p_Medium};
    for (MediumRollMedium m : table_media) {
        // Frame counts saturate at 2^31 - 1 before the table: finite answers.
        for (double x : {inf, 1e300, 3e9, 1e10 / 24}) {
            EXPECT_TRUE(std::isfinite(mPosn_Xlate(x, film_Medium, m, P, false))) << m << " " << x;
            EXPECT_TRUE(std::isfinite(mPosn_Xlate(x, m, film_Medium, P, false))) << m << " " << x;
            EXPECT_LT(mPosn_Xlate(-x, m, film_Medium, P, false), 0.0);
        }
        // NaN counts as frame 0 in the tables.
        EXPECT_EQ(mPosn_Xlate(nan, film_Medium, m, P, false), mPosn_Xlate(0.0, film_Medium, m, P, false));
        EXPECT_TRUE(std::isfinite(mPosn_Xlate(nan, m, film_Medium, P, false)));
    }
    // Output pull-up and its inverse.
    for (double x : {inf, 1e300, nan}) {
        EXPECT_FALSE(std::isinf(mPosn_Xlate(x, output_30i_1001_Medium, cel_Medium, P, false)));
        EXPECT_FALSE(std::isinf(mPosn_Xlate(x, cel_Medium, output_25i_Medium, P, false)));
    }
    // Every pair with a non-finite input returns without trouble.
    testing::internal::CaptureStdout();
    for (int a = 0; a <= 71; ++a)
        for (int b = 0; b <= 71; ++b)
            for (double x : {inf, -inf, nan, -1e99, 1e300}) mPosn_Xlate(x, med(a), med(b), P, false);
    testing::internal::GetCapturedStdout();
}

TEST_F(Xlate, CyclicIntermediateMediaGiveNoPosition) {
    // A video medium that is not source video in a video-rate project:
    // film -> cel goes through it and back to cel again.
    for (MediumRollMedium vm : {cel_Medium, film_Medium, output_25i_Medium, time_Medium}) {
        MPosn_Xlate_Params P = params(Kest::FrameRate_25, transfer_pulldown, 0, vm);
        EXPECT_EQ(mPosn_Xlate(1.0, film_Medium, cel_Medium, P, false), kNone) << vm;
        EXPECT_EQ(mPosn_Xlate(-1.0, film_Medium, cel_Medium, P, false), -kNone) << vm;
    }
}

// ---------------------------------------------------------------------------
// Cel.

TEST_F(Xlate, FilmAndCelAtFilmRates) {
    struct Row {
        int pr;
        FrameRate camera;
        int film_frame;
        double cel;       // film frame to cel
        int back_frame;   // and that cel back to film
    } const rows[] = {
        {1, Kest::FrameRate_24, 37, 37, 37},     {2, Kest::FrameRate_24, 37, 37, 37},
        {1, Kest::FrameRate_48, 37, 18, 36},     {1, Kest::FrameRate_48, 38, 19, 38},
        {6, Kest::FrameRate_24, 37, 37, 37},     {7, Kest::FrameRate_24, 37, 37, 37},
        {6, Kest::FrameRate_48, 37, 18.5, 37},   {7, Kest::FrameRate_48, 36, 18, 36},
        // Neither 24 nor 48: frames counted as they are, cel read back as seconds.
        {1, Kest::FrameRate_25, 37, 37, 37 * 24}, {6, Kest::FrameRate_25, 37, 18.5, 18 * 24 + 12},
    };
    for (Row const& r : rows) {
        set_project(fr(r.pr), Kest::FrameRate_29_97, true, r.camera);
        MPosn_Xlate_Params P = params(fr(r.pr));
        double const c = mPosn_Xlate(r.film_frame / 24.0, film_Medium, cel_Medium, P, false);
        EXPECT_DOUBLE_EQ(c, r.cel) << r.pr << " " << r.camera;
        EXPECT_DOUBLE_EQ(mPosn_Xlate(c, cel_Medium, film_Medium, P, false), r.back_frame / 24.0)
            << r.pr << " " << r.camera;
    }
    // 31 to 34 count cels as film frames on the way back; the way in divides
    // the film seconds by 24.
    for (int pr : {31, 32, 33, 34}) {
        MPosn_Xlate_Params P = params(fr(pr));
        double const cel = Kest::getCelResolution(fr(pr));
        EXPECT_DOUBLE_EQ(mPosn_Xlate(48.0, film_Medium, cel_Medium, P, false), 2 * cel) << pr;
        EXPECT_DOUBLE_EQ(mPosn_Xlate(5 * cel, cel_Medium, film_Medium, P, false), 5 / 24.0) << pr;
    }
}

TEST_F(Xlate, FilmAndCelAtVideoRatesGoThroughTheVideoMedium) {
    struct Row {
        int pr;
        MediumRollMedium video;
        int phases;
    } const rows[] = {
        {3, source_25p_Medium, 25}, {8, source_50p_Medium, 25}, {4, source_30p_1001_Medium, 5},
        {5, source_30p_1001_Medium, 5},
    };
    for (Row const& r : rows)
        for (int phase = 0; phase < r.phases; ++phase) {
            MPosn_Xlate_Params P = params(fr(r.pr), transfer_pulldown, phase, r.video);
            int const shift = (r.phases == 5 && phase == 4) ? 1 : 0;
            for (int n = 1; n < 120; ++n) {
                double const c = mPosn_Xlate(n / 24.0, film_Medium, cel_Medium, P, false);
                EXPECT_EQ(c, mPosn_Xlate(mPosn_Xlate(n / 24.0, film_Medium, r.video, P, false), r.video,
                                         cel_Medium, P, false));
                EXPECT_EQ(mround(mPosn_Xlate(c, cel_Medium, film_Medium, P, false) * 24), n + shift)
                    << r.pr << " phase " << phase << " frame " << n;
            }
        }
    // With the audio-sync setting the timeline runs film by the project rate
    // unless the material is pulled down.
    MPosn_Xlate_Params P = params(Kest::FrameRate_25, transfer_frame_for_frame, 0, source_25p_Medium);
    P.use_aud_sync_setting = true;
    EXPECT_DOUBLE_EQ(mPosn_Xlate(24.0, cel_Medium, film_Medium, P, false), 25.0);
    P.transfer = transfer_pulldown;
    EXPECT_DOUBLE_EQ(mPosn_Xlate(24.0, cel_Medium, film_Medium, P, false), 24.0);
    // Other rates leave cel positions as film seconds.
    P = params(Kest::FrameRate_12, transfer_pulldown, 0, source_12p_Medium);
    EXPECT_EQ(mPosn_Xlate(7.5, cel_Medium, film_Medium, P, false), 7.5);
}

TEST_F(Xlate, SourceVideoAndCelForEveryRateClass) {
    struct Row {
        int pr;
        MediumRollMedium src;
        double cel;       // a cel position
        double expected;  // on the source medium
    } const rows[] = {
        // Film rates without 1001 go through film (24 fps camera, pulldown).
        {1, source_30i_1001_Medium, 2, 5 / (2 * (30 / 1.001))},
        {6, source_25p_Medium, 12, 12 / 25.0},
        // 1001 film rates keep the cel position.
        {2, source_25p_Medium, 7, 7}, {7, source_30i_Medium, 7, 7},
        // 30 fps projects place fields, 60 fps projects frames.
        {4, source_30i_Medium, 3, 6 / 60.0}, {4, source_30i_1001_Medium, 3, 6 / (2 * (30 / 1.001))},
        {5, source_60p_Medium, 3, 6 / 60.0}, {5, source_60p_1001_Medium, 3, 6 / (60 / 1.001)},
        {9, source_30p_Medium, 1.5, 3 / 60.0}, {10, source_60p_Medium, 1.5, 3 / 60.0},
        {4, source_25i_Medium, 3, kNone}, {9, source_25i_Medium, 3, 3},
        // 25 and 50 fps projects.
        {3, source_25i_Medium, 3, 6 / 50.0}, {3, source_50p_Medium, 3, 6 / 50.0},
        {8, source_25p_Medium, 1.5, 3 / 50.0}, {8, source_50p_Medium, 1.5, 3 / 50.0},
        {3, source_30i_Medium, 3, kNone}, {8, source_60p_Medium, 3, kNone},
        // Rates outside the classes keep the cel position.
        {35, source_25i_Medium, 4, 4}, {46, source_30p_Medium, 4, 4},
    };
    for (Row const& r : rows) {
        MPosn_Xlate_Params P = params(fr(r.pr), transfer_pulldown, 0);
        EXPECT_DOUBLE_EQ(mPosn_Xlate(r.cel, cel_Medium, r.src, P, false), r.expected) << r.pr << " " << r.src;
    }
    // Sources to cel at video rates: frames at the project gearing.
    struct Back {
        int pr;
        MediumRollMedium src;
        double pos;
        double cel;
    } const back[] = {
        {4, source_30i_Medium, 3 / 30.0, 3}, {9, source_30i_Medium, 3 / 30.0, 3},
        {8, source_25p_Medium, 3 / 25.0, 3}, {3, source_50p_Medium, 3 / 50.0, 1.5},
        {35, source_12p_Medium, 3 / 12.0, 6}, {4, source_48p_Medium, 4 / 48.0, 2},
    };
    for (Back const& b : back) {
        MPosn_Xlate_Params P = params(fr(b.pr), transfer_pulldown, 0);
        EXPECT_DOUBLE_EQ(mPosn_Xlate(b.pos, b.src, cel_Medium, P, false), b.cel) << b.pr << " " << b.src;
    }
    // Other source video from cel: frame-accurate at the gearing.
    MPosn_Xlate_Params P = params(Kest::FrameRate_24);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(5, cel_Medium, source_48p_Medium, P, false), 10 / 48.0);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(5, cel_Medium, source_12p_Medium, P, false), 2 / 12.0);
    // At film rates and 32 sources reach cel through film.
    P = params(Kest::FrameRate_film_at_25, transfer_pulldown);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(24.0 * 24, source_25p_Medium, cel_Medium, P, false),
                     mPosn_Xlate(mPosn_Xlate(24.0 * 24, source_25p_Medium, film_Medium, P, false), film_Medium,
                                 cel_Medium, P, false));
}

// ---------------------------------------------------------------------------
// Output pull-up.

TEST_F(Xlate, NtscOutputPullUpIsThreeTwoThreeTwo) {
    MPosn_Xlate_Params P = params(Kest::FrameRate_24, transfer_pull23, 3);  // the phase does not matter
    P.output_pulled_down = true;
    int const frame_of_field[] = {0, 0, 0, 1, 1, 2, 2, 2, 3, 3};
    for (MediumRollMedium out : {output_30i_1001_Medium, output_30p_Medium, output_60p_1001_Medium}) {
        double const fps = Kest::getFramesPerSecond(getFrameRatefromMedium(out));
        for (int f = 0; f < 40; ++f) {
            double const pos = f / (2 * fps);
            EXPECT_EQ(mPosn_Xlate(pos, out, cel_Medium, P, false), 4 * (f / 10) + frame_of_field[f % 10])
                << out << " field " << f;
        }
    }
    int const first_field[] = {0, 3, 5, 8};
    for (int n = 0; n < 400; ++n) {
        int const fields = 10 * (n / 4) + first_field[n % 4];
        double const p = mPosn_Xlate(n, cel_Medium, output_30i_1001_Medium, P, false);
        EXPECT_DOUBLE_EQ(p, fields / 2.0 / (30 / 1.001));
        EXPECT_DOUBLE_EQ(mPosn_Xlate(n, cel_Medium, output_30p_Medium, P, false), fields / 2.0 / 30);
        EXPECT_EQ(mPosn_Xlate(p, output_30i_1001_Medium, cel_Medium, P, false), n);
    }
}

TEST_F(Xlate, PalOutputPullUpStretchesFramesZeroAndTwelve) {
    MPosn_Xlate_Params P = params(Kest::FrameRate_23_976, transfer_pogle, 9);
    P.output_pulled_down = true;
    for (int f = 0; f < 150; ++f) {
        int const m = f % 50;
        int expected = m <= 2 ? 0 : m < 25 ? (m - 1) / 2 : m <= 27 ? 12 : (m - 2) / 2;
        expected += 24 * (f / 50);
        EXPECT_EQ(mPosn_Xlate(f / 50.0, output_25i_Medium, cel_Medium, P, false), expected) << f;
    }
    for (int n = 0; n < 240; ++n) {
        double const p = mPosn_Xlate(n, cel_Medium, output_25i_Medium, P, false);
        EXPECT_EQ(mPosn_Xlate(p, output_25i_Medium, cel_Medium, P, false), n);
        // 50p output is placed in 25 fps fields but read in its own (100 per second).
        EXPECT_EQ(mPosn_Xlate(n, cel_Medium, output_50p_Medium, P, false), p);
    }
    EXPECT_EQ(mPosn_Xlate(3 / 100.0, output_50p_Medium, cel_Medium, P, false), 1);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(12, cel_Medium, output_25p_Medium, P, false), 25 / 50.0);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(13, cel_Medium, output_25p_Medium, P, false), 28 / 50.0);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(24, cel_Medium, output_25p_Medium, P, false), 1.0);
}

TEST_F(Xlate, OutputWithoutPullUpUsesTheGearing) {
    struct Row {
        int pr;
        bool pulled_down;
        MediumRollMedium out;
        double cel, pos;
    } const rows[] = {
        {1, false, output_30i_1001_Medium, 30, 30 / (30 / 1.001)},
        {1, true, output_24p_Medium, 30, 30 / 24.0},       // 24 fps output: no pull-up
        {1, true, output_48p_Medium, 30, 60 / 48.0},       // above 60 fps media: gearing
        {3, true, output_25i_Medium, 30, 30 / 25.0},       // video project
        {8, true, output_25i_Medium, 15, 15 / 25.0},       // 50 fps edit (cel 0.5) onto 25 fps output
        {4, true, output_60p_Medium, 30, 60 / 60.0},
    };
    for (Row const& r : rows) {
        MPosn_Xlate_Params P = params(fr(r.pr));
        P.output_pulled_down = r.pulled_down;
        EXPECT_DOUBLE_EQ(mPosn_Xlate(r.cel, cel_Medium, r.out, P, false), r.pos) << r.pr << " " << r.out;
        EXPECT_DOUBLE_EQ(mPosn_Xlate(r.pos, r.out, cel_Medium, P, false), r.cel) << r.pr << " " << r.out;
    }
    // Output and clock are the same seconds; output reaches film through cel.
    MPosn_Xlate_Params P = params(Kest::FrameRate_24);
    EXPECT_EQ(mPosn_Xlate(-3.25, output_60p_Medium, time_Medium, P, false), -3.25);
    EXPECT_EQ(mPosn_Xlate(3.25, time_Medium, output_25i_Medium, P, false), 3.25);
    P.output_pulled_down = true;
    EXPECT_DOUBLE_EQ(mPosn_Xlate(5 / (2 * (30 / 1.001)), output_30i_1001_Medium, film_Medium, P, false), 2 / 24.0);
}

TEST_F(Xlate, SourceToSourceGoesThroughCel) {
    MPosn_Xlate_Params P = params(Kest::FrameRate_24, transfer_pulldown, 0);
    // 30i/1001 field 5 is film frame 2, which is 24-to-25 video frame 2.
    EXPECT_DOUBLE_EQ(mPosn_Xlate(5 / (2 * (30 / 1.001)), source_30i_1001_Medium, source_25p_Medium, P, false),
                     2 / 25.0);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(2 / 25.0, source_25p_Medium, source_30i_1001_Medium, P, false),
                     5 / (2 * (30 / 1.001)));
}

// ---------------------------------------------------------------------------
// No allocation on the pulldown paths.

TEST_F(Xlate, PulldownPathsDoNotAllocate) {
    MPosn_Xlate_Params P = params(Kest::FrameRate_24, transfer_pulldown, 2, source_30i_1001_Medium);
    P.output_pulled_down = true;
    double sink = 0;
    host::AllocationStats const before = host::allocation_stats();
    for (int n = 0; n < 500; ++n) {
        double const x = n / 24.0;
        sink += mPosn_Xlate(x, film_Medium, source_30i_1001_Medium, P, false);
        sink += mPosn_Xlate(x, film_Medium, source_30p_1001_Medium, P, false);
        sink += mPosn_Xlate(x, film_Medium, source_25i_Medium, P, true);
        sink += mPosn_Xlate(x, source_25p_Medium, film_Medium, P, false);
        sink += mPosn_Xlate(x, source_30i_1001_Medium, film_Medium, P, false);
        sink += mPosn_Xlate(x, output_30i_1001_Medium, cel_Medium, P, false);
        sink += mPosn_Xlate(n, cel_Medium, output_25i_Medium, P, false);
        sink += mPosn_Xlate(n, cel_Medium, video_Medium, P, false);
        sink += mPosn_Xlate(n, cel_Medium, edit_Medium, P, false);
        sink += mPosn_Xlate(x, source_30i_1001_Medium, source_25i_Medium, P, false);
    }
    host::AllocationStats const after = host::allocation_stats();
    EXPECT_EQ(after.allocations, before.allocations);
    EXPECT_GT(sink, 0.0);
}

// ---------------------------------------------------------------------------
// The target taken from an edit label.

TEST_F(Xlate, EditLabelOverloadsTranslateToTheLabelsMedium) {
    EditLabel pal(pal_label_t, MediumRollIdent{source_25p_Medium, first_Generation});
    EditLabel ntsc(ntsc_label_t, MediumRollIdent{source_30i_1001_Medium, first_Generation});
    // A block from the project is frame for frame: film 1.0 s is 24/25 s on 25p.
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, film_Medium, &pal), 24 / 25.0);
    EXPECT_EQ(mPosn_Xlate(1.0, film_Medium, &pal), mPosn_Xlate(1.0, film_Medium, source_25p_Medium));
    EXPECT_EQ(mPosn_Xlate(-2.0, cel_Medium, &ntsc, Kest::FrameRate_30),
              mPosn_Xlate(-2.0, cel_Medium, source_30i_1001_Medium, Kest::FrameRate_30));
    EXPECT_DOUBLE_EQ(mPosn_Xlate(-2.0, cel_Medium, &ntsc, Kest::FrameRate_30), -4 / (2 * (30 / 1.001)));

    MPosn_Xlate_Params P = params(Kest::FrameRate_24, transfer_pulldown, -1);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, film_Medium, &pal, P), 1.0);
    EXPECT_EQ(P.sequence_phase, 0);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(2 / 24.0, film_Medium, &ntsc, P), 5 / (2 * (30 / 1.001)));
    EXPECT_EQ(mPosn_Xlate(1.0, film_Medium, &ntsc, P, Kest::FrameRate_25), kNone);
    EXPECT_EQ(P.project_rate, Kest::FrameRate_25);
    EXPECT_EQ(P.cel_resolution, 1.0);

    // The label's medium is the target whatever the source.
    EditLabel film(film_frames_label_t, MediumRollIdent{film_Medium, any_Generation});
    EXPECT_EQ(mPosn_Xlate(3.0, film_Medium, &film), 3.0);
    // No label: no medium.
    EXPECT_EQ(mPosn_Xlate(3.0, film_Medium, static_cast<EditLabel*>(nullptr)), 0.0);
    EXPECT_EQ(mPosn_Xlate(3.0, film_Medium, static_cast<EditLabel*>(nullptr), P), 0.0);
}

}  // namespace
