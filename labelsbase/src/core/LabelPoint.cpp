#include "labelsbase/LabelPoint.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "detail/internal.h"

// The constructors take the converter's template once: a copy shares its
// strings, so a point costs no allocation.
LabelPoint::LabelPoint(int s, label_t type)
    : sample(0),
      converter(get_static_label_cvt(type)),
      primary_template(true),
      label_template(converter->full_template) {
    clear_texts();
    sample = converter->normalise_sample_unit(s);
}

LabelPoint::LabelPoint(int s, label_cvt* cvt)
    : sample(0), converter(cvt), primary_template(true), label_template(cvt->full_template) {
    clear_texts();
    sample = cvt->normalise_sample_unit(s);
}

LabelPoint::LabelPoint(LabelPoint const& o)
    : sample(o.sample), converter(o.converter), primary_template(true), label_template(o.label_template) {
    clear_texts();
    copy_prefix(o.prefix);
}

LabelPoint& LabelPoint::operator=(LabelPoint const& o) {
    if (this == &o) return *this;
    sample = o.sample;
    converter = o.converter;
    label_template = o.label_template;
    primary_template = o.primary_template;
    copy_prefix(o.prefix);
    return *this;
}

LabelPoint::~LabelPoint() = default;

void LabelPoint::copy_prefix(char const* p) {
    std::size_t n = 0;
    while (n < 20 && p[n]) ++n;
    std::memmove(prefix, p, n);
    prefix[n] = '\0';
    prefix[20] = '\0';
}

void LabelPoint::clear_texts() {
    prefix[0] = '\0';
    prefix[20] = '\0';
    text[0] = '\0';
}

void LabelPoint::init() {
    sample = 0;
    primary_template = true;
    clear_texts();
    set_type(prefix_label_t);
    label_template = converter->full_template;
}

void LabelPoint::take_template() {
    label_template = primary_template ? converter->full_template : converter->count_template;
}

void LabelPoint::set_type(label_t type) {
    converter = get_static_label_cvt(type);
    take_template();
}

char const* LabelPoint::get_string() { return converter->get_abs_string(this, sample); }
char const* LabelPoint::get_keep_string() { return converter->get_keep_string(this, sample); }

char const* LabelPoint::get_prefix() const {
    char const* p = converter->get_prefix(this);
    int n = converter->get_prefix_length();
    if (n < 0) n = 0;
    if (n > static_cast<int>(label_point_text_room)) n = static_cast<int>(label_point_text_room);
    int i = 0;
    // The converter's text may be this point's own text: copy forwards.
    for (; i < n && p[i]; ++i) text[i] = p[i];
    text[i] = '\0';
    return text;
}

void LabelPoint::get_hmsf(short& h, short& m, short& sec, short& f) {
    h = m = sec = f = 0;
    if (converter->UserType() != timecode_UserLabel) return;
    // A converter of another family claiming the timecode category has no
    // time of day to give.
    if (timecode_label* tc = dynamic_cast<timecode_label*>(converter)) tc->get_abs_hmsf(sample, h, m, sec, f);
}

LabelPoint LabelPoint::operator+(LabelPoint const& b) const {
    if (converter->type() != b.converter->type()) return LabelPoint(invalid_label_point);
    return LabelPoint(lb::wrap_add(sample, b.sample), converter);
}

LabelPoint LabelPoint::operator-(LabelPoint const& b) const {
    if (converter->type() != b.converter->type()) return LabelPoint(invalid_label_point);
    return LabelPoint(lb::wrap_sub(sample, b.sample), converter);
}

bool LabelPoint::operator==(LabelPoint const& b) const {
    if (converter->type() != b.converter->type() || sample != b.sample) return false;
    if (converter->has_prefix()) return std::strcmp(prefix, b.prefix) == 0;
    return true;
}

void LabelPoint::constrain_positive() {
    if (converter->UserType() != timecode_UserLabel || sample >= 0) return;
    timecode_label const* tc = dynamic_cast<timecode_label const*>(converter);
    int const day = tc ? tc->get_day_samples() : lb::wrap_mul(converter->get_modulus(), 86400);
    sample = lb::wrap_add(sample, day);
}

void LabelPoint::modify_type(label_t type) {
    if (!converter->has_prefix()) return;
    label_cvt* const nc = get_static_label_cvt(type);
    int const old_len = converter->get_count_length();
    int const new_len = nc->get_count_length();
    if (old_len == new_len) return;
    if (old_len > new_len) {
        sample %= (new_len == 4) ? 640000 : 6400000;
    } else {
        int const start = nc->get_prefix_length();
        int const n = new_len - old_len;
        char digits[21] = {0};
        if (start >= 0 && start < 20) {
            int i = 0;
            for (; i < n && start + i < 20 && prefix[start + i]; ++i) digits[i] = prefix[start + i];
            digits[i] = '\0';
        }
        int const scale = (old_len == 4) ? 640000 : 6400000;
        sample = lb::wrap_add(sample, lb::wrap_mul(lb::atoi_(digits), scale));
    }
    converter = nc;
    take_template();
}

void LabelPoint::modify_count_length(int n) {
    if (n < 4 || n > 6) return;
    switch (converter->type()) {
    case keycode_35_label_t:
    case keycode_35_label_4_t:
    case keycode_35_label_5_t:
    case keycode_35_label_6_t: modify_type(static_cast<label_t>(n + 17)); break;
    case keycode_16_label_t:
    case keycode_16_label_4_t:
    case keycode_16_label_5_t:
    case keycode_16_label_6_t: modify_type(static_cast<label_t>(n + 20)); break;
    case keycode_353_label_t:
    case keycode_353_label_4_t:
    case keycode_353_label_5_t:
    case keycode_353_label_6_t: modify_type(static_cast<label_t>(n + 23)); break;
    default: break;
    }
}

void LabelPoint::removePadding() {
    if (sample < 0) return;
    char const* t = label_template.template_text.c_str();
    if (t[0] == '-') ++t;
    label_template = LabelTemplate(LightweightString<char>(t));
}

// ---------------------------------------------------------------------------
namespace {
lb::EarlyStatic<LabelPoint> g_invalid_point;
}  // namespace

LabelPoint& invalid_label_point = g_invalid_point.get();

lb::StaticsInit::StaticsInit() { g_invalid_point.acquire(0, prefix_label_t); }
lb::StaticsInit::~StaticsInit() { g_invalid_point.release(); }
