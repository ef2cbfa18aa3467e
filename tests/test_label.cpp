// Labels: natural pitches, the bounded-span rules, samples and times, span
// containment, and the keep string written and read back.
#include <cfloat>
#include <climits>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "test_support.h"

namespace {

// Read while the library's static values are being built.
struct StaticProbe {
    double pal_pitch = Label::get_natural_pitch(pal_label_t);
    int invalid_length = get_invalid_label().length;
    int invalid_bounded = get_invalid_label().bounded;
};
StaticProbe const probe;

double const inf = std::numeric_limits<double>::infinity();

std::string keep(Label const& l) {
    char buf[Label::keep_string_size];
    return l.make_keep_string(buf);
}

// The keep string as "LABEL_REV:%d %s %s %d %.10f %d" prints it, cut to 127 characters.
std::string keep_by_format(Label const& l) {
    std::vector<char> big(1024);
    int const unit = l.start.cvt()->samples_per_unit();
    std::string const text = const_cast<LabelPoint&>(l.start).get_string();
    std::snprintf(big.data(), big.size(), "LABEL_REV:%d %s %s %d %.10f %d", 1, l.start.cvt()->type_str(), text.c_str(),
                  l.length / unit, l.pitch * unit, l.bounded);
    return std::string(big.data()).substr(0, Label::keep_string_size - 1);
}

// Timecode types run at their rate (29.97 for NTSC), film types at 24
// frames a second, types without a converter at one sample a second.
TEST(NaturalPitch, EveryTypeByItsCategory) {
    // ready for other units' static initialisers
    EXPECT_TRUE(probe.pal_pitch == 1.0 / 25 && probe.invalid_length == 100000000 && probe.invalid_bounded == 1);
    for (int t = -1; t <= label_type_count; ++t) {
        bool const outside = t < 0 || t == label_type_count;
        LabelTypeInfo const& i = label_type_info(lt_(outside ? 0 : t));
        double const pitch = Label::get_natural_pitch(lt_(t));
        if (!i.has_converter || outside)
            EXPECT_EQ(pitch, 1.0) << t;
        else if (t == ntsc_label_t || t == ntsc_drop_label_t)
            EXPECT_EQ(pitch, 1.0 / Kest::getFramesPerSecond(Kest::FrameRate_29_97)) << t;
        else
            EXPECT_DOUBLE_EQ(pitch,
                             i.category == timecode_UserLabel ? 1.0 / i.modulus : 1.0 / (24 * i.samples_per_unit))
                << t;
    }
}

TEST(Construction, BoundsPitchRevisionAndConverter) {
    Label a(pal_label_t);
    EXPECT_TRUE(a.bounded == 1 && a.length == 100000000 && a.revision == 1 && a.pitch == 1.0 / 25);
    PlainFrames cvt(keycode_35_label_t, 4), tc24(tc_24_label_t, 1);
    Label b(cvt), c(LabelPoint(37, &tc24));
    EXPECT_TRUE(b.bounded == 0 && b.pitch == 1.0 / 96 && b.start.cvt() == &cvt);
    EXPECT_TRUE(c.bounded == 0 && c.start.sample == 37 && c.pitch == 1.0 / 24);

    Label r2("LABEL_REV:2 dummy_label x 10 0.5 1");
    ASSERT_EQ(r2.revision, 2);
    EXPECT_EQ(Label(r2).revision, 1);  // the copy resets the revision
    Label assigned(pal_label_t);
    assigned = r2;  // assignment copies it
    EXPECT_TRUE(assigned.revision == 2 && assigned.length == 10 && assigned.pitch == 0.5);
    assigned = Label(tc24);  // the registry's converter of the type
    EXPECT_EQ(assigned.start.cvt(), get_static_label_cvt(tc_24_label_t));
    assigned.set_type(keycode_353_label_t);
    EXPECT_EQ(assigned.pitch, 1.0 / 72);
}

// A bounded span of length 100 starting at 1000.
TEST(RangeRule, BoundedSpanGivesSentinelsOutside) {
    PlainFrames cvt(tc_24_label_t, 1);
    Label l(cvt);
    l.bounded = 1, l.length = 100, l.start.sample = 1000;
    struct {
        int offset;
        char const* text;
        char const* perfs;
        unsigned smpte;
        int cmp;
    } const cases[] = {
        {0, "1000", "p1000", 1007, 0},
        {100, "1100", "p1100", 1107, 0},
        {101, ">>>>>>", ">>", 0, 100000001},
        {INT_MAX, ">>>>>>", ">>", 0, 100000001},
        {-100000000, ">>>>>>", ">>", 0, 100000001},  // the after-test comes first
        {-1, "<<<<<<", "<<", 0, 100000002},
        {INT_MIN, "<<<<<<", "<<", 0, 100000002},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.offset);
        EXPECT_STREQ(l.get_string(c.offset), c.text);
        EXPECT_STREQ(l.get_perfs_string(c.offset), c.perfs);
        EXPECT_EQ(l.get_smpte_string(c.offset), c.smpte);
        EXPECT_EQ(l.cmp(c.offset), c.cmp);
        EXPECT_EQ(l.get_label_point(c.offset).sample, c.cmp ? c.cmp : 1000 + c.offset);
        EXPECT_EQ(l.get_unbounded_label_point(c.offset).sample, static_cast<int>(1000u + unsigned(c.offset)));
        EXPECT_EQ(l.get_abs_posn(c.offset), c.cmp ? 1e99 : (1000 + c.offset) * (1.0 / 24));
    }
    l.bounded = 0;  // unbounded: the converter answers every offset, wrapping
    for (int offset : {101, -1, -100000000, INT_MAX}) {
        EXPECT_EQ(l.get_string(offset), std::to_string(static_cast<int>(1000u + unsigned(offset))));
        EXPECT_EQ(l.cmp(offset), 0);
    }
}

TEST(AbsoluteSamples, StartEndAndOffsets) {
    Label l(pal_label_t);
    l.start.sample = 500, l.length = 100;
    EXPECT_EQ(l.get_end(), 600);
    EXPECT_EQ(l.get_sample(600), 100);
    for (int s : {601, 499}) EXPECT_EQ(l.get_sample(s), -100000000) << s;
    EXPECT_TRUE(l.contains(500) && l.contains(600) && !l.contains(601) && !l.contains(499));
    l.bounded = 0;
    EXPECT_EQ(l.get_sample(601), 101);
    EXPECT_TRUE(l.contains(INT_MIN));
    l.set_end(450);
    EXPECT_EQ(l.length, -50);
    l.start.sample = INT_MAX, l.length = 1;  // extremes wrap as 32-bit arithmetic
    EXPECT_EQ(l.get_end(), INT_MIN);
    l.bounded = 1;
    EXPECT_EQ(l.get_sample(INT_MIN), 1);
}

TEST(Times, SamplesAndPositions) {
    Label pal(pal_label_t);
    EXPECT_EQ(pal.abs_posn_to_sample(-0.01), -1);  // times round down
    EXPECT_EQ(pal.abs_posn_to_sample(-0.041), -2);
    EXPECT_EQ(pal.sample_to_posn(-1), 2159999 * (1.0 / 25));  // normalised by the converter
    for (label_t t : {ntsc_label_t, tc_240_label_t}) {        // sample -> time -> sample both sides of zero
        PlainFrames cvt(t, 1);
        Label l(cvt);
        for (int s = -300000; s <= 300000; s += 37) ASSERT_EQ(l.abs_posn_to_sample(l.sample_to_posn(s)), s) << t;
        for (int s : {INT_MIN + 1, INT_MAX}) EXPECT_EQ(l.abs_posn_to_sample(l.sample_to_posn(s)), s) << t;
    }
    // 35 mm film in perforations: the frame below the time, absolute.
    PlainFrames perfs(keycode_35_label_t, 4);
    Label k(perfs);
    k.start.sample = 400;
    for (int f = -500; f <= 500; ++f)
        for (double part : {0.0, 0.5, 0.9}) ASSERT_EQ(k.posn_to_sample((f + part) / 24.0), 4 * f) << f;
}

TEST(Times, NoTimeGivesNoSampleAndNoSampleNoTime) {
    PlainFrames cvt(pal_label_t, 1);
    Label l(cvt);
    l.bounded = 1;
    for (double t : {std::nan(""), inf, -inf, 1e99, -1e20, 85899345.92}) {
        EXPECT_EQ(l.abs_posn_to_sample(t), -100000000) << t;
        EXPECT_EQ(l.posn_to_sample(t), -100000000) << t;
    }
    l.pitch = 0.0;
    EXPECT_EQ(l.abs_posn_to_sample(1.0), -100000000);
    l.pitch = 0.04;
    EXPECT_EQ(l.sample_to_posn(-100000000), 1e99);
    l.start.sample = 1000;
    EXPECT_EQ(l.get_abs_posn_extrapolate(-100001000), 1e99);
    EXPECT_EQ(l.get_abs_posn_extrapolate(-2000), -1000 * 0.04);
    EXPECT_EQ(l.get_V2tc(25), 41.0);
}

TEST(Contains, SpansInsideSpansWhateverThePrefixCase) {
    PlainFrames cvt(keycode_35_label_t, 4, keycode_UserLabel, true);
    struct {
        int start, length, bounded, other_start, other_length, other_bounded;
        bool want;
    } const cases[] = {
        {100, 100, 1, 200, 5, 0, true},         {100, 100, 1, 201, 5, 0, false},  // unbounded other: its start decides
        {100, 100, 1, 99, 5, 0, false},         {100, 100, 1, 150, 50, 1, true},
        {100, 100, 1, 150, 51, 1, false},       {100, 100, 1, 100, -1, 1, false},  // ends before its start
        {100, 100, 0, -5000, 1 << 30, 1, true},                                    // unbounded this holds everything
    };
    for (auto const& c : cases) {
        Label a(cvt), b(cvt);
        a.start.sample = c.start, a.length = c.length, a.bounded = c.bounded;
        b.start.sample = c.other_start, b.length = c.other_length, b.bounded = c.other_bounded;
        a.set_prefix("KJ23");
        b.set_prefix("kj23");
        EXPECT_EQ(a.contains(b), c.want) << c.other_start << "+" << c.other_length;
    }
    Label a(tc_24_label_t), b(tc_24_label_t);  // equality: start and end points only
    b.pitch = 9.0, b.bounded = 0;
    EXPECT_TRUE(a == b);
    b.length = 99;
    EXPECT_TRUE(a != b);
}

TEST(KeepStringWriter, NullBufferIsOneStaticBuffer) {
    Label a(pal_label_t), b(tc_24_label_t);
    char* first = a.make_keep_string(nullptr);
    std::string const was = first;
    EXPECT_EQ(b.make_keep_string(nullptr), first);
    EXPECT_NE(std::string(first), was);
}

// Random and extreme fields on several units and a very long class name,
// pitches of every kind and exact ties at the eleventh decimal (round to
// even): the same bytes as the format, cut at 127 characters.
TEST(KeepStringWriter, SameBytesAsTheFormat) {
    std::string const long_name(150, 'n');
    PlainFrames one(pal_label_t, 1), four(keycode_35_label_t, 4), fifteen(keycode_6515_120_label_t, 15),
        named(pal_label_t, 1, timecode_UserLabel, false, long_name.c_str());
    std::vector<double> pitches = {0.0, -0.0, 1.001 / 30, 5e-11, -5e-11, 1.5e-10, 2.5e-10, 4.9999999999e-11, DBL_MIN};
    pitches.insert(pitches.end(), {4.9e-324, 9223372036854775808.0, 1e30, -1e30, 1e300, -DBL_MAX, 1e33, 9.9e32});
    pitches.insert(pitches.end(), {inf, -inf, std::nan("")});
    for (int k = 10; k <= 45; ++k)
        for (int m = 1; m < 64; ++m) pitches.push_back(std::ldexp(m, -k));
    int const specials[] = {0, 1, -1, 100000000, INT_MAX, INT_MIN, 62, -63};
    std::unique_ptr<char[]> exact(new char[Label::keep_string_size]);  // ASan sees any overrun
    std::mt19937_64 rng(7);
    for (PlainFrames* c : {&one, &four, &fifteen, &named}) {
        Label l(*c);
        for (std::size_t i = 0; i < 12000; ++i) {
            l.start.sample = i < 8 ? specials[i] : static_cast<int>(rng());
            l.length = i < 8 ? specials[7 - i] : static_cast<int>(rng());
            l.bounded = i % 3 == 0 ? 1 : static_cast<int>(rng() % 5) - 2;
            std::uint64_t bits = rng();
            if (i < pitches.size())
                l.pitch = pitches[i];
            else if (i % 2)
                l.pitch = std::ldexp(static_cast<double>(bits >> 11), -static_cast<int>(rng() % 90)) * (i % 4 ? -1 : 1);
            else if (std::memcpy(&l.pitch, &bits, sizeof bits), !std::isfinite(l.pitch))
                continue;
            ASSERT_EQ(std::string(l.make_keep_string(exact.get())), keep_by_format(l)) << l.pitch;
        }
    }
}

// Texts that are no keep strings, other revisions, missing fields and
// numbers read as the C library reads them.
TEST(KeepStringReader, FieldsAndDefaults) {
    std::string const thousand(1000, 'x'), nines(1000, '9');
    std::string const huge_fields = "LABEL_REV:1 " + nines + " " + nines + " " + nines + " " + nines + " " + nines;
    // Rejected: the default label, with the revision as read (revisions 1 and 2 only; the low 32 bits).
    std::pair<char const*, int> const rejected[] = {
        {"LABEL_REV:0 dummy_label 5 6 7 1", 0},          {"LABEL_REV: dummy_label 5 6 7 1", 0}, {nullptr, 1},
        {"LABEL_REV:3 dummy_label 5 6 7 1", 3},          {"LABEL_RE:1 pal_label 0 1 1 1", 1},   {"", 1},
        {"LABEL_REV:99999999999 x 5 6 7 1", 0x4876E7FF}, {"label_rev:1 pal_label", 1},          {thousand.c_str(), 1},
    };
    for (auto const& [text, revision] : rejected) {
        Label const l(text);
        EXPECT_TRUE(l.revision == revision && l.start.cvt() == get_static_label_cvt(prefix_label_t) &&
                    l.start.sample == 0 && l.length == 100000000 && l.pitch == 0.0 && l.bounded == 0)
            << (text ? std::string(text).substr(0, 50) : "null");
    }
    label_t const dummy = get_label_type("dummy_label");
    struct {
        char const* text;
        int revision;
        label_t type;
        int sample, length;
        double pitch;
        int bounded;
    } const cases[] = {
        {"LABEL_REV:2 no_such_label 5 6 0.25 1", 2, prefix_label_t, -100000000, 6, 0.25, 1},  // unknown: type 0
        {"LABEL_REV:1 dummy_label", 1, dummy, 0, 100000000, 0.0, 0},
        {"LABEL_REV:1 dummy_label ??? 250", 1, dummy, -100000000, 250, 0.0, 0},
        {"LABEL_REV:1 x y 4294967297 1e-3 7", 1, prefix_label_t, -100000000, 1, 1e-3, 7},
        {"LABEL_REV:1 x y 99999999999999999999999 nonsense -2", 1, prefix_label_t, -100000000, -1, 0.0, -2},
        {"LABEL_REV:-1 x y 12", -1, prefix_label_t, -100000000, 12, 0.0, 0},
        {huge_fields.c_str(), 1, prefix_label_t, -100000000, -1, HUGE_VAL, -1},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(std::string(c.text).substr(0, 50));
        Label const l(c.text);
        EXPECT_EQ(l.revision, c.revision);
        EXPECT_EQ(l.start.cvt(), get_static_label_cvt(c.type));
        EXPECT_EQ(l.start.sample, c.sample);
        EXPECT_EQ(l.length, c.length);
        EXPECT_EQ(l.pitch, c.pitch);
        EXPECT_EQ(l.bounded, c.bounded);
    }
}

// Every registry type: the fields survive a write and a read, and so does
// the start sample where the type has its own converter.
TEST(KeepStringRoundTrip, EveryLabelType) {
    for (int i = 0; i < label_type_count; ++i) {
        Label l(lt_(i));
        l.start.sample = l.start.cvt()->normalise_sample_unit(1200);  // a whole frame of every gauge
        l.length = 1000;
        std::string const text = keep(l);
        Label r(text.c_str());
        int const unit = l.start.cvt()->samples_per_unit();
        EXPECT_EQ(r.start.cvt(), get_static_label_cvt(get_label_type(l.start.cvt()->type_str()))) << text;
        EXPECT_EQ(r.length, 1000 / unit * unit) << text;
        EXPECT_NEAR(r.pitch, l.pitch, 5.1e-11 / unit) << text;
        EXPECT_EQ(r.bounded, 1) << text;
        EXPECT_EQ(r.start.sample, has_own_converter(lt_(i)) ? 1200 : -100000000) << text;
    }
}

TEST(KeepStringRoundTrip, ExactTexts) {
    struct {
        label_t type;
        int sample, read_back;
        char const* text;
    } const cases[] = {
        {pal_label_t, 90013, 90013, "LABEL_REV:1 pal_label  01:00:00.13 100000000 0.0400000000 1"},
        {pal_label_t, -1, -1, "LABEL_REV:1 pal_label -00:00:00.01 100000000 0.0400000000 1"},
        {pal_label_t, 2160000, 0, "LABEL_REV:1 pal_label  00:00:00.00 100000000 0.0400000000 1"},  // a whole day
        {ntsc_drop_label_t, -1, 0, "LABEL_REV:1 ntsc_drop_label -00:00:00;01 100000000 0.0333666667 1"},
        {foot_35_label_t, -788, -788, "LABEL_REV:1 foot_35_label -0012+05 25000000 0.0416666667 1"},
        {foot_353_label_t, 62, 62, "LABEL_REV:1 foot_353_label  0001+00.3 33333333 0.0416666667 1"},
        {keycode_16_label_t, 245, 245, "LABEL_REV:1 keycode_16_label KJ1234560012&05 100000000 0.0416666667 1"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.text);
        Label l(c.type);
        l.set_prefix("KJ123456");
        l.start.sample = c.sample;
        EXPECT_EQ(keep(l), c.text);
        Label r(c.text);
        EXPECT_EQ(r.start.cvt()->type(), c.type);
        EXPECT_EQ(r.start.sample, c.read_back);
        int const unit = r.start.cvt()->samples_per_unit();
        EXPECT_EQ(r.length, 100000000 / unit * unit);
        EXPECT_STREQ(r.start.get_prefix(), r.start.cvt()->has_prefix() ? "KJ123456" : "");
    }
    Label spaced("LABEL_REV:1   pal_label      01:00:00.13   100000000 0.04 1   ");  // any run of spaces
    EXPECT_TRUE(spaced.start.sample == 90013 && spaced.bounded == 1);
}

}  // namespace
