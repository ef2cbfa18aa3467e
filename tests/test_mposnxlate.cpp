// Parameter blocks and position translation between film, source video,
// output and cel.
#include <climits>
#include <cmath>
#include <limits>

#include "test_support.h"

namespace {

constexpr double kNone = 1e99;
double const kField30 = 1 / (2 * (30 / 1.001));  // one field of 29.97 fps video

struct Xlate : HostReset {
    static void set_project(Kest::FrameRate rate, Kest::FrameRate out = Kest::FrameRate_29_97, bool pulled_down = true,
                            Kest::FrameRate camera = Kest::FrameRate_24,
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
    static MPosn_Xlate_Params params(Kest::FrameRate pr, transfer_type t = transfer_frame_for_frame, int phase = 0,
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

TEST(MRound, WithinATenThousandthBelowCountsAsTheInteger) {
    EXPECT_EQ(mround(2.99995), 3.0);
    EXPECT_EQ(mround(2.9998), 2.0);
    EXPECT_EQ(mround(-0.5), -1.0);
    EXPECT_EQ(mround(-0.00005), 0.0);
}

TEST_F(Xlate, BlocksSampleTheProject) {
    set_project(Kest::FrameRate_25, Kest::FrameRate_50, false, Kest::FrameRate_48);
    MPosn_Xlate_Params P;
    EXPECT_TRUE(P.transfer == transfer_frame_for_frame && P.sequence_phase == 0 && P.video_medium == unknown_Medium);
    EXPECT_TRUE(P.project_rate == Kest::FrameRate_25 && P.cel_resolution == 1.0 && P.output_rate == Kest::FrameRate_50);
    EXPECT_TRUE(!P.output_rate_has_1001 && !P.output_pulled_down && !P.use_aud_sync_setting && P.camera_film_fps == 48.0);
    set_project(Kest::FrameRate_24);
    EXPECT_EQ(P.project_rate, Kest::FrameRate_25);  // kept until initialised again
    P.init();
    EXPECT_TRUE(P.project_rate == Kest::FrameRate_24 && P.output_rate_has_1001 && P.output_pulled_down);

    set_project(Kest::FrameRate_48, Kest::FrameRate_25, true);  // the gearing gives only the output
    MPosn_Xlate_Params G(Kest::OutputGearing(Kest::FrameRate_59_94, false));
    EXPECT_TRUE(G.output_rate == Kest::FrameRate_59_94 && G.output_rate_has_1001 && !G.output_pulled_down);
    EXPECT_TRUE(G.project_rate == Kest::FrameRate_48 && G.cel_resolution == 0.5);

    G.sequence_phase = 3;
    G.init_to_default_playout_generation();
    EXPECT_TRUE(G.sequence_phase == 0 && G.output_pulled_down);
    set_project(Kest::FrameRate_24, Kest::FrameRate_50, true, Kest::FrameRate_24, Kest::Image::ScanMode_progressive_segmented);
    MPosn_Xlate_Params L;  // a label group takes the source medium of the output image
    L.init_for_labelgroup(transfer_pull23, 3);
    EXPECT_TRUE(L.transfer == transfer_pull23 && L.sequence_phase == 3 && L.video_rate == Kest::FrameRate_50);
    EXPECT_EQ(L.video_medium, source_50p_Medium);
}

TEST_F(Xlate, DefaultFilmVideoConversionFollowsTheKey) {
    set_project(Kest::FrameRate_25);
    MPosn_Xlate_Params P(Kest::OutputGearing(Kest::FrameRate_60, false));
    P.sequence_phase = 4;
    P.transfer = transfer_pogle;
    P.init_to_default_filmvid_conversion(Kest::FrameRate_29_97);
    EXPECT_TRUE(P.transfer == transfer_frame_for_frame && P.sequence_phase == 0 && P.video_medium == source_30i_Medium);
    EXPECT_EQ(P.output_rate, Kest::FrameRate_60);  // not re-initialised
    for (int v : {1, -3}) {
        host::set_config_int("default_film_video_conversion_pulldown", v);
        P.init_to_default_filmvid_conversion(Kest::FrameRate_59_94);
        EXPECT_TRUE(P.transfer == transfer_pulldown && P.video_medium == source_60p_Medium) << v;
    }
    host::set_config_int("default_film_video_conversion_pulldown", 0);
    P.init_to_default_filmvid_conversion(Kest::FrameRate_25);
    EXPECT_TRUE(P.transfer == transfer_frame_for_frame && P.video_medium == source_25i_Medium);
}

TEST_F(Xlate, PlayfileSequenceAdvancesWithinTheCycle) {
    struct { transfer_type t; Kest::FrameRate video; int phase, frames, expected; } const rows[] = {
        {transfer_pulldown, Kest::FrameRate_30, 4, 7, 1},    {transfer_pulldown, Kest::FrameRate_25, 4, 7, 11},
        {transfer_pulldown, Kest::FrameRate_50, 20, 7, 2},   {transfer_pull23, Kest::FrameRate_30, 4, 7, 4},
        {transfer_frame_for_frame, Kest::FrameRate_30, 4, 7, 4},
        {transfer_pulldown, Kest::FrameRate_30, 1, -3, -2},  // the remainder keeps the sign of the sum
        {transfer_pulldown, Kest::FrameRate_30, 1, INT_MAX, INT_MIN % 5},  // the sum wraps
    };
    for (auto const& r : rows) {
        MPosn_Xlate_Params P;
        P.transfer = r.t;
        P.video_rate = r.video;
        P.sequence_phase = r.phase;
        P.modify_sequence_to_playfile_std(r.frames);
        EXPECT_EQ(P.sequence_phase, r.expected) << r.phase << " + " << r.frames;
    }
    MPosn_Conversion_Params C;
    C.sequence_phase = 3;
    C.modify_sequence_to_playfile_std(4);
    EXPECT_EQ(C.sequence_phase, 3);  // inactive
    C.sequence_active = true;
    C.transfer = transfer_pogle;
    C.modify_sequence_to_playfile_std(-10);
    EXPECT_EQ(C.sequence_phase, -7);
}

TEST_F(Xlate, SameUnknownAndNoPosition) {
    MPosn_Xlate_Params P = params(Kest::FrameRate_24, transfer_pulldown, 0, source_30i_1001_Medium);
    EXPECT_EQ(mPosn_Xlate(5.0, film_Medium, film_Medium, P, false), 5.0);
    EXPECT_EQ(mPosn_Xlate(-5.0, video_Medium, video_Medium, P, false), -5.0);
    EXPECT_EQ(mPosn_Xlate(5.0, source_24_Medium, source_24p_Medium, P, false), 5.0);
    EXPECT_EQ(printed([&] {
                  EXPECT_EQ(mPosn_Xlate(5.0, unknown_Medium, film_Medium, P, false), 0.0);
                  EXPECT_EQ(mPosn_Xlate(5.0, cel_Medium, unknown_Medium, P, false), 0.0);
                  for (int a = 1; a <= 70; ++a)
                      for (int b = 1; b <= 70; ++b)
                          if (a != b) {
                              ASSERT_EQ(mPosn_Xlate(kNone, med(a), med(b), P, false), kNone) << a << " " << b;
                          }
              }),
              "");
}

TEST_F(Xlate, NegativePositionsTranslateTheMagnitude) {
    MPosn_Xlate_Params P = params(Kest::FrameRate_24, transfer_frame_for_frame);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(-1.0, film_Medium, source_25p_Medium, P, false), -24.0 / 25.0);
    P.transfer = transfer_pulldown;
    for (int n = 1; n < 100; ++n)
        for (MediumRollMedium to : {source_30i_1001_Medium, source_25i_Medium, cel_Medium, output_30i_1001_Medium})
            EXPECT_EQ(mPosn_Xlate(-n / 24.0, film_Medium, to, P, false), -mPosn_Xlate(n / 24.0, film_Medium, to, P, false));
    double const r = mPosn_Xlate(-kNone, film_Medium, cel_Medium, P, false);  // an ordinary negative position
    EXPECT_TRUE(r < 0.0 && r != -kNone);
}

TEST_F(Xlate, UnsetPhaseIsWrittenBackAsZero) {
    MPosn_Xlate_Params P = params(Kest::FrameRate_24, transfer_pulldown, -1);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(2.0 / 24, film_Medium, source_30i_1001_Medium, P, false), 5 * kField30);
    EXPECT_EQ(P.sequence_phase, 0);
    P.sequence_phase = 17;  // other phases stay, even out of range
    mPosn_Xlate(1.0, film_Medium, source_30i_1001_Medium, P, false);
    EXPECT_EQ(P.sequence_phase, 17);
    P.sequence_phase = -1;  // only a translation past the same-medium test writes it
    mPosn_Xlate(1.0, film_Medium, film_Medium, P, false);
    EXPECT_EQ(P.sequence_phase, -1);
    mPosn_Xlate(kNone, film_Medium, cel_Medium, P, false);
    EXPECT_EQ(P.sequence_phase, 0);
}

TEST_F(Xlate, UnreachableMediaPrintTheirAssertionLines) {
    MPosn_Xlate_Params P = params(Kest::FrameRate_24, transfer_pulldown, 0, video_Medium);
    std::string const unknown = assertion("unknown_Medium", "mposnxlate", 2758);
    std::string const unreachable = assertion("false", "mposnxlate", 1622);
    for (int m : {1, 3, 5, 9, 71, -4}) {
        double r = 0;
        EXPECT_EQ(printed([&] { r = mPosn_Xlate(-2.5, med(m), film_Medium, P, false); }), unknown) << m;
        EXPECT_EQ(r, -2.5);
    }
    for (int m : {1, 5, 9, 71, -1}) {
        EXPECT_EQ(printed([&] { EXPECT_EQ(mPosn_Xlate(-3.0, cel_Medium, med(m), P, false), -3.0); }), unreachable) << m;
    }
    EXPECT_EQ(printed([&] { EXPECT_EQ(mPosn_Xlate(3.0, cel_Medium, video_Medium, P, false), 3.0); }), unreachable);
    P.video_medium = unknown_Medium;  // film goes through cel first and ends on the same line
    EXPECT_EQ(printed([&] { EXPECT_EQ(mPosn_Xlate(-1.0, film_Medium, any_Medium, P, false), -24.0); }), unreachable);
    EXPECT_EQ(mPosn_Xlate(1.0, film_Medium, video_Medium, P, false), 0.0);  // no video medium: 0
    set_project(Kest::FrameRate_24, fr(20));  // 2 fps output: no output medium
    EXPECT_EQ(printed([&] { EXPECT_EQ(mPosn_Xlate(4.0, edit_Medium, film_Medium, P, false), 4.0); }),
              assertion("0", "MediumRoll", 361) + unknown);
}

TEST_F(Xlate, GenericMediaResolve) {
    set_project(Kest::FrameRate_24, Kest::FrameRate_25, false, Kest::FrameRate_24, Kest::Image::ScanMode_progressive);
    MPosn_Xlate_Params P = params(Kest::FrameRate_24, transfer_pulldown, 0, source_25p_Medium);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, film_Medium, video_Medium, P, false), 1.0);  // the block's video medium
    EXPECT_DOUBLE_EQ(mPosn_Xlate(24.0, cel_Medium, edit_Medium, P, false), 24 / 25.0);  // the project's output
    EXPECT_EQ(mPosn_Xlate(24.0, cel_Medium, edit_24_Medium, P, false), mPosn_Xlate(24.0, cel_Medium, output_24p_Medium, P, false));
    // The overloads build a block at the project rate given.
    set_project(Kest::FrameRate_24);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, film_Medium, cel_Medium), 24.0);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, film_Medium, source_24p_Medium, Kest::FrameRate_48), 0.5);
    MPosn_Xlate_Params Q = params(Kest::FrameRate_24);
    Q.aud_sync_pulled_down = false;
    mPosn_Xlate(1.0, film_Medium, cel_Medium, Q, Kest::FrameRate_60);
    EXPECT_TRUE(Q.project_rate == Kest::FrameRate_60 && Q.cel_resolution == 0.5 && !Q.aud_sync_pulled_down);
    mPosn_Xlate(1.0, film_Medium, cel_Medium, Q, Kest::FrameRate_25, Cookie(7));
    EXPECT_TRUE(Q.project_rate == Kest::FrameRate_25 && Q.aud_sync_pulled_down && Q.cookie == invalid_cookie);
}

// A film frame goes to video and back to itself at every phase (one frame
// later at the shifted 2:3 phase); frames whose first video slot lies in
// the previous cycle come back with the video position's sign.
TEST_F(Xlate, FilmVideoRoundTripEveryPhase) {
    struct { MediumRollMedium medium; transfer_type transfer; int phases, shifted_phase; } const cases[] = {
        {source_30p_1001_Medium, transfer_pulldown, 5, 4},   {source_30i_1001_Medium, transfer_pull23, 5, 2},
        {source_25p_Medium, transfer_pulldown, 25, -1},      {source_25i_Medium, transfer_pogle, 25, -1},
        {source_50p_Medium, transfer_pulldown, 25, -1},      {source_60p_Medium, transfer_pulldown, 1, -1},
        {source_60p_1001_Medium, transfer_pulldown, 1, -1},  {source_30i_1001_Medium, transfer_frame_for_frame, 1, -1},
        {source_25i_Medium, transfer_frame_for_frame, 1, -1}, {source_48p_Medium, transfer_frame_for_frame, 1, -1},
        {source_12p_Medium, transfer_frame_for_frame, 1, -1}, {source_120p_1001_Medium, transfer_frame_for_frame, 1, -1},
    };
    for (auto const& c : cases)
        for (int phase = 0; phase < c.phases; ++phase) {
            MPosn_Xlate_Params P = params(Kest::FrameRate_24, c.transfer, phase);
            for (int n = 0; n < 120; ++n) {
                double const v = mPosn_Xlate(n / 24.0, film_Medium, c.medium, P, false);
                if (v < 0) {
                    EXPECT_EQ(n, 0) << c.medium << " phase " << phase;
                    continue;
                }
                EXPECT_EQ(mround(mPosn_Xlate(v, c.medium, film_Medium, P, false) * 24), n + (phase == c.shifted_phase))
                    << c.medium << " phase " << phase << " frame " << n;
            }
        }
}

TEST_F(Xlate, CadencesAndAlignment) {
    MPosn_Xlate_Params P = params(Kest::FrameRate_24, transfer_pulldown, 0);
    int const fields[] = {0, 2, 5, 7, 10, 12, 15, 17}, frames[] = {0, 1, 2, 3, 5, 6, 7, 8};
    for (int n = 0; n < 8; ++n) {
        EXPECT_DOUBLE_EQ(mPosn_Xlate(n / 24.0, film_Medium, source_30i_1001_Medium, P, false), fields[n] * kField30);
        EXPECT_DOUBLE_EQ(mPosn_Xlate(n / 24.0, film_Medium, source_30p_1001_Medium, P, false), frames[n] / (30 / 1.001));
    }
    EXPECT_DOUBLE_EQ(mPosn_Xlate(4 / (30 / 1.001), source_30p_1001_Medium, film_Medium, P, false), 3 / 24.0);
    // 30 fps (not 1001) media place film at their own rate but read back in 29.97 fields.
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1 / 24.0, film_Medium, source_30p_Medium, P, false), 1 / 30.0);
    EXPECT_EQ(mPosn_Xlate(1 / 30.0, source_30p_Medium, film_Medium, P, false), 0.0);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(2 / 24.0, film_Medium, source_60p_Medium, P, false), 5 / 60.0);  // no table
    // 24-to-25 at phase 0: frame 12 at video frame 12 and field 25; video frame 24 shows film 23.
    EXPECT_DOUBLE_EQ(mPosn_Xlate(12 / 24.0, film_Medium, source_25p_Medium, P, false), 12 / 25.0);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(12 / 24.0, film_Medium, source_25i_Medium, P, false), 25 / 50.0);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, film_Medium, source_25p_Medium, P, false), 1.0);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(24 / 25.0, source_25p_Medium, film_Medium, P, false), 23 / 24.0);

    P.sequence_phase = 3;  // film frame 0 begins in the last field of the previous cycle
    EXPECT_DOUBLE_EQ(mPosn_Xlate(0.0, film_Medium, source_30i_Medium, P, false), -1 / 60.0);
    EXPECT_EQ(mPosn_Xlate(0.0, film_Medium, source_30i_Medium, P, true), 0.0);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1 / 24.0, film_Medium, source_30i_Medium, P, true), 2 / 60.0);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1 / 24.0, film_Medium, source_30i_1001_Medium, P, true), kField30);  // not aligned
    P.sequence_phase = 24;  // 24-to-25: frame 0 a field and a frame early; only 25i aligns
    EXPECT_DOUBLE_EQ(mPosn_Xlate(0.0, film_Medium, source_25i_Medium, P, false), -1 / 50.0);
    EXPECT_EQ(mPosn_Xlate(0.0, film_Medium, source_25i_Medium, P, true), 0.0);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(0.0, film_Medium, source_50p_Medium, P, true), -1 / 50.0);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(0.0, film_Medium, source_25p_Medium, P, true), -1 / 25.0);
}

TEST_F(Xlate, TransferAndFamilyByProjectRate) {
    MPosn_Xlate_Params P = params(Kest::FrameRate_24, transfer_unspecified, 0);  // pulled down to NTSC
    EXPECT_DOUBLE_EQ(mPosn_Xlate(2 / 24.0, film_Medium, source_30i_1001_Medium, P, false), 5 * kField30);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(5 * kField30, source_30i_1001_Medium, film_Medium, P, false), 2 / 24.0);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, film_Medium, source_25p_Medium, P, false), 24 / 25.0);
    P = params(Kest::FrameRate_23_976, transfer_unspecified, 0);  // frame for frame at 23.976
    EXPECT_DOUBLE_EQ(mPosn_Xlate(2 / 24.0, film_Medium, source_30p_1001_Medium, P, false), 2 / (30 / 1.001));
    P = params(Kest::FrameRate_24, transfer_pulldown, 0);
    EXPECT_EQ(mPosn_Xlate(0.75, source_48p_Medium, film_Medium, P, false), 0.75);  // outside the NTSC and PAL rows
    for (int pr : {3, 8, 32}) {
        P = params(fr(pr), transfer_pulldown);
        EXPECT_EQ(mPosn_Xlate(1.0, film_Medium, source_30i_1001_Medium, P, false), kNone) << pr;
        EXPECT_EQ(mPosn_Xlate(-1.0, film_Medium, source_60p_Medium, P, false), -kNone) << pr;
    }
    for (int pr : {4, 5, 9, 10, 33}) {
        P = params(fr(pr), transfer_pulldown);
        EXPECT_EQ(mPosn_Xlate(1.0, film_Medium, source_25i_Medium, P, false), kNone) << pr;
    }
    P = params(Kest::FrameRate_film_at_30, transfer_pulldown);  // film run at 30: one video frame a film frame
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, film_Medium, source_30i_1001_Medium, P, false), 24 / (30 / 1.001));
    P = params(Kest::FrameRate_48, transfer_frame_for_frame);  // a 48 -> 25 gearing of 0.5
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, film_Medium, source_25p_Medium, P, false), 0.5 * 24 / 25);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(0.5 * 24 / 25, source_25p_Medium, film_Medium, P, false), 1.0);
}

TEST_F(Xlate, PhasesOutOfRangeReduceIntoTheCycle) {
    struct { MediumRollMedium medium; int cycle; double video_step; } const media[] =
        {{source_30i_1001_Medium, 5, 1 / 30.0}, {source_30p_1001_Medium, 5, 1 / 30.0},
         {source_25p_Medium, 25, 1 / 50.0}, {source_25i_Medium, 25, 1 / 50.0}};
    for (auto const& m : media)
        for (int phase : {m.cycle, 2 * m.cycle - 1, -2, -m.cycle - 1, INT_MAX, INT_MIN}) {
            MPosn_Xlate_Params P = params(Kest::FrameRate_24, transfer_pulldown, phase);
            MPosn_Xlate_Params Q = params(Kest::FrameRate_24, transfer_pulldown, ((phase % m.cycle) + m.cycle) % m.cycle);
            for (int n = 0; n < 2 * m.cycle; ++n) {
                EXPECT_EQ(mPosn_Xlate(n / 24.0, film_Medium, m.medium, P, false),
                          mPosn_Xlate(n / 24.0, film_Medium, m.medium, Q, false)) << phase;
                EXPECT_EQ(mPosn_Xlate(n * m.video_step, m.medium, film_Medium, P, false),
                          mPosn_Xlate(n * m.video_step, m.medium, film_Medium, Q, false)) << phase;
            }
            EXPECT_EQ(P.sequence_phase, phase);
        }
}

TEST_F(Xlate, NonFiniteAndHugePositionsStayDefined) {
    double const inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
    MPosn_Xlate_Params P = params(Kest::FrameRate_24, transfer_pulldown, 2, source_25i_Medium);
    P.output_pulled_down = true;
    for (MediumRollMedium m : {source_30i_1001_Medium, source_30p_1001_Medium, source_25p_Medium, source_50p_Medium}) {
        for (double x : {inf, 1e300, 3e9}) {  // frame counts saturate before the table
            EXPECT_TRUE(std::isfinite(mPosn_Xlate(x, film_Medium, m, P, false))) << m << " " << x;
            EXPECT_TRUE(std::isfinite(mPosn_Xlate(x, m, film_Medium, P, false))) << m << " " << x;
            EXPECT_LT(mPosn_Xlate(-x, m, film_Medium, P, false), 0.0);
        }
        EXPECT_EQ(mPosn_Xlate(nan, film_Medium, m, P, false), mPosn_Xlate(0.0, film_Medium, m, P, false));
    }
    for (double x : {inf, 1e300, nan}) {
        EXPECT_FALSE(std::isinf(mPosn_Xlate(x, output_30i_1001_Medium, cel_Medium, P, false)));
        EXPECT_FALSE(std::isinf(mPosn_Xlate(x, cel_Medium, output_25i_Medium, P, false)));
    }
    printed([&] {
        for (int a = 0; a <= 71; ++a)
            for (int b = 0; b <= 71; ++b)
                for (double x : {inf, -inf, nan, -1e99, 1e300}) mPosn_Xlate(x, med(a), med(b), P, false);
    });
    // A video medium that is not source video in a video-rate project: film
    // -> cel goes through it and back to cel again.
    for (MediumRollMedium vm : {cel_Medium, film_Medium, output_25i_Medium, time_Medium}) {
        MPosn_Xlate_Params Q = params(Kest::FrameRate_25, transfer_pulldown, 0, vm);
        EXPECT_EQ(mPosn_Xlate(1.0, film_Medium, cel_Medium, Q, false), kNone) << vm;
        EXPECT_EQ(mPosn_Xlate(-1.0, film_Medium, cel_Medium, Q, false), -kNone) << vm;
    }
}

TEST_F(Xlate, FilmAndCelAtFilmRates) {
    struct { int pr; Kest::FrameRate camera; int film_frame; double cel; int back_frame; } const rows[] = {
        {1, Kest::FrameRate_24, 37, 37, 37},   {2, Kest::FrameRate_24, 37, 37, 37},   {1, Kest::FrameRate_48, 37, 18, 36},
        {1, Kest::FrameRate_48, 38, 19, 38},   {6, Kest::FrameRate_48, 37, 18.5, 37}, {7, Kest::FrameRate_48, 36, 18, 36},
        {1, Kest::FrameRate_25, 37, 37, 37 * 24},  // neither 24 nor 48: cel read back as seconds
        {6, Kest::FrameRate_25, 37, 18.5, 18 * 24 + 12},
    };
    for (auto const& r : rows) {
        set_project(fr(r.pr), Kest::FrameRate_29_97, true, r.camera);
        MPosn_Xlate_Params P = params(fr(r.pr));
        double const c = mPosn_Xlate(r.film_frame / 24.0, film_Medium, cel_Medium, P, false);
        EXPECT_DOUBLE_EQ(c, r.cel) << r.pr << " " << r.camera;
        EXPECT_DOUBLE_EQ(mPosn_Xlate(c, cel_Medium, film_Medium, P, false), r.back_frame / 24.0) << r.pr << " " << r.camera;
    }
    for (int pr : {31, 32, 33, 34}) {  // cels count as film frames back; the way in divides seconds by 24
        MPosn_Xlate_Params P = params(fr(pr));
        double const cel = Kest::getCelResolution(fr(pr));
        EXPECT_DOUBLE_EQ(mPosn_Xlate(48.0, film_Medium, cel_Medium, P, false), 2 * cel) << pr;
        EXPECT_DOUBLE_EQ(mPosn_Xlate(5 * cel, cel_Medium, film_Medium, P, false), 5 / 24.0) << pr;
    }
}

TEST_F(Xlate, FilmAndCelAtVideoRatesGoThroughTheVideoMedium) {
    struct { int pr; MediumRollMedium video; int phases; } const rows[] =
        {{3, source_25p_Medium, 25}, {8, source_50p_Medium, 25}, {5, source_30p_1001_Medium, 5}};
    for (auto const& r : rows)
        for (int phase = 0; phase < r.phases; ++phase) {
            MPosn_Xlate_Params P = params(fr(r.pr), transfer_pulldown, phase, r.video);
            for (int n = 1; n < 60; ++n) {
                double const c = mPosn_Xlate(n / 24.0, film_Medium, cel_Medium, P, false);
                EXPECT_EQ(c, mPosn_Xlate(mPosn_Xlate(n / 24.0, film_Medium, r.video, P, false), r.video, cel_Medium, P, false));
                EXPECT_EQ(mround(mPosn_Xlate(c, cel_Medium, film_Medium, P, false) * 24), n + (r.phases == 5 && phase == 4))
                    << r.pr << " phase " << phase << " frame " << n;
            }
        }
    MPosn_Xlate_Params P = params(Kest::FrameRate_25, transfer_frame_for_frame, 0, source_25p_Medium);
    P.use_aud_sync_setting = true;  // film runs at the project rate unless the material is pulled down
    EXPECT_DOUBLE_EQ(mPosn_Xlate(24.0, cel_Medium, film_Medium, P, false), 25.0);
    P.transfer = transfer_pulldown;
    EXPECT_DOUBLE_EQ(mPosn_Xlate(24.0, cel_Medium, film_Medium, P, false), 24.0);
    P = params(Kest::FrameRate_12, transfer_pulldown, 0, source_12p_Medium);  // other rates: film seconds
    EXPECT_EQ(mPosn_Xlate(7.5, cel_Medium, film_Medium, P, false), 7.5);
}

TEST_F(Xlate, SourceVideoAndCelForEveryRateClass) {
    struct { int pr; MediumRollMedium src; double cel, pos; } const to_source[] = {
        {1, source_30i_1001_Medium, 2, 5 * kField30}, {6, source_25p_Medium, 12, 12 / 25.0},  // through film
        {2, source_25p_Medium, 7, 7},                 {7, source_30i_Medium, 7, 7},  // 1001 film rates keep cel
        {4, source_30i_Medium, 3, 6 / 60.0},          {4, source_30i_1001_Medium, 3, 6 * kField30},  // 30: fields
        {5, source_60p_1001_Medium, 3, 6 / (60 / 1.001)}, {9, source_30p_Medium, 1.5, 3 / 60.0},  // 60: frames
        {4, source_25i_Medium, 3, kNone},             {9, source_25i_Medium, 3, 3},
        {3, source_25i_Medium, 3, 6 / 50.0},          {8, source_50p_Medium, 1.5, 3 / 50.0},
        {3, source_30i_Medium, 3, kNone},             {8, source_60p_Medium, 3, kNone},
        {35, source_25i_Medium, 4, 4},                {46, source_30p_Medium, 4, 4},  // outside the classes
    };
    for (auto const& r : to_source) {
        MPosn_Xlate_Params P = params(fr(r.pr), transfer_pulldown, 0);
        EXPECT_DOUBLE_EQ(mPosn_Xlate(r.cel, cel_Medium, r.src, P, false), r.pos) << r.pr << " " << r.src;
    }
    struct { int pr; MediumRollMedium src; double pos, cel; } const to_cel[] = {
        {4, source_30i_Medium, 3 / 30.0, 3}, {8, source_25p_Medium, 3 / 25.0, 3}, {3, source_50p_Medium, 3 / 50.0, 1.5},
        {35, source_12p_Medium, 3 / 12.0, 6}, {4, source_48p_Medium, 4 / 48.0, 2},
    };
    for (auto const& b : to_cel) {
        MPosn_Xlate_Params P = params(fr(b.pr), transfer_pulldown, 0);
        EXPECT_DOUBLE_EQ(mPosn_Xlate(b.pos, b.src, cel_Medium, P, false), b.cel) << b.pr << " " << b.src;
    }
    MPosn_Xlate_Params P = params(Kest::FrameRate_24);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(5, cel_Medium, source_48p_Medium, P, false), 10 / 48.0);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(5, cel_Medium, source_12p_Medium, P, false), 2 / 12.0);
    P = params(Kest::FrameRate_24, transfer_pulldown, 0);  // source to source goes through cel
    EXPECT_DOUBLE_EQ(mPosn_Xlate(5 * kField30, source_30i_1001_Medium, source_25p_Medium, P, false), 2 / 25.0);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(2 / 25.0, source_25p_Medium, source_30i_1001_Medium, P, false), 5 * kField30);
}

TEST_F(Xlate, NtscOutputPullUpIsThreeTwoThreeTwo) {
    MPosn_Xlate_Params P = params(Kest::FrameRate_24, transfer_pull23, 3);  // the phase does not matter
    P.output_pulled_down = true;
    int const frame_of_field[] = {0, 0, 0, 1, 1, 2, 2, 2, 3, 3};
    for (MediumRollMedium out : {output_30i_1001_Medium, output_30p_Medium, output_60p_1001_Medium}) {
        double const fps = Kest::getFramesPerSecond(getFrameRatefromMedium(out));
        for (int f = 0; f < 40; ++f)
            EXPECT_EQ(mPosn_Xlate(f / (2 * fps), out, cel_Medium, P, false), 4 * (f / 10) + frame_of_field[f % 10])
                << out << " field " << f;
    }
    int const first_field[] = {0, 3, 5, 8};
    for (int n = 0; n < 200; ++n) {
        int const fields = 10 * (n / 4) + first_field[n % 4];
        double const p = mPosn_Xlate(n, cel_Medium, output_30i_1001_Medium, P, false);
        EXPECT_DOUBLE_EQ(p, fields * kField30);
        EXPECT_DOUBLE_EQ(mPosn_Xlate(n, cel_Medium, output_30p_Medium, P, false), fields / 60.0);
        EXPECT_EQ(mPosn_Xlate(p, output_30i_1001_Medium, cel_Medium, P, false), n);
    }
    EXPECT_DOUBLE_EQ(mPosn_Xlate(5 * kField30, output_30i_1001_Medium, film_Medium, P, false), 2 / 24.0);
}

TEST_F(Xlate, PalOutputPullUpStretchesFramesZeroAndTwelve) {
    MPosn_Xlate_Params P = params(Kest::FrameRate_23_976, transfer_pogle, 9);
    P.output_pulled_down = true;
    for (int f = 0; f < 150; ++f) {
        int const m = f % 50;
        int const expected = 24 * (f / 50) + (m <= 2 ? 0 : m < 25 ? (m - 1) / 2 : m <= 27 ? 12 : (m - 2) / 2);
        EXPECT_EQ(mPosn_Xlate(f / 50.0, output_25i_Medium, cel_Medium, P, false), expected) << f;
    }
    for (int n = 0; n < 120; ++n) {
        double const p = mPosn_Xlate(n, cel_Medium, output_25i_Medium, P, false);
        EXPECT_EQ(mPosn_Xlate(p, output_25i_Medium, cel_Medium, P, false), n);
        EXPECT_EQ(mPosn_Xlate(n, cel_Medium, output_50p_Medium, P, false), p);  // placed in 25 fps fields
    }
    EXPECT_EQ(mPosn_Xlate(3 / 100.0, output_50p_Medium, cel_Medium, P, false), 1);  // read in its own
    EXPECT_DOUBLE_EQ(mPosn_Xlate(13, cel_Medium, output_25p_Medium, P, false), 28 / 50.0);
}

TEST_F(Xlate, OutputWithoutPullUpUsesTheGearing) {
    struct { int pr; bool pulled_down; MediumRollMedium out; double cel, pos; } const rows[] = {
        {1, false, output_30i_1001_Medium, 30, 30 / (30 / 1.001)},
        {1, true, output_24p_Medium, 30, 30 / 24.0},  // 24 fps output: no pull-up
        {1, true, output_48p_Medium, 30, 60 / 48.0},  // above 60 fps media: gearing
        {3, true, output_25i_Medium, 30, 30 / 25.0},  // video project
        {8, true, output_25i_Medium, 15, 15 / 25.0},
    };
    for (auto const& r : rows) {
        MPosn_Xlate_Params P = params(fr(r.pr));
        P.output_pulled_down = r.pulled_down;
        EXPECT_DOUBLE_EQ(mPosn_Xlate(r.cel, cel_Medium, r.out, P, false), r.pos) << r.pr << " " << r.out;
        EXPECT_DOUBLE_EQ(mPosn_Xlate(r.pos, r.out, cel_Medium, P, false), r.cel) << r.pr << " " << r.out;
    }
    MPosn_Xlate_Params P = params(Kest::FrameRate_24);  // output and clock are the same seconds
    EXPECT_EQ(mPosn_Xlate(-3.25, output_60p_Medium, time_Medium, P, false), -3.25);
    EXPECT_EQ(mPosn_Xlate(3.25, time_Medium, output_25i_Medium, P, false), 3.25);
}

TEST_F(Xlate, EditLabelOverloadsTranslateToTheLabelsMedium) {
    EditLabel pal(pal_label_t, roll(source_25p_Medium, first_Generation));
    EditLabel ntsc(ntsc_label_t, roll(source_30i_1001_Medium, first_Generation));
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, film_Medium, &pal), 24 / 25.0);  // the project's block: frame for frame
    EXPECT_DOUBLE_EQ(mPosn_Xlate(-2.0, cel_Medium, &ntsc, Kest::FrameRate_30), -4 * kField30);
    MPosn_Xlate_Params P = params(Kest::FrameRate_24, transfer_pulldown, -1);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, film_Medium, &pal, P), 1.0);
    EXPECT_EQ(P.sequence_phase, 0);
    EXPECT_EQ(mPosn_Xlate(1.0, film_Medium, &ntsc, P, Kest::FrameRate_25), kNone);
    EXPECT_TRUE(P.project_rate == Kest::FrameRate_25 && P.cel_resolution == 1.0);
    EXPECT_EQ(mPosn_Xlate(3.0, film_Medium, static_cast<EditLabel*>(nullptr)), 0.0);  // no label: no medium
    EXPECT_EQ(mPosn_Xlate(3.0, film_Medium, static_cast<EditLabel*>(nullptr), P), 0.0);
}

}  // namespace
