// The keep string's "%.10f" writer against the C library: ties at the tenth
// decimal, every binary exponent the fast path and the 128-bit path cover,
// the 2^63 edge where the C library takes over, and a bounded writer that
// cuts instead of overrunning.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "detail/keep_number.h"

namespace {

std::string ours(double v) {
    char buf[400] = {};
    lb::BoundedWriter w(buf, sizeof buf);
    lb::put_pitch(w, v);
    w.finish();
    return buf;
}

std::string libc(double v) {
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.10f", v);
    return buf;
}

TEST(KeepNumber, NamedValuesPrintAsTheCLibraryDoes) {
    double const inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
    // Exact ties at the tenth decimal, the smallest numbers, 2^63 (the C library's text) and beyond.
    std::vector<double> cases = {0.0, -0.0, 1.0 / 24, 1.0 / 96, 1.001 / 30, 1.0 / 2048, 3.0 / 2048, -5.0 / 2048};
    cases.insert(cases.end(), {0.00000000005, 0.00000000015, 0.00000000025, -0.00000000005, 2.5e-11, 4.9e-324});
    cases.insert(cases.end(), {2.2250738585072014e-308, 1e-10, 123456.00000000005, 9007199254740993.0});
    cases.insert(cases.end(), {4611686018427387904.0, 9223372036854774784.0, -9223372036854774784.0});
    cases.insert(cases.end(), {9223372036854775808.0, 1e300, inf, -inf, nan});
    for (double v : cases) EXPECT_EQ(ours(v), libc(v)) << v;
}

// Every binary exponent from subnormal to 2^64, a few mantissas each: the
// 64-bit path below 2^64 / 10^10 and the split path above it.
TEST(KeepNumber, EveryExponentMatches) {
    std::uint64_t state = 0x9E3779B97F4A7C15ull;
    for (int e = -1074; e <= 64; ++e)
        for (int k = 0; k < 6; ++k) {
            state = state * 6364136223846793005ull + 1442695040888963407ull;
            double const mant = 1.0 + static_cast<double>(state >> 12) / 4503599627370496.0;  // [1, 2)
            double const v = std::ldexp(k == 0 ? 1.0 : mant, e) * (k % 2 ? -1 : 1);
            ASSERT_EQ(ours(v), libc(v)) << e << " " << k;
        }
}

TEST(KeepNumber, WriterCutsAtItsCapacity) {
    char buf[8];
    std::memset(buf, 'x', sizeof buf);
    lb::BoundedWriter w(buf, 5);
    lb::put_pitch(w, 1.0 / 3);
    EXPECT_EQ(w.finish(), 4u);
    EXPECT_STREQ(buf, "0.33");
    EXPECT_EQ(buf[5], 'x');
    lb::BoundedWriter one(buf, 1);
    lb::put_int(one, -2147483647 - 1);
    EXPECT_EQ(one.finish(), 0u);
    EXPECT_STREQ(buf, "");
}

}  // namespace
