// Position translation with any doubles (NaN and infinities included), any
// media, phases and parameter blocks (every field fuzzed, project settings
// and translation configuration keys too), plus the clock and cel entry
// points and the sample conversions. Besides staying defined, a translation
// works on the magnitude of its input and puts the sign back, so it is an
// odd function of its input; the same medium on both sides, 1e99 and
// unknown media have fixed answers.
#include <climits>
#include <cmath>
#include <cstring>

#include <labelsbase/labelsbase.h>
#include <labelsbase/mposnxlate.h>

#include "fuzz_util.h"

namespace {

// Equal as results: the same value, or both NaN.
bool same(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    return a == b;
}

// Media worth reaching often: every real value 0..70 plus a few outsiders.
MediumRollMedium medium_of(uint8_t b) {
    if (b < 240) return static_cast<MediumRollMedium>(b % 71);
    static constexpr int kOdd[] = {-1, 71, 127, 255, -2147483647 - 1, 2147483647, 5, 9, 6, 3, 8, 13, 14, 12, 7, 4};
    return static_cast<MediumRollMedium>(kOdd[b - 240]);
}

Kest::FrameRate rate_of(uint8_t b) {
    if (b < 240) return static_cast<Kest::FrameRate>(b % 48);
    return static_cast<Kest::FrameRate>(b == 240 ? -1 : b == 241 ? 48 : 1000 + b);
}

double any_double(FuzzInput& in) {
    auto const kind = in.take<uint8_t>();
    auto const raw = in.take<double>();
    switch (kind % 8) {
    case 0: return std::nan("");
    case 1: return HUGE_VAL;
    case 2: return -HUGE_VAL;
    case 3: return 1e99;
    case 4: return raw - std::floor(raw) + static_cast<int>(kind);  // small, fractional
    default: return raw;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, size_t size) {
    FuzzInput in(data, size);

    // The open project and the translation's configuration keys.
    host::ProjectSettings ps = host::default_project_settings();
    auto const what = in.take<uint16_t>();
    if (what & 1) {
        ps.frame_rate = rate_of(in.take<uint8_t>());
        ps.output_image_rate = rate_of(in.take<uint8_t>());
        ps.output_scan_mode = static_cast<Kest::Image::ScanMode>(in.take<uint8_t>() % 6);
        ps.in_camera_film_speed = rate_of(in.take<uint8_t>());
        auto const bits = in.take<uint8_t>();
        ps.use_drop_frame_timecode = bits & 1;
        ps.output_pulled_down = bits & 2;
        ps.audio_sync_pulled_down = bits & 4;
    }
    host::set_project_settings(ps);
    // Configuration values from a small set that takes every branch (each
    // distinct configuration published stays in memory for the process).
    static constexpr int kConfigValues[] = {0, 1, 2, 3, 4, 5, -1, INT_MIN, INT_MAX};
    auto config_value = [&in] {
        return kConfigValues[in.take<uint8_t>() % (sizeof kConfigValues / sizeof kConfigValues[0])];
    };
    if (what & 2)
        host::set_config_int("video_in_film_pulldown", config_value());
    else
        host::unset_config_int("video_in_film_pulldown");
    if (what & 4)
        host::set_config_int("default_film_video_conversion_pulldown", config_value());
    else
        host::unset_config_int("default_film_video_conversion_pulldown");

    // A parameter block with every field fuzzed, or one of its initialisers.
    MPosn_Xlate_Params P;
    auto const phase = in.take<int>();
    auto const transfer = static_cast<transfer_type>(in.take<uint8_t>() % 9);
    auto const video_rate = rate_of(in.take<uint8_t>());
    switch ((what >> 3) & 7) {
    case 0: P.init_for_labelgroup(transfer, phase); break;
    case 1: P.init_to_default_filmvid_conversion(video_rate); break;
    case 2: P.initOutputFormat(rate_of(in.take<uint8_t>()), rate_of(in.take<uint8_t>()), in.take<uint8_t>() & 1); break;
    case 3: P.init_to_default_playout_generation(); break;
    default:
        P.transfer = static_cast<transfer_type>(in.take<int>());
        P.sequence_phase = phase;
        P.video_rate = static_cast<Kest::FrameRate>(in.take<int>());
        P.video_medium = static_cast<MediumRollMedium>(in.take<int>());
        P.project_rate = rate_of(in.take<uint8_t>());
        P.cel_resolution = any_double(in);
        P.output_rate_has_1001 = in.take<uint8_t>() & 1;
        P.output_rate = rate_of(in.take<uint8_t>());
        P.aud_sync_pulled_down = in.take<uint8_t>() & 1;
        P.use_aud_sync_setting = in.take<uint8_t>() & 1;
        P.camera_film_fps = any_double(in);
        P.output_pulled_down = in.take<uint8_t>() & 1;
        P.reserved = in.take<int64_t>();
        break;
    }
    if (what & 64) {
        P.sequence_phase = phase;
        P.transfer = transfer;
        P.video_medium = medium_of(in.take<uint8_t>());
    }
    if (what & 128) P.modify_sequence_to_playfile_std(in.take<int>());

    MediumRollMedium const from = medium_of(in.take<uint8_t>());
    MediumRollMedium const to = medium_of(in.take<uint8_t>());
    double const x = any_double(in);
    bool const align = what & 256;
    int const n = in.take<int>();

    // The full form, and its sign symmetry on a copy of the block (the
    // first call may turn a phase of -1 into 0, which reads the same).
    MPosn_Xlate_Params Q = P;
    double const r = mPosn_Xlate(x, from, to, P, align);
    if (from == unknown_Medium || to == unknown_Medium) FUZZ_CHECK(r == 0.0);
    if (x == 1e99 && from != unknown_Medium && to != unknown_Medium) FUZZ_CHECK(r == 1e99);
    if (from == to && from != unknown_Medium) FUZZ_CHECK(same(r, x));
    // Only a phase of -1 is written back, as 0.
    FUZZ_CHECK(P.sequence_phase == Q.sequence_phase || (Q.sequence_phase == -1 && P.sequence_phase == 0));
    // (NaN and zero have no sign to put back: neither is below zero, -0.0
    // included, and position 0 can translate to a non-zero one.)
    if (std::fabs(x) != 1e99 && !std::isnan(x) && x != 0.0) {
        double const neg = mPosn_Xlate(-x, from, to, Q, align);
        FUZZ_CHECK(same(neg, -r));
    }

    // The other overloads.
    Kest::FrameRate const r2 = rate_of(static_cast<uint8_t>(n));
    (void)mPosn_Xlate(x, from, to);
    (void)mPosn_Xlate(x, from, to, r2);
    (void)mPosn_Xlate(x, from, to, P, r2);
    (void)mPosn_Xlate(x, from, to, P, r2, Cookie());
    {
        EditLabel label(static_cast<label_t>(static_cast<uint8_t>(n >> 8) % label_type_count),
                        MediumRollIdent{to, any_Generation});
        // The label's medium is the target.
        MPosn_Xlate_Params P1 = Q, P2 = Q;
        double const via = mPosn_Xlate(x, from, &label, P1);
        double const direct = mPosn_Xlate(x, from, label.get_MediumRoll().medium, P2, false);
        FUZZ_CHECK(same(via, direct));
        (void)mPosn_Xlate(x, from, &label);
        (void)mPosn_Xlate(x, from, &label, r2);
        (void)mPosn_Xlate(x, from, &label, Q, r2);
        (void)mPosn_Xlate(x, from, static_cast<EditLabel*>(nullptr));
    }

    // Clock and cel entry points.
    Kest::OutputGearing const g(rate_of(static_cast<uint8_t>(n >> 16)), n & 1);
    double const c1 = mPosn_Xlate_ClockToCel(x, g);
    double const t1 = mPosn_Xlate_CelToClock(x, g);
    MPosn_Xlate_Params G(g);
    FUZZ_CHECK(same(mPosn_Xlate_ClockToCel(x, G), c1));
    FUZZ_CHECK(same(mPosn_Xlate_CelToClock(x, G), t1));
    (void)mPosn_Xlate_ClockToCel(x, P);
    (void)mPosn_Xlate_CelToClock(x, P);
    (void)mPosn_Xlate_ClockToCel(x);
    (void)mPosn_Xlate_CelToClock(x);
    (void)transform_KESTtime_to_CELtime(x);
    (void)transform_CELtime_to_KESTtime(x);

    // Samples and cel positions: a sample's cel position reads back to it.
    FUZZ_CHECK(celPosn_to_SampleNr(sampleNr_to_CelPosn(n)) == n);
    (void)celPosn_to_SampleNr(x);
    FUZZ_CHECK(same(mround(x), std::floor(x + 0.0001)));
    double v = 0.0;
    FUZZ_CHECK(getTRSVelocityForCurrentUTR(v, from, align, transfer, r2) == 0 && v == 1.0);

    // The older block's operations with any numbers.
    MPosn_Conversion_Params C;
    C.sequence_active = what & 512;
    C.transfer = transfer;
    C.sequence_phase = phase;
    C.modify_sequence_to_playfile_std(n);
    C.init_to_default_filmvid_conversion();
    C.init_to_playout_generation();
    C.init();
    return 0;
}
