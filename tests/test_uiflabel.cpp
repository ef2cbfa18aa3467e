// User-interface label categories: the table's shape, lookups both ways,
// and the end entry that stops every search.
#include <climits>
#include <set>

#include "test_support.h"

namespace {

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
        EXPECT_STREQ(uifLabel_to_config_str(d.label), d.config_str);
        EXPECT_EQ(uifLabelText(d.label), d.text);
        EXPECT_EQ(uifLabelType(d.label), d.type);
        EXPECT_EQ(&uifLabelMedroll(d.label), &d.medroll);
        VagueUIFLabelDef const* first = &d;
        for (int j = 0; j < i; ++j)
            if (std::strcmp(uifLabelDefs[j].config_str, d.config_str) == 0 && first == &d) first = &uifLabelDefs[j];
        EXPECT_EQ(config_str_to_uifLabel(d.config_str), first->label);
        EXPECT_NE(std::string(uifResourceText(d.text)), not_found);
    }
    EXPECT_EQ(*values.begin(), 0);
    EXPECT_EQ(*values.rbegin(), 34);
    // Spot rows: the categories out of value order and the end entry.
    EXPECT_EQ(uifLabelDefs[10].label, uif24f_Generation);
    EXPECT_EQ(uifLabelDefs[19].label, uifName2);
    EXPECT_EQ(uifLabelDefs[8].text, 12839);
    EXPECT_EQ(uifLabelDefs[8].type, ink_UserLabel);
    EXPECT_EQ(uifLabelDefs[8].medroll.medium, 10);
    VagueUIFLabelDef const& end = uifLabelDefs[35];
    EXPECT_EQ(end.label, uifNoLabel);
    EXPECT_STREQ(end.config_str, "");
    EXPECT_EQ(end.text, 12832);
    EXPECT_EQ(end.medroll.medium, 13);
}

TEST(UifLabels, WorkedLookups) {
    EXPECT_EQ(config_str_to_uifLabel("name"), 16);
    EXPECT_EQ(config_str_to_uifLabel("scene"), 18);
    EXPECT_EQ(config_str_to_uifLabel("description"), 21);
    EXPECT_EQ(config_str_to_uifLabel("notes"), 22);
    EXPECT_STREQ(uifLabel_to_config_str(uif(32)), "name");
    EXPECT_EQ(uifLabelMedroll(uifPrimary_Timecode).medium, 1);
    EXPECT_EQ(uifLabelMedroll(uifPrimary_Timecode).generation, 2);
    EXPECT_EQ(uifLabelMedroll(uifKeyKode).medium, 2);
    EXPECT_EQ(uifLabelMedroll(uifKeyKode).generation, 1);
    for (char const* s : {"any_label", "", " Any_Label", "nam", "MediumRollId"})
        EXPECT_EQ(config_str_to_uifLabel(s), uifNoLabel) << '\'' << s << '\'';
    EXPECT_EQ(config_str_to_uifLabel(nullptr), uifNoLabel);
    for (int v : {-1, 35, 36, INT_MIN, INT_MAX}) {
        EXPECT_STREQ(uifLabel_to_config_str(uif(v)), "") << v;
        EXPECT_EQ(uifLabelText(uif(v)), 12840) << v;
        EXPECT_EQ(uifLabelType(uif(v)), none_UserLabel) << v;
        EXPECT_EQ(&uifLabelMedroll(uif(v)), &get_invalid_MediumRollIdent()) << v;
    }
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
