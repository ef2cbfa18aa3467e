// KeyKode, ink-number, feet and film-frame converters (declared through
// labelcvt.h).
//
// Every film converter here counts in perforations (film frames for
// film_frames_label). A KeyKode text is a prefix (placeholder "XX000000"),
// a count of KeyKode intervals and a frame inside the interval, 3-perf
// adding a perforation index: 'XX0000000012+05', 'XX0000000001+00.3'.
// Ink numbers are a 4-character prefix, a 4-digit count and a frame:
// 'XXXX0012+05'. Feet are a signed footage and frame: ' 0012+05',
// '-0001+00.3'. Film frames are a plain count: "000042".
//
// Edge cases:
// - Formatters build their text in a working copy and hand lp->text at most
//   22 characters. No registered converter reaches that (the longest,
//   3-perf KeyKode with a once-wrapped count of 8 digits, is 21 characters);
//   only a hand-built converter with an over-wide count or frame is cut.
// - A KeyKode text that ends before its count field is the invalid sample;
//   one that ends inside the count field reads the digits it has (frame 0).
// - The 3-perf keep parser and the 3-perf feet parser work on a copy of at
//   most 63 characters: a longer text is the invalid sample, as is a 3-perf
//   keep text of fewer than three characters or a 3-perf feet text with
//   nothing after its sign.
// - film_frames_label parses a text that does not begin with a number to the
//   invalid sample.
// - The feet digits are clamped to 0..16 at construction, so the widest feet
//   text (3-perf, 16 digits) is 22 characters. Feet of INT_MIN samples use
//   the magnitude 2147483648.
// - set_count_len caps max_count at 999999999 for counts of 9 digits or
//   more (no leaf has more than 6).
// - The feet and film-frame converters never set a frame separator;
//   getFrameSeparator gives variable_label's '.' for them.
// - Periods (normalise_sample_unit) are taken modulo in 64 bits; a hand-built
//   converter whose period is not positive leaves samples unchanged.
//
// Threads: every conversion of a registry leaf (and of a caller's own leaf
// object) computes its counts in locals through the pure functions of
// positions.h and writes only into the caller's label point, so one
// converter may serve any number of threads, each with its own label
// points. count, frame and perf still publish the fields of the last
// conversion, and last_prefix the prefix last used (see published.h);
// nothing reads them back to compute an answer, except the documented
// sharing of the remembered prefix by points that have none of their own,
// which across threads shows a prefix some thread used. Whether an object is
// exactly a library leaf (and so may skip its virtual geometry steps) is
// settled by the registry as it builds its converters, and by a caller's
// own object on its first conversion through one atomic flag. A class
// derived from a leaf that overrides get_counts or get_perfs is served
// through those overrides and the fields they set: such an object is for
// one thread at a time.
#ifndef LABELSBASE_LABELCVT_FILM_H
#define LABELSBASE_LABELCVT_FILM_H

#include <typeinfo>

#include "labelsbase/labelcvt.h"
#include "labelsbase/published.h"

namespace positions {
struct FilmGauge;
}
struct shared_converter_setup;

// ---------------------------------------------------------------------------
// The base of every converter whose text starts with an alphanumeric prefix.
//
// The prefix of a label point is the first prefix_len characters of its
// `prefix` field; the converter remembers the last one it saw or set in
// last_prefix, shared by every label point that uses the converter, so a
// point with no prefix of its own shows the one last used.
class prefix_label : public variable_label {
public:
    // Sets modulus, samples per unit and number_len, separator '+', an empty
    // dummy prefix; prefix and count widths are unset until set_count_len.
    prefix_label(int modulus, int unit_samples, int number_len);

    // count_len = n, prefix_len = number_len - n; returns the new max_count
    // (10^n - 1, 9 for n of 0 or 1).
    unsigned set_count_len(unsigned n);

    char const* type_str() const override;
    label_t type() const override;
    UserLabelType UserType() const override;
    bool has_prefix() const override;
    int get_prefix_length() const override;
    int get_count_length() const override;
    ~prefix_label() override;
    // prefix_len '?' (count_template: '~'), count_len '9', then the frame
    // range: '????????9999+19'.
    void build_template() override;
    char const* get_dummy_prefix() override;
    // lp's own prefix when it has a full one (remembered), else the last one
    // remembered, else the dummy prefix; prefix_len characters at most.
    char const* get_prefix(LabelPoint const* lp) const override;
    // A text of at least prefix_len characters becomes lp's prefix (up to
    // number_len characters, count included); a shorter one keeps lp's prefix
    // when one is remembered, else lp takes the dummy prefix.
    void set_prefix(LabelPoint* lp, char const* t) override;

protected:
    // "%s%0*d%c%02d" of lp's prefix, count, separator and frame into lp's
    // text, with ".%d" of perf + 1 appended when with_perf is set; "NEGATIVE"
    // for a negative count; a count above max_count wraps once (and is
    // published wrapped). The first form prints the fields.
    char const* print_counts(LabelPoint* lp, char separator, bool with_perf);
    char const* print_counts(LabelPoint* lp, char separator, bool with_perf, int count, int frame, int perf);
    // True when this object's class is exactly its library leaf (leaf_type_),
    // so its virtual geometry steps are the gauge's.
    bool exact_gauge() {
        signed char const e = exact_.load(std::memory_order_relaxed);
        return e ? e > 0 : settle_exact();
    }

    // Into 0 .. period-1, period = (max_count + 1) * modulus * samples_per_unit().
    int normalise_by_period(int s);
    // The frame suffix of the templates: ((modulus - 1) / 10) * 10 + 9.
    int template_frame_limit() const;
    // Builds both templates: prefix, count digits, then suffix.
    void set_templates(char const* suffix);

    unsigned prefix_len;
    unsigned count_len;
    int max_count;
    char const* dummy_prefix;
    unsigned number_len;
    // Set by the leaves: the gauge's arithmetic and the leaf's class.
    positions::FilmGauge const* gauge_;
    std::type_info const* leaf_type_;
    bool ink_counts_;  // the gauge splits as ink numbers do
    // The published results, apart from the fields every conversion reads.
    char published_apart_before_[published_apart];
    mutable prefix_memory last_prefix;  // get_prefix remembers what it returns
    published<int> count;
    published<int> frame;
    published<int> perf;
    char published_apart_after_[published_apart];

private:
    friend struct shared_converter_setup;
    bool settle_exact();
    std::atomic<signed char> exact_;  // 0 not yet known, 1 exact leaf, -1 not
};

// ---------------------------------------------------------------------------
// KeyKode: prefix, count of KeyKode intervals, separator, frame. Samples are
// perforations from the start of the roll's KeyKode numbering.
class keycode_label : public prefix_label {
public:
    keycode_label(int modulus, int unit_samples, int number_len);

    char const* type_str() const override;
    label_t type() const override;
    UserLabelType UserType() const override;
    // Into 0 .. (max_count + 1) * modulus * samples_per_unit() - 1:
    // 640000 perforations for 35 mm 4-perf, 660000 for 3-perf.
    int normalise_sample_unit(int s) override;
    ~keycode_label() override;
    int get_abs_sample_from_packed_string(char const* t) override;
    // normalise_sample_unit(sample of b - sample of a).
    int get_sample_span_from_packed_strings(char const* a, char const* b) override;
    // 'XX0000000012+05' for perforation 788 of 35 mm; "NEGATIVE" below 0.
    char const* get_abs_string(LabelPoint* lp, int s) override;
    // "%02d" of the perforations past the interval's edge number.
    char const* get_abs_perfs_string(LabelPoint* lp, int s) override;
    // Count field (leading '_' skipped), then a frame of at most two
    // characters starting at the first digit within two separator
    // characters: 'XX0000000012+05', 'XX0000000012 +05', 'XX0000000012'.
    // The invalid sample for a count or frame out of range.
    int get_abs_sample(char const* t) override;

    // Geometry hooks, overridden by the gauge classes.
    // Splits a perforation count into count, frame (and perf).
    virtual void get_counts(int perfs);
    // Perforations past the start of the KeyKode interval.
    virtual int get_perf_offset(int perfs);
    // Perforations from count, frame (and perf); the invalid sample for a
    // frame out of range.
    virtual int get_perfs();

protected:
    // The count, frame and perf of s: the gauge's arithmetic (positions.h)
    // in locals for an exact leaf, published as get_counts would; get_counts
    // and the fields it sets for anything else.
    void counts_of(int s, int& c, int& f, int& p);
    // The perforation of read fields (already published): the gauge's
    // arithmetic for an exact leaf, get_perfs for anything else.
    int perfs_of(int c, int f, int p);
    // Takes the prefix and count widths, separator and dummy prefix of the
    // leaf of type `leaf` from the leaf table.
    explicit keycode_label(label_t leaf);
    // get_abs_sample of the first n characters of t (the whole text when it
    // is shorter), perf being the perforation already read.
    int read_text(char const* t, std::size_t n, int perf);
    // The frame after the count field c of a text that reaches number_len
    // characters (of its first n), and the sample.
    int read_frame(char const* t, std::size_t n, int c, int perf);
};

// The gauges whose frames divide the KeyKode interval: count = s / interval,
// frame = (s % interval) / perfs per frame.
#define LB_KEYCODE_GEOMETRY(name)                \
    class name : public keycode_label {          \
    public:                                      \
        int perfs_per_keyKode() const override;  \
        ~name() override;                        \
        void get_counts(int perfs) override;     \
        int get_perf_offset(int perfs) override; \
        int get_perfs() override;                \
                                                 \
    protected:                                   \
        explicit name(label_t leaf);             \
    };

LB_KEYCODE_GEOMETRY(keycode_35)        // 4 perfs, 16 frames, 64-perf interval
LB_KEYCODE_GEOMETRY(keycode_16)        // 1 perf, 20 frames, 20-perf interval, '&'
LB_KEYCODE_GEOMETRY(keycode_352)       // 2 perfs, 32 frames, 64-perf interval
LB_KEYCODE_GEOMETRY(keycode_358)       // 8 perfs, 8 frames, 64-perf interval
LB_KEYCODE_GEOMETRY(keycode_655_80)    // 65 mm: 5 perfs, 16 frames, 80-perf interval
LB_KEYCODE_GEOMETRY(keycode_658_80)    // 8 perfs, 10 frames
LB_KEYCODE_GEOMETRY(keycode_6510_80)   // 10 perfs, 8 frames
LB_KEYCODE_GEOMETRY(keycode_655_120)   // 65 mm: 5 perfs, 24 frames, 120-perf interval
LB_KEYCODE_GEOMETRY(keycode_658_120)   // 8 perfs, 15 frames
LB_KEYCODE_GEOMETRY(keycode_6510_120)  // 10 perfs, 12 frames
LB_KEYCODE_GEOMETRY(keycode_6515_120)  // 15 perfs, 8 frames
#undef LB_KEYCODE_GEOMETRY

// 35 mm 3-perf: 22 frames of 3 perforations (66) against a 64-perforation
// interval, so the frame numbering runs two perforations ahead of the count
// and the text carries the perforation index: 'XX0000000001+00.3' is
// perforation 62. Display and keep texts are the same.
class keycode_353 : public keycode_label {
public:
    int perfs_per_keyKode() const override;
    ~keycode_353() override;
    char const* get_abs_string(LabelPoint* lp, int s) override;
    char const* get_abs_perfs_string(LabelPoint* lp, int s) override;
    int get_abs_sample(char const* t) override;
    // "%s%0*d+%02d.%d": prefix, count, frame, perforation index 1..3.
    char const* get_keep_string(LabelPoint* lp, int s) override;
    // The perforation index is the last character; the rest parses as a
    // KeyKode text. The invalid sample for texts of fewer than 3 or more
    // than 63 characters.
    int get_keep_sample(char const* t) override;
    // '????????9999+29.3'.
    void build_template() override;
    // t = s + 2: count = t / 64, frame = (t % 64) / 3, perf = 2 - t % 3.
    void get_counts(int perfs) override;
    int get_perf_offset(int perfs) override;
    int get_perfs() override;

protected:
    explicit keycode_353(label_t leaf);
};

// The leaves: one per KeyKode label type. The plain and _4 leaves of a gauge
// have 4 count digits; _5 and _6 move one and two characters from the
// prefix to the count.
#define LB_KEYCODE_LEAF(name, geometry)          \
    class name : public geometry {               \
    public:                                      \
        name();                                  \
        char const* type_str() const override;   \
        label_t type() const override;           \
        UserLabelType UserType() const override; \
        ~name() override;                        \
    };

LB_KEYCODE_LEAF(keycode_35_label, keycode_35)
LB_KEYCODE_LEAF(keycode_16_label, keycode_16)
LB_KEYCODE_LEAF(keycode_353_label, keycode_353)
LB_KEYCODE_LEAF(keycode_35_label_4, keycode_35)
LB_KEYCODE_LEAF(keycode_35_label_5, keycode_35)
LB_KEYCODE_LEAF(keycode_35_label_6, keycode_35)
LB_KEYCODE_LEAF(keycode_16_label_4, keycode_16)
LB_KEYCODE_LEAF(keycode_16_label_5, keycode_16)
LB_KEYCODE_LEAF(keycode_16_label_6, keycode_16)
LB_KEYCODE_LEAF(keycode_353_label_4, keycode_353)
LB_KEYCODE_LEAF(keycode_353_label_5, keycode_353)
LB_KEYCODE_LEAF(keycode_353_label_6, keycode_353)
LB_KEYCODE_LEAF(keycode_352_label, keycode_352)
LB_KEYCODE_LEAF(keycode_358_label, keycode_358)
LB_KEYCODE_LEAF(keycode_655_80_label, keycode_655_80)
LB_KEYCODE_LEAF(keycode_658_80_label, keycode_658_80)
LB_KEYCODE_LEAF(keycode_6510_80_label, keycode_6510_80)
LB_KEYCODE_LEAF(keycode_655_120_label, keycode_655_120)
LB_KEYCODE_LEAF(keycode_658_120_label, keycode_658_120)
LB_KEYCODE_LEAF(keycode_6510_120_label, keycode_6510_120)
LB_KEYCODE_LEAF(keycode_6515_120_label, keycode_6515_120)
#undef LB_KEYCODE_LEAF

// ---------------------------------------------------------------------------
// Ink numbers: a 4-character prefix, a 4-digit count of 16 frames (35 mm) or
// 20 frames (16 mm) and a frame: 'XXXX0012+05' is perforation 788 of 35 mm.
//
// Typed texts are normalised before reading: 12 characters or more keep the
// first 4 and the last 7 ('ABCD 1234+05' reads as 'ABCD1234+05'); shorter
// ones get up to four leading '0's ('1234+05' reads as '00001234+05').
class ink_label : public prefix_label {
public:
    // Prefix 4, count 4 (max 9999), number_len 8, separator '+', dummy
    // prefix "XXXX"; builds the templates.
    ink_label(int modulus, int unit_samples);

    char const* type_str() const override;
    label_t type() const override;
    UserLabelType UserType() const override;
    // Into 0 .. 10000 * modulus * samples_per_unit() - 1.
    int normalise_sample_unit(int s) override;
    ~ink_label() override;
    char const* get_abs_string(LabelPoint* lp, int s) override;
    // The invalid sample for a count outside 0..9999, a frame text of more
    // than two characters or a frame outside 0..modulus-1.
    int get_abs_sample(char const* t) override;
    // '????9999+19' / '~~~~9999+19'.
    void build_template() override;
    // As prefix_label's, on the normalised text.
    void set_prefix(LabelPoint* lp, char const* t) override;

    // Splits a perforation count into count and frame.
    virtual void get_counts(int perfs);

protected:
    // As keycode_label's.
    void counts_of(int s, int& c, int& f);
};

class ink_35_label : public ink_label {
public:
    ink_35_label();
    char const* type_str() const override;
    label_t type() const override;
    UserLabelType UserType() const override;
    ~ink_35_label() override;
    void get_counts(int perfs) override;
};

class ink_16_label : public ink_label {
public:
    ink_16_label();
    char const* type_str() const override;
    label_t type() const override;
    UserLabelType UserType() const override;
    ~ink_16_label() override;
    void get_counts(int perfs) override;
};

// ---------------------------------------------------------------------------
// Feet and frames: ' 0012+05' is perforation 788 of 35 mm 4-perf. The
// parsers validate nothing ('12+20' reads as 12 feet and 20 frames).
class foot_label : public variable_label {
public:
    // feet_digits is clamped to 0..16.
    foot_label(int modulus, int unit_samples, int feet_digits);

    char const* type_str() const override;
    label_t type() const override;
    UserLabelType UserType() const override;
    ~foot_label() override;
    char const* get_abs_string(LabelPoint* lp, int s) override;
    int get_abs_sample(char const* t) override;
    // Both templates empty.
    void build_template() override;

    // "%c%0*d+%02d" of sign, feet, frame when lp's template has a sign
    // column, else "%0*d+%02d"; footage wraps once at 10^(feet_digits + 1)
    // feet.
    virtual char const* samples_to_feet(LabelPoint* lp, int s);
    // Optional '-', feet, one separator, frame.
    virtual int feet_to_samples(char const* t);

protected:
    int feet_digits;
    int perfs_per_frame;
    // The published results, apart from the fields every conversion reads.
    char published_apart_before_[published_apart];
    published<int> count;
    published<int> frame;
    published<int> perf;
    char published_apart_after_[published_apart];
};

class foot_35_label : public foot_label {
public:
    explicit foot_35_label(int feet_digits);
    char const* type_str() const override;
    label_t type() const override;
    ~foot_35_label() override;
    // '-9999.19'.
    void build_template() override;
};

class foot_16_label : public foot_label {
public:
    explicit foot_16_label(int feet_digits);
    char const* type_str() const override;
    label_t type() const override;
    ~foot_16_label() override;
    // '-9999.39'.
    void build_template() override;
};

// 35 mm 3-perf feet: 64 perforations a foot, frames numbered two
// perforations ahead as for 3-perf KeyKode: ' 0001+00.3' is perforation 62.
class foot_353_label : public foot_label {
public:
    explicit foot_353_label(int feet_digits);
    char const* type_str() const override;
    label_t type() const override;
    ~foot_353_label() override;
    // '-9999+29.3'.
    void build_template() override;
    // "%c%0*d+%02d.%d", the sign always printed.
    char const* samples_to_feet(LabelPoint* lp, int s) override;
    // The perforation index is the last character.
    int feet_to_samples(char const* t) override;
};

// ---------------------------------------------------------------------------
// Film frames: "%.6d" of the frame count ("000042", '-000005').
class film_frames_label : public variable_label {
public:
    film_frames_label();
    char const* type_str() const override;
    label_t type() const override;
    UserLabelType UserType() const override;
    ~film_frames_label() override;
    char const* get_abs_string(LabelPoint* lp, int s) override;
    // The leading decimal integer ("%d"); the invalid sample when there is
    // none.
    int get_abs_sample(char const* t) override;
    // "-999999".
    void build_template() override;
};

#endif
