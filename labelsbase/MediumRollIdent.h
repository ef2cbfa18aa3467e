// Medium-roll identifiers: the medium (film, video at a rate and scan,
// audio, ink numbers, time, cels ...) and the generation of material.
#ifndef LABELSBASE_MEDIUMROLLIDENT_H
#define LABELSBASE_MEDIUMROLLIDENT_H

#include <cstdint>

#include <host/host.h>

#include "labelsbase/label_types.h"

enum MediumRollGeneration : std::int32_t {
    unknown_Generation = 0,
    any_Generation = 1,  // wildcard on the accepting side of MediumRollId_fits_this
    first_Generation = 2,
    second_Generation = 3,
    third_Generation = 4,
    fourth_Generation = 5
};

enum MediumRollMedium : std::int32_t {
    unknown_Medium = 0,
    any_Medium = 1,  // wildcard on the accepting side of MediumRollId_fits_this
    film_Medium = 2,
    video_Medium = 3,  // stands for the transfer's video medium in a translation
    audio_Medium = 4,
    time_Medium = 7,  // host clock, seconds
    edit_Medium = 8,  // the project's output medium
    ink_Medium = 10,
    lab_Medium = 11,
    cel_Medium = 12,  // edit-timeline positions
    source_24_Medium = 13,
    edit_24_Medium = 14,
    source_24p_Medium = 15,
    source_24p_1001_Medium = 16,
    source_24i_Medium = 17,
    source_24i_1001_Medium = 18,
    source_25p_Medium = 19,
    source_25i_Medium = 20,
    source_30p_Medium = 21,
    source_30p_1001_Medium = 22,
    source_30i_Medium = 23,
    source_30i_1001_Medium = 24,
    source_50p_Medium = 25,
    source_60p_Medium = 26,
    source_60p_1001_Medium = 27,
    output_24p_Medium = 28,
    output_24p_1001_Medium = 29,
    output_24i_Medium = 30,
    output_24i_1001_Medium = 31,
    output_25p_Medium = 32,
    output_25i_Medium = 33,
    output_30p_Medium = 34,
    output_30p_1001_Medium = 35,
    output_30i_Medium = 36,
    output_30i_1001_Medium = 37,
    output_50p_Medium = 38,
    output_60p_Medium = 39,
    output_60p_1001_Medium = 40,
    source_48p_Medium = 41,
    source_48p_1001_Medium = 42,
    output_48p_Medium = 43,
    output_48p_1001_Medium = 44,
    source_12p_Medium = 45,
    source_12p_1001_Medium = 46,
    source_12_5p_Medium = 47,
    source_15p_Medium = 48,
    source_15p_1001_Medium = 49,
    source_20p_Medium = 50,
    source_80p_Medium = 51,
    source_90p_Medium = 52,
    source_100p_Medium = 53,
    source_120p_Medium = 54,
    source_120p_1001_Medium = 55,
    source_240p_Medium = 56,
    source_240p_1001_Medium = 57,
    output_12p_Medium = 58,
    output_12p_1001_Medium = 59,
    output_12_5p_Medium = 60,
    output_15p_Medium = 61,
    output_15p_1001_Medium = 62,
    output_20p_Medium = 63,
    output_80p_Medium = 64,
    output_90p_Medium = 65,
    output_100p_Medium = 66,
    output_120p_Medium = 67,
    output_120p_1001_Medium = 68,
    output_240p_Medium = 69,
    output_240p_1001_Medium = 70
};

struct MediumRollIdent {
    MediumRollMedium medium;
    MediumRollGeneration generation;

    // True when `other` is material this identifier accepts (not symmetric).
    bool MediumRollId_fits_this(MediumRollIdent const& other) const;
};

// "MediumRollId": the keyword before an identifier in stored texts.
char const* MediumRollId_name_str();
// Parses "<medium>,<generation>" ("%2d,%1d"); an unusable text leaves id {0, 0}.
// Edge cases: a medium outside 1..70 or a generation outside 1..5 is
// unusable; a missing, unreadable or 0 generation takes the medium's own
// (video 1st, audio 2nd, anything else any), and an ink-number label then
// names the ink medium whatever medium the text gave.
void MediumRollId_from_string(char const* text, MediumRollIdent& id, UserLabelType type);
// Parses the tokeniser's next token with none_UserLabel.
void MediumRollId_from_tokens(tokeniser& t, MediumRollIdent& id);
// Writes "%d,%d"; returns the number of characters written. The buffer must
// hold 24 characters.
int MediumRollId_to_string(char* out, MediumRollIdent const& id);
// Display string such as "video,1stGen", in a 32-byte buffer of the calling
// thread's own, valid until that thread's next call.
// Edge cases: a medium without a display name (or outside 0..70) shows as
// "med?", a generation outside 0..5 as "gen?".
char const* MediumRollId_to_UserString(MediumRollIdent const& id);
// The invalid identifier {0, 0}.
MediumRollIdent const& get_invalid_MediumRollIdent();

#endif
