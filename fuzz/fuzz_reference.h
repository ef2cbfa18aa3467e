// Display texts as the conversion rules state them, printed with the C
// library's snprintf and the formats the rules quote. The converters print
// with direct digit code; the format target checks they give the same bytes
// for any sample.
#ifndef LABELSBASE_FUZZ_REFERENCE_H
#define LABELSBASE_FUZZ_REFERENCE_H

#include <climits>
#include <cstdarg>
#include <cstdio>
#include <string>

#include <labelsbase/labelsbase.h>

namespace ref {

inline std::string fmt(char const* f, ...) __attribute__((format(printf, 1, 2)));
inline std::string fmt(char const* f, ...) {
    char buf[128];
    va_list ap;
    va_start(ap, f);
    std::vsnprintf(buf, sizeof buf, f, ap);
    va_end(ap);
    return buf;
}

inline int wadd(int a, int b) { return static_cast<int>(static_cast<unsigned>(a) + static_cast<unsigned>(b)); }

// Timecode: sign column, then the fields the display flags and the values
// call for. `known` is false where the rules leave the digits open (below
// minus one day without a sign column, and INT_MIN, which has no magnitude).
inline std::string timecode(label_cvt* cvt, LabelPoint const& lp, int s, int flags, bool& known) {
    known = true;
    bool const drop = cvt->type() == ntsc_drop_label_t;
    int const modulus = cvt->get_modulus();
    int const day = drop ? 2589408 : modulus * 86400;
    std::string out;
    if (lp.label_template.template_text.c_str()[0] == '-') {
        out += s < 0 ? '-' : ' ';
        if (s == INT_MIN)
            known = false;
        else if (s < 0)
            s = -s;
    } else if (s < -day) {
        known = false;
    }
    if (!known) return out;
    bool odd = false;
    bool const slow = flags & timecode_label::special_slow;
    int h, m, sec, f;
    if (!drop) {
        if (slow) {
            odd = s & 1;
            s /= 2;
        }
        if (s < 0) s += day;
        if (s >= day) s %= day;
        h = s / (modulus * 3600);
        m = s / (modulus * 60) % 60;
        sec = s / modulus % 60;
        f = s % modulus;
    } else {
        if (s < 0) s += day;
        if (s >= day) s %= day;
        h = s / 107892;
        int const r = s % 107892;
        int const tens = r / 17982;
        int const q = r % 17982 - 1800;
        int units, g;
        if (q < 0) {
            units = 0;
            g = q + 1800;
        } else {
            units = q / 1798 + 1;
            g = q % 1798;
        }
        m = tens * 10 + units;
        if (units == 0) {
            sec = g / 30;
            f = g % 30;
        } else if (g < 28) {
            sec = 0;
            f = g + 2;
        } else {
            sec = 1 + (g - 28) / 30;
            f = (g - 28) % 30;
        }
    }
    bool const show_h = flags & timecode_label::show_hours;
    bool const show_m = flags & timecode_label::show_minutes;
    bool const show_s = flags & timecode_label::show_seconds;
    bool const show_f = flags & timecode_label::show_frames;
    if (show_h || h >= 10) out += fmt("%d", h / 10 % 10);
    bool const hours = show_h || h > 0;
    if (hours) out += fmt("%d:", h % 10);
    bool minutes;
    if (hours) {
        out += fmt("%02d:", m);
        minutes = true;
    } else {
        if (show_m || m >= 10) out += fmt("%d", m / 10);
        minutes = show_m || m > 0;
        if (minutes) out += fmt("%d:", m % 10);
    }
    bool seconds;
    if (minutes) {
        out += fmt("%02d", sec);
        seconds = true;
    } else {
        if (show_s || sec >= 10) out += fmt("%d", sec / 10);
        seconds = show_s || sec > 0;
        if (seconds) out += fmt("%d", sec % 10);
    }
    char const sep = slow ? (odd ? ':' : '.') : cvt->getFrameSeparator();
    if (seconds || show_f) out += fmt(modulus > 100 ? "%c%03d" : "%c%02d", sep, f);
    return out;
}

// KeyKode and ink numbers: prefix, count of count_len digits, separator,
// two frame digits ("%s%0*d%c%02d"); "NEGATIVE" below the first count; one
// wrap above the last. 3-perf KeyKode adds the perforation index
// ("%s%0*d+%02d.%d").
inline std::string counted(label_cvt* cvt, std::string const& prefix, int count, int frame, char sep, int perf = -1) {
    if (count < 0) return "NEGATIVE";
    int max_count = 1;
    for (int i = 0; i < cvt->get_count_length(); ++i) max_count *= 10;
    --max_count;
    if (count > max_count) count -= max_count + 1;
    if (perf >= 0) return fmt("%s%0*d+%02d.%d", prefix.c_str(), cvt->get_count_length(), count, frame, perf + 1);
    return fmt("%s%0*d%c%02d", prefix.c_str(), cvt->get_count_length(), count, sep, frame);
}

inline std::string keycode(label_cvt* cvt, std::string const& prefix, int s) {
    int const spu = cvt->samples_per_unit();
    if (spu == 3) {  // 3-perf: frame numbering two perforations ahead
        int const t = wadd(s, 2);
        int const r = t % 64;
        return counted(cvt, prefix, t / 64, r / 3, '+', 2 - r % 3);
    }
    int const interval = cvt->get_modulus() * spu;
    return counted(cvt, prefix, s / interval, s % interval / spu, cvt->getFrameSeparator());
}

// Perforations past the start of the KeyKode interval, "%02d".
inline std::string perfs(label_cvt* cvt, int s) {
    int const spu = cvt->samples_per_unit();
    return fmt("%02d", s % (spu == 3 ? 64 : cvt->get_modulus() * spu));
}

inline std::string ink(label_cvt* cvt, std::string const& prefix, int s) {
    int const f = s / cvt->samples_per_unit();
    return counted(cvt, prefix, f / cvt->get_modulus(), f % cvt->get_modulus(), '+');
}

inline std::string feet(label_cvt* cvt, LabelPoint const& lp, int s) {
    unsigned const a = s < 0 ? 0u - static_cast<unsigned>(s) : static_cast<unsigned>(s);
    unsigned const modulus = static_cast<unsigned>(cvt->get_modulus());
    char const sign = s < 0 ? '-' : ' ';
    if (cvt->samples_per_unit() == 3) {
        unsigned const t = a + 2;
        unsigned count = t / 64;
        unsigned const r = t % 64;
        if (count > 100000) count -= 100000;
        return fmt("%c%0*u+%02u.%u", sign, 4, count, r / 3, 2 - r % 3 + 1);
    }
    unsigned f = a / static_cast<unsigned>(cvt->samples_per_unit());
    unsigned const wrap = 100000 * modulus;
    if (f >= wrap) f -= wrap;
    if (lp.label_template.template_text.c_str()[0] == '-') return fmt("%c%0*u+%02u", sign, 4, f / modulus, f % modulus);
    return fmt("%0*u+%02u", 4, f / modulus, f % modulus);
}

}  // namespace ref

#endif
