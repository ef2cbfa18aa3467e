// Any 32-bit sample through every converter's display, perforation, keep
// and SMPTE writers and back through its readers. Every returned text must
// fit the label point's text; where the converter's rules promise a round
// trip (timecode within a day, KeyKode and ink numbers within a count
// period, feet within the printed range, film frames everywhere) the text
// must read back to the sample, less the perforations inside a frame that
// the text does not show.
#include <cstring>
#include <string>

#include <labelsbase/labelsbase.h>

#include "fuzz_converters.h"
#include "fuzz_reference.h"
#include "fuzz_util.h"

namespace {

constexpr size_t kTextSize = sizeof(LabelPoint::text);

bool special(int s) { return s == invalid_sample || s == past_end_sample || s == before_start_sample; }

char const* checked(char const* t) {
    FUZZ_CHECK(t != nullptr);
    FUZZ_CHECK(std::strlen(t) < kTextSize);
    return t;
}

// Timecode frames in 24 hours.
int day_of(label_cvt* cvt) { return cvt->type() == ntsc_drop_label_t ? 2589408 : cvt->get_modulus() * 86400; }

// The packed form (two digits per field, three frame digits at 120 and
// 240 fps) of a display text ' HH:MM:SS.FF': its digits in order.
std::string packed_of(char const* display) {
    std::string d;
    for (char const* p = display; *p; ++p)
        if (*p >= '0' && *p <= '9') d += *p;
    return d;
}

// The largest sample below which a text of these display flags shows every
// field the parser of the same flags reads: a whole day when hours are
// always printed, an hour when minutes are, a minute when seconds are.
// Drop-frame parses hours, minutes, seconds and frames whatever the flags.
int readable_span(label_cvt* cvt, int flags, int day) {
    bool const drop = cvt->type() == ntsc_drop_label_t;
    if (flags & timecode_label::show_hours) return day;
    if (drop) return 0;
    if (flags & timecode_label::show_minutes) return cvt->get_modulus() * 3600;
    if (flags & timecode_label::show_seconds) return cvt->get_modulus() * 60;
    return 0;
}

void timecode(label_cvt* cvt, LabelPoint& lp, int s, int flags) {
    int const day = day_of(cvt);
    bool const drop = cvt->type() == ntsc_drop_label_t;
    // Half-rate: two samples per timecode frame, and a text reads back as
    // the count of timecode frames. Drop-frame has no half-rate mode.
    bool const half = cvt->isSpecialSlowTC() && !drop;
    int const per_frame = half ? 2 : 1;
    int const span = readable_span(cvt, flags, day);
    int const tc_frames = s / per_frame;  // truncating, as the decomposition does
    // With a sign column every sample within the readable span on either
    // side of zero reads back (drop-frame reads every '-' text as 0, so only
    // its positive half).
    if (s >= 0 && s / per_frame < span) {
        std::string const text = checked(cvt->get_abs_string(&lp, s));
        FUZZ_CHECK(text[0] == ' ');
        FUZZ_CHECK(cvt->get_abs_sample(text.c_str()) == tc_frames);
        FUZZ_CHECK(cvt->get_keep_sample(text.c_str()) == tc_frames);
        if (flags & timecode_label::show_hours) {
            std::string const packed = packed_of(text.c_str());
            FUZZ_CHECK(packed.size() == (cvt->get_modulus() > 100 ? 9u : 8u));
            FUZZ_CHECK(cvt->get_abs_sample_from_packed_string(packed.c_str()) == tc_frames);
        }
    } else if (!drop && s < 0 && s / per_frame > -span) {
        std::string const text = checked(cvt->get_abs_string(&lp, s));
        FUZZ_CHECK(text[0] == '-');
        FUZZ_CHECK(cvt->get_abs_sample(text.c_str()) == tc_frames);
    }
    if (s >= 0 && s / per_frame < day) {
        // The SMPTE word holds two frame-tens bits, so it carries frame
        // numbers below 40; unpacking gives the plain count of the digits.
        unsigned word = cvt->get_abs_smpte_string(&lp, s);
        bool flag = !drop;
        int const unpacked = cvt->get_samples_from_SMPTETc(word, flag);
        if (cvt->get_modulus() <= 30) {
            FUZZ_CHECK(flag == drop);
            short h, m, sec, f;
            LabelPoint at(lp);
            at.sample = s;
            at.get_hmsf(h, m, sec, f);
            FUZZ_CHECK(unpacked == ((h * 60 + m) * 60 + sec) * cvt->get_modulus() + f);
            if (!drop) FUZZ_CHECK(unpacked == tc_frames);
        }
    }
    if (s < 0) FUZZ_CHECK(cvt->get_abs_smpte_string(&lp, s) == 0);
    int const n = cvt->normalise_sample_unit(s);
    FUZZ_CHECK(n >= 0 && n <= day);
}

int ten_to(int n) {
    int p = 1;
    while (n-- > 0) p *= 10;
    return p;
}

void keycode(label_cvt* cvt, LabelPoint& lp, int s) {
    int const spu = cvt->samples_per_unit();
    int const frames = cvt->get_modulus();
    int const counts = ten_to(cvt->get_count_length());  // max_count + 1
    int const period = cvt->normalise_sample_unit(s);
    FUZZ_CHECK(period >= 0);
    bool const three_perf = spu == 3;
    // Perforations per count interval of the geometry.
    int const interval = three_perf ? 64 : frames * spu;
    if (s < 0) {
        // Counts below zero print as such; 3-perf counts run two perforations ahead.
        if ((three_perf ? (s + 2) / 64 : s / interval) < 0)
            FUZZ_CHECK(std::strcmp(checked(cvt->get_abs_string(&lp, s)), "NEGATIVE") == 0);
        return;
    }
    std::string const text = checked(cvt->get_abs_string(&lp, s));
    std::string const keep = checked(cvt->get_keep_string(&lp, s));
    checked(cvt->get_abs_perfs_string(&lp, s));
    if (three_perf) {
        // Frame numbering runs two perforations ahead of the count.
        if (s <= counts * 64 - 3) {
            FUZZ_CHECK(cvt->get_keep_sample(keep.c_str()) == s);
            FUZZ_CHECK(cvt->get_abs_sample(text.c_str()) == s);
        }
        return;
    }
    if (s / interval < counts) {
        int const shown = s - (s % interval) % spu;
        FUZZ_CHECK(cvt->get_abs_sample(text.c_str()) == shown);
        FUZZ_CHECK(cvt->get_keep_sample(keep.c_str()) == shown);
        FUZZ_CHECK(cvt->get_abs_sample_from_packed_string(text.c_str()) == shown);
    }
}

void ink(label_cvt* cvt, LabelPoint& lp, int s) {
    int const spu = cvt->samples_per_unit();
    int const interval = cvt->get_modulus() * spu;
    std::string const text = checked(cvt->get_abs_string(&lp, s));
    checked(cvt->get_keep_string(&lp, s));
    // The ink reader takes a typed text of 12 or more characters as prefix
    // and last seven characters; a printed one has 11.
    if (s >= 0 && s / interval <= 9999 && text.size() == 11)
        FUZZ_CHECK(cvt->get_abs_sample(text.c_str()) == s - s % spu);
}

void feet(label_cvt* cvt, LabelPoint& lp, int s) {
    int const spu = cvt->samples_per_unit();
    std::string const text = checked(cvt->get_abs_string(&lp, s));
    checked(cvt->get_keep_string(&lp, s));
    if (s == INT32_MIN) return;
    int const a = s < 0 ? -s : s;
    int const back = cvt->get_abs_sample(text.c_str());
    if (spu == 3) {
        if (a <= 6399997) FUZZ_CHECK(back == s);
    } else if (a / spu < 100000 * cvt->get_modulus()) {  // below one wrap of the feet
        int const shown = a - a % spu;
        FUZZ_CHECK(back == (s < 0 ? -shown : shown));
    }
}

// The converter's texts against the rules printed with snprintf.
void same_bytes(label_cvt* cvt, LabelPoint& lp, int s, int flags) {
    // 50p and 60p converters set half-rate by configuration too.
    if (cvt->isSpecialSlowTC()) flags |= timecode_label::special_slow;
    std::string const prefix = checked(lp.get_prefix());
    std::string want, perfs;
    bool known = true;
    switch (cvt->UserType()) {
    case timecode_UserLabel: want = ref::timecode(cvt, lp, s, flags, known); break;
    case keycode_UserLabel:
        want = ref::keycode(cvt, prefix, s);
        perfs = ref::perfs(cvt, s);
        break;
    case ink_UserLabel: want = ref::ink(cvt, prefix, s); break;
    case feet_UserLabel: want = ref::feet(cvt, lp, s); break;
    case film_frames_UserLabel: want = ref::fmt("%.6d", s); break;
    default: return;
    }
    std::string const got = checked(cvt->get_abs_string(&lp, s));
    if (known && got != want)
        std::fprintf(stderr, "type %d flags %d sample %d: [%s], the rules print [%s]\n", static_cast<int>(cvt->type()),
                     flags, s, got.c_str(), want.c_str());
    if (known) FUZZ_CHECK(got == want);
    FUZZ_CHECK(got == checked(cvt->get_keep_string(&lp, s)));
    FUZZ_CHECK(perfs == checked(cvt->get_abs_perfs_string(&lp, s)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, size_t size) {
    FuzzInput in(data, size);
    auto const type = static_cast<label_t>(in.take<uint8_t>() % label_type_count);
    auto const how = in.take<uint8_t>();
    auto s = in.take<int>();
    auto const base = in.take<int>();
    auto word = in.take<unsigned>();
    auto const flag_byte = in.take<uint8_t>();
    auto const config = in.take<uint8_t>() % 4;
    auto prefix = in.rest();

    // Small samples are where the rules bend; reach them often.
    if (how & 1) s %= 10000000;

    // The registry's converter, or a timecode converter of any display
    // flags (a few out-of-range ones too) and 50p/60p configuration.
    int flags = 15;
    label_cvt* cvt = get_static_label_cvt(type);
    if (how & 16) {
        static constexpr int kOdd[] = {-1, 32, 255, 0x7fffffff, -0x7fffffff - 1, 47, 1 << 20, 63};
        int const f = flag_byte < 224 ? flag_byte % 32 : kOdd[flag_byte % 8];
        if (timecode_label* tc = fuzz_timecode_converter(type, f, config)) {
            cvt = tc;
            flags = f;
        }
    }
    LabelPoint lp(0, cvt);
    if (how & 2) cvt->set_prefix(&lp, prefix.get());
    lp.sample = base;

    // Every writer, absolute and relative, for any sample.
    checked(cvt->get_abs_string(&lp, s));
    checked(cvt->get_abs_perfs_string(&lp, s));
    checked(cvt->get_keep_string(&lp, s));
    (void)cvt->get_abs_smpte_string(&lp, s);
    checked(cvt->get_string(&lp, s));
    checked(cvt->get_perfs_string(&lp, s));
    (void)cvt->get_smpte_string(&lp, s);
    checked(cvt->get_invalid_string(&lp, s));
    bool drop = false;
    (void)cvt->get_samples_from_SMPTETc(word, drop);
    if (how & 4) (void)cvt->get_V2tc(s);  // prints an assertion line
    lp.sample = s;
    checked(lp.get_string());
    checked(lp.get_keep_string());
    checked(lp.get_prefix());
    short h, m, sec, f;
    lp.get_hmsf(h, m, sec, f);
    lp.constrain_positive();

    // Special samples print the template's forms.
    for (int sp : {invalid_sample, past_end_sample, before_start_sample}) checked(cvt->get_abs_string(&lp, sp));

    // Round trips where the rules promise them. The type check keeps them
    // to converters of the asked type (the fallback stands in for missing ones).
    if (special(s) || cvt->type() != type) return 0;
    same_bytes(cvt, lp, s, flags);
    switch (cvt->UserType()) {
    case timecode_UserLabel: timecode(cvt, lp, s, flags); break;
    case keycode_UserLabel: keycode(cvt, lp, s); break;
    case ink_UserLabel: ink(cvt, lp, s); break;
    case feet_UserLabel: feet(cvt, lp, s); break;
    case film_frames_UserLabel: {
        std::string const text = checked(cvt->get_abs_string(&lp, s));
        FUZZ_CHECK(cvt->get_abs_sample(text.c_str()) == s);
        break;
    }
    default: break;
    }

    // Without the sign column every writer still fits (a negative timecode
    // only prints an assertion line).
    if (how & 8) {
        lp.sample = base < 0 ? -(base + 1) : base;
        lp.removePadding();
        checked(cvt->get_abs_string(&lp, s));
        checked(cvt->get_keep_string(&lp, s));
        same_bytes(cvt, lp, s, flags);
    }
    return 0;
}
