// The ink reader's normal form of a typed ink number, shared by the reader
// and the text-layout check. Internal: not part of the exported API.
#ifndef LABELSBASE_DETAIL_INK_TEXT_H
#define LABELSBASE_DETAIL_INK_TEXT_H

#include <cstddef>
#include <cstring>

namespace lb {

// The normalised form of a typed ink number: 11 characters at most.
struct InkText {
    char chars[16];
    std::size_t size;
};

// Typed ink numbers come with or without a gap between prefix and count and
// sometimes without the prefix: keep the 4 prefix characters and the last 7
// (count, separator, frame) of a long text, pad a short one with '0's in
// front of the prefix. The count is chars[4..7].
inline InkText normalise_ink(char const* t) {
    InkText u;
    // Only whether the text reaches 12 characters matters before the copy.
    std::size_t n = 0;
    while (n < 12 && t[n]) ++n;
    if (n == 12) {
        n += std::strlen(t + 12);
        std::memcpy(u.chars, t, 4);
        std::memcpy(u.chars + 4, t + n - 7, 7);
        u.size = 11;
    } else {
        std::size_t const pad = (11 - n) < 4 ? 11 - n : 4;  // [0, 4]
        for (std::size_t i = 0; i < pad; ++i) u.chars[i] = '0';
        for (std::size_t i = 0; i < n; ++i) u.chars[pad + i] = t[i];
        u.size = pad + n;  // [4, 11]
    }
    u.chars[u.size] = '\0';
    return u;
}

}  // namespace lb

#endif
