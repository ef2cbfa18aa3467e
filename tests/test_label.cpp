// Labels: natural pitches, the bounded-span rules, samples and times, span
// containment, and the keep string written and read back.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <labelsbase/labelsbase.h>

#include "label_test_support.h"

namespace {

// Read while the library's static values are being built.
struct StaticProbe {
    double pal_pitch = Label::get_natural_pitch(pal_label_t);
    int invalid_length = get_invalid_label().length;
    int invalid_bounded = get_invalid_label().bounded;
    double invalid_pitch = get_invalid_label().pitch;
};
StaticProbe const probe;

std::string keep(Label const& l) {
    char buf[Label::keep_string_size];
    return l.make_keep_string(buf);
}

// The keep string as the quoted format prints it, cut to what 128 bytes hold.
std::string keep_by_format(Label const& l) {
    std::vector<char> big(1024);
    int const unit = l.start.cvt()->samples_per_unit();
    std::string const text = const_cast<LabelPoint&>(l.start).get_string();
    std::snprintf(big.data(), big.size(), "LABEL_REV:%d %s %s %d %.10f %d", 1, l.start.cvt()->type_str(),
                  text.c_str(), l.length / unit, l.pitch * unit, l.bounded);
    return std::string(big.data()).substr(0, Label::keep_string_size - 1);
}

// ---------------------------------------------------------------------------
TEST(NaturalPitch, EveryTypeHasItsGaugeOrRate) {
    struct Group {
        double pitch;
        std::vector<int> types;
    };
    double const pal = 1.0 / Kest::getFramesPerSecond(Kest::FrameRate_25);
    double const ntsc = 1.0 / Kest::getFramesPerSecond(Kest::FrameRate_29_97);
    std::vector<Group> const groups = {
        {1.0, {0, 1, 2, 3, 4, 9, 13, 17}},     {pal, {5}},
        {ntsc, {6, 7}},                        {1.0 / 24, {8, 11, 15, 19, 24, 25, 26, 30}},
        {1.0 / 96, {10, 14, 18, 21, 22, 23}},  {1.0 / 72, {12, 16, 27, 28, 29}},
        {1.0 / 48, {20, 33}},                  {1.0 / 50, {31, 42}},
        {1.0 / 60, {32, 43}},                  {1.0 / 192, {34, 36, 39}},
        {1.0 / 120, {35, 38, 50}},             {1.0 / 240, {37, 40, 51}},
        {1.0 / 360, {41}},                     {1.0 / 12, {44}},
        {1.0 / 15, {45}},                      {1.0 / 20, {46}},
        {1.0 / 80, {47}},                      {1.0 / 90, {48}},
        {1.0 / 100, {49}},
    };
    std::vector<int> seen(label_type_count, 0);
    for (Group const& g : groups)
        for (int t : g.types) {
            ++seen[t];
            EXPECT_EQ(Label::get_natural_pitch(static_cast<label_t>(t)), g.pitch) << "label_t " << t;
        }
    for (int t = 0; t < label_type_count; ++t) EXPECT_EQ(seen[t], 1) << "label_t " << t;
}

TEST(NaturalPitch, OutsideTheTypesIsThePitchOfTypeZero) {
    EXPECT_EQ(Label::get_natural_pitch(static_cast<label_t>(-1)), 1.0);
    EXPECT_EQ(Label::get_natural_pitch(static_cast<label_t>(52)), 1.0);
}

TEST(StaticValues, ReadyForOtherUnitsStaticInitialisers) {
    EXPECT_EQ(probe.pal_pitch, 1.0 / 25);
    EXPECT_EQ(probe.invalid_length, 100000000);
    EXPECT_EQ(probe.invalid_bounded, 1);
    EXPECT_EQ(probe.invalid_pitch, 1.0);
    Label const& inv = get_invalid_label();
    EXPECT_EQ(inv.revision, 1);
    EXPECT_EQ(inv.start.sample, 0);
    EXPECT_EQ(inv.start.cvt(), get_static_label_cvt(prefix_label_t));
    EXPECT_EQ(&inv, &get_invalid_label());
}

// ---------------------------------------------------------------------------
TEST(Construction, BoundsPitchAndRevision) {
    Label a(pal_label_t);
    EXPECT_EQ(a.bounded, 1);
    EXPECT_EQ(a.length, 100000000);
    EXPECT_EQ(a.revision, 1);
    EXPECT_EQ(a.pitch, 1.0 / 25);
    EXPECT_EQ(a.start.cvt(), get_static_label_cvt(pal_label_t));

    PlainFrames cvt(keycode_35_label_t, 4);
    Label b(cvt);
    EXPECT_EQ(b.bounded, 0);
    EXPECT_EQ(b.length, 100000000);
    EXPECT_EQ(b.pitch, 1.0 / 96);
    EXPECT_EQ(b.start.cvt(), &cvt);

    PlainFrames tc24(tc_24_label_t, 1);
    LabelPoint p(37, &tc24);
    Label c(p);
    EXPECT_EQ(c.bounded, 0);
    EXPECT_EQ(c.start.sample, p.sample);
    EXPECT_EQ(c.pitch, 1.0 / 24);
}

TEST(Construction, CopyResetsRevisionAssignmentKeepsIt) {
    Label a("LABEL_REV:2 dummy_label x 10 0.5 1");
    ASSERT_EQ(a.revision, 2);
    Label copy(a);
    EXPECT_EQ(copy.revision, 1);
    EXPECT_EQ(copy.length, a.length);
    EXPECT_EQ(copy.pitch, a.pitch);
    EXPECT_EQ(copy.bounded, a.bounded);
    Label assigned(pal_label_t);
    assigned = a;
    EXPECT_EQ(assigned.revision, 2);
    EXPECT_EQ(assigned.length, 10);
    EXPECT_EQ(assigned.pitch, 0.5);

    assigned.init();
    EXPECT_EQ(assigned.revision, 1);
    EXPECT_EQ(assigned.pitch, 0.0);
    EXPECT_EQ(assigned.bounded, 0);
    EXPECT_EQ(assigned.length, 10);
}

TEST(Construction, AssignmentTakesTheRegistryConverterOfTheType) {
    PlainFrames cvt(tc_24_label_t, 1);
    Label src(cvt);
    src.start.sample = 5;
    Label dst(pal_label_t);
    dst = src;
    EXPECT_EQ(dst.start.cvt(), get_static_label_cvt(tc_24_label_t));
    EXPECT_EQ(dst.start.sample, 5);
    Label& same = dst;
    dst = same;  // self-assignment changes nothing
    EXPECT_EQ(dst.start.sample, 5);
}

TEST(Construction, SetTypeTakesTheNaturalPitch) {
    Label l(pal_label_t);
    l.pitch = 3.0;
    l.set_type(keycode_353_label_t);
    EXPECT_EQ(l.pitch, 1.0 / 72);
    EXPECT_EQ(l.start.cvt(), get_static_label_cvt(keycode_353_label_t));
}

// ---------------------------------------------------------------------------
// The range rule, bounded span of length 100 starting at 1000.
struct RangeCase {
    int offset;
    char const* text;
    char const* perfs;
    unsigned smpte;
    int cmp;
    int point;
};

TEST(RangeRule, BoundedSpanGivesSentinelsOutside) {
    PlainFrames cvt(tc_24_label_t, 1);
    Label l(cvt);
    l.bounded = 1;
    l.length = 100;
    l.start.sample = 1000;
    RangeCase const cases[] = {
        {0, "1000", "p1000", 1007, 0, 1000},
        {100, "1100", "p1100", 1107, 0, 1100},
        {101, ">>>>>>", ">>", 0, 100000001, 100000001},
        {INT_MAX, ">>>>>>", ">>", 0, 100000001, 100000001},
        {-100000000, ">>>>>>", ">>", 0, 100000001, 100000001},  // after-test first
        {-1, "<<<<<<", "<<", 0, 100000002, 100000002},
        {INT_MIN, "<<<<<<", "<<", 0, 100000002, 100000002},
    };
    for (RangeCase const& c : cases) {
        SCOPED_TRACE(c.offset);
        EXPECT_STREQ(l.get_string(c.offset), c.text);
        EXPECT_STREQ(l.get_perfs_string(c.offset), c.perfs);
        EXPECT_EQ(l.get_smpte_string(c.offset), c.smpte);
        EXPECT_EQ(l.cmp(c.offset), c.cmp);
        EXPECT_EQ(l.get_label_point(c.offset).sample, c.point);
        EXPECT_EQ(l.get_unbounded_label_point(c.offset).sample, static_cast<int>(1000u + unsigned(c.offset)));
    }
    EXPECT_EQ(l.get_abs_posn(101), 1e99);
    EXPECT_EQ(l.get_abs_posn(-1), 1e99);
    EXPECT_EQ(l.get_abs_posn(100), 1100 * (1.0 / 24));
}

TEST(RangeRule, UnboundedSpanAsksTheConverterForEveryOffset) {
    PlainFrames cvt(tc_24_label_t, 1);
    Label l(cvt);
    l.start.sample = 1000;
    for (int offset : {0, 101, -1, -100000000, INT_MAX, INT_MIN}) {
        SCOPED_TRACE(offset);
        std::string const want = std::to_string(static_cast<int>(1000u + unsigned(offset)));  // wraps
        EXPECT_EQ(l.get_string(offset), want);
        EXPECT_EQ(l.get_perfs_string(offset), "p" + want);
        EXPECT_EQ(l.cmp(offset), 0);
        EXPECT_EQ(l.get_label_point(offset).sample, std::stoi(want));
    }
}

TEST(RangeRule, RegistryLabelOfLength100) {
    // The sentinels come from the label whatever the registry holds.
    Label l(pal_label_t);
    l.length = 100;
    EXPECT_STREQ(l.get_string(101), ">>>>>>");
    EXPECT_STREQ(l.get_string(-1), "<<<<<<");
    EXPECT_STREQ(l.get_string(-100000000), ">>>>>>");
    EXPECT_STREQ(l.get_perfs_string(101), ">>");
    EXPECT_EQ(l.get_smpte_string(-1), 0u);
    EXPECT_EQ(l.cmp(100), 0);
    EXPECT_EQ(l.cmp(101), 100000001);
    l.bounded = 0;
    EXPECT_EQ(l.cmp(101), 0);
    EXPECT_EQ(l.cmp(-1), 0);
    std::string const from_label = l.get_string(101);
    EXPECT_EQ(from_label, get_static_label_cvt(pal_label_t)->get_string(&l.start, 101));
}

TEST(RangeRule, PalTextsAtOffsets) {
    REQUIRE_CONVERTER(pal_label_t);
    Label l(pal_label_t);
    l.start.sample = 90000;
    l.length = 100;
    EXPECT_STREQ(l.get_string(13), " 01:00:00.13");
    EXPECT_EQ(l.get_smpte_string(13), 0x01000013u);
    EXPECT_STREQ(l.get_string(101), ">>>>>>");
    l.bounded = 0;
    EXPECT_STREQ(l.get_string(101), " 01:00:04.01");
}

// ---------------------------------------------------------------------------
TEST(AbsoluteSamples, StartEndAndOffsets) {
    Label l(pal_label_t);
    l.start.sample = 500;
    l.length = 100;
    EXPECT_EQ(l.get_start(), 500);
    EXPECT_EQ(l.get_end(), 600);
    EXPECT_EQ(l.get_sample(600), 100);
    EXPECT_EQ(l.get_sample(601), -100000000);
    EXPECT_EQ(l.get_sample(499), -100000000);
    EXPECT_TRUE(l.contains(500));
    EXPECT_TRUE(l.contains(600));
    EXPECT_FALSE(l.contains(601));
    EXPECT_FALSE(l.contains(499));
    l.bounded = 0;
    EXPECT_EQ(l.get_sample(601), 101);
    EXPECT_EQ(l.get_sample(499), -1);
    EXPECT_TRUE(l.contains(INT_MIN));
    l.set_end(450);
    EXPECT_EQ(l.length, -50);
    // Extremes wrap as 32-bit arithmetic; nothing traps.
    l.start.sample = INT_MAX;
    l.length = 1;
    EXPECT_EQ(l.get_end(), INT_MIN);
    l.bounded = 1;
    EXPECT_EQ(l.get_sample(INT_MIN), 1);
    EXPECT_FALSE(l.contains(INT_MAX - 1));
}

// ---------------------------------------------------------------------------
TEST(Times, PalExamples) {
    Label l(pal_label_t);
    EXPECT_EQ(l.get_abs_posn(25), 1.0);
    EXPECT_EQ(l.abs_posn_to_sample(1.0), 25);
    EXPECT_EQ(l.abs_posn_to_sample(-0.01), -1);
    EXPECT_EQ(l.abs_posn_to_sample(-0.04), -1);
    EXPECT_EQ(l.abs_posn_to_sample(-0.041), -2);
    EXPECT_EQ(l.abs_posn_to_sample(0.0399), 0);
}

TEST(Times, SampleTimeSampleRoundTripsBothSidesOfZero) {
    for (label_t t : {pal_label_t, ntsc_label_t, keycode_35_label_t, tc_240_label_t, keycode_6515_120_label_t}) {
        PlainFrames cvt(t, 1);
        Label l(cvt);
        SCOPED_TRACE(t);
        for (int s = -300000; s <= 300000; s += 7) ASSERT_EQ(l.abs_posn_to_sample(l.sample_to_posn(s)), s) << s;
        for (int s : {INT_MIN + 1, -2000000000, 2000000000, INT_MAX})
            EXPECT_EQ(l.abs_posn_to_sample(l.sample_to_posn(s)), s);
    }
}

TEST(Times, PositionSnapsToWholeUnits) {
    // 35 mm film counted in perforations: 4 samples per frame of 1/24 s.
    PlainFrames cvt(keycode_35_label_t, 4);
    Label l(cvt);
    for (int k = -5000; k <= 5000; ++k) {
        ASSERT_EQ(l.posn_to_sample(k / 24.0), 4 * k) << k;
        ASSERT_EQ(l.posn_to_sample((k + 0.5) / 24.0), 4 * k) << k;
        ASSERT_EQ(l.posn_to_sample((k + 0.9) / 24.0), 4 * k) << k;
    }
    // The start is not subtracted: the result is absolute.
    l.start.sample = 400;
    EXPECT_EQ(l.posn_to_sample(1.0), 96);
}

TEST(Times, NoTimeGivesNoSampleAndNoSampleNoTime) {
    PlainFrames cvt(pal_label_t, 1);
    Label l(cvt);
    l.bounded = 1;
    double const nan = std::numeric_limits<double>::quiet_NaN();
    double const inf = std::numeric_limits<double>::infinity();
    for (double t : {nan, inf, -inf, 1e99, 1e20, -1e20, 85899345.92, -85899345.96}) {
        SCOPED_TRACE(t);
        EXPECT_EQ(l.abs_posn_to_sample(t), -100000000);
        EXPECT_EQ(l.posn_to_sample(t), -100000000);
    }
    l.pitch = 0.0;
    EXPECT_EQ(l.abs_posn_to_sample(1.0), -100000000);
    EXPECT_EQ(l.posn_to_sample(1.0), -100000000);
    l.pitch = 0.04;
    EXPECT_EQ(l.sample_to_posn(-100000000), 1e99);
    l.start.sample = 1000;
    EXPECT_EQ(l.get_abs_posn_extrapolate(-100001000), 1e99);
    EXPECT_EQ(l.get_abs_posn_extrapolate(-2000), -1000 * 0.04);
    l.bounded = 0;
    EXPECT_EQ(l.get_abs_posn(-100001000), 1e99);
    EXPECT_EQ(l.get_abs_posn(-2000), -1000 * 0.04);
}

TEST(Times, NormalisedByTheConverter) {
    REQUIRE_CONVERTER(pal_label_t);
    Label l(pal_label_t);
    EXPECT_EQ(l.sample_to_posn(-1), 2159999 * (1.0 / 25));
    EXPECT_EQ(l.get_abs_posn_extrapolate(2160001), 1 * (1.0 / 25));
}

TEST(Times, VideoTimeAndSmpteWordGoThroughTheConverter) {
    PlainFrames cvt(pal_label_t, 1);  // modulus 25
    Label l(cvt);
    l.start.sample = 1000;
    EXPECT_EQ(l.get_V2tc(25), 41.0);
    bool drop = false;
    EXPECT_EQ(l.get_samples_from_SMPTETc(0x01234567u, drop), 125652);
    EXPECT_TRUE(drop);
}

// ---------------------------------------------------------------------------
struct ContainsCase {
    int this_start, this_length, this_bounded;
    int other_start, other_length, other_bounded;
    bool want;
};

TEST(Contains, SpansInsideSpans) {
    PlainFrames cvt(keycode_35_label_t, 4, keycode_UserLabel, true);
    ContainsCase const cases[] = {
        {100, 100, 1, 150, 5, 0, true},      // unbounded other: its start decides
        {100, 100, 1, 200, 5, 0, true},
        {100, 100, 1, 201, 5, 0, false},
        {100, 100, 1, 99, 5, 0, false},      // before this start
        {100, 100, 1, 150, 50, 1, true},     // ends on the last sample
        {100, 100, 1, 150, 51, 1, false},
        {100, 100, 1, 100, -1, 1, false},    // ends before its start
        {100, 100, 0, -5000, 1 << 30, 1, true},  // unbounded this holds everything
        {100, 100, 0, -5000, 0, 0, true},
    };
    for (ContainsCase const& c : cases) {
        Label a(cvt), b(cvt);
        a.start.sample = c.this_start;
        a.length = c.this_length;
        a.bounded = c.this_bounded;
        b.start.sample = c.other_start;
        b.length = c.other_length;
        b.bounded = c.other_bounded;
        a.set_prefix("KJ23");
        b.set_prefix("kj23");  // letter case does not matter
        EXPECT_EQ(a.contains(b), c.want) << c.other_start << "+" << c.other_length;
        b.set_prefix("KJ24");
        EXPECT_FALSE(a.contains(b));
    }
}

// ---------------------------------------------------------------------------
TEST(Equality, StartAndEndPointsOnly) {
    Label a(tc_24_label_t), b(tc_24_label_t);
    a.start.sample = b.start.sample = 10;
    b.pitch = 9.0;
    b.bounded = 0;
    EXPECT_TRUE(a == b);
    b.length = 99;
    EXPECT_TRUE(a != b);
    Label c(pal_label_t);
    c.start.sample = 10;
    if (has_own_converter(pal_label_t) || has_own_converter(tc_24_label_t)) {
        EXPECT_TRUE(a != c);
    }
}

// ---------------------------------------------------------------------------
// Keep strings written.

TEST(KeepStringWriter, FieldsPerUnit) {
    PlainFrames cvt(keycode_35_label_t, 4);
    Label l(cvt);
    l.start.sample = 788;
    l.length = 250;  // 62 frames and 2 perforations: the part frame is lost
    EXPECT_EQ(keep(l), "LABEL_REV:1 plain_frames 788 62 0.0416666667 0");
    l.length = -250;
    l.bounded = 1;
    EXPECT_EQ(keep(l), "LABEL_REV:1 plain_frames 788 -62 0.0416666667 1");
}

TEST(KeepStringWriter, StaticBufferWhenNoneGiven) {
    Label a(pal_label_t), b(tc_24_label_t);
    char* first = a.make_keep_string(nullptr);
    std::string const was = first;
    char* second = b.make_keep_string(nullptr);
    EXPECT_EQ(first, second);
    EXPECT_NE(was, std::string(second));
    char mine[Label::keep_string_size];
    EXPECT_EQ(a.make_keep_string(mine), mine);
    EXPECT_EQ(std::string(mine), was);
}

TEST(KeepStringWriter, SameBytesAsTheFormat) {
    PlainFrames one(pal_label_t, 1), four(keycode_35_label_t, 4), fifteen(keycode_6515_120_label_t, 15);
    std::mt19937 rng(7);
    int const specials[] = {0, 1, -1, 100000000, INT_MAX, INT_MIN, 62, -63};
    for (PlainFrames* c : {&one, &four, &fifteen}) {
        Label l(*c);
        for (int i = 0; i < 20000; ++i) {
            l.start.sample = i < 8 ? specials[i] : static_cast<int>(rng());
            l.length = i < 8 ? specials[7 - i] : static_cast<int>(rng());
            l.bounded = i % 3 == 0 ? 1 : static_cast<int>(rng() % 5) - 2;
            l.pitch = std::ldexp(static_cast<double>(rng()) / 4294967296.0, static_cast<int>(rng() % 40) - 30);
            if (i % 2) l.pitch = -l.pitch;
            ASSERT_EQ(keep(l), keep_by_format(l));
        }
    }
}

TEST(KeepStringWriter, PitchDigitsMatchTheFormatForEveryKindOfDouble) {
    PlainFrames cvt(pal_label_t, 1);
    Label l(cvt);
    std::vector<double> values = {0.0, -0.0, 1.0 / 25, 1.001 / 30, 1.0 / (30 / 1.001), 1.0 / 96, 1.0 / 360,
                                  0.5, 5e-11, -5e-11, 1.5e-10, 2.5e-10, 4.9999999999e-11, 0.00000000005,
                                  DBL_MIN, -DBL_MIN, 4.9e-324, 9223372036854774784.0, -9223372036854774784.0,
                                  9223372036854775808.0, 1e30, -1e30};
    // Exact ties at the eleventh decimal: multiples of 2^-k round to even.
    for (int k = 10; k <= 45; ++k)
        for (int m = 1; m < 64; ++m) values.push_back(std::ldexp(m, -k));
    std::mt19937_64 rng(11);
    for (int i = 0; i < 300000; ++i) {
        std::uint64_t bits = rng();
        double v;
        std::memcpy(&v, &bits, sizeof v);
        if (i % 2) v = std::ldexp(static_cast<double>(bits >> 11), -static_cast<int>(rng() % 90));
        if (std::isfinite(v)) values.push_back(v);
    }
    for (double v : values) {
        l.pitch = v;
        ASSERT_EQ(keep(l), keep_by_format(l)) << v;
    }
}

TEST(KeepStringWriter, HugeFieldsAreCutAt127Characters) {
    static char const long_name[] =
        "a_converter_name_far_longer_than_any_class_name_of_the_library_a_converter_name_far_longer_than_any_"
        "class_name_of_the_library_and_longer_still";
    PlainFrames plain(pal_label_t, 1), named(pal_label_t, 1, timecode_UserLabel, false, long_name);
    double const inf = std::numeric_limits<double>::infinity();
    for (PlainFrames* c : {&plain, &named}) {
        Label l(*c);
        for (double v : {1e300, -1e300, DBL_MAX, -DBL_MAX, 1e33, 9.9e32, inf, -inf,
                         std::numeric_limits<double>::quiet_NaN()}) {
            l.pitch = v;
            l.length = INT_MIN;
            l.bounded = INT_MIN;
            std::unique_ptr<char[]> exact(new char[Label::keep_string_size]);  // ASan sees any overrun
            char* s = l.make_keep_string(exact.get());
            ASSERT_LT(std::strlen(s), Label::keep_string_size);
            EXPECT_EQ(std::string(s), keep_by_format(l));
        }
    }
}

TEST(KeepStringWriter, DoesNotAllocate) {
    PlainFrames cvt(keycode_35_label_t, 4);
    Label a(cvt), b(pal_label_t);
    a.pitch = 1e200;  // the C library's path
    char buf[Label::keep_string_size];
    host::AllocationStats const before = host::allocation_stats();
    for (int i = 0; i < 1000; ++i) {
        a.start.sample = i;
        a.make_keep_string(buf);
        b.make_keep_string(nullptr);
    }
    EXPECT_EQ(host::allocation_stats().allocations, before.allocations);
}

// ---------------------------------------------------------------------------
// Keep strings read.

void expect_default(Label const& l, int revision) {
    EXPECT_EQ(l.revision, revision);
    EXPECT_EQ(l.start.cvt(), get_static_label_cvt(prefix_label_t));
    EXPECT_EQ(l.start.sample, 0);
    EXPECT_EQ(l.pitch, 0.0);
    EXPECT_EQ(l.bounded, 0);
    EXPECT_EQ(l.length, 100000000);
}

TEST(KeepStringReader, TextsThatAreNoKeepStrings) {
    std::string const thousand(1000, 'x');
    std::string const thousand_spaces(1000, ' ');
    char const* const texts[] = {nullptr, "", "   ", "LABEL_RE:1 pal_label 0 1 1 1", "label_rev:1 pal_label",
                                 thousand.c_str(), thousand_spaces.c_str(), " X LABEL_REV:1"};
    for (char const* t : texts) {
        SCOPED_TRACE(t ? std::string(t).substr(0, 40) : "null");
        expect_default(Label(t), 1);
    }
}

TEST(KeepStringReader, RevisionsOtherThanOneAndTwoStop) {
    struct Case {
        char const* text;
        int revision;
    };
    Case const cases[] = {
        {"LABEL_REV:3 dummy_label 5 6 7 1", 3},  {"LABEL_REV:0 dummy_label 5 6 7 1", 0},
        {"LABEL_REV dummy_label 5 6 7 1", 0},    {"LABEL_REV: dummy_label 5 6 7 1", 0},
        {"LABEL_REVX:1 dummy_label 5 6 7 1", 0},
        // atoi keeps the low 32 bits of 99999999999 (0x174876E7FF)
        {"LABEL_REV:99999999999 dummy_label 5 6 7 1", 0x4876E7FF},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.text);
        expect_default(Label(c.text), c.revision);
    }
}

TEST(KeepStringReader, RevisionTwoReadsLikeOne) {
    Label one("LABEL_REV:1 no_such_label 5 6 0.25 1");
    Label two("LABEL_REV:2 no_such_label 5 6 0.25 1");
    EXPECT_EQ(one.revision, 1);
    EXPECT_EQ(two.revision, 2);
    for (Label const* l : {&one, &two}) {
        // An unknown class name gives label type 0, whose fallback reads no sample.
        EXPECT_EQ(l->start.cvt(), get_static_label_cvt(prefix_label_t));
        EXPECT_EQ(l->start.sample, -100000000);
        EXPECT_EQ(l->length, 6);
        EXPECT_EQ(l->pitch, 0.25);
        EXPECT_EQ(l->bounded, 1);
    }
}

TEST(KeepStringReader, MissingFieldsKeepTheirDefaults) {
    Label name_only("LABEL_REV:1 dummy_label");
    EXPECT_EQ(name_only.start.cvt(), get_static_label_cvt(get_label_type("dummy_label")));
    EXPECT_EQ(name_only.start.sample, 0);
    EXPECT_EQ(name_only.pitch, 0.0);
    EXPECT_EQ(name_only.length, 100000000);
    EXPECT_EQ(name_only.bounded, 0);

    Label with_length("LABEL_REV:1 dummy_label ??? 250");
    EXPECT_EQ(with_length.length, 250);
    EXPECT_EQ(with_length.pitch, 0.0);
    EXPECT_EQ(with_length.bounded, 0);

    Label rev_only("LABEL_REV:1");
    expect_default(rev_only, 1);
}

TEST(KeepStringReader, NumbersAsTheCLibraryReadsThem) {
    Label wide("LABEL_REV:1 x y 4294967297 1e-3 7");  // the length keeps its low 32 bits
    EXPECT_EQ(wide.length, 1);
    EXPECT_EQ(wide.pitch, 1e-3);
    EXPECT_EQ(wide.bounded, 7);
    Label huge("LABEL_REV:1 x y 99999999999999999999999 nonsense -2");
    EXPECT_EQ(huge.length, -1);  // LONG_MAX cut to 32 bits
    EXPECT_EQ(huge.pitch, 0.0);
    EXPECT_EQ(huge.bounded, -2);
    Label negative_revision("LABEL_REV:-1 x y 12");
    EXPECT_EQ(negative_revision.revision, -1);
    EXPECT_EQ(negative_revision.length, 12);
}

TEST(KeepStringReader, OneThousandCharacterFields) {
    std::string const big(1000, '9');
    Label l(("LABEL_REV:1 " + big + " " + big + " " + big + " " + big + " " + big).c_str());
    EXPECT_EQ(l.start.cvt(), get_static_label_cvt(prefix_label_t));
    EXPECT_EQ(l.length, -1);
    EXPECT_EQ(l.bounded, -1);
    EXPECT_TRUE(std::isinf(l.pitch));
}

// ---------------------------------------------------------------------------
// Round trips. Every registry type: the fields a label keeps survive a write
// and a read; the start sample survives wherever the registry holds the
// type's own converter (1200 is a whole frame of every film gauge).
TEST(KeepStringRoundTrip, EveryLabelType) {
    for (int i = 0; i < label_type_count; ++i) {
        label_t const t = static_cast<label_t>(i);
        SCOPED_TRACE(label_type_info(t).enumerator);
        Label l(t);
        l.start.sample = l.start.cvt()->normalise_sample_unit(1200);
        l.length = 1000;
        std::string const text = keep(l);
        Label r(text.c_str());
        label_cvt* const c = l.start.cvt();
        int const unit = c->samples_per_unit();
        EXPECT_EQ(r.start.cvt(), get_static_label_cvt(get_label_type(c->type_str())));
        EXPECT_EQ(r.length, 1000 / unit * unit);
        EXPECT_NEAR(r.pitch, l.pitch, 5.1e-11 / unit);
        EXPECT_EQ(r.bounded, 1);
        EXPECT_EQ(r.revision, 1);
        if (has_own_converter(t))
            EXPECT_EQ(r.start.sample, 1200) << text;
        else
            EXPECT_EQ(r.start.sample, -100000000) << text;
    }
}

struct ExactKeep {
    label_t type;
    int sample;
    char const* text;
};

// Timecode and feet texts have a sign column: a space before positive
// values, which makes two spaces after the class name. The reader's
// tokeniser drops empty tokens, so the start token arrives without the
// space; the parsers skip leading white space, so nothing is lost.
TEST(KeepStringRoundTrip, TimecodeTexts) {
    ExactKeep const cases[] = {
        {pal_label_t, 90013, "LABEL_REV:1 pal_label  01:00:00.13 100000000 0.0400000000 1"},
        {pal_label_t, -1, "LABEL_REV:1 pal_label -00:00:00.01 100000000 0.0400000000 1"},
        {ntsc_drop_label_t, 1800, "LABEL_REV:1 ntsc_drop_label  00:01:00;02 100000000 0.0333666667 1"},
        {ntsc_label_t, 107892, "LABEL_REV:1 ntsc_label  00:59:56.12 100000000 0.0333666667 1"},
        {tc_24_label_t, 24, "LABEL_REV:1 tc_24_label  00:00:01+00 100000000 0.0416666667 1"},
        {tc_120_label_t, 119, "LABEL_REV:1 tc_120_label  00:00:00.119 100000000 0.0083333333 1"},
        {tc_60_duration_label_t, 61, "LABEL_REV:1 tc_60_duration_label  00:00:01.01 100000000 0.0166666667 1"},
    };
    for (ExactKeep const& c : cases) {
        SCOPED_TRACE(c.text);
        if (!has_own_converter(c.type)) continue;
        Label l(c.type);
        l.start.sample = c.sample;
        EXPECT_EQ(keep(l), c.text);
        Label r(c.text);
        EXPECT_EQ(r.start.cvt()->type(), c.type);
        EXPECT_EQ(r.start.sample, c.sample);
        EXPECT_EQ(r.length, 100000000);
        EXPECT_NEAR(r.pitch, l.pitch, 5.1e-11);
        if (c.sample >= 0) {  // a negative start compares with its normalised self
            EXPECT_TRUE(r == l);
        }
    }
    REQUIRE_CONVERTER(pal_label_t);
    // Any run of spaces separates fields.
    Label spaced("LABEL_REV:1   pal_label      01:00:00.13   100000000 0.04 1   ");
    EXPECT_EQ(spaced.start.sample, 90013);
    EXPECT_EQ(spaced.pitch, 0.04);
    EXPECT_EQ(spaced.bounded, 1);
    // Only the revision and the class name: type set, sample 0, pitch 0.
    Label bare("LABEL_REV:1 pal_label");
    EXPECT_EQ(bare.start.cvt()->type(), pal_label_t);
    EXPECT_EQ(bare.start.sample, 0);
    EXPECT_EQ(bare.pitch, 0.0);
}

TEST(KeepStringRoundTrip, TimecodeTextsThatDoNotComeBack) {
    REQUIRE_CONVERTER(ntsc_drop_label_t);
    REQUIRE_CONVERTER(pal_label_t);
    // A drop-frame text with a minus sign reads as 0.
    Label drop(ntsc_drop_label_t);
    drop.start.sample = -1;
    EXPECT_EQ(Label(keep(drop).c_str()).start.sample, 0);
    // A whole day prints as midnight and reads back as 0.
    Label day(pal_label_t);
    day.start.sample = 2160000;
    EXPECT_EQ(Label(keep(day).c_str()).start.sample, 0);
}

TEST(KeepStringRoundTrip, FilmTexts) {
    ExactKeep const cases[] = {
        {foot_35_label_t, 788, "LABEL_REV:1 foot_35_label  0012+05 25000000 0.0416666667 1"},
        {foot_35_label_t, -788, "LABEL_REV:1 foot_35_label -0012+05 25000000 0.0416666667 1"},
        {foot_353_label_t, 62, "LABEL_REV:1 foot_353_label  0001+00.3 33333333 0.0416666667 1"},
        {film_frames_label_t, 42, "LABEL_REV:1 film_frames_label 000042 100000000 0.0416666667 1"},
        {film_frames_label_t, -5, "LABEL_REV:1 film_frames_label -000005 100000000 0.0416666667 1"},
        {keycode_35_label_t, 788, "LABEL_REV:1 keycode_35_label KJ1234560012+05 25000000 0.0416666667 1"},
        {keycode_353_label_t, 62, "LABEL_REV:1 keycode_353_label KJ1234560001+00.3 33333333 0.0416666667 1"},
        {keycode_16_label_t, 245, "LABEL_REV:1 keycode_16_label KJ1234560012&05 100000000 0.0416666667 1"},
    };
    for (ExactKeep const& c : cases) {
        SCOPED_TRACE(c.text);
        if (!has_own_converter(c.type)) continue;
        Label l(c.type);
        l.set_prefix("KJ123456");
        l.start.sample = c.sample;
        EXPECT_EQ(keep(l), c.text);
        Label r(c.text);
        EXPECT_EQ(r.start.cvt()->type(), c.type);
        EXPECT_EQ(r.start.sample, c.sample);
        int const unit = r.start.cvt()->samples_per_unit();
        EXPECT_EQ(r.length, 100000000 / unit * unit);  // 99999999 for 3-perf film
        if (r.start.cvt()->has_prefix()) {
            EXPECT_STREQ(r.start.get_prefix(), "KJ123456");
        }
    }
    REQUIRE_CONVERTER(keycode_35_label_t);
    Label l(keycode_35_label_t);
    l.length = 250;
    Label r(keep(l).c_str());
    EXPECT_EQ(r.length, 248);
}

}  // namespace
