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

double const inf = std::numeric_limits<double>::infinity();
double const kPositions[] = {0.0, -0.0, 1 / 24.0, 0.5, 1.0, 2.99995 / 24, 7.3, 123.456, 1e6 / 24, 3e9, 5e-5,
                             -1 / 24.0, -0.75, -41.7, 1e99, -1e99, inf, -inf, std::nan(""), 1e300};

// Parameter blocks: project rate, transfer, phase, video medium and rate,
// output rate and pulldown, camera speed, audio sync, and the
// "video_in_film_pulldown" key (-1 unset).
struct Block {
    int pr, transfer, phase, video_medium, video_rate, orate;
    bool pulled_down;
    double cam;
    bool use_aud_sync, aud_sync_pulled_down;
    int key;
};
constexpr Block kBlocks[] = {
    {1, transfer_pull23, 0, source_30i_1001_Medium, 5, 5, true, 24, false, true, -1},
    {1, transfer_pogle, 7, source_25p_Medium, 3, 3, true, 24, false, true, 0},
    {1, transfer_unspecified, -1, source_30i_Medium, 5, 5, false, 48, false, false, 0},
    {1, transfer_unspecified, 3, source_25i_Medium, 3, 4, false, 25, true, false, 1},
    {2, transfer_pulldown, 4, source_30p_1001_Medium, 5, 10, true, 24, false, true, -1},
    {6, transfer_frame_for_frame, 0, source_48p_Medium, 6, 8, true, 48, false, true, -1},
    {7, transfer_pulldown, 24, source_50p_Medium, 8, 3, false, 24, true, true, 1},
    {31, transfer_pull23, -2, source_24p_Medium, 1, 9, false, 24, false, true, -1},
    {32, transfer_pogle, 30, source_25p_Medium, 3, 3, true, 24, false, true, -1},
    {33, transfer_pulldown, INT_MIN, source_30i_1001_Medium, 5, 5, true, 24, false, true, -1},
    {34, transfer_unspecified, 0, output_25i_Medium, 8, 1, true, 48, false, true, 0},
    {3, transfer_pulldown, 12, source_25p_Medium, 3, 3, true, 24, true, false, -1},
    {8, transfer_frame_for_frame, 0, source_50p_Medium, 8, 8, false, 48, false, true, -1},
    {4, transfer_pull23, 2, source_30i_Medium, 4, 4, true, 25, true, true, -1},
    {5, transfer_unspecified, 1, source_30p_1001_Medium, 5, 5, false, 24, false, true, -1},
    {9, transfer_pulldown, INT_MAX, source_60p_Medium, 9, 10, true, 48, false, false, -1},
    {10, transfer_frame_for_frame, 0, cel_Medium, 10, 35, true, 24, false, true, -1},
    {35, transfer_pogle, 3, source_12p_Medium, 35, 46, false, 24, false, true, -1},
    {46, transfer_pulldown, 0, source_240p_Medium, 46, 5, true, 24, false, true, -1},
    {0, transfer_pull23, 0, unknown_Medium, 0, 0, true, 24, false, true, -1},
};

struct Golden : HostReset {
    static MPosn_Xlate_Params block(Block const& b) {
        if (b.key < 0)
            host::unset_config_int("video_in_film_pulldown");
        else
            host::set_config_int("video_in_film_pulldown", b.key);
        MPosn_Xlate_Params P;
        P.initOutputFormat(fr(b.pr), fr(b.orate), b.pulled_down);
        P.transfer = static_cast<transfer_type>(b.transfer);
        P.sequence_phase = b.phase;
        P.video_medium = med(b.video_medium);
        P.video_rate = fr(b.video_rate);
        P.camera_film_fps = b.cam;
        P.use_aud_sync_setting = b.use_aud_sync;
        P.aud_sync_pulled_down = b.aud_sync_pulled_down;
        return P;
    }
    // The group's digest; on a mismatch the test reports the new one.
    static void expect(Digest const& d, std::uint64_t golden) {
        EXPECT_EQ(d.h, golden) << std::hex << "digest now 0x" << d.h;
    }
};

TEST_F(Golden, EveryMediumPairUnderVariedBlocks) {
    Digest d;
    d.add(printed([&] {
        for (Block const& b : kBlocks) {
            MPosn_Xlate_Params P = block(b);
            for (int from = -1; from <= 71; ++from)
                for (int to = -1; to <= 71; ++to)
                    for (double x : kPositions) {
                        MPosn_Xlate_Params Q = P;
                        d.add(mPosn_Xlate(x, med(from), med(to), Q, (from + to) % 2 == 0));
                        d.add(static_cast<std::uint64_t>(static_cast<std::uint32_t>(Q.sequence_phase)));
                    }
        }
    }));
    expect(d, 0xb47a649552204b6bull);
}

TEST_F(Golden, BothPulldownsAtEveryPhase) {
    MediumRollMedium const video[] = {source_25p_Medium,      source_25i_Medium,      source_50p_Medium,
                                      source_30p_Medium,      source_30p_1001_Medium, source_30i_Medium,
                                      source_30i_1001_Medium, source_60p_Medium,      source_60p_1001_Medium};
    Digest d;
    for (transfer_type t : {transfer_pull23, transfer_pogle, transfer_pulldown})
        for (int pr : {1, 2})
            for (int phase = -27; phase <= 27 + 3; ++phase) {
                int const ph = phase <= 27 ? phase : phase == 28 ? INT_MIN : phase == 29 ? INT_MAX : INT_MIN + 1;
                MPosn_Xlate_Params P;
                P.initOutputFormat(fr(pr), Kest::FrameRate_29_97, true);
                P.transfer = t;
                P.sequence_phase = ph;
                for (MediumRollMedium v : video)
                    for (int n = -3; n < 110; ++n) {
                        double const x = n / 24.0 + (n % 7 == 0 ? 0.013 : 0.0);
                        d.add(mPosn_Xlate(x, film_Medium, v, P, n % 2 == 0));
                        d.add(mPosn_Xlate(n / 59.94, v, film_Medium, P, false));
                        d.add(mPosn_Xlate(n / 50.0 + 1e-6, v, ink_Medium, P, true));
                    }
            }
    expect(d, 0x8835728fd43fb97dull);
}

TEST_F(Golden, ProjectReadingEntryPoints) {
    struct Project { int pr, orate, scan; bool pulled_down; int camera; } const projects[] = {
        {1, 5, 1, true, 1}, {1, 3, 3, false, 6}, {2, 10, 2, false, 1}, {3, 3, 1, true, 3},
        {5, 5, 1, false, 1}, {8, 9, 4, true, 1},  {31, 8, 3, false, 1}, {44, 40, 0, true, 35},
    };
    MediumRollMedium const media[] = {film_Medium,       edit_Medium,         video_Medium, cel_Medium,
                                      audio_Medium,      time_Medium,         source_30i_1001_Medium,
                                      source_25p_Medium, output_30i_Medium,   output_25i_Medium};
    Digest d;
    d.add(printed([&] {
        for (Project const& p : projects)
            for (int key = -1; key <= 1; ++key) {
                host::ProjectSettings s = host::default_project_settings();
                s.frame_rate = fr(p.pr);
                s.output_image_rate = fr(p.orate);
                s.output_scan_mode = static_cast<Kest::Image::ScanMode>(p.scan);
                s.output_pulled_down = p.pulled_down;
                s.in_camera_film_speed = fr(p.camera);
                host::set_project_settings(s);
                if (key < 0)
                    host::unset_config_int("video_in_film_pulldown");
                else
                    host::set_config_int("video_in_film_pulldown", key);
                Kest::OutputGearing const g(fr(p.orate + 1), !p.pulled_down);
                for (double x : kPositions) {
                    for (MediumRollMedium a : media)
                        for (MediumRollMedium b : media) {
                            d.add(mPosn_Xlate(x, a, b));
                            d.add(mPosn_Xlate(x, a, b, fr(p.pr + 1)));
                        }
                    d.add(mPosn_Xlate_ClockToCel(x));
                    d.add(mPosn_Xlate_CelToClock(x));
                    d.add(mPosn_Xlate_ClockToCel(x, g));
                    d.add(mPosn_Xlate_CelToClock(x, g));
                    d.add(transform_KESTtime_to_CELtime(x));
                    d.add(transform_CELtime_to_KESTtime(x));
                    d.add(static_cast<std::uint64_t>(celPosn_to_SampleNr(x)));
                }
                for (int n : {0, 1, -7, 1001, INT_MAX, INT_MIN}) d.add(sampleNr_to_CelPosn(n));
            }
    }));
    expect(d, 0xb5c93a2385b6e2adull);
}

TEST(GoldenHost, RateArithmetic) {
    Digest d;
    for (int a = -2; a <= 49; ++a) {
        d.add(Kest::getFramesPerSecond(fr(a)));
        d.add(Kest::getFrameDuration(fr(a)));
        d.add(Kest::getCelResolution(fr(a)));
        d.add(static_cast<std::uint64_t>(Kest::getNonDecimatedFrameRate(fr(a))));
        d.add(static_cast<std::uint64_t>(Kest::has1001Factor(fr(a))));
        for (int b = -2; b <= 49; ++b) d.add(Kest::getEditResolutionFrameGearing(fr(a), fr(b)));
    }
    EXPECT_EQ(d.h, 0xe547796bbc4edf05ull) << std::hex << "digest now 0x" << d.h;
}

}  // namespace
