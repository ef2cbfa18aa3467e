#include <gtest/gtest.h>

#include <string>

#include <labelsbase/labelsbase.h>

namespace {

LabelTemplate tmpl(char const* t) { return LabelTemplate(LightweightString<char>(t)); }

TEST(LabelTemplateInvalid, ThreeFormsOfTimecodeTemplate) {
    LabelTemplate t = tmpl("-29.59.59.29");
    EXPECT_STREQ(t.getInvalidString(invalid_sample), "???.??.??.??");
    EXPECT_STREQ(t.getInvalidString(past_end_sample), ">>>.>>.>>.>>");
    EXPECT_STREQ(t.getInvalidString(before_start_sample), "<<<.<<.<<.<<");
    // Any other sample uses the '?' form.
    EXPECT_STREQ(t.getInvalidString(12), "???.??.??.??");
}

TEST(LabelTemplateInvalid, FillReplacesLettersDigitsPlusMinusQuestion) {
    EXPECT_STREQ(tmpl("????9999+19").getInvalidString(invalid_sample), "???????????");
    EXPECT_STREQ(tmpl("~~~~9999+19").getInvalidString(past_end_sample), "~~~~>>>>>>>");
    EXPECT_STREQ(tmpl("Az9 :;&/#").getInvalidString(before_start_sample), "<<< :;&/#");
    EXPECT_STREQ(tmpl("").getInvalidString(invalid_sample), "");
}

TEST(LabelTemplateInvalid, CachesAreBuiltOnceAndEmptiedBySet) {
    LabelTemplate t = tmpl("-99.99");
    char const* first = t.getInvalidString(invalid_sample);
    EXPECT_EQ(first, t.getInvalidString(invalid_sample));  // cached
    EXPECT_FALSE(t.invalid_cache.empty());
    EXPECT_TRUE(t.past_end_cache.empty());  // only the requested form is built
    t.set(LightweightString<char>("9+9"));
    EXPECT_TRUE(t.invalid_cache.empty());
    EXPECT_STREQ(t.getInvalidString(invalid_sample), "???");
    EXPECT_STREQ(t.getInvalidString(past_end_sample), ">>>");
}

TEST(LabelTemplateInvalid, CopiesShareTheTemplateText) {
    LabelTemplate a = tmpl("-29.59.59.29");
    LabelTemplate b = a;
    EXPECT_TRUE(a.template_text.shares_buffer_with(b.template_text));
    b.getInvalidString(invalid_sample);
    EXPECT_STREQ(a.template_text.c_str(), "-29.59.59.29");  // filling b's cache leaves a alone
}

// Every template character against every typed byte, checked against the
// alphabet written out independently.
struct Expect {
    bool valid;
    bool separator;
};

Expect expected(char t, int c) {
    bool const letter = (t >= 'A' && t <= 'Z') || (t >= 'a' && t <= 'z');
    bool const digit = t >= '0' && t <= '9';
    if (t == '?') return {c >= 33 && c <= 126, false};
    if (t == '~') return {false, true};
    if (digit) return {c >= '0' && c <= t, false};
    if (letter) return {c >= 'A' && c <= t, false};
    if (t == '-') return {c == ' ' || c == '+' || c == '-', false};
    if (t == ' ') return {false, false};
    return {false, true};
}

TEST(LabelTemplateAlphabet, EveryTemplateCharacterAgainstEveryByte) {
    for (int tc = 1; tc < 256; ++tc) {
        char const tt[2] = {static_cast<char>(tc), 0};
        LabelTemplate t = tmpl(tt);
        for (int c = 0; c < 256; ++c) {
            Expect const e = expected(static_cast<char>(tc), static_cast<signed char>(c));
            ASSERT_EQ(t.isValidChar(static_cast<char>(c), 0), e.valid) << "template " << tc << " char " << c;
        }
        ASSERT_EQ(t.isAtSeparator(0), expected(static_cast<char>(tc), 0).separator) << "template " << tc;
    }
}

TEST(LabelTemplateAlphabet, WorkedPositions) {
    LabelTemplate t = tmpl("-9999.39");
    EXPECT_TRUE(t.isValidChar(' ', 0));
    EXPECT_TRUE(t.isValidChar('+', 0));
    EXPECT_TRUE(t.isValidChar('-', 0));
    EXPECT_FALSE(t.isValidChar('0', 0));
    EXPECT_TRUE(t.isAtSeparator(5));
    EXPECT_FALSE(t.isValidChar('.', 5));
    EXPECT_TRUE(t.isValidChar('3', 6));
    EXPECT_FALSE(t.isValidChar('4', 6));
    LabelTemplate k = tmpl("~~~~9999+19");
    for (unsigned p = 0; p < 4; ++p) {
        EXPECT_TRUE(k.isAtSeparator(p));
        EXPECT_FALSE(k.isValidChar('A', p));
    }
    EXPECT_TRUE(k.isAtSeparator(8));
}

TEST(LabelTemplateAlphabet, PositionsAtOrPastTheEnd) {
    LabelTemplate t = tmpl("-29.59.59.29");
    for (unsigned p : {12u, 13u, 1000u, 0xFFFFFFFFu}) {
        EXPECT_FALSE(t.isValidChar('0', p));
        EXPECT_FALSE(t.isAtSeparator(p));
    }
    LabelTemplate e = tmpl("");
    EXPECT_FALSE(e.isValidChar('0', 0));
    EXPECT_FALSE(e.isAtSeparator(0));
    LabelTemplate absent;
    EXPECT_FALSE(absent.isValidChar('0', 0));
    EXPECT_STREQ(absent.getInvalidString(invalid_sample), "");
}

}  // namespace
