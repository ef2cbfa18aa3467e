// Timecode parsing against sscanf: the fields read and the failure of every
// text of a corpus of odd texts equal what sscanf gives with the formats the
// display flags choose; packed texts likewise; then worked examples.
#include <climits>
#include <cstdint>
#include <random>
#include <vector>

#include "test_support.h"
#include "timecode_reference.h"

namespace {

// Exposes the fields a parse reads.
template <class Leaf>
struct Probe : Leaf {
    explicit Probe(int flags) : Leaf(flags) {}
    bool fields_are(int h, int m, int s, int f) const {
        return this->hours == h && this->minutes == m && this->seconds == s && this->frames == f;
    }
};

int wrap(long long v) { return static_cast<int>(static_cast<std::uint32_t>(static_cast<unsigned long long>(v))); }
int drop_count(long long h, long long m, long long s, long long f) {
    long long const minutes = h * 60 + m;
    return wrap((minutes * 60 + s) * 30 + f - 2 * (minutes - minutes / 10));
}

std::vector<std::string> corpus() {
    std::vector<std::string> v = {
        "10:00:00;00", "-00:00:00.01", "", "-", "--1:00:00:00", "+1:00:00:00", "- 1:00:00:00", "1 :00:00:00",
        "1:00:00\t7", "1:00:00:-5", "\t\n 1:00:00.00", "2147483648:00:00:00", "99999999999999999999:0:0:0",
        "-2147483648:0:0:0", "0:0:0.2147483647", "05.03", "0x10:0:0:0", "\xff", "000001119", "1 2 3 4",
        "-1-1-1-1", "12\n34\t56 78", std::string(500, '9'), std::string(250, '0') + ":0:0:0" + std::string(240, '0'),
    };
    char const* const pieces[] = {"0", "00", "1", "05", "59", "123", "2147483648", "99999999999",
                                  "-", "+", " ", "\t", ":", ":", ";", ".", "x"};
    std::mt19937 rng(20240607u);
    for (int i = 0; i < 3000; ++i) {  // runs of numbers, signs, blanks and separators
        std::string t;
        for (int k = 1 + static_cast<int>(rng() % 10); k > 0; --k) t += pieces[rng() % (sizeof pieces / sizeof *pieces)];
        v.push_back(t);
    }
    for (int i = 0; i < 1000; ++i) {  // a well-formed text with one character changed or dropped
        std::string t = "12:34:56.78";
        t[rng() % t.size()] = "0123456789:;.- +x\t"[rng() % 18];
        if (rng() % 3 == 0) t.erase(rng() % t.size(), 1);
        v.push_back(t);
    }
    return v;
}

struct Scanned {
    bool ok;
    int h, m, s, f;
};
// The sscanf reading with n whole-unit fields, '-' led when the text is.
Scanned scan_ref(char const* t, int n) {
    Scanned r{false, 0, 0, 0, 0};
    char c;
    bool const neg = t[0] == '-';
    if (n == 3) r.ok = std::sscanf(t, neg ? "-%d:%d:%d%c%d" : "%d:%d:%d%c%d", &r.h, &r.m, &r.s, &c, &r.f) == 5;
    if (n == 2) r.ok = std::sscanf(t, neg ? "-%d:%d%c%d" : "%d:%d%c%d", &r.m, &r.s, &c, &r.f) == 4;
    if (n == 1) r.ok = std::sscanf(t, neg ? "-%d%c%d" : "%d%c%d", &r.s, &c, &r.f) == 3;
    return r;
}

TEST(TimecodeParse, DisplayTextsMatchSscanf) {
    std::vector<std::string> const texts = corpus();
    struct { int flags, fields; } const convs[] =  // whole-unit fields of the format the flags choose
        {{15, 3}, {1, 3}, {7, 3}, {2, 2}, {6, 2}, {4, 1}, {12, 1}, {0, 0}, {8, 0}, {16, 0}, {31, 3}};
    for (auto const& cv : convs) {
        Probe<pal_label> pal(cv.flags);
        Probe<tc_120_label> hi(cv.flags);
        Probe<ntsc_drop_label> drop(cv.flags);
        int failures = 0;
        for (std::string const& text : texts) {
            char const* t = text.c_str();
            Scanned const w = scan_ref(t, cv.fields);
            auto check = [&](auto& c, int rate) {
                int const got = c.get_abs_sample(t);
                long long const v = ((static_cast<long long>(w.h) * 60 + w.m) * 60 + w.s) * rate + w.f;
                bool const bad = !w.ok ? got != invalid_sample
                                       : got != (t[0] == '-' ? wrap(-static_cast<long long>(wrap(v))) : wrap(v)) ||
                                             !c.fields_are(w.h, w.m, w.s, w.f);
                if (bad && ++failures < 8) ADD_FAILURE() << "flags " << cv.flags << " rate " << rate << " '" << text << "' got " << got;
            };
            check(pal, 25);
            check(hi, 120);
            // Drop-frame always reads all fields; a '-' gives 0.
            Scanned const d = scan_ref(t, 3);
            int const got = drop.get_abs_sample(t);
            bool bad = t[0] == '-' ? got != 0 : !d.ok ? got != invalid_sample : !drop.fields_are(d.h, d.m, d.s, d.f);
            if (t[0] != '-' && d.ok && d.h >= 0 && d.m >= 0 && d.s >= 0) bad = bad || got != drop_count(d.h, d.m, d.s, d.f);
            if (bad && ++failures < 8) ADD_FAILURE() << "drop flags " << cv.flags << " '" << text << "' got " << got;
        }
        EXPECT_EQ(failures, 0) << "flags " << cv.flags;
    }
}

TEST(TimecodeParse, PackedTextsMatchSscanf) {
    Probe<pal_label> pal(15);
    Probe<tc_120_label> hi(15);
    Probe<ntsc_drop_label> drop(15);
    int failures = 0;
    auto check = [&](auto& c, int rate, char const* t) {
        int h = 0, m = 0, s = 0, f = 0;
        bool const ok = std::sscanf(t, rate == 120 ? "%2d%2d%2d%3d" : "%2d%2d%2d%2d", &h, &m, &s, &f) == 4;
        int const got = c.get_abs_sample_from_packed_string(t);
        bool bad = !ok ? got != invalid_sample : !c.fields_are(h, m, s, f);
        if (ok && rate == 30) bad = bad || (h >= 0 && m >= 0 && s >= 0 && got != drop_count(h, m, s, f));
        if (ok && rate != 30) bad = bad || got != wrap(((static_cast<long long>(h) * 60 + m) * 60 + s) * rate + f);
        if (bad && ++failures < 8) ADD_FAILURE() << rate << " '" << t << "' got " << got;
    };
    for (std::string const& text : corpus()) {
        check(pal, 25, text.c_str());
        check(hi, 120, text.c_str());
        check(drop, 30, text.c_str());
    }
    EXPECT_EQ(failures, 0);
}

TEST(TimecodeParse, WorkedExamples) {
    label_cvt* pal = get_static_label_cvt(pal_label_t);
    for (char const* t : {"10:00:00:00", "10:00:00.00", "10:00:00;00", " 10:00:00.00", "10:00:00x00"})
        EXPECT_EQ(pal->get_abs_sample(t), 900000) << t;
    EXPECT_EQ(pal->get_abs_sample("-10:00:00.00"), -900000);
    EXPECT_EQ(pal->get_abs_sample("0:0:0.99"), 99);  // fields are not range-checked
    EXPECT_EQ(get_static_label_cvt(tc_240_label_t)->get_abs_sample(" 00:00:01.239"), 479);
    pal_label ms(2), s(4), none(8);  // fewer fields when the flags show fewer
    EXPECT_EQ(ms.get_abs_sample("-01:00.03"), -1503);
    EXPECT_EQ(s.get_abs_sample("05.03"), 128);
    EXPECT_EQ(none.get_abs_sample(".03"), invalid_sample);
}

TEST(TimecodeParse, MalformedAndOverlongTextsAreInvalid) {
    std::string const long_text = std::string(498, 'q') + "10";
    char const* const texts[] = {"10:00", "-10:00", "", "10:00:00.", ":00:00:00.00", long_text.c_str()};
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

}  // namespace
