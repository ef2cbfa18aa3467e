// Label types and their converters.
//
// Every position on material is expressed in one label type (`label_t`);
// each type has one converter class that turns a sample number into the
// type's text and back through the virtual interface of `label_cvt`. The
// registry hands out one shared converter per type; `make_any_label_cvt`
// makes a private one. The lookups between label types, EDL names, frame
// rates and timecode standards are declared at the end.
//
// Samples are signed 32-bit counts in the type's unit (a frame for timecode
// and film frames, a perforation for KeyKode, ink and feet). Three samples
// are special: the invalid sample (-100000000, a failed parse), the past-end
// sample (100000001) and the before-start sample (100000002); formatters
// print the template's '?', '>' and '<' forms for them.
//
// Threads: conversions are reentrant. The registry is built once (under a
// lock, on the first lookup from any thread) with every choice its
// converters would make on first use already made, and its templates shared
// immutably; after that a lookup takes no lock. A converter, shared or a
// caller's own, may serve any number of threads at once, each writing only
// into its own label points; the converters' documented scratch fields
// publish the last result with relaxed atomic stores and are never read back
// (labelcvt_timecode.h, labelcvt_film.h, published.h). The lookups below are
// pure. Configuration-time only: build_template, init, set_count_len and
// template changes on a converter others are using. The arithmetic without
// a converter is in timecode_rate.h and positions.h.
#ifndef LABELSBASE_LABELCVT_H
#define LABELSBASE_LABELCVT_H

#include <atomic>
#include <cstddef>
#include <cstdint>

#include <host/host.h>

#include "labelsbase/LabelTemplate.h"
#include "labelsbase/label_types.h"

class LabelPoint;

// ---------------------------------------------------------------------------
// The converter interface. The order of the virtual operations is part of
// the interface; derived classes append theirs after the last one.
class label_cvt {
public:
    LabelTemplate full_template;   // the whole text, prefix included
    LabelTemplate count_template;  // prefix positions locked ('~') for prefixed types

    // Converter objects alive; counted atomically, reads as an int.
    static std::atomic<int> howmany;

    label_cvt();
    label_cvt(label_cvt const&) = delete;
    label_cvt& operator=(label_cvt const&) = delete;

    // Samples s are absolute unless the name says relative: get_string,
    // get_perfs_string, get_smpte_string and get_sample(lp, ...) work on
    // s relative to lp->sample (wrapping). Texts are written into lp->text
    // (at most label_point_text_room characters) or are constant; a text
    // that cannot be read gives invalid_sample; the three special samples
    // print the template's '?', '>' and '<' forms.

    // The converter's class name ("pal_label").
    virtual char const* type_str() const = 0;
    // The label type the converter stands for.
    virtual label_t type() const = 0;
    // The category users pick the type by.
    virtual UserLabelType UserType() const = 0;
    // Whether texts start with an alphanumeric prefix (KeyKode, ink numbers).
    virtual bool has_prefix() const = 0;
    // Characters of that prefix; 0 without one.
    virtual int get_prefix_length() const = 0;
    // Digits of the count after the prefix; 0 for types without a count field.
    virtual int get_count_length() const = 0;
    // Frames per second (timecode), per KeyKode interval, ink count or foot.
    virtual int get_modulus() const = 0;
    // Samples per unit (perforations per frame for film types, else 1).
    virtual int samples_per_unit() const = 0;
    // s brought into the type's period (a timecode day, a KeyKode wrap); s itself by default.
    virtual int normalise_sample_unit(int s);
    // Perforations per KeyKode interval; 1 by default.
    virtual int perfs_per_keyKode() const;
    virtual ~label_cvt();
    // The display text of lp->sample + s.
    virtual char const* get_string(LabelPoint* lp, int s) = 0;
    // The perforation text of lp->sample + s ("" for types without one).
    virtual char const* get_perfs_string(LabelPoint* lp, int s) = 0;
    // The packed SMPTE word of lp->sample + s; 0 for types without one.
    virtual unsigned get_smpte_string(LabelPoint* lp, int s) = 0;
    // The sample of a packed SMPTE word (drop set from its drop bit); 0 by default.
    virtual int get_samples_from_SMPTETc(unsigned& word, bool& drop);
    // The sample of text t, relative to lp->sample.
    virtual int get_sample(LabelPoint* lp, char const* t) = 0;
    // lp->sample + s.
    virtual int get_sample(LabelPoint* lp, int s) = 0;
    // The sample of a packed text ("HHMMSSFF" for timecode); invalid_sample by default.
    virtual int get_abs_sample_from_packed_string(char const* t) = 0;
    // Samples from packed text a to packed text b; invalid_sample by default.
    virtual int get_sample_span_from_packed_strings(char const* a, char const* b) = 0;
    // The display text of absolute sample s.
    virtual char const* get_abs_string(LabelPoint* lp, int s) = 0;
    // The packed SMPTE word of absolute sample s.
    virtual unsigned get_abs_smpte_string(LabelPoint* lp, int s) = 0;
    // The perforation text of absolute sample s; "" by default.
    virtual char const* get_abs_perfs_string(LabelPoint* lp, int s);
    // The absolute sample of display text t.
    virtual int get_abs_sample(char const* t) = 0;
    // The stored (keep) text of absolute sample s; the display text by default.
    virtual char const* get_keep_string(LabelPoint* lp, int s) = 0;
    // The absolute sample of a keep text; read as a display text by default.
    virtual int get_keep_sample(char const* t) = 0;
    // Video time of sample s in seconds; 1e99 (no position) where there is none.
    virtual double get_V2tc(int s) = 0;
    // The sample at video time t seconds; invalid_sample where there is none.
    virtual int get_abs_sample(double t) = 0;
    // Sets full_template and count_template for the type's text layout.
    virtual void build_template();
    // The placeholder prefix ("XX000000"); "" for types without a prefix.
    virtual char const* get_dummy_prefix() = 0;
    // The prefix lp shows (its own, else the one this converter last used).
    virtual char const* get_prefix(LabelPoint const* lp) const = 0;
    // Sets lp's prefix from p (and remembers it as the last used).
    virtual void set_prefix(LabelPoint* lp, char const* p) = 0;
    // Half-rate timecode: two samples per timecode frame; false by default.
    virtual bool isSpecialSlowTC() const;
    // The character between seconds (or count) and frame; '\0' by default.
    virtual char getFrameSeparator() const;

    // The template's invalid string for s; lp is not used.
    char const* get_invalid_string(LabelPoint* lp, int s);
};

// The concrete base: modulus, frame separator and samples per unit, and a
// neutral default for every operation.
class variable_label : public label_cvt {
public:
    variable_label(int modulus, int samples_per_unit);

    char const* type_str() const override;
    label_t type() const override;
    UserLabelType UserType() const override;
    bool has_prefix() const override;
    int get_prefix_length() const override;
    int get_count_length() const override;
    int get_modulus() const override;
    int samples_per_unit() const override;
    ~variable_label() override;
    char const* get_string(LabelPoint* lp, int s) override;
    char const* get_perfs_string(LabelPoint* lp, int s) override;
    unsigned get_smpte_string(LabelPoint* lp, int s) override;
    // Unpacks a packed SMPTE word (bits 0-3 frame units, 4-5 frame tens,
    // 6 drop flag, 8-11 second units, 12-14 second tens, 16-19 minute units,
    // 20-22 minute tens, 24-27 hour units, 28-29 hour tens) into the plain
    // non-drop count; frames are doubled at 50 and 60 fps.
    int get_samples_from_SMPTETc(unsigned& word, bool& drop) override;
    int get_sample(LabelPoint* lp, char const* t) override;
    int get_sample(LabelPoint* lp, int s) override;
    int get_abs_sample_from_packed_string(char const* t) override;
    int get_sample_span_from_packed_strings(char const* a, char const* b) override;
    char const* get_abs_string(LabelPoint* lp, int s) override;
    unsigned get_abs_smpte_string(LabelPoint* lp, int s) override;
    int get_abs_sample(char const* t) override;
    char const* get_keep_string(LabelPoint* lp, int s) override;
    int get_keep_sample(char const* t) override;
    double get_V2tc(int s) override;
    int get_abs_sample(double t) override;
    char const* get_dummy_prefix() override;
    char const* get_prefix(LabelPoint const* lp) const override;
    void set_prefix(LabelPoint* lp, char const* p) override;
    char getFrameSeparator() const override;

protected:
    int modulus;
    char frame_separator;
    int unit_samples;
};

// The fallback converter of every type without one of its own.
class dummy_label : public variable_label {
public:
    dummy_label();
    char const* type_str() const override;
    label_t type() const override;
    UserLabelType UserType() const override;
    ~dummy_label() override;
    char const* get_string(LabelPoint* lp, int s) override;
    char const* get_perfs_string(LabelPoint* lp, int s) override;
    unsigned get_smpte_string(LabelPoint* lp, int s) override;
    int get_sample(LabelPoint* lp, char const* t) override;
    int get_sample(LabelPoint* lp, int s) override;
    char const* get_abs_string(LabelPoint* lp, int s) override;
    unsigned get_abs_smpte_string(LabelPoint* lp, int s) override;
    int get_abs_sample(char const* t) override;
    double get_V2tc(int s) override;
    int get_abs_sample(double t) override;
    void build_template() override;
};

// ---------------------------------------------------------------------------
// The registry: one shared converter per label_t, built once on first use
// and never freed.
extern label_cvt* static_label_cvts[label_type_count];
extern int numLabelCvts;
extern bool static_label_cvts_built;
extern label_cvt* bad_label_cvt;

// The shared converter of t; the fallback (with an assertion line) outside 0..51.
label_cvt* get_static_label_cvt(label_t t);
// The label type whose shared converter's type_str() is name, or 0.
label_t get_label_type(char const* name);
void build_static_label_cvts();
// A new converter of t's class owned by the caller; the fallback class for
// types without a leaf.
label_cvt* make_any_label_cvt(label_t t);

// Leaf factories of the converter families: a new converter of t's class,
// or null when t is not of the family.
label_cvt* make_timecode_label_cvt(label_t t);
label_cvt* make_film_label_cvt(label_t t);

// ---------------------------------------------------------------------------
// Typed texts. The converters read leniently (a KeyKode or ink count that is
// not a number reads as 0, feet read whatever leads the text as a number);
// a caller that must refuse texts that cannot be meant as a label asks here.

// Whether text can be meant as a label of c's type: it holds a digit, and
// for KeyKode the count field (after the prefix) is digits or '_', for ink
// numbers the four count characters of the ink reader's normal form are
// digits, for feet the text starts (after blanks and a '-') with a digit.
// Every other type only needs the digit.
// Edge cases: a null converter or text is not plausible.
bool label_text_is_plausible(label_cvt const* c, char const* text);

// Copies in to out without leading and trailing white space (blank, tab,
// CR, LF); for KeyKode also without the blanks inside, which its reader
// does not skip. Returns the bytes written, terminator included, or 0 (and
// out empty when size > 0) when the text does not fit in size bytes.
// Edge cases: a null converter trims without squeezing; null in or out, or
// size 0, writes nothing and returns 0.
std::size_t label_text_trim(label_cvt const* c, char const* in, char* out, std::size_t size);

// ---------------------------------------------------------------------------
// Label type lookups.

// The timecode standard of a project or label type.
struct TCInf {
    Kest::FrameRate rate;
    bool drop_frame;
};

label_t TvStd_to_label_type(TCInf const& t);
TCInf label_type_to_TvStd(label_t t);
double getDefaultTimecodeFrameRate(Kest::FrameRate r);
label_t getDefaultLabelTypeforFrameRate(Kest::FrameRate r);
label_t getDefaultLabelTypeForProject();
// EDL name to label type: the first word of s, upper-cased, at most 11
// characters; 0 for null, empty or white-space-led texts and unknown names.
label_t edlstr_to_label_type(char const* s);
label_t edlstr_to_film_label_type(char const* s);
label_t edlstr_to_label_type(char const* s, UserLabelType u);
char const* label_type_to_edlstr(label_t t);
label_t label_t_to_key_label_t(label_t t);
label_t label_t_to_ink_label_t(label_t t);
label_t label_t_to_foot_label_t(label_t t);
label_t label_t_to_duration_label_t(label_t t);
double get_vid_fps(label_t t);

#include "labelsbase/labelcvt_timecode.h"
#include "labelsbase/labelcvt_film.h"

#endif
