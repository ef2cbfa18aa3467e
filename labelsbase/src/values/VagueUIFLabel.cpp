#include "labelsbase/VagueUIFLabel.h"

#include <cstring>

namespace {

constexpr MediumRollIdent id(int m, int g) {
    return {static_cast<MediumRollMedium>(m), static_cast<MediumRollGeneration>(g)};
}
constexpr MediumRollIdent kText = id(0, 0);  // text fields name no medium
constexpr UserLabelType kAny = any_UserLabel, kTc = timecode_UserLabel, kKey = keycode_UserLabel, kInk = ink_UserLabel,
                        kStr = text_UserLabel;

}  // namespace

// Constant-initialised: usable from any unit's load-time initialisers.
constexpr VagueUIFLabelDef uifLabelDefs[uifLabelDefCount] = {
    {uifAny_Label, 12833, kAny, id(1, 1), "Any_Label"},
    {uifAny_Timecode, 12835, kTc, id(1, 1), "Any_Timecode"},
    {uifPrimary_Timecode, 12842, kTc, id(1, 2), "Primary_Timecode"},
    {uifAny_Audio_Timecode, 12834, kTc, id(4, 1), "Any_Audio_Timecode"},
    {uif1st_Gen_Video_Timecode, 12843, kTc, id(3, 3), "1st_Gen_Video_Timecode"},
    {uif1st_Gen_Audio_Timecode, 12836, kTc, id(4, 3), "1st_Gen_Audio_Timecode"},
    {uifKeyKode, 12841, kKey, id(2, 1), "KeyKode"},
    {uifCamera_Timecode, 12837, kTc, id(2, 1), "Camera_Timecode"},
    {uifInk_code, 12839, kInk, id(10, 1), "Ink_code"},
    {uif24P_Timecode, 12832, kTc, id(15, 1), "24P_Timecode"},
    {uif24f_Generation, 12831, kTc, id(15, 1), "24f_Generation"},
    {uifReelid, 12850, kStr, id(1, 2), "reelid"},
    {uifReelid1, 12845, kStr, id(4, 3), "reelid1"},
    {uif24f_reel, 12844, kStr, id(15, 3), "24f_reel"},
    {uifLab_reel, 12847, kStr, id(10, 1), "lab_reel"},
    {uifComp_reel, 12849, kStr, id(11, 1), "comp_reel"},
    {uifCamreel, 12846, kStr, id(2, 1), "camreel"},
    {uifName, 12852, kStr, kText, "name"},
    {uifSlate_take, 12855, kStr, kText, "slate/take"},
    {uifName2, 13081, kStr, kText, "name"},
    {uifScene, 10688, kStr, kText, "scene"},
    {uifShot, 10689, kStr, kText, "shot"},
    {uifWho, 10707, kStr, kText, "who"},
    {uifDescription, 10672, kStr, kText, "description"},
    {uifNotes, 10678, kStr, kText, "notes"},
    {uifEdit_Timecode, 11757, kTc, id(8, 1), "Edit_Timecode"},
    {uifEdit_24PTimecode, 11755, kTc, id(14, 1), "Edit_24PTimecode"},
    {uifEdit_TotalDur, 11768, kTc, id(8, 1), "Edit_TotalDur"},
    {uifEdit_MarkDur, 11761, kTc, id(8, 1), "Edit_MarkDur"},
    {uifEdit_ElapDur, 11756, kTc, id(8, 1), "Edit_ElapDur"},
    {uifScene2, 12854, kStr, kText, "scene"},
    {uifDescription2, 12851, kStr, kText, "description"},
    {uifNotes2, 12853, kStr, kText, "notes"},
    {uifCn, 13875, kStr, kText, "cn"},
    {uifCd, 13876, kStr, kText, "cd"},
    {uifNoLabel, 12832, kTc, id(13, 1), ""},
};

namespace {

constexpr bool table_is_well_formed() {
    for (int i = 0; i + 1 < uifLabelDefCount; ++i)
        if (uifLabelDefs[i].label == uifNoLabel) return false;
    return uifLabelDefs[uifLabelDefCount - 1].label == uifNoLabel;
}
static_assert(table_is_well_formed(), "one end entry, last");

struct ResourceText {
    ResId id;
    char const* text;
};
constexpr char const* kNotFound = "Unknown label";
constexpr ResourceText kResourceTexts[] = {
    {10672, "Description"},
    {10678, "Notes"},
    {10688, "Scene"},
    {10689, "Shot"},
    {10707, "Who"},
    {11755, "Edit 24P timecode"},
    {11756, "Elapsed duration"},
    {11757, "Edit timecode"},
    {11761, "Marked duration"},
    {11768, "Total duration"},
    {12831, "24f generation"},
    {12832, "24P timecode"},
    {12833, "Any label"},
    {12834, "Any audio timecode"},
    {12835, "Any timecode"},
    {12836, "1st gen audio timecode"},
    {12837, "Camera timecode"},
    {12839, "Ink code"},
    {uifNotFoundText, kNotFound},
    {12841, "KeyKode"},
    {12842, "Primary timecode"},
    {12843, "1st gen video timecode"},
    {12844, "24f reel"},
    {12845, "Audio reel"},
    {12846, "Camera reel"},
    {12847, "Lab reel"},
    {12849, "Composite reel"},
    {12850, "Reel"},
    {12851, "Description"},
    {12852, "Name"},
    {12853, "Notes"},
    {12854, "Scene"},
    {12855, "Slate/take"},
    {13081, "Name"},
    {13875, "Clip name"},
    {13876, "Clip description"},
};
static_assert(sizeof(kResourceTexts) / sizeof(kResourceTexts[0]) == 36,
              "one text per resource number in use, and the not-found text");

}  // namespace

VagueUIFLabelDef const* uifFindLabelDef(VagueUIFLabel l, VagueUIFLabelDef const* table) {
    if (!table) return nullptr;
    for (VagueUIFLabelDef const* d = table; d->label != uifNoLabel; ++d)
        if (d->label == l) return d;
    return nullptr;
}

VagueUIFLabelDef const* uifFindConfigStr(char const* s, VagueUIFLabelDef const* table) {
    if (!table || !s) return nullptr;
    for (VagueUIFLabelDef const* d = table; d->label != uifNoLabel; ++d)
        if (std::strcmp(d->config_str, s) == 0) return d;
    return nullptr;
}

char const* uifLabel_to_config_str(VagueUIFLabel l) {
    VagueUIFLabelDef const* d = uifFindLabelDef(l, uifLabelDefs);
    return d ? d->config_str : "";
}

VagueUIFLabel config_str_to_uifLabel(char const* s) {
    VagueUIFLabelDef const* d = uifFindConfigStr(s, uifLabelDefs);
    return d ? d->label : uifNoLabel;
}

ResId uifLabelText(VagueUIFLabel l) {
    VagueUIFLabelDef const* d = uifFindLabelDef(l, uifLabelDefs);
    return d ? d->text : uifNotFoundText;
}

UserLabelType uifLabelType(VagueUIFLabel l) {
    VagueUIFLabelDef const* d = uifFindLabelDef(l, uifLabelDefs);
    return d ? d->type : none_UserLabel;
}

MediumRollIdent const& uifLabelMedroll(VagueUIFLabel l) {
    VagueUIFLabelDef const* d = uifFindLabelDef(l, uifLabelDefs);
    return d ? d->medroll : get_invalid_MediumRollIdent();
}

char const* uifResourceText(ResId id) {
    for (ResourceText const& r : kResourceTexts)
        if (r.id == id) return r.text;
    return kNotFound;
}
