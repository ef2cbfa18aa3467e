// Timecode parsing against sscanf over a corpus of odd texts, display and
// packed; worked examples; malformed texts at every rate.
#include <climits>
#include <cstdint>
#include <random>
#include <vector>

#include "test_support.h"
#include "timecode_reference.h"

namespace {

using tcref::Derived;

int wrap(long long v) { return static_cast<int>(static_cast<std::uint32_t>(static_cast<unsigned long long>(v))); }
int drop_count(long long h, long long m, long long s, long long f) {
    long long const minutes = h * 60 + m;
    return wrap((minutes * 60 + s) * 30 + f - 2 * (minutes - minutes / 10));
}

std::vector<std::string> corpus() {
    std::vector<std::string> v = {"10:00:00;00", "-00:00:00.01", "", "-", "--1:00:00:00",
                                  "+1:00:00:00", "- 1:00:00:00"};
    v.insert(v.end(), {"1 :00:00:00", "1:00:00\t7", "1:00:00:-5", "\t\n 1:00:00.00", "2147483648:00:00:00"});
    v.insert(v.end(), {"99999999999999999999:0:0:0", "-2147483648:0:0:0", "0:0:0.2147483647", "05.03", "0x10:0:0:0"});
    v.insert(v.end(), {"\xff", "000001119", "1 2 3 4", "-1-1-1-1", "12\n34\t56 78", " 01:02:03.4567", "01:02:03.456:"});
    v.insert(v.end(), {std::string(500, '9'), std::string(250, '0') + ":0:0:0" + std::string(240, '0')});
    char const* const pieces[] = {"0", "00", "1", "05", "59", "123", "2147483648", "99999999999", "-", "+",
                                  " ", "\t", ":", ":",  ";",  ".",   "x"};
    std::mt19937 rng(20240607u);
    for (int i = 0; i < 3000; ++i) {  // runs of numbers, signs, blanks and separators
        std::string t;
        for (int k = 1 + static_cast<int>(rng() % 10); k > 0; --k)
            t += pieces[rng() % (sizeof pieces / sizeof *pieces)];
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

// Every text of the corpus, read as a display text with the formats the
// flags choose and (registry flags) as a packed text: the fields are those
// sscanf reads, the sample theirs (negated after a '-'; drop-frame gives 0
// for a '-' and its count only for non-negative fields), and the leaf class
// reads what the derived one reads.
TEST(TimecodeParse, CorpusMatchesSscanf) {
    std::vector<std::string> const texts = corpus();
    struct {
        int flags, fields;
    } const convs[] =  // whole-unit fields of the format the flags choose
        {{15, 3}, {1, 3}, {7, 3}, {2, 2}, {6, 2}, {4, 1}, {12, 1}, {0, 0}, {8, 0}, {16, 0}, {31, 3}};
    for (auto const& cv : convs) {
        Derived<pal_label> pal(cv.flags);
        Derived<tc_120_label> hi(cv.flags);
        Derived<ntsc_drop_label> drop(cv.flags);
        pal_label pal_leaf(cv.flags);
        tc_120_label hi_leaf(cv.flags);
        ntsc_drop_label drop_leaf(cv.flags);
        int failures = 0;
        auto check = [&](auto& c, timecode_label& leaf, int rate, char const* t) {
            auto wrong = [&](Scanned const& w, int got, bool neg) {
                if (!w.ok) return got != invalid_sample;
                if (!c.fields_are(w.h, w.m, w.s, w.f)) return true;
                if (rate == 30) return w.h >= 0 && w.m >= 0 && w.s >= 0 && got != drop_count(w.h, w.m, w.s, w.f);
                long long const v = wrap(((static_cast<long long>(w.h) * 60 + w.m) * 60 + w.s) * rate + w.f);
                return got != (neg ? wrap(-v) : v);
            };
            bool const neg = t[0] == '-';
            int const got = c.get_abs_sample(t);
            bool bad = leaf.get_abs_sample(t) != got ||
                       (rate == 30 && neg ? got != 0 : wrong(scan_ref(t, rate == 30 ? 3 : cv.fields), got, neg));
            if (cv.flags == 15) {
                Scanned p{false, 0, 0, 0, 0};
                p.ok = std::sscanf(t, rate == 120 ? "%2d%2d%2d%3d" : "%2d%2d%2d%2d", &p.h, &p.m, &p.s, &p.f) == 4;
                bad = bad || wrong(p, c.get_abs_sample_from_packed_string(t), false);
            }
            if (bad && ++failures < 8)
                ADD_FAILURE() << "flags " << cv.flags << " rate " << rate << " '" << t << "' got " << got;
        };
        for (std::string const& text : texts) {
            check(pal, pal_leaf, 25, text.c_str());
            check(hi, hi_leaf, 120, text.c_str());
            check(drop, drop_leaf, 30, text.c_str());
        }
        EXPECT_EQ(failures, 0) << "flags " << cv.flags;
    }
}

// By tcref::rates() row (0: 25 fps, 2: drop-frame, 16: 240 fps) and flags:
// any frame separator, fields not range-checked, fewer fields with fewer
// flags. Drop-frame reads all fields, gives 0 after a '-', drops minute units
// counted negative too and counts negative seconds as none.
TEST(TimecodeParse, WorkedExamples) {
    struct {
        int rate, flags;
        std::vector<std::pair<char const*, int>> reads;
    } const cases[] = {
        {0, 15, {{"10:00:00:00", 900000}, {"10:00:00;00", 900000}, {" 10:00:00.00", 900000}, {"10:00:00x00", 900000}}},
        {0, 15, {{"-10:00:00.00", -900000}, {"0:0:0.99", 99}}},
        {16, 15, {{" 00:00:01.239", 479}}},
        {0, 2, {{"-01:00.03", -1503}}},
        {0, 4, {{"05.03", 128}}},
        {0, 8, {{".03", invalid_sample}}},
        {2, 15, {{"00:01:00;00", 1798}, {"00:01:00;01", 1799}, {"-00:00:01;00", 0}, {"-junk", 0}}},
        {2, 15, {{"00:10", invalid_sample}, {"", invalid_sample}, {"01:-5:00;00", 107890}, {"01:-5:03;04", 107984}}},
        {2, 15, {{"00:01:-1;05", 1805}, {"00:00:-3;07", 7}}},
        {2, 2, {{"00:01:00;02", 1800}, {"01:00;02", invalid_sample}}},
    };
    for (auto const& c : cases)
        for (auto const& [text, sample] : c.reads)
            for (tcref::Make make : {tcref::rates()[c.rate].make, tcref::rates()[c.rate].make_derived})
                EXPECT_EQ(make(c.flags)->get_abs_sample(text), sample)
                    << c.rate << " " << c.flags << " '" << text << "'";
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
