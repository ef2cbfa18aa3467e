// Medium rolls: stored texts, configuration blocks, copies and equality, and
// the mapping between media, rates, scans and label types. Medium-roll
// identifiers: parsing against sscanf, text forms, and which identifiers
// accept which.
#include <algorithm>
#include <array>
#include <climits>
#include <limits>
#include <map>
#include <set>
#include <vector>

#include "test_support.h"

namespace {

Kest::Image::ScanMode scan(int s) { return static_cast<Kest::Image::ScanMode>(s); }

// The roll's identifier and reel name; a null name wants no reel at all.
testing::AssertionResult Same(MediumRoll const& r, int m, int g, char const* reel) {
    if (r.ident.medium == m && r.ident.generation == g &&
        (reel ? std::string(r.reelid.c_str()) == reel : r.reelid.absent()))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "{" << r.ident.medium << ", " << r.ident.generation << "} reel '"
                                       << (r.reelid.absent() ? "(none)" : std::string(r.reelid.c_str()).substr(0, 40))
                                       << "'";
}

// Filling a roll {3, 2} named "OLD", and building a new roll, from each text.
TEST(MediumRollText, FillFromStringAndBuild) {
    std::string const reel(5000, 'R'), with_long_reel = "REV:1:MediumRollId:28,2:reelid:" + reel, colons(10000, ':');
    // changes false: the roll keeps {3, 2} and "OLD", a new roll is invalid; a null reel: left as it was
    struct {
        char const* text;
        bool changes;
        int medium, generation;
        char const* reel;
    } const cases[] = {
        {"REV:1:MediumRollId:28,2:reelid:A001", true, 28, 2, "A001"},
        {"REV:1:MediumRollId:3", true, 3, 2, nullptr},
        {"  REV: 1 ::MediumRollId : 28,2 reelid:A001:more ", true, 28, 2, "A001"},
        {"REV:1:MediumRollId:28,2", true, 28, 2, nullptr},
        {"REV:1:MediumRollId:28,2:REELID:A001", true, 28, 2, nullptr},
        {"REV:1:MediumRollId:28,2:reelid", true, 28, 2, nullptr},  // no name token
        {"REV:01:MediumRollId:28,2", true, 28, 2, nullptr},        // the revision read as a number
        {"REV:1:MediumRollId:99,1:reelid:B", true, 0, 0, "B"},     // an unusable id still replaces
        {with_long_reel.c_str(), true, 28, 2, reel.c_str()},
        {"REV:2:MediumRollId:28,2:reelid:A001", false, 0, 0, nullptr},
        {"REV:x:MediumRollId:28,2", false, 0, 0, nullptr},
        {"rev:1:MediumRollId:28,2", false, 0, 0, nullptr},
        {"REV:1:MediumRollID:28,2", false, 0, 0, nullptr},
        {"REV:1:MediumRollId:", false, 0, 0, nullptr},  // 3 tokens
        {"", false, 0, 0, nullptr},
        {colons.c_str(), false, 0, 0, nullptr},
        {nullptr, false, 0, 0, nullptr},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.text ? std::string(c.text).substr(0, 60) : "null");
        MediumRoll r(med(3), second_Generation), built(c.text);
        r.set_reelid(LightweightString<char>("OLD"));
        r.fill_from_string(c.text);
        EXPECT_TRUE(Same(r, c.changes ? c.medium : 3, c.changes ? c.generation : 3, c.reel ? c.reel : "OLD"));
        EXPECT_TRUE(Same(built, c.medium, c.generation, c.reel ? c.reel : nullptr));
    }
}

TEST(MediumRollConfig, TheEntryOfTheKeyDecidesTheRoll) {
    configb cfg;
    cfg.set("MediumRoll28,2", "REV:1:MediumRollId:28,2:reelid:A001");
    cfg.set("MediumRoll3,2", "REV:1:MediumRollId:17,4");                    // the key names another id
    cfg.set("MediumRoll4,3", "REV:2:MediumRollId:4,3");                     // found but unreadable
    cfg.set("MediumRoll 28,1", "REV:1:MediumRollId:28,1");                  // not the key of {28, 1}
    cfg.set("MediumRoll-2147483648,2147483647", "REV:1:MediumRollId:2,5");  // the widest key
    struct {
        int m, g, medium, generation;
        char const* reel;
    } const cases[] = {{28, 2, 28, 2, "A001"},
                       {3, 2, 17, 4, nullptr},
                       {4, 3, 0, 0, nullptr},
                       {28, 1, 0, 0, nullptr},
                       {INT_MIN, INT_MAX, 2, 5, nullptr}};
    for (auto const& c : cases)
        EXPECT_TRUE(Same(MediumRoll(roll(c.m, c.g), &cfg), c.medium, c.generation, c.reel)) << c.m;
    EXPECT_TRUE(Same(MediumRoll(roll(28, 2), nullptr), 0, 0, nullptr));
    // Values fill the 64-byte buffer at most: the reel name is cut there.
    std::string const head = "REV:1:MediumRollId:28,2:reelid:", fits(63 - head.size(), 'N');
    for (std::string const& value : {head + fits, head + std::string(4000, 'N')}) {
        cfg.set("MediumRoll28,2", value.c_str());
        EXPECT_TRUE(Same(MediumRoll(roll(28, 2), &cfg), 28, 2, fits.c_str()));
    }
}

TEST(MediumRollValue, CopiesAndEquality) {
    MediumRoll a(med(28), first_Generation);
    a.set_reelid(LightweightString<char>("A001"));
    MediumRoll b(a);
    EXPECT_FALSE(b.reelid.shares_buffer_with(a.reelid));  // a copy owns its reel text
    EXPECT_TRUE(a == b);                                  // reel ids compare by their characters
    MediumRoll none(med(28), first_Generation);
    EXPECT_TRUE(none == MediumRoll(none));  // no reel and an empty name are the same reel
    // The left side accepts the right; reels must match too. {0, 0} fits nothing.
    struct {
        int m1, g1;
        char const* reel1;
        int m2, g2;
        char const* reel2;
        bool equal;
    } const cases[] = {
        {28, 2, nullptr, 28, 2, "a001", false}, {28, 2, "a001", 28, 2, "a001", true},
        {1, 1, nullptr, 28, 2, nullptr, true},  {28, 2, nullptr, 1, 1, nullptr, false},
        {29, 1, nullptr, 28, 4, nullptr, true}, {0, 0, nullptr, 0, 0, nullptr, false},
    };
    for (auto const& c : cases) {
        MediumRoll x(roll(c.m1, c.g1)), y(roll(c.m2, c.g2));
        if (c.reel1) x.set_reelid(LightweightString<char>(c.reel1));
        if (c.reel2) y.set_reelid(LightweightString<char>(c.reel2));
        EXPECT_EQ(x == y, c.equal) << c.m1 << "," << c.g1 << " " << c.m2 << "," << c.g2;
    }
    EXPECT_FALSE(invalid_MediumRoll() == invalid_MediumRoll());
    EXPECT_TRUE(invalid_MediumRoll().reelid.absent());
}

// Source progressive, source interlaced, output progressive, output
// interlaced medium of each rate.
std::map<int, std::array<int, 4>> const& rate_rows() {
    static std::map<int, std::array<int, 4>> const rows = [] {
        std::map<int, std::array<int, 4>> r = {
            {1, {15, 17, 28, 30}}, {2, {16, 18, 29, 31}},  {3, {19, 20, 32, 33}}, {4, {21, 23, 34, 36}},
            {5, {22, 24, 35, 37}}, {6, {41, 41, 43, 43}},  {7, {42, 42, 44, 44}}, {8, {25, 25, 38, 38}},
            {9, {26, 26, 39, 39}}, {10, {27, 27, 40, 40}},
        };
        for (int k = 35; k <= 47; ++k) r[k] = {k + 10, k + 10, k + 23, k + 23};
        return r;
    }();
    return rows;
}

std::vector<int> swept_rates() {
    std::vector<int> v = {INT_MIN, INT_MAX};
    for (int r = -3; r <= 60; ++r) v.push_back(r);
    return v;
}

// Every rate and scan: the medium of the row, or 0 and the assertion line;
// each medium of a row maps back to the row's rate and no other does.
TEST(MediumMapping, RatesAndScansBothWays) {
    for (int r : swept_rates()) {
        auto const in =
            rate_rows().find(Kest::getNonDecimatedFrameRate(fr(r)));  // proxies come in at their source rate
        auto const out = rate_rows().find(r);
        for (int s = -1; s <= 6; ++s) {
            int const progressive = s == 3 || s == 4 ? 0 : 1;
            int got = 0;
            EXPECT_EQ(printed([&] { got = getMediumRollfromInputDetails(scan(s), fr(r)); }),
                      in == rate_rows().end() ? assertion("0", "MediumRoll", 224) : "")
                << r;
            EXPECT_EQ(got, in == rate_rows().end() ? 0 : in->second[progressive]) << r << " scan " << s;
            EXPECT_EQ(printed([&] { got = getMediumRollfromOutputDetails(scan(s), fr(r)); }),
                      out == rate_rows().end() ? assertion("0", "MediumRoll", 361) : "")
                << r;
            EXPECT_EQ(got, out == rate_rows().end() ? 0 : out->second[2 + progressive]) << r << " scan " << s;
            printed([&] { EXPECT_EQ(getMediumRollfromOutputFormat(OutputFormat::Details(scan(s), fr(r))), got); });
        }
        int out_m = 0, src_m = 0;
        EXPECT_EQ(printed([&] { out_m = getOutputMediumfromFrameRate(fr(r)); }),
                  out == rate_rows().end() ? assertion("false", "MediumRoll", 520) : "");
        EXPECT_EQ(printed([&] { src_m = getRepresentativeSourceMediumfromFrameRate(fr(r)); }),
                  out == rate_rows().end() ? assertion("false", "MediumRoll", 577) : "");
        EXPECT_EQ(out_m, out == rate_rows().end() ? 28 : out->second[2]) << r;
        EXPECT_EQ(src_m, out == rate_rows().end() ? 15 : out->second[0]) << r;
    }
    std::map<int, int> rate_of;
    for (auto const& row : rate_rows())
        for (int m : row.second) rate_of[m] = row.first;
    for (int m : {-5, 0, 1, 2, 3, 4, 13, 14, 71, 80, INT_MIN, INT_MAX}) EXPECT_EQ(rate_of.count(m), 0u);
    for (int m = -5; m <= 80; ++m) EXPECT_EQ(getFrameRatefromMedium(med(m)), rate_of.count(m) ? rate_of[m] : 0) << m;
    EXPECT_EQ(getMediumRollfromInputDetails(scan(1), fr(25)), 24);  // 15/1.001 from 29.97
}

// Sample durations follow the scan; default label types follow the
// medium's rate, but 48 fps media take 48 fps timecode.
TEST(MediumMapping, ScansDurationsAndLabelTypes) {
    std::vector<int> const interlaced = {17, 18, 20, 23, 24, 30, 31, 33, 36, 37},
                           double_rate = {25, 26, 27, 38, 39, 40};
    auto in = [](std::vector<int> const& v, int m) { return std::find(v.begin(), v.end(), m) != v.end(); };
    for (int m = -5; m <= 80; ++m) {
        bool const progressive = m >= 15 && m <= 70 && !in(interlaced, m);
        EXPECT_EQ(mediumRollIsFrameProgressive(med(m)), progressive) << m;
        EXPECT_EQ(mediumIsDoubleRateProgressive(med(m)), in(double_rate, m)) << m;
        int const rate = getFrameRatefromMedium(med(m));
        double const frame = Kest::getFrameDuration(fr(rate));
        EXPECT_DOUBLE_EQ(getSampleDurationFromMedium(med(m)), progressive ? frame : frame / 2) << m;
        label_t a = prefix_label_t, b = prefix_label_t;
        std::string const log = printed([&] {
            a = getDefaultLabelTypeForMedium(med(m));
            b = getLabelTypeForMediumFrameRate(med(m));
        });
        EXPECT_EQ(a, b) << m;
        if (rate == 0) {
            EXPECT_EQ(a, prefix_label_t) << m;
            EXPECT_EQ(log, assertion("false", "MediumRoll", 696) + assertion("false", "MediumRoll", 696)) << m;
        } else {
            EXPECT_EQ(a, rate == 6 || rate == 7 ? tc_48_label_t : getDefaultLabelTypeforFrameRate(fr(rate))) << m;
        }
    }
    EXPECT_DOUBLE_EQ(getSampleDurationFromMedium(med(20)), 0.02);
    EXPECT_EQ(getDefaultLabelTypeForMedium(med(47)), tc_12_label_t);
}

TEST(MediumMapping, OutputFrameRateFromDouble) {
    double const nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    struct {
        double fps;
        int medium;
    } const cases[] = {
        {23.976, 29},  {24.0, 28},    {29.97, 35},   {59.94, 40},   {23.99, 28}, {48.0, 28},
        {23.0, 28},    {23.0001, 29}, {23.9899, 29}, {23.9901, 28}, {24.9, 28},  {24.9001, 32},
        {25.0999, 32}, {25.1, 28},    {29.9901, 34}, {30.1, 28},    {50.0, 38},  {59.9, 40},
        {59.99, 28},   {60.0999, 39}, {nan, 28},     {-inf, 28},
    };
    for (auto const& c : cases) EXPECT_EQ(getMediumRollfromOutputFramerateDouble(c.fps), c.medium) << c.fps;
}

TEST(MediumMapping, DefaultEditAndPlayoutMedia) {
    std::map<int, std::pair<int, int>> const want = {
        {3, {20, 33}}, {4, {23, 37}}, {5, {23, 37}}, {6, {17, 30}}, {8, {25, 33}}, {9, {26, 37}}, {10, {26, 37}},
    };
    for (int r : swept_rates()) {
        auto const it = want.find(r);
        std::pair<int, int> const e = it == want.end() ? std::make_pair(17, 30) : it->second;
        host::ProjectSettings p = host::default_project_settings();
        p.frame_rate = fr(r);
        host::set_project_settings(p);
        int edit = 0, by_project = 0, playout = 0;
        EXPECT_EQ(printed([&] {
                      edit = getDefaultEditMediumForProject(fr(r)), by_project = getDefaultEditMediumForProject();
                      playout = getDefaultEditPlayoutMediumForProject();
                  }),
                  "");
        EXPECT_TRUE(edit == e.first && by_project == e.first && playout == e.second) << r;
    }
    host::set_project_settings(host::default_project_settings());
}

MediumRollIdent parse(char const* text, UserLabelType type = none_UserLabel) {
    MediumRollIdent id = roll(99, 99);  // must be overwritten in every case
    MediumRollId_from_string(text, id, type);
    return id;
}

// The stored-identifier rules written over the C library's own scanner.
MediumRollIdent reference_parse(char const* text, UserLabelType type) {
    int m = 0, g = 0;
    int const n = std::sscanf(text, "%2d,%1d", &m, &g);
    if (n < 1 || m < 1 || m > 70) return roll(0, 0);
    if (n == 1 || g == 0) {
        g = m == 3 ? 2 : m == 4 ? 3 : 1;
        if (type == ink_UserLabel) m = 10;
    }
    if (g < 1 || g > 5) return roll(0, 0);
    return roll(m, g);
}

// What the sweep's alphabet cannot spell; it holds every short text to the scanner.
TEST(MediumRollIdParse, WorkedExamples) {
    struct {
        char const* text;
        UserLabelType type;
        int medium, generation;
    } const cases[] = {
        {"4", none_UserLabel, 4, 3},      {"3,6", none_UserLabel, 0, 0},
        {"123,4", none_UserLabel, 12, 1},  // the third digit stops the scan
        {"28 ,2", none_UserLabel, 28, 1}, {"99999999999999999999,1", none_UserLabel, 0, 0},
    };
    for (auto const& c : cases) EXPECT_TRUE(Same(parse(c.text, c.type), c.medium, c.generation)) << c.text;
    EXPECT_TRUE(Same(parse(nullptr), 0, 0) && Same(get_invalid_MediumRollIdent(), 0, 0));
    EXPECT_STREQ(MediumRollId_name_str(), "MediumRollId");
}

// Every text of up to five characters over the characters that matter to
// the scanner reads as "%2d,%1d" reads it.
TEST(MediumRollIdParse, AgreesWithScanfOverEveryShortText) {
    static char const alphabet[] = " 0123579,-+x\t";
    int const n = static_cast<int>(sizeof alphabet - 1);
    char text[8];
    for (int len = 0; len <= 5; ++len) {
        long total = 1;
        for (int i = 0; i < len; ++i) total *= n;
        for (long k = 0; k < total; ++k) {
            long v = k;
            for (int i = 0; i < len; ++i, v /= n) text[i] = alphabet[v % n];
            text[len] = '\0';
            for (UserLabelType t : {none_UserLabel, ink_UserLabel, timecode_UserLabel}) {
                MediumRollIdent const want = reference_parse(text, t);
                ASSERT_TRUE(Same(parse(text, t), want.medium, want.generation)) << "'" << text << "' type " << t;
            }
        }
    }
}

TEST(MediumRollIdText, ToStringMatchesPrintfAndReadsBack) {
    std::vector<int> values = {INT_MIN, INT_MIN + 1, -1000000000, 99, 100, 1000, 123456789, INT_MAX};
    for (int v = -12; v <= 75; ++v) values.push_back(v);
    for (int m : values)
        for (int g : values) {
            char got[32], want[32];
            std::memset(got, 'Z', sizeof got);
            int const want_n = std::snprintf(want, sizeof want, "%d,%d", m, g);
            ASSERT_EQ(MediumRollId_to_string(got, roll(m, g)), want_n) << want;
            ASSERT_STREQ(got, want);
            ASSERT_EQ(got[want_n + 1], 'Z');  // nothing past the terminator
            ASSERT_TRUE(m < 1 || m > 70 || g < 1 || g > 5 || Same(parse(got), m, g)) << got;
        }
    tokeniser t("MediumRollId 28,2 4", " ");
    MediumRollIdent id = roll(5, 5);
    t.set_index(1);
    for (auto want : {roll(28, 2), roll(4, 3), roll(0, 0)}) {  // the last: none left, a null text
        MediumRollId_from_tokens(t, id);
        EXPECT_TRUE(Same(id, want.medium, want.generation));
    }
}

TEST(MediumRollIdText, UserStrings) {
    struct {
        int m, g;
        char const* text;
    } const cases[] = {
        {2, 0, "film,gen?"},    {3, 2, "video,1stGen"}, {4, 5, "audio,4thGen"},          {10, 1, "ink,anyGen"},
        {13, 3, "24p,2ndGen"},  {18, 4, "24i,3rdGen"},  {24, 1, "30i,anyGen"},           {47, 1, "12.5p,anyGen"},
        {57, 1, "240p,anyGen"}, {28, 1, "med?,anyGen"}, {41, 1, "med?,anyGen"},  // output media have no name
        {0, 0, "med?,gen?"},    {71, 6, "med?,gen?"},   {INT_MIN, INT_MAX, "med?,gen?"},
    };
    for (auto const& c : cases) EXPECT_STREQ(MediumRollId_to_UserString(roll(c.m, c.g)), c.text) << c.m << "," << c.g;
    for (int m = -3; m <= 75; ++m)
        for (int g = -2; g <= 8; ++g) ASSERT_LT(std::strlen(MediumRollId_to_UserString(roll(m, g))), 32u);
    char const* a = MediumRollId_to_UserString(roll(2, 2));
    EXPECT_EQ(a, MediumRollId_to_UserString(roll(4, 5)));  // one shared buffer
}

// Media that accept each other as one medium; a row lists the accepting
// media, then what they accept besides themselves.
struct FamilyRow {
    std::set<int> accepting, accepted;
};
std::vector<FamilyRow> const kFamilies = {
    {{13, 15, 17}, {15, 17}}, {{14, 28, 30}, {14, 28, 30}}, {{16, 18}, {16, 18}},     {{19, 20}, {19, 20}},
    {{21, 23}, {21, 23}},     {{22, 24}, {22, 24}},         {{29, 31}, {28, 29, 31}}, {{32, 33}, {32, 33}},
    {{34, 36}, {34, 36}},     {{35, 37}, {35, 37}},
};

bool expected_fit(int a, int ga, int b, int gb) {
    if (a == 0 || ga == 0 || b == 0 || gb == 0) return false;
    if (ga != 1 && ga != gb) return false;
    if (a == 1 || a == b) return true;
    for (FamilyRow const& r : kFamilies)
        if (r.accepting.count(a)) return r.accepted.count(b) != 0;
    return false;
}

TEST(MediumRollIdFits, WholeMatrixOfMediaAndGenerations) {
    for (int a = 0; a <= 70; ++a)
        for (int b = 0; b <= 70; ++b)
            for (int ga = 0; ga <= 5; ++ga)
                for (int gb = 0; gb <= 5; ++gb)
                    ASSERT_EQ(roll(a, ga).MediumRollId_fits_this(roll(b, gb)), expected_fit(a, ga, b, gb))
                        << "{" << a << "," << ga << "} accepting {" << b << "," << gb << "}";
    for (int m : {-1, 71, INT_MIN, INT_MAX})  // out-of-range media match only themselves
        EXPECT_TRUE(roll(m, 1).MediumRollId_fits_this(roll(m, 3)) && !roll(m, 1).MediumRollId_fits_this(roll(28, 1)) &&
                    !roll(28, 1).MediumRollId_fits_this(roll(m, 1)) && roll(1, 1).MediumRollId_fits_this(roll(m, 2)))
            << m;
}

}  // namespace
