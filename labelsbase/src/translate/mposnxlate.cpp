// Position translation between film, source video, output, cel, audio and
// the host clock.
//
// The driver resolves generic media, answers the trivial cases, then hands
// the magnitude of the position to one function per source class (film
// group, source video, output, cel, audio, clock). Each returns the signed
// result. Cases that have no direct formula translate through an
// intermediate medium: two nested translations with the same block.
#include <array>
#include <cmath>
#include <climits>
#include <cstdint>
#include <initializer_list>

#include "detail/internal.h"
#include "detail/log_keys.h"
#include "labelsbase/MediumRoll.h"
#include "labelsbase/mposnxlate.h"
#include "labelsbase/vocabulary.h"

namespace {

constexpr double kNoPosition = 1e99;

// The rules of the pairs translated most (film to pulled-down video, clock
// and cel), inlined into the entry point.
#define LB_HOT [[gnu::always_inline]] inline

// A legitimate chain of intermediate media is at most three deep
// (e.g. audio -> cel -> source -> film); deeper means a cycle.
constexpr int kMaxViaDepth = 8;

// ---------------------------------------------------------------------------
// Classes of media and rates: columns of the vocabulary's rows.

using MClass = lb::MediumClass;
using lb::Pullup;
using RClass = lb::RateClass;

// What the rules ask of a medium, gathered from the media rows into one
// compact table the driver reads per call; a number outside 0..70 reads the
// row of unknown_Medium.
struct MediumInfo {
    MClass cls;
    Pullup pullup;
    bool double_rate;
    Kest::FrameRate rate;
};

constexpr std::array<MediumInfo, lb::medium_count> gather_media() {
    std::array<MediumInfo, lb::medium_count> t{};
    for (int m = 0; m < lb::medium_count; ++m) {
        lb::MediumRow const& row = lb::kMedia[m];
        t[m] = {row.xlate, row.pullup, row.double_rate, row.rate};
    }
    return t;
}
constexpr std::array<MediumInfo, lb::medium_count> kMedia = gather_media();

MediumInfo const& medium_info(MediumRollMedium m) {
    int const i = static_cast<int>(m);
    return (i >= 0 && i < lb::medium_count) ? kMedia[i] : kMedia[0];
}

// The translation class of every rate, gathered the same way; a value
// outside 0..47 is other.
constexpr std::array<RClass, Kest::FrameRate_last + 1> gather_rate_classes() {
    std::array<RClass, Kest::FrameRate_last + 1> t{};
    for (int r = 0; r <= Kest::FrameRate_last; ++r) t[r] = lb::kRates[r].xlate;
    return t;
}
constexpr std::array<RClass, Kest::FrameRate_last + 1> kRateClasses = gather_rate_classes();

RClass rate_class(Kest::FrameRate r) {
    unsigned const i = static_cast<unsigned>(r);
    return i <= static_cast<unsigned>(Kest::FrameRate_last) ? kRateClasses[i] : RClass::other;
}
bool is_film_rate(Kest::FrameRate r) { return rate_class(r) == RClass::film; }
bool is_pal_rate(Kest::FrameRate r) { return rate_class(r) == RClass::pal; }
bool is_ntsc_rate(Kest::FrameRate r) { return rate_class(r) == RClass::ntsc; }

// Project rates as bit sets gathered from a predicate over the rate rows
// (rates beyond 63 are in none), so a rule asks with one shift.
constexpr std::uint64_t rate_bits(bool (*pred)(int)) {
    std::uint64_t b = 0;
    for (int r = 0; r <= Kest::FrameRate_last && r < 64; ++r)
        if (pred(r)) b |= std::uint64_t{1} << r;
    return b;
}
LB_HOT bool in(std::uint64_t bits, Kest::FrameRate r) {
    return static_cast<unsigned>(r) < 64 && ((bits >> static_cast<unsigned>(r)) & 1) != 0;
}
static_assert(Kest::FrameRate_last < 64, "project rate sets fit 64 bits");

constexpr std::uint64_t kFilmCounted = rate_bits(lb::is_film_counted_rate);
constexpr std::uint64_t kFilmAtVideoRate = rate_bits(lb::is_film_at_video_rate);
constexpr std::uint64_t kFilmVideo = rate_bits(lb::is_film_video_rate);
constexpr std::uint64_t kWholeFilmVideo = rate_bits(lb::is_whole_film_video_rate);
constexpr std::uint64_t kDoubleRate = rate_bits(lb::is_double_rate);
// Film rates at a whole rate: 24 and 48 fps, counted or as video.
constexpr std::uint64_t kWholeFilm =
    rate_bits([](int r) { return lb::is_film_rate(r) && !Kest::has1001Factor(static_cast<Kest::FrameRate>(r)); });
// Film carried as 24 (23.976) or 48 (47.952) fps video frames.
constexpr std::uint64_t kFilmVideo24 = rate_bits([](int r) {
    return lb::is_film_video_rate(r) && Kest::getNominalFramesPerSecond(static_cast<Kest::FrameRate>(r)) == 24;
});
constexpr std::uint64_t kFilmVideo48 = rate_bits([](int r) {
    return lb::is_film_video_rate(r) && Kest::getNominalFramesPerSecond(static_cast<Kest::FrameRate>(r)) == 48;
});

// ---------------------------------------------------------------------------
// Host rate arithmetic, by the names the rules use.
constexpr double fps(Kest::FrameRate r) { return Kest::getFramesPerSecond(r); }
constexpr double dur(Kest::FrameRate r) { return Kest::getFrameDuration(r); }
constexpr double cel(Kest::FrameRate r) { return Kest::getCelResolution(r); }
constexpr double gear(Kest::FrameRate a, Kest::FrameRate b) { return Kest::getEditResolutionFrameGearing(a, b); }
Kest::FrameRate R(MediumRollMedium m) { return medium_info(m).rate; }
constexpr Kest::FrameRate r24 = Kest::FrameRate_24, r25 = Kest::FrameRate_25, r30 = Kest::FrameRate_30,
                          r2997 = Kest::FrameRate_29_97, r50 = Kest::FrameRate_50, r60 = Kest::FrameRate_60,
                          r5994 = Kest::FrameRate_59_94;

bool near(double v, double target) { return std::fabs(v - target) < 0.0001; }

// ---------------------------------------------------------------------------
// Pulldown lookups.

// A rounded, non-negative frame or field count taken to 32 bits: NaN counts
// as 0, anything at or beyond 2^31 as 2^31 - 1; then unsigned for the cycle
// division.
unsigned frame_count(double n) {
    if (!(n > 0.0)) return 0u;  // NaN, zero (and never-seen negatives)
    if (n >= 2147483647.0) return 2147483647u;
    return static_cast<unsigned>(n);
}

// The row of a phase: reduced into 0..phases-1.
int phase_row(std::int32_t phase, int phases) {
    if (static_cast<unsigned>(phase) < static_cast<unsigned>(phases)) return phase;
    int const m = phase % phases;
    return m < 0 ? m + phases : m;
}

struct Pull23 {
    static constexpr unsigned film = 4, video = 5;
    static int frame_start(int p, unsigned k) { return pull23_Frame_derivative_table[p][k]; }
    static int field_start(int p, unsigned k) { return pull23_derivative_table[2 * p][k]; }
    static int frame_shows(int p, unsigned j) { return pull23_Frame_origin_table[p][j]; }
    static int field_shows(int p, unsigned f) { return pull23_origin_table[2 * p][f]; }
};

struct Pogle {
    static constexpr unsigned film = 24, video = 25;
    static int frame_start(int p, unsigned k) { return pogle_Frame_derivative_table[p][k]; }
    static int field_start(int p, unsigned k) { return pogle_derivative_table[2 * p][k]; }
    static int frame_shows(int p, unsigned j) { return pogle_Frame_origin_table[p][j]; }
    static int field_shows(int p, unsigned f) { return pogle_origin_table[2 * p][f]; }
};

// Video frame at which film frame n begins.
template <class Cad>
LB_HOT std::int64_t film_to_frame(std::int32_t phase, unsigned u) {
    int const p = phase_row(phase, Cad::video);
    return Cad::frame_start(p, u % Cad::film) + std::int64_t{Cad::video} * (u / Cad::film);
}

// Field at which film frame n begins.
template <class Cad>
LB_HOT std::int64_t film_to_field(std::int32_t phase, unsigned u) {
    int const p = phase_row(phase, Cad::video);
    return Cad::field_start(p, u % Cad::film) + std::int64_t{2 * Cad::video} * (u / Cad::film);
}

// Film frame shown in video frame j.
template <class Cad>
std::int64_t frame_to_film(std::int32_t phase, double j) {
    unsigned const u = frame_count(j);
    int const p = phase_row(phase, Cad::video);
    return Cad::frame_shows(p, u % Cad::video) + std::int64_t{Cad::film} * (u / Cad::video);
}

// Film frame shown in field f.
template <class Cad>
std::int64_t field_to_film(std::int32_t phase, double f) {
    unsigned const u = frame_count(f);
    int const p = phase_row(phase, Cad::video);
    return Cad::field_shows(p, u % (2 * Cad::video)) + std::int64_t{Cad::film} * (u / (2 * Cad::video));
}

double d(std::int64_t v) { return static_cast<double>(v); }

// Output pull-up: a fixed cadence that starts with a three-field film frame.
// 30/60 fps output, 3-2-3-2: the film frame shown in each field of a cycle
// and the field each film frame begins at.
constexpr signed char kNtscPullupShows[10] = {0, 0, 0, 1, 1, 2, 2, 2, 3, 3};
constexpr signed char kNtscPullupStart[4] = {0, 3, 5, 8};

// 25/50 fps output: film frames 0 and 12 take three fields, the rest two.
// Film frame shown in field m (0..49) of the cycle.
int pal_pullup_shows(unsigned m) {
    unsigned const half = m / 2;  // [0, 24]
    bool const back = m != 0 && (m % 2 == 0 || m > 26);
    return static_cast<int>(half) - (back ? 1 : 0);  // [0, 23]
}
// Field (of 50) at which film frame k (0..23) begins.
int pal_pullup_start(unsigned k) { return static_cast<int>(2 * k + (k != 0 ? 1 : 0) + (k > 12 ? 1 : 0)); }

// ---------------------------------------------------------------------------
// One translation step.

double translate(double x, MediumRollMedium from, MediumRollMedium to, MPosn_Xlate_Params& P, bool align, int depth);

struct Step {
    double x;  // the position as given
    double a;  // its magnitude
    MediumRollMedium from, to;
    MediumInfo const& to_info;
    MPosn_Xlate_Params& P;
    bool align;
    int depth;
    Kest::FrameRate pr;

    // r with the sign of the input.
    double out(double r) const { return x < 0 ? -r : r; }
    // Through medium m: a to m, then that from m to the target.
    double via(MediumRollMedium m) const {
        double const mid = translate(a, from, m, P, false, depth + 1);
        return out(translate(mid, m, to, P, false, depth + 1));
    }
};

// ---------------------------------------------------------------------------
// From the film group.

double film_to_other_source(Step const& s) {
    double const n = mround(s.a / dur(r24));
    return s.out(gear(s.pr, R(s.to)) * n / fps(R(s.to)));
}

// Film placed on pulled-down source video by a sequence table: which
// table, how many of the medium's units a second, and whether an odd field
// moves to the next even one when aligning to frames.
enum class Table : unsigned char { none, pull23_frames, pull23_fields, pogle_frames, pogle_fields };

struct Cadence {
    Table table;
    bool ntsc;  // 2:3 family (else 24-to-25)
    bool aligns;
    double per_second;  // frames or fields
};

constexpr Cadence kNoCadence{Table::none, false, false, 1.0};
constexpr Cadence cadence_of(int m) {
    switch (m) {
    case source_30p_Medium: return {Table::pull23_frames, true, false, fps(r30)};
    case source_30p_1001_Medium: return {Table::pull23_frames, true, false, fps(r2997)};
    case source_30i_Medium: return {Table::pull23_fields, true, true, 2 * fps(r30)};
    case source_30i_1001_Medium: return {Table::pull23_fields, true, false, 2 * fps(r2997)};
    case source_25p_Medium: return {Table::pogle_frames, false, false, fps(r25)};
    case source_25i_Medium: return {Table::pogle_fields, false, true, 2 * fps(r25)};
    case source_50p_Medium: return {Table::pogle_fields, false, false, 2 * fps(r25)};
    default: return kNoCadence;
    }
}
constexpr Cadence kCadences[] = {
    cadence_of(source_30p_Medium),      cadence_of(source_30p_1001_Medium), cadence_of(source_30i_Medium),
    cadence_of(source_30i_1001_Medium), cadence_of(source_25p_Medium),      cadence_of(source_25i_Medium),
    cadence_of(source_50p_Medium),
};
// The cadence of a medium (none for media without a sequence table).
LB_HOT Cadence const& cadence(MediumRollMedium m) {
    switch (m) {
    case source_30p_Medium: return kCadences[0];
    case source_30p_1001_Medium: return kCadences[1];
    case source_30i_Medium: return kCadences[2];
    case source_30i_1001_Medium: return kCadences[3];
    case source_25p_Medium: return kCadences[4];
    case source_25i_Medium: return kCadences[5];
    case source_50p_Medium: return kCadences[6];
    default: return kNoCadence;
    }
}

// Project rates of the other family: film there has no picture on this
// family's video.
constexpr std::uint64_t kNoFilmOnNtsc = rate_bits(lb::is_pal_family_rate);
constexpr std::uint64_t kNoFilmOnPal = rate_bits(lb::is_ntsc_family_rate);
// Those, and film run at the video rate: no table.
constexpr std::uint64_t kNoNtscTable = kNoFilmOnNtsc | rate_bits([](int r) { return r == Kest::FrameRate_film_at_30; });
constexpr std::uint64_t kNoPalTable = kNoFilmOnPal | rate_bits([](int r) { return r == Kest::FrameRate_film_at_25; });
// Film rates at which NTSC video of no stated transfer is pulled down.
constexpr std::uint64_t kPulledDownByDefault = rate_bits(lb::is_whole_film_video_rate);

// Whether film at project rate pr with transfer t reaches c's table.
LB_HOT bool table_applies(Cadence const& c, Kest::FrameRate pr, transfer_type t) {
    if (in(c.ntsc ? kNoNtscTable : kNoPalTable, pr)) return false;
    if (t == transfer_unspecified) return c.ntsc && in(kPulledDownByDefault, pr);
    return t != transfer_frame_for_frame;
}

// The film frame count at a film position: frame_count(mround(a * 24))
// for a >= 0 in one step (truncation is the floor there).
LB_HOT unsigned film_frames(double a) {
    double const u = a / dur(r24) + 0.0001;
    if (!(u > 0.0)) return 0u;  // NaN
    if (u >= 2147483647.0) return 2147483647u;
    return static_cast<unsigned>(static_cast<std::int64_t>(u));
}

// Film frame u placed through c's table at `phase`: seconds.
LB_HOT double through_table(Cadence const& c, std::int32_t phase, unsigned u, bool align) {
    std::int64_t v;
    switch (c.table) {
    case Table::pull23_frames: v = film_to_frame<Pull23>(phase, u); break;
    case Table::pull23_fields: v = film_to_field<Pull23>(phase, u); break;
    case Table::pogle_frames: v = film_to_frame<Pogle>(phase, u); break;
    default: v = film_to_field<Pogle>(phase, u); break;
    }
    if (v % 2 != 0 && c.aligns && align) ++v;
    return d(v) / c.per_second;
}

// Film to medium M when its table applies, else through the driver.
template <MediumRollMedium M>
double film_by_table(double x, MediumRollMedium from, MPosn_Xlate_Params& P, bool align) {
    constexpr Cadence c = cadence_of(M);
    if (!table_applies(c, P.project_rate, P.transfer)) return translate(x, from, M, P, align, 0);
    if (P.sequence_phase == -1) P.sequence_phase = 0;
    if (x == kNoPosition) return kNoPosition;
    double const r = through_table(c, P.sequence_phase, film_frames(std::fabs(x)), align);
    return x < 0 ? -r : r;
}

double film_to_ntsc_source(Step const& s) {
    double const n = mround(s.a / dur(r24));
    Kest::FrameRate const rt = R(s.to);
    if (in(kNoFilmOnNtsc, s.pr)) return s.out(kNoPosition);
    if (s.pr == Kest::FrameRate_film_at_30) return s.out(n / fps(rt));
    transfer_type t = s.P.transfer;
    if (in(kPulledDownByDefault, s.pr) && t == transfer_unspecified) t = transfer_pulldown;
    if (t == transfer_unspecified || t == transfer_frame_for_frame) return s.out(gear(s.pr, rt) * n / fps(rt));
    // 2:3 pulldown
    if (medium_info(s.to).double_rate) return s.out(2.5 * n * dur(rt));
    return s.out(through_table(cadence(s.to), s.P.sequence_phase, frame_count(n), s.align));
}

double film_to_pal_source(Step const& s) {
    double const n = mround(s.a / dur(r24));
    Kest::FrameRate const rt = R(s.to);
    if (in(kNoFilmOnPal, s.pr)) return s.out(kNoPosition);
    if (s.pr == Kest::FrameRate_film_at_25) return s.out(n / fps(r25));
    transfer_type const t = s.P.transfer;
    if (t == transfer_unspecified || t == transfer_frame_for_frame) return s.out(gear(s.pr, rt) * n / fps(rt));
    // 24-to-25 pulldown
    return s.out(through_table(cadence(s.to), s.P.sequence_phase, frame_count(n), s.align));
}

double film_to_cel(Step const& s) {
    double const c = cel(s.pr);
    double const cam = s.P.camera_film_fps;
    if (in(kFilmCounted, s.pr)) return s.out(c * mround(s.a / 24));
    double const v = s.a / dur(r24);  // film frames
    if (in(kFilmVideo24, s.pr)) return s.out(near(cam, 48.0) ? c * mround(v / 2) : c * mround(v));
    if (in(kFilmVideo48, s.pr)) return s.out(near(cam, 24.0) ? c * mround(2 * v) : c * mround(v));
    return s.via(s.P.video_medium);
}

double from_film(Step const& s) {
    switch (s.to_info.cls) {
    case MClass::other_src: return film_to_other_source(s);
    case MClass::ntsc_src: return film_to_ntsc_source(s);
    case MClass::pal_src: return film_to_pal_source(s);
    case MClass::cel: return film_to_cel(s);
    case MClass::audio: return s.out(s.a * 24 / s.P.camera_film_fps);
    default: return s.via(cel_Medium);
    }
}

// ---------------------------------------------------------------------------
// From source video.

double source_to_film(Step const& s) {
    MClass const cls = medium_info(s.from).cls;
    Kest::FrameRate const rf = R(s.from);
    transfer_type t = s.P.transfer;
    if (t == transfer_unspecified && is_film_rate(s.pr)) {
        if (cls == MClass::ntsc_src) t = transfer_pulldown;
        if (cls == MClass::pal_src) t = transfer_frame_for_frame;
    }
    if (t == transfer_unspecified || t == transfer_frame_for_frame) return s.out((s.a / dur(rf)) / gear(s.pr, rf) / 24);
    std::int32_t const ph = s.P.sequence_phase;
    switch (s.from) {
    case source_25p_Medium: return s.out(d(frame_to_film<Pogle>(ph, mround(s.a / dur(r25)))) / 24);
    case source_25i_Medium:
    case source_50p_Medium: return s.out(d(field_to_film<Pogle>(ph, mround(2 * s.a / dur(r25)))) / 24);
    // The 30 fps family counts in 29.97 fps frames and fields whatever its own rate.
    case source_30p_1001_Medium: return s.out(d(frame_to_film<Pull23>(ph, mround(s.a / dur(r2997)))) / 24);
    case source_30p_Medium:
    case source_30i_Medium:
    case source_30i_1001_Medium: return s.out(d(field_to_film<Pull23>(ph, mround(2 * s.a / dur(r2997)))) / 24);
    case source_60p_Medium:
    case source_60p_1001_Medium: return s.out((s.a / dur(rf)) / 10 * 4 * dur(r24));
    default: return s.out(s.a);
    }
}

double source_to_audio(Step const& s) {
    Kest::FrameRate const rf = R(s.from);
    switch (s.P.transfer) {
    case transfer_unspecified: return s.out(s.a);
    case transfer_frame_for_frame: return s.out(s.a * fps(rf) / s.P.camera_film_fps);
    default: return s.out(Kest::has1001Factor(rf) ? s.a / 1.001 : s.a);
    }
}

double from_source(Step const& s) {
    switch (s.to_info.cls) {
    case MClass::film: return source_to_film(s);
    case MClass::cel: {
        if (is_film_rate(s.pr) || s.pr == Kest::FrameRate_film_at_25) return s.via(film_Medium);
        Kest::FrameRate const rf = R(s.from);
        return s.out(cel(s.pr) * mround(s.a / dur(rf)) / gear(s.pr, rf));
    }
    case MClass::audio: return source_to_audio(s);
    default: return s.via(cel_Medium);
    }
}

// ---------------------------------------------------------------------------
// From output media.

double output_to_cel(Step const& s) {
    Kest::FrameRate const rf = R(s.from);
    Pullup const pullup = medium_info(s.from).pullup;
    if (is_film_rate(s.pr) && s.P.output_pulled_down && pullup != Pullup::none) {
        unsigned const f = frame_count(mround(2 * s.a / dur(rf)));  // output field
        std::int64_t n;                                             // film frame
        if (pullup == Pullup::ntsc)
            n = std::int64_t{4} * (f / 10) + kNtscPullupShows[f % 10];
        else
            n = std::int64_t{24} * (f / 50) + pal_pullup_shows(f % 50);
        return s.out(cel(s.pr) * d(n));
    }
    return s.out(cel(s.pr) * mround((s.a / dur(rf)) / gear(s.pr, rf)));
}

double from_output(Step const& s) {
    switch (s.to_info.cls) {
    case MClass::time: return s.out(s.a);
    case MClass::cel: return output_to_cel(s);
    default: return s.via(cel_Medium);
    }
}

// ---------------------------------------------------------------------------
// From the edit timeline (cel).

// Frame-accurate placement on a medium at the project's gearing.
double cel_general(Step const& s) {
    Kest::FrameRate const rt = R(s.to);
    return s.out(dur(rt) * mround(gear(s.pr, rt) * s.a / cel(s.pr)));
}

double cel_to_output(Step const& s) {
    Pullup const pullup = s.to_info.pullup;
    if (!(is_film_rate(s.pr) && s.P.output_pulled_down && pullup != Pullup::none)) return cel_general(s);
    unsigned const n = frame_count(mround(mround(s.a / cel(s.pr))));  // film frame
    if (pullup == Pullup::ntsc) {
        std::int64_t const fields = std::int64_t{10} * (n / 4) + kNtscPullupStart[n % 4];
        Kest::FrameRate const base = Kest::has1001Factor(R(s.to)) ? r2997 : r30;
        return s.out((d(fields) / 2) / fps(base));
    }
    std::int64_t const fields = std::int64_t{50} * (n / 24) + pal_pullup_start(n % 24);
    return s.out((d(fields) / 2) / fps(r25));
}

double cel_to_ntsc_pal_source(Step const& s) {
    bool const ntsc = s.to_info.cls == MClass::ntsc_src;
    double const c = cel(s.pr);
    if (in(kWholeFilmVideo | kFilmCounted, s.pr)) return s.via(film_Medium);
    if (in(kFilmVideo, s.pr)) return s.out(s.a);  // 23.976 and 47.952 fps
    if (is_ntsc_rate(s.pr)) {
        if (!ntsc) return s.out(in(kDoubleRate, s.pr) ? s.a : kNoPosition);
        // Fields at 30 fps projects, frames at 60 fps projects.
        double const n = mround((in(kDoubleRate, s.pr) ? s.a : 2 * s.a) / c);
        switch (s.to) {
        case source_30p_Medium:
        case source_30i_Medium: return s.out(n / (2 * fps(r30)));
        case source_30p_1001_Medium:
        case source_30i_1001_Medium: return s.out(n / (2 * fps(r2997)));
        case source_60p_Medium: return s.out(n / fps(r60));
        default: return s.out(n / fps(r5994));  // source_60p_1001_Medium
        }
    }
    if (is_pal_rate(s.pr)) {
        if (ntsc) return s.out(kNoPosition);
        // Fields at 25 fps projects, frames at 50 fps projects.
        double const n = mround((in(kDoubleRate, s.pr) ? s.a : 2 * s.a) / c);
        return s.out(s.to == source_50p_Medium ? n / fps(r50) : n / (2 * fps(r25)));
    }
    return s.out(s.a);
}

double cel_to_film(Step const& s) {
    double const cam = s.P.camera_film_fps;
    switch (rate_class(s.pr)) {
    case RClass::pal:
    case RClass::ntsc:
        if (!s.P.use_aud_sync_setting) return s.via(s.P.video_medium);
        return s.out(s.P.transfer == transfer_pulldown ? s.a : s.a * fps(s.pr) / 24);
    default: break;
    }
    if (in(kFilmVideo, s.pr)) {
        if (near(cam, 24.0) || near(cam, 48.0)) return s.out(mround((cam / 24) * (s.a / cel(r24))) / 24);
        return s.out(s.a);
    }
    if (in(kFilmCounted, s.pr)) return s.out(mround(s.a / cel(s.pr)) / 24);
    return s.out(s.a);
}

double cel_to_audio(Step const& s);
LB_HOT double cel_to_time(Step const& s);

double from_cel(Step const& s) {
    switch (s.to_info.cls) {
    case MClass::output: return cel_to_output(s);
    case MClass::other_src: return cel_general(s);
    case MClass::ntsc_src:
    case MClass::pal_src: return cel_to_ntsc_pal_source(s);
    case MClass::film: return cel_to_film(s);
    case MClass::audio: return cel_to_audio(s);
    case MClass::time: return cel_to_time(s);
    default: lb::assertion_failed(lb::log_keys::translate_from_cel); return s.x;
    }
}

// ---------------------------------------------------------------------------
// Audio and clock speed rules.
//
// Audio and the clock count real seconds; picture follows the transfer.
// Film shot at the camera speed and run frame for frame at a video rate is
// sped up by video fps / camera fps; pulldown keeps film speed; 1000/1001
// video slows everything by 1.001; an output made without pulldown runs
// 24 fps film at 25 (25/24) or 30 (1.25).

constexpr double k1001 = 1.001;
constexpr double kPalSpeedUp = 1.0416666666666667;  // 25/24
constexpr double kNtscSpeedUp = 1.25;               // 30/24
constexpr double kPalSlowDown = 0.96;               // 24/25
constexpr double kNtscSlowDown = 0.8;               // 24/30
char const kVideoInFilmPulldown[] = "video_in_film_pulldown";

bool is_pal_video(Kest::FrameRate r) { return is_pal_rate(r); }

// Whether the camera-speed correction applies to audio of this transfer.
bool camera_correction_applies(MPosn_Xlate_Params const& P) {
    if (P.transfer == transfer_unspecified) return false;
    return P.use_aud_sync_setting ? !P.aud_sync_pulled_down : P.transfer != transfer_pulldown;
}

// Audio seconds as seconds at the project rate.
double audio_to_project_seconds(Step const& s) {
    MPosn_Xlate_Params const& P = s.P;
    double const a = s.a, cam = P.camera_film_fps;
    bool const unspecified = P.transfer == transfer_unspecified;
    if (is_film_rate(s.pr)) {
        if (!unspecified) return a;
        double v = Kest::has1001Factor(P.video_rate) ? a / k1001 : a;
        // Video in a film project: by default 25 fps video runs the film at
        // 25 (undo it) and 30 fps video holds it by pulldown (leave it).
        if (is_pal_video(P.video_rate)) {
            if (config_int(kVideoInFilmPulldown, 0) == 0) v *= kPalSpeedUp;
        } else if (config_int(kVideoInFilmPulldown, 1) == 0) {
            v *= kNtscSpeedUp;
        }
        return v;
    }
    if (is_pal_video(s.pr)) {
        if (unspecified || !camera_correction_applies(P)) return a;
        return near(cam, 48.0) ? a * cam / 50 : a * cam / 25;
    }
    if (in(kFilmAtVideoRate, s.pr)) return a;
    if (unspecified) return Kest::has1001Factor(P.video_rate) ? a / k1001 : a;
    if (!camera_correction_applies(P)) return a;
    return near(cam, 48.0) ? a * cam / 60 : a * cam / 30;
}

double from_audio(Step const& s) {
    if (s.to == unknown_Medium) {
        LogNothing("mposnXlate to invalid\n");
        return s.x;
    }
    if (s.to_info.cls != MClass::cel) return s.via(cel_Medium);
    return s.out(cel(s.pr) * audio_to_project_seconds(s) / dur(s.pr));
}

double cel_to_audio(Step const& s) {
    MPosn_Xlate_Params const& P = s.P;
    double const w = dur(s.pr) * s.a / cel(s.pr);  // seconds at the project rate
    double const cam = P.camera_film_fps;
    bool const unspecified = P.transfer == transfer_unspecified;
    if (is_film_rate(s.pr)) {
        if (!unspecified) return s.out(w);
        double v = Kest::has1001Factor(P.video_rate) ? w * k1001 : w;
        if (is_pal_video(P.video_rate)) {
            if (config_int(kVideoInFilmPulldown, 0) == 0) v *= kPalSlowDown;
        } else if (config_int(kVideoInFilmPulldown, 1) == 0) {
            v *= kNtscSlowDown;
        }
        return s.out(v);
    }
    if (s.pr == Kest::FrameRate_film_at_25) return s.out(w * kPalSpeedUp);
    if (s.pr == Kest::FrameRate_film_at_30) return s.out(w * kNtscSpeedUp);
    if (is_pal_video(s.pr)) {
        if (unspecified || !camera_correction_applies(P)) return s.out(w);
        return s.out(near(cam, 48.0) ? w * 50 / cam : w * 25 / cam);
    }
    if (unspecified) return s.out(Kest::has1001Factor(P.video_rate) ? w * k1001 : w);
    if (!camera_correction_applies(P)) return s.out(w);
    return s.out(near(cam, 48.0) ? w * 60 / cam : w * 30 / cam);
}

LB_HOT double time_to_cel(Step const& s) {
    MPosn_Xlate_Params const& P = s.P;
    Kest::FrameRate const orate = P.output_rate;
    if (is_film_rate(s.pr)) {
        double const v = P.output_rate_has_1001 ? s.a / k1001 : s.a;
        if (rate_class(orate) == RClass::ntsc) return s.out(P.output_pulled_down ? v : v * kNtscSpeedUp);
        if (rate_class(orate) == RClass::pal) return s.out(P.output_pulled_down ? v : v * kPalSpeedUp);
    }
    return s.out(cel(s.pr) * (s.a / dur(orate)) / gear(s.pr, orate));
}

double from_time(Step const& s) {
    if (s.to_info.cls == MClass::output) return s.out(s.a);
    if (s.to_info.cls != MClass::cel) return s.via(cel_Medium);
    return time_to_cel(s);
}

LB_HOT double cel_to_time(Step const& s) {
    MPosn_Xlate_Params const& P = s.P;
    Kest::FrameRate const orate = P.output_rate;
    if (in(kWholeFilm, s.pr)) {
        if (rate_class(orate) == RClass::ntsc) {
            double const v = P.output_rate_has_1001 ? s.a * k1001 : s.a;
            return s.out(P.output_pulled_down ? v : v * kNtscSlowDown);
        }
        if (rate_class(orate) == RClass::pal) return s.out(P.output_pulled_down ? s.a : s.a * kPalSlowDown);
    }
    return s.out(dur(orate) * gear(s.pr, orate) * s.a / cel(s.pr));
}

// ---------------------------------------------------------------------------
// The driver.

double from_unknown(Step const& s) {
    lb::assertion_failed(lb::log_keys::translate_from_unknown);
    return s.x;
}

constexpr int pair(MClass from, MClass to) { return static_cast<int>(from) * 16 + static_cast<int>(to); }

// The step from a source class. A switch rather than a table of functions
// lets each class's rules be inlined into the driver.
double from_class(MClass cls, Step const& s) {
    switch (cls) {
    case MClass::film: return from_film(s);
    case MClass::ntsc_src:
    case MClass::pal_src:
    case MClass::other_src: return from_source(s);
    case MClass::output: return from_output(s);
    case MClass::cel: return from_cel(s);
    case MClass::audio: return from_audio(s);
    case MClass::time: return from_time(s);
    default: return from_unknown(s);
    }
}

// Generic media to the concrete medium they stand for in this translation.
MediumRollMedium resolve(MediumRollMedium m, MPosn_Xlate_Params const& P) {
    switch (m) {
    case edit_24_Medium: m = output_24p_Medium; break;
    case source_24_Medium: m = source_24p_Medium; break;
    case video_Medium: m = P.video_medium; break;
    default: break;
    }
    if (m == edit_Medium) m = getMediumRollfromOutputFormat(Kest::CurrentProject::getOutputImageFormat(0));
    return m;
}

double translate(double x, MediumRollMedium from, MediumRollMedium to, MPosn_Xlate_Params& P, bool align, int depth) {
    // Two concrete media (the usual case) need no resolving; unknown,
    // generic and out-of-range media all have class none.
    MediumInfo const& fi = medium_info(from);
    MediumInfo const& ti = medium_info(to);
    if (fi.cls != MClass::none && ti.cls != MClass::none) {
        if (from == to) return x;
        if (P.sequence_phase == -1) P.sequence_phase = 0;
        if (x == kNoPosition) return kNoPosition;
        if (depth > kMaxViaDepth) return x < 0 ? -kNoPosition : kNoPosition;
        Step const s{x, std::fabs(x), from, to, ti, P, align, depth, P.project_rate};
        return from_class(fi.cls, s);
    }
    if (from == unknown_Medium || to == unknown_Medium) return 0.0;
    from = resolve(from, P);
    to = resolve(to, P);
    if (from == to) return x;
    if (P.sequence_phase == -1) P.sequence_phase = 0;
    if (x == kNoPosition) return kNoPosition;
    if (depth > kMaxViaDepth) return x < 0 ? -kNoPosition : kNoPosition;
    Step const s{x, std::fabs(x), from, to, medium_info(to), P, align, depth, P.project_rate};
    return from_class(medium_info(from).cls, s);
}

}  // namespace

double mPosn_Xlate(double x, MediumRollMedium from, MediumRollMedium to, MPosn_Xlate_Params& P, bool align_to_frame) {
    // The pairs translated most run here with their rules inlined: film
    // through a sequence table, and clock and cel. Everything else (and
    // whatever these leave to other rules) goes through the driver.
    MClass const from_cls = medium_info(from).cls;
    if (from_cls == MClass::film) {
        switch (to) {
        case source_30p_Medium: return film_by_table<source_30p_Medium>(x, from, P, align_to_frame);
        case source_30p_1001_Medium: return film_by_table<source_30p_1001_Medium>(x, from, P, align_to_frame);
        case source_30i_Medium: return film_by_table<source_30i_Medium>(x, from, P, align_to_frame);
        case source_30i_1001_Medium: return film_by_table<source_30i_1001_Medium>(x, from, P, align_to_frame);
        case source_25p_Medium: return film_by_table<source_25p_Medium>(x, from, P, align_to_frame);
        case source_25i_Medium: return film_by_table<source_25i_Medium>(x, from, P, align_to_frame);
        case source_50p_Medium: return film_by_table<source_50p_Medium>(x, from, P, align_to_frame);
        default: return translate(x, from, to, P, align_to_frame, 0);
        }
    }
    MClass const to_cls = medium_info(to).cls;
    if (pair(from_cls, to_cls) != pair(MClass::cel, MClass::time) &&
        pair(from_cls, to_cls) != pair(MClass::time, MClass::cel))
        return translate(x, from, to, P, align_to_frame, 0);
    if (P.sequence_phase == -1) P.sequence_phase = 0;
    if (x == kNoPosition) return kNoPosition;
    Step const s{x, std::fabs(x), from, to, medium_info(to), P, align_to_frame, 0, P.project_rate};
    return to_cls == MClass::time ? cel_to_time(s) : time_to_cel(s);
}

double mPosn_Xlate(double x, MediumRollMedium from, MediumRollMedium to) {
    MPosn_Xlate_Params P;
    return mPosn_Xlate(x, from, to, P, false);
}

double mPosn_Xlate(double x, MediumRollMedium from, MediumRollMedium to, Kest::FrameRate r) {
    MPosn_Xlate_Params P;
    P.project_rate = r;
    P.cel_resolution = Kest::getCelResolution(r);
    return mPosn_Xlate(x, from, to, P, false);
}

double mPosn_Xlate(double x, MediumRollMedium from, MediumRollMedium to, MPosn_Xlate_Params& P, Kest::FrameRate r) {
    P.project_rate = r;
    P.cel_resolution = Kest::getCelResolution(r);
    return mPosn_Xlate(x, from, to, P, false);
}

double mPosn_Xlate(double x, MediumRollMedium from, MediumRollMedium to, MPosn_Xlate_Params& P, Kest::FrameRate r,
                   Cookie) {
    P.project_rate = r;
    P.cel_resolution = Kest::getCelResolution(r);
    P.aud_sync_pulled_down = true;
    return mPosn_Xlate(x, from, to, P, false);
}

void LogNothing(char const*, ...) {}
