// The reentrant core of film positions: the arithmetic underneath the
// KeyKode, ink and feet converters as pure functions. Everything they need
// comes in as arguments and everything they give goes out as the result: no
// state, no locks, no allocation, so any number of threads may call them at
// once. This is the API to use from threads when a converter's text forms
// are not needed; the film converters compute through these functions.
//
// The same holds for timecode: timecode_rate.h (frame count to fields and
// back, texts, SMPTE words at any rate) is pure. Also pure and safe from
// any thread: mPosn_Xlate and the functions of mposnxlate.h given the
// caller's own parameter blocks, the legacy functions of legacy.h, and the
// label-type lookups of labelcvt.h.
//
// Positions are signed 32-bit counts as everywhere in the library; the
// arithmetic wraps in 32 bits where the converters' does.
#ifndef LABELSBASE_POSITIONS_H
#define LABELSBASE_POSITIONS_H

#include <cstdint>

#include "labelsbase/labelcvt.h"
#include "labelsbase/wrap.h"

namespace positions {

// ---------------------------------------------------------------------------
// Film gauges. A KeyKode interval (or a foot) of `interval` perforations
// holds `frames` frames of `perfs_per_frame` perforations; 35 mm 3-perf
// (three_perf) puts 22 frames of 3 against 64 perforations, so its frame
// numbering runs two perforations ahead and a position also carries the
// perforation within its frame.
struct FilmGauge {
    int interval;
    int perfs_per_frame;
    int frames;
    bool three_perf;
};

constexpr FilmGauge gauge_35{64, 4, 16, false};
constexpr FilmGauge gauge_16{20, 1, 20, false};
constexpr FilmGauge gauge_353{64, 3, 22, true};
constexpr FilmGauge gauge_352{64, 2, 32, false};
constexpr FilmGauge gauge_358{64, 8, 8, false};
constexpr FilmGauge gauge_655_80{80, 5, 16, false};
constexpr FilmGauge gauge_658_80{80, 8, 10, false};
constexpr FilmGauge gauge_6510_80{80, 10, 8, false};
constexpr FilmGauge gauge_655_120{120, 5, 24, false};
constexpr FilmGauge gauge_658_120{120, 8, 15, false};
constexpr FilmGauge gauge_6510_120{120, 10, 12, false};
constexpr FilmGauge gauge_6515_120{120, 15, 8, false};
// Feet: 16 frames of 4 perforations (35 mm), 40 of 1 (16 mm) and 64
// perforations of 3-perf frames to the foot.
constexpr FilmGauge feet_35{64, 4, 16, false};
constexpr FilmGauge feet_16{40, 1, 40, false};
constexpr FilmGauge feet_353{64, 3, 22, true};

// The gauge of a KeyKode, ink or feet label type (ink: 35 mm counts 16
// frames of 4 perforations, 16 mm 20 frames of 1); false for any other type.
bool film_gauge(label_t t, FilmGauge& g);

// A film position split into its fields: a KeyKode count of intervals (ink
// count, or footage), the frame within it, and for 3-perf the perforation
// 0..2 (printed as 1..3).
struct FilmCounts {
    int count;
    int frame;
    int perf;
};

using lb::wrap_add;
using lb::wrap_mul;
using lb::wrap_sub;

// KeyKode. Perforations truncate toward zero, as the texts do (a negative
// position gives a negative count and frame; perf is 0 outside 3-perf).
inline FilmCounts perfs_to_keykode(FilmGauge const& g, int perfs) {
    if (g.three_perf) {
        int const t = wrap_add(perfs, 2);  // frame 0 starts two perforations early
        int const r = t % 64;              // [-63, 63]
        return FilmCounts{t / 64, r / 3, 2 - r % 3};
    }
    return FilmCounts{perfs / g.interval, (perfs % g.interval) / g.perfs_per_frame, 0};
}
// The perforation of a KeyKode position; the invalid sample for a frame
// outside the interval.
inline int keykode_to_perfs(FilmGauge const& g, FilmCounts const& k) {
    if (g.three_perf) {
        if (static_cast<unsigned>(k.frame) > 21u) return invalid_sample;
        return wrap_sub(wrap_add(wrap_mul(k.count, 64), k.frame * 3), k.perf);
    }
    if (static_cast<unsigned>(k.frame) >= static_cast<unsigned>(g.frames)) return invalid_sample;
    return wrap_add(wrap_mul(k.count, g.interval), k.frame * g.perfs_per_frame);
}

// Ink numbers: a count of `frames` frames and a frame (truncating toward zero).
inline FilmCounts perfs_to_ink(FilmGauge const& g, int perfs) {
    int const f = perfs / g.perfs_per_frame;
    return FilmCounts{f / g.frames, f % g.frames, 0};
}
inline int ink_to_perfs(FilmGauge const& g, FilmCounts const& k) {
    return wrap_mul(g.perfs_per_frame, wrap_add(wrap_mul(g.frames, k.count), k.frame));
}

// Feet of the magnitude of a position (the texts print the sign apart):
// footage, frame, and for 3-perf the perforation 0..2. Any int, INT_MIN
// included.
inline FilmCounts perfs_to_feet(FilmGauge const& g, int perfs) {
    std::uint32_t const a = perfs < 0 ? 0u - static_cast<std::uint32_t>(perfs) : static_cast<std::uint32_t>(perfs);
    if (g.three_perf) {
        std::uint32_t const t = a + 2u;  // [2, 2^31 + 2]
        std::uint32_t const r = t % 64;
        return FilmCounts{static_cast<int>(t / 64), static_cast<int>(r / 3), 2 - static_cast<int>(r % 3)};
    }
    std::uint32_t const f = a / static_cast<std::uint32_t>(g.perfs_per_frame);
    std::uint32_t const m = static_cast<std::uint32_t>(g.frames);
    return FilmCounts{static_cast<int>(f / m), static_cast<int>(f % m), 0};
}
// The (non-negative) perforation of a footage; negate for a negative text.
inline int feet_to_perfs(FilmGauge const& g, FilmCounts const& k) {
    if (g.three_perf) return wrap_sub(wrap_add(wrap_mul(k.count, 64), wrap_mul(k.frame, 3)), k.perf);
    return wrap_mul(wrap_add(wrap_mul(k.count, g.frames), k.frame), g.perfs_per_frame);
}

}  // namespace positions

#endif
