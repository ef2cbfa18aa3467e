#include <gtest/gtest.h>

#include <set>
#include <string>

#include <labelsbase/labelsbase.h>
#include <labelsbase/internal.h>

namespace {

label_t L(int v) { return static_cast<label_t>(v); }

TEST(Registry, BasesShareTheFallback) {
    label_cvt* fb = get_static_label_cvt(keycode_label_t);
    EXPECT_EQ(fb, bad_label_cvt);
    EXPECT_EQ(fb->type(), dummy_label_t);
    EXPECT_STREQ(fb->type_str(), "dummy_label");
    for (int t : {0, 1, 2, 3, 4, 9, 13, 17}) EXPECT_EQ(get_static_label_cvt(L(t)), fb) << t;
    EXPECT_TRUE(static_label_cvts_built);
    EXPECT_EQ(numLabelCvts, label_type_count);
}

TEST(Registry, OutOfRangePrintsTheAssertionAndGivesTheFallback) {
    for (int t : {52, -1, 1000, -2147483647 - 1}) {
        testing::internal::CaptureStdout();
        label_cvt* c = get_static_label_cvt(L(t));
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "assertion failed false at labelsbase/labelcvt line 2677\n");
        EXPECT_EQ(c, bad_label_cvt);
    }
}

TEST(Registry, EverySlotMatchesTheCatalogue) {
    std::set<label_cvt*> distinct;
    for (int t = 0; t < label_type_count; ++t) {
        LabelTypeInfo const& i = label_type_info(L(t));
        label_cvt* c = get_static_label_cvt(L(t));
        distinct.insert(c);
        if (!i.has_converter) {
            EXPECT_EQ(c, bad_label_cvt) << t;
            continue;
        }
        EXPECT_NE(c, bad_label_cvt) << t;
        EXPECT_EQ(c->type(), t);
        EXPECT_STREQ(c->type_str(), i.class_name);
        EXPECT_EQ(c->UserType(), i.category) << t;
        EXPECT_EQ(c->get_modulus(), i.modulus) << t;
        EXPECT_EQ(c->samples_per_unit(), i.samples_per_unit) << t;
        EXPECT_EQ(get_label_type(i.class_name), t);
    }
    // 44 converters and the fallback, which fills eight slots.
    EXPECT_EQ(distinct.size(), 45u);
    EXPECT_EQ(label_cvt::howmany, 45);
    EXPECT_EQ(get_label_type("tc_24_label"), tc_24_label_t);
    EXPECT_EQ(get_label_type("keycode_35_label_5"), keycode_35_label_5_t);
}

TEST(Registry, NamesOfBasesAndUnknownsGiveZero) {
    EXPECT_EQ(get_label_type("dummy_label"), 0);
    EXPECT_EQ(get_label_type("timecode_label"), 0);
    EXPECT_EQ(get_label_type("keycode_label"), 0);
    EXPECT_EQ(get_label_type(""), 0);
    EXPECT_EQ(get_label_type("PAL_LABEL"), 0);
    EXPECT_EQ(get_label_type(std::string(1000, 'x').c_str()), 0);
}

TEST(Registry, FactoryMakesPrivateConvertersCountedInHowmany) {
    int const before = label_cvt::howmany;
    for (int t = -3; t < 60; ++t) {
        label_cvt* c = make_any_label_cvt(L(t));
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(label_cvt::howmany, before + 1);
        EXPECT_NE(c, get_static_label_cvt(L(t < 0 || t > 51 ? 3 : t)));
        if (t < 0 || t >= label_type_count || !label_type_info(L(t)).has_converter) {
            EXPECT_EQ(c->type(), dummy_label_t) << t;
        } else {
            EXPECT_EQ(c->type(), t);
            EXPECT_STREQ(c->type_str(), get_static_label_cvt(L(t))->type_str());
        }
        delete c;
        EXPECT_EQ(label_cvt::howmany, before);
    }
}

TEST(UserCategories, MatchingRule) {
    EXPECT_TRUE(UserType_matches(any_UserLabel, none_UserLabel));
    EXPECT_TRUE(UserType_matches(none_UserLabel, any_UserLabel));
    EXPECT_FALSE(UserType_matches(none_UserLabel, none_UserLabel));
    EXPECT_TRUE(UserType_matches(ink_UserLabel, ink_UserLabel));
    for (int a = 0; a <= 7; ++a)
        for (int b = 0; b <= 7; ++b) {
            bool const want = a == 1 || b == 1 || (a != 0 && b != 0 && a == b);
            EXPECT_EQ(UserType_matches(static_cast<UserLabelType>(a), static_cast<UserLabelType>(b)), want);
        }
}

// The fallback converter and the neutral defaults of the interface.
TEST(FallbackConverter, AnswersEveryRequestWithItsFailureValue) {
    dummy_label d;
    LabelPoint lp(100, &d);
    for (int s : {0, 5, -1, invalid_sample, past_end_sample, before_start_sample}) {
        EXPECT_STREQ(d.get_string(&lp, s), "???");
        EXPECT_STREQ(d.get_abs_string(&lp, s), "???");
        EXPECT_STREQ(d.get_perfs_string(&lp, s), "??");
        EXPECT_STREQ(d.get_abs_perfs_string(&lp, s), "");
        EXPECT_EQ(d.get_smpte_string(&lp, s), 0u);
        EXPECT_EQ(d.get_abs_smpte_string(&lp, s), 0u);
        EXPECT_EQ(d.get_sample(&lp, s), invalid_sample);
        EXPECT_EQ(d.get_V2tc(s), 1e99);
    }
    EXPECT_EQ(d.get_sample(&lp, "01:00:00:00"), invalid_sample);
    EXPECT_EQ(d.get_abs_sample("x"), invalid_sample);
    EXPECT_EQ(d.get_abs_sample(1.0), invalid_sample);
    EXPECT_EQ(d.get_abs_sample_from_packed_string("00000000"), invalid_sample);
    EXPECT_EQ(d.get_sample_span_from_packed_strings("0", "1"), invalid_sample);
    EXPECT_STREQ(d.full_template.template_text.c_str(), "");
    EXPECT_STREQ(d.get_invalid_string(&lp, invalid_sample), "");
    EXPECT_EQ(d.get_modulus(), 1);
    EXPECT_EQ(d.samples_per_unit(), 1);
    EXPECT_EQ(d.perfs_per_keyKode(), 1);
    EXPECT_EQ(d.normalise_sample_unit(-77), -77);
    EXPECT_FALSE(d.isSpecialSlowTC());
    EXPECT_FALSE(d.has_prefix());
}

struct PlainVariable : variable_label {
    explicit PlainVariable(int modulus) : variable_label(modulus, 1) {}
};

TEST(VariableLabel, RelativeFormsAddThePointsSample) {
    PlainVariable v(25);
    LabelPoint lp(100, &v);
    EXPECT_EQ(v.get_sample(&lp, 10), 110);
    EXPECT_EQ(v.get_sample(&lp, "anything"), -100);  // parses to 0 here
    EXPECT_EQ(v.get_sample(&lp, 2147483647), lb::wrap_add(2147483647, 100));
    EXPECT_STREQ(v.get_string(&lp, 3), "");
    EXPECT_EQ(v.get_abs_sample("12"), 0);
    EXPECT_STREQ(v.type_str(), "variable_label");
    EXPECT_EQ(v.type(), variable_label_t);
}

TEST(SmpteWords, Unpacking) {
    struct Row {
        unsigned word;
        int modulus;
        int want;
        bool drop;
    };
    Row const rows[] = {
        {0x01234567u, 25, 125652, true},
        {0x01234567u, 50, 251304, true},
        {0x01000013u, 25, 90013, false},
        {0x00010042u, 30, 1802, true},  // the word carries numbers, never the drop-frame count
        {0x00000000u, 60, 0, false},
        {0xFFFFFFFFu, 30, ((45 * 3600 + 85 * 60 + 85) * 30 + 45), true},  // every digit 15, every tens digit at its widest
    };
    for (Row const& r : rows) {
        PlainVariable v(r.modulus);
        unsigned w = r.word;
        bool drop = !r.drop;
        EXPECT_EQ(v.get_samples_from_SMPTETc(w, drop), r.want) << std::hex << r.word;
        EXPECT_EQ(drop, r.drop);
        EXPECT_EQ(w, r.word);
    }
    bool untouched = true;
    unsigned w = 0x40;
    dummy_label d;
    EXPECT_EQ(d.get_samples_from_SMPTETc(w, untouched), 0);  // modulus 1: the plain count
}

TEST(Howmany, ConstructAndDeleteBalance) {
    int const before = label_cvt::howmany;
    { PlainVariable v(1); EXPECT_EQ(label_cvt::howmany, before + 1); }
    EXPECT_EQ(label_cvt::howmany, before);
}

}  // namespace
