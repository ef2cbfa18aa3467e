// Ink numbers, feet and frames, and film frames: texts against snprintf,
// round trips, typed-text rules and bounded buffers.
#include <climits>
#include <tuple>

#include "test_support.h"

namespace {

TEST(Ink, TextsMatchSnprintfAndParseBack) {
    struct { label_t type; int modulus, ppf; } const leaves[] = {{ink_35_label_t, 16, 4}, {ink_16_label_t, 20, 1}};
    for (auto const& l : leaves) {
        Cvt c = fresh(l.type);
        LabelPoint lp(0, c.get());
        EXPECT_EQ(c->get_prefix_length(), 4);
        EXPECT_EQ(c->get_count_length(), 4);
        EXPECT_STREQ(c->full_template.template_text.c_str(), "????9999+19");
        EXPECT_STREQ(c->count_template.template_text.c_str(), "~~~~9999+19");
        EXPECT_STREQ(c->get_abs_string(&lp, past_end_sample), ">>>>>>>>>>>");
        int const p = 10000 * l.modulus * l.ppf;
        for (int s : {-1, p, INT_MIN}) EXPECT_EQ(c->normalise_sample_unit(s), static_cast<int>(((s % p) + p) % p));
        auto expect = [&](int s) {
            int const f = s / l.ppf;
            int count = f / l.modulus;
            if (count < 0) return std::string("NEGATIVE");
            if (count > 9999) count -= 10000;
            char want[64];
            std::snprintf(want, sizeof want, "%s%0*d%c%02d", "XXXX", 4, count, '+', f % l.modulus);
            return std::string(want);
        };
        for (int s = -3 * l.modulus * l.ppf; s < 2 * p + 100; s += 97 + (s & 7)) {
            ASSERT_EQ(c->get_abs_string(&lp, s), expect(s)) << s;
            if (s >= 0 && s < p) {
                ASSERT_EQ(c->get_abs_sample(c->get_abs_string(&lp, s)), s - s % l.ppf);
            }
        }
        for (int s : {INT_MIN, INT_MAX, -1, p - 1}) EXPECT_EQ(c->get_abs_string(&lp, s), expect(s));
    }
}

// Typed texts are brought to eleven characters: the first four and the last
// seven, or padded with '0' in front.
TEST(Ink, TypedTexts) {
    Cvt c = fresh(ink_35_label_t);
    struct { char const* text; int sample; } const cases[] = {
        {"ABCD1234+05", 78996},      {"ABCD 1234+05", 78996},       {"ABCD  --  1234+05", 78996},
        {"1234+05", 78996},          {"ABCD1234+16", invalid_sample}, {"ABCD1234", invalid_sample},
        {"ABCD1234+-1", invalid_sample}, {"ABCD-001+05", invalid_sample}, {"ABCD1234+ 5", 78996},
        {"ABCD1234+", 4 * 4},        // '00ABCD1234+': count 'CD12' is 0, frame "4+"
        {"1234+", 4 * 16 * 1234},    // no frame text, frame 0
        {"12", 4 * 16 * 12},         {"", 0},
    };
    for (auto const& k : cases) EXPECT_EQ(c->get_abs_sample(k.text), k.sample) << k.text;
    EXPECT_EQ(c->get_abs_sample(nullptr), invalid_sample);
    EXPECT_EQ(fresh(ink_16_label_t)->get_abs_sample("ABCD1234+19"), 20 * 1234 + 19);
    EXPECT_EQ(fresh(ink_16_label_t)->get_abs_sample("ABCD1234+20"), invalid_sample);
}

TEST(Ink, Prefixes) {
    Cvt c = fresh(ink_35_label_t);
    LabelPoint a(0, c.get()), b(0, c.get());
    EXPECT_STREQ(c->get_abs_string(&a, 788), "XXXX0012+05");
    c->set_prefix(&a, "ABCD 1234+05");
    EXPECT_STREQ(a.prefix, "ABCD1234");
    EXPECT_STREQ(c->get_abs_string(&b, 788), "ABCD0012+05");  // remembered
    c->set_prefix(&b, "12");  // padded to at least four characters: '000012'
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

TEST(Feet, FactsAndWorkedExamples) {
    struct { label_t type; int modulus, ppf; char const* tmpl; char const* invalid; } const leaves[] =
        {{foot_35_label_t, 16, 4, "-9999.19", "?????.??"},
         {foot_16_label_t, 40, 1, "-9999.39", "?????.??"},
         {foot_353_label_t, 22, 3, "-9999+29.3", "????????.?"}};
    for (auto const& l : leaves) {
        Cvt c = fresh(l.type);
        LabelPoint lp(0, c.get());
        EXPECT_FALSE(c->has_prefix());
        EXPECT_EQ(c->get_modulus(), l.modulus);
        EXPECT_EQ(c->samples_per_unit(), l.ppf);
        EXPECT_STREQ(c->full_template.template_text.c_str(), l.tmpl);
        EXPECT_EQ(c->normalise_sample_unit(-5), -5);
        EXPECT_STREQ(c->get_abs_string(&lp, invalid_sample), l.invalid);
    }
    Cvt f35 = fresh(foot_35_label_t), f353 = fresh(foot_353_label_t);
    LabelPoint p35(0, f35.get()), p353(0, f353.get());
    struct { label_cvt* c; LabelPoint* lp; int sample; char const* text; } const texts[] = {
        {f35.get(), &p35, 788, " 0012+05"}, {f35.get(), &p35, -788, "-0012+05"}, {f35.get(), &p35, 0, " 0000+00"},
        {f35.get(), &p35, 3, " 0000+00"},  // partial frames truncate
        {f35.get(), &p35, 6400000, " 0000+00"}, {f35.get(), &p35, 6399996, " 99999+15"},  // wraps once
        {f353.get(), &p353, 0, " 0000+00.1"}, {f353.get(), &p353, 1, " 0000+01.3"},
        {f353.get(), &p353, -62, "-0001+00.3"}, {f353.get(), &p353, 6399998, " 100000+00.3"},
        {f353.get(), &p353, 6400062, " 0001+00.3"},
    };
    for (auto const& t : texts) EXPECT_STREQ(t.c->get_abs_string(t.lp, t.sample), t.text) << t.sample;
    struct { label_cvt* c; char const* text; int sample; } const reads[] = {
        {f35.get(), "-0012+05", -788}, {f35.get(), "12+20", 848},  // nothing is range-checked
        {f35.get(), "12", 768},        {f35.get(), "  12.5", 788}, {f35.get(), "", 0},
        {f353.get(), "-0001+00.3", -62}, {f353.get(), "0001+00", 65},  // last character '0' reads as index 0
        {f353.get(), "", invalid_sample}, {f353.get(), "  -", invalid_sample},
    };
    for (auto const& r : reads) EXPECT_EQ(r.c->get_abs_sample(r.text), r.sample) << r.text;
    EXPECT_EQ(f35->get_abs_sample(nullptr), invalid_sample);
    EXPECT_EQ(f353->get_abs_sample(nullptr), invalid_sample);
    // The 3-perf working copy holds 63 characters.
    EXPECT_EQ(f353->get_abs_sample((" 0001+00" + std::string(53, ' ') + ".3").c_str()), 62);
    EXPECT_EQ(f353->get_abs_sample((" 0001+00" + std::string(54, ' ') + ".3").c_str()), invalid_sample);
    p353.removePadding();  // the 3-perf form keeps its sign column
    EXPECT_STREQ(f353->get_abs_string(&p353, 62), " 0001+00.3");
}

TEST(Feet, FourPerfAndSixteenMatchSnprintf) {
    for (auto [type, modulus, ppf] : {std::tuple{foot_35_label_t, 16, 4}, std::tuple{foot_16_label_t, 40, 1}}) {
        Cvt c = fresh(type);
        LabelPoint signed_point(0, c.get()), unsigned_point(0, c.get());
        unsigned_point.removePadding();
        long long const w = 100000LL * modulus;  // frames in 100000 feet
        char want[64];
        for (long long s = -3000; s < 2 * w * ppf + 5000; s += 997 + (s & 15)) {
            int const si = static_cast<int>(s);
            long long f = (si < 0 ? -s : s) / ppf;
            if (f >= w) f -= w;
            int const feet = static_cast<int>(f / modulus), frame = static_cast<int>(f % modulus);
            std::snprintf(want, sizeof want, "%c%0*d+%02d", si < 0 ? '-' : ' ', 4, feet, frame);
            ASSERT_STREQ(c->get_abs_string(&signed_point, si), want) << si;
            ASSERT_STREQ(c->get_abs_string(&unsigned_point, si), want + 1) << si;
            if (s > -w * ppf && s < w * ppf) {
                int const whole = si < 0 ? -(-si - (-si) % ppf) : si - si % ppf;
                ASSERT_EQ(c->get_abs_sample(c->get_abs_string(&signed_point, si)), whole);
            }
        }
    }
}

// Every sample of the first and last 200000 and a stride between, both
// signs: printed and read back to itself.
TEST(Feet, ThreePerfRoundTripsOverTenThousandFeet) {
    Cvt c = fresh(foot_353_label_t);
    LabelPoint lp(0, c.get());
    char want[64];
    auto check = [&](int s) {
        char const* t = c->get_abs_string(&lp, s);
        int const u = (s < 0 ? -s : s) + 2;
        std::snprintf(want, sizeof want, "%c%0*d+%02d.%d", s < 0 ? '-' : ' ', 4, u / 64, (u % 64) / 3, 3 - (u % 64) % 3);
        ASSERT_STREQ(t, want);
        ASSERT_EQ(c->get_abs_sample(t), s) << t;
    };
    for (int s = 0; s < 200000; ++s) check(s);
    for (int s = 200000; s < 6200000; s += 61) check(s);
    for (int s = 6200000; s <= 6399997; ++s) check(s);
    for (int s = -1; s > -200000; s -= 7) check(s);
}

TEST(Feet, HugeSamplesAndWideFeetStayInsideTheText) {
    for (int digits : {-3, 0, 4, 9, 16, 40}) {
        foot_35_label f35(digits);
        foot_16_label f16(digits);
        foot_353_label f353(digits);
        int const clamped = digits < 0 ? 0 : digits > 16 ? 16 : digits;
        EXPECT_EQ(f353.full_template.template_text.size(), static_cast<std::size_t>(clamped) + 6);
        for (label_cvt* c : {static_cast<label_cvt*>(&f35), static_cast<label_cvt*>(&f16), static_cast<label_cvt*>(&f353)}) {
            LabelPoint lp(0, c);
            for (int s : {INT_MIN, INT_MIN + 1, INT_MAX, -1, 0}) {
                char const* t = c->get_abs_string(&lp, s);
                EXPECT_LE(std::strlen(t), 22u) << digits << " " << s;
                EXPECT_EQ(t[0], s < 0 ? '-' : ' ');
            }
        }
    }
    foot_353_label w(16);
    LabelPoint lp(0, &w);
    EXPECT_STREQ(w.get_abs_string(&lp, INT_MIN), "-0000000033554432+00.1");  // 22 characters
    foot_35_label f(4);
    LabelPoint fp(0, &f);
    EXPECT_STREQ(f.get_abs_string(&fp, INT_MIN), "-33454432+00");  // 536870912 frames, wrapped once
}

TEST(FilmFrames, PrintsAndReadsLikeTheCLibrary) {
    Cvt c = fresh(film_frames_label_t);
    LabelPoint lp(0, c.get());
    EXPECT_STREQ(c->full_template.template_text.c_str(), "-999999");
    EXPECT_STREQ(c->get_abs_string(&lp, -5), "-000005");
    EXPECT_STREQ(c->get_abs_string(&lp, past_end_sample), ">>>>>>>");  // 100000001, not a number
    EXPECT_STREQ(c->get_abs_string(&lp, invalid_sample), "???????");
    char want[32];
    for (long long s = INT_MIN; s <= INT_MAX; s += 65537 * 31 + 3) {
        int const si = static_cast<int>(s);
        if (si == invalid_sample || si == past_end_sample || si == before_start_sample) continue;
        std::snprintf(want, sizeof want, "%.6d", si);
        ASSERT_STREQ(c->get_abs_string(&lp, si), want);
        ASSERT_EQ(c->get_abs_sample(want), si);
    }
    for (char const* t : {"42", "  -17xyz", "+8", "99999999999", "-2147483648", "12 34", "\t5"}) {
        int v = 0;
        ASSERT_EQ(std::sscanf(t, "%d", &v), 1);
        EXPECT_EQ(c->get_abs_sample(t), v) << t;
    }
    for (char const* t : {"", "abc", "-", " + 5"}) EXPECT_EQ(c->get_abs_sample(t), invalid_sample) << t;
    EXPECT_EQ(c->get_abs_sample(nullptr), invalid_sample);
}

}  // namespace
