// The converter registry, the factory, the fallback converter and the base
// converter's shared rules.
#include <climits>
#include <set>

#include "test_support.h"

namespace {

TEST(Registry, FallbackForBasesNamesAndOutOfRangeTypes) {
    label_cvt* fb = get_static_label_cvt(keycode_label_t);
    EXPECT_TRUE(fb == bad_label_cvt && fb->type() == dummy_label_t && std::string(fb->type_str()) == "dummy_label");
    for (int t : {0, 1, 2, 3, 4, 9, 13, 17}) EXPECT_EQ(get_static_label_cvt(lt_(t)), fb) << t;
    for (int t : {52, -1, INT_MIN}) {
        label_cvt* c = nullptr;
        EXPECT_EQ(printed([&] { c = get_static_label_cvt(lt_(t)); }), assertion("false", "labelcvt", 2677));
        EXPECT_EQ(c, fb);
    }
    std::string const long_name(1000, 'x');
    for (char const* name : {"dummy_label", "timecode_label", "keycode_label", "", "PAL_LABEL", long_name.c_str()})
        EXPECT_EQ(get_label_type(name), 0) << name;
}

TEST(Registry, EverySlotMatchesTheCatalogue) {
    std::set<label_cvt*> distinct;
    for (int t = 0; t < label_type_count; ++t) {
        LabelTypeInfo const& i = label_type_info(lt_(t));
        label_cvt* c = get_static_label_cvt(lt_(t));
        distinct.insert(c);
        EXPECT_EQ(c == bad_label_cvt, !i.has_converter) << t;
        if (!i.has_converter) continue;
        EXPECT_EQ(c->type(), t);
        EXPECT_STREQ(c->type_str(), i.class_name);
        EXPECT_EQ(c->UserType(), i.category) << t;
        EXPECT_EQ(c->get_modulus(), i.modulus) << t;
        EXPECT_EQ(c->samples_per_unit(), i.samples_per_unit) << t;
        EXPECT_EQ(get_label_type(i.class_name), t);
    }
    EXPECT_EQ(distinct.size(), 45u);  // 44 converters and the fallback
    EXPECT_EQ(label_cvt::howmany, 45);
}

TEST(Registry, FactoryMakesPrivateCountedConverters) {
    int const before = label_cvt::howmany;
    for (int t = -3; t < 60; ++t) {
        Cvt c = fresh(lt_(t));
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(label_cvt::howmany, before + 1);
        EXPECT_NE(c.get(), get_static_label_cvt(lt_(t < 0 || t > 51 ? 3 : t)));
        bool const own = t >= 0 && t < label_type_count && label_type_info(lt_(t)).has_converter;
        EXPECT_EQ(c->type(), own ? lt_(t) : dummy_label_t) << t;
        EXPECT_TRUE(!own ||
                    c->full_template.template_text == get_static_label_cvt(lt_(t))->full_template.template_text);
        c.reset();
        EXPECT_EQ(label_cvt::howmany, before);
    }
    for (label_t t : {prefix_label_t, keycode_label_t, foot_label_t, ink_label_t, pal_label_t})
        EXPECT_EQ(make_film_label_cvt(t), nullptr) << t;
}

TEST(UserCategories, MatchingRule) {
    EXPECT_TRUE(UserType_matches(any_UserLabel, none_UserLabel) && UserType_matches(keycode_UserLabel, any_UserLabel) &&
                UserType_matches(ink_UserLabel, ink_UserLabel));
    EXPECT_FALSE(UserType_matches(none_UserLabel, none_UserLabel) || UserType_matches(ink_UserLabel, feet_UserLabel));
}

TEST(FallbackConverter, AnswersEveryRequestWithItsFailureValue) {
    dummy_label d;
    LabelPoint lp(100, &d);
    for (int s : {0, -1, invalid_sample, past_end_sample, before_start_sample}) {
        EXPECT_TRUE(std::string(d.get_string(&lp, s)) == "???" && std::string(d.get_perfs_string(&lp, s)) == "??") << s;
        EXPECT_TRUE(d.get_smpte_string(&lp, s) == 0u && d.get_sample(&lp, s) == invalid_sample) << s;
    }
    EXPECT_TRUE(d.get_sample(&lp, "01:00:00:00") == invalid_sample &&
                d.get_abs_sample_from_packed_string("00000000") == invalid_sample);
}

struct PlainVariable : variable_label {
    explicit PlainVariable(int modulus) : variable_label(modulus, 1) {}
};

TEST(VariableLabel, RelativeFormsAddThePointsSample) {
    int const before = label_cvt::howmany;
    PlainVariable v(25);
    EXPECT_EQ(label_cvt::howmany, before + 1);
    LabelPoint lp(100, &v);
    EXPECT_EQ(v.get_sample(&lp, 10), 110);
    EXPECT_EQ(v.get_sample(&lp, "anything"), -100);       // parses to 0 here
    EXPECT_EQ(v.get_sample(&lp, INT_MAX), INT_MIN + 99);  // wraps
    EXPECT_TRUE(std::string(v.get_string(&lp, 3)).empty() && v.type() == variable_label_t);
}

TEST(SmpteWords, Unpacking) {
    struct {
        unsigned word;
        int modulus, want;
        bool drop;
    } const rows[] = {
        {0x01234567u, 25, 125652, true},
        {0x01234567u, 50, 251304, true},
        {0x01000013u, 25, 90013, false},
        {0x00010042u, 30, 1802, true},  // the word carries numbers, never the drop-frame count
        {0xFFFFFFFFu, 30, (45 * 3600 + 85 * 60 + 85) * 30 + 45, true},  // every field at its widest
    };
    for (auto const& r : rows) {
        unsigned w = r.word;
        bool drop = !r.drop;
        EXPECT_EQ(PlainVariable(r.modulus).get_samples_from_SMPTETc(w, drop), r.want) << std::hex << r.word;
        EXPECT_EQ(drop, r.drop);
    }
}

}  // namespace
