// User-interface label categories: the table's shape, lookups both ways,
// and the end entry that stops every search.
#include <climits>
#include <set>

#include "test_support.h"

namespace {

VagueUIFLabel uif(int v) { return static_cast<VagueUIFLabel>(v); }
bool Same(MediumRollIdent const& id, int m, int g) { return id.medium == m && id.generation == g; }

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
