// KeyKode converters: every leaf against its gauge geometry and widths,
// text forms byte for byte against the C library's formatting, parsing
// rules, 3-perf keep strings, prefixes and bounded buffers.
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "labelsbase/LabelPoint.h"
#include "labelsbase/labelcvt.h"

namespace {

struct Leaf {
    label_t type;
    char const* name;
    int interval;  // perforations between edge numbers
    int ppf;       // perforations per frame
    int modulus;   // frames per interval
    int prefix_len;
    int count_len;
    char sep;
    int perfs_per_keyKode;
    bool three_perf;
    char const* full;
    char const* locked;
};

Leaf const kLeaves[] = {
    {keycode_35_label_t, "keycode_35_label", 64, 4, 16, 8, 4, '+', 64, false, "????????9999+19", "~~~~~~~~9999+19"},
    {keycode_16_label_t, "keycode_16_label", 20, 1, 20, 8, 4, '&', 20, false, "????????9999+19", "~~~~~~~~9999+19"},
    {keycode_353_label_t, "keycode_353_label", 64, 3, 22, 8, 4, '+', 64, true, "????????9999+29.3", "~~~~~~~~9999+29.3"},
    {keycode_35_label_4_t, "keycode_35_label_4", 64, 4, 16, 8, 4, '+', 64, false, "????????9999+19", "~~~~~~~~9999+19"},
    {keycode_35_label_5_t, "keycode_35_label_5", 64, 4, 16, 7, 5, '+', 64, false, "???????99999+19", "~~~~~~~99999+19"},
    {keycode_35_label_6_t, "keycode_35_label_6", 64, 4, 16, 6, 6, '+', 64, false, "??????999999+19", "~~~~~~999999+19"},
    {keycode_16_label_4_t, "keycode_16_label_4", 20, 1, 20, 8, 4, '&', 20, false, "????????9999+19", "~~~~~~~~9999+19"},
    {keycode_16_label_5_t, "keycode_16_label_5", 20, 1, 20, 7, 5, '&', 20, false, "???????99999+19", "~~~~~~~99999+19"},
    {keycode_16_label_6_t, "keycode_16_label_6", 20, 1, 20, 6, 6, '&', 20, false, "??????999999+19", "~~~~~~999999+19"},
    {keycode_353_label_4_t, "keycode_353_label_4", 64, 3, 22, 8, 4, '+', 64, true, "????????9999+29.3", "~~~~~~~~9999+29.3"},
    {keycode_353_label_5_t, "keycode_353_label_5", 64, 3, 22, 7, 5, '+', 64, true, "???????99999+29.3", "~~~~~~~99999+29.3"},
    {keycode_353_label_6_t, "keycode_353_label_6", 64, 3, 22, 6, 6, '+', 64, true, "??????999999+29.3", "~~~~~~999999+29.3"},
    {keycode_352_label_t, "keycode_352_label", 64, 2, 32, 8, 4, '+', 1, false, "????????9999+39", "~~~~~~~~9999+39"},
    {keycode_358_label_t, "keycode_358_label", 64, 8, 8, 8, 4, '+', 1, false, "????????9999+07", "~~~~~~~~9999+07"},
    {keycode_655_80_label_t, "keycode_655_80_label", 80, 5, 16, 8, 4, '+', 80, false, "????????9999+19", "~~~~~~~~9999+19"},
    {keycode_658_80_label_t, "keycode_658_80_label", 80, 8, 10, 8, 4, '+', 80, false, "????????9999+09", "~~~~~~~~9999+09"},
    {keycode_6510_80_label_t, "keycode_6510_80_label", 80, 10, 8, 8, 4, '+', 80, false, "????????9999+07", "~~~~~~~~9999+07"},
    {keycode_655_120_label_t, "keycode_655_120_label", 120, 5, 24, 8, 4, '+', 120, false, "????????9999+29", "~~~~~~~~9999+29"},
    {keycode_658_120_label_t, "keycode_658_120_label", 120, 8, 15, 8, 4, '+', 120, false, "????????9999+19", "~~~~~~~~9999+19"},
    {keycode_6510_120_label_t, "keycode_6510_120_label", 120, 10, 12, 8, 4, '+', 120, false, "????????9999+19", "~~~~~~~~9999+19"},
    {keycode_6515_120_label_t, "keycode_6515_120_label", 120, 15, 8, 8, 4, '+', 120, false, "????????9999+07", "~~~~~~~~9999+07"},
};
static_assert(sizeof(kLeaves) / sizeof(kLeaves[0]) == 21, "every KeyKode leaf");

int max_count_of(Leaf const& l) {
    int m = 1;
    for (int i = 0; i < l.count_len; ++i) m *= 10;
    return m - 1;
}
// 3-perf frames are 66 perforations to a 64-perforation interval.
long long period_of(Leaf const& l) {
    return static_cast<long long>(max_count_of(l) + 1) * l.modulus * l.ppf;
}

// The gauge arithmetic, written from the film geometry independently of
// the converters.
struct Counts {
    int count, frame, perf;
};
Counts split(Leaf const& l, int s) {
    if (l.three_perf) {
        int const t = static_cast<int>(static_cast<std::uint32_t>(s) + 2u);
        return {t / 64, (t % 64) / 3, 2 - (t % 64) % 3};
    }
    return {s / l.interval, (s % l.interval) / l.ppf, 0};
}

// The display (and 3-perf keep) text by the C library's formatting.
std::string expected_text(Leaf const& l, char const* prefix, int s) {
    Counts c = split(l, s);
    if (c.count < 0) return "NEGATIVE";
    int const mc = max_count_of(l);
    if (c.count > mc) c.count -= mc + 1;
    char buf[128];
    if (l.three_perf)
        std::snprintf(buf, sizeof buf, "%s%0*d+%02d.%d", prefix, l.count_len, c.count, c.frame, c.perf + 1);
    else
        std::snprintf(buf, sizeof buf, "%s%0*d%c%02d", prefix, l.count_len, c.count, l.sep, c.frame);
    return buf;
}

using Cvt = std::unique_ptr<label_cvt>;
Cvt fresh(label_t t) { return Cvt(make_any_label_cvt(t)); }

class KeyKodeLeaf : public ::testing::TestWithParam<Leaf> {};

std::string leaf_name(::testing::TestParamInfo<Leaf> const& i) { return i.param.name; }
void PrintTo(Leaf const& l, std::ostream* os) { *os << l.name; }

TEST_P(KeyKodeLeaf, ReportsItsGeometryWidthsAndTemplates) {
    Leaf const& l = GetParam();
    for (label_cvt* c : {get_static_label_cvt(l.type), fresh(l.type).release()}) {
        EXPECT_STREQ(c->type_str(), l.name);
        EXPECT_EQ(c->type(), l.type);
        EXPECT_EQ(c->UserType(), keycode_UserLabel);
        EXPECT_TRUE(c->has_prefix());
        EXPECT_EQ(c->get_modulus(), l.modulus);
        EXPECT_EQ(c->samples_per_unit(), l.ppf);
        EXPECT_EQ(c->get_prefix_length(), l.prefix_len);
        EXPECT_EQ(c->get_count_length(), l.count_len);
        EXPECT_EQ(c->getFrameSeparator(), l.sep);
        EXPECT_EQ(c->perfs_per_keyKode(), l.perfs_per_keyKode);
        EXPECT_STREQ(c->get_dummy_prefix(), "XX000000");
        EXPECT_STREQ(c->full_template.template_text.c_str(), l.full);
        EXPECT_STREQ(c->count_template.template_text.c_str(), l.locked);
        EXPECT_EQ(get_label_type(l.name), l.type);
        if (c != get_static_label_cvt(l.type)) delete c;
    }
}

TEST_P(KeyKodeLeaf, DisplayTextMatchesTheCLibraryOverSweptSamples) {
    Leaf const& l = GetParam();
    Cvt c = fresh(l.type);
    LabelPoint lp(0, c.get());
    std::string const dummy = std::string("XX000000").substr(0, static_cast<std::size_t>(l.prefix_len));
    long long const p = period_of(l);
    // Whole period at a stride with moving offsets, the negative edge, the
    // count wrap, one wrap only, and the ends of int.
    auto check = [&](int s, char const* prefix) {
        ASSERT_EQ(std::string(c->get_abs_string(&lp, s)), expected_text(l, prefix, s)) << "s=" << s;
    };
    long long const stride = p / 20000 + 1;
    for (long long i = 0, s = -3 * l.interval; s < 2 * p + 3 * l.interval; ++i, s += stride + i % 7)
        check(static_cast<int>(s), dummy.c_str());
    for (int s : {INT_MIN, INT_MIN + 1, -l.interval - 1, -l.interval, -l.interval + 1, -3, -2, -1, 0, 1, 2,
                  INT_MAX - 2, INT_MAX - 1, INT_MAX, 99999999, 100000000, 100000003, -99999999})
        check(s, dummy.c_str());
    // With a prefix of the point's own.
    std::string const own = std::string("KN447583").substr(0, static_cast<std::size_t>(l.prefix_len));
    c->set_prefix(&lp, (own + "0012+05").c_str());
    for (long long i = 0, s = 0; s < p; ++i, s += 10 * stride + i % 11) check(static_cast<int>(s), own.c_str());
}

TEST_P(KeyKodeLeaf, PerforationTextIsTwoDigitOffsetIntoTheInterval) {
    Leaf const& l = GetParam();
    Cvt c = fresh(l.type);
    LabelPoint lp(0, c.get());
    char want[32];
    for (int s = -3 * l.interval; s < 5 * l.interval; ++s) {
        std::snprintf(want, sizeof want, "%02d", s % l.interval);
        ASSERT_STREQ(c->get_abs_perfs_string(&lp, s), want) << s;
    }
    for (int s : {INT_MIN, INT_MAX}) {
        std::snprintf(want, sizeof want, "%02d", s % l.interval);
        EXPECT_STREQ(c->get_abs_perfs_string(&lp, s), want);
    }
    for (int s : {invalid_sample, past_end_sample, before_start_sample}) EXPECT_STREQ(c->get_abs_perfs_string(&lp, s), "");
}

TEST_P(KeyKodeLeaf, SpecialSamplesPrintTheTemplatesInvalidForms) {
    Leaf const& l = GetParam();
    Cvt c = fresh(l.type);
    LabelPoint lp(0, c.get());
    std::string q(l.full), gt(l.full), lt(l.full);
    for (std::size_t i = 0; i < q.size(); ++i)
        if (q[i] != '.') q[i] = '?', gt[i] = '>', lt[i] = '<';
    EXPECT_EQ(c->get_abs_string(&lp, invalid_sample), q);
    EXPECT_EQ(c->get_abs_string(&lp, past_end_sample), gt);
    EXPECT_EQ(c->get_abs_string(&lp, before_start_sample), lt);
    EXPECT_EQ(c->get_keep_string(&lp, past_end_sample), gt);
}

TEST_P(KeyKodeLeaf, TextParsesBackOverAWholePeriod) {
    Leaf const& l = GetParam();
    Cvt c = fresh(l.type);
    LabelPoint lp(0, c.get());
    long long const p = period_of(l);
    // 3-perf counts reach max_count + 1 in the last 2 perforations of the
    // period and wrap; the other gauges parse back to the frame's start.
    long long const end = l.three_perf ? (max_count_of(l) + 1) * 64LL - 2 : p;
    long long const stride = p / 50000 + 1;
    for (long long i = 0, s = 0; s < end; ++i, s += stride + i % 5) {
        int const si = static_cast<int>(s);
        int const want = l.three_perf ? si : si - si % l.ppf;
        ASSERT_EQ(c->get_abs_sample(c->get_abs_string(&lp, si)), want) << c->get_abs_string(&lp, si);
        ASSERT_EQ(lp.cvt()->get_sample(&lp, c->get_string(&lp, si)), want);
    }
    // The last valid frame of the last count.
    int const last = static_cast<int>(end - (l.three_perf ? 1 : l.ppf));
    EXPECT_EQ(c->get_abs_sample(c->get_abs_string(&lp, last)), last);
}

TEST_P(KeyKodeLeaf, CountsWrapOnceWhenPrinted) {
    Leaf const& l = GetParam();
    if (l.three_perf) return;  // covered by the 3-perf cases below
    Cvt c = fresh(l.type);
    LabelPoint lp(0, c.get());
    int const mc = max_count_of(l);
    std::string const dummy = std::string("XX000000").substr(0, static_cast<std::size_t>(l.prefix_len));
    char want[64];
    std::snprintf(want, sizeof want, "%s%0*d%c%02d", dummy.c_str(), l.count_len, 0, l.sep, 0);
    EXPECT_STREQ(c->get_abs_string(&lp, (mc + 1) * l.interval), want);
    // Two periods up is printed one period down: count max_count + 1.
    std::snprintf(want, sizeof want, "%s%d%c%02d", dummy.c_str(), mc + 1, l.sep, 0);
    EXPECT_STREQ(c->get_abs_string(&lp, 2 * (mc + 1) * l.interval), want);
}

TEST_P(KeyKodeLeaf, NegativeCountsPrintNegative) {
    Leaf const& l = GetParam();
    Cvt c = fresh(l.type);
    LabelPoint lp(0, c.get());
    int const first_negative = l.three_perf ? -66 : -l.interval;
    EXPECT_STREQ(c->get_abs_string(&lp, first_negative), "NEGATIVE");
    EXPECT_STREQ(c->get_abs_string(&lp, INT_MIN), "NEGATIVE");
    EXPECT_STRNE(c->get_abs_string(&lp, first_negative + 1), "NEGATIVE");
}

TEST_P(KeyKodeLeaf, FrameRangeIsCheckedWhenParsing) {
    Leaf const& l = GetParam();
    Cvt c = fresh(l.type);
    std::string const number = std::string("XX000000").substr(0, static_cast<std::size_t>(l.prefix_len)) +
                               std::string(static_cast<std::size_t>(l.count_len - 2), '0') + "12+";
    std::string const tail = l.three_perf ? ".3" : "";
    char f[16];
    std::snprintf(f, sizeof f, "%02d", l.modulus - 1);
    int const base = l.three_perf ? 12 * 64 - 2 : 12 * l.interval;
    EXPECT_EQ(c->get_abs_sample((number + f + tail).c_str()), base + (l.modulus - 1) * l.ppf);
    std::snprintf(f, sizeof f, "%02d", l.modulus);
    EXPECT_EQ(c->get_abs_sample((number + f + tail).c_str()), invalid_sample);
    EXPECT_EQ(c->get_abs_sample((number + "99" + tail).c_str()), invalid_sample);
}

TEST_P(KeyKodeLeaf, CountFieldOutOfRangeOrNegativeIsInvalid) {
    Leaf const& l = GetParam();
    Cvt c = fresh(l.type);
    std::string const pre = std::string("XX000000").substr(0, static_cast<std::size_t>(l.prefix_len));
    std::string const tail = l.three_perf ? "+00.1" : "+00";
    std::string const neg = "-" + std::string(static_cast<std::size_t>(l.count_len - 1), '1');
    EXPECT_EQ(c->get_abs_sample((pre + neg + tail).c_str()), invalid_sample);
    // The count field reads like atol: sign, digits, then anything.
    std::string const plus = "+" + std::string(static_cast<std::size_t>(l.count_len - 1), '0');
    EXPECT_EQ(c->get_abs_sample((pre + plus + tail).c_str()), 0);
}

TEST_P(KeyKodeLeaf, NormalisingIsTheRemainderByOnePeriod) {
    Leaf const& l = GetParam();
    Cvt c = fresh(l.type);
    long long const p = period_of(l);
    // One period at a time, as stored labels have always been normalised.
    auto reference = [p](long long s) {
        while (s < 0) s += p;
        while (s >= p) s -= p;
        return static_cast<int>(s);
    };
    for (int s : {INT_MIN, INT_MIN + 1, -1, 0, 1, static_cast<int>(p - 1), static_cast<int>(p),
                  static_cast<int>(p + 1), static_cast<int>(-p), static_cast<int>(-p - 1), INT_MAX - 1, INT_MAX,
                  123456789, -987654321})
        EXPECT_EQ(c->normalise_sample_unit(s), reference(s)) << s;
}

TEST_P(KeyKodeLeaf, PackedFormsAndSpans) {
    Leaf const& l = GetParam();
    Cvt c = fresh(l.type);
    LabelPoint lp(0, c.get());
    std::string const a = c->get_abs_string(&lp, 10 * l.interval);
    std::string const b = c->get_abs_string(&lp, 12 * l.interval);
    EXPECT_EQ(c->get_abs_sample_from_packed_string(a.c_str()), c->get_abs_sample(a.c_str()));
    EXPECT_EQ(c->get_sample_span_from_packed_strings(a.c_str(), b.c_str()), 2 * l.interval);
    EXPECT_EQ(c->get_sample_span_from_packed_strings(b.c_str(), a.c_str()), period_of(l) - 2 * l.interval);
}

TEST_P(KeyKodeLeaf, FreshConverterShowsTheDummyPrefix) {
    Leaf const& l = GetParam();
    Cvt c = fresh(l.type);
    LabelPoint lp(0, c.get());
    EXPECT_EQ(std::string(c->get_prefix(&lp)), std::string("XX000000").substr(0, static_cast<std::size_t>(l.prefix_len)));
    EXPECT_EQ(std::string(lp.get_prefix()), std::string("XX000000").substr(0, static_cast<std::size_t>(l.prefix_len)));
}

INSTANTIATE_TEST_SUITE_P(AllLeaves, KeyKodeLeaf, ::testing::ValuesIn(kLeaves), leaf_name);

// ---------------------------------------------------------------------------
// Worked examples and parsing rules on the 35 mm and 16 mm leaves.
struct ParseCase {
    label_t type;
    char const* text;
    int sample;
};

TEST(KeyKodeParse, SeparatorsUnderscoresAndFrameDigits) {
    ParseCase const cases[] = {
        {keycode_35_label_t, "XX0000000012", 768},         // no frame
        {keycode_35_label_t, "XX0000000012+05", 788},
        {keycode_35_label_t, "XX0000000012+5", 788},
        {keycode_35_label_t, "XX0000000012 +05", 788},     // two separators
        {keycode_35_label_t, "XX0000000012&05", 788},      // any separator
        {keycode_35_label_t, "XX0000000012 05", 788},
        {keycode_35_label_t, "XX0000000012ab5", 788},      // the frame may start at position 14
        {keycode_35_label_t, "XX0000000012abc5", invalid_sample},  // but no later
        {keycode_35_label_t, "XX0000000012+", invalid_sample},     // a separator and no frame
        {keycode_35_label_t, "XX0000000012+x", invalid_sample},
        {keycode_35_label_t, "XX0000000012+123", invalid_sample},  // more than two characters
        {keycode_35_label_t, "XX0000000012+5x", 788},              // two characters, read as atoi
        {keycode_35_label_t, "XX0000000012+16", invalid_sample},
        {keycode_35_label_t, "XX000000__12+05", 788},      // leading '_' in the count
        {keycode_35_label_t, "XX000000____+05", 20},
        {keycode_35_label_t, "XX000000  12+05", 788},      // atol skips white space
        {keycode_35_label_t, "AB1234560012+05", 788},      // the prefix is not read
        {keycode_35_label_t, "XX00000012", 768},           // ends inside the count
        {keycode_35_label_t, "XX000000", 0},               // ends at the count
        {keycode_35_label_t, "XX00000", invalid_sample},   // ends inside the prefix
        {keycode_35_label_t, "", invalid_sample},
        {keycode_16_label_t, "XX0000000012&05", 245},
        {keycode_16_label_t, "XX0000000012+16", 256},      // 16 frames fit 16 mm
        {keycode_16_label_t, "XX0000000012+20", invalid_sample},
        {keycode_35_label_6_t, "XX0000000012+05", 788},
        {keycode_35_label_6_t, "XX0000123456+05", 123456 * 64 + 20},
        {keycode_35_label_5_t, "XX000001234_+05", 1234 * 64 + 20},  // atol stops at '_'
    };
    for (ParseCase const& k : cases) {
        Cvt c = fresh(k.type);
        EXPECT_EQ(c->get_abs_sample(k.text), k.sample) << k.text;
    }
    EXPECT_EQ(fresh(keycode_35_label_t)->get_abs_sample(nullptr), invalid_sample);
}

TEST(KeyKodeFormat, WorkedExamples) {
    Cvt k35 = fresh(keycode_35_label_t);
    LabelPoint lp(0, k35.get());
    EXPECT_STREQ(k35->get_abs_string(&lp, 788), "XX0000000012+05");
    EXPECT_STREQ(k35->get_abs_string(&lp, 639999), "XX0000009999+15");
    EXPECT_STREQ(k35->get_abs_string(&lp, 640000), "XX0000000000+00");
    EXPECT_STREQ(k35->get_abs_string(&lp, -64), "NEGATIVE");
    EXPECT_STREQ(k35->get_abs_string(&lp, -4), "XX0000000000+-1");  // inside the first interval
    EXPECT_EQ(k35->normalise_sample_unit(640000), 0);
    EXPECT_EQ(k35->normalise_sample_unit(-1), 639999);

    Cvt k16 = fresh(keycode_16_label_t);
    LabelPoint lp16(0, k16.get());
    EXPECT_STREQ(k16->get_abs_string(&lp16, 245), "XX0000000012&05");
    EXPECT_EQ(k16->normalise_sample_unit(-1), 199999);

    Cvt k6 = fresh(keycode_35_label_6_t);
    LabelPoint lp6(0, k6.get());
    EXPECT_STREQ(k6->get_abs_string(&lp6, 788), "XX0000000012+05");
    EXPECT_STREQ(lp6.get_prefix(), "XX0000");

    // Through the label point.
    LabelPoint reg(788, keycode_35_label_t);
    EXPECT_STREQ(reg.get_keep_string(), reg.get_string());
}

TEST(KeyKodeThreePerf, KeepStringsRoundTripOverTheWholeCount) {
    Cvt c = fresh(keycode_353_label_t);
    LabelPoint lp(0, c.get());
    char want[64];
    for (int s = 0; s <= 639997; ++s) {
        char const* k = c->get_keep_string(&lp, s);
        if (s % 997 == 0) {
            int const t = s + 2;
            std::snprintf(want, sizeof want, "%s%0*d+%02d.%d", "XX000000", 4, t / 64, (t % 64) / 3, 2 - (t % 64) % 3 + 1);
            ASSERT_STREQ(k, want);
        }
        ASSERT_EQ(c->get_keep_sample(k), s) << k;
    }
    EXPECT_STREQ(c->get_keep_string(&lp, 639998), "XX0000000000+00.3");  // count 10000 wraps
    EXPECT_EQ(c->normalise_sample_unit(660000), 0);
    EXPECT_EQ(c->normalise_sample_unit(-1), 659999);
}

TEST(KeyKodeThreePerf, WorkedExamples) {
    Cvt c = fresh(keycode_353_label_t);
    LabelPoint lp(0, c.get());
    ParseCase const cases[] = {
        {keycode_353_label_t, "XX0000000000+00.1", 0},  {keycode_353_label_t, "XX0000000000+01.3", 1},
        {keycode_353_label_t, "XX0000000000+01.2", 2},  {keycode_353_label_t, "XX0000000000+01.1", 3},
        {keycode_353_label_t, "XX0000000001+00.3", 62},
    };
    for (ParseCase const& k : cases) {
        EXPECT_STREQ(c->get_keep_string(&lp, k.sample), k.text);
        EXPECT_STREQ(c->get_abs_string(&lp, k.sample), k.text);
        EXPECT_EQ(c->get_keep_sample(k.text), k.sample);
        EXPECT_EQ(c->get_abs_sample(k.text), k.sample);
    }
    EXPECT_STREQ(c->get_abs_perfs_string(&lp, 62), "62");
    // Too short to hold the ".N" ending, too long for the working copy.
    for (char const* t : {"", "1", ".1"}) EXPECT_EQ(c->get_keep_sample(t), invalid_sample) << t;
    std::string const long_text = "XX0000000001+00" + std::string(47, ' ') + ".3";  // 64 characters
    EXPECT_EQ(c->get_keep_sample(long_text.c_str()), invalid_sample);
    std::string const fits = "XX0000000001+00" + std::string(46, ' ') + ".3";  // 63: frame text too long
    EXPECT_EQ(c->get_keep_sample(fits.c_str()), invalid_sample);
    EXPECT_EQ(c->get_keep_sample("XX0000000001+22.1"), invalid_sample);  // frame out of range
    EXPECT_EQ(c->get_keep_sample(nullptr), invalid_sample);
}

// ---------------------------------------------------------------------------
// Prefixes: the converter remembers the last one for every point that uses it.
TEST(KeyKodePrefix, RememberedAcrossLabelPointsSharingAConverter) {
    Cvt c = fresh(keycode_35_label_t);
    LabelPoint a(0, c.get()), b(0, c.get());
    EXPECT_STREQ(c->get_prefix(&b), "XX000000");

    c->set_prefix(&a, "KN4475830012+05");
    EXPECT_STREQ(a.prefix, "KN4475830012");  // prefix and count, 12 characters
    EXPECT_STREQ(c->get_abs_string(&a, 788), "KN4475830012+05");
    // b has none of its own: it shows the last one remembered.
    EXPECT_STREQ(c->get_abs_string(&b, 788), "KN4475830012+05");

    // A short text keeps a point's prefix and remembers it.
    LabelPoint d(0, c.get());
    std::strcpy(d.prefix, "KJ123456");
    c->set_prefix(&d, "12");
    EXPECT_STREQ(d.prefix, "KJ123456");
    EXPECT_STREQ(c->get_abs_string(&b, 788), "KJ1234560012+05");

    // A short text on a point without a prefix remembers that point's
    // (empty) prefix, so the next point without one falls back to the dummy.
    c->set_prefix(&b, "5");
    EXPECT_STREQ(b.prefix, "");
    c->set_prefix(&b, "5");
    EXPECT_STREQ(b.prefix, "XX000000");
    EXPECT_STREQ(c->get_abs_string(&b, 788), "XX0000000012+05");

    // The registry converters are not affected by a private one.
    EXPECT_NE(get_static_label_cvt(keycode_35_label_t), c.get());
}

TEST(KeyKodePrefix, FiveAndSixDigitCountsTakeCharactersFromThePrefix) {
    Cvt c = fresh(keycode_35_label_5_t);
    LabelPoint a(0, c.get());
    c->set_prefix(&a, "KN4475830012+05");
    EXPECT_STREQ(a.get_prefix(), "KN44758");
    EXPECT_STREQ(c->get_abs_string(&a, 788), "KN44758" "00012+05");
}

// ---------------------------------------------------------------------------
// Over-long texts never write past a label point's fields or the converter's.
TEST(KeyKodeBounds, LongTextsStayInsideTheirBuffers) {
    std::string const big(600, '7');
    std::string const mixed = "KN447583" + std::string(300, '_') + "+" + std::string(300, '5');
    for (Leaf const& l : kLeaves) {
        Cvt c = fresh(l.type);
        LabelPoint lp(0, c.get());
        std::memset(lp.text, 'T', sizeof lp.text);
        for (std::string const& t : {big, mixed}) {
            c->set_prefix(&lp, t.c_str());
            EXPECT_EQ(std::strlen(lp.prefix), 12u);
            EXPECT_EQ(lp.text[0], 'T');  // prefix writes stay in prefix
            EXPECT_EQ(c->get_abs_sample(t.c_str()), invalid_sample) << l.name;
            EXPECT_EQ(c->get_keep_sample(t.c_str()), invalid_sample);
            EXPECT_EQ(std::strlen(c->get_prefix(&lp)), static_cast<std::size_t>(l.prefix_len));
        }
        for (int s : {INT_MIN, INT_MAX, 0, -1, 123456789})
            EXPECT_LE(std::strlen(c->get_abs_string(&lp, s)), 22u);
    }
}

TEST(KeyKodeBounds, HandBuiltWidthsAreCut) {
    // A 20-character prefix and a 20-digit count: the printed text is cut to
    // the label point's 22 characters.
    keycode_label k(16, 4, 40);
    EXPECT_EQ(k.set_count_len(20), 999999999u);
    EXPECT_EQ(k.get_prefix_length(), 20);
    LabelPoint lp(0, &k);
    std::string const prefix(40, 'K');
    k.set_prefix(&lp, prefix.c_str());
    EXPECT_EQ(std::strlen(lp.prefix), 20u);
    EXPECT_EQ(std::string(k.get_abs_string(&lp, 5)), std::string(20, 'K') + "00");
    // The base hooks have no geometry: every parse is invalid.
    EXPECT_EQ(k.get_abs_sample((std::string(20, 'K') + "12+05").c_str()), invalid_sample);
    EXPECT_EQ(k.set_count_len(0), 9u);
    EXPECT_EQ(k.set_count_len(1), 9u);
    EXPECT_EQ(k.set_count_len(3), 999u);
    // Unset widths print no padding.
    keycode_label u(16, 4, 12);
    LabelPoint up(0, &u);
    EXPECT_EQ(u.get_count_length(), -1);
    EXPECT_STREQ(u.get_abs_string(&up, 5), "0+00");
    EXPECT_EQ(u.normalise_sample_unit(-5), 59);  // period: 1 count of 16 frames of 4 perforations
}

}  // namespace
