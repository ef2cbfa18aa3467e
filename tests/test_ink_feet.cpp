// Ink numbers, feet and frames, film frames, and the registry's film slots.
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "labelsbase/LabelPoint.h"
#include "labelsbase/labelcvt.h"

namespace {

using Cvt = std::unique_ptr<label_cvt>;
Cvt fresh(label_t t) { return Cvt(make_any_label_cvt(t)); }

// ---------------------------------------------------------------------------
// Registry and factory: every film slot holds its own converter with the
// catalogue's facts.
label_t const kFilmTypes[] = {
    keycode_35_label_t,     keycode_16_label_t,      keycode_353_label_t,     foot_35_label_t,
    foot_16_label_t,        foot_353_label_t,        ink_35_label_t,          ink_16_label_t,
    keycode_35_label_4_t,   keycode_35_label_5_t,    keycode_35_label_6_t,    keycode_16_label_4_t,
    keycode_16_label_5_t,   keycode_16_label_6_t,    keycode_353_label_4_t,   keycode_353_label_5_t,
    keycode_353_label_6_t,  film_frames_label_t,     keycode_352_label_t,     keycode_358_label_t,
    keycode_655_80_label_t, keycode_658_80_label_t,  keycode_6510_80_label_t, keycode_655_120_label_t,
    keycode_658_120_label_t, keycode_6510_120_label_t, keycode_6515_120_label_t,
};
static_assert(sizeof(kFilmTypes) / sizeof(kFilmTypes[0]) == 27, "21 KeyKode, 2 ink, 3 feet, film frames");

TEST(FilmRegistry, EverySlotHoldsItsCatalogueConverter) {
    std::set<label_cvt const*> seen;
    for (label_t t : kFilmTypes) {
        LabelTypeInfo const& info = label_type_info(t);
        label_cvt* c = get_static_label_cvt(t);
        SCOPED_TRACE(info.class_name);
        EXPECT_NE(c, bad_label_cvt);
        EXPECT_TRUE(seen.insert(c).second);
        EXPECT_STREQ(c->type_str(), info.class_name);
        EXPECT_EQ(c->type(), t);
        EXPECT_EQ(c->UserType(), info.category);
        EXPECT_EQ(c->get_modulus(), info.modulus);
        EXPECT_EQ(c->samples_per_unit(), info.samples_per_unit);
        EXPECT_EQ(get_label_type(info.class_name), t);

        int const before = label_cvt::howmany;
        Cvt own = fresh(t);
        EXPECT_EQ(label_cvt::howmany, before + 1);
        EXPECT_NE(own.get(), c);
        EXPECT_STREQ(own->type_str(), c->type_str());
        EXPECT_STREQ(own->full_template.template_text.c_str(), c->full_template.template_text.c_str());
        own.reset();
        EXPECT_EQ(label_cvt::howmany, before);
    }
    // The bases without a leaf are not the factory's.
    for (label_t t : {prefix_label_t, keycode_label_t, foot_label_t, ink_label_t, pal_label_t})
        EXPECT_EQ(make_film_label_cvt(t), nullptr);
}

// ---------------------------------------------------------------------------
// Ink numbers.
struct InkLeaf {
    label_t type;
    int modulus;
    int ppf;
};
InkLeaf const kInk[] = {{ink_35_label_t, 16, 4}, {ink_16_label_t, 20, 1}};

TEST(Ink, WidthsAndTemplates) {
    for (InkLeaf const& l : kInk) {
        Cvt c = fresh(l.type);
        EXPECT_TRUE(c->has_prefix());
        EXPECT_EQ(c->get_prefix_length(), 4);
        EXPECT_EQ(c->get_count_length(), 4);
        EXPECT_EQ(c->getFrameSeparator(), '+');
        EXPECT_STREQ(c->get_dummy_prefix(), "XXXX");
        EXPECT_STREQ(c->full_template.template_text.c_str(), "????9999+19");
        EXPECT_STREQ(c->count_template.template_text.c_str(), "~~~~9999+19");
        EXPECT_STREQ(c->full_template.getInvalidString(invalid_sample), "???????????");
        LabelPoint lp(0, c.get());
        EXPECT_STREQ(c->get_abs_string(&lp, past_end_sample), ">>>>>>>>>>>");
    }
}

TEST(Ink, DisplayTextMatchesTheCLibraryAndParsesBack) {
    for (InkLeaf const& l : kInk) {
        Cvt c = fresh(l.type);
        LabelPoint lp(0, c.get());
        int const p = 10000 * l.modulus * l.ppf;
        EXPECT_EQ(c->normalise_sample_unit(p), 0);
        EXPECT_EQ(c->normalise_sample_unit(-1), p - 1);
        EXPECT_EQ(c->normalise_sample_unit(INT_MIN), static_cast<int>(((INT_MIN % p) + p) % p));
        char want[64];
        auto expect = [&](int s) {
            int const f = s / l.ppf;
            int count = f / l.modulus;
            int const frame = f % l.modulus;
            if (count < 0) return std::string("NEGATIVE");
            if (count > 9999) count -= 10000;
            std::snprintf(want, sizeof want, "%s%0*d%c%02d", "XXXX", 4, count, '+', frame);
            return std::string(want);
        };
        for (int s = -3 * l.modulus * l.ppf; s < 2 * p + 100; s += 3 + (s & 7)) {
            ASSERT_EQ(c->get_abs_string(&lp, s), expect(s)) << s;
            if (s >= 0 && s < p) {
                ASSERT_EQ(c->get_abs_sample(c->get_abs_string(&lp, s)), s - s % l.ppf);
            }
        }
        for (int s : {INT_MIN, INT_MAX, INT_MAX - 1, -1}) EXPECT_EQ(c->get_abs_string(&lp, s), expect(s));
    }
}

struct InkCase {
    char const* text;
    int sample;
};

TEST(Ink, TypedTextsAreNormalisedToElevenCharacters) {
    Cvt c = fresh(ink_35_label_t);
    InkCase const cases[] = {
        {"ABCD1234+05", 78996},
        {"ABCD 1234+05", 78996},     // 12 characters: first 4 and last 7
        {"ABCD  --  1234+05", 78996},
        {"1234+05", 78996},          // read as '00001234+05'
        {"ABCD1234+16", invalid_sample},
        {"ABCD1234", invalid_sample},  // '000ABCD1234': count 'BCD1' is 0, frame "34"
        {"ABCD1234+-1", invalid_sample},
        {"ABCD-001+05", invalid_sample},  // negative count
        {"ABCD1234+ 5", 4 * (16 * 1234 + 5)},
        {"ABCD1234+", 4 * 4},         // '00ABCD1234+': count 'CD12' is 0, frame "4+"
        {"ABCD1234+5", 4 * 5},        // '0ABCD1234+5': count 'D123' is 0, frame "+5"
        {"1234+", 4 * 16 * 1234},     // '00001234+': no frame text, frame 0
        {"12", 4 * 16 * 12},             // '000012'
        {"5", 4 * 16 * 5},
        {"", 0},
        {"0000", 0},
    };
    for (InkCase const& k : cases) EXPECT_EQ(c->get_abs_sample(k.text), k.sample) << k.text;
    EXPECT_EQ(c->get_abs_sample(nullptr), invalid_sample);
    Cvt c16 = fresh(ink_16_label_t);
    EXPECT_EQ(c16->get_abs_sample("ABCD1234+19"), 20 * 1234 + 19);
    EXPECT_EQ(c16->get_abs_sample("ABCD1234+20"), invalid_sample);
}

TEST(Ink, WorkedExampleAndPrefixes) {
    Cvt c = fresh(ink_35_label_t);
    LabelPoint a(0, c.get()), b(0, c.get());
    EXPECT_STREQ(c->get_abs_string(&a, 788), "XXXX0012+05");
    c->set_prefix(&a, "ABCD 1234+05");
    EXPECT_STREQ(a.prefix, "ABCD1234");
    EXPECT_STREQ(c->get_abs_string(&a, 788), "ABCD0012+05");
    EXPECT_STREQ(c->get_abs_string(&b, 788), "ABCD0012+05");  // remembered
    // A short text is padded to at least four characters, so it always
    // supplies a prefix: '12' becomes '000012'.
    c->set_prefix(&b, "12");
    EXPECT_STREQ(b.prefix, "000012");
    EXPECT_STREQ(c->get_abs_string(&b, 788), "00000012+05");

    std::string const big(500, 'Q');
    std::memset(a.text, 'T', sizeof a.text);
    c->set_prefix(&a, big.c_str());
    EXPECT_STREQ(a.prefix, "QQQQQQQQ");
    EXPECT_EQ(a.text[0], 'T');
    // 'QQQQ' + 'QQQQQQQ': count and frame both read as 0.
    EXPECT_EQ(c->get_abs_sample(big.c_str()), 0);
    c->set_prefix(&a, nullptr);
    EXPECT_STREQ(a.prefix, "0000");
}

// ---------------------------------------------------------------------------
// Feet and frames.
struct FootLeaf {
    label_t type;
    int modulus;
    int ppf;
    char const* tmpl;
};
FootLeaf const kFeet[] = {
    {foot_35_label_t, 16, 4, "-9999.19"},
    {foot_16_label_t, 40, 1, "-9999.39"},
    {foot_353_label_t, 22, 3, "-9999+29.3"},
};

TEST(Feet, TemplatesAndFacts) {
    for (FootLeaf const& l : kFeet) {
        Cvt c = fresh(l.type);
        EXPECT_FALSE(c->has_prefix());
        EXPECT_EQ(c->get_modulus(), l.modulus);
        EXPECT_EQ(c->samples_per_unit(), l.ppf);
        EXPECT_EQ(c->UserType(), feet_UserLabel);
        EXPECT_STREQ(c->full_template.template_text.c_str(), l.tmpl);
        EXPECT_STREQ(c->count_template.template_text.c_str(), l.tmpl);
        EXPECT_EQ(c->getFrameSeparator(), '.');
        EXPECT_EQ(c->normalise_sample_unit(-5), -5);
        LabelPoint lp(0, c.get());
        EXPECT_STREQ(c->get_abs_string(&lp, invalid_sample), l.type == foot_353_label_t ? "????????.?" : "?????.??");
    }
}

TEST(Feet, FourPerfAndSixteenMatchTheCLibrary) {
    for (FootLeaf const& l : kFeet) {
        if (l.type == foot_353_label_t) continue;
        Cvt c = fresh(l.type);
        LabelPoint signed_point(0, c.get());
        LabelPoint unsigned_point(0, c.get());
        unsigned_point.removePadding();
        long long const w = 100000LL * l.modulus;
        char want[64];
        for (long long s = -3000; s < 2 * w * l.ppf + 5000; s += 7 + (s & 15)) {
            int const si = static_cast<int>(s);
            long long f = (si < 0 ? -s : s) / l.ppf;
            if (f >= w) f -= w;
            int const feet = static_cast<int>(f / l.modulus), frame = static_cast<int>(f % l.modulus);
            std::snprintf(want, sizeof want, "%c%0*d+%02d", si < 0 ? '-' : ' ', 4, feet, frame);
            ASSERT_STREQ(c->get_abs_string(&signed_point, si), want) << si;
            std::snprintf(want, sizeof want, "%0*d+%02d", 4, feet, frame);
            ASSERT_STREQ(c->get_abs_string(&unsigned_point, si), want) << si;
            // Back: whole frames, with the sign; within one wrap.
            if (s > -w * l.ppf && s < w * l.ppf) {
                int const whole = si < 0 ? -(-si - (-si) % l.ppf) : si - si % l.ppf;
                ASSERT_EQ(c->get_abs_sample(c->get_abs_string(&signed_point, si)), whole);
            }
        }
    }
}

TEST(Feet, WorkedExamples) {
    Cvt f35 = fresh(foot_35_label_t), f16 = fresh(foot_16_label_t), f353 = fresh(foot_353_label_t);
    LabelPoint p35(0, f35.get()), p16(0, f16.get()), p353(0, f353.get());
    EXPECT_STREQ(f35->get_abs_string(&p35, 788), " 0012+05");
    EXPECT_STREQ(f35->get_abs_string(&p35, -788), "-0012+05");
    EXPECT_STREQ(f35->get_abs_string(&p35, 0), " 0000+00");
    EXPECT_STREQ(f35->get_abs_string(&p35, 3), " 0000+00");
    EXPECT_STREQ(f35->get_abs_string(&p35, 1600000 * 4), " 0000+00");  // wraps once
    EXPECT_STREQ(f35->get_abs_string(&p35, 1600000 * 4 - 4), " 99999+15");
    EXPECT_STREQ(f16->get_abs_string(&p16, 485), " 0012+05");
    EXPECT_STREQ(f16->get_abs_string(&p16, 4000000), " 0000+00");
    EXPECT_EQ(f35->get_abs_sample(" 0012+05"), 788);
    EXPECT_EQ(f35->get_abs_sample("-0012+05"), -788);
    EXPECT_EQ(f35->get_abs_sample("12+20"), 848);  // nothing is range-checked
    EXPECT_EQ(f35->get_abs_sample("12"), 768);
    EXPECT_EQ(f35->get_abs_sample("  12.5"), 788);
    EXPECT_EQ(f35->get_abs_sample(""), 0);
    EXPECT_EQ(f35->get_abs_sample(nullptr), invalid_sample);
    EXPECT_EQ(f16->get_abs_sample(" 0012+05"), 485);

    EXPECT_STREQ(f353->get_abs_string(&p353, 0), " 0000+00.1");
    EXPECT_STREQ(f353->get_abs_string(&p353, 1), " 0000+01.3");
    EXPECT_STREQ(f353->get_abs_string(&p353, 62), " 0001+00.3");
    EXPECT_STREQ(f353->get_abs_string(&p353, -62), "-0001+00.3");
    EXPECT_EQ(f353->get_abs_sample(" 0001+00.3"), 62);
    EXPECT_EQ(f353->get_abs_sample("-0001+00.3"), -62);
    // The 3-perf form keeps its sign column even on an unpadded point.
    p353.removePadding();
    EXPECT_STREQ(f353->get_abs_string(&p353, 62), " 0001+00.3");
}

TEST(Feet, ThreePerfRoundTripsOverTenThousandFeet) {
    Cvt c = fresh(foot_353_label_t);
    LabelPoint lp(0, c.get());
    char want[64];
    for (int s = 0; s <= 6399997; ++s) {
        char const* t = c->get_abs_string(&lp, s);
        if (s % 1009 == 0) {
            int const u = s + 2;
            std::snprintf(want, sizeof want, "%c%0*d+%02d.%d", ' ', 4, u / 64, (u % 64) / 3, 2 - (u % 64) % 3 + 1);
            ASSERT_STREQ(t, want);
        }
        ASSERT_EQ(c->get_abs_sample(t), s) << t;
    }
    for (int s = -1; s > -200000; s -= 7) ASSERT_EQ(c->get_abs_sample(c->get_abs_string(&lp, s)), s);
    // The footage wraps once above 100000 feet.
    EXPECT_STREQ(c->get_abs_string(&lp, 6399998), " 100000+00.3");
    EXPECT_STREQ(c->get_abs_string(&lp, 6400062), " 0001+00.3");
}

TEST(Feet, ThreePerfParserBounds) {
    Cvt c = fresh(foot_353_label_t);
    for (char const* t : {"", " ", "-", "  -"}) EXPECT_EQ(c->get_abs_sample(t), invalid_sample) << '"' << t << '"';
    std::string const long_text = " 0001+00" + std::string(54, ' ') + ".3";  // 64 characters
    EXPECT_EQ(c->get_abs_sample(long_text.c_str()), invalid_sample);
    std::string const fits = " 0001+00" + std::string(53, ' ') + ".3";  // 63 characters
    EXPECT_EQ(c->get_abs_sample(fits.c_str()), 62);
    EXPECT_EQ(c->get_abs_sample("0001+00"), 64 + 1);  // last character '0' reads as index 0
    EXPECT_EQ(c->get_abs_sample(nullptr), invalid_sample);
}

TEST(Feet, HugeSamplesAndWideFeetStayInsideTheText) {
    for (int digits : {-3, 0, 4, 9, 16, 40}) {
        foot_35_label f35(digits);
        foot_16_label f16(digits);
        foot_353_label f353(digits);
        int const clamped = digits < 0 ? 0 : digits > 16 ? 16 : digits;
        EXPECT_EQ(f353.full_template.template_text.size(), static_cast<std::size_t>(clamped) + 6);
        for (label_cvt* c : {static_cast<label_cvt*>(&f35), static_cast<label_cvt*>(&f16), static_cast<label_cvt*>(&f353)}) {
            LabelPoint lp(0, c);
            for (int s : {INT_MIN, INT_MIN + 1, INT_MAX, -1, 0}) {
                char const* t = c->get_abs_string(&lp, s);
                EXPECT_LE(std::strlen(t), 22u) << digits << " " << s;
                EXPECT_EQ(t[0], s < 0 ? '-' : ' ');
            }
        }
    }
    foot_353_label w(16);
    LabelPoint lp(0, &w);
    EXPECT_STREQ(w.get_abs_string(&lp, INT_MIN), "-0000000033554432+00.1");  // 22 characters
    foot_35_label f(4);
    LabelPoint fp(0, &f);
    // |INT_MIN| / 4 = 536870912 frames, wrapped once by 1600000.
    EXPECT_STREQ(f.get_abs_string(&fp, INT_MIN), "-33454432+00");
}

// ---------------------------------------------------------------------------
// Film frames.
TEST(FilmFrames, PrintsSixDigitsLikeTheCLibrary) {
    Cvt c = fresh(film_frames_label_t);
    LabelPoint lp(0, c.get());
    EXPECT_STREQ(c->full_template.template_text.c_str(), "-999999");
    EXPECT_STREQ(c->count_template.template_text.c_str(), "-999999");
    EXPECT_STREQ(c->get_abs_string(&lp, 42), "000042");
    EXPECT_STREQ(c->get_abs_string(&lp, -5), "-000005");
    EXPECT_STREQ(c->get_abs_string(&lp, 1234567), "1234567");
    EXPECT_STREQ(c->get_abs_string(&lp, past_end_sample), ">>>>>>>");
    EXPECT_STREQ(c->get_abs_string(&lp, invalid_sample), "???????");
    EXPECT_STREQ(c->get_abs_string(&lp, before_start_sample), "<<<<<<<");
    char want[32];
    auto check = [&](int s) {
        std::snprintf(want, sizeof want, "%.6d", s);
        ASSERT_STREQ(c->get_abs_string(&lp, s), want);
        ASSERT_EQ(c->get_abs_sample(want), s);
    };
    for (long long s = INT_MIN; s <= INT_MAX; s += 65537 * 7 + 3) {
        int const si = static_cast<int>(s);
        if (si != invalid_sample && si != past_end_sample && si != before_start_sample) check(si);
    }
    for (int s : {INT_MIN, INT_MAX, -1, 0, 1, 999999, 1000000, -999999}) check(s);
}

TEST(FilmFrames, ParsesTheLeadingIntegerLikeScanf) {
    Cvt c = fresh(film_frames_label_t);
    for (char const* t : {"42", "  -17xyz", "+8", "000042", "99999999999", "-2147483648", "12 34", "\t5"}) {
        int want = 0;
        ASSERT_EQ(std::sscanf(t, "%d", &want), 1);
        EXPECT_EQ(c->get_abs_sample(t), want) << t;
    }
    for (char const* t : {"", "abc", "-", " + 5", "x12"}) EXPECT_EQ(c->get_abs_sample(t), invalid_sample) << t;
    EXPECT_EQ(c->get_abs_sample(nullptr), invalid_sample);
    EXPECT_EQ(c->normalise_sample_unit(-5), -5);
}

}  // namespace
