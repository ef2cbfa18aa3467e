// Ink numbers, feet and frames, and film frames: texts against snprintf over
// whole ranges, round trips, typed-text rules and bounded buffers.
#include <climits>
#include <utility>

#include "test_support.h"

namespace {

struct Film {
    label_t type;
    int modulus, ppf;
    char const* tmpl;
};
Film const kFilm[] = {{ink_35_label_t, 16, 4, "????9999+19"},
                      {ink_16_label_t, 20, 1, "????9999+19"},
                      {foot_35_label_t, 16, 4, "-9999.19"},
                      {foot_16_label_t, 40, 1, "-9999.39"},
                      {foot_353_label_t, 22, 3, "-9999+29.3"}};

// The text by snprintf from the film arithmetic; `sign` false for a point
// whose sign column was dropped.
std::string expected(Film const& l, long long s, bool sign) {
    char buf[64];
    long long const a = s < 0 ? -s : s;
    char const sg = s < 0 ? '-' : ' ';
    if (l.type == foot_353_label_t) {
        long long const u = a + 2, feet = u / 64 > 100000 ? u / 64 - 100000 : u / 64;  // wraps past 100000 feet
        std::snprintf(buf, sizeof buf, "%c%0*lld+%02lld.%lld", sg, 4, feet, (u % 64) / 3, 3 - (u % 64) % 3);
    } else if (l.type == foot_35_label_t || l.type == foot_16_label_t) {
        long long f = a / l.ppf;
        if (f >= 100000LL * l.modulus) f -= 100000LL * l.modulus;  // once
        std::snprintf(buf, sizeof buf, "%c%0*lld+%02lld", sg, 4, f / l.modulus, f % l.modulus);
        return sign ? buf : buf + 1;
    } else {
        long long const f = s / l.ppf;
        long long count = f / l.modulus;
        if (count < 0) return "NEGATIVE";
        if (count > 9999) count -= 10000;
        std::snprintf(buf, sizeof buf, "%s%0*lld%c%02lld", "XXXX", 4, count, '+', f % l.modulus);
    }
    return buf;
}

// Two periods of ink counts and 100000 feet, both signs, at a moving stride
// (every sample near the 3-perf ends), plus the ends of int: texts, and
// texts read back to the start of their frame (3-perf: to the sample).
TEST(FilmTexts, MatchSnprintfAndReadBack) {
    for (Film const& l : kFilm) {
        Cvt c = fresh(l.type);
        LabelPoint lp(0, c.get()), unsigned_point(0, c.get());
        unsigned_point.removePadding();
        EXPECT_STREQ(c->full_template.template_text.c_str(), l.tmpl);
        std::string invalid = l.tmpl;  // every character but '.' becomes '?'
        for (char& ch : invalid) ch = ch == '.' ? '.' : '?';
        EXPECT_EQ(c->get_abs_string(&lp, invalid_sample), invalid);
        if (c->has_prefix()) {
            EXPECT_STREQ(c->count_template.template_text.c_str(), "~~~~9999+19");
        }
        bool const ink = c->has_prefix(), three = l.type == foot_353_label_t;
        long long const period = (ink ? 10000LL : 100000LL) * l.modulus * l.ppf;
        auto check = [&](long long s) {
            int const si = static_cast<int>(s);
            ASSERT_EQ(c->get_abs_string(&lp, si), expected(l, s, true)) << si;
            if (!ink) {
                ASSERT_EQ(c->get_abs_string(&unsigned_point, si), expected(l, s, three)) << si;
            }
            long long const whole = three ? s : s < 0 ? -(-s - (-s) % l.ppf) : s - s % l.ppf;
            long long const fits = three ? 6399998 : period;  // before the footage wraps
            if (ink ? s >= 0 && s < period : s > -fits && s < fits) {
                ASSERT_EQ(c->get_abs_sample(c->get_abs_string(&lp, si)), whole) << si;
            }
        };
        for (long long i = 0, s = -3 * l.modulus * l.ppf; s < 2 * period + 100; ++i)
            check(s), s += (three && (s < 2000 || (s > 6398000 && s < 6400100))) ? 1 : 97 + i % 7;
        for (int s : {INT_MIN, INT_MIN + 1, INT_MAX, -1, 0}) check(s);
        if (ink)
            for (int s : {-1, static_cast<int>(period), INT_MIN})
                EXPECT_EQ(c->normalise_sample_unit(s), static_cast<int>(((s % period) + period) % period));
        else
            EXPECT_EQ(c->normalise_sample_unit(-5), -5);
    }
}

// Typed texts are brought to eleven characters: the first four and the last
// seven, or padded with '0' in front.
TEST(Ink, TypedTextsAndPrefixes) {
    Cvt c = fresh(ink_35_label_t);
    // "ABCD1234+": '00ABCD1234+', count 'CD12' 0 and frame "4+"; no frame
    // text is frame 0; the count reads as atol.
    std::pair<char const*, int> const cases[] = {
        {"ABCD1234+05", 78996}, {"ABCD 1234+05", 78996},        {"ABCD1234+ 5", 78996}, {"ABCD  --  1234+05", 78996},
        {"ABCD1234+", 4 * 4},   {"1234+", 4 * 16 * 1234},       {"12", 4 * 16 * 12},    {"", 0},
        {"ABCD12x4+05", 788},   {"ABCD+234+05", 234 * 64 + 20}, {"1234+05", 78996},
    };
    for (auto const& [text, sample] : cases) EXPECT_EQ(c->get_abs_sample(text), sample) << text;
    for (char const* bad : {"ABCD1234+16", "ABCD1234", "ABCD1234+-1", "ABCD-001+05"})
        EXPECT_EQ(c->get_abs_sample(bad), invalid_sample) << bad;
    EXPECT_EQ(c->get_abs_sample(nullptr), invalid_sample);
    EXPECT_EQ(fresh(ink_16_label_t)->get_abs_sample("ABCD1234+19"), 20 * 1234 + 19);
    EXPECT_EQ(fresh(ink_16_label_t)->get_abs_sample("ABCD1234+20"), invalid_sample);
    LabelPoint a(0, c.get()), b(0, c.get());
    EXPECT_STREQ(c->get_abs_string(&a, 788), "XXXX0012+05");
    c->set_prefix(&a, "ABCD 1234+05");
    EXPECT_STREQ(a.prefix, "ABCD1234");
    EXPECT_STREQ(c->get_abs_string(&b, 788), "ABCD0012+05");  // remembered
    c->set_prefix(&b, "12");                                  // padded to at least four characters: '000012'
    EXPECT_STREQ(b.prefix, "000012");
    std::string const big(500, 'Q');
    std::memset(a.text, 'T', sizeof a.text);
    c->set_prefix(&a, big.c_str());
    EXPECT_STREQ(a.prefix, "QQQQQQQQ");
    EXPECT_EQ(a.text[0], 'T');
    EXPECT_EQ(c->get_abs_sample(big.c_str()), 0);  // count and frame both read as 0
    c->set_prefix(&a, nullptr);
    EXPECT_STREQ(a.prefix, "0000");
}

TEST(Feet, WorkedExamplesAndReadingRules) {
    Cvt f35 = fresh(foot_35_label_t), f353 = fresh(foot_353_label_t);
    LabelPoint p353(0, f353.get());
    EXPECT_STREQ(f353->get_abs_string(&p353, -62), "-0001+00.3");
    // Nothing is range-checked; "--12+05" skips no digits (feet and frame both
    // 12); atoi keeps the low 32 bits; a 3-perf last character '0' is index 0.
    std::pair<char const*, int> const feet35[] = {
        {"-0012+05", -788}, {"12+20", 848},    {"99999999999+00", 498728896},
        {"  12.5", 788},    {"- 12+05", -816}, {"0000000012+0000000005", 788},
        {"12", 768},        {"--12+05", 720},  {"", 0},
    };
    std::pair<char const*, int> const feet353[] = {
        {"-0001+00.3", -62}, {"0001+00", 65}, {"", invalid_sample}, {"  -", invalid_sample}, {"0001+00.x", 65},
    };
    for (auto const& [text, sample] : feet35) EXPECT_EQ(f35->get_abs_sample(text), sample) << text;
    for (auto const& [text, sample] : feet353) EXPECT_EQ(f353->get_abs_sample(text), sample) << text;
    EXPECT_TRUE(f35->get_abs_sample(nullptr) == invalid_sample && f353->get_abs_sample(nullptr) == invalid_sample);
    // The 3-perf working copy holds 63 characters.
    EXPECT_EQ(f353->get_abs_sample((" 0001+00" + std::string(53, ' ') + ".3").c_str()), 62);
    EXPECT_EQ(f353->get_abs_sample((" 0001+00" + std::string(54, ' ') + ".3").c_str()), invalid_sample);
}

TEST(Feet, HugeSamplesAndWideFeetStayInsideTheText) {
    for (int digits : {-3, 0, 4, 9, 16, 40}) {
        foot_35_label f35(digits);
        foot_16_label f16(digits);
        foot_353_label f353(digits);
        EXPECT_EQ(f353.full_template.template_text.size(), (digits < 0 ? 0u : digits > 16 ? 16u : digits + 0u) + 6);
        for (label_cvt* c :
             {static_cast<label_cvt*>(&f35), static_cast<label_cvt*>(&f16), static_cast<label_cvt*>(&f353)}) {
            LabelPoint lp(0, c);
            for (int s : {INT_MIN, INT_MIN + 1, INT_MAX, -1, 0}) {
                char const* t = c->get_abs_string(&lp, s);
                EXPECT_TRUE(std::strlen(t) <= 22u && t[0] == (s < 0 ? '-' : ' ')) << digits << " " << t;
            }
            if (digits == 16 && c == &f353) {
                EXPECT_STREQ(c->get_abs_string(&lp, INT_MIN), "-0000000033554432+00.1");  // 22 characters
            }
        }
    }
}

// A hand-built footage of 150 frames to the foot prints three frame digits,
// as "%02d" does, and reads back.
TEST(Feet, HandBuiltFootOfManyFrames) {
    foot_label wide(150, 1, 4);
    LabelPoint lp(0, &wide);
    for (auto const& r :
         {std::make_pair(149, "0000+149"), std::make_pair(151, "0001+01"), std::make_pair(-300, "0002+00")}) {
        EXPECT_STREQ(wide.get_abs_string(&lp, r.first), r.second);
        EXPECT_EQ(wide.get_abs_sample(r.second), r.first < 0 ? -r.first : r.first);
    }
}

TEST(FilmFrames, PrintsAndReadsLikeTheCLibrary) {
    Cvt c = fresh(film_frames_label_t);
    LabelPoint lp(0, c.get());
    EXPECT_STREQ(c->full_template.template_text.c_str(), "-999999");
    EXPECT_STREQ(c->get_abs_string(&lp, past_end_sample), ">>>>>>>");  // 100000001, not a number
    EXPECT_STREQ(c->get_abs_string(&lp, invalid_sample), "???????");
    char want[32];
    for (long long s = INT_MIN; s <= INT_MAX; s += 65537 * 31 + 3) {
        for (int si : {static_cast<int>(s), static_cast<int>(s / 4099)}) {
            if (si == invalid_sample || si == past_end_sample || si == before_start_sample) continue;
            std::snprintf(want, sizeof want, "%.6d", si);
            ASSERT_STREQ(c->get_abs_string(&lp, si), want);
            ASSERT_EQ(c->get_abs_sample(want), si);
        }
    }
    for (char const* t : {"42", "  -17xyz", "+8", "99999999999", "-2147483648", "12 34", "\t5", "123456789",
                          "1234567890", "-999999999", "-0", "007x", "", "abc", "-", " + 5", "--5"}) {
        int v = 0;
        EXPECT_EQ(c->get_abs_sample(t), std::sscanf(t, "%d", &v) == 1 ? v : invalid_sample) << t;
    }
    EXPECT_EQ(c->get_abs_sample(nullptr), invalid_sample);
}

}  // namespace
