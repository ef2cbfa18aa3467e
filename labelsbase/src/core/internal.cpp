#include "detail/internal.h"
#include "detail/log_keys.h"

#include <cstdio>
#include <limits>

namespace lb {

void assertion_failed(char const* expression, char const* where) {
    std::printf("assertion failed %s at %s\n", expression, where);
}

void assertion_failed(LogKey const& key) { assertion_failed(key.expression, key.site); }

namespace {

// Up to digits10 digits (18 for a 64-bit long) cannot pass LONG_MAX, so
// they are read without the overflow test; only a longer run pays for it.
constexpr int unchecked_digits = std::numeric_limits<long>::digits10;

// Continues reading digits at p into v with the overflow test of strtol.
// Sets overflow when the value left the range; v then holds no meaning.
inline char const* read_checked(char const* p, int left, unsigned long& v, unsigned long limit, bool& overflow) {
    for (; left > 0 && is_digit(*p); ++p, --left) {
        unsigned const d = static_cast<unsigned>(*p - '0');
        if (!overflow && v > (limit - d) / 10) overflow = true;
        if (!overflow) v = v * 10 + d;
    }
    return p;
}

}  // namespace

long parse_long(char const* s, char const** end) {
    char const* p = s;
    while (is_space(*p)) ++p;
    bool neg = false;
    if (*p == '+' || *p == '-') neg = (*p++ == '-');
    if (!is_digit(*p)) {
        if (end) *end = s;
        return 0;
    }
    unsigned long v = 0;
    char const* const first = p;
    while (is_digit(*p) && p - first < unchecked_digits) v = v * 10 + static_cast<unsigned>(*p++ - '0');
    bool overflow = false;
    if (is_digit(*p)) {
        unsigned long const limit =
            neg ? static_cast<unsigned long>(LONG_MAX) + 1ul : static_cast<unsigned long>(LONG_MAX);
        p = read_checked(p, INT_MAX, v, limit, overflow);
    }
    if (end) *end = p;
    if (overflow) return neg ? LONG_MIN : LONG_MAX;
    return neg ? static_cast<long>(0ul - v) : static_cast<long>(v);
}

bool scan_int(char const*& p, int width, int& out) {
    char const* q = p;
    while (is_space(*q)) ++q;
    int left = width > 0 ? width : INT_MAX;
    bool neg = false;
    if ((*q == '+' || *q == '-') && left > 0) {
        neg = (*q == '-');
        ++q;
        --left;
    }
    if (left <= 0 || !is_digit(*q)) return false;
    unsigned long v = 0;
    char const* const first = q;
    int const quick = left < unchecked_digits ? left : unchecked_digits;
    while (is_digit(*q) && q - first < quick) v = v * 10 + static_cast<unsigned>(*q++ - '0');
    left -= static_cast<int>(q - first);
    bool overflow = false;
    if (left > 0 && is_digit(*q)) {
        unsigned long const limit =
            neg ? static_cast<unsigned long>(LONG_MAX) + 1ul : static_cast<unsigned long>(LONG_MAX);
        q = read_checked(q, left, v, limit, overflow);
    }
    long value;
    if (overflow)
        value = neg ? LONG_MIN : LONG_MAX;
    else
        value = neg ? static_cast<long>(0ul - v) : static_cast<long>(v);
    // sscanf stores the long result into the int: the low 32 bits.
    out = static_cast<int>(static_cast<unsigned>(static_cast<unsigned long>(value)));
    p = q;
    return true;
}

char* put_int(char* p, int v, int digits, bool width_counts_sign) {
    unsigned const mag = abs_u(v);
    if (v < 0) {
        *p++ = '-';
        if (width_counts_sign) --digits;
    }
    int const n = digit_count(mag);
    if (digits < n) digits = n;
    return put_digits(p, mag, digits);
}

}  // namespace lb
