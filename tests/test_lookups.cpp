// Label type lookups: edit-list names, film gauges, television standards,
// frame-rate defaults and the project's types; user-interface label
// categories: the table's shape, lookups both ways, and the end entry that
// stops every search.
#include <climits>
#include <set>

#include "test_support.h"

namespace {

// Every written name but "BAD" reads back to a type of the same category.
TEST(EdlNames, WrittenNamesReadBack) {
    for (int t = 5; t < label_type_count; ++t) {
        label_t const back = edlstr_to_label_type(label_type_to_edlstr(lt_(t)));
        if (back == 0 || label_type_info(lt_(t)).category == none_UserLabel) continue;
        EXPECT_EQ(label_type_info(back).category, label_type_info(lt_(t)).category) << t;
    }
}

TEST(EdlNames, WorkedCases) {
    // Names are cut at 11 characters.
    std::pair<char const*, label_t> const cases[] = {
        {"30f-drop", ntsc_drop_label_t},   {"nd", ntsc_drop_label_t}, {"p", pal_label_t},
        {"D50", tc_50_duration_label_t},   {" P", prefix_label_t},    {"", prefix_label_t},
        {"F35_4\n", keycode_35_label_4_t}, {"12f", prefix_label_t},   {"I35", ink_35_label_t},
        {"30F-NONDROPXYZ", ntsc_label_t},
    };
    for (auto const& [name, type] : cases) EXPECT_EQ(edlstr_to_label_type(name), type) << name;
    EXPECT_EQ(edlstr_to_label_type(nullptr), prefix_label_t);
    EXPECT_EQ(edlstr_to_label_type(std::string(5000, 'P').c_str()), prefix_label_t);
    EXPECT_STREQ(label_type_to_edlstr(lt_(17)), "I35");
    EXPECT_STREQ(label_type_to_edlstr(tc_240_label_t), "240f");
    for (int t : {30, 42, 4, 52, 0, -1}) EXPECT_STREQ(label_type_to_edlstr(lt_(t)), "BAD") << t;
}

TEST(FilmLookups, ByCategoryAndGauge) {
    struct {
        char const* name;
        UserLabelType category;
        label_t type;
    } const cases[] = {
        {"I35", ink_UserLabel, ink_35_label_t},         {"I35", feet_UserLabel, foot_35_label_t},
        {"I35", keycode_UserLabel, keycode_35_label_t}, {"I35", timecode_UserLabel, prefix_label_t},
        {"F353", ink_UserLabel, ink_35_label_t},        {"F353", feet_UserLabel, foot_353_label_t},
    };
    for (auto const& c : cases)
        EXPECT_EQ(edlstr_to_label_type(c.name, c.category), c.type) << c.name << " " << c.category;
    EXPECT_TRUE(edlstr_to_film_label_type("F16_5") == keycode_16_label_5_t && edlstr_to_film_label_type("I16") == 0);
    // Every type the gauge lookups return has the category asked for and the
    // perforations per frame of the type it came from.
    for (int t = -3; t < 60; ++t) {
        label_t const k = label_t_to_key_label_t(lt_(t)), i = label_t_to_ink_label_t(lt_(t)),
                      f = label_t_to_foot_label_t(lt_(t));
        EXPECT_FALSE((t < 10 || t > 41) && k) << t;
        EXPECT_FALSE((t < 10 || t > 29) && (i || f)) << t;
        EXPECT_TRUE(!k || label_type_info(k).category == keycode_UserLabel) << t;
        EXPECT_TRUE(!i || label_type_info(i).category == ink_UserLabel) << t;
        EXPECT_TRUE(!f || label_type_info(f).category == feet_UserLabel) << t;
        EXPECT_TRUE(!k || !f || label_type_info(k).samples_per_unit == label_type_info(f).samples_per_unit) << t;
    }
    EXPECT_TRUE(label_t_to_key_label_t(lt_(13)) == keycode_35_label_t && label_t_to_foot_label_t(lt_(13)) == 0 &&
                label_t_to_ink_label_t(lt_(12)) == ink_35_label_t &&
                label_t_to_key_label_t(lt_(41)) == keycode_6515_120_label_t);
}

TEST(TimecodeStandards, BothWays) {
    struct {
        int rate;
        bool drop;
        label_t type;
    } const cases[] = {
        {4, true, ntsc_drop_label_t}, {4, false, ntsc_label_t},  {3, true, pal_label_t},  // drop-frame ignored at 25
        {0, false, ntsc_label_t},     {37, true, tc_12_label_t}, {20, true, ntsc_drop_label_t},
    };
    for (auto const& c : cases) EXPECT_EQ(TvStd_to_label_type({fr(c.rate), c.drop}), c.type) << c.rate << c.drop;
    for (int t = -2; t < 60; ++t) {
        TCInf const s = label_type_to_TvStd(lt_(t));
        if (s.rate == 0) {
            EXPECT_FALSE(s.drop_frame);
            continue;
        }
        EXPECT_EQ(label_type_info(lt_(t)).category, timecode_UserLabel) << t;
        EXPECT_EQ(s.drop_frame, t == ntsc_drop_label_t) << t;
        EXPECT_TRUE(t == tc_48_label_t || TvStd_to_label_type(s) == t) << t;  // 48 fps projects use 24 fps timecode
    }
    EXPECT_EQ(label_type_to_TvStd(tc_50_duration_label_t).rate, 0);
}

TEST(FrameRateDefaults, TypeAndNominalRate) {
    for (int r = -3; r <= 50; ++r) {
        label_t const t = getDefaultLabelTypeforFrameRate(fr(r));
        double const fps = getDefaultTimecodeFrameRate(fr(r));
        bool const unknown = r > 47 || (r >= 11 && r <= 34);
        EXPECT_TRUE((r >= 3 && !unknown) || t == tc_24_label_t) << r;
        EXPECT_TRUE((r >= 2 && !unknown) || fps == 24.0) << r;
        // The nominal rate rounds to the default type's modulus, but for 12.5 fps.
        EXPECT_TRUE(r < 3 || unknown || r == 37 || static_cast<int>(fps + 0.5) == label_type_info(t).modulus) << r;
    }
    EXPECT_EQ(getDefaultLabelTypeforFrameRate(fr(5)), ntsc_label_t);
    EXPECT_TRUE(getDefaultTimecodeFrameRate(fr(5)) == 29.970029970029973 &&
                getDefaultTimecodeFrameRate(fr(7)) == 24.0 && getDefaultTimecodeFrameRate(fr(37)) == 12.5);
}

struct ProjectLookups : HostReset {};

TEST_F(ProjectLookups, FollowTheProject) {
    host::ProjectSettings p = host::default_project_settings();
    p.frame_rate = fr(5);
    p.use_drop_frame_timecode = true;
    host::set_project_settings(p);
    EXPECT_EQ(getDefaultLabelTypeForProject(), ntsc_drop_label_t);
    p.use_drop_frame_timecode = false;
    p.output_image_rate = fr(5);
    host::set_project_settings(p);
    EXPECT_EQ(getDefaultLabelTypeForProject(), ntsc_label_t);
    EXPECT_EQ(label_t_to_duration_label_t(ntsc_label_t), ntsc_drop_label_t);
    p.output_image_rate = fr(4);
    host::set_project_settings(p);
    std::pair<label_t, label_t> const durations[] = {{ntsc_label_t, ntsc_label_t},
                                                     {ntsc_drop_label_t, ntsc_label_t},
                                                     {tc_50_label_t, tc_50_duration_label_t},
                                                     {tc_24_label_t, tc_24_label_t}};
    for (auto const& d : durations) EXPECT_EQ(label_t_to_duration_label_t(d.first), d.second) << d.first;
    EXPECT_TRUE(get_vid_fps(pal_label_t) == 25.0 && get_vid_fps(ntsc_drop_label_t) == 30 / 1.001);
    for (int t : {0, 8, 31, -1}) EXPECT_EQ(get_vid_fps(lt_(t)), 1.0) << t;
}

VagueUIFLabel uif(int v) { return static_cast<VagueUIFLabel>(v); }

// Every category once, in its table position; lookups by value agree with
// the entry, and lookups by name find the first entry of that name.
TEST(UifLabels, TableAndLookupsAgree) {
    ASSERT_EQ(uifLabelDefCount, 36);
    std::set<int> values;
    std::string const not_found = uifResourceText(uifNotFoundText);
    for (int i = 0; i < 35; ++i) {
        VagueUIFLabelDef const& d = uifLabelDefs[i];
        SCOPED_TRACE(d.config_str);
        EXPECT_TRUE(values.insert(d.label).second);
        EXPECT_EQ(&uifLabelMedroll(d.label), &d.medroll);  // the search finds this very entry
        EXPECT_STREQ(uifLabel_to_config_str(d.label), d.config_str);
        VagueUIFLabelDef const* first = &d;
        for (int j = 0; j < i; ++j)
            if (std::strcmp(uifLabelDefs[j].config_str, d.config_str) == 0 && first == &d) first = &uifLabelDefs[j];
        EXPECT_EQ(config_str_to_uifLabel(d.config_str), first->label);
        EXPECT_NE(std::string(uifResourceText(d.text)), not_found);
    }
    EXPECT_TRUE(*values.begin() == 0 && *values.rbegin() == 34);
    VagueUIFLabelDef const& end = uifLabelDefs[35];  // the entry that stops every search
    EXPECT_TRUE(end.label == uifNoLabel && *end.config_str == '\0');
}

TEST(UifLabels, WorkedLookups) {
    struct {
        char const* text;
        int label;
    } const names[] = {
        {"name", 16},        {"any_label", uifNoLabel},    {"", uifNoLabel},      {" Any_Label", uifNoLabel},
        {"nam", uifNoLabel}, {"MediumRollId", uifNoLabel}, {nullptr, uifNoLabel},
    };
    for (auto const& n : names) EXPECT_EQ(config_str_to_uifLabel(n.text), n.label) << (n.text ? n.text : "null");
    EXPECT_STREQ(uifLabel_to_config_str(uif(32)), "name");
    EXPECT_TRUE(Same(uifLabelMedroll(uifPrimary_Timecode), 1, 2) && Same(uifLabelMedroll(uifKeyKode), 2, 1));
    for (int v : {-1, 35, 36, INT_MIN, INT_MAX})
        EXPECT_TRUE(*uifLabel_to_config_str(uif(v)) == '\0' && uifLabelText(uif(v)) == 12840 &&
                    uifLabelType(uif(v)) == none_UserLabel &&
                    &uifLabelMedroll(uif(v)) == &get_invalid_MediumRollIdent())
            << v;
    for (int id : {0, 12838, 99999, INT_MIN}) EXPECT_STREQ(uifResourceText(id), "Unknown label") << id;
}

TEST(UifLabels, SearchesStopAtTheEndEntry) {
    VagueUIFLabelDef const only_end[] = {
        {uifNoLabel, 12832, timecode_UserLabel, {source_24_Medium, any_Generation}, ""},
        {uifAny_Label, 1, any_UserLabel, {any_Medium, any_Generation}, "Any_Label"},
    };
    EXPECT_EQ(uifFindLabelDef(uifAny_Label, only_end), nullptr);
    EXPECT_EQ(uifFindConfigStr("Any_Label", only_end), nullptr);
    EXPECT_EQ(uifFindConfigStr("", only_end), nullptr);
    EXPECT_EQ(uifFindLabelDef(uifAny_Label, nullptr), nullptr);
    EXPECT_EQ(uifFindConfigStr("name", uifLabelDefs), &uifLabelDefs[17]);
}

}  // namespace
