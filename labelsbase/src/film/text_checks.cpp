// Checks of label texts around the lenient readers and the failure texts.
#include "labelsbase/text_checks.h"

#include <cstring>

#include "detail/ink_text.h"
#include "labelsbase/LabelTemplate.h"
#include "labelsbase/label_types.h"

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

bool digits(char const* p, std::size_t n, bool underscore) {
    for (std::size_t i = 0; i < n; ++i)
        if (!(is_digit(p[i]) || (underscore && p[i] == '_'))) return false;
    return true;
}

}  // namespace

bool has_count_digits(label_cvt* c, char const* t) {
    if (!c || !t) return false;
    bool any = false;
    for (char const* p = t; *p && !any; ++p) any = is_digit(*p);
    if (!any) return false;
    std::size_t const n = std::strlen(t);
    switch (c->UserType()) {
        case keycode_UserLabel: {
            std::size_t const pre = static_cast<std::size_t>(c->get_prefix_length());
            std::size_t const cnt = static_cast<std::size_t>(c->get_count_length());
            return n >= pre + cnt && digits(t + pre, cnt, true);
        }
        case ink_UserLabel: {
            lb::InkText const u = lb::normalise_ink(t);
            return u.size >= 8 && digits(u.chars + 4, 4, false);
        }
        case feet_UserLabel: {
            while (*t == ' ' || *t == '\t') ++t;
            if (*t == '-') ++t;
            return is_digit(*t);
        }
        default: return true;
    }
}

bool is_failure_text(label_cvt* c, char const* text) {
    if (!c || !text) return true;
    if (std::strcmp(text, kNoTypeText) == 0 || std::strcmp(text, kNegativeCountText) == 0) return true;
    char const* inv = c->full_template.getInvalidString(invalid_sample);
    return inv[0] != '\0' && std::strcmp(text, inv) == 0;
}
