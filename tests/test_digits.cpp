// The digit readers and writers give the C library's bytes and values:
// parse_long against strtol, scan_int against one sscanf "%d" or
// "%<width>d" conversion, put_int against "%0*d" and "%.*d", the film
// converters' readers against strtol. Swept over digit runs of every
// length, around the 32- and 64-bit limits, with signs, white space and
// widths. The keep string's "%.10f" writer against the C library: ties at
// the tenth decimal, every binary exponent the fast path and the 128-bit
// path cover, the 2^63 edge where the C library takes over, and a bounded
// writer that cuts instead of overrunning.
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "detail/internal.h"
#include "detail/keep_number.h"
#include "labelsbase/labelsbase.h"

namespace {

std::vector<std::string> number_texts() {
    std::vector<std::string> v = {"",   " ",   "-",   "+",    "x1",  " \t\n12", "-0",
                                  "+7", "--1", "+-1", "12ab", "1 2", "_12",     "12+05"};
    v.insert(v.end(), {"0000000000000000000000000000042", "-0000000000000000000000000000042"});
    v.insert(v.end(), {"9223372036854775807", "9223372036854775808", "-9223372036854775808", "-9223372036854775809"});
    v.insert(v.end(), {"99999999999999999999999", "-99999999999999999999999", "999999999999999999"});
    v.insert(v.end(), {"2147483647", "2147483648", "-2147483648", "-2147483649", "4294967296", "1000000000000000000"});
    // Every run length from 1 to 25 digits, of 9s and of a mixed pattern.
    for (int n = 1; n <= 25; ++n) {
        v.push_back(std::string(n, '9'));
        std::string m;
        for (int i = 0; i < n; ++i) m += static_cast<char>('1' + (i * 7) % 9);
        v.push_back(m);
        v.push_back("-" + m);
        v.push_back("  +" + m + ":05");
    }
    return v;
}

// parse_long is strtol; the film converters' readers accept only what
// strtol reads the same way and decline the rest.
TEST(Digits, ReadersAreStrtol) {
    for (std::string const& t : number_texts()) {
        char const* our_end = nullptr;
        char* c_end = nullptr;
        errno = 0;
        long const c = std::strtol(t.c_str(), &c_end, 10);
        EXPECT_EQ(lb::parse_long(t.c_str(), &our_end), c) << "'" << t << "'";
        EXPECT_EQ(our_end, c_end) << "'" << t << "'";
        EXPECT_EQ(lb::atoi_(t.c_str()), static_cast<int>(c)) << "'" << t << "'";
        char const* p = t.c_str();
        int v = -7;
        bool const run = lb::read_short_run(p, v);
        EXPECT_TRUE(run ? v == c && p == c_end : p == t.c_str()) << "'" << t << "'";
        for (unsigned n = 0; n <= 9 && n <= t.size(); ++n) {
            unsigned u = 0;
            bool const all = t.find_first_not_of("0123456789") >= n;
            EXPECT_EQ(lb::read_fixed(t.c_str(), n, u), all) << "'" << t << "' " << n;
            EXPECT_TRUE(!all || u == (n ? std::strtoul(t.substr(0, n).c_str(), nullptr, 10) : 0u))
                << "'" << t << "' " << n;
        }
        for (std::size_t m : {0u, 3u, 4u, 5u, 8u, 12u, 40u})
            EXPECT_EQ(lb::length_upto(t.c_str(), m), std::min(t.size(), m)) << "'" << t << "' " << m;
    }
}

TEST(Digits, ScanIntIsOneSscanfConversion) {
    for (std::string const& t : number_texts()) {
        for (int width : {0, 1, 2, 3, 4, 9, 18, 19, 20}) {
            char format[16];
            std::snprintf(format, sizeof format, width ? "%%%dd%%n" : "%%d%%n", width);
            int c = -7, used = -1;
            int const got = std::sscanf(t.c_str(), format, &c, &used);
            char const* p = t.c_str();
            int ours = -7;
            bool const ok = lb::scan_int(p, width, ours);
            // sscanf stores an out-of-range value as its low 32 bits on this C library.
            EXPECT_EQ(ok, got == 1) << "'" << t << "' width " << width;
            EXPECT_TRUE(ok && got == 1 ? ours == c && p - t.c_str() == used : p == t.c_str())
                << "'" << t << "' width " << width;
        }
    }
}

// put_int against "%0*d" and "%.*d"; digit_count against the printed
// length; put_digits keeps the low digits of a narrower width.
TEST(Digits, WritersArePrintf) {
    std::vector<int> values = {0, 1, -1, 9, 10, 99, 100, -100, 12345, -12345, INT_MAX, INT_MIN, INT_MIN + 1};
    for (long long q = 1; q <= 1000000000; q *= 10) {
        int const p = static_cast<int>(q);
        values.insert(values.end(), {p - 1, p, p + 1, -p, 1 - p});
    }
    for (int v = -2000; v <= 2000; v += 7) values.push_back(v);
    for (int v : values) {
        char expect[64], got[64];
        unsigned const u = static_cast<unsigned>(v);
        int const n = std::snprintf(expect, sizeof expect, "%u", u);
        EXPECT_EQ(lb::digit_count(u), n) << u;
        for (int digits = -1; digits <= 12; ++digits) {
            for (bool width_form : {true, false}) {
                std::snprintf(expect, sizeof expect, width_form ? "%0*d" : "%.*d", digits, v);
                *lb::put_int(got, v, digits, width_form) = '\0';
                // "%.0d" of 0 prints nothing; the writer always prints a digit,
                // which is what every caller asks for (it never passes 0 then).
                if (!width_form && digits == 0 && v == 0) continue;
                EXPECT_STREQ(got, expect) << v << " digits " << digits << (width_form ? " %0*d" : " %.*d");
            }
            if (digits < 0) continue;
            std::snprintf(expect, sizeof expect, "%0*u", digits, u);
            *lb::put_digits(got, u, digits) = '\0';
            EXPECT_STREQ(got, expect + std::strlen(expect) - static_cast<std::size_t>(digits))
                << u << " width " << digits;
        }
    }
}

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
