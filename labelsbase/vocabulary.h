// The library's vocabulary: one constant row per medium and one per frame
// rate, and the named predicates every unit, the `labels` command and the
// bindings ask instead of testing numbers. Label types have their catalogue
// row in label_types.h (label_type_info).
//
// Where each fact lives:
//   - rate arithmetic (frames per second as a double and as an exact
//     rational, frame duration, 1000/1001, the edit-timeline gearing, the
//     undecimated rate) is the host's: Kest::rates::kRows in host/host.h.
//     The host needs it and must not depend on the library, so the library
//     reads it from there and re-exports it below (rate_fps, rate_is_1001,
//     rate_rational ...);
//   - everything the library knows of a rate beyond its arithmetic (names,
//     translation class, video family, project defaults, timecode standard)
//     is a column of kRates here;
//   - everything known of a medium is a column of kMedia here. The media a
//     rate belongs to are found from the media rows (rate_source_medium,
//     rate_output_medium), not written twice.
//
// Adding a frame rate: a row in Kest::rates::kRows and the enumerator in
// host/host.h, a row in kRates here, and media rows if material comes in or
// plays out at it. Adding a medium: the enumerator in MediumRollIdent.h and
// a row in kMedia. The static_asserts below refuse a table that misses a
// row or contradicts another.
//
// Edge cases: every lookup takes any int; a value outside the table reads a
// neutral row (medium_row: null, rate_row: the row of "no rate"), so bad
// input never indexes past a table.
#ifndef LABELSBASE_VOCABULARY_H
#define LABELSBASE_VOCABULARY_H

#include <cstdint>

#include <host/host.h>

#include "labelsbase/MediumRollIdent.h"
#include "labelsbase/label_types.h"

namespace lb {

// ---------------------------------------------------------------------------
// Media.

enum class MediumSide : std::uint8_t { none, source, output };
enum class MediumScan : std::uint8_t { none, progressive, interlaced };

// How position translation treats a medium once generic media are resolved.
enum class MediumClass : std::uint8_t {
    none,       // not translatable (unknown, any, video, edit, unused numbers, generic 24)
    film,       // film, ink, lab: seconds of 24 fps film
    ntsc_src,   // 30 and 60 fps source video
    pal_src,    // 25 and 50 fps source video
    other_src,  // every other source video rate
    output,     // output media
    cel,        // edit-timeline positions
    audio,
    time  // host clock
};

// The fixed cadence by which an output medium up to 60 fps pulls film up.
enum class Pullup : std::uint8_t { none, ntsc, pal };

// Picture family of a video standard: 24, 25 or 30 frames a second with
// their multiples and 1000/1001 variants.
enum class VideoFamily : std::uint8_t { none, f24, f25, f30 };

struct MediumRow {
    MediumRollMedium medium;
    char const* name;      // the enumerator without "_Medium"; null: number unused
    char const* shown_as;  // display name (MediumRollId_to_UserString); "med?" when none
    Kest::FrameRate rate;  // FrameRate_none for media that are not video
    MediumSide side;
    MediumScan scan;
    bool double_rate;             // 50 and 60 fps progressive: one frame per field
    label_t label_type;           // default timecode type; prefix_label_t: none
    MediumClass xlate;            // translation class
    Pullup pullup;                // output pull-up cadence
    VideoFamily family;           // picture family of the first source media (13..27); none elsewhere
    std::int8_t playout_group;    // output media of one output rate (either scan) share it; 0: none
    MediumRollMedium accepts[3];  // other media this one accepts as its own (unknown_Medium: unused)
};

constexpr int medium_count = output_240p_1001_Medium + 1;

namespace vocab_rows {
using K = Kest::FrameRate;
using M = MediumRollMedium;
constexpr MediumSide Src = MediumSide::source, Out = MediumSide::output;
constexpr MediumScan P = MediumScan::progressive, I = MediumScan::interlaced;
constexpr M M0 = unknown_Medium;

constexpr MediumRow special(M m, char const* name, char const* shown, MediumClass c = MediumClass::none,
                            VideoFamily f = VideoFamily::none, M a = M0, M b = M0, M d = M0) {
    return {m,
            name,
            shown,
            Kest::FrameRate_none,
            MediumSide::none,
            MediumScan::none,
            false,
            prefix_label_t,
            c,
            Pullup::none,
            f,
            0,
            {a, b, d}};
}
constexpr MediumRow source(M m, char const* name, char const* shown, K r, MediumScan scan, label_t type, MediumClass c,
                           VideoFamily f = VideoFamily::none, M a = M0, M b = M0) {
    return {m, name, shown, r, Src, scan, false, type, c, Pullup::none, f, 0, {a, b, M0}};
}
constexpr MediumRow output(M m, char const* name, K r, MediumScan scan, label_t type, Pullup pu = Pullup::none,
                           int group = 0, M a = M0, M b = M0, M d = M0) {
    return {m,
            name,
            "med?",
            r,
            Out,
            scan,
            false,
            type,
            MediumClass::output,
            pu,
            VideoFamily::none,
            static_cast<std::int8_t>(group),
            {a, b, d}};
}
constexpr MediumRow doubled(MediumRow r) {
    r.double_rate = true;
    return r;
}
}  // namespace vocab_rows

// One row per MediumRollMedium 0..70, in value order.
//
// Source and output media of one rate and scan family accept each other;
// 1000/1001 rates stay apart from whole-number rates, except that the
// 23.976 fps output media also take 24 fps progressive output as theirs.
// source_24_Medium and edit_24_Medium stand for both scans of 24 fps.
inline constexpr MediumRow kMedia[] = {
// clang-format off
#define LB_R(x) Kest::FrameRate_##x
    vocab_rows::special(unknown_Medium, "unknown", "med?"),
    vocab_rows::special(any_Medium, "any", "med?"),
    vocab_rows::special(film_Medium, "film", "film", MediumClass::film),
    vocab_rows::special(video_Medium, "video", "video"),
    vocab_rows::special(audio_Medium, "audio", "audio", MediumClass::audio),
    vocab_rows::special(MediumRollMedium(5), nullptr, "med?"),
    vocab_rows::special(MediumRollMedium(6), nullptr, "med?"),
    vocab_rows::special(time_Medium, "time", "med?", MediumClass::time),
    vocab_rows::special(edit_Medium, "edit", "med?"),
    vocab_rows::special(MediumRollMedium(9), nullptr, "med?"),
    vocab_rows::special(ink_Medium, "ink", "ink", MediumClass::film),
    vocab_rows::special(lab_Medium, "lab", "Lab", MediumClass::film),
    vocab_rows::special(cel_Medium, "cel", "med?", MediumClass::cel),
    vocab_rows::special(source_24_Medium, "source_24", "24p", MediumClass::none, VideoFamily::f24, source_24p_Medium, source_24i_Medium),
    vocab_rows::special(edit_24_Medium, "edit_24", "med?", MediumClass::none, VideoFamily::none, edit_24_Medium, output_24p_Medium, output_24i_Medium),
    vocab_rows::source(source_24p_Medium, "source_24p", "24p", LB_R(24), vocab_rows::P, tc_24_label_t, MediumClass::other_src, VideoFamily::f24, source_24p_Medium, source_24i_Medium),
    vocab_rows::source(source_24p_1001_Medium, "source_24p_1001", "24p", LB_R(23_976), vocab_rows::P, tc_24_label_t, MediumClass::other_src, VideoFamily::f24, source_24p_1001_Medium, source_24i_1001_Medium),
    vocab_rows::source(source_24i_Medium, "source_24i", "24i", LB_R(24), vocab_rows::I, tc_24_label_t, MediumClass::other_src, VideoFamily::f24, source_24p_Medium, source_24i_Medium),
    vocab_rows::source(source_24i_1001_Medium, "source_24i_1001", "24i", LB_R(23_976), vocab_rows::I, tc_24_label_t, MediumClass::other_src, VideoFamily::f24, source_24p_1001_Medium, source_24i_1001_Medium),
    vocab_rows::source(source_25p_Medium, "source_25p", "25p", LB_R(25), vocab_rows::P, pal_label_t, MediumClass::pal_src, VideoFamily::f25, source_25p_Medium, source_25i_Medium),
    vocab_rows::source(source_25i_Medium, "source_25i", "25i", LB_R(25), vocab_rows::I, pal_label_t, MediumClass::pal_src, VideoFamily::f25, source_25p_Medium, source_25i_Medium),
    vocab_rows::source(source_30p_Medium, "source_30p", "30p", LB_R(30), vocab_rows::P, ntsc_label_t, MediumClass::ntsc_src, VideoFamily::f30, source_30p_Medium, source_30i_Medium),
    vocab_rows::source(source_30p_1001_Medium, "source_30p_1001", "30p", LB_R(29_97), vocab_rows::P, ntsc_label_t, MediumClass::ntsc_src, VideoFamily::f30, source_30p_1001_Medium, source_30i_1001_Medium),
    vocab_rows::source(source_30i_Medium, "source_30i", "30i", LB_R(30), vocab_rows::I, ntsc_label_t, MediumClass::ntsc_src, VideoFamily::f30, source_30p_Medium, source_30i_Medium),
    vocab_rows::source(source_30i_1001_Medium, "source_30i_1001", "30i", LB_R(29_97), vocab_rows::I, ntsc_label_t, MediumClass::ntsc_src, VideoFamily::f30, source_30p_1001_Medium, source_30i_1001_Medium),
    vocab_rows::doubled(vocab_rows::source(source_50p_Medium, "source_50p", "50p", LB_R(50), vocab_rows::P, tc_50_label_t, MediumClass::pal_src, VideoFamily::f25)),
    vocab_rows::doubled(vocab_rows::source(source_60p_Medium, "source_60p", "60p", LB_R(60), vocab_rows::P, tc_60_label_t, MediumClass::ntsc_src, VideoFamily::f30)),
    vocab_rows::doubled(vocab_rows::source(source_60p_1001_Medium, "source_60p_1001", "60p", LB_R(59_94), vocab_rows::P, tc_60_label_t, MediumClass::ntsc_src, VideoFamily::f30)),
    vocab_rows::output(output_24p_Medium, "output_24p", LB_R(24), vocab_rows::P, tc_24_label_t, Pullup::none, 1, edit_24_Medium, output_24p_Medium, output_24i_Medium),
    vocab_rows::output(output_24p_1001_Medium, "output_24p_1001", LB_R(23_976), vocab_rows::P, tc_24_label_t, Pullup::none, 2, output_24p_Medium, output_24p_1001_Medium, output_24i_1001_Medium),
    vocab_rows::output(output_24i_Medium, "output_24i", LB_R(24), vocab_rows::I, tc_24_label_t, Pullup::none, 1, edit_24_Medium, output_24p_Medium, output_24i_Medium),
    vocab_rows::output(output_24i_1001_Medium, "output_24i_1001", LB_R(23_976), vocab_rows::I, tc_24_label_t, Pullup::none, 2, output_24p_Medium, output_24p_1001_Medium, output_24i_1001_Medium),
    vocab_rows::output(output_25p_Medium, "output_25p", LB_R(25), vocab_rows::P, pal_label_t, Pullup::pal, 3, output_25p_Medium, output_25i_Medium),
    vocab_rows::output(output_25i_Medium, "output_25i", LB_R(25), vocab_rows::I, pal_label_t, Pullup::pal, 3, output_25p_Medium, output_25i_Medium),
    vocab_rows::output(output_30p_Medium, "output_30p", LB_R(30), vocab_rows::P, ntsc_label_t, Pullup::ntsc, 4, output_30p_Medium, output_30i_Medium),
    vocab_rows::output(output_30p_1001_Medium, "output_30p_1001", LB_R(29_97), vocab_rows::P, ntsc_label_t, Pullup::ntsc, 5, output_30p_1001_Medium, output_30i_1001_Medium),
    vocab_rows::output(output_30i_Medium, "output_30i", LB_R(30), vocab_rows::I, ntsc_label_t, Pullup::ntsc, 4, output_30p_Medium, output_30i_Medium),
    vocab_rows::output(output_30i_1001_Medium, "output_30i_1001", LB_R(29_97), vocab_rows::I, ntsc_label_t, Pullup::ntsc, 5, output_30p_1001_Medium, output_30i_1001_Medium),
    vocab_rows::doubled(vocab_rows::output(output_50p_Medium, "output_50p", LB_R(50), vocab_rows::P, tc_50_label_t, Pullup::pal, 6)),
    vocab_rows::doubled(vocab_rows::output(output_60p_Medium, "output_60p", LB_R(60), vocab_rows::P, tc_60_label_t, Pullup::ntsc, 7)),
    vocab_rows::doubled(vocab_rows::output(output_60p_1001_Medium, "output_60p_1001", LB_R(59_94), vocab_rows::P, tc_60_label_t, Pullup::ntsc, 8)),
    vocab_rows::source(source_48p_Medium, "source_48p", "med?", LB_R(48), vocab_rows::P, tc_48_label_t, MediumClass::other_src),
    vocab_rows::source(source_48p_1001_Medium, "source_48p_1001", "med?", LB_R(47_952), vocab_rows::P, tc_48_label_t, MediumClass::other_src),
    vocab_rows::output(output_48p_Medium, "output_48p", LB_R(48), vocab_rows::P, tc_48_label_t),
    vocab_rows::output(output_48p_1001_Medium, "output_48p_1001", LB_R(47_952), vocab_rows::P, tc_48_label_t),
    vocab_rows::source(source_12p_Medium, "source_12p", "12p", LB_R(12), vocab_rows::P, tc_12_label_t, MediumClass::other_src),
    vocab_rows::source(source_12p_1001_Medium, "source_12p_1001", "12p", LB_R(11_988), vocab_rows::P, tc_12_label_t, MediumClass::other_src),
    vocab_rows::source(source_12_5p_Medium, "source_12_5p", "12.5p", LB_R(12_5), vocab_rows::P, tc_12_label_t, MediumClass::other_src),
    vocab_rows::source(source_15p_Medium, "source_15p", "15p", LB_R(15), vocab_rows::P, tc_15_label_t, MediumClass::other_src),
    vocab_rows::source(source_15p_1001_Medium, "source_15p_1001", "15p", LB_R(14_985), vocab_rows::P, tc_15_label_t, MediumClass::other_src),
    vocab_rows::source(source_20p_Medium, "source_20p", "20p", LB_R(20), vocab_rows::P, tc_20_label_t, MediumClass::other_src),
    vocab_rows::source(source_80p_Medium, "source_80p", "80p", LB_R(80), vocab_rows::P, tc_80_label_t, MediumClass::other_src),
    vocab_rows::source(source_90p_Medium, "source_90p", "90p", LB_R(90), vocab_rows::P, tc_90_label_t, MediumClass::other_src),
    vocab_rows::source(source_100p_Medium, "source_100p", "100p", LB_R(100), vocab_rows::P, tc_100_label_t, MediumClass::other_src),
    vocab_rows::source(source_120p_Medium, "source_120p", "120p", LB_R(120), vocab_rows::P, tc_120_label_t, MediumClass::other_src),
    vocab_rows::source(source_120p_1001_Medium, "source_120p_1001", "120p", LB_R(119_88), vocab_rows::P, tc_120_label_t, MediumClass::other_src),
    vocab_rows::source(source_240p_Medium, "source_240p", "240p", LB_R(240), vocab_rows::P, tc_240_label_t, MediumClass::other_src),
    vocab_rows::source(source_240p_1001_Medium, "source_240p_1001", "240p", LB_R(239_76), vocab_rows::P, tc_240_label_t, MediumClass::other_src),
    vocab_rows::output(output_12p_Medium, "output_12p", LB_R(12), vocab_rows::P, tc_12_label_t),
    vocab_rows::output(output_12p_1001_Medium, "output_12p_1001", LB_R(11_988), vocab_rows::P, tc_12_label_t),
    vocab_rows::output(output_12_5p_Medium, "output_12_5p", LB_R(12_5), vocab_rows::P, tc_12_label_t),
    vocab_rows::output(output_15p_Medium, "output_15p", LB_R(15), vocab_rows::P, tc_15_label_t),
    vocab_rows::output(output_15p_1001_Medium, "output_15p_1001", LB_R(14_985), vocab_rows::P, tc_15_label_t),
    vocab_rows::output(output_20p_Medium, "output_20p", LB_R(20), vocab_rows::P, tc_20_label_t),
    vocab_rows::output(output_80p_Medium, "output_80p", LB_R(80), vocab_rows::P, tc_80_label_t),
    vocab_rows::output(output_90p_Medium, "output_90p", LB_R(90), vocab_rows::P, tc_90_label_t),
    vocab_rows::output(output_100p_Medium, "output_100p", LB_R(100), vocab_rows::P, tc_100_label_t),
    vocab_rows::output(output_120p_Medium, "output_120p", LB_R(120), vocab_rows::P, tc_120_label_t),
    vocab_rows::output(output_120p_1001_Medium, "output_120p_1001", LB_R(119_88), vocab_rows::P, tc_120_label_t),
    vocab_rows::output(output_240p_Medium, "output_240p", LB_R(240), vocab_rows::P, tc_240_label_t),
    vocab_rows::output(output_240p_1001_Medium, "output_240p_1001", LB_R(239_76), vocab_rows::P, tc_240_label_t),
#undef LB_R
    // clang-format on
};
static_assert(sizeof(kMedia) / sizeof(kMedia[0]) == medium_count, "one row per medium 0..70");

// The row of medium m, or null when m is outside 0..70.
constexpr MediumRow const* medium_row(int m) { return (m >= 0 && m < medium_count) ? &kMedia[m] : nullptr; }

// Named questions over the media rows. Each is false (or none) for a
// number outside 0..70.
constexpr bool is_medium_used(int m) { return medium_row(m) && medium_row(m)->name; }
constexpr bool is_video_medium(int m) { return medium_row(m) && medium_row(m)->rate != Kest::FrameRate_none; }
constexpr bool is_source_medium(int m) { return medium_row(m) && medium_row(m)->side == MediumSide::source; }
constexpr bool is_output_medium(int m) { return medium_row(m) && medium_row(m)->side == MediumSide::output; }
constexpr Kest::FrameRate medium_rate(int m) { return medium_row(m) ? medium_row(m)->rate : Kest::FrameRate_none; }
constexpr MediumClass medium_class(int m) { return medium_row(m) ? medium_row(m)->xlate : MediumClass::none; }

// ---------------------------------------------------------------------------
// Frame rates.

// How position translation and the audio rules treat a project rate.
enum class RateClass : std::uint8_t {
    other,
    film,  // 24 and 48 fps film (and their 1000/1001 video), film edited frame for frame, film at 48
    pal,   // 25 and 50 fps video
    ntsc   // 30 and 60 fps video and their 1000/1001 variants
};

struct RateRow {
    Kest::FrameRate rate;
    char const* name;        // shown name ("23.976", "film_at_25"); null: the rate has none
    char const* aliases[3];  // other names read ("23.98", "24000/1001", "23_976"); null-padded
    RateClass xlate;
    VideoFamily tv_family;  // f25: 25/50 fps video and film at 25; f30: 30/60 fps video and film at 30; else none
    bool film_counted;      // the project counts film frames (the four film_* rates)
    bool double_rate;       // 50 and 60 fps video: one frame per field
    label_t tv_std_type;    // timecode type of a project standard; prefix_label_t: by drop-frame
    label_t default_type;   // getDefaultLabelTypeforFrameRate
    double tc_whole;        // getDefaultTimecodeFrameRate: whole rate ...
    bool tc_1001;           // ... and 1000/1001
    MediumRollMedium edit, playout;  // a project's default edit and playout media
};

namespace vocab_rows {
constexpr VideoFamily F0 = VideoFamily::none, F25 = VideoFamily::f25, F30 = VideoFamily::f30;
constexpr label_t kByDrop = prefix_label_t;

constexpr RateRow rate(K r, char const* name, char const* a, char const* b, char const* c, RateClass x, VideoFamily f,
                       label_t std_type, label_t type, double tc, bool tc1001, M edit = source_24i_Medium,
                       M playout = output_24i_Medium) {
    return {r, name, {a, b, c}, x, f, false, false, std_type, type, tc, tc1001, edit, playout};
}
// A rate with no name and no media: silent, animation and decimated rates.
constexpr RateRow unnamed(int r) {
    return rate(static_cast<K>(r), nullptr, nullptr, nullptr, nullptr, RateClass::other, F0, kByDrop, tc_24_label_t, 24,
                false);
}
// One of the four rates at which the project counts film frames.
constexpr RateRow film_counted(K r, char const* name, RateClass x, VideoFamily f) {
    RateRow row = rate(r, name, nullptr, nullptr, nullptr, x, f, kByDrop, tc_24_label_t, 24, false);
    row.film_counted = true;
    return row;
}
constexpr RateRow doubled(RateRow r) {
    r.double_rate = true;
    return r;
}
}  // namespace vocab_rows

// One row per Kest::FrameRate 0..47, in value order.
inline constexpr RateRow kRates[] = {
// clang-format off
#define LB_R(x) Kest::FrameRate_##x
    //               rate         name        aliases read                           class             family          standard        default type  tc rate   edit/playout media
    vocab_rows::rate(LB_R(none),  nullptr,    nullptr, nullptr, nullptr,             RateClass::other, vocab_rows::F0, vocab_rows::kByDrop, tc_24_label_t, 24, false),
    vocab_rows::rate(LB_R(24),    "24",       "24.0", nullptr, nullptr,              RateClass::film,  vocab_rows::F0, tc_24_label_t,  tc_24_label_t, 24, false),
    vocab_rows::rate(LB_R(23_976), "23.976",  "23.98", "24000/1001", "23_976",       RateClass::film,  vocab_rows::F0, tc_24_label_t,  tc_24_label_t, 24, true),
    vocab_rows::rate(LB_R(25),    "25",       "25.0", nullptr, nullptr,              RateClass::pal,   vocab_rows::F25, pal_label_t,    pal_label_t,   25, false, source_25i_Medium, output_25i_Medium),
    vocab_rows::rate(LB_R(30),    "30",       "30.0", nullptr, nullptr,              RateClass::ntsc,  vocab_rows::F30, vocab_rows::kByDrop, ntsc_label_t, 30, false, source_30i_Medium, output_30i_1001_Medium),
    vocab_rows::rate(LB_R(29_97), "29.97",    "30000/1001", "29_97", nullptr,        RateClass::ntsc,  vocab_rows::F30, vocab_rows::kByDrop, ntsc_label_t, 30, true, source_30i_Medium, output_30i_1001_Medium),
    vocab_rows::rate(LB_R(48),    "48",       "48.0", nullptr, nullptr,              RateClass::film,  vocab_rows::F0, tc_24_label_t,  tc_24_label_t, 24, false),
    vocab_rows::rate(LB_R(47_952), "47.952",  "47.95", "48000/1001", "47_952",       RateClass::film,  vocab_rows::F0, tc_24_label_t,  tc_24_label_t, 24, false),
    vocab_rows::doubled(vocab_rows::rate(LB_R(50), "50", "50.0", nullptr, nullptr,   RateClass::pal,   vocab_rows::F25, tc_50_label_t,  tc_50_label_t, 50, false, source_50p_Medium, output_25i_Medium)),
    vocab_rows::doubled(vocab_rows::rate(LB_R(60), "60", "60.0", nullptr, nullptr,   RateClass::ntsc,  vocab_rows::F30, tc_60_label_t,  tc_60_label_t, 60, false, source_60p_Medium, output_30i_1001_Medium)),
    vocab_rows::doubled(vocab_rows::rate(LB_R(59_94), "59.94", "60000/1001", "59_94", nullptr, RateClass::ntsc, vocab_rows::F30, tc_60_label_t, tc_60_label_t, 60, true, source_60p_Medium, output_30i_1001_Medium)),
    vocab_rows::unnamed(11), vocab_rows::unnamed(12), vocab_rows::unnamed(13), vocab_rows::unnamed(14),
    vocab_rows::unnamed(15), vocab_rows::unnamed(16), vocab_rows::unnamed(17), vocab_rows::unnamed(18),
    vocab_rows::unnamed(19), vocab_rows::unnamed(20),
    vocab_rows::unnamed(21), vocab_rows::unnamed(22), vocab_rows::unnamed(23), vocab_rows::unnamed(24),
    vocab_rows::unnamed(25), vocab_rows::unnamed(26), vocab_rows::unnamed(27), vocab_rows::unnamed(28),
    vocab_rows::unnamed(29), vocab_rows::unnamed(30),
    vocab_rows::film_counted(LB_R(film_24), "film_24", RateClass::film, vocab_rows::F0),
    vocab_rows::film_counted(LB_R(film_at_25), "film_at_25", RateClass::other, vocab_rows::F25),
    vocab_rows::film_counted(LB_R(film_at_30), "film_at_30", RateClass::other, vocab_rows::F30),
    vocab_rows::film_counted(LB_R(film_48), "film_48", RateClass::film, vocab_rows::F0),
    vocab_rows::rate(LB_R(12),    "12",       "12.0", nullptr, nullptr,              RateClass::other, vocab_rows::F0, tc_12_label_t,  tc_12_label_t, 12, false),
    vocab_rows::rate(LB_R(11_988), "11.988",  "12000/1001", "11_988", nullptr,       RateClass::other, vocab_rows::F0, tc_12_label_t,  tc_12_label_t, 12, true),
    vocab_rows::rate(LB_R(12_5),  "12.5",     "12_5", nullptr, nullptr,              RateClass::other, vocab_rows::F0, tc_12_label_t,  tc_12_label_t, 12.5, false),
    vocab_rows::rate(LB_R(15),    "15",       "15.0", nullptr, nullptr,              RateClass::other, vocab_rows::F0, tc_15_label_t,  tc_15_label_t, 15, false),
    vocab_rows::rate(LB_R(14_985), "14.985",  "15000/1001", "14_985", nullptr,       RateClass::other, vocab_rows::F0, tc_15_label_t,  tc_15_label_t, 15, true),
    vocab_rows::rate(LB_R(20),    "20",       "20.0", nullptr, nullptr,              RateClass::other, vocab_rows::F0, tc_20_label_t,  tc_20_label_t, 20, false),
    vocab_rows::rate(LB_R(80),    "80",       nullptr, nullptr, nullptr,             RateClass::other, vocab_rows::F0, tc_80_label_t,  tc_80_label_t, 80, false),
    vocab_rows::rate(LB_R(90),    "90",       nullptr, nullptr, nullptr,             RateClass::other, vocab_rows::F0, tc_90_label_t,  tc_90_label_t, 90, false),
    vocab_rows::rate(LB_R(100),   "100",      nullptr, nullptr, nullptr,             RateClass::other, vocab_rows::F0, tc_100_label_t, tc_100_label_t, 100, false),
    vocab_rows::rate(LB_R(120),   "120",      nullptr, nullptr, nullptr,             RateClass::other, vocab_rows::F0, tc_120_label_t, tc_120_label_t, 120, false),
    vocab_rows::rate(LB_R(119_88), "119.88",  "120000/1001", "119_88", nullptr,      RateClass::other, vocab_rows::F0, tc_120_label_t, tc_120_label_t, 120, true),
    vocab_rows::rate(LB_R(240),   "240",      nullptr, nullptr, nullptr,             RateClass::other, vocab_rows::F0, tc_240_label_t, tc_240_label_t, 240, false),
    vocab_rows::rate(LB_R(239_76), "239.76",  "240000/1001", "239_76", nullptr,      RateClass::other, vocab_rows::F0, tc_240_label_t, tc_240_label_t, 240, true),
#undef LB_R
    // clang-format on
};
static_assert(sizeof(kRates) / sizeof(kRates[0]) == Kest::FrameRate_last + 1, "one row per frame rate 0..47");

// The row of r; the row of "no rate" for any value outside 0..47.
constexpr RateRow const& rate_row(int r) { return (r >= 0 && r <= Kest::FrameRate_last) ? kRates[r] : kRates[0]; }

// The host's arithmetic of r (any value outside 0..47 reads 24 fps).
constexpr double rate_fps(Kest::FrameRate r) { return Kest::getFramesPerSecond(r); }
constexpr double rate_nominal_fps(Kest::FrameRate r) { return Kest::getNominalFramesPerSecond(r); }
constexpr bool rate_is_1001(Kest::FrameRate r) { return Kest::has1001Factor(r); }
struct Rational {
    std::int32_t num, den;
};
constexpr Rational rate_rational(Kest::FrameRate r) { return {Kest::rates::of(r).num, Kest::rates::of(r).den}; }

// Named questions over the rate rows; false for values outside 0..47.
constexpr bool is_film_rate(int r) { return rate_row(r).xlate == RateClass::film; }
constexpr bool is_pal_rate(int r) { return rate_row(r).xlate == RateClass::pal; }
constexpr bool is_ntsc_rate(int r) { return rate_row(r).xlate == RateClass::ntsc; }
// The project counts film frames: film_24, film_at_25, film_at_30, film_48.
constexpr bool is_film_counted_rate(int r) { return rate_row(r).film_counted; }
// Film run at a video rate: film_at_25 and film_at_30.
constexpr bool is_film_at_video_rate(int r) {
    return is_film_counted_rate(r) && rate_row(r).tv_family != VideoFamily::none;
}
// Film carried as video frames: 24, 23.976, 48 and 47.952 fps.
constexpr bool is_film_video_rate(int r) { return is_film_rate(r) && !is_film_counted_rate(r); }
// A film project at a whole rate (24 or 48 fps): NTSC video of no stated
// transfer is pulled down from it.
constexpr bool is_whole_film_video_rate(int r) {
    return is_film_video_rate(r) && !Kest::has1001Factor(static_cast<Kest::FrameRate>(r));
}
// A project of the 25 (30) fps video family: film at 24 fps has no picture
// on video of the other family.
constexpr bool is_pal_family_rate(int r) { return rate_row(r).tv_family == VideoFamily::f25; }
constexpr bool is_ntsc_family_rate(int r) { return rate_row(r).tv_family == VideoFamily::f30; }
// 50, 60 and 59.94 fps video: one frame per field.
constexpr bool is_double_rate(int r) { return rate_row(r).double_rate; }

// The medium of rate r on the given side and scan, found from the media
// rows: the interlaced medium when one exists and interlaced is asked for,
// else the progressive one; unknown_Medium when no medium has the rate.
constexpr MediumRollMedium rate_medium(int r, MediumSide side, bool interlaced) {
    MediumRollMedium found = unknown_Medium;
    for (MediumRow const& m : kMedia) {
        if (m.rate != r || r == Kest::FrameRate_none || m.side != side) continue;
        if (m.scan == (interlaced ? MediumScan::interlaced : MediumScan::progressive)) return m.medium;
        if (found == unknown_Medium && m.scan == MediumScan::progressive) found = m.medium;
    }
    return found;
}
constexpr MediumRollMedium rate_source_medium(int r, bool interlaced) {
    return rate_medium(r, MediumSide::source, interlaced);
}
constexpr MediumRollMedium rate_output_medium(int r, bool interlaced) {
    return rate_medium(r, MediumSide::output, interlaced);
}
// Material comes in and plays out at r.
constexpr bool rate_has_media(int r) { return rate_source_medium(r, false) != unknown_Medium; }

// ---------------------------------------------------------------------------
// Names.

// The name of a user label category ("timecode", "film_frames"); "none"
// outside the enumeration.
char const* user_label_type_name(UserLabelType u);
// The medium named by its enumerator with or without "_Medium", in any
// case ("source_30i_1001", "Output_25p_Medium"); -1 when none is.
int medium_from_name(char const* name);
// The rate named by its shown name or an alias ("23.976", "24000/1001",
// "film_at_25"), in any case; -1 when none is.
int rate_from_name(char const* name);

// ---------------------------------------------------------------------------
// Consistency of the tables.
namespace vocab_checks {
constexpr bool media_in_order() {
    for (int m = 0; m < medium_count; ++m)
        if (kMedia[m].medium != m) return false;
    return true;
}
constexpr bool rates_in_order() {
    for (int r = 0; r <= Kest::FrameRate_last; ++r)
        if (kRates[r].rate != r) return false;
    return true;
}
// Video media carry rate, side, scan and label type; nothing else has any.
// Source classes and families agree; pull-up only on 25 and 30 fps family
// output; a medium's family contains the medium itself.
constexpr bool media_consistent() {
    for (MediumRow const& f : kMedia) {
        bool const video = f.rate != Kest::FrameRate_none;
        if (video != (f.side != MediumSide::none) || video != (f.scan != MediumScan::none) ||
            video != (f.label_type != prefix_label_t))
            return false;
        if (f.double_rate && (f.scan != MediumScan::progressive || !rate_row(f.rate).double_rate)) return false;
        if ((f.side == MediumSide::output) != (f.xlate == MediumClass::output)) return false;
        if ((f.xlate == MediumClass::pal_src) != (f.side == MediumSide::source && f.family == VideoFamily::f25))
            return false;
        if ((f.xlate == MediumClass::ntsc_src) != (f.side == MediumSide::source && f.family == VideoFamily::f30))
            return false;
        Pullup const pu = f.side != MediumSide::output ? Pullup::none
                          : is_pal_rate(f.rate)        ? Pullup::pal
                          : is_ntsc_rate(f.rate)       ? Pullup::ntsc
                                                       : Pullup::none;
        if (f.pullup != pu) return false;
        if (f.accepts[0] != unknown_Medium) {
            bool self = false;
            for (MediumRollMedium a : f.accepts) self = self || a == f.medium;
            if (!self && f.medium != source_24_Medium) return false;
        }
    }
    return true;
}
// Output media share a playout group exactly when they share a rate.
constexpr bool playout_groups_consistent() {
    for (MediumRow const& a : kMedia)
        for (MediumRow const& b : kMedia)
            if (a.playout_group != 0 && b.playout_group != 0 &&
                (a.playout_group == b.playout_group) != (a.rate == b.rate))
                return false;
    return true;
}
// A rate's default edit and playout media are of the rate's family.
constexpr bool rates_consistent() {
    for (RateRow const& r : kRates) {
        if (r.film_counted && rate_has_media(r.rate)) return false;
        if (r.name == nullptr && (rate_has_media(r.rate) || r.xlate != RateClass::other)) return false;
        if (r.double_rate != (rate_source_medium(r.rate, false) != unknown_Medium &&
                              kMedia[rate_source_medium(r.rate, false)].double_rate))
            return false;
        if (kMedia[r.edit].side != MediumSide::source || kMedia[r.playout].side != MediumSide::output) return false;
        if ((r.xlate == RateClass::pal && r.tv_family != VideoFamily::f25) ||
            (r.xlate == RateClass::ntsc && r.tv_family != VideoFamily::f30))
            return false;
    }
    return true;
}
static_assert(media_in_order(), "media rows are indexed by MediumRollMedium");
static_assert(rates_in_order(), "rate rows are indexed by Kest::FrameRate");
static_assert(media_consistent(), "a media row contradicts itself or its rate");
static_assert(playout_groups_consistent(), "playout groups and output rates disagree");
static_assert(rates_consistent(), "a rate row contradicts the media rows");
}  // namespace vocab_checks

}  // namespace lb

#endif
