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

// The mapping between media, rates, scans and label types reads the media
// and rate rows of labelsbase/vocabulary.h.
//
// Edge cases: a rate no medium stands for (the silent, decimated and film_*
// rates) or a value outside 0..47 prints the assertion line and answers
// unknown_Medium (input and output details), output_24p_Medium (output
// medium of a rate) or source_24p_Medium (representative source medium);
// input details read the undecimated rate first. A medium outside 0..70
// has no rate (FrameRate_none), is not progressive and not double rate;
// its default label type is prefix_label_t, after the assertion line, as
// for every medium that is not video. Project media of a rate outside
// 0..47 are the 24 fps interlaced ones.
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
