#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include <labelsbase/labelsbase.h>

namespace {

MediumRollIdent mk(int m, int g) {
    return {static_cast<MediumRollMedium>(m), static_cast<MediumRollGeneration>(g)};
}

MediumRollIdent parse(char const* text, UserLabelType type = none_UserLabel) {
    MediumRollIdent id = mk(99, 99);  // must be overwritten in every case
    MediumRollId_from_string(text, id, type);
    return id;
}

::testing::AssertionResult SameIdent(MediumRollIdent const& a, MediumRollIdent const& b) {
    if (a.medium == b.medium && a.generation == b.generation)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "{" << a.medium << ", " << a.generation << "} vs {"
                                         << b.medium << ", " << b.generation << "}";
}

// The stored-identifier rules written over the C library's own scanner.
MediumRollIdent reference_parse(char const* text, UserLabelType type) {
    int m = 0, g = 0;
    int const n = std::sscanf(text, "%2d,%1d", &m, &g);
    if (n < 1 || m < 1 || m > 70) return mk(0, 0);
    if (n == 1 || g == 0) {
        g = m == 3 ? 2 : m == 4 ? 3 : 1;
        if (type == ink_UserLabel) m = 10;
    }
    if (g < 1 || g > 5) return mk(0, 0);
    return mk(m, g);
}

}  // namespace

// ---------------------------------------------------------------------------
// Parsing.

struct ParseCase {
    char const* text;
    UserLabelType type;
    int medium, generation;
};

TEST(MediumRollIdParse, WorkedExamples) {
    ParseCase const cases[] = {
        {"3", none_UserLabel, 3, 2},       // video alone: first generation
        {"4", none_UserLabel, 4, 3},       // audio alone: second generation
        {"2", none_UserLabel, 2, 1},       // anything else alone: any generation
        {"3,0", none_UserLabel, 3, 2},     // generation 0 means "not given"
        {"3,5", none_UserLabel, 3, 5},
        {"3,6", none_UserLabel, 0, 0},
        {"71,1", none_UserLabel, 0, 0},
        {"0,1", none_UserLabel, 0, 0},
        {"2", ink_UserLabel, 10, 1},       // ink labels name film by medium alone
        {"2,0", ink_UserLabel, 10, 1},
        {"3", ink_UserLabel, 10, 2},       // generation chosen from the medium read
        {"2,3", ink_UserLabel, 2, 3},      // no override when a generation is given
        {"123,4", none_UserLabel, 12, 1},  // the third digit stops the scan
        {" 28,2", none_UserLabel, 28, 2},
        {"\t\n28,2", none_UserLabel, 28, 2},
        {"28, 2", none_UserLabel, 28, 2},  // white space before the generation too
        {"28 ,2", none_UserLabel, 28, 1},  // but not before the comma
        {"28,23", none_UserLabel, 28, 2},  // one generation digit
        {"28,", none_UserLabel, 28, 1},
        {"28;2", none_UserLabel, 28, 1},
        {"28,x", none_UserLabel, 28, 1},
        {"28,-1", none_UserLabel, 28, 1},  // a lone sign is no generation
        {"28,+2", none_UserLabel, 28, 1},
        {"+7,2", none_UserLabel, 7, 2},
        {"-7,2", none_UserLabel, 0, 0},
        {"07,2", none_UserLabel, 7, 2},
        {"70,5", none_UserLabel, 70, 5},
        {"1,1", none_UserLabel, 1, 1},
        {"", none_UserLabel, 0, 0},
        {"   ", none_UserLabel, 0, 0},
        {",2", none_UserLabel, 0, 0},
        {"x28,2", none_UserLabel, 0, 0},
        {"-", none_UserLabel, 0, 0},
        {"99999999999999999999,1", none_UserLabel, 0, 0},
    };
    for (ParseCase const& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_TRUE(SameIdent(parse(c.text, c.type), mk(c.medium, c.generation)));
    }
    EXPECT_TRUE(SameIdent(parse(nullptr), mk(0, 0)));
}

// Every text of up to five characters over the characters that matter to
// the scanner reads as the C library's "%2d,%1d" reads it.
TEST(MediumRollIdParse, AgreesWithScanfOverCorpus) {
    static char const alphabet[] = " 0123579,-+x\t";
    int const n = static_cast<int>(sizeof alphabet - 1);
    UserLabelType const types[] = {none_UserLabel, ink_UserLabel, timecode_UserLabel};
    char text[8];
    long checked = 0;
    for (int len = 0; len <= 5; ++len) {
        long total = 1;
        for (int i = 0; i < len; ++i) total *= n;
        for (long k = 0; k < total; ++k) {
            long v = k;
            for (int i = 0; i < len; ++i, v /= n) text[i] = alphabet[v % n];
            text[len] = '\0';
            for (UserLabelType t : types) {
                MediumRollIdent const got = parse(text, t);
                MediumRollIdent const want = reference_parse(text, t);
                if (got.medium != want.medium || got.generation != want.generation) {
                    ADD_FAILURE() << "'" << text << "' type " << t << ": got {" << got.medium
                                  << ", " << got.generation << "}, want {" << want.medium
                                  << ", " << want.generation << "}";
                    return;
                }
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 1000000);
}

TEST(MediumRollIdParse, EveryIdentifierRoundTripsThroughItsText) {
    for (int m = 1; m <= 70; ++m) {
        for (int g = 1; g <= 5; ++g) {
            char buf[24];
            MediumRollId_to_string(buf, mk(m, g));
            EXPECT_TRUE(SameIdent(parse(buf), mk(m, g))) << buf;
        }
    }
}

TEST(MediumRollIdParse, FromTokensTakesTheNextToken) {
    tokeniser t("MediumRollId 28,2 4", " ");
    MediumRollIdent id = mk(5, 5);
    t.set_index(1);
    MediumRollId_from_tokens(t, id);
    EXPECT_TRUE(SameIdent(id, mk(28, 2)));
    EXPECT_EQ(t.index(), 2);
    MediumRollId_from_tokens(t, id);  // no ink override from tokens
    EXPECT_TRUE(SameIdent(id, mk(4, 3)));
    MediumRollId_from_tokens(t, id);  // none left: a null text
    EXPECT_TRUE(SameIdent(id, mk(0, 0)));
}

TEST(MediumRollIdParse, NameAndInvalidIdentifier) {
    EXPECT_STREQ(MediumRollId_name_str(), "MediumRollId");
    MediumRollIdent const& a = get_invalid_MediumRollIdent();
    EXPECT_TRUE(SameIdent(a, mk(0, 0)));
    EXPECT_EQ(&a, &get_invalid_MediumRollIdent());
}

// ---------------------------------------------------------------------------
// Text forms.

TEST(MediumRollIdText, ToStringMatchesPrintf) {
    std::vector<int> values;
    for (int v = -12; v <= 80; ++v) values.push_back(v);
    for (int v : {INT_MIN, INT_MIN + 1, -1000000000, 99, 100, 999, 1000, 123456789, INT_MAX})
        values.push_back(v);
    for (int m : values) {
        for (int g : values) {
            char got[32];
            std::memset(got, 'Z', sizeof got);
            char want[32];
            int const want_n = std::snprintf(want, sizeof want, "%d,%d", m, g);
            int const got_n = MediumRollId_to_string(got, mk(m, g));
            ASSERT_EQ(got_n, want_n) << want;
            ASSERT_STREQ(got, want);
            ASSERT_LE(got_n + 1, 24);  // fits the documented 24 bytes
            ASSERT_EQ(got[got_n + 1], 'Z');  // nothing written past the terminator
        }
    }
    char buf[24];
    EXPECT_EQ(MediumRollId_to_string(buf, mk(28, 2)), 4);
    EXPECT_EQ(std::memcmp(buf, "28,2", 5), 0);
}

TEST(MediumRollIdText, UserStringsForEveryMediumAndGeneration) {
    // Names as the system shows them; output media and 48 fps print "med?".
    auto name_of = [](int m) -> std::string {
        switch (m) {
            case 2: return "film";
            case 3: return "video";
            case 4: return "audio";
            case 10: return "ink";
            case 11: return "Lab";
            case 13: case 15: case 16: return "24p";
            case 17: case 18: return "24i";
            case 19: return "25p";
            case 20: return "25i";
            case 21: case 22: return "30p";
            case 23: case 24: return "30i";
            case 25: return "50p";
            case 26: case 27: return "60p";
            case 45: case 46: return "12p";
            case 47: return "12.5p";
            case 48: case 49: return "15p";
            case 50: return "20p";
            case 51: return "80p";
            case 52: return "90p";
            case 53: return "100p";
            case 54: case 55: return "120p";
            case 56: case 57: return "240p";
            default: return "med?";
        }
    };
    char const* const suffix[] = {",gen?", ",anyGen", ",1stGen", ",2ndGen", ",3rdGen", ",4thGen"};
    std::vector<int> media, gens;
    for (int m = -3; m <= 75; ++m) media.push_back(m);
    media.push_back(INT_MIN);
    media.push_back(INT_MAX);
    for (int g = -2; g <= 8; ++g) gens.push_back(g);
    gens.push_back(INT_MIN);
    gens.push_back(INT_MAX);
    for (int m : media) {
        for (int g : gens) {
            std::string const want = name_of(m) + (g >= 0 && g <= 5 ? suffix[g] : ",gen?");
            char const* got = MediumRollId_to_UserString(mk(m, g));
            ASSERT_EQ(std::string(got), want) << m << "," << g;
            ASSERT_LT(std::strlen(got), 32u);
        }
    }
    EXPECT_STREQ(MediumRollId_to_UserString(mk(3, 2)), "video,1stGen");
    EXPECT_STREQ(MediumRollId_to_UserString(mk(47, 1)), "12.5p,anyGen");
    EXPECT_STREQ(MediumRollId_to_UserString(mk(0, 0)), "med?,gen?");
}

TEST(MediumRollIdText, UserStringBufferIsSharedAndOverwritten) {
    char const* a = MediumRollId_to_UserString(mk(2, 2));
    char const* b = MediumRollId_to_UserString(mk(4, 5));
    EXPECT_EQ(a, b);
    EXPECT_STREQ(a, "audio,4thGen");
}

// ---------------------------------------------------------------------------
// Matching.

namespace {

// Families of media that accept each other as one medium; a row lists the
// accepting media, then what they accept besides themselves.
struct FamilyRow {
    std::set<int> accepting, accepted;
};
std::vector<FamilyRow> const& families() {
    static std::vector<FamilyRow> const rows = {
        {{13, 15, 17}, {15, 17}},     {{14, 28, 30}, {14, 28, 30}}, {{16, 18}, {16, 18}},
        {{19, 20}, {19, 20}},         {{21, 23}, {21, 23}},         {{22, 24}, {22, 24}},
        {{29, 31}, {28, 29, 31}},     {{32, 33}, {32, 33}},         {{34, 36}, {34, 36}},
        {{35, 37}, {35, 37}},
    };
    return rows;
}

bool medium_accepts(int self, int other) {
    if (self == other) return true;
    for (FamilyRow const& r : families())
        if (r.accepting.count(self)) return r.accepted.count(other) != 0;
    return false;
}

bool expected_fit(MediumRollIdent self, MediumRollIdent other) {
    if (self.medium == 0 || self.generation == 0 || other.medium == 0 || other.generation == 0)
        return false;
    bool const gen = self.generation == 1 || self.generation == other.generation;
    if (self.medium == 1) return gen;
    return gen && medium_accepts(self.medium, other.medium);
}

}  // namespace

TEST(MediumRollIdFits, WholeMatrixOfMediaAndGenerations) {
    int fits = 0;
    for (int a = 0; a <= 70; ++a)
        for (int b = 0; b <= 70; ++b)
            for (int ga = 0; ga <= 5; ++ga)
                for (int gb = 0; gb <= 5; ++gb) {
                    MediumRollIdent const self = mk(a, ga), other = mk(b, gb);
                    bool const got = self.MediumRollId_fits_this(other);
                    ASSERT_EQ(got, expected_fit(self, other))
                        << "{" << a << "," << ga << "} accepting {" << b << "," << gb << "}";
                    fits += got;
                }
    EXPECT_GT(fits, 0);
}

TEST(MediumRollIdFits, SourceAndOutputNeverMatch) {
    auto is_source = [](int m) {
        return (m >= 15 && m <= 27) || m == 41 || m == 42 || (m >= 45 && m <= 57);
    };
    for (int a = 15; a <= 70; ++a) {
        for (int b = 15; b <= 70; ++b) {
            if (is_source(a) != is_source(b)) {
                EXPECT_FALSE(mk(a, 1).MediumRollId_fits_this(mk(b, 1))) << a << " " << b;
            }
        }
    }
}

TEST(MediumRollIdFits, WorkedExamples) {
    struct Case {
        int am, ag, bm, bg;
        bool fits;
    } const cases[] = {
        {1, 1, 28, 3, true},   {1, 1, 70, 5, true},   {1, 1, 2, 1, true},
        {1, 3, 28, 3, true},   {1, 3, 28, 2, false},  {28, 2, 1, 2, false},
        {29, 1, 28, 4, true},  {28, 1, 29, 1, false}, {15, 2, 17, 2, true},
        {15, 2, 16, 2, false}, {15, 2, 28, 2, false}, {13, 1, 15, 2, true},
        {13, 1, 17, 3, true},  {15, 1, 13, 1, false}, {14, 1, 30, 1, true},
        {28, 1, 14, 1, true},  {1, 1, 0, 1, false},   {1, 1, 28, 0, false},
        {0, 1, 28, 1, false},  {28, 0, 28, 1, false}, {0, 0, 0, 0, false},
    };
    for (Case const& c : cases)
        EXPECT_EQ(mk(c.am, c.ag).MediumRollId_fits_this(mk(c.bm, c.bg)), c.fits)
            << "{" << c.am << "," << c.ag << "} accepting {" << c.bm << "," << c.bg << "}";
}

TEST(MediumRollIdFits, OutOfRangeMediaMatchOnlyThemselves) {
    for (int m : {-1, 71, 200, INT_MIN, INT_MAX}) {
        EXPECT_TRUE(mk(m, 1).MediumRollId_fits_this(mk(m, 3)));
        EXPECT_FALSE(mk(m, 1).MediumRollId_fits_this(mk(28, 1)));
        EXPECT_FALSE(mk(28, 1).MediumRollId_fits_this(mk(m, 1)));
        EXPECT_TRUE(mk(1, 1).MediumRollId_fits_this(mk(m, 2)));
    }
}
