// The ink reader's layout of a typed ink number, shared by the ink
// converter and the text checks.
#ifndef LABELSBASE_DETAIL_INK_TEXT_H
#define LABELSBASE_DETAIL_INK_TEXT_H

#include <cstddef>

namespace lb {

// The normalised form of a typed ink number: 11 characters at most.
struct InkText {
    char chars[16];
    std::size_t size;
};

// Typed ink numbers come with or without a gap between prefix and count and
// sometimes without the prefix: keep the 4 prefix characters and the last 7
// (count, separator, frame) of a long text, pad a short one with '0's in
// front of the prefix.
InkText normalise_ink(char const* t);

}  // namespace lb

#endif
