// Media position translation: the same instant of a scene on film, on a
// source video transfer, on the output, on the edit timeline (cel), in audio
// and on the host clock.
//
// Positions are doubles: seconds of film at 24 fps on the film group (film,
// ink, lab), seconds on the medium's own clock for video media (field f of
// an interlaced medium at f / (2 fps)), cel units on the edit timeline
// (project frame n at n * Kest::getCelResolution(project rate)), seconds for
// audio and the host clock. 1e99 is "no position": it is handed back as it
// came, and a translation with no answer returns it (with the input's sign).
// A translation works on the magnitude of its input and puts the sign back.
//
// Edge cases:
//  - Sequence phase out of range: a phase outside 0..4 (2:3) or 0..24
//    (24-to-25) is reduced modulo the cycle length into 0..L-1 before a table
//    is read, so the -2 that modify_sequence_to_playfile_std(-3) can leave
//    reads as phase 3 of the 2:3 cycle. The block itself is not changed
//    (only -1 is written back, as 0).
//  - Frame numbers before the table arithmetic: frame and field counts are
//    magnitudes (the translation works on |x|), rounded with mround and then
//    taken to 32 bits by saturation: NaN counts as 0, anything at or above
//    2^31 as 2^31 - 1. The cycle division is unsigned and the position within
//    the material is then formed in 64 bits, so no input overflows. Formulas
//    without a table keep the rounded count as a double. So NaN and
//    infinite positions are not refused: through a table NaN comes back as
//    0.0 and an infinity as the position of frame 2^31 - 1 with its sign
//    (about 8.96e7 s on NTSC video); callers that must not answer for them
//    refuse them before translating.
//  - Translation through an intermediate medium that leads back to itself
//    (a parameter block whose video_medium is not a source video medium, e.g.
//    an output medium, cel or film in a video-rate project) is cut off after
//    eight nested steps and answers 1e99 with the input's sign.
//  - The EditLabel overloads treat a null label as a target of
//    unknown_Medium (0.0 back).
//  - celPosn_to_SampleNr: NaN gives 0; quotients beyond the int range give
//    INT_MIN or INT_MAX.
#ifndef LABELSBASE_MPOSNXLATE_H
#define LABELSBASE_MPOSNXLATE_H

#include <cmath>
#include <cstdint>

#include <host/host.h>

#include "labelsbase/MediumRollIdent.h"
#include "labelsbase/transfer_type.h"

class EditLabel;

// floor(v + 0.0001): the one rounding rule of translation. A value within
// 0.0001 below an integer counts as that integer; mround(2.99995) == 3.0,
// mround(2.9998) == 2.0, mround(-0.5) == -1.0.
inline double mround(double v) {
    double const u = v + 0.0001;
    // Beyond 2^52 every double is whole (and NaN and infinities stay as
    // they are); below it the truncation fits in 64 bits.
    if (!(std::fabs(u) < 4503599627370496.0)) return u;
    double const t = static_cast<double>(static_cast<std::int64_t>(u));
    return t > u ? t - 1.0 : t;
}

// The parameter block every translation reads. Owned by the caller; a
// translation writes back only a sequence_phase of -1, as 0.
struct MPosn_Xlate_Params {
    transfer_type transfer;         // kind of film/video transfer of the material
    std::int32_t sequence_phase;    // pulldown row of frame 0 (-1: not set)
    Kest::FrameRate video_rate;     // rate of the transfer's video
    MediumRollMedium video_medium;  // stands for video_Medium
    Cookie cookie;                  // identifier slot; not read here
    Kest::FrameRate project_rate;   // edit rate; the cel scale is this rate's
    double cel_resolution;          // Kest::getCelResolution(project_rate)
    bool output_rate_has_1001;
    Kest::FrameRate output_rate;  // rate of the project's output image
    bool aud_sync_pulled_down;
    bool use_aud_sync_setting;  // set only by callers
    double camera_film_fps;     // camera speed (24.0, 48.0 ...)
    bool output_pulled_down;    // output made with pulldown
    std::int64_t reserved;

    // init() from the open project.
    MPosn_Xlate_Params();
    // init(), then the output rate, its 1001 flag and the pulldown of g.
    explicit MPosn_Xlate_Params(Kest::OutputGearing const& g);

    // Frame-for-frame transfer, phase 0, no video; project, output and
    // camera settings sampled from the open project now.
    void init();
    // init(), then transfer t at phase `phase`, video at the output rate on
    // the source medium matching the output image's scan and rate.
    void init_for_labelgroup(transfer_type t, int phase);
    // Without init(): project rate, phase 0, the default film/video transfer
    // (pulldown when "default_film_video_conversion_pulldown" is non-zero,
    // else frame for frame), video at `rate` on the project's default edit
    // medium for that rate.
    void init_to_default_filmvid_conversion(Kest::FrameRate rate);
    // Phase 0 and pulled-down output; nothing else changes.
    void init_to_default_playout_generation();
    // init(), then explicit project and output rates and output pulldown.
    void initOutputFormat(Kest::FrameRate project, Kest::FrameRate output, bool pulled_down);
    // With transfer_pulldown only: phase = (frames + phase) % L, L = 25 for
    // 25/50 fps video, else 5; the remainder takes the sign of the sum
    // (phase 1 moved by -3 at 30 fps gives -2). The sum wraps at 32 bits.
    void modify_sequence_to_playfile_std(int frames);
};

// The older block; only set here, read by callers.
struct MPosn_Conversion_Params {
    bool sequence_active;
    transfer_type transfer;
    bool filmvid_conversion;
    std::int32_t filmvid_variant;
    std::int32_t sequence_phase;
    Kest::FrameRate project_rate;
    std::int32_t filmvid_kind;

    MPosn_Conversion_Params();
    void init();
    void init_to_playout_generation();
    void init_to_default_filmvid_conversion();
    // When sequence_active: phase = (frames + phase) % L, L = 25 for
    // transfer_pogle, else 5 (remainder with the sign of the sum).
    void modify_sequence_to_playfile_std(int frames);
};

// ---------------------------------------------------------------------------
// Pulldown sequence tables. A row is a phase; an entry is a frame or field
// number relative to the start of the current cycle (negative: previous
// cycle; the cycle length: next cycle). "derivative" tables give where each
// film frame of the cycle begins in video, "origin" tables which film frame
// each video frame or field shows; the `Frame` tables count video frames, the
// others fields, with one row per field phase (row 2p is read for phase p).
// Lookups, for frame n counted from the start of the material at phase p:
//   film n -> video frame: Frame_derivative[p][n % F] + V * (n / F)
//   film n -> field:       derivative[2p][n % F] + 2V * (n / F)
//   video j -> film:       Frame_origin[p][j % V] + F * (j / V)
//   field f -> film:       origin[2p][f % 2V] + F * (f / 2V)
// with F = 4, V = 5 for 2:3 and F = 24, V = 25 for 24-to-25 pulldown.
extern signed char const pull23_derivative_table[10][4];
extern signed char const pull23_Frame_derivative_table[5][4];
extern signed char const pull23_origin_table[10][10];
extern signed char const pull23_Frame_origin_table[5][5];
extern signed char const pogle_derivative_table[50][24];
extern signed char const pogle_Frame_derivative_table[25][24];
extern signed char const pogle_origin_table[50][50];
extern signed char const pogle_Frame_origin_table[25][25];

// ---------------------------------------------------------------------------
// Position translation.

// x on medium `from` as a position on medium `to`. Generic media are
// resolved first (video_Medium -> P.video_medium, edit_Medium -> the
// project's output medium, source_24_Medium -> source_24p_Medium,
// edit_24_Medium -> output_24p_Medium). Either medium unknown_Medium: 0.0.
// Same medium: x. A source outside the known classes prints the assertion
// line "unknown_Medium" and gives x back; a cel position to a medium cel
// cannot reach prints "false" and gives x back. align_to_frame moves an odd
// field of film pulled down to source_30i_Medium or source_25i_Medium onto
// the next even field. Example: film 1.0 s to source_25p_Medium with
// 24-to-25 pulldown is 1.0 s (film frame 24 at video frame 25).
double mPosn_Xlate(double x, MediumRollMedium from, MediumRollMedium to, MPosn_Xlate_Params& P, bool align_to_frame);
// With a block from the open project.
double mPosn_Xlate(double x, MediumRollMedium from, MediumRollMedium to);
// With a block from the open project, edit rate r.
double mPosn_Xlate(double x, MediumRollMedium from, MediumRollMedium to, Kest::FrameRate r);
// P's project rate (and cel resolution) set to r first.
double mPosn_Xlate(double x, MediumRollMedium from, MediumRollMedium to, MPosn_Xlate_Params& P, Kest::FrameRate r);
// As above, and P's aud_sync_pulled_down set; the cookie is not used.
double mPosn_Xlate(double x, MediumRollMedium from, MediumRollMedium to, MPosn_Xlate_Params& P, Kest::FrameRate r,
                   Cookie c);
// The target is the medium of the label's medium roll.
double mPosn_Xlate(double x, MediumRollMedium from, EditLabel* l);
double mPosn_Xlate(double x, MediumRollMedium from, EditLabel* l, Kest::FrameRate r);
double mPosn_Xlate(double x, MediumRollMedium from, EditLabel* l, MPosn_Xlate_Params& P, Kest::FrameRate r);
double mPosn_Xlate(double x, MediumRollMedium from, EditLabel* l, MPosn_Xlate_Params& P);

// Accepts a message like printf and discards it.
void LogNothing(char const* format, ...);

// ---------------------------------------------------------------------------
// Clock, cel and sample conversions.

// Host clock seconds <-> cel positions with the output rate and pulldown of
// a gearing, of a caller's block, or of the gearing the host builds for the
// current output (no argument).
double mPosn_Xlate_ClockToCel(double t, Kest::OutputGearing const& g);
double mPosn_Xlate_CelToClock(double c, Kest::OutputGearing const& g);
double mPosn_Xlate_ClockToCel(double t, MPosn_Xlate_Params& P);
double mPosn_Xlate_CelToClock(double c, MPosn_Xlate_Params& P);
double mPosn_Xlate_ClockToCel(double t);
double mPosn_Xlate_CelToClock(double c);
// The same with the output rate and pulldown of the project's output image.
double transform_KESTtime_to_CELtime(double t);
double transform_CELtime_to_KESTtime(double c);

// Project sample n as a cel position: n * the project's cel resolution.
double sampleNr_to_CelPosn(int n);
// The project sample at cel position c: floor(c / cel resolution + 0.0001).
int celPosn_to_SampleNr(double c);

// Transport velocity for the current user transport request: always 1.0;
// returns 0.
int getTRSVelocityForCurrentUTR(double& velocity, MediumRollMedium m, bool b, transfer_type t, Kest::FrameRate r);

#endif
