#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include <labelsbase/labelsbase.h>
#include <labelsbase/internal.h>

namespace {

TEST(LabelPoint, InvalidPointIsSampleZeroOfTypeZero) {
    EXPECT_EQ(invalid_label_point.sample, 0);
    EXPECT_EQ(invalid_label_point.cvt(), get_static_label_cvt(prefix_label_t));
    EXPECT_STREQ(invalid_label_point.prefix, "");
    EXPECT_TRUE(invalid_label_point.primary_template);
}

TEST(LabelPoint, ArithmeticOnDifferentTypesGivesTheInvalidPoint) {
    LabelPoint a(10, pal_label_t);
    LabelPoint b(20, keycode_35_label_t);
    EXPECT_TRUE((a + b) == invalid_label_point);
    EXPECT_TRUE((a - b) == invalid_label_point);
}

TEST(LabelPoint, SumKeepsTheLeftConverterAndDropsThePrefix) {
    LabelPoint a(10, pal_label_t);
    std::strcpy(a.prefix, "KODAK");
    LabelPoint b(32, pal_label_t);
    LabelPoint s = a + b;
    EXPECT_EQ(s.sample, 42);
    EXPECT_EQ(s.cvt(), a.cvt());
    EXPECT_STREQ(s.prefix, "");
    EXPECT_EQ((a - b).sample, a.cvt()->normalise_sample_unit(-22));
    LabelPoint big(2147483647, &*a.cvt());
    EXPECT_EQ((big + b).sample, a.cvt()->normalise_sample_unit(big.sample + 32));
}

TEST(LabelPoint, CopyAndAssignmentCutLongPrefixes) {
    LabelPoint a(5, keycode_35_label_t);
    std::memset(a.prefix, 'A', sizeof a.prefix);  // no NUL at all inside the field
    a.prefix[20] = 'Z';
    LabelPoint b(a);
    EXPECT_EQ(std::strlen(b.prefix), 20u);
    LabelPoint c(0, pal_label_t);
    c = a;
    EXPECT_EQ(std::strlen(c.prefix), 20u);
    EXPECT_EQ(c.sample, 5);
    EXPECT_EQ(c.cvt(), a.cvt());
    LabelPoint& alias = c;
    c = alias;  // self-assignment does nothing
    EXPECT_EQ(c.sample, 5);
}

TEST(LabelPoint, EqualityComparesPrefixesOnlyForPrefixedTypes) {
    LabelPoint a(7, pal_label_t), b(7, pal_label_t);
    std::strcpy(a.prefix, "one");
    std::strcpy(b.prefix, "two");
    EXPECT_TRUE(a == b);
    LabelPoint c(8, pal_label_t);
    EXPECT_TRUE(a != c);
    LabelPoint k1(7, keycode_35_label_t), k2(7, keycode_35_label_t);
    std::strcpy(k1.prefix, "KA123456");
    std::strcpy(k2.prefix, "ka123456");
    EXPECT_FALSE(k1 == k2);
    std::strcpy(k2.prefix, "KA123456");
    EXPECT_TRUE(k1 == k2);
}

TEST(LabelPoint, RemovePaddingDropsTheSignColumn) {
    LabelPoint a(0, pal_label_t);
    a.label_template = LabelTemplate(LightweightString<char>("-29.59.59.29"));
    a.removePadding();
    EXPECT_STREQ(a.label_template.template_text.c_str(), "29.59.59.29");
    a.removePadding();  // only a leading '-' goes
    EXPECT_STREQ(a.label_template.template_text.c_str(), "29.59.59.29");
    LabelPoint n(0, pal_label_t);
    n.label_template = LabelTemplate(LightweightString<char>("-29.59.59.29"));
    n.sample = -1;
    n.removePadding();
    EXPECT_STREQ(n.label_template.template_text.c_str(), "-29.59.59.29");
    LabelPoint e(0, prefix_label_t);
    e.removePadding();
    EXPECT_STREQ(e.label_template.template_text.c_str(), "");
}

TEST(LabelPoint, PrefixIsCutToTheConvertersLength) {
    LabelPoint a(0, pal_label_t);
    std::strcpy(a.prefix, "ABCDEFGH");
    EXPECT_STREQ(a.get_prefix(), "");  // no prefix for timecode
}

TEST(LabelPoint, HmsfIsZeroOutsideTimecode) {
    LabelPoint a(123456, keycode_35_label_t);
    short h = 9, m = 9, s = 9, f = 9;
    a.get_hmsf(h, m, s, f);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(m, 0);
    EXPECT_EQ(s, 0);
    EXPECT_EQ(f, 0);
}

TEST(LabelPoint, ModifyCountLengthIgnoresOtherDigitsAndTypes) {
    LabelPoint a(77, pal_label_t);
    for (int n : {3, 4, 5, 6, 7, -1}) {
        a.modify_count_length(n);
        EXPECT_EQ(a.sample, 77);
        EXPECT_EQ(a.cvt(), get_static_label_cvt(pal_label_t));
    }
}

}  // namespace

namespace {

struct CountCase {
    label_t from;
    int digits;
    char const* prefix;
    int sample;
    label_t want_type;
    int want_sample;
};

class ModifyCountLength : public testing::TestWithParam<CountCase> {};

TEST_P(ModifyCountLength, MovesDigitsBetweenPrefixAndCount) {
    CountCase const& c = GetParam();
    LabelPoint p(0, c.from);
    std::strcpy(p.prefix, c.prefix);
    p.sample = c.sample;
    p.modify_count_length(c.digits);
    EXPECT_EQ(p.cvt()->type(), c.want_type);
    EXPECT_EQ(p.sample, c.want_sample);
    EXPECT_STREQ(p.prefix, c.prefix);  // the prefix text is never rewritten
    EXPECT_EQ(p.label_template.template_text, p.cvt()->full_template.template_text);
}

INSTANTIATE_TEST_SUITE_P(
    KeyKodeFamilies, ModifyCountLength,
    testing::Values(
        // 4 -> 5: the prefix digit at the 5-digit converter's prefix length (7) becomes the count's top digit.
        CountCase{keycode_35_label_4_t, 5, "KA123457", 788, keycode_35_label_5_t, 788 + 7 * 640000},
        // 5 -> 4 takes the sample modulo one 4-digit period.
        CountCase{keycode_35_label_5_t, 4, "KA123457", 788 + 7 * 640000, keycode_35_label_4_t, 788},
        // 4 -> 6 takes two digits, scaled by the 4-digit period.
        CountCase{keycode_16_label_4_t, 6, "KA123456", 245, keycode_16_label_6_t, 245 + 56 * 640000},
        // 6 -> 5 keeps the sample modulo the 5-digit period.
        CountCase{keycode_353_label_6_t, 5, "KA1234", 6400000 + 66, keycode_353_label_5_t, 66},
        // 5 -> 6 scales the extra digit by the 5-digit period.
        CountCase{keycode_353_label_5_t, 6, "KA12346", 10, keycode_353_label_6_t, 10 + 6 * 6400000},
        // Already four digits: nothing changes, not even the type.
        CountCase{keycode_35_label_t, 4, "KA123456", 99, keycode_35_label_t, 99},
        // Not a KeyKode family of three widths: nothing.
        CountCase{keycode_352_label_t, 6, "KA123456", 99, keycode_352_label_t, 99},
        CountCase{ink_35_label_t, 5, "KA12", 99, ink_35_label_t, 99},
        // Negative samples keep the dividend's sign when reduced.
        CountCase{keycode_35_label_6_t, 4, "KA1234", -640001, keycode_35_label_4_t, -1}));

TEST(LabelPointFilm, ArithmeticAcrossTypesAndPrefixEquality) {
    LabelPoint a(10, pal_label_t);
    LabelPoint b(20, keycode_35_label_t);
    EXPECT_TRUE((a + b) == invalid_label_point);
    EXPECT_TRUE((b - a) == invalid_label_point);
    LabelPoint k1(7, keycode_35_label_t), k2(7, keycode_35_label_t);
    std::strcpy(k1.prefix, "KA123456");
    std::strcpy(k2.prefix, "ka123456");
    EXPECT_FALSE(k1 == k2);
    EXPECT_STREQ(k1.get_prefix(), "KA123456");
    LabelPoint sum = k1 + k2;
    EXPECT_STREQ(sum.prefix, "");
    EXPECT_EQ(sum.sample, 14);
}

}  // namespace
