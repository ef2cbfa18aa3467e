#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <set>
#include <string>

#include <labelsbase/labelsbase.h>

namespace {

VagueUIFLabel L(int v) { return static_cast<VagueUIFLabel>(v); }

struct Row {
    int value;
    char const* config;
    int text, type, medium, generation;
};

// The categories in the order the interface lists them.
Row const kRows[] = {
    {0, "Any_Label", 12833, 1, 1, 1},
    {1, "Any_Timecode", 12835, 3, 1, 1},
    {2, "Primary_Timecode", 12842, 3, 1, 2},
    {3, "Any_Audio_Timecode", 12834, 3, 4, 1},
    {4, "1st_Gen_Video_Timecode", 12843, 3, 3, 3},
    {5, "1st_Gen_Audio_Timecode", 12836, 3, 4, 3},
    {6, "KeyKode", 12841, 4, 2, 1},
    {7, "Camera_Timecode", 12837, 3, 2, 1},
    {8, "Ink_code", 12839, 6, 10, 1},
    {9, "24P_Timecode", 12832, 3, 15, 1},
    {31, "24f_Generation", 12831, 3, 15, 1},
    {10, "reelid", 12850, 2, 1, 2},
    {11, "reelid1", 12845, 2, 4, 3},
    {12, "24f_reel", 12844, 2, 15, 3},
    {13, "lab_reel", 12847, 2, 10, 1},
    {14, "comp_reel", 12849, 2, 11, 1},
    {15, "camreel", 12846, 2, 2, 1},
    {16, "name", 12852, 2, 0, 0},
    {17, "slate/take", 12855, 2, 0, 0},
    {32, "name", 13081, 2, 0, 0},
    {18, "scene", 10688, 2, 0, 0},
    {19, "shot", 10689, 2, 0, 0},
    {20, "who", 10707, 2, 0, 0},
    {21, "description", 10672, 2, 0, 0},
    {22, "notes", 10678, 2, 0, 0},
    {23, "Edit_Timecode", 11757, 3, 8, 1},
    {24, "Edit_24PTimecode", 11755, 3, 14, 1},
    {25, "Edit_TotalDur", 11768, 3, 8, 1},
    {26, "Edit_MarkDur", 11761, 3, 8, 1},
    {27, "Edit_ElapDur", 11756, 3, 8, 1},
    {28, "scene", 12854, 2, 0, 0},
    {29, "description", 12851, 2, 0, 0},
    {30, "notes", 12853, 2, 0, 0},
    {33, "cn", 13875, 2, 0, 0},
    {34, "cd", 13876, 2, 0, 0},
};
static_assert(sizeof(kRows) / sizeof(kRows[0]) == 35, "35 categories");

}  // namespace

TEST(UifLabelTable, EntriesInOrderThenTheEnd) {
    ASSERT_EQ(uifLabelDefCount, 36);
    for (int i = 0; i < 35; ++i) {
        Row const& r = kRows[i];
        VagueUIFLabelDef const& d = uifLabelDefs[i];
        SCOPED_TRACE(r.config);
        EXPECT_EQ(d.label, r.value);
        EXPECT_STREQ(d.config_str, r.config);
        EXPECT_EQ(d.text, r.text);
        EXPECT_EQ(d.type, r.type);
        EXPECT_EQ(d.medroll.medium, r.medium);
        EXPECT_EQ(d.medroll.generation, r.generation);
    }
    VagueUIFLabelDef const& end = uifLabelDefs[35];
    EXPECT_EQ(end.label, uifNoLabel);
    EXPECT_EQ(static_cast<int>(end.label), -1);
    EXPECT_STREQ(end.config_str, "");
    EXPECT_EQ(end.text, 12832);
    EXPECT_EQ(end.type, timecode_UserLabel);
    EXPECT_EQ(end.medroll.medium, 13);
    EXPECT_EQ(end.medroll.generation, 1);
}

TEST(UifLabelLookup, EveryCategoryByValue) {
    for (Row const& r : kRows) {
        SCOPED_TRACE(r.config);
        EXPECT_STREQ(uifLabel_to_config_str(L(r.value)), r.config);
        EXPECT_EQ(uifLabelText(L(r.value)), r.text);
        EXPECT_EQ(uifLabelType(L(r.value)), r.type);
        MediumRollIdent const& m = uifLabelMedroll(L(r.value));
        EXPECT_EQ(m.medium, r.medium);
        EXPECT_EQ(m.generation, r.generation);
    }
}

TEST(UifLabelLookup, ByConfigStringTakesTheFirstEntry) {
    std::set<std::string> seen;
    for (Row const& r : kRows) {
        bool const first = seen.insert(r.config).second;
        VagueUIFLabel const got = config_str_to_uifLabel(r.config);
        if (first) {
            EXPECT_EQ(got, r.value) << r.config;
        } else {
            EXPECT_NE(got, r.value) << r.config << " is reached by category only";
        }
    }
    EXPECT_EQ(config_str_to_uifLabel("name"), 16);
    EXPECT_EQ(config_str_to_uifLabel("scene"), 18);
    EXPECT_EQ(config_str_to_uifLabel("description"), 21);
    EXPECT_EQ(config_str_to_uifLabel("notes"), 22);
    EXPECT_EQ(config_str_to_uifLabel("slate/take"), 17);
    EXPECT_EQ(config_str_to_uifLabel("24f_Generation"), 31);
}

TEST(UifLabelLookup, NotFound) {
    for (char const* s : {"any_label", "", "Any_Label ", " Any_Label", "ANY_LABEL", "nam", "names",
                          "reelid2", "MediumRollId"})
        EXPECT_EQ(config_str_to_uifLabel(s), uifNoLabel) << '\'' << s << '\'';
    EXPECT_EQ(config_str_to_uifLabel(nullptr), uifNoLabel);

    for (int v : {-1, 35, 36, 100, -2, INT_MIN, INT_MAX}) {
        SCOPED_TRACE(v);
        char const* s = uifLabel_to_config_str(L(v));
        ASSERT_NE(s, nullptr);
        EXPECT_STREQ(s, "");
        EXPECT_EQ(uifLabelText(L(v)), 12840);
        EXPECT_EQ(uifLabelType(L(v)), none_UserLabel);
        EXPECT_EQ(&uifLabelMedroll(L(v)), &get_invalid_MediumRollIdent());
    }
    EXPECT_STREQ(uifLabel_to_config_str(L(32)), "name");
    EXPECT_EQ(uifLabelMedroll(uifPrimary_Timecode).medium, 1);
    EXPECT_EQ(uifLabelMedroll(uifPrimary_Timecode).generation, 2);
    EXPECT_EQ(uifLabelMedroll(uifKeyKode).medium, 2);
    EXPECT_EQ(uifLabelMedroll(uifKeyKode).generation, 1);
}

TEST(UifLabelLookup, SearchesStopAtTheEndEntry) {
    VagueUIFLabelDef const only_end[] = {
        {uifNoLabel, 12832, timecode_UserLabel, {source_24_Medium, any_Generation}, ""},
        {uifAny_Label, 1, any_UserLabel, {any_Medium, any_Generation}, "Any_Label"},
    };
    EXPECT_EQ(uifFindLabelDef(uifAny_Label, only_end), nullptr);
    EXPECT_EQ(uifFindConfigStr("Any_Label", only_end), nullptr);
    EXPECT_EQ(uifFindConfigStr("", only_end), nullptr);
    EXPECT_EQ(uifFindLabelDef(uifAny_Label, nullptr), nullptr);
    EXPECT_EQ(uifFindConfigStr("Any_Label", nullptr), nullptr);
    EXPECT_EQ(uifFindLabelDef(uifCd, uifLabelDefs), &uifLabelDefs[34]);
    EXPECT_EQ(uifFindConfigStr("name", uifLabelDefs), &uifLabelDefs[17]);
}

TEST(UifLabelDef, BothConstructorsStoreEveryField) {
    VagueUIFLabelDef const a(uifCamreel, 12846, text_UserLabel,
                             MediumRollIdent{film_Medium, any_Generation}, "camreel");
    VagueUIFLabelDef const b(uifCamreel, 12846, text_UserLabel, "camreel", film_Medium,
                             any_Generation);
    for (VagueUIFLabelDef const* d : {&a, &b}) {
        EXPECT_EQ(d->label, uifCamreel);
        EXPECT_EQ(d->text, 12846);
        EXPECT_EQ(d->type, text_UserLabel);
        EXPECT_EQ(d->medroll.medium, film_Medium);
        EXPECT_EQ(d->medroll.generation, any_Generation);
        EXPECT_STREQ(d->config_str, "camreel");
    }
}

TEST(UifLabelText, EveryResourceHasADisplayText) {
    std::string const not_found = uifResourceText(12840);
    EXPECT_EQ(not_found, "Unknown label");
    for (Row const& r : kRows) {
        char const* t = uifResourceText(r.text);
        ASSERT_NE(t, nullptr);
        EXPECT_GT(std::strlen(t), 0u);
        EXPECT_NE(t, not_found) << r.text;
    }
    EXPECT_STREQ(uifResourceText(uifLabelText(uifAny_Label)), "Any label");
    EXPECT_STREQ(uifResourceText(uifLabelText(uifPrimary_Timecode)), "Primary timecode");
    EXPECT_STREQ(uifResourceText(uifLabelText(uifKeyKode)), "KeyKode");
    for (int id : {0, -1, 12838, 12848, 99999, INT_MIN, INT_MAX})
        EXPECT_EQ(std::string(uifResourceText(id)), not_found) << id;
}
