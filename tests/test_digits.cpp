// The digit readers and writers give the C library's bytes and values:
// parse_long against strtol, scan_int against one sscanf "%d" or
// "%<width>d" conversion, put_int against "%0*d" and "%.*d", the film
// converters' readers against strtol. Swept over digit runs of every
// length, around the 32- and 64-bit limits, with signs, white space and
// widths.
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "detail/internal.h"
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

}  // namespace
