#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include <host/host.h>

namespace {

TEST(HostRates, DurationIsExactlyOneOverFps) {
    for (int r = -2; r <= 50; ++r) {
        auto const fr = static_cast<Kest::FrameRate>(r);
        double const fps = Kest::getFramesPerSecond(fr);
        ASSERT_GT(fps, 0.0) << r;
        EXPECT_EQ(Kest::getFrameDuration(fr), 1.0 / fps) << r;
    }
}

TEST(HostRates, NamedRatesAnd1001Quotients) {
    struct Row {
        int rate;
        double fps;
        bool is1001;
    };
    Row const rows[] = {{1, 24, false},        {2, 24 / 1.001, true},    {3, 25, false},
                        {4, 30, false},        {5, 30 / 1.001, true},    {6, 48, false},
                        {7, 48 / 1.001, true}, {8, 50, false},           {9, 60, false},
                        {10, 60 / 1.001, true}, {35, 12, false},         {36, 12 / 1.001, true},
                        {37, 12.5, false},     {38, 15, false},          {39, 15 / 1.001, true},
                        {40, 20, false},       {41, 80, false},          {42, 90, false},
                        {43, 100, false},      {44, 120, false},         {45, 120 / 1.001, true},
                        {46, 240, false},      {47, 240 / 1.001, true}};
    for (Row const& r : rows) {
        auto const fr = static_cast<Kest::FrameRate>(r.rate);
        EXPECT_EQ(Kest::getFramesPerSecond(fr), r.fps) << r.rate;
        EXPECT_EQ(Kest::has1001Factor(fr), r.is1001) << r.rate;
    }
    EXPECT_FALSE(Kest::has1001Factor(static_cast<Kest::FrameRate>(0)));
    EXPECT_FALSE(Kest::has1001Factor(static_cast<Kest::FrameRate>(-5)));
}

TEST(HostRates, GearingAgreesWithCelResolution) {
    for (int a = 0; a <= 47; ++a)
        for (int b = 0; b <= 47; ++b) {
            auto const ra = static_cast<Kest::FrameRate>(a), rb = static_cast<Kest::FrameRate>(b);
            EXPECT_DOUBLE_EQ(Kest::getEditResolutionFrameGearing(ra, rb),
                             Kest::getCelResolution(ra) / Kest::getCelResolution(rb));
        }
    // Frame for frame between the base rates; doubling to the double rates.
    EXPECT_EQ(Kest::getEditResolutionFrameGearing(Kest::FrameRate_24, Kest::FrameRate_25), 1.0);
    EXPECT_EQ(Kest::getEditResolutionFrameGearing(Kest::FrameRate_24, Kest::FrameRate_48), 2.0);
    EXPECT_EQ(Kest::getEditResolutionFrameGearing(Kest::FrameRate_50, Kest::FrameRate_25), 0.5);
    EXPECT_EQ(Kest::getCelResolution(Kest::FrameRate_29_97), 1.0);
}

TEST(HostRates, DecimatedRatesAndTheirSources) {
    for (int r = 21; r <= 30; ++r) {
        auto const fr = static_cast<Kest::FrameRate>(r);
        auto const src = Kest::getNonDecimatedFrameRate(fr);
        EXPECT_EQ(static_cast<int>(src), r - 20);
        EXPECT_DOUBLE_EQ(Kest::getFramesPerSecond(src), 2 * Kest::getFramesPerSecond(fr));
    }
    for (int r : {0, 1, 5, 20, 31, 47, 60, -1}) {
        auto const fr = static_cast<Kest::FrameRate>(r);
        EXPECT_EQ(Kest::getNonDecimatedFrameRate(fr), fr);
    }
}

TEST(HostProject, SettingsAndDerivedQueries) {
    host::ProjectSettings p = host::default_project_settings();
    p.frame_rate = Kest::FrameRate_25;
    p.output_image_rate = Kest::FrameRate_50;
    p.output_scan_mode = Kest::Image::ScanMode_progressive;
    p.output_pulled_down = false;
    host::set_project_settings(p);
    EXPECT_EQ(Kest::CurrentProject::getFrameRate(0), Kest::FrameRate_25);
    OutputFormat::Details d = Kest::CurrentProject::getOutputImageFormat(0);
    EXPECT_EQ(d.getFrameRate(), Kest::FrameRate_50);
    EXPECT_EQ(d.getScanMode(), Kest::Image::ScanMode_progressive);
    Kest::OutputGearing g(Kest::OutputGearing::FromProject);
    EXPECT_EQ(g.getFrameRate(), Kest::FrameRate_50);
    EXPECT_FALSE(g.getUsePulldown());
    EXPECT_EQ(Kest::CurrentProject::getCelResolution(), Kest::getCelResolution(Kest::FrameRate_25));
    host::set_project_settings(host::default_project_settings());
    EXPECT_EQ(Kest::CurrentProject::getFrameRate(0), Kest::FrameRate_24);
}

TEST(HostConfig, KeysSetUnsetReset) {
    EXPECT_EQ(config_int("video_in_film_pulldown", 7), 7);
    host::set_config_int("video_in_film_pulldown", 0);
    EXPECT_EQ(config_int("video_in_film_pulldown", 7), 0);
    host::set_config_int("video_in_film_pulldown", 2);
    EXPECT_EQ(config_int("video_in_film_pulldown", 7), 2);
    host::unset_config_int("video_in_film_pulldown");
    EXPECT_EQ(config_int("video_in_film_pulldown", 7), 7);
    host::set_config_int("a", 1);
    host::set_config_int("b", 2);
    host::reset_config();
    EXPECT_EQ(config_int("a", -1), -1);
    EXPECT_EQ(config_int("b", -1), -1);
    EXPECT_EQ(config_int(nullptr, 3), 3);
}

TEST(HostConfig, BlockValuesAreBoundedToTheirBuffer) {
    configb c;
    c.set("MediumRoll28,2", "REV:1:MediumRollId:28,2");
    char out[64];
    EXPECT_EQ(c.in(LightweightString<char>("MediumRoll28,2"), out), 0);
    EXPECT_STREQ(out, "REV:1:MediumRollId:28,2");
    EXPECT_NE(c.in(LightweightString<char>("MediumRoll28,3"), out), 0);
    std::string const longv(500, 'x');
    c.set("long", longv.c_str());
    char guarded[64 + 8];
    std::memset(guarded, '#', sizeof guarded);
    EXPECT_EQ(c.in(LightweightString<char>("long"), guarded), 0);
    EXPECT_EQ(std::strlen(guarded), configb::max_value_length);
    for (std::size_t i = 64; i < sizeof guarded; ++i) EXPECT_EQ(guarded[i], '#');
    for (int i = 0; i < 40; ++i) c.set(("k" + std::to_string(i)).c_str(), std::to_string(i).c_str());
    EXPECT_EQ(c.in(LightweightString<char>("k39"), out), 0);
    EXPECT_STREQ(out, "39");
}

TEST(HostText, TokeniserSkipsRunsOfSeparators) {
    tokeniser t("REV:1: MediumRollId:28,2::reelid A001", ": ");
    ASSERT_EQ(t.num_tokens(), 6);
    char const* want[] = {"REV", "1", "MediumRollId", "28,2", "reelid", "A001"};
    for (int i = 0; i < 6; ++i) EXPECT_STREQ(t.token(i), want[i]);
    EXPECT_EQ(t.token(6), nullptr);
    EXPECT_EQ(t.token(-1), nullptr);
    EXPECT_STREQ(t.next(), "REV");
    t.set_index(5);
    EXPECT_STREQ(t.next(), "A001");
    EXPECT_EQ(t.next(), nullptr);
    EXPECT_EQ(t.next(), nullptr);
}

TEST(HostText, TokeniserLongTextsAndEdgeInputs) {
    std::string text;
    for (int i = 0; i < 300; ++i) text += "tok" + std::to_string(i) + " ";
    tokeniser t(text.c_str(), " ");
    ASSERT_EQ(t.num_tokens(), 300);
    EXPECT_STREQ(t.token(299), "tok299");
    tokeniser e("", " ");
    EXPECT_EQ(e.num_tokens(), 0);
    tokeniser n(nullptr, " ");
    EXPECT_EQ(n.num_tokens(), 0);
    tokeniser s("    ", " ");
    EXPECT_EQ(s.num_tokens(), 0);
}

TEST(HostText, TokeniserShortTextsDoNotAllocate) {
    host::AllocationStats const before = host::allocation_stats();
    { tokeniser t("LABEL_REV:1 pal_label 01:00:00.00 100 0.0400000000 1", " "); }
    EXPECT_EQ(host::allocation_stats().allocations, before.allocations);
}

TEST(HostText, StringsShareUntilWritten) {
    LightweightString<char> a("A001");
    LightweightString<char> b = a;
    EXPECT_TRUE(a.shares_buffer_with(b));
    b.unshare()[0] = 'B';
    EXPECT_FALSE(a.shares_buffer_with(b));
    EXPECT_STREQ(a.c_str(), "A001");
    EXPECT_STREQ(b.c_str(), "B001");
    LightweightString<char> absent;
    EXPECT_TRUE(absent.empty());
    EXPECT_STREQ(absent.c_str(), "");
    EXPECT_TRUE(absent.shares_buffer_with(LightweightString<char>()));
    EXPECT_EQ(LightweightString<char>("x"), LightweightString<char>("x"));
}

// Keeps the optimiser from eliding a new/delete pair.
void* volatile g_sink;

TEST(HostMemory, EveryAllocationGoesThroughTheHostAllocator) {
    host::AllocationStats const a = host::allocation_stats();
    int* p = new int(5);
    g_sink = p;
    host::AllocationStats const b = host::allocation_stats();
    EXPECT_EQ(b.allocations, a.allocations + 1);
    EXPECT_EQ(b.live_bytes, a.live_bytes + sizeof(int));
    delete p;
    host::AllocationStats const c = host::allocation_stats();
    EXPECT_EQ(c.frees, b.frees + 1);
    EXPECT_EQ(c.live_bytes, a.live_bytes);
    char* arr = new char[100];
    g_sink = arr;
    EXPECT_EQ(host::allocation_stats().allocations, a.allocations + 2);
    delete[] arr;
    void* q = ::operator new(static_cast<std::size_t>(-1) / 2, std::nothrow);
    EXPECT_EQ(q, nullptr);  // the nothrow form reports failure as null
    std::string s(100, 'x');
    EXPECT_GT(host::allocation_stats().allocations, a.allocations + 2);
}

TEST(HostVersion, FourNumbersLastTwoZero) {
    std::string const v = labelsBaseDllVersionStr();
    int a, b, c, d;
    char tail;
    ASSERT_EQ(std::sscanf(v.c_str(), "%d.%d.%d.%d%c", &a, &b, &c, &d, &tail), 4);
    EXPECT_EQ(c, 0);
    EXPECT_EQ(d, 0);
}

}  // namespace
