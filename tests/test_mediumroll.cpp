#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cmath>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include <labelsbase/labelsbase.h>

namespace {

MediumRollIdent mk(int m, int g) {
    return {static_cast<MediumRollMedium>(m), static_cast<MediumRollGeneration>(g)};
}
MediumRollMedium M(int m) { return static_cast<MediumRollMedium>(m); }
Kest::FrameRate R(int r) { return static_cast<Kest::FrameRate>(r); }
Kest::Image::ScanMode S(int s) { return static_cast<Kest::Image::ScanMode>(s); }

std::string assertion(char const* expr, int line) {
    return std::string("assertion failed ") + expr + " at labelsbase/MediumRoll line " +
           std::to_string(line) + "\n";
}

}  // namespace

// ---------------------------------------------------------------------------
// Stored roll texts.

struct RollTextCase {
    char const* text;
    bool changes;   // false: the roll keeps {3, 2} and reel "OLD"
    int medium, generation;
    char const* reel;  // null: the reel is left as it was
};

TEST(MediumRollText, FillFromString) {
    RollTextCase const cases[] = {
        {"REV:1:MediumRollId:28,2:reelid:A001", true, 28, 2, "A001"},
        {"REV 1 MediumRollId 28,2 reelid A001", true, 28, 2, "A001"},
        {"  REV: 1 ::MediumRollId : 28,2 reelid:A001 ", true, 28, 2, "A001"},
        {"REV:1:MediumRollId:28,2:reelid:A001:more:tokens", true, 28, 2, "A001"},
        {"REV:1:MediumRollId:28,2", true, 28, 2, nullptr},
        {"REV:1:MediumRollId:28,2:reelid", true, 28, 2, nullptr},  // no name token
        {"REV:1:MediumRollId:28,2:reel:A001", true, 28, 2, nullptr},
        {"REV:1:MediumRollId:28,2:REELID:A001", true, 28, 2, nullptr},
        {"REV:1:MediumRollId:3", true, 3, 2, nullptr},
        {"REV:01:MediumRollId:28,2", true, 28, 2, nullptr},  // revision read as a number
        {"REV:1x:MediumRollId:28,2", true, 28, 2, nullptr},
        {"REV:1:MediumRollId:99,1:reelid:B", true, 0, 0, "B"},  // unusable id still replaces
        {"REV:1:MediumRollId:junk", true, 0, 0, nullptr},
        {"REV:2:MediumRollId:28,2:reelid:A001", false, 0, 0, nullptr},
        {"REV:0:MediumRollId:28,2", false, 0, 0, nullptr},
        {"REV:x:MediumRollId:28,2", false, 0, 0, nullptr},
        {"rev:1:MediumRollId:28,2", false, 0, 0, nullptr},
        {"REV:1:MediumRollID:28,2", false, 0, 0, nullptr},
        {"REV:1:MediumRollId", false, 0, 0, nullptr},  // too few tokens
        {"REV:1:MediumRollId:", false, 0, 0, nullptr},
        {"", false, 0, 0, nullptr},
        {": : :", false, 0, 0, nullptr},
    };
    for (RollTextCase const& c : cases) {
        SCOPED_TRACE(c.text);
        MediumRoll r(M(3), second_Generation);
        r.set_reelid(LightweightString<char>("OLD"));
        r.fill_from_string(c.text);
        if (!c.changes) {
            EXPECT_EQ(r.ident.medium, 3);
            EXPECT_EQ(r.ident.generation, 3);
            EXPECT_STREQ(r.reelid.c_str(), "OLD");
            continue;
        }
        EXPECT_EQ(r.ident.medium, c.medium);
        EXPECT_EQ(r.ident.generation, c.generation);
        EXPECT_STREQ(r.reelid.c_str(), c.reel ? c.reel : "OLD");
    }
}

TEST(MediumRollText, TextConstructor) {
    MediumRoll a("REV:1:MediumRollId:28,2:reelid:A001");
    EXPECT_EQ(a.ident.medium, 28);
    EXPECT_EQ(a.ident.generation, 2);
    EXPECT_STREQ(a.reelid.c_str(), "A001");

    MediumRoll b("REV:1:MediumRollId:28,2");
    EXPECT_EQ(b.ident.medium, 28);
    EXPECT_TRUE(b.reelid.absent());

    MediumRoll c("REV:2:MediumRollId:28,2");
    EXPECT_EQ(c.ident.medium, 0);
    EXPECT_EQ(c.ident.generation, 0);

    MediumRoll d(static_cast<char const*>(nullptr));
    EXPECT_EQ(d.ident.medium, 0);
    EXPECT_TRUE(d.reelid.absent());
}

TEST(MediumRollText, LongTextsAreReadWhole) {
    std::string const reel(5000, 'R');
    MediumRoll r(("REV:1:MediumRollId:28,2:reelid:" + reel).c_str());
    EXPECT_EQ(r.ident.medium, 28);
    EXPECT_EQ(std::string(r.reelid.c_str()), reel);
    std::string noise(10000, ':');
    MediumRoll n(noise.c_str());
    EXPECT_EQ(n.ident.medium, 0);
}

// ---------------------------------------------------------------------------
// Configuration blocks.

TEST(MediumRollConfig, FoundEntryDecidesTheRoll) {
    configb cfg;
    cfg.set("MediumRoll28,2", "REV:1:MediumRollId:28,2:reelid:A001");
    cfg.set("MediumRoll3,2", "REV:1:MediumRollId:17,4");  // key names another id
    cfg.set("MediumRoll4,3", "REV:2:MediumRollId:4,3");

    MediumRoll a(mk(28, 2), &cfg);
    EXPECT_EQ(a.ident.medium, 28);
    EXPECT_EQ(a.ident.generation, 2);
    EXPECT_STREQ(a.reelid.c_str(), "A001");

    MediumRoll b(mk(3, 2), &cfg);
    EXPECT_EQ(b.ident.medium, 17);
    EXPECT_EQ(b.ident.generation, 4);
    EXPECT_TRUE(b.reelid.absent());

    MediumRoll c(mk(4, 3), &cfg);  // found but unreadable: stays invalid
    EXPECT_EQ(c.ident.medium, 0);
}

TEST(MediumRollConfig, AbsentKeyGivesTheInvalidIdentifier) {
    configb cfg;
    cfg.set("MediumRoll28,1", "REV:1:MediumRollId:28,1");
    cfg.set("MediumRoll 28,2", "REV:1:MediumRollId:28,2");
    MediumRoll a(mk(28, 2), &cfg);
    EXPECT_EQ(a.ident.medium, 0);
    EXPECT_EQ(a.ident.generation, 0);
    EXPECT_TRUE(a.reelid.absent());
    MediumRoll b(mk(28, 2), nullptr);
    EXPECT_EQ(b.ident.medium, 0);
}

TEST(MediumRollConfig, KeysOfExtremeIdentifiers) {
    configb cfg;
    cfg.set("MediumRoll-2147483648,2147483647", "REV:1:MediumRollId:2,5");
    MediumRoll a(mk(INT_MIN, INT_MAX), &cfg);
    EXPECT_EQ(a.ident.medium, 2);
    EXPECT_EQ(a.ident.generation, 5);
}

TEST(MediumRollConfig, ValuesUpToTheBufferAndBeyond) {
    std::string const head = "REV:1:MediumRollId:28,2:reelid:";
    std::string const fits(63 - head.size(), 'N');  // 63 characters and the terminator
    configb cfg;
    cfg.set("MediumRoll28,2", (head + fits).c_str());
    MediumRoll a(mk(28, 2), &cfg);
    EXPECT_EQ(std::string(a.reelid.c_str()), fits);

    // The block keeps no more than the buffer holds; the reel name is cut.
    cfg.set("MediumRoll28,2", (head + std::string(4000, 'N')).c_str());
    MediumRoll b(mk(28, 2), &cfg);
    EXPECT_EQ(b.ident.medium, 28);
    EXPECT_EQ(std::string(b.reelid.c_str()), fits);
}

// ---------------------------------------------------------------------------
// Copies and equality.

TEST(MediumRollValue, CopyOwnsItsReelText) {
    MediumRoll a(M(28), first_Generation);
    a.set_reelid(LightweightString<char>("A001"));
    MediumRoll b(a);
    EXPECT_FALSE(b.reelid.shares_buffer_with(a.reelid));
    EXPECT_STREQ(b.reelid.c_str(), "A001");
    EXPECT_TRUE(a == b);

    MediumRoll c = a;
    c = a;  // assignment shares
    EXPECT_TRUE(c.reelid.shares_buffer_with(a.reelid));

    MediumRoll none(M(28), first_Generation);
    MediumRoll none_copy(none);
    EXPECT_FALSE(none_copy.reelid.absent());
    EXPECT_TRUE(none_copy.reelid.empty());
    EXPECT_TRUE(none == none_copy);  // no reel and an empty name are the same reel
}

TEST(MediumRollValue, EqualityTakesTheAcceptingSide) {
    MediumRoll any(mk(1, 1));
    MediumRoll out24(mk(28, 2));
    EXPECT_TRUE(any == out24);
    EXPECT_FALSE(out24 == any);
    EXPECT_TRUE(out24 != any);

    MediumRoll r29(mk(29, 1)), r28(mk(28, 4));
    EXPECT_TRUE(r29 == r28);
    EXPECT_FALSE(r28 == r29);

    MediumRoll x(mk(28, 2)), y(mk(28, 2));
    x.set_reelid(LightweightString<char>("A001"));
    y.set_reelid(LightweightString<char>("A001"));  // separate buffers, same name
    EXPECT_TRUE(x == y);
    y.set_reelid(LightweightString<char>("A002"));
    EXPECT_FALSE(x == y);
    y.set_reelid(LightweightString<char>("a001"));
    EXPECT_FALSE(x == y);

    EXPECT_FALSE(invalid_MediumRoll() == invalid_MediumRoll());  // {0, 0} fits nothing
}

TEST(MediumRollValue, InvalidRoll) {
    MediumRoll const& r = invalid_MediumRoll();
    EXPECT_EQ(&r, &invalid_MediumRoll());
    EXPECT_EQ(r.ident.medium, 0);
    EXPECT_EQ(r.ident.generation, 0);
    EXPECT_TRUE(r.reelid.absent());
}

// ---------------------------------------------------------------------------
// Medium mapping, swept over every rate and scan.

namespace {

// Source progressive, source interlaced, output progressive, output interlaced.
std::map<int, std::array<int, 4>> const& rate_rows() {
    static std::map<int, std::array<int, 4>> const rows = [] {
        std::map<int, std::array<int, 4>> r = {
            {1, {15, 17, 28, 30}}, {2, {16, 18, 29, 31}}, {3, {19, 20, 32, 33}},
            {4, {21, 23, 34, 36}}, {5, {22, 24, 35, 37}}, {6, {41, 41, 43, 43}},
            {7, {42, 42, 44, 44}}, {8, {25, 25, 38, 38}}, {9, {26, 26, 39, 39}},
            {10, {27, 27, 40, 40}},
        };
        for (int k = 35; k <= 47; ++k) r[k] = {k - 35 + 45, k - 35 + 45, k - 35 + 58, k - 35 + 58};
        return r;
    }();
    return rows;
}

std::vector<int> swept_rates() {
    std::vector<int> v;
    for (int r = -3; r <= 60; ++r) v.push_back(r);
    v.push_back(INT_MIN);
    v.push_back(INT_MAX);
    return v;
}

bool progressive_scan(int s) { return s == 3 || s == 4; }

}  // namespace

TEST(MediumMapping, InputDetails) {
    for (int r : swept_rates()) {
        int const base = Kest::getNonDecimatedFrameRate(R(r));
        auto const it = rate_rows().find(base);
        for (int s = -1; s <= 6; ++s) {
            testing::internal::CaptureStdout();
            int const got = getMediumRollfromInputDetails(S(s), R(r));
            std::string const out = testing::internal::GetCapturedStdout();
            if (it == rate_rows().end()) {
                EXPECT_EQ(got, 0) << r;
                EXPECT_EQ(out, assertion("0", 224)) << r;
            } else {
                EXPECT_EQ(got, it->second[progressive_scan(s) ? 0 : 1]) << r << " scan " << s;
                EXPECT_EQ(out, "");
            }
        }
    }
    // Decimated proxies come in as the full rate they were taken from.
    EXPECT_EQ(getMediumRollfromInputDetails(S(3), R(21)), 15);
    EXPECT_EQ(getMediumRollfromInputDetails(S(2), R(21)), 17);
    EXPECT_EQ(getMediumRollfromInputDetails(S(1), R(25)), 24);  // 15/1.001 from 29.97
    EXPECT_EQ(getMediumRollfromInputDetails(S(1), R(30)), 27);  // 30/1.001 from 59.94
}

TEST(MediumMapping, OutputDetailsAndFormat) {
    for (int r : swept_rates()) {
        auto const it = rate_rows().find(r);
        for (int s = -1; s <= 6; ++s) {
            testing::internal::CaptureStdout();
            int const got = getMediumRollfromOutputDetails(S(s), R(r));
            OutputFormat::Details const d(S(s), R(r));
            int const from_format = getMediumRollfromOutputFormat(d);
            std::string const out = testing::internal::GetCapturedStdout();
            EXPECT_EQ(got, from_format);
            if (it == rate_rows().end()) {
                EXPECT_EQ(got, 0) << r;
                EXPECT_EQ(out, assertion("0", 361) + assertion("0", 361)) << r;
            } else {
                EXPECT_EQ(got, it->second[progressive_scan(s) ? 2 : 3]) << r << " scan " << s;
                EXPECT_EQ(out, "");
            }
        }
    }
    // No decimation on the output side: a 12 fps proxy rate is not 24 fps output.
    testing::internal::CaptureStdout();
    EXPECT_EQ(getMediumRollfromOutputDetails(S(3), R(21)), 0);
    testing::internal::GetCapturedStdout();
}

TEST(MediumMapping, OutputAndRepresentativeSourceMedia) {
    for (int r : swept_rates()) {
        auto const it = rate_rows().find(r);
        testing::internal::CaptureStdout();
        int const out_m = getOutputMediumfromFrameRate(R(r));
        std::string const out1 = testing::internal::GetCapturedStdout();
        testing::internal::CaptureStdout();
        int const src_m = getRepresentativeSourceMediumfromFrameRate(R(r));
        std::string const out2 = testing::internal::GetCapturedStdout();
        if (it == rate_rows().end()) {
            EXPECT_EQ(out_m, 28) << r;
            EXPECT_EQ(src_m, 15) << r;
            EXPECT_EQ(out1, assertion("false", 520));
            EXPECT_EQ(out2, assertion("false", 577));
        } else {
            EXPECT_EQ(out_m, it->second[2]) << r;
            EXPECT_EQ(src_m, it->second[0]) << r;
            EXPECT_EQ(out1 + out2, "");
            // Each medium a rate maps to maps back to that rate.
            for (int m : it->second) EXPECT_EQ(getFrameRatefromMedium(M(m)), r) << m;
        }
    }
}

TEST(MediumMapping, WorkedExamples) {
    EXPECT_EQ(getMediumRollfromInputDetails(S(3), R(1)), 15);
    EXPECT_EQ(getMediumRollfromInputDetails(S(2), R(1)), 17);
    EXPECT_EQ(getMediumRollfromOutputDetails(S(4), R(5)), 35);
    for (int s = 0; s <= 4; ++s) EXPECT_EQ(getMediumRollfromOutputDetails(S(s), R(6)), 43);

    testing::internal::CaptureStdout();
    EXPECT_EQ(getMediumRollfromInputDetails(S(3), R(20)), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "assertion failed 0 at labelsbase/MediumRoll line 224\n");
    testing::internal::CaptureStdout();
    EXPECT_EQ(getMediumRollfromOutputDetails(S(3), R(20)), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "assertion failed 0 at labelsbase/MediumRoll line 361\n");

    EXPECT_DOUBLE_EQ(getSampleDurationFromMedium(M(20)), 0.02);
    EXPECT_DOUBLE_EQ(getSampleDurationFromMedium(M(19)), 0.04);
    EXPECT_EQ(getFrameRatefromMedium(M(13)), 0);
    EXPECT_EQ(getFrameRatefromMedium(M(14)), 0);
    EXPECT_EQ(getDefaultLabelTypeForMedium(M(47)), tc_12_label_t);
    testing::internal::CaptureStdout();
    EXPECT_EQ(getDefaultLabelTypeForMedium(M(4)), prefix_label_t);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "assertion failed false at labelsbase/MediumRoll line 696\n");
    EXPECT_EQ(getDefaultEditMediumForProject(R(5)), 23);
    EXPECT_EQ(getDefaultEditMediumForProject(R(10)), 26);
}

TEST(MediumMapping, OutputFrameRateFromDouble) {
    double const nan = std::numeric_limits<double>::quiet_NaN();
    double const inf = std::numeric_limits<double>::infinity();
    struct Case {
        double fps;
        int medium;
    } const cases[] = {
        {23.976, 29}, {24.0, 28},   {29.97, 35},   {59.94, 40},   {23.99, 28},   {48.0, 28},
        {23.0, 28},   {23.0001, 29}, {23.9899, 29}, {23.9901, 28}, {24.0999, 28}, {24.1, 28},
        {24.9, 28},   {24.9001, 32}, {25.0, 32},    {25.0999, 32}, {25.1, 28},    {29.0, 28},
        {29.5, 35},   {29.99, 28},   {29.9901, 34}, {30.0, 34},    {30.1, 28},    {49.9, 28},
        {50.0, 38},   {50.1, 28},    {59.8, 28},    {59.9, 40},    {59.99, 28},   {60.0, 39},
        {60.0999, 39}, {60.1, 28},   {0.0, 28},     {-24.0, 28},   {120.0, 28},   {nan, 28},
        {inf, 28},    {-inf, 28},
    };
    for (Case const& c : cases)
        EXPECT_EQ(getMediumRollfromOutputFramerateDouble(c.fps), c.medium) << c.fps;
}

TEST(MediumMapping, FrameRateOfEveryMedium) {
    std::map<int, int> want;
    auto set = [&](std::initializer_list<int> media, int rate) {
        for (int m : media) want[m] = rate;
    };
    set({15, 17, 28, 30}, 1);
    set({16, 18, 29, 31}, 2);
    set({19, 20, 32, 33}, 3);
    set({21, 23, 34, 36}, 4);
    set({22, 24, 35, 37}, 5);
    set({25, 38}, 8);
    set({26, 39}, 9);
    set({27, 40}, 10);
    set({41, 43}, 6);
    set({42, 44}, 7);
    for (int k = 0; k <= 12; ++k) want[45 + k] = want[58 + k] = 35 + k;
    for (int m = -5; m <= 80; ++m) {
        auto const it = want.find(m);
        testing::internal::CaptureStdout();
        EXPECT_EQ(getFrameRatefromMedium(M(m)), it == want.end() ? 0 : it->second) << m;
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    }
    EXPECT_EQ(getFrameRatefromMedium(M(INT_MIN)), 0);
    EXPECT_EQ(getFrameRatefromMedium(M(INT_MAX)), 0);
}

TEST(MediumMapping, ScanPropertiesAndSampleDuration) {
    std::vector<int> const interlaced = {17, 18, 20, 23, 24, 30, 31, 33, 36, 37};
    std::vector<int> const double_rate = {25, 26, 27, 38, 39, 40};
    auto in = [](std::vector<int> const& v, int m) {
        for (int x : v)
            if (x == m) return true;
        return false;
    };
    for (int m = -5; m <= 80; ++m) {
        bool const progressive = m >= 15 && m <= 70 && !in(interlaced, m);
        EXPECT_EQ(mediumRollIsFrameProgressive(M(m)), progressive) << m;
        EXPECT_EQ(mediumIsDoubleRateProgressive(M(m)), in(double_rate, m)) << m;
        double const frame = Kest::getFrameDuration(getFrameRatefromMedium(M(m)));
        EXPECT_DOUBLE_EQ(getSampleDurationFromMedium(M(m)), progressive ? frame : frame / 2) << m;
    }
    EXPECT_FALSE(mediumRollIsFrameProgressive(M(INT_MIN)));
    EXPECT_FALSE(mediumIsDoubleRateProgressive(M(INT_MAX)));
    EXPECT_DOUBLE_EQ(getSampleDurationFromMedium(M(17)), 1.0 / 48);
    EXPECT_DOUBLE_EQ(getSampleDurationFromMedium(M(25)), 1.0 / 50);
    EXPECT_DOUBLE_EQ(getSampleDurationFromMedium(M(40)), 1.001 / 60);
}

TEST(MediumMapping, DefaultLabelTypeOfEveryMedium) {
    std::map<int, label_t> want;
    auto set = [&](std::initializer_list<int> media, label_t t) {
        for (int m : media) want[m] = t;
    };
    set({15, 16, 17, 18, 28, 29, 30, 31}, tc_24_label_t);
    set({19, 20, 32, 33}, pal_label_t);
    set({21, 22, 23, 24, 34, 35, 36, 37}, ntsc_label_t);
    set({25, 38}, tc_50_label_t);
    set({26, 27, 39, 40}, tc_60_label_t);
    set({41, 42, 43, 44}, tc_48_label_t);
    set({45, 46, 47, 58, 59, 60}, tc_12_label_t);
    set({48, 49, 61, 62}, tc_15_label_t);
    set({50, 63}, tc_20_label_t);
    set({51, 64}, tc_80_label_t);
    set({52, 65}, tc_90_label_t);
    set({53, 66}, tc_100_label_t);
    set({54, 55, 67, 68}, tc_120_label_t);
    set({56, 57, 69, 70}, tc_240_label_t);
    std::vector<int> media;
    for (int m = -3; m <= 75; ++m) media.push_back(m);
    media.push_back(INT_MIN);
    media.push_back(INT_MAX);
    for (int m : media) {
        auto const it = want.find(m);
        testing::internal::CaptureStdout();
        label_t const a = getDefaultLabelTypeForMedium(M(m));
        label_t const b = getLabelTypeForMediumFrameRate(M(m));
        std::string const out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(a, b);
        if (it == want.end()) {
            EXPECT_EQ(a, prefix_label_t) << m;
            EXPECT_EQ(out, assertion("false", 696) + assertion("false", 696)) << m;
        } else {
            EXPECT_EQ(a, it->second) << m;
            EXPECT_EQ(out, "") << m;
        }
    }
}

TEST(MediumMapping, DefaultEditAndPlayoutMedia) {
    std::map<int, std::pair<int, int>> const want = {
        {3, {20, 33}}, {4, {23, 37}}, {5, {23, 37}}, {6, {17, 30}}, {7, {17, 30}},
        {8, {25, 33}}, {9, {26, 37}}, {10, {26, 37}},
    };
    host::ProjectSettings const saved = host::project_settings();
    for (int r : swept_rates()) {
        auto const it = want.find(r);
        std::pair<int, int> const e = it == want.end() ? std::make_pair(17, 30) : it->second;
        host::ProjectSettings p = saved;
        p.frame_rate = R(r);
        host::set_project_settings(p);
        testing::internal::CaptureStdout();
        EXPECT_EQ(getDefaultEditMediumForProject(R(r)), e.first) << r;
        EXPECT_EQ(getDefaultEditMediumForProject(), e.first) << r;
        EXPECT_EQ(getDefaultEditPlayoutMediumForProject(), e.second) << r;
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    }
    host::set_project_settings(saved);
    EXPECT_EQ(getDefaultEditPlayoutMediumForProject(), 30);  // 24 fps default project
}
