// An independent model of timecode texts for the timecode suites: the
// facts of each rate written out again, the textbook drop-frame
// decomposition, and texts built with snprintf from the fields.
#ifndef LABELSBASE_TESTS_TIMECODE_REFERENCE_H
#define LABELSBASE_TESTS_TIMECODE_REFERENCE_H

#include <climits>
#include <cstdio>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include <labelsbase/labelsbase.h>

namespace tcref {

struct Rate {
    label_t type;
    char const* name;
    int modulus;
    char separator;
    int day;
    char const* templ;
    int frame_digits;
    char const* negative_where;
};

inline void PrintTo(Rate const& r, std::ostream* os) { *os << r.name; }

inline std::vector<Rate> const& rates() {
    static std::vector<Rate> const r = {
        {pal_label_t, "pal_label", 25, '.', 2160000, "-29.59.59.29", 2, "labelsbase/labelcvt line 1000"},
        {ntsc_label_t, "ntsc_label", 30, '.', 2592000, "-29.59.59.29", 2, "labelsbase/labelcvt line 1000"},
        {ntsc_drop_label_t, "ntsc_drop_label", 30, ';', 2589408, "-29.59.59.29", 2, "labelsbase/labelcvt line 1000"},
        {tc_24_label_t, "tc_24_label", 24, '+', 2073600, "-29.59.59.29", 2, "labelsbase/labelcvt line 1000"},
        {tc_48_label_t, "tc_48_label", 48, '+', 4147200, "-29.59.59.49", 2, "labelsbase/labelcvt line 1000"},
        {tc_50_label_t, "tc_50_label", 50, '.', 4320000, "-29.59.59.49", 2, "labelsbase/labelcvt line 1000"},
        {tc_60_label_t, "tc_60_label", 60, '.', 5184000, "-29.59.59.59", 2, "labelsbase/labelcvt line 1000"},
        {tc_50_duration_label_t, "tc_50_duration_label", 50, '.', 4320000, "-29.59.59.49", 2, "labelsbase/labelcvt line 1000"},
        {tc_60_duration_label_t, "tc_60_duration_label", 60, '.', 5184000, "-29.59.59.59", 2, "labelsbase/labelcvt line 1000"},
        {tc_12_label_t, "tc_12_label", 12, '.', 1036800, "-29.59.59.19", 2, "labelsbase/labelcvt line 1000"},
        {tc_15_label_t, "tc_15_label", 15, '.', 1296000, "-29.59.59.19", 2, "labelsbase/labelcvt line 1000"},
        {tc_20_label_t, "tc_20_label", 20, '.', 1728000, "-29.59.59.19", 2, "labelsbase/labelcvt line 1000"},
        {tc_80_label_t, "tc_80_label", 80, '.', 6912000, "-29.59.59.79", 2, "labelsbase/labelcvt line 1000"},
        {tc_90_label_t, "tc_90_label", 90, '.', 7776000, "-29.59.59.89", 2, "labelsbase/labelcvt line 1000"},
        {tc_100_label_t, "tc_100_label", 100, '.', 8640000, "-29.59.59.99", 2, "labelsbase/labelcvt line 1000"},
        {tc_120_label_t, "tc_120_label", 120, '.', 10368000, "-29.59.59.199", 3, "labelsbase/labelcvt line 1079"},
        {tc_240_label_t, "tc_240_label", 240, '.', 20736000, "-29.59.59.299", 3, "labelsbase/labelcvt line 1160"},
    };
    return r;
}

// A converter of the type with the given flags, through the leaf constructors.
inline std::unique_ptr<timecode_label> make(label_t t, int flags) {
    switch (t) {
        case pal_label_t: return std::make_unique<pal_label>(flags);
        case ntsc_label_t: return std::make_unique<ntsc_label>(flags);
        case ntsc_drop_label_t: return std::make_unique<ntsc_drop_label>(flags);
        case tc_24_label_t: return std::make_unique<tc_24_label>(flags);
        case tc_48_label_t: return std::make_unique<tc_48_label>(flags);
        case tc_50_label_t: return std::make_unique<tc_50_label>(flags);
        case tc_60_label_t: return std::make_unique<tc_60_label>(flags);
        case tc_50_duration_label_t: return std::make_unique<tc_50_duration_label>(flags);
        case tc_60_duration_label_t: return std::make_unique<tc_60_duration_label>(flags);
        case tc_12_label_t: return std::make_unique<tc_12_label>(flags);
        case tc_15_label_t: return std::make_unique<tc_15_label>(flags);
        case tc_20_label_t: return std::make_unique<tc_20_label>(flags);
        case tc_80_label_t: return std::make_unique<tc_80_label>(flags);
        case tc_90_label_t: return std::make_unique<tc_90_label>(flags);
        case tc_100_label_t: return std::make_unique<tc_100_label>(flags);
        case tc_120_label_t: return std::make_unique<tc_120_label>(flags);
        case tc_240_label_t: return std::make_unique<tc_240_label>(flags);
        default: return nullptr;
    }
}

struct Hmsf {
    int h, m, s, f;
    bool odd;
};

// Time of day of s: half-rate pairs first, then the day wrap as a true
// remainder (one day added from minus one day up, which is the same), then
// either plain division or the textbook drop-frame count (add 18 frame
// numbers per ten minutes and 2 per dropped minute, then count at 30).
inline Hmsf decompose(Rate const& r, int modulus, int day, bool half_rate, int s) {
    Hmsf out{};
    long long v = s;
    if (half_rate && r.type != ntsc_drop_label_t) {
        out.odd = (static_cast<unsigned>(s) & 1u) != 0;
        v = s / 2;
    }
    v = ((v % day) + day) % day;
    if (r.type == ntsc_drop_label_t) {
        long long const d = v / 17982, rem = v % 17982;
        long long const n = v + 18 * d + (rem < 2 ? 0 : 2 * ((rem - 2) / 1798));
        out.f = static_cast<int>(n % 30);
        out.s = static_cast<int>(n / 30 % 60);
        out.m = static_cast<int>(n / 1800 % 60);
        out.h = static_cast<int>(n / 108000);
    } else {
        out.h = static_cast<int>(v / (modulus * 3600LL));
        out.m = static_cast<int>(v / (modulus * 60LL) % 60);
        out.s = static_cast<int>(v / modulus % 60);
        out.f = static_cast<int>(v % modulus);
    }
    return out;
}

// The template with every letter, digit, '+', '-' and '?' replaced by fill.
inline std::string invalid_form(std::string t, char fill) {
    for (char& c : t)
        if ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '?' || (c >= 'A' && c <= 'Z') ||
            (c >= 'a' && c <= 'z'))
            c = fill;
    return t;
}

// The display text, assembled from "%c", "%02d", "%d", "%02d"/"%03d" pieces.
inline std::string text(Rate const& r, int modulus, int day, int flags, bool sign_column, int s) {
    if (s == invalid_sample) return invalid_form(r.templ, '?');
    if (s == past_end_sample) return invalid_form(r.templ, '>');
    if (s == before_start_sample) return invalid_form(r.templ, '<');
    char buf[64];
    int n = 0;
    if (sign_column) {
        n += std::snprintf(buf + n, sizeof buf - n, "%c", s < 0 ? '-' : ' ');
        // The magnitude of INT_MIN is not an int: it stays INT_MIN.
        if (s < 0 && s != INT_MIN) s = -s;
    }
    bool const half = (flags & 16) != 0;
    Hmsf const t = decompose(r, modulus, day, half, s);
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
