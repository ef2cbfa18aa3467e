// The flat legacy interface with any integers and texts: every function
// that reads or writes a text, with output buffers of exactly 9 bytes and
// input texts of exactly their length (both on the heap, so a write or read
// past either end is caught), and the frame and phase arithmetic. Where the
// rules promise it, what is printed reads back to the same frame, and
// phases given in range stay in range.
#include <cstdio>
#include <cstring>
#include <memory>

#include <labelsbase/legacy.h>

#include "fuzz_util.h"

namespace {

constexpr size_t kOut = 9;  // eight digits and the terminator
constexpr char kUntouched = '#';

struct Out {
    std::unique_ptr<char[]> buf{new char[kOut]};
    Out() { reset(); }
    void reset() { std::memset(buf.get(), kUntouched, kOut); }
    char* get() { return buf.get(); }
    bool untouched() const {
        for (size_t i = 0; i < kOut; ++i)
            if (buf[i] != kUntouched) return false;
        return true;
    }
    // A successful print is exactly eight digits.
    bool eight_digits() const {
        if (buf[8] != '\0') return false;
        for (size_t i = 0; i < 8; ++i)
            if (buf[i] < '0' || buf[i] > '9') return false;
        return true;
    }
};

// Checks a text-writing call: done means eight digits, refused means the
// buffer was left as it was.
void check_print(int result, Out& out) {
    FUZZ_CHECK(result >= 0 && result <= 2);
    if (result != 0)
        FUZZ_CHECK(out.eight_digits());
    else
        FUZZ_CHECK(out.untouched());
    out.reset();
}

// An exactly-sized writable copy of a text (the KeyKode reader writes into it).
std::unique_ptr<char[]> copy(char const* t) {
    size_t const n = std::strlen(t);
    std::unique_ptr<char[]> c(new char[n + 1]);
    std::memcpy(c.get(), t, n + 1);
    return c;
}

// Frames in 24 hours of a video-timecode type, 0 for the others.
int timecode_rate(int lt) {
    switch (lt) {
    case 1:
    case 3:
    case 22:
    case 25:
    case 42: return 30;
    case 2:
    case 5:
    case 7:
    case 21: return 25;
    case 36:
    case 39: return 50;
    case 37:
    case 40: return 60;
    case 38:
    case 41:
    case 43: return 48;
    default: return 0;
    }
}

// Count modulus of the KeyKode digit flags: 10 per consecutive set bit from bit 2.
long long count_modulus(unsigned char flags) {
    long long m = 1;
    for (int bit = 2; bit < 8 && (flags >> bit & 1); ++bit) m *= 10;
    return m;
}

void round_trips(int frame, int lt, int drop, int kk_phase, int upc, unsigned char flags) {
    Out out;
    // Video timecode within the day reads back to the frame printed.
    if (int const rate = timecode_rate(lt)) {
        long long const day = (rate == 30 && drop) ? 2589408LL : rate * 86400LL;
        if (frame >= 1 && frame <= day) {
            FUZZ_CHECK(video_frames_to_timecode(frame, out.get(), static_cast<label_type>(lt), drop) == 1);
            int back = 0;
            FUZZ_CHECK(timecode_to_video_frames(&back, out.get(), static_cast<label_type>(lt), drop) == 1);
            FUZZ_CHECK(back == frame);
            out.reset();
        }
    }
    // Film timecode within the day.
    if (frame >= 1 && frame <= 2073600) {
        FUZZ_CHECK(film_frames_to_filmtc(frame, out.get()) == 1);
        int back = 0;
        FUZZ_CHECK(filmtc_to_film_frames(&back, out.get()) == 1);
        FUZZ_CHECK(back == frame);
        out.reset();
    }
    // KeyKode within the count period, for counts that fit eight digits.
    int units = 0;
    switch (lt) {
    case 8:
    case 11:
    case 27: units = 1; break;
    case 9:
    case 12: units = 4; break;
    case 26: units = -1; break;  // 3-perf: counts of 21, 21 and 22 frames
    default: return;
    }
    if (frame < 1) return;
    if (units > 0 && (upc < 1 || upc > 99)) return;  // frames of two digits
    long long const m = count_modulus(flags);
    long long period;
    if (units < 0) {
        if (kk_phase < 1 || kk_phase > 3) return;
        period = (m / 3) * 64;
        for (int i = 0, p = kk_phase; i < m % 3; ++i, p = p % 3 + 1) period += p == 3 ? 22 : 21;
    } else {
        period = m * upc / units;
    }
    if (frame > period) return;
    int kk_out = 0;
    int const printed =
        film_frames_to_keycode(frame, out.get(), kk_phase, &kk_out, static_cast<label_type>(lt), upc, flags);
    FUZZ_CHECK(printed == 1 && out.eight_digits());
    int back = 0, group = 0;
    FUZZ_CHECK(keycode_to_film_frames(&back, out.get(), kk_out, &group, static_cast<label_type>(lt), upc) == 1);
    FUZZ_CHECK(back == frame);
    if (units < 0) FUZZ_CHECK(group == kk_phase);
}

int wadd(int a, int b) { return static_cast<int>(static_cast<unsigned>(a) + static_cast<unsigned>(b)); }
int wmul(int a, int b) { return static_cast<int>(static_cast<unsigned>(a) * static_cast<unsigned>(b)); }

// What the C library's formatted input reads from the texts, composed as
// the rules say: the library reads with direct code and must agree.
void reference_reads(char const* text, int lt, int drop, int kk_phase, int upc) {
    int h = 0, m = 0, sec = 0, f = 0;
    std::sscanf(text, "%2d%2d%2d%2d", &h, &m, &sec, &f);
    int got = 0;
    // Film timecode: 24 fps, 1-based.
    FUZZ_CHECK(filmtc_to_film_frames(&got, copy(text).get()) == 1);
    FUZZ_CHECK(got == wadd(wadd(wmul(wadd(wmul(wadd(wmul(h, 60), m), 60), sec), 24), f), 1));
    // Video timecode at the type's rate, drop-frame at 30 fps when asked.
    if (int const rate = timecode_rate(lt)) {
        int want;
        if (drop && rate == 30) {
            int const m10 = m / 10, m1 = m % 10;
            want = wadd(wmul(h, 107892), wmul(m10, 17982));
            if (m1 >= 1) want = wadd(want, wadd(1800, wmul(m1 - 1, 1798)));
            if (sec > 0) want = wadd(want, m1 >= 1 ? wadd(28, wmul(sec - 1, 30)) : wmul(sec, 30));
            want = wadd(want, f);
            if (m1 >= 1 && sec == 0) want = wadd(want, -2);
            want = wadd(want, 1);
        } else {
            want = wadd(wadd(wmul(wadd(wmul(wadd(wmul(h, 60), m), 60), sec), rate), f), 1);
        }
        if (lt != 4 && lt != 6 && lt != 34) {
            FUZZ_CHECK(timecode_to_video_frames(&got, copy(text).get(), static_cast<label_type>(lt), drop) == 1);
            FUZZ_CHECK(got == want);
        }
    }
    // KeyKode: blanks in the first eight characters read as zeros, then a
    // count of 4, 5 or 6 digits (by the text's length) and a two-digit frame.
    int units = 0;
    switch (lt) {
    case 8:
    case 11:
    case 27: units = 1; break;
    case 9:
    case 12: units = 4; break;
    case 26: units = -1; break;
    default: return;
    }
    auto kk = copy(text);
    size_t const len = std::strlen(kk.get());
    for (size_t i = 0; i < len && i < 8; ++i)
        if (kk[i] == ' ') kk[i] = '0';
    int count = 0, frame = 0;
    std::sscanf(kk.get(), len == 7 ? "%5d%2d" : len == 8 ? "%6d%2d" : "%4d%2d", &count, &frame);
    auto in_text = copy(text);
    int phase_out = 0;
    int const res = keycode_to_film_frames(&got, in_text.get(), kk_phase, &phase_out, static_cast<label_type>(lt), upc);
    FUZZ_CHECK(std::strcmp(in_text.get(), kk.get()) == 0 || res == 0);
    if (units > 0) {
        FUZZ_CHECK(res == 1 && got == wadd(wadd(wmul(upc, count), frame) / units, 1));
    } else if (kk_phase >= 1 && kk_phase <= 3 && count >= 0) {
        // 3-perf: back from the count read to the first of its group of three.
        int const r = count % 3;
        int p = kk_phase - r + (kk_phase <= r ? 3 : 0);
        FUZZ_CHECK(res == 1 && phase_out == p);
        int frames = count / 3 * 64;
        for (int i = 0; i < r; ++i, p = p % 3 + 1) frames += p == 3 ? 22 : 21;
        FUZZ_CHECK(got == frames + frame + 1);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, size_t size) {
    FuzzInput in(data, size);
    auto const frame = in.take<int>();
    auto const delta = in.take<int>();
    auto const phase = in.take<int>();
    auto const video_phase = in.take<int>();
    auto const kk_phase = in.take<int>();
    auto const upc = in.take<int>();
    auto const lt = static_cast<label_type>(in.take<uint8_t>() % 48);
    auto const drop = in.take<uint8_t>() & 1;
    auto const t = static_cast<transfer_type>(in.take<uint8_t>() % 9);
    auto const e = static_cast<edit_type>(in.take<uint8_t>() % 3);
    auto const m = static_cast<material_type>(in.take<uint8_t>() % 4);
    auto const flags = in.take<unsigned char>();
    auto const seconds = in.take<double>();
    auto const text = in.rest();

    Out out;
    int r = 0, ph = 0, kk = 0;

    // Frame and phase arithmetic.
    int const fv = film_frames_to_video_frames(frame, &r, phase, video_phase, t);
    FUZZ_CHECK(fv >= 0 && fv <= 2);
    int ph_out = -7;
    int const vf = video_frames_to_film_frames(frame, &r, phase, &ph_out, t);
    FUZZ_CHECK(vf == 0 || vf == 1);
    if (vf == 1 && (t == transfer_pull23 || t == transfer_pogle)) {
        int const v = t == transfer_pull23 ? 5 : 25;
        if (phase >= 0 && phase < v) FUZZ_CHECK(ph_out >= 0 && ph_out < v);
    }
    ph_out = -7;
    if (film_frames_plus_frames(frame, phase, delta, &r, &ph_out, t) == 1 &&
        (t == transfer_pull23 || t == transfer_pogle)) {
        int const c = t == transfer_pull23 ? 4 : 24;
        FUZZ_CHECK(r == static_cast<int>(static_cast<unsigned>(frame) + static_cast<unsigned>(delta)));
        if (phase >= 0 && phase <= c) FUZZ_CHECK(ph_out >= 0 && ph_out < c);
    }
    ph_out = -7;
    FUZZ_CHECK(video_frames_plus_frames(frame, phase, delta, &r, &ph_out, t) == 1);
    if (t == transfer_pull23 || t == transfer_pogle) {
        int const v = t == transfer_pull23 ? 5 : 25;
        if (phase >= 0 && phase < v) FUZZ_CHECK(ph_out >= 0 && ph_out < v);
    }
    (void)frames_plus_frames(frame, phase, delta, &r, &ph, t, e);
    double const rate = get_frame_rate(m, e);
    FUZZ_CHECK(rate == 24.0 || rate == 25.0 || rate == 30.0 || (rate > 29.97 && rate < 29.971));

    // Text writers, any frame.
    check_print(video_frames_to_timecode(frame, out.get(), lt, drop), out);
    check_print(film_frames_to_filmtc(frame, out.get()), out);
    check_print(film_frames_to_keycode(frame, out.get(), kk_phase, &kk, lt, upc, flags), out);
    check_print(film_frames_to_timecode(frame, out.get(), phase, video_phase, lt, drop, t), out);
    check_print(video_frames_to_keycode(frame, out.get(), kk_phase, &kk, phase, lt, t, upc, flags), out);
    check_print(video_frames_to_filmtc(frame, out.get(), phase, t), out);
    check_print(frames_to_label(out.get(), kk_phase, &kk, phase, video_phase, frame, lt, drop, t, e, upc, flags), out);

    // Text readers, any text (a fresh copy each time: the KeyKode reader
    // writes into its input).
    (void)timecode_to_video_frames(&r, copy(text.get()).get(), lt, drop);
    (void)keycode_to_film_frames(&r, copy(text.get()).get(), kk_phase, &kk, lt, upc);
    (void)filmtc_to_film_frames(&r, copy(text.get()).get());
    (void)timecode_to_film_frames(&r, copy(text.get()).get(), phase, &ph, lt, drop, t);
    (void)keycode_to_video_frames(&r, copy(text.get()).get(), kk_phase, &kk, phase, lt, t, upc);
    (void)filmtc_to_video_frames(&r, copy(text.get()).get(), phase, t);
    ph = 0;
    int const lf = label_to_frames(copy(text.get()).get(), kk_phase, &kk, phase, &ph, &r, lt, drop, t, e, upc);
    FUZZ_CHECK(lf >= 0 && lf <= 2);

    // Label arithmetic: read, add, print into exactly nine bytes.
    {
        auto in_text = copy(text.get());
        int const res =
            label_plus_frames(out.get(), &kk, &ph, in_text.get(), kk_phase, phase, delta, lt, drop, upc, flags, t, e);
        check_print(res, out);
    }
    {
        auto in_text = copy(text.get());
        int const res = label_plus_time(out.get(), &kk, &ph, in_text.get(), kk_phase, phase, seconds, lt, drop, upc, m,
                                        t, e, flags);
        check_print(res, out);
    }
    // Null outputs are refused, never written through.
    FUZZ_CHECK(video_frames_to_timecode(frame, nullptr, lt, drop) == 0);
    FUZZ_CHECK(film_frames_to_filmtc(frame, nullptr) == 0);

    round_trips(frame, lt, drop, kk_phase, upc, flags);
    reference_reads(text.get(), lt, drop, kk_phase, upc);
    return 0;
}
