// What the library knows about each medium, in one constant table indexed by
// MediumRollMedium 0..70: its frame rate, side, scan, user string, default
// timecode label type and the family of media it accepts as its own.
// Read by the identifier unit (user strings, matching) and the medium-roll
// unit (rates, scans, label types). Internal: not part of the exported API.
#ifndef LABELSBASE_MEDIUMFACTS_H
#define LABELSBASE_MEDIUMFACTS_H

#include <cstdint>

#include <host/host.h>

#include "labelsbase/MediumRollIdent.h"
#include "labelsbase/labelcvt.h"

namespace lb {

enum class MediumSide : std::uint8_t { none, source, output };
enum class MediumScan : std::uint8_t { none, progressive, interlaced };

struct MediumFacts {
    char const* user_string;     // "med?" when the medium has no name of its own
    Kest::FrameRate rate;        // FrameRate_none for media that are not video
    MediumSide side;
    MediumScan scan;
    bool double_rate;            // 50 and 60 fps progressive, one frame per field
    label_t label_type;          // prefix_label_t: no default timecode type
    std::int8_t accepts[3];      // other media this one accepts (0: unused slot)
};

constexpr int medium_count = output_240p_1001_Medium + 1;

namespace media_table {
constexpr char const* kNone = "med?";
constexpr Kest::FrameRate kR0 = Kest::FrameRate_none;
constexpr MediumSide kNoSide = MediumSide::none, kSrc = MediumSide::source,
                     kOut = MediumSide::output;
constexpr MediumScan kNoScan = MediumScan::none, kP = MediumScan::progressive,
                     kI = MediumScan::interlaced;
constexpr label_t kNoType = prefix_label_t;

constexpr std::int8_t m8(int m) { return static_cast<std::int8_t>(m); }

constexpr MediumFacts special(char const* name) {
    return {name, kR0, kNoSide, kNoScan, false, kNoType, {0, 0, 0}};
}
constexpr MediumFacts family_only(char const* name, int a, int b, int c) {
    return {name, kR0, kNoSide, kNoScan, false, kNoType,
            {m8(a), m8(b), m8(c)}};
}
constexpr MediumFacts video(char const* name, int rate, MediumSide side, MediumScan scan,
                            label_t type, int a = 0, int b = 0, int c = 0) {
    return {name, static_cast<Kest::FrameRate>(rate), side, scan, false, type,
            {m8(a), m8(b), m8(c)}};
}
constexpr MediumFacts double_rate(char const* name, int rate, MediumSide side, label_t type) {
    return {name, static_cast<Kest::FrameRate>(rate), side, kP, true, type, {0, 0, 0}};
}
}  // namespace media_table

// Source and output media of one rate and scan family accept each other;
// 1001 rates stay apart from whole-number rates, except that the 23.976 fps
// output media also take 24 fps progressive output (28) as theirs.
// source_24_Medium and edit_24_Medium stand for both scans of 24 fps.
namespace media_table {
inline constexpr MediumFacts kMediumFacts[] = {
    // clang-format off
    special("med?"),                                     //  0 unknown
    special("med?"),                                     //  1 any
    special("film"),                                     //  2
    special("video"),                                    //  3
    special("audio"),                                    //  4
    special("med?"),                                     //  5 unused
    special("med?"),                                     //  6 unused
    special("med?"),                                     //  7 time
    special("med?"),                                     //  8 edit
    special("med?"),                                     //  9 unused
    special("ink"),                                      // 10
    special("Lab"),                                      // 11
    special("med?"),                                     // 12 cel
    family_only("24p", 15, 17, 0),                       // 13 source 24, either scan
    family_only("med?", 14, 28, 30),                     // 14 edit 24, either scan
    video("24p", 1, kSrc, kP, tc_24_label_t, 15, 17),   // 15
    video("24p", 2, kSrc, kP, tc_24_label_t, 16, 18),   // 16
    video("24i", 1, kSrc, kI, tc_24_label_t, 15, 17),   // 17
    video("24i", 2, kSrc, kI, tc_24_label_t, 16, 18),   // 18
    video("25p", 3, kSrc, kP, pal_label_t, 19, 20),     // 19
    video("25i", 3, kSrc, kI, pal_label_t, 19, 20),     // 20
    video("30p", 4, kSrc, kP, ntsc_label_t, 21, 23),    // 21
    video("30p", 5, kSrc, kP, ntsc_label_t, 22, 24),    // 22
    video("30i", 4, kSrc, kI, ntsc_label_t, 21, 23),    // 23
    video("30i", 5, kSrc, kI, ntsc_label_t, 22, 24),    // 24
    double_rate("50p", 8, kSrc, tc_50_label_t),                      // 25
    double_rate("60p", 9, kSrc, tc_60_label_t),                      // 26
    double_rate("60p", 10, kSrc, tc_60_label_t),                     // 27
    video("med?", 1, kOut, kP, tc_24_label_t, 14, 28, 30),  // 28
    video("med?", 2, kOut, kP, tc_24_label_t, 28, 29, 31),  // 29
    video("med?", 1, kOut, kI, tc_24_label_t, 14, 28, 30),  // 30
    video("med?", 2, kOut, kI, tc_24_label_t, 28, 29, 31),  // 31
    video("med?", 3, kOut, kP, pal_label_t, 32, 33),    // 32
    video("med?", 3, kOut, kI, pal_label_t, 32, 33),    // 33
    video("med?", 4, kOut, kP, ntsc_label_t, 34, 36),   // 34
    video("med?", 5, kOut, kP, ntsc_label_t, 35, 37),   // 35
    video("med?", 4, kOut, kI, ntsc_label_t, 34, 36),   // 36
    video("med?", 5, kOut, kI, ntsc_label_t, 35, 37),   // 37
    double_rate("med?", 8, kOut, tc_50_label_t),                     // 38
    double_rate("med?", 9, kOut, tc_60_label_t),                     // 39
    double_rate("med?", 10, kOut, tc_60_label_t),                    // 40
    video("med?", 6, kSrc, kP, tc_48_label_t),          // 41
    video("med?", 7, kSrc, kP, tc_48_label_t),          // 42
    video("med?", 6, kOut, kP, tc_48_label_t),          // 43
    video("med?", 7, kOut, kP, tc_48_label_t),          // 44
    video("12p", 35, kSrc, kP, tc_12_label_t),          // 45
    video("12p", 36, kSrc, kP, tc_12_label_t),          // 46
    video("12.5p", 37, kSrc, kP, tc_12_label_t),        // 47
    video("15p", 38, kSrc, kP, tc_15_label_t),          // 48
    video("15p", 39, kSrc, kP, tc_15_label_t),          // 49
    video("20p", 40, kSrc, kP, tc_20_label_t),          // 50
    video("80p", 41, kSrc, kP, tc_80_label_t),          // 51
    video("90p", 42, kSrc, kP, tc_90_label_t),          // 52
    video("100p", 43, kSrc, kP, tc_100_label_t),        // 53
    video("120p", 44, kSrc, kP, tc_120_label_t),        // 54
    video("120p", 45, kSrc, kP, tc_120_label_t),        // 55
    video("240p", 46, kSrc, kP, tc_240_label_t),        // 56
    video("240p", 47, kSrc, kP, tc_240_label_t),        // 57
    video("med?", 35, kOut, kP, tc_12_label_t),         // 58
    video("med?", 36, kOut, kP, tc_12_label_t),         // 59
    video("med?", 37, kOut, kP, tc_12_label_t),         // 60
    video("med?", 38, kOut, kP, tc_15_label_t),         // 61
    video("med?", 39, kOut, kP, tc_15_label_t),         // 62
    video("med?", 40, kOut, kP, tc_20_label_t),         // 63
    video("med?", 41, kOut, kP, tc_80_label_t),         // 64
    video("med?", 42, kOut, kP, tc_90_label_t),         // 65
    video("med?", 43, kOut, kP, tc_100_label_t),        // 66
    video("med?", 44, kOut, kP, tc_120_label_t),        // 67
    video("med?", 45, kOut, kP, tc_120_label_t),        // 68
    video("med?", 46, kOut, kP, tc_240_label_t),        // 69
    video("med?", 47, kOut, kP, tc_240_label_t),        // 70
    // clang-format on
};
}  // namespace media_table
using media_table::kMediumFacts;

static_assert(sizeof(kMediumFacts) / sizeof(kMediumFacts[0]) == medium_count,
              "one row per medium 0..70");

namespace media_table {
// Every video medium has a rate, a side and a scan; nothing else has any.
constexpr bool rows_consistent() {
    for (int m = 0; m < medium_count; ++m) {
        MediumFacts const& f = kMediumFacts[m];
        bool const is_video = m >= source_24p_Medium;
        if (is_video != (f.rate != kR0) || is_video != (f.side != kNoSide) ||
            is_video != (f.scan != kNoScan) || is_video != (f.label_type != kNoType))
            return false;
        if (f.double_rate && f.scan != kP) return false;
        // A family always contains the medium itself.
        if (f.accepts[0] != 0) {
            bool self = false;
            for (std::int8_t a : f.accepts) self = self || a == m;
            if (!self && m != source_24_Medium) return false;
        }
    }
    return true;
}
static_assert(rows_consistent(), "video media carry rate, side, scan and label type");
}  // namespace media_table

// The row of medium m, or null when m is outside 0..70.
inline MediumFacts const* medium_facts(int m) {
    return (m >= 0 && m < medium_count) ? &kMediumFacts[m] : nullptr;
}

}  // namespace lb

#endif
