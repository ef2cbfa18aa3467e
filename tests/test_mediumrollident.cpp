// Medium-roll identifiers: parsing against sscanf, text forms, and which
// identifiers accept which.
#include <climits>
#include <set>
#include <vector>

#include "test_support.h"

namespace {

MediumRollIdent parse(char const* text, UserLabelType type = none_UserLabel) {
    MediumRollIdent id = roll(99, 99);  // must be overwritten in every case
    MediumRollId_from_string(text, id, type);
    return id;
}

testing::AssertionResult Same(MediumRollIdent const& a, int m, int g) {
    if (a.medium == m && a.generation == g) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "{" << a.medium << ", " << a.generation << "} vs {" << m << ", " << g << "}";
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

// Boundaries by hand; the sweep below holds every short text to the scanner.
TEST(MediumRollIdParse, WorkedExamples) {
    struct {
        char const* text;
        UserLabelType type;
        int medium, generation;
    } const cases[] = {
        {"3", none_UserLabel, 3, 2},      {"4", none_UserLabel, 4, 3},
        {"3,6", none_UserLabel, 0, 0},    {"71,1", none_UserLabel, 0, 0},
        {"2", ink_UserLabel, 10, 1},      {"2,3", ink_UserLabel, 2, 3},  // no override
        {"123,4", none_UserLabel, 12, 1},                                // the third digit stops the scan
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
    struct {
        int am, ag, bm, bg;
        bool fits;
    } const cases[] = {
        // by hand, apart from the model
        {1, 3, 28, 3, true}, {1, 3, 28, 2, false}, {28, 2, 1, 2, false}, {29, 1, 28, 4, true}, {28, 1, 29, 1, false},
    };
    for (auto const& c : cases)
        EXPECT_EQ(roll(c.am, c.ag).MediumRollId_fits_this(roll(c.bm, c.bg)), c.fits)
            << c.am << "," << c.ag << " " << c.bm;
    for (int m : {-1, 71, INT_MIN, INT_MAX})  // out-of-range media match only themselves
        EXPECT_TRUE(roll(m, 1).MediumRollId_fits_this(roll(m, 3)) && !roll(m, 1).MediumRollId_fits_this(roll(28, 1)) &&
                    !roll(28, 1).MediumRollId_fits_this(roll(m, 1)) && roll(1, 1).MediumRollId_fits_this(roll(m, 2)))
            << m;
}

}  // namespace
