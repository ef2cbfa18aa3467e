// KeyKode converters: every leaf against its gauge geometry, texts byte for
// byte against snprintf over a whole period, parsing rules, 3-perf keep
// strings, prefixes and bounded buffers.
#include <climits>
#include <cstdint>
#include <vector>

#include "test_support.h"

namespace {

struct Leaf {
    label_t type;
    int interval;  // perforations between edge numbers
    int ppf;       // perforations per frame
    int count_len;
    char sep;
    int perfs_per_keyKode;
    bool three_perf() const { return ppf == 3; }
    int modulus() const { return three_perf() ? 22 : interval / ppf; }
    int prefix_len() const { return 12 - count_len; }
    int max_count() const { return count_len == 4 ? 9999 : count_len == 5 ? 99999 : 999999; }
    long long period() const { return (max_count() + 1LL) * modulus() * ppf; }  // 3-perf: 66 perfs a count
    std::string dummy() const { return std::string("XX000000").substr(0, static_cast<std::size_t>(prefix_len())); }
    // The count and frame digits of the template: each position's largest digit.
    std::string numbers() const {
        int const top = modulus() - 1;
        std::string const frame = top < 10 ? "0" + std::to_string(top) : std::to_string(top / 10) + "9";
        return std::string(static_cast<std::size_t>(count_len), '9') + "+" + frame + (three_perf() ? ".3" : "");
    }
};

Leaf const kLeaves[] = {
    {keycode_35_label_t, 64, 4, 4, '+', 64},          {keycode_16_label_t, 20, 1, 4, '&', 20},
    {keycode_353_label_t, 64, 3, 4, '+', 64},         {keycode_35_label_4_t, 64, 4, 4, '+', 64},
    {keycode_35_label_5_t, 64, 4, 5, '+', 64},        {keycode_35_label_6_t, 64, 4, 6, '+', 64},
    {keycode_16_label_4_t, 20, 1, 4, '&', 20},        {keycode_16_label_5_t, 20, 1, 5, '&', 20},
    {keycode_16_label_6_t, 20, 1, 6, '&', 20},        {keycode_353_label_4_t, 64, 3, 4, '+', 64},
    {keycode_353_label_5_t, 64, 3, 5, '+', 64},       {keycode_353_label_6_t, 64, 3, 6, '+', 64},
    {keycode_352_label_t, 64, 2, 4, '+', 1},          {keycode_358_label_t, 64, 8, 4, '+', 1},
    {keycode_655_80_label_t, 80, 5, 4, '+', 80},      {keycode_658_80_label_t, 80, 8, 4, '+', 80},
    {keycode_6510_80_label_t, 80, 10, 4, '+', 80},    {keycode_655_120_label_t, 120, 5, 4, '+', 120},
    {keycode_658_120_label_t, 120, 8, 4, '+', 120},   {keycode_6510_120_label_t, 120, 10, 4, '+', 120},
    {keycode_6515_120_label_t, 120, 15, 4, '+', 120},
};
static_assert(sizeof(kLeaves) / sizeof(kLeaves[0]) == 21, "every KeyKode leaf");

void PrintTo(Leaf const& l, std::ostream* os) { *os << label_type_info(l.type).class_name; }

// The display (and 3-perf keep) text by snprintf, from the film geometry.
std::string expected_text(Leaf const& l, std::string const& prefix, int s) {
    int count, frame, perf = 0;
    if (l.three_perf()) {
        int const t = static_cast<int>(static_cast<std::uint32_t>(s) + 2u);
        count = t / 64, frame = (t % 64) / 3, perf = 2 - (t % 64) % 3;
    } else {
        count = s / l.interval, frame = (s % l.interval) / l.ppf;
    }
    if (count < 0) return "NEGATIVE";
    if (count > l.max_count()) count -= l.max_count() + 1;  // wraps once only
    char buf[128];
    if (l.three_perf())
        std::snprintf(buf, sizeof buf, "%s%0*d+%02d.%d", prefix.c_str(), l.count_len, count, frame, perf + 1);
    else
        std::snprintf(buf, sizeof buf, "%s%0*d%c%02d", prefix.c_str(), l.count_len, count, l.sep, frame);
    return buf;
}

struct KeyKodeLeaf : testing::TestWithParam<Leaf> {};

TEST_P(KeyKodeLeaf, FactsTemplatesAndPeriods) {
    Leaf const& l = GetParam();
    Cvt c = fresh(l.type);
    LabelPoint lp(0, c.get());
    EXPECT_TRUE(c->UserType() == keycode_UserLabel && c->has_prefix());
    EXPECT_EQ((std::vector<int>{c->get_modulus(), c->samples_per_unit(), c->get_prefix_length(), c->get_count_length(),
                                c->getFrameSeparator(), c->perfs_per_keyKode()}),
              (std::vector<int>{l.modulus(), l.ppf, l.prefix_len(), l.count_len, l.sep, l.perfs_per_keyKode}));
    std::size_t const pl = static_cast<std::size_t>(l.prefix_len());
    std::string q(c->full_template.template_text.c_str()), gt = q, lt = q;
    EXPECT_EQ(q, std::string(pl, '?') + l.numbers());
    EXPECT_EQ(std::string(c->count_template.template_text.c_str()), std::string(pl, '~') + l.numbers());
    for (std::size_t i = 0; i < q.size(); ++i)
        if (q[i] != '.') q[i] = '?', gt[i] = '>', lt[i] = '<';
    EXPECT_EQ(c->get_abs_string(&lp, invalid_sample), q);
    EXPECT_EQ(c->get_abs_string(&lp, past_end_sample), gt);
    EXPECT_EQ(c->get_abs_string(&lp, before_start_sample), lt);
    // Samples normalise and spans count by whole periods.
    long long const p = l.period();
    for (long long s : {INT_MIN + 0LL, -1LL, 0LL, p - 1, p, p + 1, -p - 1, INT_MAX + 0LL, -987654321LL})
        EXPECT_EQ(c->normalise_sample_unit(static_cast<int>(s)), static_cast<int>((s % p + p) % p)) << s;
    std::string const a = c->get_abs_string(&lp, 10 * l.interval), b = c->get_abs_string(&lp, 12 * l.interval);
    EXPECT_EQ(c->get_abs_sample_from_packed_string(a.c_str()), c->get_abs_sample(a.c_str()));
    EXPECT_EQ(c->get_sample_span_from_packed_strings(a.c_str(), b.c_str()), 2 * l.interval);
    EXPECT_EQ(c->get_sample_span_from_packed_strings(b.c_str(), a.c_str()), p - 2 * l.interval);
}

// Two periods at a moving stride (negatives, the count wrap, one wrap only)
// and the ends of int against snprintf; texts of the first period read back
// to the frame's start (3-perf: to the sample, up to the 2 perforations
// whose count reaches max_count + 1); a prefix of the point's own; the
// perforation text; frames at and past the gauge's last.
TEST_P(KeyKodeLeaf, TextsMatchSnprintfAndReadBack) {
    Leaf const& l = GetParam();
    Cvt c = fresh(l.type);
    LabelPoint lp(0, c.get());
    long long const p = l.period(), stride = p / 8000 + 1, iv = l.interval;
    long long const end = l.three_perf() ? (l.max_count() + 1) * 64LL - 2 : p;
    auto check = [&](long long s, std::string const& prefix) {
        int const si = static_cast<int>(s);
        ASSERT_EQ(std::string(c->get_abs_string(&lp, si)), expected_text(l, prefix, si)) << s;
        if (s >= 0 && s < end) {
            ASSERT_EQ(c->get_abs_sample(lp.text), si - si % (l.three_perf() ? 1 : l.ppf)) << s;
        }
    };
    for (long long i = 0, s = -3 * iv; s < 2 * p + 3 * iv; ++i, s += stride + i % 7) check(s, l.dummy());
    for (long long s : {-iv - 1, -iv + 1, -1LL, end - 1, end - l.ppf, p - 1, p, 2 * p, 99999999LL, 100000003LL,
                        -99999999LL, INT_MIN + 0LL, INT_MAX + 0LL})
        check(s, l.dummy());
    EXPECT_EQ(lp.cvt()->get_sample(&lp, c->get_string(&lp, 5 * l.interval)), 5 * l.interval);
    std::string const own = std::string("KN447583").substr(0, static_cast<std::size_t>(l.prefix_len()));
    c->set_prefix(&lp, (own + "0012+05").c_str());
    for (long long s = 0; s < p; s += 37 * stride + 5) check(s, own);
    LabelPoint fresh_point(0, c.get());
    char want[32];
    for (int s : {-3 * l.interval, -1, 0, 1, l.interval - 1, l.interval, 5 * l.interval + 3, INT_MIN, INT_MAX}) {
        std::snprintf(want, sizeof want, "%02d", s % l.interval);
        EXPECT_STREQ(c->get_abs_perfs_string(&fresh_point, s), want) << s;
    }
    EXPECT_STREQ(c->get_abs_perfs_string(&fresh_point, invalid_sample), "");
    // Count 12, frames at and past the last; a negative count; the count
    // field reads like atol (sign, digits, then anything).
    std::string const count12 = l.dummy() + std::string(static_cast<std::size_t>(l.count_len - 2), '0') + "12+";
    std::string const tail = l.three_perf() ? ".3" : "", rest = "+00" + std::string(l.three_perf() ? ".1" : "");
    std::snprintf(want, sizeof want, "%02d", l.modulus() - 1);
    int const base = l.three_perf() ? 12 * 64 - 2 : 12 * l.interval;
    EXPECT_EQ(c->get_abs_sample((count12 + want + tail).c_str()), base + (l.modulus() - 1) * l.ppf);
    std::snprintf(want, sizeof want, "%02d", l.modulus());
    for (std::string const& bad :
         {count12 + want + tail, count12 + "99" + tail,
          l.dummy() + "-" + std::string(static_cast<std::size_t>(l.count_len - 1), '1') + rest})
        EXPECT_EQ(c->get_abs_sample(bad.c_str()), invalid_sample) << bad;
    EXPECT_EQ(c->get_abs_sample(
                  (l.dummy() + "+" + std::string(static_cast<std::size_t>(l.count_len - 1), '0') + rest).c_str()),
              0);
}

INSTANTIATE_TEST_SUITE_P(AllLeaves, KeyKodeLeaf, testing::ValuesIn(kLeaves),
                         [](auto const& i) { return std::string(label_type_info(i.param.type).class_name); });

TEST(KeyKode35, WorkedTextsAndParsingRules) {
    Cvt c = fresh(keycode_35_label_t);
    // No frame, one digit, two separators; any separator, and the frame may
    // start at position 14 but no later; at most two frame characters, read
    // as atoi; leading '_' or blanks in the count; the prefix is not read.
    std::pair<char const*, int> const reads[] = {
        {"XX0000000012", 768},    {"XX0000000012+5", 788},  {"XX0000000012 +05", 788}, {"XX0000000012&05", 788},
        {"XX0000000012ab5", 788}, {"XX0000000012+5x", 788}, {"XX000000__12+05", 788},  {"XX000000____+05", 20},
        {"XX000000  12+05", 788}, {"AB1234560012+05", 788}, {"XX00000012", 768},       {"XX000000", 0},
    };
    for (auto const& [text, sample] : reads) EXPECT_EQ(c->get_abs_sample(text), sample) << text;
    for (char const* bad : {"XX0000000012abc5", "XX0000000012+", "XX0000000012+123", "XX0000000012+16", "XX00000", ""})
        EXPECT_EQ(c->get_abs_sample(bad), invalid_sample) << bad;
    EXPECT_EQ(c->get_abs_sample(nullptr), invalid_sample);
    EXPECT_EQ(fresh(keycode_16_label_t)->get_abs_sample("XX0000000012+16"), 256);               // 16 frames fit 16 mm
    EXPECT_EQ(fresh(keycode_35_label_5_t)->get_abs_sample("XX000001234_+05"), 1234 * 64 + 20);  // atol stops at '_'
    LabelPoint reg(788, keycode_35_label_t);
    EXPECT_STREQ(reg.get_keep_string(), reg.get_string());
}

TEST(KeyKodeThreePerf, KeepStringsRoundTripOverTheWholeCount) {
    Cvt c = fresh(keycode_353_label_t);
    LabelPoint lp(0, c.get());
    for (int s = 0; s <= 639997; ++s) ASSERT_EQ(c->get_keep_sample(c->get_keep_string(&lp, s)), s) << s;
    EXPECT_STREQ(c->get_keep_string(&lp, 639998), "XX0000000000+00.3");  // count 10000 wraps
    EXPECT_STREQ(c->get_keep_string(&lp, 62), "XX0000000001+00.3");
    // Too short for the ".N" ending, longer than the 63-character working
    // copy, a frame text too long, a frame out of range.
    std::string const too_long = "XX0000000001+00" + std::string(47, ' ') + ".3";
    std::string const fits = "XX0000000001+00" + std::string(46, ' ') + ".3";
    for (char const* t : {"", "1", ".1", too_long.c_str(), fits.c_str(), "XX0000000001+22.1"})
        EXPECT_EQ(c->get_keep_sample(t), invalid_sample) << t;
    EXPECT_EQ(c->get_keep_sample(nullptr), invalid_sample);
}

// The converter remembers the last prefix for every point that uses it.
TEST(KeyKodePrefix, RememberedAcrossLabelPointsSharingAConverter) {
    Cvt c = fresh(keycode_35_label_t);
    LabelPoint a(0, c.get()), b(0, c.get());
    c->set_prefix(&a, "KN4475830012+05");
    EXPECT_STREQ(a.prefix, "KN4475830012");  // prefix and count, 12 characters
    EXPECT_STREQ(c->get_abs_string(&b, 788), "KN4475830012+05");
    LabelPoint d(0, c.get());
    std::strcpy(d.prefix, "KJ123456");
    c->set_prefix(&d, "12");  // a short text keeps a point's prefix and remembers it
    EXPECT_STREQ(d.prefix, "KJ123456");
    EXPECT_STREQ(c->get_abs_string(&b, 788), "KJ1234560012+05");
    c->set_prefix(&b, "5");  // remembers b's empty prefix, so the dummy comes back
    EXPECT_STREQ(b.prefix, "");
    c->set_prefix(&b, "5");
    EXPECT_STREQ(b.prefix, "XX000000");
    Cvt five = fresh(keycode_35_label_5_t);  // wider counts take characters from the prefix
    LabelPoint f(0, five.get());
    five->set_prefix(&f, "KN4475830012+05");
    EXPECT_STREQ(f.get_prefix(), "KN44758");
    EXPECT_STREQ(five->get_abs_string(&f, 788), "KN4475800012+05");
    LabelPoint ink(0, ink_35_label_t);  // a point of another converter shows that one's prefix
    EXPECT_STREQ(five->get_abs_string(&ink, 788), "XXXX00012+05");
}

TEST(KeyKodeBounds, LongTextsStayInsideTheirBuffers) {
    std::string const big(600, '7'), mixed = "KN447583" + std::string(300, '_') + "+" + std::string(300, '5');
    for (Leaf const& l : kLeaves) {
        Cvt c = fresh(l.type);
        LabelPoint lp(0, c.get());
        std::memset(lp.text, 'T', sizeof lp.text);
        for (std::string const& t : {big, mixed}) {
            c->set_prefix(&lp, t.c_str());
            EXPECT_EQ(std::strlen(lp.prefix), 12u);
            EXPECT_EQ(lp.text[0], 'T');  // prefix writes stay in prefix
            EXPECT_EQ(c->get_abs_sample(t.c_str()), invalid_sample);
            EXPECT_EQ(c->get_keep_sample(t.c_str()), invalid_sample);
        }
    }
    // A 20-character prefix and a 20-digit count are cut to the point's 22 characters.
    keycode_label k(16, 4, 40);
    EXPECT_EQ(k.set_count_len(20), 999999999u);
    LabelPoint lp(0, &k);
    k.set_prefix(&lp, std::string(40, 'K').c_str());
    EXPECT_EQ(std::string(k.get_abs_string(&lp, 5)), std::string(20, 'K') + "00");
    EXPECT_EQ(k.get_abs_sample((std::string(20, 'K') + "12+05").c_str()), invalid_sample);  // no geometry
    EXPECT_EQ(k.set_count_len(0), 9u);
    keycode_label u(16, 4, 12);  // unset widths print no padding
    LabelPoint up(0, &u);
    EXPECT_STREQ(u.get_abs_string(&up, 5), "0+00");
    EXPECT_EQ(u.normalise_sample_unit(-5), 59);
}

}  // namespace
