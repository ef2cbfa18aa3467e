// Timecode converters: worked examples, whole-day round trips, drop-frame
// counting, the day wrap, packed texts, SMPTE words, half-rate settings and
// video time.
#include <climits>
#include <cmath>
#include <initializer_list>

#include "test_support.h"
#include "timecode_reference.h"

namespace {

char const* text_of(label_t t, int s) {
    static LabelPoint lp(0, pal_label_t);
    lp.set_type(t);
    return lp.cvt()->get_abs_string(&lp, s);
}

TEST(TimecodeExamples, Texts) {
    struct { label_t type; int sample; char const* text; } const cases[] = {
        {pal_label_t, 90000, " 01:00:00.00"},        {pal_label_t, -1, "-00:00:00.01"},
        {pal_label_t, 2160000, " 00:00:00.00"},      {pal_label_t, 2159999, " 23:59:59.24"},
        {tc_24_label_t, 24, " 00:00:01+00"},         {ntsc_drop_label_t, 1799, " 00:00:59;29"},
        {ntsc_drop_label_t, 1800, " 00:01:00;02"},   {ntsc_drop_label_t, 17982, " 00:10:00;00"},
        {ntsc_drop_label_t, 107892, " 01:00:00;00"}, {ntsc_drop_label_t, 2589407, " 23:59:59;29"},
        {tc_120_label_t, 119, " 00:00:00.119"},      {pal_label_t, past_end_sample, ">>>.>>.>>.>>"},
    };
    for (auto const& e : cases) EXPECT_STREQ(text_of(e.type, e.sample), e.text) << e.type << " " << e.sample;

    LabelPoint lp(0, pal_label_t);
    lp.removePadding();
    EXPECT_EQ(printed([&] { EXPECT_STREQ(lp.cvt()->get_abs_string(&lp, -1), "23:59:59.24"); }),
              assertion("abs_sample >= 0", "labelcvt", 1000));
    // Relative forms count from the point's sample.
    LabelPoint at100(100, pal_label_t);
    EXPECT_STREQ(at100.cvt()->get_string(&at100, -75), " 00:00:01.00");
    EXPECT_EQ(at100.cvt()->get_sample(&at100, " 00:00:08.00"), 100);
    EXPECT_EQ(at100.cvt()->get_smpte_string(&at100, 0), 0x400u);
}

TEST(TimecodeExamples, DisplayFlags) {
    struct { int flags, sample; char const* text; } const cases[] = {  // the text after the sign column
        {0, 128, "5.03"}, {0, 3, ""}, {8, 3, ".03"}, {4, 3, "00.03"}, {0, 90003, "1:00:00.03"}, {0, 1503, "1:00.03"},
        {2, 128, "00:05.03"}, {24, 7, ":03"}, {16, 7, ""},
    };
    for (auto const& c : cases) {
        pal_label cvt(c.flags);
        LabelPoint lp(0, &cvt);
        EXPECT_EQ(std::string(cvt.get_abs_string(&lp, c.sample)), std::string(" ") + c.text) << c.flags << " " << c.sample;
        lp.removePadding();
        EXPECT_STREQ(cvt.get_abs_string(&lp, c.sample), c.text) << c.flags << " " << c.sample;
    }
}

// Every rate: a day at a stride, every frame of the first minutes, the tenth
// minute and the day end, and negatives through the sign column.
TEST(TimecodeRoundTrip, EveryRateOverADay) {
    for (tcref::Rate const& r : tcref::rates()) {
        label_cvt* c = get_static_label_cvt(r.type);
        LabelPoint lp(0, c);
        int const day = r.day();
        int failures = 0;
        auto check = [&](int s) {
            int const back = c->get_abs_sample(c->get_abs_string(&lp, s));
            int const want = (r.type == ntsc_drop_label_t && s < 0) ? 0 : s;  // drop-frame reads '-' as 0
            if (back != want && ++failures < 5) ADD_FAILURE() << r.name << " " << s << " -> " << back;
        };
        for (int s = 0; s < day; s += 97) check(s);
        for (int s = 0; s < 4000; ++s) check(s);
        for (int s = 17900; s < 18100; ++s) check(s);
        for (int s = day - 4000; s < day; ++s) check(s);
        for (int s = -day + 1; s < 0; s += 4999) check(s);
        // Packed texts of the reference fields read back too.
        for (int s = 0; s < day; s += 331) {
            tcref::Hmsf const t = tcref::decompose(r, false, s);
            char packed[32];
            std::snprintf(packed, sizeof packed, r.frame_digits == 3 ? "%02d%02d%02d%03d" : "%02d%02d%02d%02d", t.h,
                          t.m, t.s, t.f);
            if (c->get_abs_sample_from_packed_string(packed) != s && ++failures < 5) ADD_FAILURE() << r.name << " " << packed;
        }
        EXPECT_EQ(failures, 0) << r.name;
    }
}

// Every frame of a drop-frame day has the textbook fields.
TEST(TimecodeDropFrame, EveryFrameOfADayHasTheTextbookFields) {
    tcref::Rate const& r = tcref::rates()[2];
    ASSERT_EQ(r.type, ntsc_drop_label_t);
    LabelPoint lp(0, ntsc_drop_label_t);
    short h, m, s, f;
    for (int n = 0; n < r.day(); ++n) {
        lp.sample = n;
        lp.get_hmsf(h, m, s, f);
        tcref::Hmsf const t = tcref::decompose(r, false, n);
        ASSERT_TRUE(h == t.h && m == t.m && s == t.s && f == t.f) << n << ": " << h << ":" << m << ":" << s << ";" << f;
    }
    for (label_t other : {film_frames_label_t, prefix_label_t}) {
        LabelPoint p(90013, other);
        h = m = s = f = 9;
        p.get_hmsf(h, m, s, f);
        EXPECT_TRUE(h == 0 && m == 0 && s == 0 && f == 0) << other;
    }
}

TEST(TimecodeDropFrame, Parsing) {
    struct { char const* text; int sample; } const cases[] = {
        {"00:01:00;02", 1800}, {"00:10:00;00", 17982}, {"00:01:00;00", 1798}, {"00:01:00;01", 1799},
        {"-00:00:01;00", 0},   {"-junk", 0},           {"01:00:00;00", 107892}, {"23:59:59;29", 2589407},
        {"00:09:59;29", 17981}, {"00:11:00;02", 19782}, {"00:10", invalid_sample}, {"", invalid_sample},
    };
    for (auto const& c : cases) EXPECT_EQ(get_static_label_cvt(ntsc_drop_label_t)->get_abs_sample(c.text), c.sample) << c.text;
    ntsc_drop_label minutes_only(2);  // the display flags do not change the drop-frame format
    EXPECT_EQ(minutes_only.get_abs_sample("00:01:00;02"), 1800);
    EXPECT_EQ(minutes_only.get_abs_sample("01:00;02"), invalid_sample);
}

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

TEST(TimecodeSmpte, ExamplesAndDecodeOverADay) {
    LabelPoint lp(0, pal_label_t);
    struct { label_t type; int sample; unsigned word; } const cases[] = {
        {pal_label_t, 90013, 0x01000013u}, {ntsc_drop_label_t, 1800, 0x00010042u}, {ntsc_drop_label_t, 0, 0x40u},
        {pal_label_t, 2159999, 0x23595924u}, {tc_50_label_t, 49, 0x49u},  // frame tens 4 land on bit 6
        {tc_240_label_t, 479, 0x179u},  // frame tens 23 run into the seconds
        {pal_label_t, -1, 0u}, {pal_label_t, INT_MIN, 0u}, {pal_label_t, past_end_sample, 0u},
    };
    for (auto const& c : cases)
        EXPECT_EQ(get_static_label_cvt(c.type)->get_abs_smpte_string(&lp, c.sample), c.word) << c.type << " " << c.sample;
    // Decoding gives the plain count of the displayed numbers and the drop flag.
    for (tcref::Rate const& r : tcref::rates()) {
        if (r.modulus > 30) continue;  // frame tens beyond 3 do not fit the word
        label_cvt* c = get_static_label_cvt(r.type);
        for (int s = 0; s < r.day() + 3000; s += 173) {
            bool drop = false;
            unsigned word = c->get_abs_smpte_string(&lp, s);
            int const back = c->get_samples_from_SMPTETc(word, drop);
            tcref::Hmsf const t = tcref::decompose(r, false, s);
            ASSERT_EQ(back, ((t.h * 60 + t.m) * 60 + t.s) * r.modulus + t.f) << r.name << " " << s;
            ASSERT_EQ(drop, r.type == ntsc_drop_label_t);
        }
    }
}

struct TimecodeConfig : HostReset {};

// The 50p and 60p keys: 2 counts frame pairs (half rate, ':' on the odd
// frame), 3 counts at half the rate, anything else leaves the rate.
TEST_F(TimecodeConfig, HalfRateKeys) {
    struct { char const* key; label_t type; int value, modulus; bool slow; int sample; char const* text; } const cases[] = {
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
    tc_50_label four(4);  // value 2 adds half-rate to the caller's flags
    LabelPoint fp(0, &four);
    EXPECT_STREQ(four.get_abs_string(&fp, 51), " 01:00");
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
        for (double bad : {std::nan(""), 1e99, -1e99, 2147483648.0}) EXPECT_EQ(t24->get_abs_sample(bad), invalid_sample);
        EXPECT_EQ(t24->get_abs_sample(2147483647.0), INT_MAX);
        EXPECT_EQ(t24->get_abs_sample(-2147483648.0), INT_MIN);
    });
}

}  // namespace
