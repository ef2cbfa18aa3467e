// The flat legacy interface. Stands apart from the rest of the library: it
// keeps no converter state and uses only the library's stateless private
// helpers (the drop-frame rule, wrapping arithmetic, digit readers and writers).
#include "labelsbase/legacy.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <iterator>

#include "detail/digits.h"
#include "detail/drop_frame.h"
#include "labelsbase/wrap.h"

namespace {

using lb::is_digit;
using lb::is_space;
using lb::wrap_add;
using lb::wrap_mul;
using lb::wrap_sub;

// A whole number computed in double precision, back to int: the low 32 bits
// of its integer part, as the 32-bit arithmetic around it would keep them.
// Only ceilings of int / small divisor reach here (well inside 2^62).
int trunc_to_int(double v) {
    if (!(v > -4.0e18 && v < 4.0e18)) return 0;  // NaN and beyond: never met
    return static_cast<int>(static_cast<std::uint32_t>(static_cast<std::int64_t>(v)));
}

// ceil(a / b) * b for a frame below 1, with a = 1 - frame, as the amount
// that lifts the frame into the first cycles: [1, 2^31 + b].
int lift_below_one(int frame, int cycle) {
    double const a = 1.0 - static_cast<double>(frame);
    return wrap_mul(trunc_to_int(std::ceil(a / cycle)), cycle);
}

// The negative-delta lift of the plus-frames functions: the product stays
// in double precision before it is truncated.
int lift_negative_delta(int d, int cycle) { return trunc_to_int(std::ceil(-static_cast<double>(d) / cycle) * cycle); }

// ---------------------------------------------------------------------
// Digits: the fields sscanf("%<w>d...") reads and snprintf("%.2d...") writes
// ---------------------------------------------------------------------

// Reads n fields of the given widths one after the other; a field that
// cannot be read ends the reading, it and the later fields stay 0 (sscanf
// with its targets zeroed beforehand).
void scan_fields(char const* text, int const* widths, int n, int* out) {
    for (int i = 0; i < n; ++i) out[i] = 0;
    for (int i = 0; i < n; ++i)
        if (!lb::scan_int(text, widths[i], out[i])) return;  // widths <= 6: [-99999, 999999]
}

// "%.2d%.2d%.2d%.2d" of four fields, each in [0, 99].
void put_hmsf(char* out, int h, int m, int s, int f) {
    char* p = lb::put_digits(out, static_cast<unsigned>(h), 2);
    p = lb::put_digits(p, static_cast<unsigned>(m), 2);
    p = lb::put_digits(p, static_cast<unsigned>(s), 2);
    p = lb::put_digits(p, static_cast<unsigned>(f), 2);
    *p = '\0';
}

// "%.6d%.2d" of a count in [0, 999999] and a frame in [0, 99].
void put_count_frame(char* out, int count, int frame) {
    char* p = lb::put_digits(out, static_cast<unsigned>(count), 6);
    p = lb::put_digits(p, static_cast<unsigned>(frame), 2);
    *p = '\0';
}

// ---------------------------------------------------------------------
// The legacy label types
// ---------------------------------------------------------------------

enum class Family : unsigned char { none, video_tc, film_tc, keykode };

// How the KeyKode functions count a type: not at all, one or four units per
// frame, or the 3-perf arithmetic of 64 frames per three counts.
enum class KeyUnits : unsigned char { none, per_frame, per_4_frames, three_perf };

struct LegacyType {
    Family family;        // label arithmetic dispatch
    unsigned char read;   // timecode_to_video_frames rate; 0 refuses
    unsigned char write;  // video_frames_to_timecode rate; 0 refuses
    KeyUnits key;         // KeyKode conversions
};

constexpr Family V = Family::video_tc;
constexpr Family F = Family::film_tc;
constexpr Family K = Family::keykode;
constexpr Family N = Family::none;
constexpr KeyUnits no = KeyUnits::none;

// One row per legacy type value 0..43; values beyond are refused.
constexpr LegacyType kTypes[] = {
    {N, 0, 0, no},                      // 0
    {V, 30, 30, no},                    // 1
    {V, 25, 25, no},                    // 2
    {V, 30, 30, no},                    // 3
    {F, 0, 24, no},                     // 4
    {V, 25, 25, no},                    // 5
    {F, 0, 24, no},                     // 6
    {V, 25, 25, no},                    // 7
    {K, 0, 0, KeyUnits::per_frame},     // 8
    {N, 0, 0, KeyUnits::per_4_frames},  // 9
    {N, 0, 0, no},                      // 10
    {K, 0, 0, KeyUnits::per_frame},     // 11
    {N, 0, 0, KeyUnits::per_4_frames},  // 12
    {N, 0, 0, no},                      // 13
    {N, 0, 0, no},                      // 14
    {N, 0, 0, no},                      // 15
    {N, 0, 0, no},                      // 16
    {N, 0, 0, no},                      // 17
    {N, 0, 0, no},                      // 18
    {N, 0, 0, no},                      // 19
    {N, 0, 0, no},                      // 20
    {V, 25, 25, no},                    // 21
    {V, 30, 30, no},                    // 22
    {N, 0, 0, no},                      // 23
    {N, 0, 0, no},                      // 24
    {V, 30, 30, no},                    // 25
    {K, 0, 0, KeyUnits::three_perf},    // 26
    {K, 0, 0, KeyUnits::per_frame},     // 27
    {N, 0, 0, no},                      // 28
    {N, 0, 0, no},                      // 29
    {N, 0, 0, no},                      // 30
    {N, 0, 0, no},                      // 31
    {N, 0, 0, no},                      // 32
    {N, 0, 0, no},                      // 33
    {F, 0, 24, no},                     // 34
    {N, 0, 0, no},                      // 35
    {V, 50, 50, no},                    // 36
    {V, 60, 60, no},                    // 37
    {F, 48, 48, no},                    // 38
    {V, 50, 50, no},                    // 39
    {V, 60, 60, no},                    // 40
    {F, 48, 48, no},                    // 41
    {V, 30, 30, no},                    // 42
    {F, 48, 48, no},                    // 43
};
static_assert(std::size(kTypes) == legacy_filmtc48_43 + 1, "one row per legacy type 0..43");

LegacyType const& type_row(label_type lt) {
    int const i = static_cast<int>(lt);
    return (i >= 0 && i <= legacy_filmtc48_43) ? kTypes[i] : kTypes[0];
}

int key_units(KeyUnits k) { return k == KeyUnits::per_4_frames ? 4 : 1; }

// Pulldown cycle of a transfer: film frames F and video frames V per cycle.
struct Cycle {
    int film;
    int video;
};
constexpr Cycle kPull23{4, 5};
constexpr Cycle kPogle{24, 25};
Cycle cycle_of(int t) { return t == transfer_pull23 ? kPull23 : kPogle; }

bool transfer_ok(transfer_type t) { return t >= 0 && t <= 3; }
bool frame_for_frame(transfer_type t) { return t == transfer_unspecified || t == transfer_frame_for_frame; }

// Frames per 24 hours at a rate; drop-frame 30 fps loses 2 frames in 54 of
// every 60 minutes.
constexpr int kDropFramesPerDay = 24 * static_cast<int>(lb::kDrop30.hour);  // 2589408
constexpr int kFilmTcDay = 24 * 86400;                                      // 2073600

// Period of KeyKode counts for the digit flags: bits 2 upward, while set,
// give the number of count digits; none means one count.
int count_modulus(unsigned char digit_flags) {
    int m = 1;
    for (int bit = 2; bit < 8 && (digit_flags >> bit) & 1u; ++bit) m *= 10;
    return m;  // 1, 10, ..., 10^6
}

// Frames spanned by a 3-perf count of phase p (1..3), and the next phase.
int span_3perf(int p) { return p == 3 ? 22 : 21; }
int next_3perf(int p) { return p == 3 ? 1 : p + 1; }
bool phase_3perf_ok(int p) { return p >= 1 && p <= 3; }

// The day wrap of the text writers: x = frame - 1, less one period for a
// frame beyond it, plus one period for a frame below 1.
int wrap_once(int frame, int period) {
    if (frame < 1) return wrap_sub(wrap_add(period, frame), 1);
    int x = frame - 1;
    if (frame > period) x -= period;
    return x;
}

}  // namespace

// ---------------------------------------------------------------------
// Film frames and video frames
// ---------------------------------------------------------------------

int film_frames_to_video_frames(int film, int* video_out, int phase, int video_phase, transfer_type t) {
    if (!transfer_ok(t) || !video_out) return 0;
    if (frame_for_frame(t)) {
        *video_out = film;
        return 1;
    }
    int const c = cycle_of(t).film;
    // Frames at or below 0 are lifted by whole cycles, computed there and
    // brought back by the video frames of those cycles.
    int k = 0;
    if (film < 1) {
        k = lift_below_one(film, c);
        film = wrap_add(film, k);
    }
    int const q = film / c;  // whole cycles
    int const r = film % c;  // [0, c-1] frames into the cycle (in range)
    int adj = 0;
    if (r != 0 && (r > wrap_add(phase, 1) || phase == c))
        adj = 1;  // past the doubled frame of this cycle
    else if (r == 0 && phase == c - 1)
        adj = -1;
    int video = wrap_add(wrap_add(film, q), adj);
    if (video_phase == c) video = wrap_sub(video, 1);
    video = wrap_sub(video, wrap_mul(k, c + 1) / c);
    *video_out = video;
    return phase >= c - 1 ? 2 : 1;
}

int video_frames_to_film_frames(int video, int* film_out, int phase, int* phase_out, transfer_type t) {
    if (!transfer_ok(t) || !film_out) return 0;
    if (frame_for_frame(t)) {
        *film_out = video;
        return 1;
    }
    if (!phase_out) return 0;
    Cycle const cy = cycle_of(t);
    int const vc = cy.video;
    int k = 0;
    if (video < 1) {
        k = lift_below_one(video, vc);
        video = wrap_add(video, k);
    }
    int p = wrap_sub(phase, wrap_sub(video, 1) % vc);
    if (p < 0) p = wrap_add(p, vc);
    int const q = video / vc;  // whole cycles
    int const r = video % vc;  // [0, vc-1] frames into the cycle (in range)
    int film = wrap_sub(wrap_sub(video, q), wrap_mul(vc - 1, k) / vc);
    if (r > wrap_add(phase, 2)) film = wrap_sub(film, 1);
    if (phase == cy.film - 1 && r == 0) film = wrap_add(film, 1);
    if (phase == cy.film && r > 1) film = wrap_sub(film, 1);
    *film_out = film;
    *phase_out = p;
    return 1;
}

// ---------------------------------------------------------------------
// Timecode texts
// ---------------------------------------------------------------------

namespace {
constexpr int kHmsfWidths[4] = {2, 2, 2, 2};
}

int timecode_to_video_frames(int* video_out, char* text, label_type lt, int drop) {
    int const rate = type_row(lt).read;
    if (rate == 0 || !video_out || !text) return 0;
    int v[4];
    scan_fields(text, kHmsfWidths, 4, v);
    int const h = v[0], m = v[1], s = v[2], f = v[3];  // each [-9, 99]: no overflow below
    int video;
    if (drop != 0 && rate == 30) {
        // A negative minutes field ("-5") loses no frames here.
        video = lb::drop_labels_to_frames(lb::kDrop30, h, m, s, f, lb::NegativeMinutes::kept) + 1;
    } else {
        video = ((h * 60 + m) * 60 + s) * rate + f + 1;
    }
    *video_out = video;
    return 1;
}

int video_frames_to_timecode(int video, char* text_out, label_type lt, int drop) {
    int const rate = type_row(lt).write;
    if (rate == 0 || !text_out) return 0;
    bool const df = drop != 0 && rate == 30;
    int const day = df ? kDropFramesPerDay : rate * 86400;
    int const x = wrap_once(video, day);
    if (x < 0) return 0;  // before the start of the previous day
    // Drop-frame: the label count, then the fields as at 30 fps.
    unsigned const n = df ? lb::drop_frames_to_labels(lb::kDrop30, static_cast<unsigned>(x)) : static_cast<unsigned>(x);
    unsigned const r = static_cast<unsigned>(rate);
    unsigned const secs = n / r;
    int const h = static_cast<int>(secs / 3600);
    int const m = static_cast<int>(secs / 60 % 60);
    int const s = static_cast<int>(secs % 60);
    int const f = static_cast<int>(n - secs * r);
    if (h > 99) return 0;  // a hour field of three or more digits
    put_hmsf(text_out, h, m, s, f);
    return 1;
}

int filmtc_to_film_frames(int* film_out, char* text) {
    if (!film_out || !text) return 0;
    int v[4];
    scan_fields(text, kHmsfWidths, 4, v);
    *film_out = ((v[0] * 60 + v[1]) * 60 + v[2]) * 24 + v[3] + 1;
    return 1;
}

int film_frames_to_filmtc(int film, char* text_out) {
    if (!text_out) return 0;
    int const x = wrap_once(film, kFilmTcDay);
    if (x < 0) return 0;
    int const h = x / 86400;
    if (h > 99) return 0;
    put_hmsf(text_out, h, (x / 1440) % 60, (x / 24) % 60, x % 24);
    return 1;
}

// ---------------------------------------------------------------------
// KeyKode texts
// ---------------------------------------------------------------------

int keycode_to_film_frames(int* film_out, char* text, int kk_phase, int* kk_phase_out, label_type lt,
                           int units_per_count) {
    KeyUnits const key = type_row(lt).key;
    if (key == KeyUnits::none || !film_out || !text) return 0;
    bool const three_perf = key == KeyUnits::three_perf;
    if (three_perf && (!phase_3perf_ok(kk_phase) || !kk_phase_out)) return 0;

    // Blanks typed into the count read as zeros. The length only needs to
    // be told apart as 7, 8 or other, so the walk stops after 9.
    int len = 0;
    for (; len < 9 && text[len] != '\0'; ++len)
        if (len < 8 && text[len] == ' ') text[len] = '0';
    int const widths[2] = {len == 7 ? 5 : len == 8 ? 6 : 4, 2};
    int v[2];
    scan_fields(text, widths, 2, v);
    int const count = v[0];  // [-99999, 999999]
    int const frame = v[1];  // [-9, 99]

    if (!three_perf) {
        int const units = wrap_add(wrap_mul(units_per_count, count), frame);
        *film_out = wrap_add(units / key_units(key), 1);
        return 1;
    }
    // 3-perf: three counts span 64 frames as 21, 21 and 22 by phase. Step
    // back from the count read to the first count of its group.
    int const r = count % 3;  // counts into the group
    int const q = count / 3;  // whole groups, |q| <= 333333
    int p = kk_phase - r;
    if (kk_phase <= r) p += 3;
    *kk_phase_out = p;
    int frames = q * 64;
    for (int i = 0; i < r; ++i) {
        frames += span_3perf(p);
        p = next_3perf(p);
    }
    *film_out = frames + frame + 1;
    return 1;
}

int film_frames_to_keycode(int film, char* text_out, int kk_phase, int* kk_phase_out, label_type lt,
                           int units_per_count, unsigned char digit_flags) {
    KeyUnits const key = type_row(lt).key;
    if (key == KeyUnits::none || !text_out) return 0;
    bool const three_perf = key == KeyUnits::three_perf;
    if (three_perf && (!phase_3perf_ok(kk_phase) || !kk_phase_out)) return 0;
    if (!three_perf && units_per_count == 0) return 0;  // the count divides by it

    // Period of the printed counts in film frames: positions before the
    // first frame wrap once from its end.
    int const counts = count_modulus(digit_flags);
    int period;
    if (three_perf) {
        period = (counts / 3) * 64;  // at most 21333312
        int p = kk_phase;
        for (int i = 0; i < counts % 3; ++i) {
            period += span_3perf(p);
            p = next_3perf(p);
        }
    } else {
        period = wrap_mul(counts, units_per_count) / key_units(key);
    }
    int x;
    if (film <= 0)
        x = wrap_sub(wrap_add(period, film), 1);
    else if (period < film)
        x = wrap_sub(wrap_sub(film, 1), period);
    else
        x = film - 1;

    int count, frame;
    int p = kk_phase;
    if (!three_perf) {
        int const y = wrap_mul(x, key_units(key));
        if (units_per_count == -1 && y == INT_MIN) return 0;  // no int quotient
        count = y / units_per_count;
        frame = y % units_per_count;
    } else {
        frame = x % 64;        // [-63, 63] frames into the group
        count = (x / 64) * 3;  // |x / 64| < 2^26: no overflow
        if (frame >= 0) {
            while (frame >= span_3perf(p)) {
                frame -= span_3perf(p);
                p = next_3perf(p);
                ++count;
            }
        }
    }
    if (count < 0 || count > 999999 || frame < 0 || frame > 99) return 0;
    if (three_perf) *kk_phase_out = p;
    put_count_frame(text_out, count, frame);
    return 1;
}

// ---------------------------------------------------------------------
// Composed conversions
// ---------------------------------------------------------------------

int timecode_to_film_frames(int* film_out, char* text, int phase, int* phase_out, label_type lt, int drop,
                            transfer_type t) {
    int video = 0;
    if (!timecode_to_video_frames(&video, text, lt, drop)) return 0;
    if (!video_frames_to_film_frames(video, film_out, phase, phase_out, t)) return 0;
    return 1;
}

int film_frames_to_timecode(int film, char* text_out, int phase, int video_phase, label_type lt, int drop,
                            transfer_type t) {
    int video = 0;
    int const rc = film_frames_to_video_frames(film, &video, phase, video_phase, t);
    if (!rc) return 0;
    if (!video_frames_to_timecode(video, text_out, lt, drop)) return 0;
    return rc;
}

int keycode_to_video_frames(int* video_out, char* text, int kk_phase, int* kk_phase_out, int phase, label_type lt,
                            transfer_type t, int units_per_count) {
    // The second step fails only on these; catch them before the text and
    // the KeyKode phase are written.
    if (!transfer_ok(t) || !video_out) return 0;
    int film = 0;
    if (!keycode_to_film_frames(&film, text, kk_phase, kk_phase_out, lt, units_per_count)) return 0;
    return film_frames_to_video_frames(film, video_out, phase, -1, t);
}

int video_frames_to_keycode(int video, char* text_out, int kk_phase, int* kk_phase_out, int phase, label_type lt,
                            transfer_type t, int units_per_count, unsigned char digit_flags) {
    int film = 0, discarded = 0;
    if (!video_frames_to_film_frames(video, &film, phase, &discarded, t)) return 0;
    return film_frames_to_keycode(film, text_out, kk_phase, kk_phase_out, lt, units_per_count, digit_flags);
}

int filmtc_to_video_frames(int* video_out, char* text, int phase, transfer_type t) {
    int film = 0;
    if (!filmtc_to_film_frames(&film, text)) return 0;
    return film_frames_to_video_frames(film, video_out, phase, -1, t);
}

int video_frames_to_filmtc(int video, char* text_out, int phase, transfer_type t) {
    int film = 0, discarded = 0;
    if (!video_frames_to_film_frames(video, &film, phase, &discarded, t)) return 0;
    if (!film_frames_to_filmtc(film, text_out)) return 0;
    return 1;
}

// ---------------------------------------------------------------------
// Adding frames while tracking the phase
// ---------------------------------------------------------------------

int film_frames_plus_frames(int film, int phase, int delta, int* film_out, int* phase_out, transfer_type t) {
    if (!transfer_ok(t) || !film_out) return 0;
    if (frame_for_frame(t)) {
        *film_out = wrap_add(film, delta);
        return 1;
    }
    if (!phase_out) return 0;
    int const c = cycle_of(t).film;
    int d = delta;
    if (d < 0) d = wrap_add(d, lift_negative_delta(d, c));
    int p = wrap_sub(wrap_add(d % c, phase), phase == c ? 1 : 0);
    if (p >= c) p -= c;
    *film_out = wrap_add(film, delta);
    *phase_out = p;
    return 1;
}

int video_frames_plus_frames(int video, int phase, int delta, int* video_out, int* phase_out, transfer_type t) {
    if (!video_out) return 0;
    if (t != transfer_pull23 && t != transfer_pogle) {
        *video_out = wrap_add(video, delta);
        return 1;
    }
    if (!phase_out) return 0;
    int const n = cycle_of(t).video;
    int d = delta;
    if (d < 0) d = wrap_add(d, lift_negative_delta(d, n));
    int p = wrap_add(d % n, phase);
    if (p > n - 1) p -= n;
    *video_out = wrap_add(video, delta);
    *phase_out = p;
    return 1;
}

int frames_plus_frames(int frames, int phase, int delta, int* frames_out, int* phase_out, transfer_type t,
                       edit_type e) {
    if (e == legacy_film_edit) return film_frames_plus_frames(frames, phase, delta, frames_out, phase_out, t);
    if (e == legacy_video_edit) return video_frames_plus_frames(frames, phase, delta, frames_out, phase_out, t);
    return 0;
}

// ---------------------------------------------------------------------
// Label arithmetic
// ---------------------------------------------------------------------

int label_to_frames(char* text, int kk_phase, int* kk_phase_out, int phase, int* phase_out, int* frames_out,
                    label_type lt, int drop, transfer_type t, edit_type e, int units_per_count) {
    if (!phase_out) return 0;
    *phase_out = -1;
    bool const video = e == legacy_video_edit;
    if (!video && e != legacy_film_edit) return 0;
    switch (type_row(lt).family) {
    case Family::video_tc:
        return video ? timecode_to_video_frames(frames_out, text, lt, drop)
                     : timecode_to_film_frames(frames_out, text, phase, phase_out, lt, drop, t);
    case Family::film_tc:
        return video ? filmtc_to_video_frames(frames_out, text, phase, t) : filmtc_to_film_frames(frames_out, text);
    case Family::keykode:
        return video ? keycode_to_video_frames(frames_out, text, kk_phase, kk_phase_out, phase, lt, t, units_per_count)
                     : keycode_to_film_frames(frames_out, text, kk_phase, kk_phase_out, lt, units_per_count);
    case Family::none: break;
    }
    return 0;
}

int frames_to_label(char* text_out, int kk_phase, int* kk_phase_out, int phase, int video_phase, int frames,
                    label_type lt, int drop, transfer_type t, edit_type e, int units_per_count,
                    unsigned char digit_flags) {
    bool const video = e == legacy_video_edit;
    if (!video && e != legacy_film_edit) return 0;
    switch (type_row(lt).family) {
    case Family::video_tc:
        return video ? video_frames_to_timecode(frames, text_out, lt, drop)
                     : film_frames_to_timecode(frames, text_out, phase, video_phase, lt, drop, t);
    case Family::film_tc:
        return video ? video_frames_to_filmtc(frames, text_out, phase, t) : film_frames_to_filmtc(frames, text_out);
    case Family::keykode:
        return video
                   ? video_frames_to_keycode(frames, text_out, kk_phase, kk_phase_out, phase, lt, t, units_per_count,
                                             digit_flags)
                   : film_frames_to_keycode(frames, text_out, kk_phase, kk_phase_out, lt, units_per_count, digit_flags);
    case Family::none: break;
    }
    return 0;
}

double get_frame_rate(material_type m, edit_type e) {
    if (e == legacy_film_edit) return 24.0;
    if (m == legacy_material_2997) return 30.0 / 1.001;
    if (m == legacy_material_30) return 30.0;
    return 25.0;
}

namespace {

// What the plus functions read from the label: the frames, the KeyKode
// phase of the count read and the video-side phase a video-to-film step
// wrote (-1 when none did). Both phases are handed on to the print.
struct ReadLabel {
    int kk_phase = 0;
    int video_phase = 0;
    int frames = 0;
};

bool read_label(ReadLabel& r, char* text, int kk_phase, int phase, label_type lt, int drop, int units_per_count,
                transfer_type t, edit_type e) {
    return label_to_frames(text, kk_phase, &r.kk_phase, phase, &r.video_phase, &r.frames, lt, drop, t, e,
                           units_per_count) != 0;
}

// Adds delta to what was read and prints it back in the same type.
int add_and_print(ReadLabel const& r, char* text_out, int* kk_phase_out, int* phase_out, int phase, int delta,
                  label_type lt, int drop, int units_per_count, unsigned char digit_flags, transfer_type t,
                  edit_type e) {
    int frames = 0;
    int np = phase;  // transfers without a cycle leave the phase as it was
    if (frames_plus_frames(r.frames, phase, delta, &frames, &np, t, e) < 1) return 0;
    *phase_out = np;
    return frames_to_label(text_out, r.kk_phase, kk_phase_out, np, r.video_phase, frames, lt, drop, t, e,
                           units_per_count, digit_flags);
}

bool plus_pointers_ok(char const* text_out, int const* kk_phase_out, int const* phase_out, char const* text,
                      label_type lt) {
    return text_out && phase_out && text && (kk_phase_out || type_row(lt).key != KeyUnits::three_perf);
}

}  // namespace

int label_plus_frames(char* text_out, int* kk_phase_out, int* phase_out, char* text, int kk_phase, int phase, int delta,
                      label_type lt, int drop, int units_per_count, unsigned char digit_flags, transfer_type t,
                      edit_type e) {
    if (!plus_pointers_ok(text_out, kk_phase_out, phase_out, text, lt)) return 0;
    ReadLabel r;
    if (!read_label(r, text, kk_phase, phase, lt, drop, units_per_count, t, e)) return 0;
    return add_and_print(r, text_out, kk_phase_out, phase_out, phase, delta, lt, drop, units_per_count, digit_flags, t,
                         e);
}

int label_plus_time(char* text_out, int* kk_phase_out, int* phase_out, char* text, int kk_phase, int phase,
                    double seconds, label_type lt, int drop, int units_per_count, material_type m, transfer_type t,
                    edit_type e, unsigned char digit_flags) {
    if (!plus_pointers_ok(text_out, kk_phase_out, phase_out, text, lt)) return 0;
    double const rate = get_frame_rate(m, e);
    ReadLabel r;
    if (!read_label(r, text, kk_phase, phase, lt, drop, units_per_count, t, e)) return 0;
    double const frames = std::floor(rate * seconds + 0.01);
    if (!(frames >= static_cast<double>(INT_MIN) && frames <= static_cast<double>(INT_MAX)))
        return 0;  // no number, or more frames than an int holds
    return add_and_print(r, text_out, kk_phase_out, phase_out, phase, static_cast<int>(frames), lt, drop,
                         units_per_count, digit_flags, t, e);
}
