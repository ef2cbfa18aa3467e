// An independent model of timecode texts: each rate's facts, the textbook
// drop-frame count, display texts assembled with snprintf and SMPTE words.
#ifndef LABELSBASE_TESTS_TIMECODE_REFERENCE_H
#define LABELSBASE_TESTS_TIMECODE_REFERENCE_H

#include <cctype>
#include <climits>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <labelsbase/labelsbase.h>

namespace tcref {

inline bool special(int s) { return s == invalid_sample || s == past_end_sample || s == before_start_sample; }

// A converter derived from a leaf without changing anything: it takes the
// general way through the virtual steps where the leaf class itself takes
// its own routines, so both must give the same. Exposes the parsed fields.
template <class Leaf>
struct Derived : Leaf {
    explicit Derived(int flags) : Leaf(flags) {}
    bool fields_are(int h, int m, int s, int f) const {
        return this->hours == h && this->minutes == m && this->seconds == s && this->frames == f;
    }
};

using Make = std::unique_ptr<timecode_label> (*)(int flags);

struct Rate {
    label_t type;
    char const* name;
    int modulus;
    char separator;
    char const* templ;
    int frame_digits;
    int negative_line;  // where "abs_sample >= 0" is reported
    Make make, make_derived;
    int day() const { return type == ntsc_drop_label_t ? 2589408 : modulus * 86400; }
};

#define TCREF_ROW(cls, modulus, sep, templ, digits, line)                                              \
    {                                                                                                  \
        cls##_t, #cls, modulus, sep, templ, digits, line,                                              \
            [](int f) -> std::unique_ptr<timecode_label> { return std::make_unique<cls>(f); },         \
            [](int f) -> std::unique_ptr<timecode_label> { return std::make_unique<Derived<cls>>(f); } \
    }

inline std::vector<Rate> const& rates() {
    static std::vector<Rate> const r = {
        TCREF_ROW(pal_label, 25, '.', "-29.59.59.29", 2, 1000),
        TCREF_ROW(ntsc_label, 30, '.', "-29.59.59.29", 2, 1000),
        TCREF_ROW(ntsc_drop_label, 30, ';', "-29.59.59.29", 2, 1000),
        TCREF_ROW(tc_24_label, 24, '+', "-29.59.59.29", 2, 1000),
        TCREF_ROW(tc_48_label, 48, '+', "-29.59.59.49", 2, 1000),
        TCREF_ROW(tc_50_label, 50, '.', "-29.59.59.49", 2, 1000),
        TCREF_ROW(tc_60_label, 60, '.', "-29.59.59.59", 2, 1000),
        TCREF_ROW(tc_50_duration_label, 50, '.', "-29.59.59.49", 2, 1000),
        TCREF_ROW(tc_60_duration_label, 60, '.', "-29.59.59.59", 2, 1000),
        TCREF_ROW(tc_12_label, 12, '.', "-29.59.59.19", 2, 1000),
        TCREF_ROW(tc_15_label, 15, '.', "-29.59.59.19", 2, 1000),
        TCREF_ROW(tc_20_label, 20, '.', "-29.59.59.19", 2, 1000),
        TCREF_ROW(tc_80_label, 80, '.', "-29.59.59.79", 2, 1000),
        TCREF_ROW(tc_90_label, 90, '.', "-29.59.59.89", 2, 1000),
        TCREF_ROW(tc_100_label, 100, '.', "-29.59.59.99", 2, 1000),
        TCREF_ROW(tc_120_label, 120, '.', "-29.59.59.199", 3, 1079),
        TCREF_ROW(tc_240_label, 240, '.', "-29.59.59.299", 3, 1160),
    };
    return r;
}
#undef TCREF_ROW

struct Hmsf {
    int h, m, s, f;
    bool odd;
};

// Time of day of s: half-rate pairs first, then the day wrap as a true
// remainder, then plain division or the textbook drop-frame count (18 frame
// numbers skipped per ten minutes, 2 per dropped minute).
inline Hmsf decompose(Rate const& r, bool half_rate, int s) {
    Hmsf out{};
    long long v = s;
    if (half_rate && r.type != ntsc_drop_label_t) {
        out.odd = (static_cast<unsigned>(s) & 1u) != 0;
        v = s / 2;
    }
    long long const day = r.day();
    v = ((v % day) + day) % day;
    if (r.type == ntsc_drop_label_t) {
        long long const d = v / 17982, rem = v % 17982;
        v += 18 * d + (rem < 2 ? 0 : 2 * ((rem - 2) / 1798));
    }
    long long const m = r.type == ntsc_drop_label_t ? 30 : r.modulus;
    out.f = static_cast<int>(v % m);
    out.s = static_cast<int>(v / m % 60);
    out.m = static_cast<int>(v / (m * 60) % 60);
    out.h = static_cast<int>(v / (m * 3600));
    return out;
}

// The SMPTE word: 0 for negative and special samples; else each field's
// tens and units OR-ed into place (frame tens unmasked), bit 6 at drop-frame.
inline unsigned smpte(Rate const& r, bool half_rate, int s) {
    if (s < 0 || special(s)) return 0;
    Hmsf const t = decompose(r, half_rate, s);
    unsigned w = r.type == ntsc_drop_label_t ? 0x40u : 0u;
    int const shift[4] = {24, 16, 8, 0}, value[4] = {t.h, t.m, t.s, t.f};
    for (int i = 0; i < 4; ++i)
        w |= (unsigned(value[i] / 10) << (shift[i] + 4)) | (unsigned(value[i] % 10) << shift[i]);
    return w;
}

// The template with every letter, digit, '+', '-' and '?' replaced by fill.
inline std::string invalid_form(std::string t, char fill) {
    for (char& c : t)
        if (std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '?') c = fill;
    return t;
}

// The display text, assembled from "%c", "%02d", "%d", "%02d"/"%03d" pieces.
inline std::string text(Rate const& r, int flags, bool sign_column, int s) {
    if (special(s)) return invalid_form(r.templ, s == past_end_sample ? '>' : s == before_start_sample ? '<' : '?');
    char buf[64];
    int n = 0;
    if (sign_column) {
        n += std::snprintf(buf + n, sizeof buf - n, "%c", s < 0 ? '-' : ' ');
        if (s < 0 && s != INT_MIN) s = -s;  // the magnitude of INT_MIN stays INT_MIN
    }
    bool const half = (flags & 16) != 0;
    Hmsf const t = decompose(r, half, s);
    bool const hs = (flags & 1) || t.h > 0;
    if (hs) n += std::snprintf(buf + n, sizeof buf - n, ((flags & 1) || t.h >= 10) ? "%02d:" : "%d:", t.h);
    bool const ms = hs || (flags & 2) || t.m > 0;
    if (ms) n += std::snprintf(buf + n, sizeof buf - n, (hs || (flags & 2) || t.m >= 10) ? "%02d:" : "%d:", t.m);
    bool const ss = ms || (flags & 4) || t.s > 0;
    if (ss) n += std::snprintf(buf + n, sizeof buf - n, (ms || (flags & 4) || t.s >= 10) ? "%02d" : "%d", t.s);
    if (ss || (flags & 8)) {
        char const sep = half ? (t.odd ? ':' : '.') : r.separator;
        n += std::snprintf(buf + n, sizeof buf - n, r.frame_digits == 3 ? "%c%03d" : "%c%02d", sep, t.f);
    }
    return std::string(buf, static_cast<std::size_t>(n));
}

}  // namespace tcref

#endif
