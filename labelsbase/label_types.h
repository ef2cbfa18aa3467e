// The label types, the categories users pick labels by, the special samples
// and the label-type catalogue: the vocabulary of labels without the
// converters, so a header that only names a type need not pull in every
// converter class.
#ifndef LABELSBASE_LABEL_TYPES_H
#define LABELSBASE_LABEL_TYPES_H

#include <cstdint>

#include <host/host.h>

// Special samples. A parser returns invalid_sample for a text it cannot
// read; formatters print the template's '?', '>' and '<' forms for the
// three of them.
constexpr int invalid_sample = -100000000;
constexpr int past_end_sample = 100000001;
constexpr int before_start_sample = 100000002;

// The label types; each value is named after its converter class.
enum label_t : std::int32_t {
    prefix_label_t = 0,
    label_cvt_t = 1,
    variable_label_t = 2,
    dummy_label_t = 3,
    timecode_label_t = 4,
    pal_label_t = 5,
    ntsc_label_t = 6,
    ntsc_drop_label_t = 7,
    tc_24_label_t = 8,
    keycode_label_t = 9,
    keycode_35_label_t = 10,
    keycode_16_label_t = 11,
    keycode_353_label_t = 12,
    foot_label_t = 13,
    foot_35_label_t = 14,
    foot_16_label_t = 15,
    foot_353_label_t = 16,
    ink_label_t = 17,
    ink_35_label_t = 18,
    ink_16_label_t = 19,
    tc_48_label_t = 20,
    keycode_35_label_4_t = 21,
    keycode_35_label_5_t = 22,
    keycode_35_label_6_t = 23,
    keycode_16_label_4_t = 24,
    keycode_16_label_5_t = 25,
    keycode_16_label_6_t = 26,
    keycode_353_label_4_t = 27,
    keycode_353_label_5_t = 28,
    keycode_353_label_6_t = 29,
    film_frames_label_t = 30,
    tc_50_label_t = 31,
    tc_60_label_t = 32,
    keycode_352_label_t = 33,
    keycode_358_label_t = 34,
    keycode_655_80_label_t = 35,
    keycode_658_80_label_t = 36,
    keycode_6510_80_label_t = 37,
    keycode_655_120_label_t = 38,
    keycode_658_120_label_t = 39,
    keycode_6510_120_label_t = 40,
    keycode_6515_120_label_t = 41,
    tc_50_duration_label_t = 42,
    tc_60_duration_label_t = 43,
    tc_12_label_t = 44,
    tc_15_label_t = 45,
    tc_20_label_t = 46,
    tc_80_label_t = 47,
    tc_90_label_t = 48,
    tc_100_label_t = 49,
    tc_120_label_t = 50,
    tc_240_label_t = 51
};

// The category a user picks labels by.
enum UserLabelType : std::int32_t {
    none_UserLabel = 0,
    any_UserLabel = 1,  // wildcard
    text_UserLabel = 2,
    timecode_UserLabel = 3,
    keycode_UserLabel = 4,
    feet_UserLabel = 5,
    ink_UserLabel = 6,
    film_frames_UserLabel = 7
};

// True if a or b is the wildcard; else false if either is none; else a == b.
bool UserType_matches(UserLabelType a, UserLabelType b);

// One row of the label-type catalogue.
struct LabelTypeInfo {
    label_t type;
    char const* enumerator;  // "pal_label_t"
    char const* class_name;  // "pal_label" (the base name for types without a leaf)
    bool has_converter;      // false: the registry holds the fallback
    UserLabelType category;  // UserType of the registry converter
    char const* unit;        // "frame", "perforation" or "" (no position)
    int modulus;             // of the registry converter (default configuration)
    int samples_per_unit;
    char const* edl_primary;      // read by edlstr_to_label_type, or null
    char const* edl_alternative;  // second name read, or null
    char const* edl_written;      // label_type_to_edlstr
    Kest::FrameRate tv_std;       // rate of the timecode standard (label_type_to_TvStd); 0: none
};
// The catalogue row of t; the row of prefix_label_t for t outside 0..51.
LabelTypeInfo const& label_type_info(label_t t);
constexpr int label_type_count = tc_240_label_t + 1;

#endif
