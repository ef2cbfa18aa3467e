// The shared digit readers and writers give the C library's bytes and
// values: parse_long against strtol, scan_int against one sscanf "%d" or
// "%<width>d" conversion, put_int against "%0*d" and "%.*d", digit_count
// against the printed length. Swept over digit runs of every length,
// around the 32- and 64-bit limits, with signs, white space and widths.
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "labelsbase/internal.h"

namespace {

std::vector<std::string> number_texts() {
    std::vector<std::string> v = {"", " ", "-", "+", "x1", " \t\n12", "-0", "+7", "--1", "+-1", "12ab", "1 2",
                                  "0000000000000000000000000000042", "-0000000000000000000000000000042",
                                  "9223372036854775807", "9223372036854775808", "-9223372036854775808",
                                  "-9223372036854775809", "99999999999999999999999", "-99999999999999999999999",
                                  "2147483647", "2147483648", "-2147483648", "-2147483649", "4294967296",
                                  "999999999999999999", "1000000000000000000", "_12", "12+05"};
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

TEST(Digits, ParseLongIsStrtol) {
    for (std::string const& t : number_texts()) {
        char const* our_end = nullptr;
        char* c_end = nullptr;
        errno = 0;
        long const c = std::strtol(t.c_str(), &c_end, 10);
        EXPECT_EQ(lb::parse_long(t.c_str(), &our_end), c) << "'" << t << "'";
        EXPECT_EQ(our_end, c_end) << "'" << t << "'";
        EXPECT_EQ(lb::atoi_(t.c_str()), static_cast<int>(c)) << "'" << t << "'";
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
            EXPECT_EQ(ok, got == 1) << "'" << t << "' width " << width;
            if (ok && got == 1) {
                // sscanf stores an out-of-range value as its low 32 bits on this C library.
                EXPECT_EQ(ours, c) << "'" << t << "' width " << width;
                EXPECT_EQ(p - t.c_str(), used) << "'" << t << "' width " << width;
            } else {
                EXPECT_EQ(p, t.c_str()) << "'" << t << "' width " << width;
            }
        }
    }
}

TEST(Digits, PutIntIsPrintf) {
    std::vector<int> values = {0, 1, -1, 9, 10, 99, 100, -100, 12345, -12345, INT_MAX, INT_MIN, INT_MIN + 1};
    for (long long q = 1; q <= 1000000000; q *= 10) {
        int const p = static_cast<int>(q);
        values.insert(values.end(), {p - 1, p, p + 1, -p, 1 - p});
    }
    for (int v = -2000; v <= 2000; v += 7) values.push_back(v);
    for (int v : values) {
        for (int digits = -1; digits <= 12; ++digits) {
            for (bool width_form : {true, false}) {
                char expect[64], got[64];
                std::snprintf(expect, sizeof expect, width_form ? "%0*d" : "%.*d", digits, v);
                char* e = lb::put_int(got, v, digits, width_form);
                *e = '\0';
                // "%.0d" of 0 prints nothing; the writer always prints a digit,
                // which is what every caller asks for (it never passes 0 then).
                if (!width_form && digits == 0 && v == 0) continue;
                EXPECT_STREQ(got, expect) << v << " digits " << digits << (width_form ? " %0*d" : " %.*d");
            }
        }
    }
}

TEST(Digits, DigitCountAndPutDigits) {
    for (unsigned v : {0u, 1u, 9u, 10u, 99u, 100u, 999999999u, 1000000000u, 4294967295u, 12345u, 987654321u}) {
        char buf[16];
        int const n = std::snprintf(buf, sizeof buf, "%u", v);
        EXPECT_EQ(lb::digit_count(v), n) << v;
        for (int w = 0; w <= 12; ++w) {
            char want[32], got[32];
            std::snprintf(want, sizeof want, "%0*u", w, v);
            // put_digits keeps the low w digits.
            std::string const low = std::string(want).substr(std::strlen(want) - static_cast<std::size_t>(w));
            *lb::put_digits(got, v, w) = '\0';
            EXPECT_EQ(std::string(got), low) << v << " width " << w;
        }
    }
}

}  // namespace
