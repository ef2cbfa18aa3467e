#include "labelsbase/LabelTemplate.h"

#include <cstddef>

namespace {
bool is_letter(char t) { return (t >= 'A' && t <= 'Z') || (t >= 'a' && t <= 'z'); }
bool is_digit(char t) { return t >= '0' && t <= '9'; }
}  // namespace

LabelTemplate::LabelTemplate(LightweightString<char> text) { set(text); }

namespace {
// The template with letters, digits, '+', '-' and '?' replaced by fill.
LightweightString<char> invalid_form(LightweightString<char> const& t, char fill) {
    if (t.empty()) return LightweightString<char>();
    LightweightString<char> form(t.c_str(), t.size());
    char* p = form.unshare();
    for (std::size_t i = 0; i < form.size(); ++i) {
        char const c = p[i];
        if (is_letter(c) || is_digit(c) || c == '+' || c == '-' || c == '?') p[i] = fill;
    }
    return form;
}
}  // namespace

void LabelTemplate::set(LightweightString<char> text) {
    template_text = text;
    invalid_cache = invalid_form(template_text, '?');
    past_end_cache = invalid_form(template_text, '>');
    before_start_cache = invalid_form(template_text, '<');
}

void LabelTemplate::make_immutable() noexcept {
    template_text.make_immutable();
    invalid_cache.make_immutable();
    past_end_cache.make_immutable();
    before_start_cache.make_immutable();
}

bool LabelTemplate::isAtSeparator(unsigned pos) const {
    if (template_text.empty() || pos >= template_text.size()) return false;
    char const t = template_text.c_str()[pos];
    if (is_letter(t) || is_digit(t)) return false;
    if (t == ' ' || t == '-' || t == '?') return false;
    return true;
}

bool LabelTemplate::isValidChar(char c, unsigned pos) const {
    if (template_text.empty() || pos >= template_text.size()) return false;
    char const t = template_text.c_str()[pos];
    signed char const sc = static_cast<signed char>(c);
    if (t == '~') return false;
    if (t == '?') return sc > 32 && sc != 127;
    if (isAtSeparator(pos)) return false;
    if (is_letter(t)) return sc > 64 && sc <= static_cast<signed char>(t);
    if (is_digit(t)) return sc > 47 && sc <= static_cast<signed char>(t);
    if (t == '-') return c == ' ' || c == '+' || c == '-';
    return false;
}

char const* LabelTemplate::getInvalidString(int s) const {
    if (s == 100000002) return before_start_cache.c_str();
    if (s == 100000001) return past_end_cache.c_str();
    return invalid_cache.c_str();
}
