// The label-type catalogue, the converter interface's defaults, the fallback
// converter and the registry.
#include "labelsbase/labelcvt.h"
#include "labelsbase/text_checks.h"

#include <atomic>
#include <cstring>
#include <mutex>

#include "labelsbase/LabelPoint.h"
#include "detail/internal.h"
#include "detail/log_keys.h"

namespace {

constexpr UserLabelType kNone = none_UserLabel;
constexpr UserLabelType kTc = timecode_UserLabel;
constexpr UserLabelType kKey = keycode_UserLabel;
constexpr UserLabelType kFeet = feet_UserLabel;
constexpr UserLabelType kInk = ink_UserLabel;
constexpr UserLabelType kFrames = film_frames_UserLabel;
constexpr Kest::FrameRate kNoStd = Kest::FrameRate_none;

// One row per label_t, in value order.
constexpr LabelTypeInfo kLabelTypes[] = {
    {prefix_label_t, "prefix_label_t", "prefix_label", false, kNone, "", 1, 1, nullptr, nullptr, "BAD", kNoStd},
    {label_cvt_t, "label_cvt_t", "label_cvt", false, kNone, "", 1, 1, nullptr, nullptr, "BAD", kNoStd},
    {variable_label_t, "variable_label_t", "variable_label", false, kNone, "", 1, 1, nullptr, nullptr, "BAD", kNoStd},
    {dummy_label_t, "dummy_label_t", "dummy_label", false, kNone, "", 1, 1, nullptr, nullptr, "BAD", kNoStd},
    {timecode_label_t, "timecode_label_t", "timecode_label", false, kNone, "", 1, 1, nullptr, nullptr, "BAD", kNoStd},
    {pal_label_t, "pal_label_t", "pal_label", true, kTc, "frame", 25, 1, "P", "25F", "25f", Kest::FrameRate_25},
    {ntsc_label_t, "ntsc_label_t", "ntsc_label", true, kTc, "frame", 30, 1, "N", "30F-NONDROP", "30f-nondrop",
     Kest::FrameRate_29_97},
    {ntsc_drop_label_t, "ntsc_drop_label_t", "ntsc_drop_label", true, kTc, "frame", 30, 1, "ND", "30F-DROP", "30f-drop",
     Kest::FrameRate_29_97},
    {tc_24_label_t, "tc_24_label_t", "tc_24_label", true, kTc, "frame", 24, 1, "P24", "24F", "24f",
     Kest::FrameRate_23_976},
    {keycode_label_t, "keycode_label_t", "keycode_label", false, kNone, "", 1, 1, nullptr, nullptr, "BAD", kNoStd},
    {keycode_35_label_t, "keycode_35_label_t", "keycode_35_label", true, kKey, "perforation", 16, 4, "F35", nullptr,
     "F35", kNoStd},
    {keycode_16_label_t, "keycode_16_label_t", "keycode_16_label", true, kKey, "perforation", 20, 1, "F16", nullptr,
     "F16", kNoStd},
    {keycode_353_label_t, "keycode_353_label_t", "keycode_353_label", true, kKey, "perforation", 22, 3, "F353", nullptr,
     "F353", kNoStd},
    {foot_label_t, "foot_label_t", "foot_label", false, kNone, "", 1, 1, nullptr, nullptr, "BAD", kNoStd},
    {foot_35_label_t, "foot_35_label_t", "foot_35_label", true, kFeet, "perforation", 16, 4, nullptr, nullptr, "BAD",
     kNoStd},
    {foot_16_label_t, "foot_16_label_t", "foot_16_label", true, kFeet, "perforation", 40, 1, nullptr, nullptr, "BAD",
     kNoStd},
    {foot_353_label_t, "foot_353_label_t", "foot_353_label", true, kFeet, "perforation", 22, 3, nullptr, nullptr, "BAD",
     kNoStd},
    {ink_label_t, "ink_label_t", "ink_label", false, kNone, "", 1, 1, nullptr, nullptr, "I35", kNoStd},
    {ink_35_label_t, "ink_35_label_t", "ink_35_label", true, kInk, "perforation", 16, 4, "I35", nullptr, "I35", kNoStd},
    {ink_16_label_t, "ink_16_label_t", "ink_16_label", true, kInk, "perforation", 20, 1, "I16", nullptr, "I16", kNoStd},
    {tc_48_label_t, "tc_48_label_t", "tc_48_label", true, kTc, "frame", 48, 1, "P48", "48F", "48f", Kest::FrameRate_48},
    {keycode_35_label_4_t, "keycode_35_label_4_t", "keycode_35_label_4", true, kKey, "perforation", 16, 4, "F35_4",
     nullptr, "F35_4", kNoStd},
    {keycode_35_label_5_t, "keycode_35_label_5_t", "keycode_35_label_5", true, kKey, "perforation", 16, 4, "F35_5",
     nullptr, "F35_5", kNoStd},
    {keycode_35_label_6_t, "keycode_35_label_6_t", "keycode_35_label_6", true, kKey, "perforation", 16, 4, "F35_6",
     nullptr, "F35_6", kNoStd},
    {keycode_16_label_4_t, "keycode_16_label_4_t", "keycode_16_label_4", true, kKey, "perforation", 20, 1, "F16_4",
     nullptr, "F16_4", kNoStd},
    {keycode_16_label_5_t, "keycode_16_label_5_t", "keycode_16_label_5", true, kKey, "perforation", 20, 1, "F16_5",
     nullptr, "F16_5", kNoStd},
    {keycode_16_label_6_t, "keycode_16_label_6_t", "keycode_16_label_6", true, kKey, "perforation", 20, 1, "F16_6",
     nullptr, "F16_6", kNoStd},
    {keycode_353_label_4_t, "keycode_353_label_4_t", "keycode_353_label_4", true, kKey, "perforation", 22, 3, "F353_4",
     nullptr, "F353_4", kNoStd},
    {keycode_353_label_5_t, "keycode_353_label_5_t", "keycode_353_label_5", true, kKey, "perforation", 22, 3, "F353_5",
     nullptr, "F353_5", kNoStd},
    {keycode_353_label_6_t, "keycode_353_label_6_t", "keycode_353_label_6", true, kKey, "perforation", 22, 3, "F353_6",
     nullptr, "F353_6", kNoStd},
    {film_frames_label_t, "film_frames_label_t", "film_frames_label", true, kFrames, "frame", 999999, 1, "FR", nullptr,
     "BAD", kNoStd},
    {tc_50_label_t, "tc_50_label_t", "tc_50_label", true, kTc, "frame", 50, 1, "P50", "50F", "50f", Kest::FrameRate_50},
    {tc_60_label_t, "tc_60_label_t", "tc_60_label", true, kTc, "frame", 60, 1, "P60", "60F", "60f", Kest::FrameRate_60},
    {keycode_352_label_t, "keycode_352_label_t", "keycode_352_label", true, kKey, "perforation", 32, 2, "F352", nullptr,
     "F352", kNoStd},
    {keycode_358_label_t, "keycode_358_label_t", "keycode_358_label", true, kKey, "perforation", 8, 8, "F358", nullptr,
     "F358", kNoStd},
    {keycode_655_80_label_t, "keycode_655_80_label_t", "keycode_655_80_label", true, kKey, "perforation", 16, 5,
     "F655_80", nullptr, "F655_80", kNoStd},
    {keycode_658_80_label_t, "keycode_658_80_label_t", "keycode_658_80_label", true, kKey, "perforation", 10, 8,
     "F658_80", nullptr, "F658_80", kNoStd},
    {keycode_6510_80_label_t, "keycode_6510_80_label_t", "keycode_6510_80_label", true, kKey, "perforation", 8, 10,
     "F6510_80", nullptr, "F6510_80", kNoStd},
    {keycode_655_120_label_t, "keycode_655_120_label_t", "keycode_655_120_label", true, kKey, "perforation", 24, 5,
     "F655_120", nullptr, "F655_120", kNoStd},
    {keycode_658_120_label_t, "keycode_658_120_label_t", "keycode_658_120_label", true, kKey, "perforation", 15, 8,
     "F658_120", nullptr, "F658_120", kNoStd},
    {keycode_6510_120_label_t, "keycode_6510_120_label_t", "keycode_6510_120_label", true, kKey, "perforation", 12, 10,
     "F6510_120", nullptr, "F6510_120", kNoStd},
    {keycode_6515_120_label_t, "keycode_6515_120_label_t", "keycode_6515_120_label", true, kKey, "perforation", 8, 15,
     "F6515_120", nullptr, "F6515_120", kNoStd},
    {tc_50_duration_label_t, "tc_50_duration_label_t", "tc_50_duration_label", true, kTc, "frame", 50, 1, "D50",
     nullptr, "BAD", kNoStd},
    {tc_60_duration_label_t, "tc_60_duration_label_t", "tc_60_duration_label", true, kTc, "frame", 60, 1, "D60",
     nullptr, "BAD", kNoStd},
    {tc_12_label_t, "tc_12_label_t", "tc_12_label", true, kTc, "frame", 12, 1, "P12", nullptr, "12f",
     Kest::FrameRate_12},
    {tc_15_label_t, "tc_15_label_t", "tc_15_label", true, kTc, "frame", 15, 1, "P15", nullptr, "15f",
     Kest::FrameRate_15},
    {tc_20_label_t, "tc_20_label_t", "tc_20_label", true, kTc, "frame", 20, 1, "P20", nullptr, "20f",
     Kest::FrameRate_20},
    {tc_80_label_t, "tc_80_label_t", "tc_80_label", true, kTc, "frame", 80, 1, "P80", nullptr, "80f",
     Kest::FrameRate_80},
    {tc_90_label_t, "tc_90_label_t", "tc_90_label", true, kTc, "frame", 90, 1, "P90", nullptr, "90f",
     Kest::FrameRate_90},
    {tc_100_label_t, "tc_100_label_t", "tc_100_label", true, kTc, "frame", 100, 1, "P100", nullptr, "100f",
     Kest::FrameRate_100},
    {tc_120_label_t, "tc_120_label_t", "tc_120_label", true, kTc, "frame", 120, 1, "P120", nullptr, "120f",
     Kest::FrameRate_120},
    {tc_240_label_t, "tc_240_label_t", "tc_240_label", true, kTc, "frame", 240, 1, "P240", nullptr, "240f",
     Kest::FrameRate_240},
};
static_assert(sizeof(kLabelTypes) / sizeof(kLabelTypes[0]) == label_type_count, "one row per label type");

constexpr bool rows_in_order() {
    for (int i = 0; i < label_type_count; ++i)
        if (kLabelTypes[i].type != i) return false;
    return true;
}
static_assert(rows_in_order(), "catalogue rows are indexed by label_t");

}  // namespace

LabelTypeInfo const& label_type_info(label_t t) {
    int const i = static_cast<int>(t);
    return (i >= 0 && i < label_type_count) ? kLabelTypes[i] : kLabelTypes[0];
}

bool UserType_matches(UserLabelType a, UserLabelType b) {
    if (a == any_UserLabel || b == any_UserLabel) return true;
    if (a == none_UserLabel || b == none_UserLabel) return false;
    return a == b;
}

// ---------------------------------------------------------------------------
// label_cvt
std::atomic<int> label_cvt::howmany{0};

label_cvt::label_cvt() : full_template(LightweightString<char>("")), count_template(LightweightString<char>("")) {
    ++howmany;
}

label_cvt::~label_cvt() { --howmany; }

int label_cvt::normalise_sample_unit(int s) { return s; }
int label_cvt::perfs_per_keyKode() const { return 1; }
int label_cvt::get_samples_from_SMPTETc(unsigned&, bool&) { return 0; }
char const* label_cvt::get_abs_perfs_string(LabelPoint*, int) { return ""; }
void label_cvt::build_template() {
    full_template.set(LightweightString<char>(""));
    count_template.set(LightweightString<char>(""));
}
bool label_cvt::isSpecialSlowTC() const { return false; }
char label_cvt::getFrameSeparator() const { return '\0'; }

char const* label_cvt::get_invalid_string(LabelPoint*, int s) { return full_template.getInvalidString(s); }

// ---------------------------------------------------------------------------
// variable_label
variable_label::variable_label(int m, int samples)
    // The frame separator is the derived converter's to set; '.' until then.
    : modulus(m), frame_separator('.'), unit_samples(samples) {}

variable_label::~variable_label() = default;

char const* variable_label::type_str() const { return "variable_label"; }
label_t variable_label::type() const { return variable_label_t; }
UserLabelType variable_label::UserType() const { return none_UserLabel; }
bool variable_label::has_prefix() const { return false; }
int variable_label::get_prefix_length() const { return 0; }
int variable_label::get_count_length() const { return 0; }
int variable_label::get_modulus() const { return modulus; }
int variable_label::samples_per_unit() const { return unit_samples; }

char const* variable_label::get_string(LabelPoint* lp, int s) {
    return get_abs_string(lp, lb::wrap_add(s, lp->sample));
}
char const* variable_label::get_perfs_string(LabelPoint* lp, int s) {
    return get_abs_perfs_string(lp, lb::wrap_add(s, lp->sample));
}
unsigned variable_label::get_smpte_string(LabelPoint* lp, int s) {
    return get_abs_smpte_string(lp, lb::wrap_add(s, lp->sample));
}

int variable_label::get_samples_from_SMPTETc(unsigned& word, bool& drop) {
    unsigned const w = word;
    int const f0 = static_cast<int>(((w >> 4) & 0x3u) * 10 + (w & 0xFu));
    int const sec = static_cast<int>(((w >> 12) & 0x7u) * 10 + ((w >> 8) & 0xFu));
    int const m = static_cast<int>(((w >> 20) & 0x7u) * 10 + ((w >> 16) & 0xFu));
    int const h = static_cast<int>(((w >> 28) & 0x3u) * 10 + ((w >> 24) & 0xFu));
    int const f = (modulus == 50 || modulus == 60) ? f0 * 2 : f0;
    drop = ((w >> 6) & 1u) != 0;
    // h <= 39, m and sec <= 79: the seconds fit easily; the product may not
    // for an odd modulus, so it wraps.
    int const secs = h * 3600 + m * 60 + sec;
    return lb::wrap_mul(lb::wrap_add(lb::wrap_mul(secs, modulus), f), unit_samples);
}

int variable_label::get_sample(LabelPoint* lp, char const* t) {
    int const s = get_abs_sample(t);
    return lb::wrap_sub(s, lp->sample);
}
int variable_label::get_sample(LabelPoint* lp, int s) { return lb::wrap_add(s, lp->sample); }
int variable_label::get_abs_sample_from_packed_string(char const*) { return invalid_sample; }
int variable_label::get_sample_span_from_packed_strings(char const*, char const*) { return invalid_sample; }
char const* variable_label::get_abs_string(LabelPoint*, int) { return ""; }
unsigned variable_label::get_abs_smpte_string(LabelPoint*, int) { return 0; }
int variable_label::get_abs_sample(char const*) { return 0; }
char const* variable_label::get_keep_string(LabelPoint* lp, int s) { return get_abs_string(lp, s); }
int variable_label::get_keep_sample(char const* t) { return get_abs_sample(t); }
double variable_label::get_V2tc(int) { return 1e99; }
int variable_label::get_abs_sample(double) { return invalid_sample; }
char const* variable_label::get_dummy_prefix() { return ""; }
char const* variable_label::get_prefix(LabelPoint const*) const { return ""; }
void variable_label::set_prefix(LabelPoint*, char const*) {}
char variable_label::getFrameSeparator() const { return frame_separator; }

// ---------------------------------------------------------------------------
// dummy_label
dummy_label::dummy_label() : variable_label(1, 1) {}
dummy_label::~dummy_label() = default;

char const* dummy_label::type_str() const { return "dummy_label"; }
label_t dummy_label::type() const { return dummy_label_t; }
UserLabelType dummy_label::UserType() const { return none_UserLabel; }
char const* dummy_label::get_string(LabelPoint*, int) { return kNoTypeText; }
char const* dummy_label::get_perfs_string(LabelPoint*, int) { return "??"; }
unsigned dummy_label::get_smpte_string(LabelPoint*, int) { return 0; }
int dummy_label::get_sample(LabelPoint*, char const*) { return invalid_sample; }
int dummy_label::get_sample(LabelPoint*, int) { return invalid_sample; }
char const* dummy_label::get_abs_string(LabelPoint*, int) { return kNoTypeText; }
unsigned dummy_label::get_abs_smpte_string(LabelPoint*, int) { return 0; }
int dummy_label::get_abs_sample(char const*) { return invalid_sample; }
double dummy_label::get_V2tc(int) { return 1e99; }
int dummy_label::get_abs_sample(double) { return invalid_sample; }
void dummy_label::build_template() {}

// ---------------------------------------------------------------------------
// The registry. Plain zero-initialised statics, so they are usable from any
// unit's static initialisers: the first lookup builds them, under a lock so
// that threads racing to the first lookup build it once; a lookup made from
// inside a converter's constructor (same thread) re-enters the lock and
// sees the partly built registry. Once built, lookups read an acquire flag
// and take no lock.
label_cvt* static_label_cvts[label_type_count];
int numLabelCvts = 0;
bool static_label_cvts_built = false;
label_cvt* bad_label_cvt = nullptr;

// Makes every choice a converter would otherwise make on its first use.
struct shared_converter_setup {
    static void prepare(label_cvt& c) {
        if (timecode_label* tc = dynamic_cast<timecode_label*>(&c)) tc->choose_route();
        if (prefix_label* p = dynamic_cast<prefix_label*>(&c)) p->settle_exact();
    }
};

namespace {
// Constant-initialised.
std::recursive_mutex g_registry_build;
std::atomic<bool> g_registry_ready{false};

inline bool registry_ready() { return g_registry_ready.load(std::memory_order_acquire); }

label_cvt* make_leaf(label_t t) {
    if (label_cvt* c = make_timecode_label_cvt(t)) return c;
    return make_film_label_cvt(t);
}
}  // namespace

void build_static_label_cvts() {
    if (registry_ready()) return;
    std::lock_guard<std::recursive_mutex> const lock(g_registry_build);
    if (static_label_cvts_built) return;
    // A partly built registry (a converter constructor that looked a type up)
    // is not rebuilt from the start.
    if (!bad_label_cvt) bad_label_cvt = new dummy_label();
    // Slots are filled in label_t order, which is the order the converters
    // are constructed in; types without a leaf share the fallback.
    while (numLabelCvts < label_type_count) {
        label_t const t = static_cast<label_t>(numLabelCvts);
        label_cvt* c = make_leaf(t);
        static_label_cvts[numLabelCvts++] = c ? c : bad_label_cvt;
    }
    if (numLabelCvts != tc_240_label_t + 1) lb::assertion_failed(lb::log_keys::registry_incomplete);
    // The shared converters live as long as the process: their templates are
    // shared by every label point without counting, and every choice a
    // converter would make on first use is made now, before any thread can
    // race to make it.
    for (int i = 0; i < numLabelCvts; ++i) {
        label_cvt* const c = static_label_cvts[i];
        c->full_template.make_immutable();
        c->count_template.make_immutable();
        shared_converter_setup::prepare(*c);
    }
    static_label_cvts_built = true;
    g_registry_ready.store(true, std::memory_order_release);
}

label_cvt* get_static_label_cvt(label_t t) {
    if (!registry_ready()) build_static_label_cvts();
    int const i = static_cast<int>(t);
    if (i >= 0 && i < numLabelCvts) return static_label_cvts[i];
    lb::assertion_failed(lb::log_keys::registry_type_out_of_range);
    return bad_label_cvt;
}

label_t get_label_type(char const* name) {
    if (!registry_ready()) build_static_label_cvts();
    if (!name) return prefix_label_t;
    for (int i = 0; i < numLabelCvts; ++i)
        if (std::strcmp(static_label_cvts[i]->type_str(), name) == 0) return static_cast<label_t>(i);
    return prefix_label_t;
}

label_cvt* make_any_label_cvt(label_t t) {
    if (label_cvt* c = make_leaf(t)) return c;
    return new dummy_label();
}
