// A label point: one position on material in one label type, with its
// prefix (KeyKode and ink numbers), a scratch text its converter writes
// results into, and its own copy of the converter's template.
#ifndef LABELSBASE_LABELPOINT_H
#define LABELSBASE_LABELPOINT_H

#include <cstddef>

#include "labelsbase/LabelTemplate.h"
#include "labelsbase/labelcvt.h"

// Sizes of a label point's texts, terminator included: the prefix holds at
// most 20 characters, the result text at most 22 (label_point_text_room).
constexpr std::size_t label_point_prefix_size = 21;
constexpr std::size_t label_point_text_size = 23;
constexpr std::size_t label_point_text_room = label_point_text_size - 1;

class LabelPoint {
public:
    char prefix[label_point_prefix_size];      // at most 20 characters and a NUL
    mutable char text[label_point_text_size];  // results of string operations
    int sample;
    label_cvt* converter;   // shared registry converter or a caller's; never owned
    bool primary_template;  // true: full_template, false: count_template
    LabelTemplate label_template;

    LabelPoint(int sample, label_t type);
    LabelPoint(int sample, label_cvt* cvt);
    LabelPoint(LabelPoint const& other);
    LabelPoint& operator=(LabelPoint const& other);
    ~LabelPoint();

    void init();
    void set_type(label_t type);
    label_cvt* cvt() const { return converter; }

    char const* get_string();
    char const* get_keep_string();
    // The prefix (at most get_prefix_length() characters) copied into text.
    char const* get_prefix() const;
    // Hours, minutes, seconds and frames for timecode points; zeros otherwise.
    void get_hmsf(short& h, short& m, short& sec, short& f);

    // Same type: a new point of the sum (difference) on the left converter,
    // empty prefix, sample normalised; otherwise a copy of invalid_label_point.
    LabelPoint operator+(LabelPoint const& b) const;
    LabelPoint operator-(LabelPoint const& b) const;
    bool operator==(LabelPoint const& b) const;
    bool operator!=(LabelPoint const& b) const { return !(*this == b); }

    // Timecode points: a negative sample has one day added.
    void constrain_positive();
    // Between KeyKode types that differ only in their count digits.
    void modify_type(label_t type);
    // 4, 5 or 6 count digits within the point's KeyKode family.
    void modify_count_length(int digits);
    // Drops the template's sign column for a non-negative point.
    void removePadding();

private:
    void take_template();
    void clear_texts();
    void copy_prefix(char const* p);
};

// The invalid label point: sample 0 of label type 0. Usable from other
// units' static initialisers.
extern LabelPoint& invalid_label_point;

namespace lb {
// Constructs the library's static values on first use from any unit.
struct StaticsInit {
    StaticsInit();
    ~StaticsInit();
};
static StaticsInit const statics_init_instance;
}  // namespace lb

#endif
