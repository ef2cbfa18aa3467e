#include "labelsbase/Label.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

#include "detail/internal.h"
#include "detail/keep_number.h"

namespace {

// ---------------------------------------------------------------------------
// Natural pitch of every label type, seconds per sample. Film types count
// perforations at 24 frames per second: 4 per frame for 35 mm 4-perf (1/96),
// 3 for 3-perf (1/72), 1 for 16 mm (1/24), and so on by gauge.
//
// The two video rates are the host's: 1/getFramesPerSecond(3) for PAL and
// 1/getFramesPerSecond(5) for NTSC. The host gives a 1001 rate as the double
// quotient n / 1.001; the same expression here is folded at compile time to
// the same double, so the table is constant data that every unit's static
// initialisers can read before any code has run.
constexpr double kPalPitch = 1.0 / 25.0;
constexpr double kNtscPitch = 1.0 / (30.0 / 1.001);

struct PitchRow {
    label_t type;
    double pitch;
};

constexpr PitchRow label_pitches[] = {
    {prefix_label_t, 1.0},
    {label_cvt_t, 1.0},
    {variable_label_t, 1.0},
    {dummy_label_t, 1.0},
    {timecode_label_t, 1.0},
    {pal_label_t, kPalPitch},
    {ntsc_label_t, kNtscPitch},
    {ntsc_drop_label_t, kNtscPitch},
    {tc_24_label_t, 1.0 / 24},
    {keycode_label_t, 1.0},
    {keycode_35_label_t, 1.0 / 96},
    {keycode_16_label_t, 1.0 / 24},
    {keycode_353_label_t, 1.0 / 72},
    {foot_label_t, 1.0},
    {foot_35_label_t, 1.0 / 96},
    {foot_16_label_t, 1.0 / 24},
    {foot_353_label_t, 1.0 / 72},
    {ink_label_t, 1.0},
    {ink_35_label_t, 1.0 / 96},
    {ink_16_label_t, 1.0 / 24},
    {tc_48_label_t, 1.0 / 48},
    {keycode_35_label_4_t, 1.0 / 96},
    {keycode_35_label_5_t, 1.0 / 96},
    {keycode_35_label_6_t, 1.0 / 96},
    {keycode_16_label_4_t, 1.0 / 24},
    {keycode_16_label_5_t, 1.0 / 24},
    {keycode_16_label_6_t, 1.0 / 24},
    {keycode_353_label_4_t, 1.0 / 72},
    {keycode_353_label_5_t, 1.0 / 72},
    {keycode_353_label_6_t, 1.0 / 72},
    {film_frames_label_t, 1.0 / 24},
    {tc_50_label_t, 1.0 / 50},
    {tc_60_label_t, 1.0 / 60},
    {keycode_352_label_t, 1.0 / 48},
    {keycode_358_label_t, 1.0 / 192},
    {keycode_655_80_label_t, 1.0 / 120},
    {keycode_658_80_label_t, 1.0 / 192},
    {keycode_6510_80_label_t, 1.0 / 240},
    {keycode_655_120_label_t, 1.0 / 120},
    {keycode_658_120_label_t, 1.0 / 192},
    {keycode_6510_120_label_t, 1.0 / 240},
    {keycode_6515_120_label_t, 1.0 / 360},
    {tc_50_duration_label_t, 1.0 / 50},
    {tc_60_duration_label_t, 1.0 / 60},
    {tc_12_label_t, 1.0 / 12},
    {tc_15_label_t, 1.0 / 15},
    {tc_20_label_t, 1.0 / 20},
    {tc_80_label_t, 1.0 / 80},
    {tc_90_label_t, 1.0 / 90},
    {tc_100_label_t, 1.0 / 100},
    {tc_120_label_t, 1.0 / 120},
    {tc_240_label_t, 1.0 / 240},
};
static_assert(sizeof(label_pitches) / sizeof(label_pitches[0]) == label_type_count, "one natural pitch per label type");

constexpr bool pitch_rows_in_order() {
    for (int i = 0; i < label_type_count; ++i)
        if (label_pitches[i].type != i) return false;
    return true;
}
static_assert(pitch_rows_in_order(), "natural pitches are indexed by label_t");

// ---------------------------------------------------------------------------
// Conversions from a time to a sample: truncation toward zero, and the
// invalid sample for anything that is no 32-bit count (NaN included).
int truncate_to_sample(double v) {
    if (!(v > -2147483649.0 && v < 2147483648.0)) return invalid_sample;
    return static_cast<int>(v);
}

// Samples per unit as the keep string scales by it: at least one.
int keep_unit(label_cvt* c) {
    int const u = c->samples_per_unit();
    return u < 1 ? 1 : u;
}

// ASCII case-insensitive comparison of two NUL-terminated texts, as
// strcasecmp gives it in the C locale.
int compare_ignoring_case(char const* a, char const* b) {
    for (;; ++a, ++b) {
        unsigned char ca = static_cast<unsigned char>(*a);
        unsigned char cb = static_cast<unsigned char>(*b);
        if (ca >= 'A' && ca <= 'Z') ca = static_cast<unsigned char>(ca - 'A' + 'a');
        if (cb >= 'A' && cb <= 'Z') cb = static_cast<unsigned char>(cb - 'A' + 'a');
        if (ca != cb || ca == 0) return ca - cb;
    }
}

// The keep-string buffer of callers that pass none: one per thread, valid
// until that thread's next such call.
thread_local char g_keep_buffer[Label::keep_string_size];

}  // namespace

// ---------------------------------------------------------------------------
// Construction.

Label::Label(label_t type)
    : revision(1), start(0, type), length(default_length), pitch(get_natural_pitch(type)), bounded(1) {}

Label::Label(label_cvt& converter)
    : revision(1),
      start(0, &converter),
      length(default_length),
      pitch(get_natural_pitch(converter.type())),
      bounded(0) {}

Label::Label(LabelPoint const& p) : revision(1), start(p), length(default_length), pitch(0.0), bounded(0) {
    start.converter->set_prefix(&start, p.prefix);
    pitch = get_natural_pitch(p.converter->type());
}

Label::Label(Label const& other)
    : revision(1), start(other.start), length(other.length), pitch(other.pitch), bounded(other.bounded) {}

Label::Label(char const* text) : revision(1), start(0, prefix_label_t), length(default_length), pitch(0.0), bounded(0) {
    tokeniser tokens(text, " ");
    char const* const rev = tokens.token(0);
    if (!rev || std::strncmp(rev, "LABEL_REV", 9) != 0) return;
    // The number after "LABEL_REV:"; a token that ends before it reads as 0.
    revision = lb::atoi_(rev[9] ? rev + 10 : rev + 9);
    if (revision == 0 || revision > 2) return;

    if (char const* name = tokens.token(1)) start.set_type(get_label_type(name));
    char const* const start_text = tokens.token(2);
    if (start_text) start.sample = start.converter->get_keep_sample(start_text);
    // The prefix comes from the same text as the start sample.
    if (start.converter->has_prefix()) start.converter->set_prefix(&start, start_text);

    char const* const len = tokens.token(3);
    if (len) length = static_cast<std::int32_t>(static_cast<std::uint32_t>(lb::atol_(len)));
    if (char const* p = tokens.token(4)) pitch = std::strtod(p, nullptr);
    if (char const* b = tokens.token(5)) bounded = lb::atoi_(b);

    // The stored length and pitch are per unit (frame); a label counts samples.
    int const unit = keep_unit(start.converter);
    pitch /= unit;
    if (len) length = lb::wrap_mul(length, unit);
}

Label::~Label() = default;

Label& Label::operator=(Label const& other) {
    if (this == &other) return *this;
    label_t const type = other.start.converter->type();
    start = other.start;
    start.set_type(type);
    length = other.length;
    pitch = other.pitch;
    bounded = other.bounded;
    start.converter->set_prefix(&start, other.get_string(0));
    revision = other.revision;
    return *this;
}

void Label::init() {
    revision = 1;
    pitch = 0.0;
    bounded = 0;
}

double Label::get_natural_pitch(label_t type) {
    int const i = static_cast<int>(type);
    return (i >= 0 && i < label_type_count) ? label_pitches[i].pitch : label_pitches[0].pitch;
}

void Label::set_type(label_t type) {
    start.set_type(type);
    pitch = get_natural_pitch(type);
}

void Label::set_prefix(char const* text) {
    if (start.converter->has_prefix()) start.converter->set_prefix(&start, text);
}

// ---------------------------------------------------------------------------
// Offsets.

bool Label::after_span(int offset) const { return bounded && (offset == invalid_sample || offset > length); }

bool Label::before_span(int offset) const { return bounded && offset < 0; }

LabelPoint Label::get_label_point(int offset) const {
    LabelPoint p(start);
    if (after_span(offset))
        p.sample = past_end_sample;
    else if (before_span(offset))
        p.sample = before_start_sample;
    else
        p.sample = start.converter->normalise_sample_unit(lb::wrap_add(offset, start.sample));
    return p;
}

LabelPoint Label::get_unbounded_label_point(int offset) const {
    LabelPoint p(start);
    p.sample = start.converter->normalise_sample_unit(lb::wrap_add(offset, start.sample));
    return p;
}

char const* Label::get_string(int offset) const {
    if (after_span(offset)) return ">>>>>>";
    if (before_span(offset)) return "<<<<<<";
    return start.converter->get_string(start_ptr(), offset);
}

char const* Label::get_perfs_string(int offset) const {
    if (after_span(offset)) return ">>";
    if (before_span(offset)) return "<<";
    return start.converter->get_perfs_string(start_ptr(), offset);
}

unsigned Label::get_smpte_string(int offset) const {
    if (after_span(offset) || before_span(offset)) return 0;
    return start.converter->get_smpte_string(start_ptr(), offset);
}

int Label::cmp(int offset) const {
    if (after_span(offset)) return past_end_sample;
    if (before_span(offset)) return before_start_sample;
    return 0;
}

// ---------------------------------------------------------------------------
// Times and samples.

double Label::get_abs_posn(int offset) const {
    if (bounded && (offset < 0 || offset > length)) return no_position;
    int const abs = lb::wrap_add(offset, start.sample);
    if (abs == invalid_sample) return no_position;
    return start.converter->normalise_sample_unit(abs) * pitch;
}

double Label::get_abs_posn_extrapolate(int offset) const {
    int const abs = lb::wrap_add(offset, start.sample);
    if (abs == invalid_sample) return no_position;
    return start.converter->normalise_sample_unit(abs) * pitch;
}

double Label::sample_to_posn(int abs_sample) const {
    if (abs_sample == invalid_sample) return no_position;
    return start.converter->normalise_sample_unit(abs_sample) * pitch;
}

int Label::posn_to_sample(double t) const {
    double const e = pitch / 250;  // a 250th of a sample guards against rounding down
    double const x = t + e;
    double const unit = start.converter->samples_per_unit() * pitch;  // seconds per frame
    double const y = std::floor(x / unit) * unit + e;
    if (y >= 0) return y == no_position ? invalid_sample : truncate_to_sample(y / pitch);
    if (y < 0) return truncate_to_sample(y / pitch - 1);
    return invalid_sample;  // NaN
}

int Label::abs_posn_to_sample(double t) const {
    double const x = t + pitch / 500;
    if (x >= 0) return x == no_position ? invalid_sample : truncate_to_sample(x / pitch);
    if (x < 0) return truncate_to_sample(x / pitch - 1);
    return invalid_sample;  // NaN
}

double Label::get_V2tc(int offset) const {
    int const s = start.converter->normalise_sample_unit(lb::wrap_add(offset, start.sample));
    return start.converter->get_V2tc(s);
}

int Label::get_samples_from_SMPTETc(unsigned int word, bool& drop) const {
    unsigned copy = word;
    return start.converter->get_samples_from_SMPTETc(copy, drop);
}

int Label::get_start() const { return start.sample; }
int Label::get_end() const { return lb::wrap_add(start.sample, length); }
void Label::set_end(int abs_sample) { length = lb::wrap_sub(abs_sample, start.sample); }

int Label::get_sample(int abs_sample) const {
    int const offset = lb::wrap_sub(abs_sample, start.sample);
    if (bounded && (offset < 0 || offset > length)) return invalid_sample;
    return offset;
}

bool Label::contains(int abs_sample) const {
    if (!bounded) return true;
    int const offset = lb::wrap_sub(abs_sample, start.sample);
    return offset >= 0 && offset <= length;
}

bool Label::contains(Label const& other) const {
    if (compare_ignoring_case(start.get_prefix(), other.start.get_prefix()) != 0) return false;
    int const d = lb::wrap_sub(other.start.sample, start.sample);
    bool inside = true;  // the other start lies in this span
    if (bounded) {
        if (d < 0) return false;
        inside = length >= d;
    }
    if (!other.bounded) return inside;
    if (!inside) return false;
    if (!bounded) return true;
    int const e = lb::wrap_add(d, other.length);
    if (e < 0) return false;
    return length >= e;
}

bool Label::operator==(Label const& other) const {
    return start == other.get_label_point(0) && get_label_point(length) == other.get_label_point(other.length);
}

// ---------------------------------------------------------------------------
// The keep string.

std::size_t Label::write_keep_string(char* out, std::size_t capacity) const {
    label_cvt* const c = start.converter;
    int const unit = keep_unit(c);
    lb::BoundedWriter w(out, capacity);
    w.put("LABEL_REV:1 ");
    w.put(c->type_str());
    w.put(' ');
    w.put(start_ptr()->get_string());
    w.put(' ');
    lb::put_int(w, length / unit);  // a part unit is lost
    w.put(' ');
    lb::put_pitch(w, pitch * unit);
    w.put(' ');
    lb::put_int(w, bounded);
    return w.finish();
}

char* Label::make_keep_string(char* out) const {
    char* const target = out ? out : g_keep_buffer;
    write_keep_string(target, Label::keep_string_size);
    return target;
}

// ---------------------------------------------------------------------------
namespace {
lb::EarlyStatic<Label> g_invalid_label;
}  // namespace

Label const& get_invalid_label() { return g_invalid_label.get(); }

lb::LabelStaticsInit::LabelStaticsInit() { g_invalid_label.acquire(prefix_label_t); }
lb::LabelStaticsInit::~LabelStaticsInit() { g_invalid_label.release(); }
