// Medium rolls (an identifier with the reel it lives on) and the mapping
// between media, frame rates, scan modes and label types.
#ifndef LABELSBASE_MEDIUMROLL_H
#define LABELSBASE_MEDIUMROLL_H

#include <host/host.h>

#include "labelsbase/MediumRollIdent.h"

class MediumRoll {
public:
    MediumRollIdent ident;
    LightweightString<char> reelid;  // absent by default

    MediumRoll(MediumRollMedium m, MediumRollGeneration g);
    explicit MediumRoll(MediumRollIdent const& id);
    // Reads a stored text ("REV:1:MediumRollId:28,2:reelid:A001"); null: nothing read.
    explicit MediumRoll(char const* text);
    // Looks up "MediumRoll<medium>,<generation>" in the block and reads the
    // value found (at most 63 characters) as a stored text; {0, 0} when the
    // key is absent or the block is null.
    MediumRoll(MediumRollIdent const& id, configb* config);
    // The copy holds its own reel text (an empty one when the other has none).
    MediumRoll(MediumRoll const& other);
    MediumRoll& operator=(MediumRoll const& other) = default;
    virtual ~MediumRoll();

    void fill_from_string(char const* text);
    void set_reelid(LightweightString<char> const& r);
    // Same reel and an identifier this roll accepts (MediumRollId_fits_this):
    // this roll is the accepting side. Reel names are compared by their
    // characters, not by shared buffer, so a roll equals its copy; a roll
    // with no reel name and one with an empty name name the same reel.
    bool operator==(MediumRoll const& other) const;
    bool operator!=(MediumRoll const& other) const { return !(*this == other); }
};

MediumRoll const& invalid_MediumRoll();

MediumRollMedium getMediumRollfromInputDetails(Kest::Image::ScanMode scan, Kest::FrameRate rate);
MediumRollMedium getMediumRollfromOutputDetails(Kest::Image::ScanMode scan, Kest::FrameRate rate);
MediumRollMedium getMediumRollfromOutputFormat(OutputFormat::Details const& d);
MediumRollMedium getMediumRollfromOutputFramerateDouble(double fps);
Kest::FrameRate getFrameRatefromMedium(MediumRollMedium m);
MediumRollMedium getOutputMediumfromFrameRate(Kest::FrameRate rate);
MediumRollMedium getRepresentativeSourceMediumfromFrameRate(Kest::FrameRate rate);
double getSampleDurationFromMedium(MediumRollMedium m);
bool mediumRollIsFrameProgressive(MediumRollMedium m);
bool mediumIsDoubleRateProgressive(MediumRollMedium m);
label_t getDefaultLabelTypeForMedium(MediumRollMedium m);
label_t getLabelTypeForMediumFrameRate(MediumRollMedium m);
MediumRollMedium getDefaultEditMediumForProject();
MediumRollMedium getDefaultEditMediumForProject(Kest::FrameRate rate);
MediumRollMedium getDefaultEditPlayoutMediumForProject();

#endif
