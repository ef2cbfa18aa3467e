// Label-text checks: which texts hold digits where a type's reader takes
// its count, and which converter texts are failure texts.
#include <string>

#include <gtest/gtest.h>

#include "labelsbase/labelsbase.h"
#include "labelsbase/text_checks.h"

namespace {

TEST(TextChecks, CountDigitsWhereTheReaderTakesThem) {
    struct { label_t type; char const* text; bool digits; } const cases[] = {
        // KeyKode: the count after the 8-character prefix is digits or '_'.
        {keycode_35_label_t, "KJ2312340012+05", true},   {keycode_35_label_t, "KJ231234ABCD+05", false},
        {keycode_35_label_t, "XX000001234_+05", true},   {keycode_35_label_t, "KJ23123400", false},  // count cut short
        {keycode_35_label_t, "nonsense", false},         {keycode_16_label_t, "XX0000000012+16", true},
        // Ink: the count of the reader's normal form (prefix, last 7 characters).
        {ink_35_label_t, "ABCD1234+05", true},           {ink_35_label_t, "ABCDxx12+05", false},
        {ink_35_label_t, "ABCD12345XY2+05", false},      {ink_35_label_t, "ABCD 99991234+05", true},
        {ink_35_label_t, "1234+05", true},               {ink_35_label_t, "12+05", false},  // padded: count "12+0"
        // Feet: a number first, after blanks and one '-'.
        {foot_35_label_t, "0012+05", true},              {foot_35_label_t, " \t-12+05", true},
        {foot_35_label_t, "--12", false},                {foot_35_label_t, "x12+05", false},
        // Everything else only needs a digit.
        {pal_label_t, "00:00:00:01", true},              {pal_label_t, "::", false},
        {film_frames_label_t, "", false},                {ntsc_drop_label_t, "a1", true},
    };
    for (auto const& c : cases)
        EXPECT_EQ(has_count_digits(get_static_label_cvt(c.type), c.text), c.digits) << c.type << " '" << c.text << "'";
    EXPECT_FALSE(has_count_digits(nullptr, "12"));
    EXPECT_FALSE(has_count_digits(get_static_label_cvt(pal_label_t), nullptr));
}

TEST(TextChecks, FailureTextsOfEveryConverter) {
    for (int t = 0; t < label_type_count; ++t) {
        label_cvt* const c = get_static_label_cvt(static_cast<label_t>(t));
        LabelPoint p(0, static_cast<label_t>(t));
        std::string const invalid = c->get_abs_string(&p, invalid_sample);
        std::string const ordinary = c->get_abs_string(&p, 1);
        EXPECT_TRUE(is_failure_text(c, invalid.c_str())) << t << " " << invalid;
        EXPECT_TRUE(c->type() == dummy_label_t || !is_failure_text(c, ordinary.c_str())) << t << " " << ordinary;
    }
    EXPECT_TRUE(is_failure_text(get_static_label_cvt(keycode_35_label_t), kNegativeCountText));
    EXPECT_TRUE(is_failure_text(nullptr, "01:00:00:00"));
}

}  // namespace
