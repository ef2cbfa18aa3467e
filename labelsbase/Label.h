// A label: a labelled span of material. A start point in one label type, a
// length in samples, a pitch (seconds per sample) and whether the span is
// bounded; plus its stored one-line form, the keep string
//
//     LABEL_REV:1 pal_label  01:00:00.13 100000000 0.0400000000 1
//
// (revision, converter class name, start text, length in units, pitch in
// seconds per unit with ten decimals, bounded flag).
//
// An offset counts samples from the start; an absolute sample is in the
// start point's own numbering: absolute = offset + start sample.
//
// Range rule of a bounded label (bounded != 0): an offset equal to the
// invalid sample (-100000000) or greater than `length` lies after the span
// and is tested first; a negative offset lies before it. Texts, points and
// comparisons then give the sentinels ">>>>>>"/"<<<<<<", ">>"/"<<", the
// past-end/before-start samples, 0 or 1e99. An unbounded label accepts every
// offset.
//
// Edge cases:
//  - Times that have no sample (NaN, infinities, a pitch of 0, results
//    outside the 32-bit range) give the invalid sample -100000000 from
//    posn_to_sample and abs_posn_to_sample; they never reach an undefined
//    double-to-int conversion.
//  - A converter reporting fewer than one sample per unit is taken as one
//    sample per unit by the keep-string writer and reader (so no division by
//    zero); the registry's converters all report 1 or more.
//  - Keep strings are written with bounded writes into 128 bytes (the
//    caller's buffer must hold 128). With the registry's converters every
//    field but the pitch is at most 82 characters in all, so only a pitch
//    of enormous magnitude (pitch x samples per unit of 1e33 or more; %.10f
//    prints every integer digit) or a caller's converter with very long
//    names can make the line longer than 127 characters: it is then cut at
//    127 characters, and such a line does not read back to the same label.
//  - A keep string without a fourth field leaves `length` at the default
//    length 100000000 (not scaled by the unit); the same holds for texts the
//    reader rejects.
//  - Sign columns: timecode and feet texts start with a space for positive
//    values (' 01:00:00.13'), so the keep string has two spaces after the
//    class name. The reader's tokeniser makes no empty tokens, so the third
//    token is the text without its leading space; the converters' parsers
//    skip leading white space anyway, so both forms give the same sample.
//
// Nothing here is thread-safe: the static keep-string buffer and the shared
// converters' scratch state are shared by every label.
#ifndef LABELSBASE_LABEL_H
#define LABELSBASE_LABEL_H

#include <cstddef>
#include <cstdint>

#include "labelsbase/LabelPoint.h"
#include "labelsbase/labelcvt.h"

class Label {
public:
    // The time of a sample that has none.
    static constexpr double no_position = 1e99;
    // Length of a new label: in practice an unbounded span.
    static constexpr std::int32_t default_length = 100000000;
    // Size of a label's keep-string buffer.
    static constexpr std::size_t keep_string_size = 128;

    std::int32_t revision;  // keep-string syntax it was read from; 1 when built in memory
    LabelPoint start;       // type (converter), prefix and start sample
    std::int32_t length;    // offset of the last sample of the span
    double pitch;           // seconds per sample
    std::int32_t bounded;   // non-zero: offsets outside 0..length are out of range

    // Bounded, natural pitch of the type, start sample 0.
    explicit Label(label_t type);
    // Unbounded, on the caller's converter (not owned; must outlive the label).
    explicit Label(label_cvt& converter);
    // Unbounded, starting at a copy of p (its prefix given to the converter).
    explicit Label(LabelPoint const& p);
    // Copies everything but the revision, which becomes 1.
    Label(Label const& other);
    // Reads a keep string; texts that are not keep strings give the default
    // label (type 0, sample 0, pitch 0, unbounded). Never fails loudly.
    explicit Label(char const* text);
    ~Label();

    // Copies the other label, re-attaching the registry converter of its type
    // and handing the other label's text at offset 0 to the converter as the
    // prefix; the revision is copied.
    Label& operator=(Label const& other);

    // revision 1, pitch 0, unbounded; start and length untouched.
    void init();

    // The natural pitch of a label type (seconds per sample): 1/25 for PAL,
    // 1/96 for 35 mm 4-perf film counted in perforations, and so on. Types
    // outside 0..51 give 1.0, the pitch of type 0. Constant data, readable
    // from any unit's static initialisers.
    static double get_natural_pitch(label_t type);

    // Type and prefix.
    void set_type(label_t type);        // new converter and its natural pitch
    void set_prefix(char const* text);  // only for prefixed types

    // Points and texts at an offset (range rule applies when bounded).
    LabelPoint get_label_point(int offset) const;
    LabelPoint get_unbounded_label_point(int offset) const;
    char const* get_string(int offset) const;        // ">>>>>>" / "<<<<<<" out of range
    char const* get_perfs_string(int offset) const;  // ">>" / "<<" out of range
    unsigned get_smpte_string(int offset) const;     // 0 out of range
    // 0 in range; the past-end sample 100000001 or the before-start sample
    // 100000002 out of range.
    int cmp(int offset) const;

    // Times and samples.
    double get_abs_posn(int offset) const;              // 1e99 out of range
    double get_abs_posn_extrapolate(int offset) const;  // no range test
    double sample_to_posn(int abs_sample) const;        // 1e99 for the invalid sample
    // The absolute sample at time t, snapped down to a whole unit (frame).
    int posn_to_sample(double t) const;
    // The absolute sample at time t.
    int abs_posn_to_sample(double t) const;
    double get_V2tc(int offset) const;
    int get_samples_from_SMPTETc(unsigned int word, bool& drop) const;

    // Absolute samples.
    int get_start() const;
    int get_end() const;
    void set_end(int abs_sample);
    // The offset of an absolute sample; the invalid sample when it lies
    // outside a bounded span.
    int get_sample(int abs_sample) const;
    bool contains(int abs_sample) const;
    bool contains(Label const& other) const;

    // Same start and end points (pitch, bounds and revision not compared).
    bool operator==(Label const& other) const;
    bool operator!=(Label const& other) const { return !(*this == other); }

    // Writes the keep string into out (128 bytes) or, when out is null, into
    // a 128-byte buffer of the calling thread's own that its next such call
    // overwrites. Returns the
    // buffer written. Does not allocate.
    char* make_keep_string(char* out) const;

protected:
    // The keep string into out, at most capacity - 1 characters and a NUL;
    // returns the number of characters written.
    std::size_t write_keep_string(char* out, std::size_t capacity) const;
    // The start point as the converters take it: their string operations
    // write only the point's scratch text.
    LabelPoint* start_ptr() const { return const_cast<LabelPoint*>(&start); }
    // Whether an offset lies after / before a bounded span.
    bool after_span(int offset) const;
    bool before_span(int offset) const;
};

// The invalid label: type 0 at sample 0, bounded, length 100000000, pitch
// 1.0. Usable from other units' static initialisers.
Label const& get_invalid_label();

namespace lb {
// Builds the invalid label on first use from any unit.
struct LabelStaticsInit {
    LabelStaticsInit();
    ~LabelStaticsInit();
};
static LabelStaticsInit const label_statics_init_instance;
}  // namespace lb

#endif
