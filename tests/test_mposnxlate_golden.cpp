// Translation results pinned to the bit: every medium pair under varied
// parameter blocks, both pulldowns at every phase, the project-reading
// entry points and the host rate arithmetic, each group folded into one
// digest of the exact results (and of any assertion lines printed). A
// change to any single result changes its group's digest.
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "test_support.h"

namespace {

struct Digest {
    std::uint64_t h = 14695981039346656037ull;
    void add(std::uint64_t v) {
        for (int i = 0; i < 8; ++i) h = (h ^ ((v >> (8 * i)) & 0xff)) * 1099511628211ull;
    }
    void add(double d) {
        std::uint64_t b = 0x7ff8dead00000000ull;  // every NaN alike: its sign bit is not a result
        if (!std::isnan(d)) std::memcpy(&b, &d, sizeof b);
        add(b);
    }
    void add(std::string const& s) {
        for (char c : s) add(static_cast<std::uint64_t>(static_cast<unsigned char>(c)));
    }
};

void set_key(int key) {  // -1: unset
    if (key < 0)
        host::unset_config_int("video_in_film_pulldown");
    else
        host::set_config_int("video_in_film_pulldown", key);
}

double const inf = std::numeric_limits<double>::infinity();
double const kPositions[] = {0.0, -0.0, 1 / 24.0, 0.5, 1.0, 2.99995 / 24, 7.3, 123.456, 1e6 / 24, 3e9, 5e-5,
                             -1 / 24.0, -0.75, -41.7, 1e99, -1e99, inf, -inf, std::nan(""), 1e300};

using Golden = HostReset;

TEST_F(Golden, EveryMediumPairUnderVariedBlocks) {
    // Project rate, transfer, phase, video medium and rate, output rate and
    // pulldown, camera speed, audio sync use and pulldown, key.
    struct { int pr, t, phase, vm, vr, orate; bool opd; double cam; bool sync, sync_pd; int key; } const blocks[] = {
        {1, 1, 0, 24, 5, 5, true, 24, false, true, -1},     {1, 2, 7, 19, 3, 3, true, 24, false, true, 0},
        {1, 0, -1, 23, 5, 5, false, 48, false, false, 0},   {1, 0, 3, 20, 3, 4, false, 25, true, false, 1},
        {2, 7, 4, 22, 5, 10, true, 24, false, true, -1},    {6, 3, 0, 41, 6, 8, true, 48, false, true, -1},
        {7, 7, 24, 25, 8, 3, false, 24, true, true, 1},     {31, 1, -2, 15, 1, 9, false, 24, false, true, -1},
        {32, 2, 30, 19, 3, 3, true, 24, false, true, -1},   {33, 7, INT_MIN, 24, 5, 5, true, 24, false, true, -1},
        {34, 0, 0, 33, 8, 1, true, 48, false, true, 0},     {3, 7, 12, 19, 3, 3, true, 24, true, false, -1},
        {8, 3, 0, 25, 8, 8, false, 48, false, true, -1},    {4, 1, 2, 23, 4, 4, true, 25, true, true, -1},
        {5, 0, 1, 22, 5, 5, false, 24, false, true, -1},    {9, 7, INT_MAX, 26, 9, 10, true, 48, false, false, -1},
        {10, 3, 0, 12, 10, 35, true, 24, false, true, -1},  {35, 2, 3, 45, 35, 46, false, 24, false, true, -1},
        {46, 7, 0, 56, 46, 5, true, 24, false, true, -1},   {0, 1, 0, 0, 0, 0, true, 24, false, true, -1},
    };
    Digest d;
    d.add(printed([&] {
        for (auto const& b : blocks) {
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
            for (int from = -1; from <= 71; ++from)
                for (int to = -1; to <= 71; ++to)
                    for (double x : kPositions) {
                        MPosn_Xlate_Params Q = P;
                        d.add(mPosn_Xlate(x, med(from), med(to), Q, (from + to) % 2 == 0));
                        d.add(static_cast<std::uint64_t>(static_cast<std::uint32_t>(Q.sequence_phase)));
                    }
        }
    }));
    EXPECT_EQ(d.h, 0xb47a649552204b6bull) << std::hex << "digest now 0x" << d.h;
}

TEST_F(Golden, BothPulldownsAtEveryPhase) {
    MediumRollMedium const video[] = {source_25p_Medium, source_25i_Medium,      source_50p_Medium,
                                      source_30p_Medium, source_30p_1001_Medium, source_30i_Medium,
                                      source_30i_1001_Medium, source_60p_Medium, source_60p_1001_Medium};
    Digest d;
    for (transfer_type t : {transfer_pull23, transfer_pogle, transfer_pulldown})
        for (int pr : {1, 2})
            for (int phase = -27; phase <= 27 + 3; ++phase) {
                MPosn_Xlate_Params P;
                P.initOutputFormat(fr(pr), Kest::FrameRate_29_97, true);
                P.transfer = t;
                P.sequence_phase = phase <= 27 ? phase : phase == 28 ? INT_MIN : phase == 29 ? INT_MAX : INT_MIN + 1;
                for (MediumRollMedium v : video)
                    for (int n = -3; n < 110; ++n) {
                        d.add(mPosn_Xlate(n / 24.0 + (n % 7 == 0 ? 0.013 : 0.0), film_Medium, v, P, n % 2 == 0));
                        d.add(mPosn_Xlate(n / 59.94, v, film_Medium, P, false));
                        d.add(mPosn_Xlate(n / 50.0 + 1e-6, v, ink_Medium, P, true));
                    }
            }
    EXPECT_EQ(d.h, 0x8835728fd43fb97dull) << std::hex << "digest now 0x" << d.h;
}

TEST_F(Golden, ProjectReadingEntryPoints) {
    struct { int pr, orate, scan; bool pulled_down; int camera; } const projects[] = {
        {1, 5, 1, true, 1}, {1, 3, 3, false, 6}, {2, 10, 2, false, 1}, {3, 3, 1, true, 3},
        {5, 5, 1, false, 1}, {8, 9, 4, true, 1},  {31, 8, 3, false, 1}, {44, 40, 0, true, 35},
    };
    MediumRollMedium const media[] = {film_Medium, edit_Medium, video_Medium, cel_Medium, audio_Medium, time_Medium,
                                      source_30i_1001_Medium, source_25p_Medium, output_30i_Medium, output_25i_Medium};
    Digest d;
    d.add(printed([&] {
        for (auto const& p : projects)
            for (int key = -1; key <= 1; ++key) {
                host::set_project_settings({fr(p.pr), true, fr(p.orate), static_cast<Kest::Image::ScanMode>(p.scan),
                                            p.pulled_down, true, fr(p.camera)});
                set_key(key);
                Kest::OutputGearing const g(fr(p.orate + 1), !p.pulled_down);
                for (double x : kPositions) {
                    for (MediumRollMedium a : media)
                        for (MediumRollMedium b : media) {
                            d.add(mPosn_Xlate(x, a, b));
                            d.add(mPosn_Xlate(x, a, b, fr(p.pr + 1)));
                        }
                    for (double y : {mPosn_Xlate_ClockToCel(x), mPosn_Xlate_CelToClock(x), mPosn_Xlate_ClockToCel(x, g),
                                     mPosn_Xlate_CelToClock(x, g), transform_KESTtime_to_CELtime(x),
                                     transform_CELtime_to_KESTtime(x)})
                        d.add(y);
                    d.add(static_cast<std::uint64_t>(celPosn_to_SampleNr(x)));
                }
                for (int n : {0, 1, -7, 1001, INT_MAX, INT_MIN}) d.add(sampleNr_to_CelPosn(n));
            }
    }));
    EXPECT_EQ(d.h, 0xb5c93a2385b6e2adull) << std::hex << "digest now 0x" << d.h;
}

TEST(GoldenHost, RateArithmetic) {
    Digest d;
    for (int a = -2; a <= 49; ++a) {
        for (double v : {Kest::getFramesPerSecond(fr(a)), Kest::getFrameDuration(fr(a)), Kest::getCelResolution(fr(a))})
            d.add(v);
        d.add(static_cast<std::uint64_t>(Kest::getNonDecimatedFrameRate(fr(a))));
        d.add(static_cast<std::uint64_t>(Kest::has1001Factor(fr(a))));
        for (int b = -2; b <= 49; ++b) d.add(Kest::getEditResolutionFrameGearing(fr(a), fr(b)));
    }
    EXPECT_EQ(d.h, 0xe547796bbc4edf05ull) << std::hex << "digest now 0x" << d.h;
}

}  // namespace
