// Helpers shared by the library's units: wrapping arithmetic on
// caller-supplied numbers, the assertion line, and digit writers and readers
// that give the same bytes and values as the C library's formatted I/O
// without its per-call cost.
#ifndef LABELSBASE_INTERNAL_H
#define LABELSBASE_INTERNAL_H

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>

namespace lb {

// 32-bit two's complement arithmetic: caller-supplied samples may be any int.
inline int wrap_add(int a, int b) {
    return static_cast<int>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
inline int wrap_sub(int a, int b) {
    return static_cast<int>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}
inline int wrap_mul(int a, int b) {
    return static_cast<int>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}
inline int wrap_neg(int a) { return static_cast<int>(0u - static_cast<std::uint32_t>(a)); }
// Magnitude of any int, INT_MIN included.
inline unsigned abs_u(int a) {
    return a < 0 ? 0u - static_cast<unsigned>(a) : static_cast<unsigned>(a);
}

// Prints "assertion failed %s at %s\n" on standard output and returns.
void assertion_failed(char const* expression, char const* where);

inline bool is_space(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
inline bool is_digit(char c) { return c >= '0' && c <= '9'; }

// strtol(s, end, 10) of the C library: leading white space, optional sign,
// decimal digits; clamps to LONG_MIN/LONG_MAX on overflow. *end (if given)
// points past the digits, or to s when none were read.
long parse_long(char const* s, char const** end = nullptr);
// atol and atoi as the C library gives them.
inline long atol_(char const* s) { return parse_long(s); }
inline int atoi_(char const* s) { return static_cast<int>(parse_long(s)); }

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

// One of the library's static values (the invalid label point, label and
// edit label): its storage is constant-initialised, the first unit whose
// static initialisers run builds it and the last one to be torn down
// destroys it, so it is usable from any unit's static initialisers whatever
// the link order.
template <class T>
class EarlyStatic {
public:
    constexpr EarlyStatic() : u_() {}
    template <class... Args>
    void acquire(Args const&... args) {
        if (users_++ == 0) new (&u_.value) T(args...);
    }
    void release() {
        if (--users_ == 0) u_.value.~T();
    }
    constexpr T& get() { return u_.value; }

private:
    union Storage {
        constexpr Storage() : none() {}
        ~Storage() {}
        char none;
        T value;
    } u_;
    int users_ = 0;
};

}  // namespace lb

#endif
