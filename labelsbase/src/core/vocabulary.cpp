// Names of the vocabulary rows: the words users type for media, rates and
// label categories.
#include "labelsbase/vocabulary.h"

namespace {

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// a equals b ignoring case over a's first n characters, and b ends there.
bool same_word(char const* a, std::size_t n, char const* b) {
    std::size_t i = 0;
    for (; i < n; ++i)
        if (b[i] == '\0' || lower(a[i]) != lower(b[i])) return false;
    return b[i] == '\0';
}

std::size_t length(char const* s) {
    std::size_t n = 0;
    while (s[n]) ++n;
    return n;
}

constexpr char const* kCategoryNames[] = {"none", "any", "text", "timecode", "keycode", "feet", "ink", "film_frames"};
static_assert(sizeof(kCategoryNames) / sizeof(kCategoryNames[0]) == film_frames_UserLabel + 1,
              "one name per user label category");

}  // namespace

namespace lb {

char const* user_label_type_name(UserLabelType u) {
    int const i = static_cast<int>(u);
    return (i >= 0 && i <= film_frames_UserLabel) ? kCategoryNames[i] : kCategoryNames[0];
}

int medium_from_name(char const* name) {
    if (!name) return -1;
    std::size_t n = length(name);
    constexpr char kSuffix[] = "_medium";
    constexpr std::size_t kSuffixLen = sizeof kSuffix - 1;
    if (n > kSuffixLen && same_word(name + n - kSuffixLen, kSuffixLen, kSuffix)) n -= kSuffixLen;
    for (MediumRow const& m : kMedia)
        if (m.name && same_word(name, n, m.name)) return m.medium;
    return -1;
}

int rate_from_name(char const* name) {
    if (!name) return -1;
    std::size_t const n = length(name);
    for (RateRow const& r : kRates) {
        if (!r.name) continue;
        if (same_word(name, n, r.name)) return r.rate;
        for (char const* a : r.aliases)
            if (a && same_word(name, n, a)) return r.rate;
    }
    return -1;
}

}  // namespace lb
