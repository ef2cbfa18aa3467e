#include "labelsbase/LabelTemplate.h"

#include <cstddef>

namespace {
bool is_letter(char t) { return (t >= 'A' && t <= 'Z') || (t >= 'a' && t <= 'z'); }
bool is_digit(char t) { return t >= '0' && t <= '9'; }
}  // namespace

LabelTemplate::LabelTemplate(LightweightString<char> text) { set(text); }

void LabelTemplate::set(LightweightString<char> text) {
    template_text = text;
    invalid_cache = LightweightString<char>();
    past_end_cache = LightweightString<char>();
    before_start_cache = LightweightString<char>();
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
    // The caches are conceptually part of the template's value: built lazily.
    LabelTemplate* self = const_cast<LabelTemplate*>(this);
    LightweightString<char>* cache = &self->invalid_cache;
    char fill = '?';
    if (s == 100000002) {
        cache = &self->before_start_cache;
        fill = '<';
    } else if (s == 100000001) {
        cache = &self->past_end_cache;
        fill = '>';
    }
    if (!cache->empty()) return cache->c_str();
    if (template_text.empty()) return "";
    *cache = LightweightString<char>(template_text.c_str(), template_text.size());
    char* p = cache->unshare();
    for (std::size_t i = 0; i < cache->size(); ++i) {
        char const t = p[i];
        if (is_letter(t) || is_digit(t) || t == '+' || t == '-' || t == '?') p[i] = fill;
    }
    return cache->c_str();
}
