// The number writer of keep strings: bounded output, and the pitch printed
// as "%.10f" exactly as the C library prints it, without its per-call cost.
// Internal: not part of the exported API.
#ifndef LABELSBASE_DETAIL_KEEP_NUMBER_H
#define LABELSBASE_DETAIL_KEEP_NUMBER_H

#include <cstddef>

namespace lb {

// Writes into a buffer of `capacity` bytes (at least 1): every write is cut
// at the last byte, which finish() fills with the terminator.
class BoundedWriter {
public:
    BoundedWriter(char* out, std::size_t capacity) : begin_(out), p_(out), last_(out + capacity - 1) {}
    void put(char c) {
        if (p_ < last_) *p_++ = c;
    }
    void put(char const* s) {
        while (*s && p_ < last_) *p_++ = *s++;
    }
    void put(char const* s, char const* e) {
        while (s < e && p_ < last_) *p_++ = *s++;
    }
    // Terminates the text; returns its length.
    std::size_t finish() {
        *p_ = '\0';
        return static_cast<std::size_t>(p_ - begin_);
    }

private:
    char* begin_;
    char* p_;
    char* last_;  // where the NUL goes at the latest
};

// "%.10f" of v exactly as the C library prints it in the default rounding
// mode (the exact binary value rounded to ten decimals, ties to even), for
// finite v below 2^63 in magnitude; null for any other v. At most 31
// characters (sign, 19 digits, point, 10 decimals); no NUL.
// Edge cases: -0.0 and negatives that round to zero print "-0.0000000000";
// subnormals print zeros.
char* put_fixed10(char* out, double v);

// "%.10f" of any double: put_fixed10, else (infinities, NaN, 2^63 and
// beyond) the C library's own text.
void put_pitch(BoundedWriter& w, double v);

// "%d" of v.
void put_int(BoundedWriter& w, int v);

}  // namespace lb

#endif
