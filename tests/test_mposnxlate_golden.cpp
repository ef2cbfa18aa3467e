// Translation results pinned to the bit against checked-in reference texts
// (tests/reference/mposnxlate_*.txt): medium pairs under varied parameter
// blocks, both pulldowns across phases, the project-reading entry points
// and the host rate arithmetic. One named line per case, every result
// printed exactly (the shortest "%.<n>g" that reads back), and the assertion lines each group printed,
// counted. A difference fails with the differing lines, expected and got.
//
// The texts are generated, then reviewed by eye, after an intended change:
//     LABELSBASE_WRITE_REFERENCE=1 build/release/tests/test_mposnxlate_golden
// rewrites them in the source tree (and the tests pass); git diff shows
// what moved.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <limits>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "labelsbase/vocabulary.h"
#include "test_support.h"

namespace {

// ---------------------------------------------------------------------------
// Reference texts.

// The shortest "%.<n>g" that reads back to v exactly.
std::string num(double v) {
    if (std::isnan(v)) return "nan";  // every NaN alike: its sign bit is not a result
    char buf[40];
    for (int digits = 15; digits <= 17; ++digits) {
        std::snprintf(buf, sizeof buf, "%.*g", digits, v);
        if (std::strtod(buf, nullptr) == v) break;
    }
    return buf;
}

std::string medium_name(int m) {
    char const* n = lb::medium_row(m) ? lb::medium_row(m)->name : nullptr;
    return n ? n : "medium" + std::to_string(m);
}

// Lines of one group: "<case>: <results>", then the printed lines counted.
struct Lines {
    std::vector<std::string> lines;
    void add(std::string const& name, std::vector<double> const& values, std::string const& extra = "") {
        std::string s = name + ":";
        for (double v : values) s += " " + num(v);
        lines.push_back(s + extra);
    }
    void add_printed(std::string const& out) {
        std::map<std::string, int> counts;
        std::istringstream in(out);
        for (std::string l; std::getline(in, l);) ++counts[l];
        for (auto const& [text, n] : counts) lines.push_back("printed " + std::to_string(n) + " x " + text);
    }
};

std::string reference_path(char const* name) {
    return std::string(LABELSBASE_REFERENCE_DIR) + "/mposnxlate_" + name + ".txt";
}

void check_reference(char const* name, Lines const& got) {
    std::string const path = reference_path(name);
    char const* const header =
        "# Translation reference; regenerate with LABELSBASE_WRITE_REFERENCE=1 tests/test_mposnxlate_golden";
    if (std::getenv("LABELSBASE_WRITE_REFERENCE")) {
        std::ofstream out(path);
        out << header << "\n";
        for (std::string const& l : got.lines) out << l << "\n";
        ASSERT_TRUE(out.good()) << "cannot write " << path;
        return;
    }
    std::ifstream in(path);
    ASSERT_TRUE(in.good()) << "no reference text " << path;
    std::vector<std::string> want;
    for (std::string l; std::getline(in, l);)
        if (!l.empty() && l[0] != '#') want.push_back(l);
    std::size_t shown = 0, differing = 0;
    std::size_t const n = std::max(want.size(), got.lines.size());
    for (std::size_t i = 0; i < n; ++i) {
        std::string const w = i < want.size() ? want[i] : "(none)";
        std::string const g = i < got.lines.size() ? got.lines[i] : "(none)";
        if (w == g) continue;
        ++differing;
        if (shown++ < 20) ADD_FAILURE() << path << " line " << i + 2 << "\n  want " << w << "\n  got  " << g;
    }
    EXPECT_EQ(differing, 0u) << "lines differing from " << path;
}

// ---------------------------------------------------------------------------

void set_key(int key) {  // -1: unset
    if (key < 0)
        host::unset_config_int("video_in_film_pulldown");
    else
        host::set_config_int("video_in_film_pulldown", key);
}

double const inf = std::numeric_limits<double>::infinity();
// Ordinary positions, and the signed, tiny, huge and non-finite ones.
double const kPositions[] = {0.0, 1 / 24.0, 2.99995 / 24, 7.3, -41.7, 3e9};
double const kOddPositions[] = {-0.0,  5e-5, 0.5,   1.0, 123.456, 1e6 / 24,     -1 / 24.0,
                                -0.75, 1e99, -1e99, inf, -inf,    std::nan(""), 1e300};
// A medium of every class, side, scan and rate family; the generic media;
// numbers outside the enumeration and unused inside it.
int const kMedia[] = {-1, 1, 2, 3, 4, 7, 8, 10, 12, 13, 14, 16, 17, 20, 21, 24, 25, 27, 29, 33, 36, 38, 40, 42, 47, 71};

using Golden = HostReset;

TEST_F(Golden, MediumPairsUnderVariedBlocks) {
    // Project rate, transfer, phase, video medium and rate, output rate and
    // pulldown, camera speed, audio sync use and pulldown, key.
    struct {
        int pr, t, phase, vm, vr, orate;
        bool opd;
        double cam;
        bool sync, sync_pd;
        int key;
    } const blocks[] = {
        {1, 1, 0, 24, 5, 5, true, 24, false, true, -1},    {1, 2, 7, 19, 3, 3, true, 24, false, true, 0},
        {1, 0, -1, 23, 5, 5, false, 48, false, false, 0},  {1, 0, 3, 20, 3, 4, false, 25, true, false, 1},
        {2, 7, 4, 22, 5, 10, true, 24, false, true, -1},   {6, 3, 0, 41, 6, 8, true, 48, false, true, -1},
        {7, 7, 24, 25, 8, 3, false, 24, true, true, 1},    {31, 1, -2, 15, 1, 9, false, 24, false, true, -1},
        {32, 2, 30, 19, 3, 3, true, 24, false, true, -1},  {33, 7, INT_MIN, 24, 5, 5, true, 24, false, true, -1},
        {34, 0, 0, 33, 8, 1, true, 48, false, true, 0},    {3, 7, 12, 19, 3, 3, true, 24, true, false, -1},
        {8, 3, 0, 25, 8, 8, false, 48, false, true, -1},   {4, 1, 2, 23, 4, 4, true, 25, true, true, -1},
        {5, 0, 1, 22, 5, 5, false, 24, false, true, -1},   {9, 7, INT_MAX, 26, 9, 10, true, 48, false, false, -1},
        {10, 3, 0, 12, 10, 35, true, 24, false, true, -1}, {35, 2, 3, 45, 35, 46, false, 24, false, true, -1},
        {46, 7, 0, 56, 46, 5, true, 24, false, true, -1},  {0, 1, 0, 0, 0, 0, true, 24, false, true, -1},
    };
    Lines out;
    std::string const printed_text = printed([&] {
        for (std::size_t bi = 0; bi < sizeof blocks / sizeof blocks[0]; ++bi) {
            auto const& b = blocks[bi];
            set_key(b.key);
            MPosn_Xlate_Params P;
            P.initOutputFormat(fr(b.pr), fr(b.orate), b.opd);
            P.transfer = static_cast<transfer_type>(b.t);
            P.sequence_phase = b.phase;
            P.video_medium = med(b.vm);
            P.video_rate = fr(b.vr);
            P.camera_film_fps = b.cam;
            P.use_aud_sync_setting = b.sync;
            P.aud_sync_pulled_down = b.sync_pd;
            // The odd positions under the first block only.
            bool const odd = bi == 0;
            for (int from : kMedia)
                for (int to : kMedia) {
                    std::vector<double> r;
                    std::string phase;  // the block's phase as the translations leave it, when changed
                    auto run = [&](double x) {
                        MPosn_Xlate_Params Q = P;
                        r.push_back(mPosn_Xlate(x, med(from), med(to), Q, (from + to) % 2 == 0));
                        if (Q.sequence_phase != P.sequence_phase)
                            phase = " (phase " + std::to_string(Q.sequence_phase) + ")";
                    };
                    for (double x : kPositions) run(x);
                    if (odd)
                        for (double x : kOddPositions) run(x);
                    out.add("block" + std::to_string(bi) + " " + medium_name(from) + " -> " + medium_name(to), r,
                            phase);
                }
        }
    });
    out.add_printed(printed_text);
    check_reference("pairs", out);
}

TEST_F(Golden, BothPulldownsAcrossPhases) {
    MediumRollMedium const video[] = {source_25p_Medium,      source_25i_Medium,      source_50p_Medium,
                                      source_30p_Medium,      source_30p_1001_Medium, source_30i_Medium,
                                      source_30i_1001_Medium, source_60p_Medium,      source_60p_1001_Medium};
    // Film frames: a 2:3 cycle and the next, the turn of the 24-to-25 cycle, far out.
    int const frames[] = {-3, -1, 0, 1, 2, 3, 4, 5, 7, 23, 24, 25, 109};
    int const phases[] = {-27, -1, 0, 1, 2, 3, 4, 5, 12, 24, 25, 27, INT_MIN, INT_MAX};
    Lines out;
    char const* const names[] = {"none", "pull23", "pogle", "frame", "", "", "", "pulldown"};
    for (transfer_type t : {transfer_pull23, transfer_pogle, transfer_pulldown})
        for (int pr : {1, 2})
            for (int phase : phases) {
                MPosn_Xlate_Params P;
                P.initOutputFormat(fr(pr), Kest::FrameRate_29_97, true);
                P.transfer = t;
                P.sequence_phase = phase;
                std::string const block =
                    std::string(names[t]) + " rate" + std::to_string(pr) + " phase" + std::to_string(phase) + " ";
                for (MediumRollMedium v : video) {
                    std::vector<double> to_video, from_video, to_ink;
                    for (int n : frames) {
                        to_video.push_back(
                            mPosn_Xlate(n / 24.0 + (n % 7 == 0 ? 0.013 : 0.0), film_Medium, v, P, n % 2 == 0));
                        from_video.push_back(mPosn_Xlate(n / 59.94, v, film_Medium, P, false));
                        to_ink.push_back(mPosn_Xlate(n / 50.0 + 1e-6, v, ink_Medium, P, true));
                    }
                    out.add(block + "film -> " + medium_name(v), to_video);
                    out.add(block + medium_name(v) + " -> film", from_video);
                    out.add(block + medium_name(v) + " -> ink", to_ink);
                }
            }
    check_reference("pulldowns", out);
}

TEST_F(Golden, ProjectReadingEntryPoints) {
    struct {
        int pr, orate, scan;
        bool pulled_down;
        int camera;
    } const projects[] = {
        {1, 5, 1, true, 1},  {1, 3, 3, false, 6}, {2, 10, 2, false, 1}, {3, 3, 1, true, 3},
        {5, 5, 1, false, 1}, {8, 9, 4, true, 1},  {31, 8, 3, false, 1}, {44, 40, 0, true, 35},
    };
    MediumRollMedium const media[] = {film_Medium,       edit_Medium,      video_Medium,           cel_Medium,
                                      audio_Medium,      time_Medium,      source_30i_1001_Medium, source_25p_Medium,
                                      output_30i_Medium, output_25i_Medium};
    double const positions[] = {0.0, 1 / 24.0, 7.3, -41.7, 1e99};
    Lines out;
    std::string const printed_text = printed([&] {
        for (std::size_t pi = 0; pi < sizeof projects / sizeof projects[0]; ++pi)
            for (int key = -1; key <= 1; ++key) {
                auto const& p = projects[pi];
                host::set_project_settings({fr(p.pr), true, fr(p.orate), static_cast<Kest::Image::ScanMode>(p.scan),
                                            p.pulled_down, true, fr(p.camera)});
                set_key(key);
                Kest::OutputGearing const g(fr(p.orate + 1), !p.pulled_down);
                std::string const block = "project" + std::to_string(pi) + " key" + std::to_string(key) + " ";
                for (MediumRollMedium a : media)
                    for (MediumRollMedium b : media) {
                        std::vector<double> r;
                        for (double x : positions) r.push_back(mPosn_Xlate(x, a, b));
                        for (double x : positions) r.push_back(mPosn_Xlate(x, a, b, fr(p.pr + 1)));
                        out.add(block + medium_name(a) + " -> " + medium_name(b) + " (project rate, next rate)", r);
                    }
                for (double x : kOddPositions) {
                    out.add(block + "clock and cel at " + num(x),
                            {mPosn_Xlate_ClockToCel(x), mPosn_Xlate_CelToClock(x), mPosn_Xlate_ClockToCel(x, g),
                             mPosn_Xlate_CelToClock(x, g), transform_KESTtime_to_CELtime(x),
                             transform_CELtime_to_KESTtime(x), static_cast<double>(celPosn_to_SampleNr(x))});
                }
                std::vector<double> r;
                for (int n : {0, 1, -7, 1001, INT_MAX, INT_MIN}) r.push_back(sampleNr_to_CelPosn(n));
                out.add(block + "cel of sample 0 1 -7 1001 INT_MAX INT_MIN", r);
            }
    });
    out.add_printed(printed_text);
    check_reference("project", out);
}

TEST(GoldenHost, RateArithmetic) {
    Lines out;
    for (int a = -2; a <= 49; ++a) {
        out.add("rate" + std::to_string(a) + " fps duration cel undecimated 1001",
                {Kest::getFramesPerSecond(fr(a)), Kest::getFrameDuration(fr(a)), Kest::getCelResolution(fr(a)),
                 static_cast<double>(Kest::getNonDecimatedFrameRate(fr(a))),
                 static_cast<double>(Kest::has1001Factor(fr(a)))});
        std::vector<double> gearing;
        for (int b = -2; b <= 49; ++b) gearing.push_back(Kest::getEditResolutionFrameGearing(fr(a), fr(b)));
        out.add("rate" + std::to_string(a) + " gearing to rates -2..49", gearing);
    }
    check_reference("rates", out);
}

}  // namespace
