// Typed-text checks: which texts can be meant as labels of a type, the
// trimming every reader of typed text applies first, and which converter
// texts are failure texts.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "labelsbase/labelsbase.h"
#include "labelsbase/text_checks.h"

namespace {

// KeyKode: the count after the 8-character prefix is digits or '_', not cut
// short. Ink: the count of the reader's normal form (prefix, last 7
// characters; "12+05" pads to prefix "0000" and count "12+0"). Feet: a
// number first, after blanks and one '-'. Everything else only needs a digit.
TEST(LabelText, PlausibleLayouts) {
    struct {
        label_t type;
        std::vector<char const*> plausible, not_plausible;
    } const cases[] = {
        {keycode_35_label_t, {"KJ2312340012+05", "XX000001234_+05"}, {"KJ231234ABCD+05", "KJ23123400", "nonsense"}},
        {keycode_16_label_t, {"XX0000000012+16"}, {}},
        {ink_35_label_t, {"ABCD1234+05", "ABCD 99991234+05", "1234+05"}, {"ABCDxx12+05", "ABCD12345XY2+05", "12+05"}},
        {foot_35_label_t, {"0012+05", " \t-12+05"}, {"--12", "x12+05"}},
        {pal_label_t, {"00:00:00:01"}, {"::"}},
        {film_frames_label_t, {}, {""}},
        {ntsc_drop_label_t, {"a1"}, {}},
    };
    for (auto const& c : cases)
        for (bool want : {true, false})
            for (char const* text : want ? c.plausible : c.not_plausible)
                EXPECT_EQ(label_text_is_plausible(get_static_label_cvt(c.type), text), want)
                    << c.type << " '" << text << "'";
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
