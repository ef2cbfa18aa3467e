// Digit writers and readers that give the same bytes and values as the C
// library's formatted I/O ("%0<n>d", "%.<n>d", sscanf's "%<w>d") without
// its per-call cost. Stateless; every unit, the flat legacy interface
// included, uses these. Internal: not part of the exported API.
//
// Writers: put_pair (2 digits), put_triple (3), put_digits (exactly n),
// put_int (printf's width or precision forms, sign included). None writes
// a terminator.
#ifndef LABELSBASE_DETAIL_DIGITS_H
#define LABELSBASE_DETAIL_DIGITS_H

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace lb {

// A word of eight bytes copied from memory, arranged so byte k of the
// memory is bits 8k..8k+7 whatever the machine's byte order.
inline std::uint64_t little_endian(std::uint64_t w) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    return __builtin_bswap64(w);
#else
    return w;
#endif
}

inline bool is_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
inline bool is_digit(char c) { return c >= '0' && c <= '9'; }

// One "%d" or "%<width>d" conversion of sscanf: skips white space (not
// counted in the width), reads an optional sign and decimal digits within
// the width, stores the value as sscanf stores an int. Returns false (p
// unchanged) when no digit could be read.
bool scan_int(char const*& p, int width, int& out);

// Readers of the film converters' common cases. Anything they decline
// (signs, white space, long digit runs) goes to the general readers above,
// so every text reads as the general readers read it.

// The value of the n characters at p (n at most 9) when all are digits.
inline bool read_fixed(char const* p, unsigned n, unsigned& v) {
    unsigned r = 0;
    for (unsigned i = 0; i < n; ++i) {
        unsigned const d = static_cast<unsigned char>(p[i]) - static_cast<unsigned>('0');
        if (d > 9) return false;
        r = r * 10 + d;
    }
    v = r;
    return true;
}

// A run of 1 to 9 digits at p that no further digit follows: its value, and
// p past it. False, p unchanged, for anything else.
inline bool read_short_run(char const*& p, int& v) {
    unsigned r = static_cast<unsigned char>(p[0]) - static_cast<unsigned>('0');
    if (r > 9) return false;
    int i = 1;
    for (; i < 9; ++i) {
        unsigned const d = static_cast<unsigned char>(p[i]) - static_cast<unsigned>('0');
        if (d > 9) break;
        r = r * 10 + d;
    }
    if (i == 9 && is_digit(p[9])) return false;
    p += i;
    v = static_cast<int>(r);
    return true;
}

// Characters of p before its NUL, at most max; four at a time, never
// reading past the NUL.
inline std::size_t length_upto(char const* p, std::size_t max) {
    std::size_t i = 0;
    for (; i + 4 <= max; i += 4)
        if (!p[i] || !p[i + 1] || !p[i + 2] || !p[i + 3]) break;
    while (i < max && p[i]) ++i;
    return i;
}

// "00" .. "99": two characters per number below 100, so digits are
// written two at a time.
inline constexpr char digit_pairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";
static_assert(sizeof(digit_pairs) == 201, "one pair per number below 100");

// Writes v < 100 as two digits.
inline char* put_pair(char* p, unsigned v) {
    std::memcpy(p, digit_pairs + 2 * v, 2);
    return p + 2;
}
// Writes v < 1000 as three digits.
inline char* put_triple(char* p, unsigned v) {
    unsigned const hundreds = v / 100;
    *p = static_cast<char>('0' + hundreds);
    return put_pair(p + 1, v - hundreds * 100);
}
// Packed BCD of v < 100 in the low byte: tens in bits 4-7, units in 0-3.
// For any v it is (v / 10) << 4 | v % 10.
constexpr unsigned bcd(unsigned v) { return v + 6 * (v / 10); }

// Writes v as exactly n decimal digits (the low n digits, zero-padded).
inline char* put_digits(char* p, unsigned v, int n) {
    int i = n;
    for (; i >= 2; i -= 2) {
        unsigned const r = v % 100;  // [0, 99]: the last two digits left
        v /= 100;
        p[i - 2] = digit_pairs[2 * r];
        p[i - 1] = digit_pairs[2 * r + 1];
    }
    if (i == 1) p[0] = static_cast<char>('0' + v % 10);
    return p + n;
}
// Number of decimal digits of v (at least 1).
inline int digit_count(unsigned v) {
    if (v < 10000) return v < 10 ? 1 : v < 100 ? 2 : v < 1000 ? 3 : 4;
    if (v < 100000000) return v < 100000 ? 5 : v < 1000000 ? 6 : v < 10000000 ? 7 : 8;
    return v < 1000000000 ? 9 : 10;
}
// "%0<width>d" (zero_pad true) or "%.<precision>d" (zero_pad false) of v:
// at least `digits` digits after any '-'; for the width form the sign
// counts toward the width. Returns the end; no NUL is written.
char* put_int(char* p, int v, int digits, bool width_counts_sign);

}  // namespace lb

#endif
