// Timecode converters: worked examples, whole-day round trips, drop-frame
// boundaries, the day wrap, packed texts and spans, SMPTE words, half-rate
// configuration, video time, and the label point's timecode operations.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <string>

#include "timecode_reference.h"

namespace {

char const* text_of(label_t t, int s) {
    static LabelPoint lp(0, pal_label_t);
    lp.set_type(t);
    return lp.cvt()->get_abs_string(&lp, s);
}

int parse(label_t t, char const* text) { return get_static_label_cvt(t)->get_abs_sample(text); }

struct ConfigReset : ::testing::Test {
    void TearDown() override { host::reset_config(); }
};

// ---------------------------------------------------------------------------
TEST(TimecodeRegistry, EveryTimecodeTypeHasItsLeaf) {
    int made = 0;
    for (int i = -2; i < label_type_count + 3; ++i) {
        label_t const t = static_cast<label_t>(i);
        int const before = label_cvt::howmany;
        label_cvt* c = make_timecode_label_cvt(t);
        LabelTypeInfo const& info = label_type_info(t);
        bool const is_tc = i >= 0 && i < label_type_count && info.category == timecode_UserLabel;
        ASSERT_EQ(c != nullptr, is_tc) << i;
        if (!c) continue;
        ++made;
        EXPECT_EQ(label_cvt::howmany, before + 1);
        EXPECT_EQ(c->type(), t);
        EXPECT_STREQ(c->type_str(), info.class_name);
        EXPECT_EQ(c->UserType(), timecode_UserLabel);
        EXPECT_EQ(c->get_modulus(), info.modulus);
        EXPECT_EQ(c->samples_per_unit(), 1);
        EXPECT_FALSE(c->isSpecialSlowTC());
        EXPECT_FALSE(c->has_prefix());
        EXPECT_EQ(get_label_type(c->type_str()), t);
        delete c;
        EXPECT_EQ(label_cvt::howmany, before);
    }
    EXPECT_EQ(made, 17);
    EXPECT_EQ(get_label_type("timecode_label"), prefix_label_t);
}

TEST(TimecodeRegistry, RatesSeparatorsDaysAndTemplates) {
    for (tcref::Rate const& r : tcref::rates()) {
        auto* c = dynamic_cast<timecode_label*>(get_static_label_cvt(r.type));
        ASSERT_TRUE(c) << r.name;
        EXPECT_EQ(c->getFrameSeparator(), r.separator) << r.name;
        EXPECT_EQ(c->get_day_samples(), r.day) << r.name;
        EXPECT_STREQ(c->full_template.template_text.c_str(), r.templ) << r.name;
        EXPECT_STREQ(c->count_template.template_text.c_str(), r.templ) << r.name;
    }
}

// ---------------------------------------------------------------------------
struct Example {
    label_t type;
    int sample;
    char const* text;
};

TEST(TimecodeExamples, RegistryTexts) {
    Example const cases[] = {
        {pal_label_t, 90000, " 01:00:00.00"},     {pal_label_t, 90013, " 01:00:00.13"},
        {pal_label_t, -1, "-00:00:00.01"},        {pal_label_t, 2160000, " 00:00:00.00"},
        {pal_label_t, 2159999, " 23:59:59.24"},   {tc_24_label_t, 24, " 00:00:01+00"},
        {tc_48_label_t, 47, " 00:00:00+47"},      {ntsc_drop_label_t, 1799, " 00:00:59;29"},
        {ntsc_drop_label_t, 1800, " 00:01:00;02"}, {ntsc_drop_label_t, 17982, " 00:10:00;00"},
        {ntsc_drop_label_t, 107892, " 01:00:00;00"}, {ntsc_drop_label_t, 2589407, " 23:59:59;29"},
        {ntsc_drop_label_t, 2589408, " 00:00:00;00"}, {ntsc_drop_label_t, 3597, " 00:01:59;29"},
        {ntsc_drop_label_t, 3598, " 00:02:00;02"}, {ntsc_label_t, 1800, " 00:01:00.00"},
        {tc_120_label_t, 119, " 00:00:00.119"},   {tc_240_label_t, 20735999, " 23:59:59.239"},
        {tc_100_label_t, 99, " 00:00:00.99"},     {tc_12_label_t, 1036799, " 23:59:59.11"},
        {pal_label_t, invalid_sample, "???.??.??.??"}, {pal_label_t, past_end_sample, ">>>.>>.>>.>>"},
        {pal_label_t, before_start_sample, "<<<.<<.<<.<<"}, {tc_120_label_t, invalid_sample, "???.??.??.???"},
    };
    for (Example const& e : cases) EXPECT_STREQ(text_of(e.type, e.sample), e.text) << e.type << " " << e.sample;
}

TEST(TimecodeExamples, NegativeWithoutSignColumnAsserts) {
    struct Case {
        label_t type;
        char const* text;
        char const* line;
    } const cases[] = {
        {pal_label_t, "23:59:59.24", "1000"},
        {tc_120_label_t, "23:59:59.119", "1079"},
        {tc_240_label_t, "23:59:59.239", "1160"},
    };
    for (Case const& c : cases) {
        LabelPoint lp(0, c.type);
        lp.removePadding();
        ::testing::internal::CaptureStdout();
        std::string const got = lp.cvt()->get_abs_string(&lp, -1);
        std::string const log = ::testing::internal::GetCapturedStdout();
        EXPECT_EQ(got, c.text);
        EXPECT_EQ(log, std::string("assertion failed abs_sample >= 0 at labelsbase/labelcvt line ") + c.line + "\n");
    }
    // A negative point keeps its sign column: removing the padding is refused.
    LabelPoint neg(-1, pal_label_t);
    neg.sample = -1;
    neg.removePadding();
    EXPECT_STREQ(neg.get_string(), "-00:00:00.01");
}

TEST(TimecodeExamples, DisplayFlags) {
    struct Case {
        int flags;
        int sample;
        char const* text;  // after the sign column
    } const cases[] = {
        {0, 128, "5.03"}, {0, 3, ""},        {8, 3, ".03"},         {4, 3, "00.03"},    {0, 90003, "1:00:00.03"},
        {0, 253, "10.03"}, {0, 1503, "1:00.03"}, {0, 15003, "10:00.03"}, {2, 128, "00:05.03"}, {1, 3, "00:00:00.03"},
        {0, 900003, "10:00:00.03"}, {15, 3, "00:00:00.03"}, {24, 7, ":03"}, {20, 6, "00.03"}, {16, 7, ""}, {0, 0, ""}, {8, 0, ".00"},
    };
    for (Case const& c : cases) {
        pal_label cvt(c.flags);
        LabelPoint lp(0, &cvt);
        EXPECT_EQ(std::string(cvt.get_abs_string(&lp, c.sample)), std::string(" ") + c.text)
            << c.flags << " " << c.sample;
        lp.removePadding();
        EXPECT_STREQ(cvt.get_abs_string(&lp, c.sample), c.text) << c.flags << " " << c.sample;
    }
    pal_label cvt(0);
    LabelPoint lp(0, &cvt);
    EXPECT_STREQ(cvt.get_abs_string(&lp, -128), "-5.03");
}

TEST(TimecodeExamples, RelativeForms) {
    LabelPoint lp(100, pal_label_t);
    label_cvt* c = lp.cvt();
    EXPECT_STREQ(c->get_string(&lp, -75), " 00:00:01.00");
    EXPECT_EQ(c->get_sample(&lp, " 00:00:08.00"), 100);
    EXPECT_EQ(c->get_smpte_string(&lp, 0), 0x400u);
    LabelPoint hi(0, tc_120_label_t);
    hi.sample = 119;
    EXPECT_STREQ(hi.cvt()->get_string(&hi, 1), " 00:00:01.000");
}

// ---------------------------------------------------------------------------
TEST(TimecodeRoundTrip, EveryTypeOverADay) {
    for (tcref::Rate const& r : tcref::rates()) {
        label_cvt* c = get_static_label_cvt(r.type);
        LabelPoint lp(0, c);
        int failures = 0;
        auto check = [&](int s) {
            int const back = c->get_abs_sample(c->get_abs_string(&lp, s));
            int const want = (r.type == ntsc_drop_label_t && s < 0) ? 0 : s;  // drop-frame reads '-' as 0
            if (back != want && ++failures < 5)
                ADD_FAILURE() << r.name << " " << s << " '" << c->get_abs_string(&lp, s) << "' -> " << back;
        };
        for (int s = 0; s < r.day; s += 97) check(s);
        for (int s = 0; s < 4000; ++s) check(s);               // first minutes, every frame
        for (int s = 17900; s < 18100; ++s) check(s);           // the tenth minute
        for (int s = r.day - 4000; s < r.day; ++s) check(s);    // day end
        for (int s = -r.day + 1; s < 0; s += 4999) check(s);    // sign column
        EXPECT_EQ(failures, 0) << r.name;
    }
}

TEST(TimecodeRoundTrip, PackedTextsOverADay) {
    for (tcref::Rate const& r : tcref::rates()) {
        label_cvt* c = get_static_label_cvt(r.type);
        int failures = 0;
        for (int s = 0; s < r.day; s += 331) {
            tcref::Hmsf const t = tcref::decompose(r, r.modulus, r.day, false, s);
            char packed[32];
            std::snprintf(packed, sizeof packed, r.frame_digits == 3 ? "%02d%02d%02d%03d" : "%02d%02d%02d%02d", t.h,
                          t.m, t.s, t.f);
            if (c->get_abs_sample_from_packed_string(packed) != s && ++failures < 5)
                ADD_FAILURE() << r.name << " " << packed;
        }
        EXPECT_EQ(failures, 0) << r.name;
    }
}

// ---------------------------------------------------------------------------
TEST(TimecodeDropFrame, Parsing) {
    struct Case {
        char const* text;
        int sample;
    } const cases[] = {
        {"00:01:00;02", 1800}, {"00:10:00;00", 17982}, {"00:01:00;00", 1798}, {"00:01:00;01", 1799},
        {"-00:00:01;00", 0},   {"-junk", 0},           {"01:00:00;00", 107892}, {"23:59:59;29", 2589407},
        {"00:00:59;29", 1799}, {"00:09:59;29", 17981}, {"00:11:00;02", 19782}, {" 00:02:00;02", 3598},
        {"00:01:01;00", 1828}, {"00:10", invalid_sample}, {"", invalid_sample}, {"x", invalid_sample},
    };
    for (Case const& c : cases) EXPECT_EQ(parse(ntsc_drop_label_t, c.text), c.sample) << c.text;
    // The display flags do not change the drop-frame format.
    ntsc_drop_label minutes_only(2);
    EXPECT_EQ(minutes_only.get_abs_sample("00:01:00;02"), 1800);
    EXPECT_EQ(minutes_only.get_abs_sample("01:00;02"), invalid_sample);
}

TEST(TimecodeDropFrame, EveryFrameOfADayIsDistinctAndInOrder) {
    label_cvt* c = get_static_label_cvt(ntsc_drop_label_t);
    LabelPoint lp(0, c);
    short h, m, s, f, ph = 0, pm = 0, ps = 0, pf = -1;
    for (int n = 0; n < 2589408; ++n) {
        lp.sample = n;
        lp.get_hmsf(h, m, s, f);
        // The next number after the previous one, skipping 0 and 1 at each
        // minute start except every tenth minute.
        int nf = pf + 1, ns = ps, nm = pm, nh = ph;
        if (nf == 30) nf = 0, ++ns;
        if (ns == 60) ns = 0, ++nm;
        if (nm == 60) nm = 0, ++nh;
        if (ns == 0 && nf == 0 && nm % 10 != 0) nf = 2;
        if (n == 0) nf = 0, ns = 0, nm = 0, nh = 0;
        if (h != nh || m != nm || s != ns || f != nf) {
            ADD_FAILURE() << n << ": " << h << ":" << m << ":" << s << ";" << f;
            break;
        }
        ph = h, pm = m, ps = s, pf = f;
    }
    EXPECT_EQ(ph, 23);
    EXPECT_EQ(pm, 59);
    EXPECT_EQ(ps, 59);
    EXPECT_EQ(pf, 29);
}

// ---------------------------------------------------------------------------
TEST(TimecodeNormalise, Examples) {
    label_cvt* c = get_static_label_cvt(pal_label_t);
    EXPECT_EQ(c->normalise_sample_unit(-1), 2159999);
    EXPECT_EQ(c->normalise_sample_unit(2160000), 2160000);
    EXPECT_EQ(c->normalise_sample_unit(2160001), 1);
    EXPECT_EQ(c->normalise_sample_unit(4320000), 2160000);
    EXPECT_EQ(c->normalise_sample_unit(-2160000), 0);
    EXPECT_EQ(c->normalise_sample_unit(0), 0);
}

// The remainder gives what adding or subtracting whole days one at a time
// gives, at the extremes of int too.
TEST(TimecodeNormalise, SameAsDayByDay) {
    auto by_days = [](int s, int day) {
        while (s < 0) s += day;
        while (s > day) s -= day;
        return s;
    };
    for (tcref::Rate const& r : tcref::rates()) {
        label_cvt* c = get_static_label_cvt(r.type);
        int const d = r.day;
        for (int s : std::initializer_list<int>{INT_MIN, INT_MIN + 1, INT_MAX, INT_MAX - 1, 0, 1, -1, d, d + 1, d - 1, -d, -d - 1, -d + 1, 2 * d,
                      2 * d + 1, -2 * d, -2 * d + 1, 7 * d, invalid_sample, past_end_sample})
            EXPECT_EQ(c->normalise_sample_unit(s), by_days(s, d)) << r.name << " " << s;
        for (int s = -3 * d; s < 3 * d; s += 104729) EXPECT_EQ(c->normalise_sample_unit(s), by_days(s, d));
    }
}

// ---------------------------------------------------------------------------
TEST(TimecodePacked, ExamplesAndSpans) {
    label_cvt* pal = get_static_label_cvt(pal_label_t);
    label_cvt* drop = get_static_label_cvt(ntsc_drop_label_t);
    label_cvt* hi = get_static_label_cvt(tc_120_label_t);
    EXPECT_EQ(hi->get_abs_sample_from_packed_string("000001119"), 239);
    EXPECT_EQ(pal->get_abs_sample_from_packed_string("01000013"), 90013);
    EXPECT_EQ(pal->get_abs_sample_from_packed_string("010000"), invalid_sample);
    EXPECT_EQ(pal->get_abs_sample_from_packed_string(""), invalid_sample);
    EXPECT_EQ(drop->get_abs_sample_from_packed_string("00010002"), 1800);
    EXPECT_EQ(pal->get_sample_span_from_packed_strings("23595900", "00000100"), 50);
    EXPECT_EQ(pal->get_sample_span_from_packed_strings("00000100", "23595900"), 2159950);
    EXPECT_EQ(pal->get_sample_span_from_packed_strings("10000000", "10000000"), 0);
    EXPECT_EQ(drop->get_sample_span_from_packed_strings("23595929", "00000000"), 1);
    EXPECT_EQ(drop->get_sample_span_from_packed_strings("00005929", "00010002"), 1);
    EXPECT_EQ(hi->get_sample_span_from_packed_strings("235959119", "000000001"), 2);
}

// ---------------------------------------------------------------------------
TEST(TimecodeSmpte, Examples) {
    LabelPoint lp(0, pal_label_t);
    EXPECT_EQ(get_static_label_cvt(pal_label_t)->get_abs_smpte_string(&lp, 90013), 0x01000013u);
    EXPECT_EQ(get_static_label_cvt(ntsc_drop_label_t)->get_abs_smpte_string(&lp, 1800), 0x00010042u);
    EXPECT_EQ(get_static_label_cvt(ntsc_drop_label_t)->get_abs_smpte_string(&lp, 0), 0x40u);
    EXPECT_EQ(get_static_label_cvt(pal_label_t)->get_abs_smpte_string(&lp, 2159999), 0x23595924u);
    // 50 fps frame 49 is not halved: tens 4 lands on bit 6.
    EXPECT_EQ(get_static_label_cvt(tc_50_label_t)->get_abs_smpte_string(&lp, 49), 0x49u);
    // 240 fps frame 239: tens 23 run into the seconds units.
    EXPECT_EQ(get_static_label_cvt(tc_240_label_t)->get_abs_smpte_string(&lp, 240 + 239), 0x179u);
    for (int s : std::initializer_list<int>{-1, INT_MIN, invalid_sample, past_end_sample, before_start_sample})
        EXPECT_EQ(get_static_label_cvt(pal_label_t)->get_abs_smpte_string(&lp, s), 0u) << s;
}

TEST(TimecodeSmpte, EncodeDecodeAgree) {
    LabelPoint lp(0, pal_label_t);
    for (tcref::Rate const& r : tcref::rates()) {
        if (r.modulus > 30) continue;  // frame tens beyond 3 do not fit the word
        label_cvt* c = get_static_label_cvt(r.type);
        int failures = 0;
        for (int s = 0; s < r.day + 3000; s += 173) {
            unsigned word = c->get_abs_smpte_string(&lp, s);
            bool drop = false;
            int const back = c->get_samples_from_SMPTETc(word, drop);
            tcref::Hmsf const t = tcref::decompose(r, r.modulus, r.day, false, s);
            // Decoding never applies the drop-frame rule: it gives the plain
            // count of the displayed numbers and reports the flag.
            int const want = ((t.h * 60 + t.m) * 60 + t.s) * r.modulus + t.f;
            if ((back != want || drop != (r.type == ntsc_drop_label_t)) && ++failures < 5)
                ADD_FAILURE() << r.name << " " << s << " word " << std::hex << word;
        }
        EXPECT_EQ(failures, 0) << r.name;
    }
}

// ---------------------------------------------------------------------------
TEST_F(ConfigReset, HalfRate50p) {
    host::set_config_int("50p_timecode_type", 2);
    label_cvt* c = make_any_label_cvt(tc_50_label_t);
    auto* tc = dynamic_cast<timecode_label*>(c);
    ASSERT_TRUE(tc);
    EXPECT_EQ(c->get_modulus(), 25);
    EXPECT_EQ(tc->get_day_samples(), 2160000);
    EXPECT_TRUE(c->isSpecialSlowTC());
    LabelPoint lp(0, c);
    EXPECT_STREQ(c->get_abs_string(&lp, 50), " 00:00:01.00");
    EXPECT_STREQ(c->get_abs_string(&lp, 51), " 00:00:01:00");
    EXPECT_STREQ(c->get_abs_string(&lp, -1), "-00:00:00:00");
    EXPECT_STREQ(c->get_abs_string(&lp, 4319999), " 23:59:59:24");
    EXPECT_EQ(c->get_abs_sample(" 00:00:01:00"), 25);
    EXPECT_EQ(c->get_abs_sample(" 00:00:01.00"), 25);
    EXPECT_EQ(c->normalise_sample_unit(2160001), 1);
    EXPECT_EQ(c->get_abs_smpte_string(&lp, 51), 0x100u);
    EXPECT_STREQ(c->full_template.template_text.c_str(), "-29.59.59.49");
    // Duration converters and 60p are untouched by the 50p key.
    label_cvt* d = make_any_label_cvt(tc_50_duration_label_t);
    label_cvt* s60 = make_any_label_cvt(tc_60_label_t);
    EXPECT_EQ(d->get_modulus(), 50);
    EXPECT_FALSE(d->isSpecialSlowTC());
    EXPECT_EQ(s60->get_modulus(), 60);
    // The registry's converter was built before the key was set.
    EXPECT_EQ(get_static_label_cvt(tc_50_label_t)->get_modulus(), 50);
    delete c;
    delete d;
    delete s60;
}

TEST_F(ConfigReset, Rate60pSettings) {
    struct Case {
        int value;
        int modulus, day;
        bool slow;
        char const* text61;  // sample 61
    } const cases[] = {{2, 30, 2592000, true, " 00:00:01:00"},  {3, 30, 2592000, false, " 00:00:02.01"},
                       {1, 60, 5184000, false, " 00:00:01.01"}, {0, 60, 5184000, false, " 00:00:01.01"},
                       {4, 60, 5184000, false, " 00:00:01.01"}, {-2, 60, 5184000, false, " 00:00:01.01"}};
    for (Case const& k : cases) {
        host::set_config_int("60p_timecode_type", k.value);
        label_cvt* c = make_any_label_cvt(tc_60_label_t);
        auto* tc = dynamic_cast<timecode_label*>(c);
        EXPECT_EQ(c->get_modulus(), k.modulus) << k.value;
        EXPECT_EQ(tc->get_day_samples(), k.day) << k.value;
        EXPECT_EQ(c->isSpecialSlowTC(), k.slow) << k.value;
        LabelPoint lp(0, c);
        EXPECT_STREQ(c->get_abs_string(&lp, 61), k.text61) << k.value;
        delete c;
    }
    host::unset_config_int("60p_timecode_type");
    tc_60_label unset(15);
    EXPECT_EQ(unset.get_modulus(), 60);
    // Value 3 keeps the caller's flags, value 2 adds half-rate to them.
    host::set_config_int("50p_timecode_type", 3);
    tc_50_label slow(31);
    EXPECT_TRUE(slow.isSpecialSlowTC());
    host::set_config_int("50p_timecode_type", 2);
    tc_50_label four(4);
    LabelPoint lp(0, &four);
    EXPECT_STREQ(four.get_abs_string(&lp, 51), " 01:00");
}

// ---------------------------------------------------------------------------
TEST(TimecodeVideoTime, AlwaysAssertsAndScales) {
    label_cvt* pal = get_static_label_cvt(pal_label_t);
    label_cvt* ntsc = get_static_label_cvt(ntsc_drop_label_t);
    label_cvt* t24 = get_static_label_cvt(tc_24_label_t);
    ::testing::internal::CaptureStdout();
    EXPECT_DOUBLE_EQ(pal->get_V2tc(50), 2.0);
    std::string log = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(log, "assertion failed 0 at labelsbase/labelcvt line 865\n");
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(pal->get_abs_sample(2.0), 50);
    log = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(log, "assertion failed 0 at labelsbase/labelcvt line 872\n");

    ::testing::internal::CaptureStdout();
    EXPECT_DOUBLE_EQ(t24->get_V2tc(24), 24.0);  // no video rate: one sample a second
    EXPECT_NEAR(ntsc->get_V2tc(30000), 1001.0, 1e-9);
    EXPECT_EQ(ntsc->get_abs_sample(1.0), 29);
    EXPECT_EQ(ntsc->get_abs_sample(1001.0), 30000);
    EXPECT_EQ(pal->get_abs_sample(-0.02), -1);
    EXPECT_EQ(pal->get_abs_sample(-0.039), -1);
    EXPECT_EQ(t24->get_abs_sample(5.5), 5);
    // Not a number, or no int: the invalid sample.
    EXPECT_EQ(pal->get_abs_sample(std::nan("")), invalid_sample);
    EXPECT_EQ(pal->get_abs_sample(1e99), invalid_sample);
    EXPECT_EQ(pal->get_abs_sample(-1e99), invalid_sample);
    EXPECT_EQ(pal->get_abs_sample(HUGE_VAL), invalid_sample);
    EXPECT_EQ(t24->get_abs_sample(2147483647.0), INT_MAX);
    EXPECT_EQ(t24->get_abs_sample(2147483648.0), invalid_sample);
    EXPECT_EQ(t24->get_abs_sample(-2147483648.0), INT_MIN);
    ::testing::internal::GetCapturedStdout();
}

// ---------------------------------------------------------------------------
TEST(TimecodeLabelPoint, GetHmsf) {
    struct Case {
        label_t type;
        int sample;
        short h, m, s, f;
    } const cases[] = {
        {pal_label_t, 90013, 1, 0, 0, 13},         {ntsc_drop_label_t, 1800, 0, 1, 0, 2},
        {ntsc_drop_label_t, 2589407, 23, 59, 59, 29}, {tc_240_label_t, 239, 0, 0, 0, 239},
        {pal_label_t, -1, 23, 59, 59, 24},         {film_frames_label_t, 90013, 0, 0, 0, 0},
        {prefix_label_t, 90013, 0, 0, 0, 0},
    };
    for (Case const& c : cases) {
        LabelPoint lp(0, c.type);
        lp.sample = c.sample;
        short h = 9, m = 9, s = 9, f = 9;
        lp.get_hmsf(h, m, s, f);
        EXPECT_EQ(h, c.h) << c.type << " " << c.sample;
        EXPECT_EQ(m, c.m);
        EXPECT_EQ(s, c.s);
        EXPECT_EQ(f, c.f);
    }
    short h, m, s, f;
    EXPECT_EQ(dynamic_cast<timecode_label*>(get_static_label_cvt(pal_label_t))->get_abs_hmsf(90013, h, m, s, f), 13);
}

TEST_F(ConfigReset, ConstrainPositiveAddsTheConvertersDay) {
    struct Case {
        label_t type;
        int sample, want;
    } const cases[] = {
        {pal_label_t, -1, 2159999},       {ntsc_drop_label_t, -1, 2589407}, {tc_240_label_t, -1, 20735999},
        {pal_label_t, 5, 5},              {pal_label_t, -4320001, -2160001}, {keycode_35_label_t, -1, -1},
        {pal_label_t, INT_MIN, INT_MIN + 2160000},
    };
    for (Case const& c : cases) {
        LabelPoint lp(0, c.type);
        lp.sample = c.sample;
        lp.constrain_positive();
        EXPECT_EQ(lp.sample, c.want) << c.type << " " << c.sample;
    }
    host::set_config_int("50p_timecode_type", 3);
    label_cvt* c = make_any_label_cvt(tc_50_label_t);
    LabelPoint lp(0, c);
    lp.sample = -1;
    lp.constrain_positive();
    EXPECT_EQ(lp.sample, 2159999);
    delete c;
}

}  // namespace
