// Checks on typed label texts before a converter reads them: the converters
// read leniently, so a caller that must refuse nonsense asks these first.
#include <cstring>

#include "detail/ink_text.h"
#include "labelsbase/labelcvt.h"

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_white(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The first k characters are digits (or '_' where allowed); stops at the end of the text.
bool all_digits(char const* p, std::size_t k, bool underscore) {
    for (std::size_t i = 0; i < k; ++i)
        if (!(is_digit(p[i]) || (underscore && p[i] == '_'))) return false;
    return true;
}

}  // namespace

bool label_text_is_plausible(label_cvt const* c, char const* text) {
    if (!c || !text) return false;
    bool digit = false;
    for (char const* p = text; *p && !digit; ++p) digit = is_digit(*p);
    if (!digit) return false;
    std::size_t const n = std::strlen(text);
    switch (c->UserType()) {
    case keycode_UserLabel: {
        int const pre = c->get_prefix_length(), cnt = c->get_count_length();
        if (pre < 0 || cnt < 0) return false;
        std::size_t const p = static_cast<std::size_t>(pre), k = static_cast<std::size_t>(cnt);
        return n >= p + k && all_digits(text + p, k, true);
    }
    case ink_UserLabel: return all_digits(lb::normalise_ink(text).chars + 4, 4, false);
    case feet_UserLabel: {
        char const* p = text;
        while (is_blank(*p)) ++p;
        if (*p == '-') ++p;
        return is_digit(*p);
    }
    default: return true;
    }
}

std::size_t label_text_trim(label_cvt const* c, char const* in, char* out, std::size_t size) {
    if (!in || !out || size == 0) return 0;
    while (is_white(*in)) ++in;
    std::size_t n = std::strlen(in);
    while (n > 0 && is_white(in[n - 1])) --n;
    bool const squeeze = c && c->UserType() == keycode_UserLabel;
    std::size_t o = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (squeeze && is_blank(in[i])) continue;
        if (o + 1 >= size) {
            out[0] = '\0';
            return 0;
        }
        out[o++] = in[i];
    }
    out[o] = '\0';
    return o + 1;
}
