// Which converter texts are failure texts.
#include <string>

#include <gtest/gtest.h>

#include "labelsbase/labelsbase.h"
#include "labelsbase/text_checks.h"

namespace {

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
