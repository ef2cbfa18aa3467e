// Timecode converters: texts and SMPTE words against the reference for every
// rate, all 32 display flag combinations, with and without a sign column,
// through the leaf class and through a class derived from it (the general
// way), at the field boundaries, a day at a stride, negatives and the int
// extremes, reading back (every frame of the drop-frame days, whose rule all
// converters share, is walked in test_timecode_rate.cpp); worked examples;
// the day wrap, packed texts, half-rate settings, video time, and
// converters that override the steps or re-initialise. Parsing against
// sscanf over a corpus of odd texts, display and packed; worked examples;
// malformed texts at every rate.
#include <climits>
#include <cmath>
#include <cstring>
#include <cstdint>
#include <initializer_list>
#include <random>
#include <stdexcept>
#include <vector>

#include "test_support.h"
#include "timecode_reference.h"

namespace {

tcref::Rate const& rate(label_t t) {
    for (tcref::Rate const& r : tcref::rates())
        if (r.type == t) return r;
    throw std::logic_error("not a timecode type");
}

// Texts and SMPTE words of the leaf and of a derived converter.
TEST(TimecodeExamples, TextsAndWords) {
    struct {
        label_t type;
        int flags, sample;
        char const* text;
        unsigned word;
    } const cases[] = {
        {pal_label_t, 15, 90013, " 01:00:00.13", 0x01000013u},
        {pal_label_t, 15, -1, "-00:00:00.01", 0},
        {pal_label_t, 15, 2160000, " 00:00:00.00", 0},
        {pal_label_t, 15, 2159999, " 23:59:59.24", 0x23595924u},
        {tc_24_label_t, 15, 24, " 00:00:01+00", 0x100},
        {ntsc_drop_label_t, 15, 1799, " 00:00:59;29", 0x5969u},
        {ntsc_drop_label_t, 15, 1800, " 00:01:00;02", 0x10042u},
        {ntsc_drop_label_t, 15, 17982, " 00:10:00;00", 0x100040u},
        {ntsc_drop_label_t, 15, 107892, " 01:00:00;00", 0x1000040u},
        {ntsc_drop_label_t, 15, 2589407, " 23:59:59;29", 0x23595969u},
        {tc_120_label_t, 15, 119, " 00:00:00.119", 0xb9u},
        {pal_label_t, 15, past_end_sample, ">>>.>>.>>.>>", 0},
        {tc_50_label_t, 15, 49, " 00:00:00.49", 0x49u},      // frame tens 4 land on bit 6
        {tc_240_label_t, 15, 479, " 00:00:01.239", 0x179u},  // frame tens 23 run into the seconds
        {pal_label_t, 0, 128, " 5.03", 0x503u},
        {pal_label_t, 0, 3, " ", 3},
        {pal_label_t, 8, 3, " .03", 3},
        {pal_label_t, 4, 3, " 00.03", 3},
        {pal_label_t, 0, 90003, " 1:00:00.03", 0x1000003u},
        {pal_label_t, 0, 1503, " 1:00.03", 0x10003u},
        {pal_label_t, 2, 128, " 00:05.03", 0x503u},
        {pal_label_t, 24, 7, " :03", 3},
        {pal_label_t, 16, 7, " ", 3},  // half rate: ':' on odd samples
    };
    for (auto const& e : cases)
        for (tcref::Make make : {rate(e.type).make, rate(e.type).make_derived}) {
            auto c = make(e.flags);
            LabelPoint lp(0, c.get());
            EXPECT_STREQ(c->get_abs_string(&lp, e.sample), e.text) << e.type << " " << e.flags << " " << e.sample;
            EXPECT_EQ(c->get_abs_smpte_string(&lp, e.sample), e.word) << e.type << " " << e.sample;
        }
    // A point's fields (the general way's); other families have no time of
    // day. Forms relative to a point's sample are every variable label's,
    // checked by the label and registry suites.
    short h, m, s, f;
    LabelPoint(93079, pal_label_t).get_hmsf(h, m, s, f);
    EXPECT_TRUE(h == 1 && m == 2 && s == 3 && f == 4);
    for (label_t other : {film_frames_label_t, prefix_label_t}) {
        LabelPoint p(90013, other);
        p.get_hmsf(h = 9, m = 9, s = 9, f = 9);
        EXPECT_TRUE(h == 0 && m == 0 && s == 0 && f == 0) << other;
    }
}

std::vector<int> samples_for(tcref::Rate const& r) {
    int const m = r.modulus, d = r.day();
    std::vector<int> v = {0, 1, 3, m - 1, m, 10 * m - 1, 10 * m, 60 * m - 1, 60 * m, 600 * m, 3600 * m - 1, 3600 * m};
    v.insert(v.end(),
             {36000 * m - 1, 36000 * m, d - 1, d, d + 1, 2 * d, -1, -m, -m - 1, -3600 * m, -d + 1, -d, -d - 1});
    v.insert(v.end(), {-2 * d - 5, INT_MIN, INT_MIN + 1, INT_MAX, invalid_sample, invalid_sample + 1, past_end_sample,
                       before_start_sample});
    for (int s = 0; s < d; s += d / 1500 + 7) v.push_back(s);
    for (int s = -d; s < 0; s += d / 100 + 3) v.push_back(s);
    return v;
}

struct FormatSweep : testing::TestWithParam<tcref::Rate> {};

TEST_P(FormatSweep, AllFlagsMatchTheReference) {
    tcref::Rate const& r = GetParam();
    std::vector<int> const samples = samples_for(r);
    std::size_t const widest = r.frame_digits == 3 ? 13 : 12;
    for (int flags = 0; flags < 32; ++flags)
        for (bool sign : {true, false}) {
            std::unique_ptr<timecode_label> const cvts[2] = {r.make(flags), r.make_derived(flags)};
            LabelPoint lps[2] = {LabelPoint(0, cvts[0].get()), LabelPoint(0, cvts[1].get())};
            for (LabelPoint& lp : lps) {
                if (!sign) lp.removePadding();
                ASSERT_EQ(lp.label_template.template_text, sign ? r.templ : r.templ + 1);
            }
            int failures = 0;
            std::string expected_log;
            std::string const log = printed([&] {
                for (int s : samples) {
                    std::string const want = tcref::text(r, flags, sign, s);
                    unsigned const want_word = tcref::smpte(r, (flags & 16) != 0, s);
                    for (int k = 0; k < 2; ++k) {
                        timecode_label* c = cvts[k].get();
                        LabelPoint& lp = lps[k];
                        auto fail = [&](std::string const& what) {
                            if (++failures < 5)
                                ADD_FAILURE() << r.name << " " << flags << sign << k << " " << s << ": " << what;
                        };
                        std::memset(lp.text, 'Z', sizeof lp.text);
                        char const* got = c->get_abs_string(&lp, s);
                        if (want != got || std::strlen(got) > widest || lp.text[sizeof lp.text - 1] != 'Z')
                            fail(std::string("text '") + got + "' want '" + want + "'");
                        if (!sign && s < 0 && !tcref::special(s))
                            expected_log += assertion("abs_sample >= 0", "labelcvt", r.negative_line);
                        unsigned word = c->get_abs_smpte_string(&lp, s);
                        if (word != want_word) fail("SMPTE word " + std::to_string(word));
                        if (flags != 15 || !sign || tcref::special(s) || s <= -r.day() || s >= r.day()) continue;
                        // The registry's flags: the text reads back (drop-frame reads '-' as 0), and so
                        // does the packed text of the fields; the word decodes to the plain count.
                        int const back = c->get_abs_sample(got);
                        if (back != ((r.type == ntsc_drop_label_t && s < 0) ? 0 : s))
                            fail("read back " + std::to_string(back));
                        if (s < 0) continue;
                        tcref::Hmsf const t = tcref::decompose(r, false, s);
                        char packed[32];
                        std::snprintf(packed, sizeof packed,
                                      r.frame_digits == 3 ? "%02d%02d%02d%03d" : "%02d%02d%02d%02d", t.h, t.m, t.s,
                                      t.f);
                        if (c->get_abs_sample_from_packed_string(packed) != s) fail(std::string("packed ") + packed);
                        bool drop = false;
                        int const plain = ((t.h * 60 + t.m) * 60 + t.s) * r.modulus + t.f;
                        if (r.modulus <= 30 &&
                            (c->get_samples_from_SMPTETc(word, drop) != plain || drop != (r.type == ntsc_drop_label_t)))
                            fail("SMPTE decode");
                    }
                }
            });
            EXPECT_EQ(failures, 0) << r.name << " flags " << flags;
            EXPECT_EQ(log, expected_log) << r.name << " flags " << flags;
        }
}

INSTANTIATE_TEST_SUITE_P(Timecode, FormatSweep, testing::ValuesIn(tcref::rates()),
                         [](auto const& info) { return std::string(info.param.name); });

// The remainder gives what adding or subtracting whole days one at a time
// gives, at the extremes of int too.
TEST(TimecodeNormalise, SameAsDayByDay) {
    for (tcref::Rate const& r : tcref::rates()) {
        int const d = r.day();
        auto by_days = [d](long long s) {
            while (s < 0) s += d;
            while (s > d) s -= d;
            return static_cast<int>(s);
        };
        for (int s : {INT_MIN, INT_MAX, 0, -1, d, d + 1, -d, 2 * d, 2 * d + 1, invalid_sample})
            EXPECT_EQ(get_static_label_cvt(r.type)->normalise_sample_unit(s), by_days(s)) << r.name << " " << s;
    }
}

TEST(TimecodePacked, ExamplesAndSpans) {
    label_cvt* pal = get_static_label_cvt(pal_label_t);
    EXPECT_EQ(get_static_label_cvt(tc_120_label_t)->get_abs_sample_from_packed_string("000001119"), 239);
    EXPECT_EQ(pal->get_abs_sample_from_packed_string("010000"), invalid_sample);
    EXPECT_EQ(pal->get_sample_span_from_packed_strings("23595900", "00000100"), 50);  // wraps once
    EXPECT_EQ(pal->get_sample_span_from_packed_strings("00000100", "23595900"), 2159950);
    EXPECT_EQ(get_static_label_cvt(ntsc_drop_label_t)->get_sample_span_from_packed_strings("00005929", "00010002"), 1);
}

struct TimecodeConfig : HostReset {};

// The 50p and 60p keys: 2 counts frame pairs (half rate, ':' on the odd
// frame), 3 counts at half the rate, anything else leaves the rate.
TEST_F(TimecodeConfig, HalfRateKeys) {
    struct {
        char const* key;
        label_t type;
        int value, modulus;
        bool slow;
        int sample;
        char const* text;
    } const cases[] = {
        {"50p_timecode_type", tc_50_label_t, 2, 25, true, 50, " 00:00:01.00"},
        {"50p_timecode_type", tc_50_label_t, 2, 25, true, 51, " 00:00:01:00"},
        {"50p_timecode_type", tc_50_label_t, 2, 25, true, 4319999, " 23:59:59:24"},
        {"60p_timecode_type", tc_60_label_t, 2, 30, true, 61, " 00:00:01:00"},
        {"60p_timecode_type", tc_60_label_t, 3, 30, false, 61, " 00:00:02.01"},
        {"60p_timecode_type", tc_60_label_t, 4, 60, false, 61, " 00:00:01.01"},
        {"50p_timecode_type", tc_50_duration_label_t, 2, 50, false, 51, " 00:00:01.01"},  // durations ignore it
    };
    for (auto const& c : cases) {
        host::set_config_int(c.key, c.value);
        Cvt cvt = fresh(c.type);
        LabelPoint lp(0, cvt.get());
        EXPECT_EQ(cvt->get_modulus(), c.modulus) << c.key << " " << c.value;
        EXPECT_EQ(dynamic_cast<timecode_label*>(cvt.get())->get_day_samples(), c.modulus * 86400);
        EXPECT_EQ(cvt->isSpecialSlowTC(), c.slow) << c.key << " " << c.value;
        EXPECT_STREQ(cvt->get_abs_string(&lp, c.sample), c.text) << c.key << " " << c.value;
    }
    host::set_config_int("50p_timecode_type", 2);
    Cvt c = fresh(tc_50_label_t);
    LabelPoint lp(0, c.get());
    EXPECT_EQ(c->get_abs_sample(" 00:00:01:00"), 25);  // the timecode frame count, not 51
    EXPECT_EQ(c->get_abs_smpte_string(&lp, 51), 0x100u);
    EXPECT_EQ(get_static_label_cvt(tc_50_label_t)->get_modulus(), 50);  // built before the key was set
    tc_50_label four(4);                                                // value 2 adds half-rate to the caller's flags
    LabelPoint fp(0, &four);
    EXPECT_STREQ(four.get_abs_string(&fp, 51), " 01:00");
}

// A host's converter overriding the decomposition and composition: every
// operation built on them follows the overrides.
template <class Leaf>
struct FixedClock : Leaf {
    FixedClock() : Leaf(15) {}
    int sample_to_hmsf(int, bool& odd) override {
        odd = false;
        this->hours = 1, this->minutes = 2, this->seconds = 3, this->frames = 4;
        return 4;
    }
    int hmsf_to_sample() override { return 42; }
};

TEST(TimecodeOverrides, StepsAreHonoured) {
    FixedClock<pal_label> pal;
    FixedClock<ntsc_drop_label> drop;
    for (timecode_label* c : std::initializer_list<timecode_label*>{&pal, &drop}) {
        LabelPoint lp(0, c);
        EXPECT_EQ(std::string(c->get_abs_string(&lp, 777)), std::string(" 01:02:03") + c->getFrameSeparator() + "04");
        EXPECT_EQ(c->get_abs_smpte_string(&lp, 777) & ~0x40u, 0x01020304u);
        EXPECT_EQ(c->get_abs_sample(" 10:00:00;00"), 42);
        EXPECT_EQ(c->get_abs_sample_from_packed_string("10000000"), 42);
    }
}

// init() gives a day of modulus x 86400 and the '.' separator: the leaf
// and the general way agree on the longer drop-frame day.
TEST(TimecodeInit, LeafFollowsTheNewDay) {
    auto leaf = rate(ntsc_drop_label_t).make(15), general = rate(ntsc_drop_label_t).make_derived(15);
    leaf->init();
    general->init();
    LabelPoint a(0, leaf.get()), b(0, general.get());
    for (int s : {0, 1800, 2589407, 2589408, 2591999, 2592000, -1}) {
        EXPECT_STREQ(leaf->get_abs_string(&a, s), general->get_abs_string(&b, s)) << s;
        EXPECT_EQ(leaf->get_abs_smpte_string(&a, s), general->get_abs_smpte_string(&b, s)) << s;
    }
    EXPECT_STREQ(leaf->get_abs_string(&a, 2589408), " 24:00:00.00");
}

TEST(TimecodeVideoTime, AssertsAndScales) {
    label_cvt* pal = get_static_label_cvt(pal_label_t);
    label_cvt* ntsc = get_static_label_cvt(ntsc_drop_label_t);
    label_cvt* t24 = get_static_label_cvt(tc_24_label_t);
    EXPECT_EQ(printed([&] { EXPECT_DOUBLE_EQ(pal->get_V2tc(50), 2.0); }), assertion("0", "labelcvt", 865));
    EXPECT_EQ(printed([&] { EXPECT_EQ(pal->get_abs_sample(2.0), 50); }), assertion("0", "labelcvt", 872));
    printed([&] {
        EXPECT_DOUBLE_EQ(t24->get_V2tc(24), 24.0);  // no video rate: one sample a second
        EXPECT_NEAR(ntsc->get_V2tc(30000), 1001.0, 1e-9);
        EXPECT_EQ(ntsc->get_abs_sample(1.0), 29);
        EXPECT_EQ(pal->get_abs_sample(-0.039), -1);
        for (double bad : {std::nan(""), 1e99, -1e99, 2147483648.0})
            EXPECT_EQ(t24->get_abs_sample(bad), invalid_sample);
        EXPECT_EQ(t24->get_abs_sample(2147483647.0), INT_MAX);
        EXPECT_EQ(t24->get_abs_sample(-2147483648.0), INT_MIN);
    });
}

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

// What the corpus leaves to hand, by tcref::rates() row (0: 25 fps, 2:
// drop-frame, 16: 240 fps) and flags: values whose fields sscanf reads the
// same (0.99 frames, 240 fps), and drop-frame fields counted negative (minute
// units dropped too, negative seconds as none).
TEST(TimecodeParse, WorkedExamples) {
    struct {
        int rate, flags;
        std::vector<std::pair<char const*, int>> reads;
    } const cases[] = {
        {0, 15, {{"10:00:00x00", 900000}, {"-10:00:00.00", -900000}, {"0:0:0.99", 99}}},
        {16, 15, {{" 00:00:01.239", 479}}},
        {2, 15, {{"00:01:00;00", 1798}, {"01:-5:00;00", 107890}, {"01:-5:03;04", 107984}}},
        {2, 15, {{"00:01:-1;05", 1805}, {"00:00:-3;07", 7}}},
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

// Qualified, the base class answers for itself; virtually, every leaf (and
// a class derived from it) answers with its own row.
TEST(TimecodeBaseClass, QualifiedCallsAnswerAsTheBase) {
    for (tcref::Rate const& r : tcref::rates())
        for (tcref::Make make : {r.make, r.make_derived}) {
            std::unique_ptr<timecode_label> c = make(15);
            EXPECT_STREQ(c->timecode_label::type_str(), "timecode_label") << r.name;
            EXPECT_EQ(c->timecode_label::type(), timecode_label_t) << r.name;
            EXPECT_STREQ(c->type_str(), r.name);
            EXPECT_EQ(c->type(), r.type);
            c->timecode_label::build_template();
            EXPECT_EQ(c->full_template.template_text, "-29.59.59.29") << r.name;
            c->build_template();
            EXPECT_EQ(c->full_template.template_text, r.templ) << r.name;
            EXPECT_EQ(c->count_template.template_text, r.templ) << r.name;
        }
}
