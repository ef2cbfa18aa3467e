// Timecode parsing against the C library's formatted input: the fields read
// and the failure of every text of a corpus of odd texts (white space,
// signs, separators, overlong numbers, truncations) equal what sscanf gives
// with the formats the display flags choose; packed texts likewise.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "timecode_reference.h"

namespace {

// Exposes the fields a parse reads.
template <class Leaf>
struct Probe : Leaf {
    explicit Probe(int flags) : Leaf(flags) {}
    int h() const { return this->hours; }
    int m() const { return this->minutes; }
    int s() const { return this->seconds; }
    int f() const { return this->frames; }
};

int wrap(long long v) { return static_cast<int>(static_cast<std::uint32_t>(static_cast<unsigned long long>(v))); }

std::vector<std::string> corpus() {
    std::vector<std::string> v = {
        "10:00:00:00", "10:00:00.00", "10:00:00;00", " 01:00:00.13", "-00:00:00.01", "1:2:3.4", "10:00", "-10:00",
        "", " ", "-", "--1:00:00:00", "-+1:00:00:00", "+1:00:00:00", "- 1:00:00:00", "1 :00:00:00", "1: 00:00:00",
        "1:00:00 00", "1:00:00\t7", "1:00:00\n7", "1:00:00:", "1:00:00", "1:00:00x", "1:00:00xy", "1:00:00:-5",
        "1:00:00:+5", "1:00:00::5", "1:00:00:5:6", "\t\n 1:00:00.00", "01:00:00.000", "01:00:00.0001",
        "2147483647:00:00:00", "2147483648:00:00:00", "99999999999999999999:0:0:0", "-2147483648:0:0:0",
        "0:0:0.99", "0:0:0.2147483647", "0:0:99999999999", "00:00:05.03", "05.03", "5.03", "5:03", "5", "5.",
        ".03", "00:05:03", "1:00.03", "abc", "1a:00:00:00", "12:34:56;78", "00:00:00.00 trailing", "00:00:00.00:00",
        "-0:0:0:0", "-23:59:59.24", "23:59:59.24", "24:00:00:00", "0000:0000:0000:0000", "1:-1:0:0", "1:0:-1:0",
        "0:0:0:-1", "::::", "1:::", "1:2:", "1:2:3", " -1:00:00.00", "  10:00:00;29", "00:01:00;02", "0x10:0:0:0",
        "1e3:0:0:0", "10:00:00.00\xff", "\xff", "1:00:00\xe9" "5", "00:00:01.000", "00:00:01.119", "00:00:01.1190",
    };
    v.push_back(std::string(500, '9'));
    v.push_back(std::string(500, ' '));
    v.push_back(std::string(500, 'a'));
    v.push_back(std::string(250, '0') + ":0:0:0" + std::string(240, '0'));
    // Near-valid texts: random runs of numbers, signs, blanks and separators.
    char const* const pieces[] = {"0",  "00", "1", "05", "59", "99", "123", "2147483647", "2147483648",
                                  "99999999999", "-", "+", " ", "\t", ":", ":", ";", ".", "x"};
    std::mt19937 rng(20240607u);
    for (int i = 0; i < 6000; ++i) {
        std::string t;
        int const n = 1 + static_cast<int>(rng() % 10);
        for (int k = 0; k < n; ++k) t += pieces[rng() % (sizeof pieces / sizeof pieces[0])];
        v.push_back(t);
    }
    // Well-formed texts with one character changed.
    for (int i = 0; i < 2000; ++i) {
        std::string t = "12:34:56.78";
        t[rng() % t.size()] = "0123456789:;.- +x\t"[rng() % 18];
        if (rng() % 3 == 0) t.erase(rng() % t.size(), 1);
        v.push_back(t);
    }
    return v;
}

// The sscanf reading of t with n whole-unit fields, '-' led when t is.
struct Scanned {
    bool ok;
    int h, m, s, f;
};
Scanned scan_ref(char const* t, int n) {
    Scanned r{false, 0, 0, 0, 0};
    char c;
    bool const neg = t[0] == '-';
    switch (n) {
        case 3: r.ok = std::sscanf(t, neg ? "-%d:%d:%d%c%d" : "%d:%d:%d%c%d", &r.h, &r.m, &r.s, &c, &r.f) == 5; break;
        case 2: r.ok = std::sscanf(t, neg ? "-%d:%d%c%d" : "%d:%d%c%d", &r.m, &r.s, &c, &r.f) == 4; break;
        case 1: r.ok = std::sscanf(t, neg ? "-%d%c%d" : "%d%c%d", &r.s, &c, &r.f) == 3; break;
        default: break;
    }
    return r;
}

TEST(TimecodeParse, DisplayTextsMatchSscanf) {
    std::vector<std::string> const texts = corpus();
    struct Conv {
        int flags;
        int fields;  // whole-unit fields of the chosen format
    } const convs[] = {{15, 3}, {1, 3}, {7, 3}, {2, 2}, {6, 2}, {4, 1}, {12, 1}, {0, 0}, {8, 0}, {16, 0}, {31, 3}};
    for (Conv const& cv : convs) {
        Probe<pal_label> pal(cv.flags);
        Probe<tc_120_label> hi(cv.flags);
        int failures = 0;
        for (std::string const& text : texts) {
            char const* t = text.c_str();
            Scanned const want = scan_ref(t, cv.fields);
            bool const neg = t[0] == '-';
            for (int rate : {25, 120}) {
                int const got = rate == 25 ? pal.get_abs_sample(t) : hi.get_abs_sample(t);
                int const h = rate == 25 ? pal.h() : hi.h(), m = rate == 25 ? pal.m() : hi.m();
                int const s = rate == 25 ? pal.s() : hi.s(), f = rate == 25 ? pal.f() : hi.f();
                bool bad;
                if (!want.ok) {
                    bad = got != invalid_sample;
                } else {
                    long long const v = ((static_cast<long long>(want.h) * 60 + want.m) * 60 + want.s) * rate + want.f;
                    int const sample = neg ? wrap(-static_cast<long long>(wrap(v))) : wrap(v);
                    bad = got != sample || h != want.h || m != want.m || s != want.s || f != want.f;
                }
                if (bad && ++failures < 8)
                    ADD_FAILURE() << "flags " << cv.flags << " rate " << rate << " '" << text << "' got " << got
                                  << " (" << h << " " << m << " " << s << " " << f << ") sscanf ok " << want.ok
                                  << " (" << want.h << " " << want.m << " " << want.s << " " << want.f << ")";
            }
        }
        EXPECT_EQ(failures, 0) << "flags " << cv.flags;
    }
}

TEST(TimecodeParse, DropFrameTextsMatchSscanf) {
    std::vector<std::string> const texts = corpus();
    for (int flags : {15, 0, 2}) {
        Probe<ntsc_drop_label> drop(flags);
        int failures = 0;
        for (std::string const& text : texts) {
            char const* t = text.c_str();
            int const got = drop.get_abs_sample(t);
            bool bad;
            if (t[0] == '-') {
                bad = got != 0;
            } else {
                Scanned const w = scan_ref(t, 3);
                if (!w.ok) {
                    bad = got != invalid_sample;
                } else {
                    bad = drop.h() != w.h || drop.m() != w.m || drop.s() != w.s || drop.f() != w.f;
                    // For non-negative fields the count is the textbook one:
                    // 30 a second less 2 numbers a minute but every tenth.
                    if (w.h >= 0 && w.m >= 0 && w.s >= 0) {
                        long long const minutes = static_cast<long long>(w.h) * 60 + w.m;
                        long long const n = (minutes * 60 + w.s) * 30 + w.f - 2 * (minutes - minutes / 10);
                        bad = bad || got != wrap(n);
                    }
                }
            }
            if (bad && ++failures < 8) ADD_FAILURE() << "flags " << flags << " '" << text << "' got " << got;
        }
        EXPECT_EQ(failures, 0) << "flags " << flags;
    }
}

TEST(TimecodeParse, PackedTextsMatchSscanf) {
    std::vector<std::string> texts = corpus();
    for (char const* t : {"23595900", "00000100", "000001119", "0000011", "1 2 3 4", "-1-1-1-1", "+1+1+1+1",
                          "12345678", "123456789", "1234567890", "12:34:56", "  1  2  3  4", "12\n34\t56 78"})
        texts.push_back(t);
    Probe<pal_label> pal(15);
    Probe<tc_120_label> hi(15);
    Probe<ntsc_drop_label> drop(15);
    int failures = 0;
    auto check = [&](auto& c, int rate, char const* t) {
        int h = 0, m = 0, s = 0, f = 0;
        bool const ok = std::sscanf(t, rate == 120 ? "%2d%2d%2d%3d" : "%2d%2d%2d%2d", &h, &m, &s, &f) == 4;
        int const got = c.get_abs_sample_from_packed_string(t);
        bool bad;
        if (!ok) {
            bad = got != invalid_sample;
        } else {
            bad = c.h() != h || c.m() != m || c.s() != s || c.f() != f;
            long long const minutes = static_cast<long long>(h) * 60 + m;
            if (rate == 30)  // drop-frame: the textbook count for non-negative fields
                bad = bad || (h >= 0 && m >= 0 && s >= 0 &&
                              got != wrap((minutes * 60 + s) * 30 + f - 2 * (minutes - minutes / 10)));
            else
                bad = bad || got != wrap((minutes * 60 + s) * rate + f);
        }
        if (bad && ++failures < 8) ADD_FAILURE() << rate << " '" << t << "' got " << got;
    };
    for (std::string const& text : texts) {
        check(pal, 25, text.c_str());
        check(hi, 120, text.c_str());
        check(drop, 30, text.c_str());
    }
    EXPECT_EQ(failures, 0);
}

TEST(TimecodeParse, MalformedTextsAreInvalid) {
    std::string const long_digits(500, '7'), long_blank(500, ' '), long_text = std::string(498, 'q') + "10";
    char const* const texts[] = {"10:00", "-10:00", "abc", "", " ", "-", "10:00:00", "10:00:00.", ":00:00:00.00",
                                 "10-00-00-00", long_digits.c_str(), long_blank.c_str(), long_text.c_str()};
    for (tcref::Rate const& r : tcref::rates()) {
        label_cvt* c = get_static_label_cvt(r.type);
        for (char const* t : texts) {
            int const want = (r.type == ntsc_drop_label_t && t[0] == '-') ? 0 : invalid_sample;
            EXPECT_EQ(c->get_abs_sample(t), want) << r.name << " '" << t << "'";
            EXPECT_EQ(c->get_keep_sample(t), want) << r.name;
        }
        EXPECT_EQ(c->get_abs_sample(static_cast<char const*>(nullptr)), invalid_sample);
        EXPECT_EQ(c->get_abs_sample_from_packed_string(nullptr), invalid_sample);
        EXPECT_EQ(c->get_abs_sample_from_packed_string(long_text.c_str()), invalid_sample);
    }
}

TEST(TimecodeParse, WorkedExamples) {
    label_cvt* pal = get_static_label_cvt(pal_label_t);
    for (char const* t : {"10:00:00:00", "10:00:00.00", "10:00:00;00", " 10:00:00.00", "10:00:00x00"})
        EXPECT_EQ(pal->get_abs_sample(t), 900000) << t;
    EXPECT_EQ(pal->get_abs_sample("-10:00:00.00"), -900000);
    EXPECT_EQ(pal->get_abs_sample("0:0:0.99"), 99);  // fields are not range-checked
    EXPECT_EQ(get_static_label_cvt(tc_240_label_t)->get_abs_sample(" 00:00:01.239"), 479);
    // Fewer fields when the flags show fewer.
    pal_label ms(2), s(4), none(8);
    EXPECT_EQ(ms.get_abs_sample("01:00.03"), 1503);
    EXPECT_EQ(ms.get_abs_sample("-01:00.03"), -1503);
    EXPECT_EQ(s.get_abs_sample("05.03"), 128);
    EXPECT_EQ(s.get_abs_sample("-5.03"), -128);
    EXPECT_EQ(none.get_abs_sample(".03"), invalid_sample);
    EXPECT_EQ(none.get_abs_sample("00:00:00.03"), invalid_sample);
}

}  // namespace
