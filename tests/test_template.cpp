// Label templates: invalid strings and the typing alphabet.
#include "test_support.h"

namespace {

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
