// User-interface label categories: the fixed list of label kinds the host's
// interface offers to show or search (any timecode, KeyKode, camera
// timecode, reel names, scene and take, edit durations ...), each with its
// display text resource, the user label category it shows, the medium roll
// whose labels it means and the name it is saved under in the host's
// configuration.
#ifndef LABELSBASE_VAGUEUIFLABEL_H
#define LABELSBASE_VAGUEUIFLABEL_H

#include <cstdint>

#include "labelsbase/MediumRollIdent.h"
#include "labelsbase/labelcvt.h"

enum VagueUIFLabel : std::int32_t {
    uifNoLabel = -1,  // no category; ends the table
    uifAny_Label = 0,
    uifAny_Timecode = 1,
    uifPrimary_Timecode = 2,
    uifAny_Audio_Timecode = 3,
    uif1st_Gen_Video_Timecode = 4,
    uif1st_Gen_Audio_Timecode = 5,
    uifKeyKode = 6,
    uifCamera_Timecode = 7,
    uifInk_code = 8,
    uif24P_Timecode = 9,
    uifReelid = 10,
    uifReelid1 = 11,
    uif24f_reel = 12,
    uifLab_reel = 13,
    uifComp_reel = 14,
    uifCamreel = 15,
    uifName = 16,
    uifSlate_take = 17,
    uifScene = 18,
    uifShot = 19,
    uifWho = 20,
    uifDescription = 21,
    uifNotes = 22,
    uifEdit_Timecode = 23,
    uifEdit_24PTimecode = 24,
    uifEdit_TotalDur = 25,
    uifEdit_MarkDur = 26,
    uifEdit_ElapDur = 27,
    uifScene2 = 28,
    uifDescription2 = 29,
    uifNotes2 = 30,
    uif24f_Generation = 31,
    uifName2 = 32,
    uifCn = 33,
    uifCd = 34
};

// A text resource number of the host application.
typedef std::int32_t ResId;

struct VagueUIFLabelDef {
    VagueUIFLabel label;
    ResId text;
    UserLabelType type;
    MediumRollIdent medroll;  // {0, 0} for the text fields
    char const* config_str;

    constexpr VagueUIFLabelDef(VagueUIFLabel l, ResId t, UserLabelType u, MediumRollIdent m, char const* c)
        : label(l), text(t), type(u), medroll(m), config_str(c) {}
    // The same five fields with the medium roll given as its two parts; all
    // of them are stored, so either form builds the same entry.
    constexpr VagueUIFLabelDef(VagueUIFLabel l, ResId t, UserLabelType u, char const* c, MediumRollMedium m,
                               MediumRollGeneration g)
        : label(l), text(t), type(u), medroll{m, g}, config_str(c) {}
};

// The categories in the order lookups search them (first match wins: the
// later entries saved as "name", "scene", "description" and "notes" are
// reached by category only), then the uifNoLabel entry that ends the search.
constexpr int uifLabelDefCount = 36;
extern VagueUIFLabelDef const uifLabelDefs[uifLabelDefCount];

// The resource number shown when a category is not in the table.
constexpr ResId uifNotFoundText = 12840;

// The configuration name of a category; "" when it is not in the table.
char const* uifLabel_to_config_str(VagueUIFLabel l);
// The first category saved under `s` (exact, case-sensitive); uifNoLabel
// when none is, or when s is null.
VagueUIFLabel config_str_to_uifLabel(char const* s);
// The display text resource of a category; uifNotFoundText when absent.
ResId uifLabelText(VagueUIFLabel l);
// The user label category shown; none_UserLabel when absent.
UserLabelType uifLabelType(VagueUIFLabel l);
// The medium roll meant; the invalid identifier {0, 0} when absent.
MediumRollIdent const& uifLabelMedroll(VagueUIFLabel l);

// The same searches over any table ended by a uifNoLabel entry: the entry
// found, or null (a table that starts with its end entry finds nothing).
VagueUIFLabelDef const* uifFindLabelDef(VagueUIFLabel l, VagueUIFLabelDef const* table);
VagueUIFLabelDef const* uifFindConfigStr(char const* s, VagueUIFLabelDef const* table);

// The display text this library gives a resource number: "Any label",
// "Primary timecode", ...; the text of uifNotFoundText ("Unknown label") for
// numbers no category uses. The host's own resources take precedence in the
// host's interface; these serve the library's own tools.
char const* uifResourceText(ResId id);

#endif
