// The number writer of keep strings: bounded output, and the pitch printed
// as "%.10f" exactly as the C library prints it, without its per-call cost.
// Internal: not part of the exported API.
#ifndef LABELSBASE_DETAIL_KEEP_NUMBER_H
#define LABELSBASE_DETAIL_KEEP_NUMBER_H

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "detail/digits.h"

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

// The value's exact binary value times 10^10 needs up to 97 bits; it is
// carried as two 64-bit halves so the writer builds with any compiler and
// standard library.
namespace keep_detail {

using u64 = std::uint64_t;

// An unsigned 128-bit number: hi * 2^64 + lo.
struct U128 {
    u64 hi, lo;
};

constexpr u64 kLow32 = 0xFFFFFFFFu;

// a * b exactly.
inline U128 mul(u64 a, u64 b) {
    u64 const a0 = a & kLow32, a1 = a >> 32, b0 = b & kLow32, b1 = b >> 32;
    u64 const p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
    u64 const mid = (p00 >> 32) + (p01 & kLow32) + (p10 & kLow32);  // < 3 * 2^32
    return {p11 + (p01 >> 32) + (p10 >> 32) + (mid >> 32), (mid << 32) | (p00 & kLow32)};
}

// x << s and x >> s for s in [0, 127].
inline U128 shl(U128 x, int s) {
    if (s == 0) return x;
    if (s >= 64) return {x.lo << (s - 64), 0};
    return {(x.hi << s) | (x.lo >> (64 - s)), x.lo << s};
}
inline U128 shr(U128 x, int s) {
    if (s == 0) return x;
    if (s >= 64) return {0, x.hi >> (s - 64)};
    return {x.hi >> s, (x.lo >> s) | (x.hi << (64 - s))};
}
// The low s bits of x, s in [1, 127].
inline U128 low_bits(U128 x, int s) {
    if (s >= 64) return {s == 64 ? 0 : x.hi & ((u64{1} << (s - 64)) - 1), x.lo};
    return {0, x.lo & ((u64{1} << s) - 1)};
}
inline int compare(U128 a, U128 b) {
    if (a.hi != b.hi) return a.hi < b.hi ? -1 : 1;
    return a.lo < b.lo ? -1 : a.lo > b.lo ? 1 : 0;
}
inline U128 increment(U128 x) { return {x.hi + (x.lo == ~u64{0} ? 1 : 0), x.lo + 1}; }

// x / d with its remainder, d in [1, 2^32], by 32-bit limbs.
inline U128 divmod(U128 x, u64 d, u64& rem) {
    u64 const limbs[4] = {x.hi >> 32, x.hi & kLow32, x.lo >> 32, x.lo & kLow32};
    u64 q[4];
    u64 r = 0;
    for (int i = 0; i < 4; ++i) {
        u64 const cur = (r << 32) | limbs[i];  // r < d <= 2^32: no bits lost
        q[i] = cur / d;
        r = cur % d;
    }
    rem = r;
    return {(q[0] << 32) | q[1], (q[2] << 32) | q[3]};
}

constexpr u64 kTenTo5 = 100000;
constexpr u64 kTenTo10 = kTenTo5 * kTenTo5;

// The decimal digits of v, at least one.
inline char* put_u64(char* p, u64 v) {
    if (v <= kLow32) {
        unsigned const u = static_cast<unsigned>(v);
        return lb::put_digits(p, u, lb::digit_count(u));
    }
    constexpr u64 kTenTo9 = 1000000000;
    p = put_u64(p, v / kTenTo9);  // < 2^35: one more level at most
    return lb::put_digits(p, static_cast<unsigned>(v % kTenTo9), 9);
}

}  // namespace keep_detail

// "%.10f" of v exactly as the C library prints it in the default rounding
// mode (the exact binary value rounded to ten decimals, ties to even), for
// finite v below 2^63 in magnitude; null for any other v. At most 31
// characters (sign, 19 digits, point, 10 decimals); no NUL.
// Edge cases: -0.0 and negatives that round to zero print "-0.0000000000";
// subnormals print zeros.
inline char* put_fixed10(char* out, double v) {
    using namespace keep_detail;
    u64 bits;
    std::memcpy(&bits, &v, sizeof bits);
    int const biased = static_cast<int>((bits >> 52) & 0x7FF);
    if (biased == 0x7FF) return nullptr;  // infinities and NaN
    u64 m = bits & ((u64{1} << 52) - 1);
    int shift = 1074;  // subnormals: |v| = m / 2^1074
    if (biased != 0) {
        m |= u64{1} << 52;      // [2^52, 2^53)
        shift = 1075 - biased;  // |v| = m / 2^shift
    }
    if (shift < -10) return nullptr;       // |v| >= 2^63
    U128 const scaled = mul(m, kTenTo10);  // < 2^87
    U128 n;                                // |v| * 10^10, rounded
    if (shift <= 0) {
        n = shl(scaled, -shift);  // < 2^97
    } else if (shift >= 128) {
        n = {0, 0};  // |v| * 10^10 < 2^-41: below half a unit of the last decimal
    } else {
        U128 q = shr(scaled, shift);
        int const c = compare(low_bits(scaled, shift), shl(U128{0, 1}, shift - 1));
        if (c > 0 || (c == 0 && (q.lo & 1u))) q = increment(q);
        n = q;
    }
    u64 ip, high5, low5;  // integer part < 2^63; decimals as two halves [0, 10^5)
    if (n.hi == 0) {      // the usual case: a 64-bit division is far cheaper
        ip = n.lo / kTenTo10;
        u64 const fp = n.lo % kTenTo10;
        high5 = fp / kTenTo5;
        low5 = fp % kTenTo5;
    } else {
        U128 const q = divmod(divmod(n, kTenTo5, low5), kTenTo5, high5);
        ip = q.lo;  // q < 2^63: hi is 0
    }
    char* p = out;
    if (std::signbit(v)) *p++ = '-';  // "-0.0000000000" for negatives that round to 0
    p = put_u64(p, ip);
    *p++ = '.';
    p = lb::put_digits(p, static_cast<unsigned>(high5), 5);
    return lb::put_digits(p, static_cast<unsigned>(low5), 5);
}

// "%.10f" of any double into out (size bytes, terminated): the C library's
// own text, for the values put_fixed10 declines (infinities, NaN, 2^63 and
// beyond). Returns the characters written.
std::size_t put_fixed10_slow(char* out, std::size_t size, double v);

// The writer's helpers are inline and never hand the writer to another unit,
// so its pointers stay in registers while it copies characters.

// "%.10f" of any double.
inline void put_pitch(BoundedWriter& w, double v) {
    char buf[40];
    if (char* e = put_fixed10(buf, v)) {
        w.put(buf, e);
        return;
    }
    char big[400];  // at most 321 characters for any double, then cut by the writer
    std::size_t const n = put_fixed10_slow(big, sizeof big, v);
    w.put(big, big + n);
}

// "%d" of v.
inline void put_int(BoundedWriter& w, int v) {
    char buf[12];
    char* e = lb::put_int(buf, v, 1, false);
    w.put(buf, e);
}

}  // namespace lb

#endif
