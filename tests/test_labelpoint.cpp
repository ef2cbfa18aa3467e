// Label points: arithmetic, equality, prefixes, padding, count lengths; and
// label templates: invalid strings and the typing alphabet.
#include "test_support.h"

namespace {

TEST(LabelPoint, ArithmeticKeepsTheLeftConverterAndDropsThePrefix) {
    EXPECT_TRUE(invalid_label_point.sample == 0 && invalid_label_point.cvt() == get_static_label_cvt(prefix_label_t));
    LabelPoint tc(10, pal_label_t), key(20, keycode_35_label_t);
    EXPECT_TRUE((tc + key) == invalid_label_point && (key - tc) == invalid_label_point);
    std::strcpy(tc.prefix, "KODAK");
    LabelPoint b(32, pal_label_t);
    LabelPoint const s = tc + b;
    EXPECT_TRUE(s.sample == 42 && s.cvt() == tc.cvt() && s.prefix[0] == '\0');
    EXPECT_EQ((tc - b).sample, 2159978);  // normalised into the day
    LabelPoint big(2147483647, pal_label_t);
    EXPECT_EQ((big + b).sample, tc.cvt()->normalise_sample_unit(big.sample + 32));
}

TEST(LabelPoint, EqualityComparesPrefixesOnlyForPrefixedTypes) {
    LabelPoint a(7, pal_label_t), b(7, pal_label_t), c(8, pal_label_t);
    std::strcpy(a.prefix, "one");
    std::strcpy(b.prefix, "two");
    EXPECT_TRUE(a == b && a != c);
    LabelPoint k1(7, keycode_35_label_t), k2(7, keycode_35_label_t);
    std::strcpy(k1.prefix, "KA123456");
    std::strcpy(k2.prefix, "ka123456");
    EXPECT_FALSE(k1 == k2);  // letter case counts
    std::strcpy(k2.prefix, "KA123456");
    EXPECT_TRUE(k1 == k2);
    std::strcpy(a.prefix, "ABCDEFGH");
    EXPECT_STREQ(a.get_prefix(), "");  // no prefix for timecode
}

TEST(LabelPoint, CopyAndAssignmentCutLongPrefixes) {
    LabelPoint a(5, keycode_35_label_t);
    std::memset(a.prefix, 'A', sizeof a.prefix);  // no NUL inside the field
    LabelPoint b(a), c(0, pal_label_t);
    c = a;
    EXPECT_TRUE(std::strlen(b.prefix) == 20u && std::strlen(c.prefix) == 20u && c.sample == 5 && c.cvt() == a.cvt());
}

TEST(LabelPoint, ConstrainPositiveAndRemovePadding) {
    struct {
        label_t type;
        int want;
    } const cases[] = {{pal_label_t, 2159999}, {ntsc_drop_label_t, 2589407}, {keycode_35_label_t, -1}};
    for (auto const& c : cases) {
        LabelPoint p(0, c.type);
        p.sample = -1;  // the constructor would normalise it
        p.constrain_positive();
        EXPECT_EQ(p.sample, c.want) << c.type;
    }
    LabelPoint a(0, pal_label_t);
    a.label_template = LabelTemplate(LightweightString<char>("-29.59.59.29"));
    a.removePadding();
    EXPECT_STREQ(a.label_template.template_text.c_str(), "29.59.59.29");
    a.removePadding();  // only a leading '-' goes
    EXPECT_STREQ(a.label_template.template_text.c_str(), "29.59.59.29");
    LabelPoint n(0, pal_label_t);
    n.sample = -1;
    n.removePadding();  // a negative point keeps its sign column
    EXPECT_STREQ(n.label_template.template_text.c_str(), "-29.59.59.29");
    EXPECT_STREQ(n.get_string(), "-00:00:00.01");
}

TEST(LabelPoint, ModifyCountLengthMovesDigitsBetweenPrefixAndCount) {
    struct {
        label_t from;
        int digits;
        char const* prefix;
        int sample;
        label_t want_type;
        int want_sample;
    } const cases[] = {
        // The prefix digit at the wider converter's prefix length becomes the count's top digit.
        {keycode_35_label_4_t, 5, "KA123457", 788, keycode_35_label_5_t, 788 + 7 * 640000},
        {keycode_35_label_5_t, 4, "KA123457", 788 + 7 * 640000, keycode_35_label_4_t, 788},  // modulo a period
        {keycode_16_label_4_t, 6, "KA123456", 245, keycode_16_label_6_t, 245 + 56 * 640000},
        {keycode_353_label_6_t, 5, "KA1234", 6400000 + 66, keycode_353_label_5_t, 66},
        {keycode_353_label_5_t, 6, "KA12346", 10, keycode_353_label_6_t, 10 + 6 * 6400000},
        {keycode_35_label_t, 4, "KA123456", 99, keycode_35_label_t, 99},    // already four: not even the type
        {keycode_352_label_t, 6, "KA123456", 99, keycode_352_label_t, 99},  // no family of widths
        {pal_label_t, 5, "", 77, pal_label_t, 77},
        {keycode_35_label_6_t, 4, "KA1234", -640001, keycode_35_label_4_t, -1},  // the dividend's sign
    };
    for (auto const& c : cases) {
        LabelPoint p(0, c.from);
        std::strcpy(p.prefix, c.prefix);
        p.sample = c.sample;
        p.modify_count_length(c.digits);
        EXPECT_EQ(p.cvt()->type(), c.want_type) << c.from << " to " << c.digits;
        EXPECT_EQ(p.sample, c.want_sample) << c.from << " to " << c.digits;
        EXPECT_STREQ(p.prefix, c.prefix);  // the prefix text is never rewritten
        EXPECT_EQ(p.label_template.template_text, p.cvt()->full_template.template_text);
    }
}

LabelTemplate tmpl(char const* t) { return LabelTemplate(LightweightString<char>(t)); }

TEST(LabelTemplate, InvalidStrings) {
    struct {
        char const* tmpl;
        int sample;
        char const* want;
    } const rows[] = {
        {"-29.59.59.29", invalid_sample, "???.??.??.??"},      {"-29.59.59.29", past_end_sample, ">>>.>>.>>.>>"},
        {"-29.59.59.29", before_start_sample, "<<<.<<.<<.<<"}, {"-29.59.59.29", 12, "???.??.??.??"},
        {"????9999+19", invalid_sample, "???????????"},        {"~~~~9999+19", past_end_sample, "~~~~>>>>>>>"},
        {"Az9 :;&/#", before_start_sample, "<<< :;&/#"},       {"", invalid_sample, ""},
    };
    for (auto const& r : rows) EXPECT_STREQ(tmpl(r.tmpl).getInvalidString(r.sample), r.want) << r.tmpl;
    EXPECT_STREQ(LabelTemplate().getInvalidString(invalid_sample), "");
    LabelTemplate t = tmpl("-29.59.59.29");  // the forms follow a new template text
    EXPECT_STREQ(t.getInvalidString(invalid_sample), "???.??.??.??");
    t.set(LightweightString<char>("9+9"));
    EXPECT_STREQ(t.getInvalidString(invalid_sample), "???");
    EXPECT_STREQ(t.getInvalidString(past_end_sample), ">>>");
}

// Every template character against every typed byte, by the alphabet:
// '?' any printable, digits and letters up to themselves, '-' a sign or
// blank, '~' and punctuation separators, a space nothing.
TEST(LabelTemplate, EveryTemplateCharacterAgainstEveryByte) {
    for (int tc = 1; tc < 256; ++tc) {
        char const t = static_cast<char>(tc);
        char const tt[2] = {t, 0};
        LabelTemplate lt = tmpl(tt);
        bool const digit = t >= '0' && t <= '9', letter = (t >= 'A' && t <= 'Z') || (t >= 'a' && t <= 'z');
        bool const separator = !digit && !letter && t != '?' && t != '-' && t != ' ';
        for (int c = 0; c < 256; ++c) {
            int const sc = static_cast<signed char>(c);
            bool const want = t == '?'   ? sc >= 33 && sc <= 126
                              : digit    ? sc >= '0' && sc <= t
                              : letter   ? sc >= 'A' && sc <= t
                              : t == '-' ? sc == ' ' || sc == '+' || sc == '-'
                                         : false;
            ASSERT_EQ(lt.isValidChar(static_cast<char>(c), 0), want) << "template " << tc << " char " << c;
        }
        ASSERT_EQ(lt.isAtSeparator(0), separator) << "template " << tc;
    }
}

// Longer templates: each position follows its own character; none past the end.
TEST(LabelTemplate, WorkedPositions) {
    LabelTemplate t = tmpl("-9999.39");
    EXPECT_TRUE(t.isAtSeparator(5) && !t.isValidChar('.', 5) && !t.isAtSeparator(6));
    EXPECT_TRUE(t.isValidChar('3', 6) && !t.isValidChar('4', 6));
    for (unsigned p : {8u, 9u, 0xFFFFFFFFu}) EXPECT_FALSE(t.isValidChar('0', p) || t.isAtSeparator(p)) << p;
    EXPECT_FALSE(LabelTemplate().isValidChar('0', 0));
}

}  // namespace
