// The drop-frame rule, for every drop-frame rate: at a nominal rate N (a
// multiple of 30) the first 2 x N / 30 labels of every minute are skipped,
// except in minutes divisible by ten. Frames count real frames; labels
// count the numbers hh:mm:ss:ff would give at N frames a second with
// nothing skipped.
//
// Every timecode converter, the legacy functions and the rate-first
// timecode functions use these functions; nothing else knows the rule.
// Stateless and constexpr, so a caller with a fixed rate gets the
// divisions by constants.
#ifndef LABELSBASE_DROP_FRAME_H
#define LABELSBASE_DROP_FRAME_H

#include <cstdint>

#include "detail/internal.h"

namespace lb {

struct DropRule {
    unsigned nominal;  // labels per second, a multiple of 30
    unsigned skipped;  // labels skipped at the start of a dropped minute
    unsigned whole;    // frames in a minute that keeps all labels: 60 x N
    unsigned minute;   // frames in a dropped minute: 60 x N - skipped
    unsigned block;    // frames in ten minutes: 600 x N - 9 x skipped
    unsigned hour;     // frames in an hour: 6 x block
};

constexpr DropRule drop_rule(unsigned nominal) {
    unsigned const skipped = 2 * (nominal / 30);
    unsigned const block = 600 * nominal - 9 * skipped;
    return DropRule{nominal, skipped, 60 * nominal, 60 * nominal - skipped, block, 6 * block};
}

// 29.97 drop-frame: 2 labels skipped, 17982 frames each ten minutes, 107892 an hour.
constexpr DropRule kDrop30 = drop_rule(30);
static_assert(kDrop30.block == 17982 && kDrop30.hour == 107892 && kDrop30.minute == 1798, "29.97 drop-frame counts");
static_assert(drop_rule(60).hour == 215784 && drop_rule(60).block == 35964, "59.94 drop-frame counts");

// Frames v (from 0 at a ten-minute boundary) within ten minutes: the minute
// in the block and the labels into that minute.
struct DropSplit {
    unsigned block;   // ten-minute blocks in v
    unsigned minute;  // [0, 9] minute in the block
    unsigned label;   // [0, whole - 1] seconds x N + frames of the label
};
template <class U>
constexpr DropSplit drop_split(DropRule const& r, U v) {
    U const block = v / r.block;
    unsigned const rem = static_cast<unsigned>(v - block * r.block);  // [0, block - 1]
    // Minute 0 keeps every label; minute u >= 1 starts at whole + (u - 1) x
    // minute = skipped + u x minute frames into the block.
    unsigned const u = rem < r.whole ? 0 : (rem - r.skipped) / r.minute;  // [0, 9]
    unsigned const label = rem - u * r.minute;  // minute 0: rem; else rem - u x minute >= skipped
    return DropSplit{static_cast<unsigned>(block), u, label};
}

// The label count of frame v >= 0: v plus every label skipped before it.
template <class U>
constexpr U drop_frames_to_labels(DropRule const& r, U v) {
    U const block = v / r.block;
    unsigned const rem = static_cast<unsigned>(v - block * r.block);               // [0, block - 1]
    U const skipped_minutes = rem < r.skipped ? 0 : (rem - r.skipped) / r.minute;  // [0, 9]
    return v + U{9} * r.skipped * block + r.skipped * skipped_minutes;
}

// Which minutes of a ten-minute block lose their first labels when the
// minutes field is negative (a field read from an unchecked text): the
// converters treat every non-zero minute units digit as dropped, the legacy
// functions only positive ones. Fields in range give the same either way.
enum class NegativeMinutes { dropped, kept };

// The frame of hours:minutes:seconds:frames (fields unchecked; 32-bit
// wrapping). Labels skipped by the rule give the frames just before the
// minute: labels 0 and 1 of a dropped minute at 29.97 are the last two
// frames of the minute before. A negative seconds field counts as 0.
inline int drop_labels_to_frames(DropRule const& r, int hours, int minutes, int seconds, int frames,
                                 NegativeMinutes neg = NegativeMinutes::dropped) {
    int const n = static_cast<int>(r.nominal), k = static_cast<int>(r.skipped);
    int const tens = minutes / 10;
    int const units = minutes % 10;  // [-9, 9]
    bool const dropped = neg == NegativeMinutes::dropped ? units != 0 : units > 0;
    int m0 = wrap_add(wrap_mul(hours, static_cast<int>(r.hour)), wrap_mul(tens, static_cast<int>(r.block)));
    if (units > 0) m0 = wrap_add(m0, k + units * static_cast<int>(r.minute));
    int at = frames;
    if (seconds >= 1) at = wrap_add(at, wrap_mul(n, seconds));
    if (dropped && seconds >= 0) at = wrap_sub(at, k);
    return wrap_add(m0, at);
}

// The frame of a label that exists (minutes and seconds in range, not
// skipped): `minutes` counted from 00:00 (hours x 60 + minutes), `label`
// the labels into that minute (seconds x N + frames).
// `tens` is minutes / 10, for a reader that has it from the digits.
template <class U>
constexpr U drop_label_frame(DropRule const& r, U minutes, U tens, unsigned label) {
    return minutes * r.whole + label - U{r.skipped} * (minutes - tens);
}
template <class U>
constexpr U drop_label_frame(DropRule const& r, U minutes, unsigned label) {
    return drop_label_frame(r, minutes, minutes / 10, label);
}

// Whether a label (fields in range) is one the rule skips, from the units
// digit of its minutes.
constexpr bool drop_label_skipped_at(DropRule const& r, int minute_units, int seconds, int frames) {
    return minute_units != 0 && seconds == 0 && frames < static_cast<int>(r.skipped);
}
// Whether hours:minutes:seconds:frames (in range) is a label the rule skips.
constexpr bool drop_label_skipped(DropRule const& r, int minutes, int seconds, int frames) {
    return drop_label_skipped_at(r, minutes % 10, seconds, frames);
}

}  // namespace lb

#endif
