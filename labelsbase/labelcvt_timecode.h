// Timecode converters (declared through labelcvt.h).
//
// A timecode sample is one frame at the converter's counting rate (its
// modulus per second); timecode wraps at 24 hours, so every decomposition
// reduces the sample into one day. `timecode_label` holds the whole
// algorithm; the leaves differ only in their row of the rate table in
// labelcvt_timecode.cpp (rate, frame separator, day length, template, frame
// digits), except `ntsc_drop_label`, which replaces decomposition, composition
// and parsing with the drop-frame rule.
//
// Texts: sign column (when the label point's own template starts with '-'),
// then "HH:MM:SS", the frame separator and "FF" ("FFF" at 120 and 240 fps),
// with leading fields left out unless the display flags force them. Parsing
// follows the C library's formatted input of "%d:%d:%d%c%d" (fewer fields
// when the flags show fewer), read by direct code.
//
// Edge cases:
// - A sample below minus one day (only reachable on a point without a sign
//   column) is reduced into the day with a true remainder, so its digits
//   are those of the same time of day rather than negative garbage. Every
//   sample from minus one day up gives the ordinary result. INT_MIN has no
//   int magnitude: with a sign column it prints '-' and the time of day of
//   INT_MIN itself.
// - Without a label point there is nowhere to write: the '?' invalid text.
// - Each printed field is at most two digits (three for frames at 120 and
//   240 fps), so no sample and no flags can write more than 13 characters
//   and the NUL into the label point's 23-byte text.
// - `get_abs_sample(double)` answers the invalid sample when the scaled time
//   is not a number or does not fit a 32-bit sample (1e99, the "no position"
//   time, included) instead of converting out of range.
// - `sample_to_hmsf` returns the frame number it decomposed.
// - In the SMPTE word each digit is OR-ed into place unmasked, so the frame
//   tens of 100 and more (120 and 240 fps) run into the bits above.
//
// Threads: every conversion of a registry leaf (and of a caller's own leaf
// object) works in locals and the caller's label point, so one converter may
// serve any number of threads at once as long as each uses its own label
// points. hours, minutes, seconds and frames still publish the fields of
// the last decomposition or reading (see published.h); nothing reads them
// back. The route a leaf takes (its exact-leaf shortcuts) is chosen once: by
// the registry as it builds its converters, and by a caller's own object on
// its first conversion, idempotently through one atomic pointer, so racing
// first uses agree. The half-rate choice of 50p and 60p is read from the
// configuration in the constructor and never changes. init() is a
// configuration-time call. A class derived from a leaf that overrides
// sample_to_hmsf or hmsf_to_sample is served through those overrides and the
// fields they set: such an object is for one thread at a time.
//
// For arithmetic without a converter see the pure functions of
// labelsbase/timecode_rate.h.
#ifndef LABELSBASE_LABELCVT_TIMECODE_H
#define LABELSBASE_LABELCVT_TIMECODE_H

#include "labelsbase/labelcvt.h"
#include "labelsbase/published.h"

struct timecode_rate_row;
struct shared_converter_setup;

class timecode_label : public variable_label {
public:
    // display_flags bits
    enum : int {
        show_hours = 1,     // hours always printed, two digits
        show_minutes = 2,   // minutes always printed, two digits
        show_seconds = 4,   // seconds always printed, two digits
        show_frames = 8,    // separator and frames printed even without seconds
        special_slow = 16,  // half-rate: two samples per timecode frame
        // Every field printed: what the registry and the factory give.
        show_all = show_hours | show_minutes | show_seconds | show_frames
    };

    // timecode_label's own answers, "timecode_label" and timecode_label_t
    // (the leaves answer with their own row); build_template() likewise
    // builds the common "-29.59.59.29".
    char const* type_str() const override;
    label_t type() const override;
    UserLabelType UserType() const override;
    // Into 0..day_samples, both ends included: a whole day stays a day,
    // larger multiples come down to a day, negative multiples to 0.
    int normalise_sample_unit(int s) override;
    ~timecode_label() override;
    // "%2d%2d%2d%2d" (frames "%3d" at 120 and 240 fps); the invalid sample
    // unless four fields are read.
    int get_abs_sample_from_packed_string(char const* t) override;
    // normalise_sample_unit(packed(b) - packed(a)): a span over midnight
    // comes out positive.
    int get_sample_span_from_packed_strings(char const* a, char const* b) override;
    char const* get_abs_string(LabelPoint* lp, int s) override;
    unsigned get_abs_smpte_string(LabelPoint* lp, int s) override;
    // The display flags choose "%d:%d:%d%c%d", "%d:%d%c%d" or "%d%c%d"
    // (with a leading '-' when the text starts with one, negating the
    // result); the invalid sample when a field is missing. The separator
    // read is any one character and is not checked; no field is
    // range-checked.
    int get_abs_sample(char const* t) override;
    // Both print the assertion line the video-time conversions always print.
    double get_V2tc(int s) override;
    int get_abs_sample(double t) override;
    void build_template() override;
    bool isSpecialSlowTC() const override;

    // Decomposes s into hours, minutes, seconds and frames; odd reports the
    // odd sample of a half-rate pair. Returns the frame number.
    virtual int sample_to_hmsf(int s, bool& odd);
    // The sample of hours, minutes, seconds and frames (no range check, no
    // half-rate doubling: a half-rate converter counts timecode frames).
    virtual int hmsf_to_sample();

    // Frame separator '.' and a day of modulus x 86400 samples.
    void init();
    // sample_to_hmsf(s), fields cut to 16 bits; returns f.
    int get_abs_hmsf(int s, short& h, short& m, short& sec, short& f);
    // The display text of s in lp->text (the template's invalid strings for
    // the three special samples).
    char const* sample_to_string(LabelPoint* lp, int s);
    // The packed SMPTE word of s; 0 for special and negative samples.
    unsigned sample_to_smpte_string(LabelPoint* lp, int s);
    // Samples in 24 hours: the wrap length.
    int get_day_samples() const { return day_samples; }

protected:
    // The leaf of type `leaf` with the given display flags; tc_50_label and
    // tc_60_label also read their half-rate configuration key here.
    timecode_label(label_t leaf, int display_flags);

    int display_flags;
    int day_samples;
    // The published results, apart from the fields every conversion reads.
    char published_apart_before_[published_apart];
    published<int> hours;
    published<int> minutes;
    published<int> seconds;
    published<int> frames;
    char published_apart_after_[published_apart];

    // The leaf's own row: its class name, label type and template (what the
    // leaves' type_str, type and build_template answer).
    char const* row_name() const;
    label_t row_type() const;
    void build_row_template();

    // True when this object's class is exactly its leaf, so none of the
    // virtual steps can have been overridden.
    bool exact_leaf() { return route()->exact; }

    // Hours, minutes, seconds, frames of s: the leaf's own arithmetic in
    // locals for an exact leaf, the virtual step for anything else; published.
    struct hmsf_t {
        int h, m, s, f;
    };
    hmsf_t fields_of(int s, bool& odd);
    // timecode_label's and ntsc_drop_label's own decomposition and
    // composition, in locals.
    hmsf_t base_fields(int s, bool& odd) const;
    hmsf_t drop_fields(int s) const;
    int base_sample(int const v[4]) const;
    // The sample of read fields: the leaf's own arithmetic for an exact leaf,
    // the virtual step for anything else. The fields are published first.
    int sample_of(int const v[4]);
    void publish(int h, int m, int s, int f);

private:
    friend struct shared_converter_setup;
    struct route_t {
        bool exact;
        char const* (*text)(timecode_label&, LabelPoint*, int);
        unsigned (*smpte)(timecode_label&, int);
    };
    route_t const* route() {
        route_t const* r = route_.load(std::memory_order_acquire);
        return r ? r : choose_route();
    }

    // s / modulus for 0 <= s < 2^31 as a multiply and shift, worked out
    // once for the modulus it was made for (div_for_).
    int divide_by_modulus(int s) const;
    void set_divider();

    // The leaf routines: an object whose class is exactly one of the leaves
    // below has nothing overridden, so its texts, words and parses can skip
    // the virtual steps and divide by a constant rate. Chosen on first use
    // (the object's class is only known once it is built); any other object
    // keeps the general way through the virtual operations.
    struct leaf_route;
    route_t const* choose_route();
    // sample_to_string through the virtual steps.
    char const* general_text(LabelPoint* lp, int s);
    // Both templates from one text.
    void set_templates(char const* text);

    timecode_rate_row const* row_;
    std::uint64_t div_magic_;
    int div_shift_;
    int div_for_;
    std::atomic<route_t const*> route_;
};

// What every leaf overrides: its name, its type and its template.
#define LABELSBASE_TIMECODE_LEAF_OVERRIDES \
    char const* type_str() const override; \
    label_t type() const override;         \
    void build_template() override;

class pal_label : public timecode_label {
public:
    explicit pal_label(int display_flags);
    LABELSBASE_TIMECODE_LEAF_OVERRIDES
};
class ntsc_label : public timecode_label {
public:
    explicit ntsc_label(int display_flags);
    LABELSBASE_TIMECODE_LEAF_OVERRIDES
};
// 29.97 fps drop-frame: frame numbers 0 and 1 are skipped at the start of
// every minute not divisible by ten; a day is 24 x 107892 frames.
class ntsc_drop_label : public timecode_label {
public:
    explicit ntsc_drop_label(int display_flags);
    LABELSBASE_TIMECODE_LEAF_OVERRIDES
    using timecode_label::get_abs_sample;
    // "%d:%d:%d%c%d" whatever the flags; a text starting with '-' gives 0.
    int get_abs_sample(char const* t) override;
    int sample_to_hmsf(int s, bool& odd) override;
    // Frame numbers 0 and 1 of a dropped minute are accepted and give the
    // last two frames of the minute before.
    int hmsf_to_sample() override;
};
class tc_24_label : public timecode_label {
public:
    explicit tc_24_label(int display_flags);
    LABELSBASE_TIMECODE_LEAF_OVERRIDES
};
class tc_48_label : public timecode_label {
public:
    explicit tc_48_label(int display_flags);
    LABELSBASE_TIMECODE_LEAF_OVERRIDES
};
// 50 fps, or 25 fps ("50p_timecode_type" 3) or 25 fps half-rate (2).
class tc_50_label : public timecode_label {
public:
    explicit tc_50_label(int display_flags);
    LABELSBASE_TIMECODE_LEAF_OVERRIDES
};
// 60 fps, or 30 fps ("60p_timecode_type" 3) or 30 fps half-rate (2).
class tc_60_label : public timecode_label {
public:
    explicit tc_60_label(int display_flags);
    LABELSBASE_TIMECODE_LEAF_OVERRIDES
};
class tc_50_duration_label : public timecode_label {
public:
    explicit tc_50_duration_label(int display_flags);
    LABELSBASE_TIMECODE_LEAF_OVERRIDES
};
class tc_60_duration_label : public timecode_label {
public:
    explicit tc_60_duration_label(int display_flags);
    LABELSBASE_TIMECODE_LEAF_OVERRIDES
};
class tc_12_label : public timecode_label {
public:
    explicit tc_12_label(int display_flags);
    LABELSBASE_TIMECODE_LEAF_OVERRIDES
};
class tc_15_label : public timecode_label {
public:
    explicit tc_15_label(int display_flags);
    LABELSBASE_TIMECODE_LEAF_OVERRIDES
};
class tc_20_label : public timecode_label {
public:
    explicit tc_20_label(int display_flags);
    LABELSBASE_TIMECODE_LEAF_OVERRIDES
};
class tc_80_label : public timecode_label {
public:
    explicit tc_80_label(int display_flags);
    LABELSBASE_TIMECODE_LEAF_OVERRIDES
};
class tc_90_label : public timecode_label {
public:
    explicit tc_90_label(int display_flags);
    LABELSBASE_TIMECODE_LEAF_OVERRIDES
};
class tc_100_label : public timecode_label {
public:
    explicit tc_100_label(int display_flags);
    LABELSBASE_TIMECODE_LEAF_OVERRIDES
};
// Three frame digits in texts and packed texts.
class tc_120_label : public timecode_label {
public:
    explicit tc_120_label(int display_flags);
    LABELSBASE_TIMECODE_LEAF_OVERRIDES
};
class tc_240_label : public timecode_label {
public:
    explicit tc_240_label(int display_flags);
    LABELSBASE_TIMECODE_LEAF_OVERRIDES
};

#undef LABELSBASE_TIMECODE_LEAF_OVERRIDES

#endif
