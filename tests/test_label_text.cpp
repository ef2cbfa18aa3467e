// Typed-text checks: which texts can be meant as labels of a type, and the
// trimming every reader of typed text applies first.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "labelsbase/labelcvt.h"

namespace {

TEST(LabelText, PlausibleLayouts) {
    struct {
        label_t type;
        char const* text;
        bool plausible;
    } const cases[] = {
        // KeyKode: the count after the 8-character prefix is digits or '_'.
        {keycode_35_label_t, "KJ2312340012+05", true},
        {keycode_35_label_t, "KJ231234ABCD+05", false},
        {keycode_35_label_t, "XX000001234_+05", true},
        {keycode_35_label_t, "KJ23123400", false},  // count cut short
        {keycode_35_label_t, "nonsense", false},
        {keycode_16_label_t, "XX0000000012+16", true},
        // Ink: the count of the reader's normal form (prefix, last 7 characters).
        {ink_35_label_t, "ABCD1234+05", true},
        {ink_35_label_t, "ABCDxx12+05", false},
        {ink_35_label_t, "ABCD12345XY2+05", false},
        {ink_35_label_t, "ABCD 99991234+05", true},
        {ink_35_label_t, "1234+05", true},
        {ink_35_label_t, "12+05", false},  // padded: "0000" prefix, "12+0" count
        // Feet: a number first, after blanks and one '-'.
        {foot_35_label_t, "0012+05", true},
        {foot_35_label_t, " \t-12+05", true},
        {foot_35_label_t, "--12", false},
        {foot_35_label_t, "x12+05", false},
        // Everything else only needs a digit.
        {pal_label_t, "00:00:00:01", true},
        {pal_label_t, "::", false},
        {film_frames_label_t, "", false},
        {ntsc_drop_label_t, "a1", true},
    };
    for (auto const& c : cases)
        EXPECT_EQ(label_text_is_plausible(get_static_label_cvt(c.type), c.text), c.plausible)
            << c.type << " '" << c.text << "'";
    EXPECT_FALSE(label_text_is_plausible(nullptr, "12"));
    EXPECT_FALSE(label_text_is_plausible(get_static_label_cvt(pal_label_t), nullptr));
}

TEST(LabelText, TrimAndSqueeze) {
    struct {
        label_t type;
        char const* in;
        char const* out;
    } const cases[] = {
        {pal_label_t, " \t01:00:00:00\r\n", "01:00:00:00"},
        {pal_label_t, "01 00", "01 00"},
        {keycode_35_label_t, " KJ 23 1234 0012+05 ", "KJ2312340012+05"},
        {ink_35_label_t, " ABCD 1234+05\n", "ABCD 1234+05"},
        {pal_label_t, " \r\n\t", ""},
    };
    char out[32];
    for (auto const& c : cases) {
        EXPECT_EQ(label_text_trim(get_static_label_cvt(c.type), c.in, out, sizeof out), std::strlen(c.out) + 1) << c.in;
        EXPECT_STREQ(out, c.out);
    }
    // Exactly full, one byte short, and no room at all.
    std::string const text(31, '7');
    EXPECT_EQ(label_text_trim(nullptr, text.c_str(), out, sizeof out), 32u);
    EXPECT_EQ(label_text_trim(nullptr, (text + "7").c_str(), out, sizeof out), 0u);
    EXPECT_STREQ(out, "");
    char guard[2] = {'x', 'y'};
    EXPECT_EQ(label_text_trim(nullptr, "1", guard, 0), 0u);
    EXPECT_EQ(guard[0], 'x');
    EXPECT_EQ(label_text_trim(nullptr, nullptr, out, sizeof out), 0u);
}

}  // namespace
