// Lookups between label types, EDL names, frame rates and timecode
// standards. They read the catalogue and the tables below; none touches the
// converter registry.
#include <cstring>

#include "detail/internal.h"
#include "labelsbase/labelcvt.h"
#include "labelsbase/vocabulary.h"

namespace {

// Film lookups, rows 10..41: KeyKode type kept by edlstr_to_film_label_type,
// KeyKode, ink and feet types of the same gauge (0: none).
struct FilmRow {
    label_t film, key, ink, foot;
};
constexpr label_t k0 = prefix_label_t;
constexpr FilmRow kFilm[] = {
    /* 10 */ {keycode_35_label_t, keycode_35_label_t, ink_35_label_t, foot_35_label_t},
    /* 11 */ {keycode_16_label_t, keycode_16_label_t, ink_16_label_t, foot_16_label_t},
    /* 12 */ {keycode_353_label_t, keycode_353_label_t, ink_35_label_t, foot_353_label_t},
    /* 13 */ {k0, keycode_35_label_t, ink_35_label_t, k0},
    /* 14 */ {k0, keycode_35_label_t, ink_35_label_t, foot_35_label_t},
    /* 15 */ {k0, keycode_16_label_t, ink_16_label_t, foot_16_label_t},
    /* 16 */ {k0, keycode_353_label_t, k0, foot_353_label_t},
    /* 17 */ {k0, k0, k0, foot_35_label_t},
    /* 18 */ {k0, keycode_35_label_t, ink_35_label_t, foot_35_label_t},
    /* 19 */ {k0, keycode_16_label_t, ink_16_label_t, foot_16_label_t},
    /* 20 */ {k0, k0, k0, k0},
    /* 21 */ {keycode_35_label_4_t, keycode_35_label_4_t, ink_35_label_t, foot_35_label_t},
    /* 22 */ {keycode_35_label_5_t, keycode_35_label_5_t, ink_35_label_t, foot_35_label_t},
    /* 23 */ {keycode_35_label_6_t, keycode_35_label_6_t, ink_35_label_t, foot_35_label_t},
    /* 24 */ {keycode_16_label_4_t, keycode_16_label_4_t, ink_16_label_t, foot_16_label_t},
    /* 25 */ {keycode_16_label_5_t, keycode_16_label_5_t, ink_16_label_t, foot_16_label_t},
    /* 26 */ {keycode_16_label_6_t, keycode_16_label_6_t, ink_16_label_t, foot_16_label_t},
    /* 27 */ {keycode_353_label_4_t, keycode_353_label_4_t, ink_35_label_t, foot_353_label_t},
    /* 28 */ {keycode_353_label_5_t, keycode_353_label_5_t, ink_35_label_t, foot_353_label_t},
    /* 29 */ {keycode_353_label_6_t, keycode_353_label_6_t, ink_35_label_t, foot_353_label_t},
    /* 30 */ {k0, k0, k0, k0},
    /* 31 */ {k0, k0, k0, k0},
    /* 32 */ {k0, k0, k0, k0},
    /* 33 */ {keycode_352_label_t, keycode_352_label_t, k0, k0},
    /* 34 */ {keycode_358_label_t, keycode_358_label_t, k0, k0},
    /* 35 */ {keycode_655_80_label_t, keycode_655_80_label_t, k0, k0},
    /* 36 */ {keycode_658_80_label_t, keycode_658_80_label_t, k0, k0},
    /* 37 */ {keycode_6510_80_label_t, keycode_6510_80_label_t, k0, k0},
    /* 38 */ {keycode_655_120_label_t, keycode_655_120_label_t, k0, k0},
    /* 39 */ {keycode_658_120_label_t, keycode_658_120_label_t, k0, k0},
    /* 40 */ {keycode_6510_120_label_t, keycode_6510_120_label_t, k0, k0},
    /* 41 */ {keycode_6515_120_label_t, keycode_6515_120_label_t, k0, k0},
};
constexpr int kFilmFirst = keycode_35_label_t;
constexpr int kFilmLast = keycode_6515_120_label_t;
static_assert(sizeof(kFilm) / sizeof(kFilm[0]) == kFilmLast - kFilmFirst + 1, "one row per film lookup type");

FilmRow const* film_row(label_t t, int last) {
    int const i = static_cast<int>(t);
    return (i >= kFilmFirst && i <= last) ? &kFilm[i - kFilmFirst] : nullptr;
}

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

// Rates without a standard of their own (and values outside 0..47) take
// NTSC timecode, drop-frame or not as the project says.
label_t TvStd_to_label_type(TCInf const& t) {
    label_t const l = lb::rate_row(t.rate).tv_std_type;
    if (l != prefix_label_t) return l;
    return t.drop_frame ? ntsc_drop_label_t : ntsc_label_t;
}

TCInf label_type_to_TvStd(label_t t) {
    Kest::FrameRate const r = label_type_info(t).tv_std;
    return TCInf{r, r != Kest::FrameRate_none && t == ntsc_drop_label_t};
}

// Values outside 0..47 read the row of "no rate": 24 fps, tc_24_label_t.
double getDefaultTimecodeFrameRate(Kest::FrameRate r) {
    lb::RateRow const& row = lb::rate_row(r);
    return row.tc_1001 ? row.tc_whole / 1.001 : row.tc_whole;
}

label_t getDefaultLabelTypeforFrameRate(Kest::FrameRate r) { return lb::rate_row(r).default_type; }

label_t getDefaultLabelTypeForProject() {
    TCInf const t{Kest::CurrentProject::getFrameRate(0), Kest::CurrentProject::getUseDropFrameTimecode()};
    return TvStd_to_label_type(t);
}

label_t edlstr_to_label_type(char const* s) {
    if (!s || !*s) return prefix_label_t;
    char key[12];
    int n = 0;
    while (n < 11 && s[n] && !lb::is_space(s[n])) {
        key[n] = upper(s[n]);
        ++n;
    }
    key[n] = '\0';
    if (n == 0) return prefix_label_t;
    for (int t = pal_label_t; t < label_type_count; ++t) {
        char const* name = label_type_info(static_cast<label_t>(t)).edl_primary;
        if (name && std::strcmp(key, name) == 0) return static_cast<label_t>(t);
    }
    for (int t = pal_label_t; t <= tc_60_label_t; ++t) {
        char const* name = label_type_info(static_cast<label_t>(t)).edl_alternative;
        if (name && std::strcmp(key, name) == 0) return static_cast<label_t>(t);
    }
    return prefix_label_t;
}

label_t edlstr_to_film_label_type(char const* s) {
    FilmRow const* row = film_row(edlstr_to_label_type(s), kFilmLast);
    return row ? row->film : prefix_label_t;
}

label_t edlstr_to_label_type(char const* s, UserLabelType u) {
    label_t const t = edlstr_to_label_type(s);
    switch (u) {
    case ink_UserLabel: return label_t_to_ink_label_t(t);
    case feet_UserLabel: return label_t_to_foot_label_t(t);
    case keycode_UserLabel: return label_t_to_key_label_t(t);
    default: return prefix_label_t;
    }
}

char const* label_type_to_edlstr(label_t t) {
    int const i = static_cast<int>(t);
    if (i < pal_label_t || i > tc_240_label_t) return "BAD";
    return label_type_info(t).edl_written;
}

label_t label_t_to_key_label_t(label_t t) {
    FilmRow const* row = film_row(t, kFilmLast);
    return row ? row->key : prefix_label_t;
}

label_t label_t_to_ink_label_t(label_t t) {
    FilmRow const* row = film_row(t, keycode_353_label_6_t);
    return row ? row->ink : prefix_label_t;
}

label_t label_t_to_foot_label_t(label_t t) {
    FilmRow const* row = film_row(t, keycode_353_label_6_t);
    return row ? row->foot : prefix_label_t;
}

label_t label_t_to_duration_label_t(label_t t) {
    if (t == tc_50_label_t) return tc_50_duration_label_t;
    if (t == tc_60_label_t) return tc_60_duration_label_t;
    bool const is1001 = Kest::has1001Factor(Kest::CurrentProject::getOutputImageKESTFrameRate());
    if (is1001 && t == ntsc_label_t) return ntsc_drop_label_t;
    if (!is1001 && t == ntsc_drop_label_t) return ntsc_label_t;
    return t;
}

double get_vid_fps(label_t t) {
    if (t == pal_label_t) return Kest::getFramesPerSecond(Kest::FrameRate_25);
    if (t == ntsc_label_t || t == ntsc_drop_label_t) return Kest::getFramesPerSecond(Kest::FrameRate_29_97);
    return 1.0;
}
