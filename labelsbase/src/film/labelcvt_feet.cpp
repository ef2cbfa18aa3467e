// Feet-and-frames and film-frame converters.
#include <cstdint>
#include <cstring>

#include "labelsbase/LabelPoint.h"
#include "detail/internal.h"
#include "labelsbase/labelcvt.h"
#include "labelsbase/positions.h"

namespace {

constexpr int kMaxFeetDigits = 16;  // the 3-perf text is then 22 characters
constexpr std::size_t kTextRoom = label_point_text_room;
constexpr std::size_t kWorkRoom = 63;

bool is_special(int s) { return s == past_end_sample || s == before_start_sample || s == invalid_sample; }

// 10^(digits + 1), held at 2^40 (beyond every footage an int can give).
constexpr std::uint64_t wrap_feet_of(int digits) {
    std::uint64_t w = 10;
    for (int i = 0; i < digits && w < (std::uint64_t{1} << 40); ++i) w *= 10;
    return w;
}

struct FeetWraps {
    std::uint64_t w[kMaxFeetDigits + 1];
};
constexpr FeetWraps make_feet_wraps() {
    FeetWraps t{};
    for (int d = 0; d <= kMaxFeetDigits; ++d) t.w[d] = wrap_feet_of(d);
    return t;
}
constexpr FeetWraps kFeetWraps = make_feet_wraps();

// feet_digits is clamped to 0..16 at construction.
std::uint64_t wrap_feet(int digits) { return kFeetWraps.w[digits]; }

// "%c%0*d+%02d" (sign optional, ".%d" of perf_index when it is 1..9) into
// lp's text: written in place when it fits the 22 characters, else built
// aside and cut. frame is not negative.
char const* put_feet(LabelPoint* lp, char sign, std::uint32_t feet, int width, int frame, int perf_index) {
    int const n = lb::digit_count(feet);
    int const digits = width > n ? width : n;
    std::size_t const total = (sign ? 1u : 0u) + static_cast<std::size_t>(digits) + 3 + (perf_index ? 2 : 0);
    bool const two_digit_frame = frame <= 99;  // more only on a hand-built converter
    char buf[64];
    char* const start = total <= kTextRoom && two_digit_frame ? lp->text : buf;
    char* e = start;
    if (sign) *e++ = sign;
    e = lb::put_digits(e, feet, digits);
    *e++ = '+';
    e = two_digit_frame ? lb::put_pair(e, static_cast<unsigned>(frame)) : lb::put_int(e, frame, 2, true);
    if (perf_index) {
        *e++ = '.';
        *e++ = static_cast<char>('0' + perf_index);
    }
    std::size_t k = static_cast<std::size_t>(e - start);
    if (start == buf) {
        if (k > kTextRoom) k = kTextRoom;
        std::memcpy(lp->text, buf, k);
    }
    lp->text[k] = '\0';
    return lp->text;
}

// An unsigned decimal run as atoi reads it, p past the digits.
int read_run(char const*& p) {
    int v = 0;
    if (lb::read_short_run(p, v)) return v;
    v = lb::atoi_(p);
    while (lb::is_digit(*p)) ++p;
    return v;
}

// Frames of 4-perf 35 mm and 16 mm divide by constants.
template <unsigned M, unsigned P>
void split_feet(std::uint32_t a, std::uint64_t w, std::uint32_t& feet, std::uint32_t& frame) {
    std::uint32_t f = a / P;                         // [0, 2^31]
    if (f >= w) f -= static_cast<std::uint32_t>(w);  // once
    feet = f / M;
    frame = f % M;
}

}  // namespace

// ---------------------------------------------------------------------------
// foot_label
foot_label::foot_label(int m, int samples, int digits)
    : variable_label(m, samples),
      feet_digits(digits < 0                ? 0
                  : digits > kMaxFeetDigits ? kMaxFeetDigits
                                            : digits),
      perfs_per_frame(samples),
      published_apart_before_(),
      count(0),
      frame(0),
      perf(0),
      published_apart_after_() {
    build_template();
}

foot_label::~foot_label() = default;

char const* foot_label::type_str() const { return "foot_label"; }
label_t foot_label::type() const { return foot_label_t; }
UserLabelType foot_label::UserType() const { return feet_UserLabel; }

char const* foot_label::get_abs_string(LabelPoint* lp, int s) {
    if (is_special(s)) return full_template.getInvalidString(s);
    return samples_to_feet(lp, s);
}

int foot_label::get_abs_sample(char const* t) { return feet_to_samples(t); }

void foot_label::build_template() {
    full_template.set(LightweightString<char>(""));
    count_template.set(LightweightString<char>(""));
}

char const* foot_label::samples_to_feet(LabelPoint* lp, int s) {
    // A hand-built converter without frames or perforations has no footage.
    if (modulus <= 0 || perfs_per_frame <= 0) return full_template.getInvalidString(invalid_sample);
    std::uint32_t const m = static_cast<std::uint32_t>(modulus);
    std::uint64_t const w = wrap_feet(feet_digits) * m;
    std::uint32_t const a = lb::abs_u(s);
    std::uint32_t feet, fr;
    if (m == 16 && perfs_per_frame == 4) {
        split_feet<16, 4>(a, w, feet, fr);
    } else if (m == 40 && perfs_per_frame == 1) {
        split_feet<40, 1>(a, w, feet, fr);
    } else {
        std::uint32_t f = a / static_cast<std::uint32_t>(perfs_per_frame);  // [0, 2^31]
        if (f >= w) f -= static_cast<std::uint32_t>(w);                     // once
        feet = f / m;
        fr = f % m;
    }
    count = static_cast<int>(feet);
    frame = static_cast<int>(fr);
    // A label point whose sign column was dropped gets the unsigned form.
    char const sign = lp->label_template.template_text.c_str()[0] == '-' ? (s < 0 ? '-' : ' ') : '\0';
    return put_feet(lp, sign, feet, feet_digits, static_cast<int>(fr), 0);
}

int foot_label::feet_to_samples(char const* t) {
    if (!t) return invalid_sample;
    char const* p = t;
    while (lb::is_space(*p)) ++p;
    bool const neg = *p == '-';
    if (neg) ++p;
    int const feet = read_run(p);
    if (*p) ++p;
    int const fr = read_run(p);
    int const v = lb::wrap_mul(lb::wrap_add(lb::wrap_mul(feet, modulus), fr), perfs_per_frame);
    return neg ? lb::wrap_neg(v) : v;
}

// ---------------------------------------------------------------------------
// The 4-perf 35 mm and 16 mm leaves: 16 frames of 4 perforations and 40
// frames of 1 to the foot.
namespace {
// '-', feet_digits nines, then the frame field.
void set_feet_templates(label_cvt& c, int digits, char const* frame_field) {
    char t[48];
    char* e = t;
    *e++ = '-';
    for (int i = 0; i < digits; ++i) *e++ = '9';
    std::size_t const n = std::strlen(frame_field);
    std::memcpy(e, frame_field, n + 1);
    c.full_template.set(LightweightString<char>(t));
    c.count_template.set(LightweightString<char>(t));
}
}  // namespace

foot_35_label::foot_35_label(int digits) : foot_label(16, 4, digits) { build_template(); }
foot_35_label::~foot_35_label() = default;
char const* foot_35_label::type_str() const { return "foot_35_label"; }
label_t foot_35_label::type() const { return foot_35_label_t; }
void foot_35_label::build_template() { set_feet_templates(*this, feet_digits, ".19"); }

foot_16_label::foot_16_label(int digits) : foot_label(40, 1, digits) { build_template(); }
foot_16_label::~foot_16_label() = default;
char const* foot_16_label::type_str() const { return "foot_16_label"; }
label_t foot_16_label::type() const { return foot_16_label_t; }
void foot_16_label::build_template() { set_feet_templates(*this, feet_digits, ".39"); }

// ---------------------------------------------------------------------------
// foot_353_label: 64 perforations to the foot, 22 frames of 3 and the frame
// numbering two perforations ahead, as 3-perf KeyKode.
foot_353_label::foot_353_label(int digits) : foot_label(22, 3, digits) { build_template(); }
foot_353_label::~foot_353_label() = default;
char const* foot_353_label::type_str() const { return "foot_353_label"; }
label_t foot_353_label::type() const { return foot_353_label_t; }
void foot_353_label::build_template() { set_feet_templates(*this, feet_digits, "+29.3"); }

char const* foot_353_label::samples_to_feet(LabelPoint* lp, int s) {
    positions::FilmCounts const k = positions::perfs_to_feet(positions::feet_353, s);  // frame [0, 21], perf [0, 2]
    std::uint32_t feet = static_cast<std::uint32_t>(k.count);
    frame = k.frame;
    perf = k.perf;
    std::uint64_t const w = wrap_feet(feet_digits);
    if (feet > w) feet -= static_cast<std::uint32_t>(w);  // once
    count = static_cast<int>(feet);
    return put_feet(lp, s < 0 ? '-' : ' ', feet, feet_digits, k.frame, k.perf + 1);
}

int foot_353_label::feet_to_samples(char const* t) {
    if (!t) return invalid_sample;
    std::size_t len = 0;
    while (len <= kWorkRoom && t[len]) ++len;
    if (len > kWorkRoom) return invalid_sample;
    char const* p = t;
    while (lb::is_space(*p)) ++p;
    bool const neg = *p == '-';
    if (neg) ++p;
    if (p == t + len) return invalid_sample;
    // ' 0001+00.3': the last character is the perforation index 1..3.
    char const last = t[len - 1];
    int const idx = lb::is_digit(last) ? last - '0' : 0;
    perf = idx - 1;
    int const feet = read_run(p);
    if (*p) ++p;
    int const fr = read_run(p);  // stops at the '.'
    count = feet;
    frame = fr;
    int const v =
        lb::wrap_sub(lb::wrap_add(lb::wrap_add(lb::wrap_mul(feet, 64), lb::wrap_mul(fr, perfs_per_frame)), 1), idx);
    return neg ? lb::wrap_neg(v) : v;
}

// ---------------------------------------------------------------------------
// film_frames_label
film_frames_label::film_frames_label() : variable_label(999999, 1) { build_template(); }
film_frames_label::~film_frames_label() = default;
char const* film_frames_label::type_str() const { return "film_frames_label"; }
label_t film_frames_label::type() const { return film_frames_label_t; }
UserLabelType film_frames_label::UserType() const { return film_frames_UserLabel; }

char const* film_frames_label::get_abs_string(LabelPoint* lp, int s) {
    if (is_special(s)) return full_template.getInvalidString(s);
    // "%.6d": at most '-' and 10 digits.
    std::uint32_t const a = lb::abs_u(s);
    char* e = lp->text;
    if (s < 0) *e++ = '-';
    int const n = lb::digit_count(a);
    e = lb::put_digits(e, a, n > 6 ? n : 6);
    *e = '\0';
    return lp->text;
}

int film_frames_label::get_abs_sample(char const* t) {
    if (!t) return invalid_sample;
    // "%d" of sscanf; a plain run of up to 9 digits needs none of its rules.
    char const* p = t + (*t == '-');
    int v = 0;
    if (lb::read_short_run(p, v)) return *t == '-' ? -v : v;
    if (!lb::scan_int(t, 0, v)) return invalid_sample;
    return v;
}

void film_frames_label::build_template() {
    full_template.set(LightweightString<char>("-999999"));
    count_template.set(LightweightString<char>("-999999"));
}
