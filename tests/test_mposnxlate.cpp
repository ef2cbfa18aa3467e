// Parameter blocks and position translation between film, source video,
// output and cel; the pulldown sequence tables against the cadences they
// encode, built here by walking the cadence rather than from the tables' own
// formulas (odd field rows are the even row of the same phase one field
// earlier).
#include <algorithm>
#include <climits>
#include <cmath>

#include "test_support.h"

namespace {

constexpr double kNone = 1e99;
double const kField30 = 1 / (2 * (30 / 1.001));  // one field of 29.97 fps video
constexpr transfer_type ff = transfer_frame_for_frame, pd = transfer_pulldown, unspec = transfer_unspecified;

struct Xlate : HostReset {
    static void set_project(Kest::FrameRate rate, Kest::FrameRate out = Kest::FrameRate_29_97, bool pulled_down = true,
                            Kest::Image::ScanMode scan = Kest::Image::ScanMode_interlaced_upper) {
        host::ProjectSettings s = host::default_project_settings();
        s.frame_rate = rate;
        s.output_image_rate = out;
        s.output_pulled_down = pulled_down;
        s.output_scan_mode = scan;
        host::set_project_settings(s);
    }
    // A block for the open project with a transfer at a phase.
    static MPosn_Xlate_Params params(Kest::FrameRate pr, transfer_type t = ff, int phase = 0,
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
    double const cases[][2] = {{2.99995, 3}, {2.9998, 2}, {-0.5, -1}, {-0.00005, 0}, {1e300, 1e300}, {-7.0, -7}};
    for (auto const& c : cases) EXPECT_EQ(mround(c[0]), c[1]) << c[0];
    EXPECT_TRUE(std::isnan(mround(std::nan(""))));
}

TEST_F(Xlate, BlocksSampleTheProject) {
    host::ProjectSettings const s{
        Kest::FrameRate_25, true, Kest::FrameRate_50, Kest::Image::ScanMode_interlaced_upper, false, true,
        Kest::FrameRate_48};
    host::set_project_settings(s);
    MPosn_Xlate_Params P;
    EXPECT_TRUE(P.transfer == ff && P.sequence_phase == 0 && P.video_medium == unknown_Medium &&
                P.cel_resolution == 1.0);
    EXPECT_TRUE(!P.output_rate_has_1001 && !P.output_pulled_down && !P.use_aud_sync_setting &&
                P.camera_film_fps == 48.0);
    set_project(Kest::FrameRate_48, Kest::FrameRate_25, true);  // the gearing gives only the output
    MPosn_Xlate_Params G(Kest::OutputGearing(Kest::FrameRate_59_94, false));
    EXPECT_TRUE(G.output_rate == Kest::FrameRate_59_94 && G.output_rate_has_1001 && !G.output_pulled_down);
    EXPECT_TRUE(G.project_rate == Kest::FrameRate_48 && G.cel_resolution == 0.5);
    G.sequence_phase = 3;
    G.init_to_default_playout_generation();
    EXPECT_TRUE(G.sequence_phase == 0 && G.output_pulled_down);
    set_project(Kest::FrameRate_24, Kest::FrameRate_50, true, Kest::Image::ScanMode_progressive_segmented);
    MPosn_Xlate_Params L;  // a label group takes the source medium of the output image
    L.init_for_labelgroup(transfer_pull23, 3);
    EXPECT_TRUE(L.transfer == transfer_pull23 && L.sequence_phase == 3 && L.video_rate == Kest::FrameRate_50);
    EXPECT_EQ(L.video_medium, source_50p_Medium);
    // The default film/video conversion follows its key and keeps the output.
    for (int v : {0, 1, -3}) {
        host::set_config_int("default_film_video_conversion_pulldown", v);
        L.init_to_default_filmvid_conversion(Kest::FrameRate_59_94);
        EXPECT_TRUE(L.transfer == (v ? pd : ff) && L.video_medium == source_60p_Medium && L.sequence_phase == 0) << v;
        EXPECT_EQ(L.output_rate, Kest::FrameRate_50);
    }
}

TEST_F(Xlate, PlayfileSequenceAdvancesWithinTheCycle) {
    struct {
        transfer_type t;
        Kest::FrameRate video;
        int phase, frames, expected;
    } const rows[] = {
        {pd, Kest::FrameRate_30, 4, 7, 1},
        {pd, Kest::FrameRate_25, 4, 7, 11},
        {pd, Kest::FrameRate_50, 20, 7, 2},
        {transfer_pull23, Kest::FrameRate_30, 4, 7, 4},
        {ff, Kest::FrameRate_30, 4, 7, 4},
        {pd, Kest::FrameRate_30, 1, -3, -2},                // the remainder keeps the sign of the sum
        {pd, Kest::FrameRate_30, 1, INT_MAX, INT_MIN % 5},  // the sum wraps
    };
    for (auto const& r : rows) {
        MPosn_Xlate_Params P;
        P.transfer = r.t;
        P.video_rate = r.video;
        P.sequence_phase = r.phase;
        P.modify_sequence_to_playfile_std(r.frames);
        EXPECT_EQ(P.sequence_phase, r.expected) << r.phase << " + " << r.frames;
    }
    MPosn_Conversion_Params C;  // when active: by 25 for 24-to-25, else by 5
    C.sequence_phase = 3;
    C.modify_sequence_to_playfile_std(4);
    C.sequence_active = true;
    C.transfer = transfer_pogle;
    C.modify_sequence_to_playfile_std(-10);
    EXPECT_EQ(C.sequence_phase, -7);  // 3, not moved while inactive, then -10
}

TEST_F(Xlate, SameUnknownUnsetPhaseAndSign) {
    MPosn_Xlate_Params P = params(Kest::FrameRate_24, pd, -1, source_30i_1001_Medium);
    EXPECT_EQ(mPosn_Xlate(-5.0, video_Medium, video_Medium, P, false), -5.0);
    EXPECT_EQ(mPosn_Xlate(5.0, source_24_Medium, source_24p_Medium, P, false), 5.0);
    EXPECT_EQ(P.sequence_phase, -1);  // only a translation past the same-medium test writes it
    EXPECT_EQ(mPosn_Xlate(5.0, cel_Medium, unknown_Medium, P, false), 0.0);
    EXPECT_EQ(mPosn_Xlate(kNone, film_Medium, cel_Medium, P, false), kNone);
    EXPECT_EQ(P.sequence_phase, 0);
    for (int n = 1; n < 100; ++n)  // the sign goes back on the translated magnitude
        for (MediumRollMedium to : {source_30i_1001_Medium, source_25i_Medium, cel_Medium, output_30i_1001_Medium})
            EXPECT_EQ(mPosn_Xlate(-n / 24.0, film_Medium, to, P, false),
                      -mPosn_Xlate(n / 24.0, film_Medium, to, P, false));
}

TEST_F(Xlate, UnreachableMediaPrintTheirAssertionLines) {
    MPosn_Xlate_Params P = params(Kest::FrameRate_24, pd, 0, video_Medium);
    std::string const unknown = assertion("unknown_Medium", "mposnxlate", 2758);  // as in the reference texts
    set_project(Kest::FrameRate_24, fr(20));                                      // 2 fps output: no output medium
    EXPECT_EQ(printed([&] { EXPECT_EQ(mPosn_Xlate(4.0, edit_Medium, film_Medium, P, false), 4.0); }),
              assertion("0", "MediumRoll", 361) + unknown);
    // A video medium that is not source video, in a video-rate project, leads back to itself.
    for (MediumRollMedium vm : {cel_Medium, film_Medium, output_25i_Medium, time_Medium}) {
        MPosn_Xlate_Params Q = params(Kest::FrameRate_25, pd, 0, vm);
        EXPECT_EQ(mPosn_Xlate(-1.0, film_Medium, cel_Medium, Q, false), -kNone) << vm;
    }
}

TEST_F(Xlate, GenericMediaAndOverloads) {
    set_project(Kest::FrameRate_24, Kest::FrameRate_25, false, Kest::Image::ScanMode_progressive);
    MPosn_Xlate_Params P = params(Kest::FrameRate_24, pd, 0, source_25p_Medium);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, film_Medium, video_Medium, P, false), 1.0);       // the block's video medium
    EXPECT_DOUBLE_EQ(mPosn_Xlate(24.0, cel_Medium, edit_Medium, P, false), 24 / 25.0);  // the project's output
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, film_Medium, source_24p_Medium, Kest::FrameRate_48), 0.5);
    mPosn_Xlate(1.0, film_Medium, cel_Medium, P, Kest::FrameRate_25, Cookie(7));
    EXPECT_TRUE(P.project_rate == Kest::FrameRate_25 && P.cel_resolution == 1.0 && P.aud_sync_pulled_down);
    // Edit labels: the medium of the label's roll; no label is no medium.
    EditLabel pal(pal_label_t, roll(source_25p_Medium, first_Generation));
    EditLabel ntsc(ntsc_label_t, roll(source_30i_1001_Medium, first_Generation));
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, film_Medium, &pal), 24 / 25.0);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(-2.0, cel_Medium, &ntsc, Kest::FrameRate_30), -4 * kField30);
    MPosn_Xlate_Params R = params(Kest::FrameRate_24, pd, -1);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, film_Medium, &pal, R), 1.0);
    EXPECT_EQ(mPosn_Xlate(1.0, film_Medium, &ntsc, R, Kest::FrameRate_25), kNone);
    EXPECT_EQ(mPosn_Xlate(3.0, film_Medium, static_cast<EditLabel*>(nullptr)), 0.0);
}

// Film frame n through a sequence table starts at the table's entry for n,
// a cycle on for each whole cycle, in the medium's units: every phase and
// entry on every table medium. Positions a hair from a frame edge, far out
// and signed are pinned by the reference texts.
TEST_F(Xlate, FilmThroughTablesAtEveryPhaseAndEntry) {
    struct {
        MediumRollMedium m;
        transfer_type t;
        bool fields;
        double per_second;
    } const media[] = {
        {source_30p_Medium, pd, false, 30},
        {source_30p_1001_Medium, pd, false, 30 / 1.001},
        {source_30i_Medium, pd, true, 60},
        {source_30i_1001_Medium, pd, true, 2 * (30 / 1.001)},
        {source_25p_Medium, transfer_pogle, false, 25},
        {source_25i_Medium, transfer_pogle, true, 50},
        {source_50p_Medium, transfer_pogle, true, 50},
    };
    for (auto const& c : media) {
        bool const ntsc = c.t == pd;
        int const phases = ntsc ? 5 : 25, film = ntsc ? 4 : 24, video = ntsc ? 5 : 25;
        for (int phase = 0; phase < phases; ++phase) {
            MPosn_Xlate_Params P = params(Kest::FrameRate_24, c.t, phase);
            for (int n = 0; n < 2 * film; ++n) {
                int const k = n % film;
                int const start =
                    ntsc ? (c.fields ? pull23_derivative_table[2 * phase][k] : pull23_Frame_derivative_table[phase][k])
                         : (c.fields ? pogle_derivative_table[2 * phase][k] : pogle_Frame_derivative_table[phase][k]);
                EXPECT_EQ(mPosn_Xlate(n / 24.0, film_Medium, c.m, P, false),
                          (start + video * (c.fields ? 2 : 1) * (n / film)) / c.per_second)
                    << c.m << " phase " << phase << " frame " << n;
            }
        }
    }
}

// Single translations worked by hand.
TEST_F(Xlate, WorkedExamples) {
    struct Ex {
        int pr;
        transfer_type t;
        int phase;
        MediumRollMedium from, to;
        double x, want;
        bool align = false;
    };
    constexpr MediumRollMedium film = film_Medium, cel = cel_Medium;
    Ex const rows[] = {
        // 2:3 cadence: video frame 4 shows film frame 3.
        {1, pd, 0, source_30p_1001_Medium, film, 4 / (30 / 1.001), 3 / 24.0},
        // 30 fps (not 1001) media read back in 29.97 fields.
        {1, pd, 0, source_30p_Medium, film, 1 / 30.0, 0},
        {1, pd, 0, film, source_60p_Medium, 2 / 24.0, 5 / 60.0},  // no table
        // 24-to-25: frame 12 at video frame 12 and field 25; video frame 24 shows film 23.
        {1, pd, 0, film, source_25p_Medium, 12 / 24.0, 12 / 25.0},
        {1, pd, 0, film, source_25i_Medium, 12 / 24.0, 25 / 50.0},
        {1, pd, 0, source_25p_Medium, film, 24 / 25.0, 23 / 24.0},
        // Phase 3: film frame 0 begins a field early, which only 30i aligns.
        {1, pd, 3, film, source_30i_Medium, 0, 0, true},
        {1, pd, 3, film, source_30i_1001_Medium, 1 / 24.0, kField30, true},
        // 24-to-25 phase 24: frame 0 a field and a frame early; only 25i aligns.
        {1, pd, 24, film, source_25i_Medium, 0, -1 / 50.0},
        {1, pd, 24, film, source_25i_Medium, 0, 0, true},
        {1, pd, 24, film, source_50p_Medium, 0, -1 / 50.0, true},
        {1, pd, 24, film, source_25p_Medium, 0, -1 / 25.0, true},
        // No stated transfer: pulled down to NTSC at 24, frame for frame to PAL and at 23.976.
        {1, unspec, 0, film, source_30i_1001_Medium, 2 / 24.0, 5 * kField30},
        {1, unspec, 0, film, source_25p_Medium, 1.0, 24 / 25.0},
        {2, unspec, 0, film, source_30p_1001_Medium, 2 / 24.0, 2 / (30 / 1.001)},
        {1, pd, 0, source_48p_Medium, film, 0.75, 0.75},  // outside the NTSC and PAL rows
        // Film in the other family's project has no position; film run at 30 or geared.
        {3, pd, 0, film, source_30i_1001_Medium, 1.0, kNone},
        {32, pd, 0, film, source_60p_Medium, -1.0, -kNone},
        {33, pd, 0, film, source_25i_Medium, 1.0, kNone},
        {33, pd, 0, film, source_30i_1001_Medium, 1.0, 24 / (30 / 1.001)},
        {6, ff, 0, film, source_25p_Medium, 1.0, 0.5 * 24 / 25},
        // Cel to source video by project rate class: through film, kept at 1001 film rates, fields at 30 fps
        // and frames at 60 fps projects, none across families, the gearing at other rates.
        {1, pd, 0, cel, source_30i_1001_Medium, 2, 5 * kField30},
        {2, pd, 0, cel, source_25p_Medium, 7, 7},
        {4, pd, 0, cel, source_30i_1001_Medium, 3, 6 * kField30},
        {8, pd, 0, cel, source_50p_Medium, 1.5, 3 / 50.0},
        {5, pd, 0, cel, source_60p_1001_Medium, 3, 6 / (60 / 1.001)},
        {3, pd, 0, cel, source_30i_Medium, 3, kNone},
        {1, ff, 0, cel, source_48p_Medium, 5, 10 / 48.0},
        {35, pd, 0, source_12p_Medium, cel, 3 / 12.0, 6},
        // Source to source through cel.
        {1, pd, 0, source_30i_1001_Medium, source_25p_Medium, 5 * kField30, 2 / 25.0},
        // Output without pull-up: the gearing (24 fps output, over 60 fps, video projects).
        {1, pd, 0, cel, output_24p_Medium, 30, 30 / 24.0},
        {1, pd, 0, cel, output_48p_Medium, 30, 60 / 48.0},
        {3, pd, 0, output_25i_Medium, cel, 30 / 25.0, 30},
        {8, pd, 0, cel, output_25i_Medium, 15, 15 / 25.0},
        {1, pd, 0, output_60p_Medium, time_Medium, -3.25, -3.25},
        {1, pd, 0, time_Medium, output_25i_Medium, 3.25, 3.25},
    };
    for (Ex const& r : rows) {
        MPosn_Xlate_Params P = params(fr(r.pr), r.t, r.phase);
        EXPECT_DOUBLE_EQ(mPosn_Xlate(r.x, r.from, r.to, P, r.align), r.want)
            << r.pr << " " << r.from << " -> " << r.to << " " << r.x;
    }
    MPosn_Xlate_Params P = params(Kest::FrameRate_24);
    P.output_pulled_down = false;
    EXPECT_DOUBLE_EQ(mPosn_Xlate(30, cel_Medium, output_30i_1001_Medium, P, false), 30 / (30 / 1.001));
    EXPECT_DOUBLE_EQ(mPosn_Xlate(30 / (30 / 1.001), output_30i_1001_Medium, cel_Medium, P, false), 30);
}

// A camera speed neither 24 nor 48 reads cel back as seconds; rate 34 takes seconds / 24 in.
TEST_F(Xlate, FilmAndCel) {
    struct {
        int pr;
        double camera;
        int film_frame;
        double cel;
        int back_frame;
    } const rows[] = {
        {1, 24, 37, 37, 37},     {6, 48, 37, 18.5, 37},    {2, 24, 37, 37, 37},
        {31, 24, 48 * 24, 2, 2}, {1, 48, 37, 18, 36},      {34, 24, 48 * 24, 1, 2},
        {7, 48, 36, 18, 36},     {1, 25, 37, 37, 37 * 24}, {6, 25, 37, 18.5, 18 * 24 + 12},
    };
    for (auto const& r : rows) {
        MPosn_Xlate_Params P = params(fr(r.pr));
        P.camera_film_fps = r.camera;
        double const c = mPosn_Xlate(r.film_frame / 24.0, film_Medium, cel_Medium, P, false);
        EXPECT_DOUBLE_EQ(c, r.cel) << r.pr << " " << r.camera;
        EXPECT_DOUBLE_EQ(mPosn_Xlate(c, cel_Medium, film_Medium, P, false), r.back_frame / 24.0)
            << r.pr << " " << r.camera;
    }
    // At video rates film goes to cel through the video medium and comes back.
    for (int phase = 0; phase < 25; ++phase)
        for (auto const& v :
             {std::make_pair(3, source_25p_Medium), {8, source_50p_Medium}, {5, source_30p_1001_Medium}}) {
            MPosn_Xlate_Params P = params(fr(v.first), pd, phase, v.second);
            for (int n = 1; n < 60; ++n) {
                double const c = mPosn_Xlate(n / 24.0, film_Medium, cel_Medium, P, false);
                EXPECT_EQ(mround(mPosn_Xlate(c, cel_Medium, film_Medium, P, false) * 24),
                          n + (v.first == 5 && phase % 5 == 4))
                    << v.first << " phase " << phase << " frame " << n;
            }
        }
    MPosn_Xlate_Params P = params(Kest::FrameRate_25, ff, 0, source_25p_Medium);
    P.use_aud_sync_setting = true;  // film runs at the project rate unless the material is pulled down
    EXPECT_DOUBLE_EQ(mPosn_Xlate(24.0, cel_Medium, film_Medium, P, false), 25.0);
    P.transfer = pd;
    EXPECT_DOUBLE_EQ(mPosn_Xlate(24.0, cel_Medium, film_Medium, P, false), 24.0);
}

// Output pull-up: 3-2-3-2 fields at 30/60 fps; at 25/50 fps film frames 0
// and 12 of each 24 take three fields. Cel to output and back is exact.
TEST_F(Xlate, OutputPullUpCadences) {
    MPosn_Xlate_Params P = params(Kest::FrameRate_24, transfer_pull23, 3);  // the phase does not matter
    int const frame_of_field[] = {0, 0, 0, 1, 1, 2, 2, 2, 3, 3};
    for (int f = 0; f < 150; ++f) {
        EXPECT_EQ(mPosn_Xlate(f / (2 * (30 / 1.001)), output_30i_1001_Medium, cel_Medium, P, false),
                  4 * (f / 10) + frame_of_field[f % 10]);
        EXPECT_EQ(mPosn_Xlate(f / 120.0, output_60p_Medium, cel_Medium, P, false),
                  4 * (f / 10) + frame_of_field[f % 10]);
        int const m = f % 50;
        int const expected = 24 * (f / 50) + (m <= 2 ? 0 : m < 25 ? (m - 1) / 2 : m <= 27 ? 12 : (m - 2) / 2);
        EXPECT_EQ(mPosn_Xlate(f / 50.0, output_25i_Medium, cel_Medium, P, false), expected) << f;
    }
    for (int n = 0; n < 200; ++n)
        for (MediumRollMedium out : {output_30i_1001_Medium, output_30p_Medium, output_25i_Medium}) {
            double const p = mPosn_Xlate(n, cel_Medium, out, P, false);
            EXPECT_EQ(mPosn_Xlate(p, out, cel_Medium, P, false), n) << out;
        }
    EXPECT_DOUBLE_EQ(mPosn_Xlate(9, cel_Medium, output_30i_1001_Medium, P, false), 23 * kField30);
    EXPECT_DOUBLE_EQ(mPosn_Xlate(13, cel_Medium, output_25p_Medium, P, false), 28 / 50.0);
    EXPECT_EQ(mPosn_Xlate(13, cel_Medium, output_50p_Medium, P, false), 28 / 50.0);  // placed in 25 fps fields
    EXPECT_EQ(mPosn_Xlate(3 / 100.0, output_50p_Medium, cel_Medium, P, false), 1);   // read in its own
}

// 24-to-25: each film frame takes 2 fields but frames 11 - q and 23 - q
// (q = phase mod 12), which take 3. Phases 12..23 start a field late;
// phase 24 starts frame 0 a field early.
int walked_field_start(int phase, int k) {
    int const q = phase < 24 ? phase % 12 : 11;
    int field = phase < 24 ? phase / 12 : -1;
    for (int i = 0; i < k; ++i) field += (i == 11 - q || i == 23 - q) ? 3 : 2;
    return field;
}

// Each slot shows the film frame whose span covers it: -1 before the
// cycle's first start, 24 from the next cycle's first start.
template <int Slots>
void expect_inverse(signed char const (&origin)[Slots], signed char const* start, char const* what, int row) {
    for (int s = 0; s < Slots; ++s) {
        int shows = s < start[0] ? -1 : 24;
        for (int k = 0; k < 24; ++k)
            if (s >= start[k] && s < (k < 23 ? start[k + 1] : start[0] + Slots)) shows = k;
        EXPECT_EQ(origin[s], shows) << what << " row " << row << " slot " << s;
    }
}

TEST(PogleTables, StartsFollowTheCadenceAndOriginsInvertThem) {
    for (int row = 0; row < 50; ++row) {
        for (int k = 0; k < 24; ++k)
            EXPECT_EQ(pogle_derivative_table[row][k], walked_field_start(row / 2, k) - row % 2) << row << " " << k;
        expect_inverse(pogle_origin_table[row], pogle_derivative_table[row], "field", row);
    }
    for (int p = 0; p < 25; ++p)
        expect_inverse(pogle_Frame_origin_table[p], pogle_Frame_derivative_table[p], "frame", p);
    // In frames every video frame but 24 - p starts a film frame; 24 - p repeats the one before.
    for (int p = 0; p < 24; ++p) {
        int k = 0;
        for (int j = 0; j < 25; ++j)
            if (j != 24 - p) {
                EXPECT_EQ(pogle_Frame_derivative_table[p][k++], j) << p;
            }
    }
    EXPECT_EQ(pogle_Frame_derivative_table[24][0], -1);
    for (int k = 1; k < 24; ++k) EXPECT_EQ(pogle_Frame_derivative_table[24][k], k);
}

// The film frame (of 4 a cycle, counted on into the next cycles) whose
// span covers each slot of a 2:3 row.
template <int Slots>
void expect_pull23_inverse(signed char const (&origin)[Slots], signed char const* start, int shift, int row) {
    for (int s = 0; s < Slots; ++s) {
        int covers = -9;
        for (int k = 0; k < 4; ++k)
            for (int cycle = -1; cycle <= 1; ++cycle) {
                int const from = start[k] + cycle * Slots,
                          to = (k < 3 ? start[k + 1] : start[0] + Slots) + cycle * Slots;
                if (s >= from && s < to) covers = k + 4 * cycle;
            }
        EXPECT_EQ(origin[s], covers + shift) << "row " << row << " slot " << s;
    }
}

// 2:3: phase p starts p video frames (2p fields) into the A-B-C-D cadence
// of 2, 3, 2 and 3 fields; a frame starting in the cycle's last field
// begins in the previous cycle. Odd rows hold the same cadence a field
// earlier. Origins invert the starts, but for phase 2's field row and
// phase 4's frame row, which count the first slot's frame as frame 0.
TEST(Pull23Tables, StartsFollowTheCadenceAndOriginsInvertThem) {
    int const base[4] = {0, 2, 5, 7};
    for (int p = 0; p < 5; ++p) {
        int starts[4], earlier[4], odd[4];
        for (int k = 0; k < 4; ++k) starts[k] = ((base[k] - 2 * p) % 10 + 10) % 10;
        std::sort(starts, starts + 4);
        if (starts[3] == 9) std::rotate(starts, starts + 3, starts + 4), starts[0] = -1;
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(pull23_derivative_table[2 * p][k], starts[k]) << p << " " << k;
            earlier[k] = (starts[k] + 9) % 10;
            odd[k] = (pull23_derivative_table[2 * p + 1][k] + 10) % 10;
            if (k > 0) {
                EXPECT_LT(pull23_derivative_table[2 * p + 1][k - 1], pull23_derivative_table[2 * p + 1][k]);
            }
        }
        std::sort(earlier, earlier + 4);
        std::sort(odd, odd + 4);
        EXPECT_TRUE(std::equal(odd, odd + 4, earlier)) << p;
        expect_pull23_inverse(pull23_origin_table[2 * p], pull23_derivative_table[2 * p], p == 2 ? 1 : 0, 2 * p);
        expect_pull23_inverse(pull23_origin_table[2 * p + 1], pull23_derivative_table[2 * p + 1], 0, 2 * p + 1);
        expect_pull23_inverse(pull23_Frame_origin_table[p], pull23_Frame_derivative_table[p], p == 4 ? 1 : 0, p);
        // In frames every video frame but 4 - p starts a film frame; 4 - p repeats the one before.
        for (int j = 0, k = 0; j < 5; ++j)
            if (j != 4 - p) {
                EXPECT_EQ(pull23_Frame_derivative_table[p][k++], j) << p;
            }
    }
    EXPECT_EQ(pull23_Frame_derivative_table[0][3], 3);  // phase 0: video frame 4 repeats film frame 3
    EXPECT_EQ(pull23_Frame_origin_table[0][4], 3);
}

}  // namespace
