// Ink-number converters: 4-character prefix, 4-digit count, frame.
#include <cstring>

#include "labelsbase/LabelPoint.h"
#include "detail/ink_text.h"
#include "detail/internal.h"
#include "labelsbase/labelcvt.h"
#include "labelsbase/positions.h"

namespace {

constexpr unsigned kInkNumberLen = 8;  // prefix and count
constexpr unsigned kInkCountLen = 4;

}  // namespace

// ---------------------------------------------------------------------------
// ink_label
ink_label::ink_label(int m, int samples) : prefix_label(m, samples, static_cast<int>(kInkNumberLen)) {
    frame_separator = '+';
    dummy_prefix = "XXXX";
    set_count_len(kInkCountLen);
    build_template();
}

ink_label::~ink_label() = default;

char const* ink_label::type_str() const { return "ink_label"; }
label_t ink_label::type() const { return ink_label_t; }
UserLabelType ink_label::UserType() const { return ink_UserLabel; }

int ink_label::normalise_sample_unit(int s) { return normalise_by_period(s); }

char const* ink_label::get_abs_string(LabelPoint* lp, int s) {
    if (s == past_end_sample || s == before_start_sample || s == invalid_sample)
        return full_template.getInvalidString(s);
    int c, f;
    counts_of(s, c, f);
    return print_counts(lp, frame_separator, false, c, f, 0);
}

void ink_label::counts_of(int s, int& c, int& f) {
    if (exact_gauge()) {
        positions::FilmCounts const k = positions::perfs_to_ink(*gauge_, s);
        c = k.count;
        f = k.frame;
        count = c;
        frame = f;
        return;
    }
    get_counts(s);  // a derived split hands its results over in the fields
    c = count;
    f = frame;
}

int ink_label::get_abs_sample(char const* t) {
    if (!t) return invalid_sample;
    // The usual shape, 'ABCD1234+05', is its own normalised form.
    unsigned digits = 0, fd = 0;
    if (prefix_len == 4 && count_len == 4 && t[0] && t[1] && t[2] && t[3] && lb::read_fixed(t + 4, 4, digits) && t[8] &&
        lb::read_fixed(t + 9, 2, fd) && !t[11]) {
        if (static_cast<int>(digits) > max_count || static_cast<int>(fd) >= modulus) return invalid_sample;
        count = static_cast<int>(digits);
        frame = static_cast<int>(fd);
        return lb::wrap_mul(samples_per_unit(),
                            lb::wrap_add(lb::wrap_mul(modulus, static_cast<int>(digits)), static_cast<int>(fd)));
    }
    // The normalised text from the count field on: a short text's count and
    // frame are its own characters behind the '0' padding, so only long
    // texts (or a prefix shorter than the padding) need the copy.
    std::size_t const n = lb::length_upto(t, 12);
    std::size_t const pad = n < 12 ? ((11 - n) < 4 ? 11 - n : 4) : 0;
    std::size_t const size = n < 12 ? pad + n : 11;
    std::size_t const start = prefix_len < size ? prefix_len : size;
    lb::InkText u;
    char const* body;
    if (n < 12 && start >= pad) {
        body = t + (start - pad);
    } else {
        u = lb::normalise_ink(t);
        body = u.chars + start;
    }
    // Count field: count_len characters after the prefix (fewer when the
    // normalised text is shorter).
    std::size_t const len = count_len < size - start ? count_len : size - start;
    long c;
    if (len <= 9 && lb::read_fixed(body, static_cast<unsigned>(len), digits)) {
        c = static_cast<long>(digits);
    } else {
        char field[16];
        std::memcpy(field, body, len);
        field[len] = '\0';
        c = lb::atol_(field);
    }
    if (c < 0 || c > max_count) return invalid_sample;
    int f = 0;
    std::size_t const after = start + len;
    if (after < size) {
        // One separator character, then at most two frame characters.
        char const* ft = body + len + 1;
        std::size_t const left = size - after - 1;
        if (left > 2) return invalid_sample;
        f = lb::read_fixed(ft, static_cast<unsigned>(left), fd) ? static_cast<int>(fd) : lb::atoi_(ft);
        if (f < 0 || f >= modulus) return invalid_sample;
    }
    count = static_cast<int>(c);
    frame = f;
    return lb::wrap_mul(samples_per_unit(), lb::wrap_add(lb::wrap_mul(modulus, static_cast<int>(c)), f));
}

void ink_label::build_template() {
    char suffix[16];
    char* e = suffix;
    *e++ = '+';
    e = lb::put_int(e, template_frame_limit(), 1, true);
    *e = '\0';
    set_templates(suffix);
}

void ink_label::set_prefix(LabelPoint* lp, char const* t) {
    if (!has_prefix()) return;
    lb::InkText const u = lb::normalise_ink(t ? t : "");
    prefix_label::set_prefix(lp, u.chars);
}

void ink_label::get_counts(int) {}

// ---------------------------------------------------------------------------
// The leaves: 16 frames of 4 perforations per count (35 mm), 20 frames of 1
// (16 mm).
ink_35_label::ink_35_label() : ink_label(16, 4) {
    gauge_ = &positions::gauge_35;
    leaf_type_ = &typeid(ink_35_label);
}
ink_35_label::~ink_35_label() = default;
char const* ink_35_label::type_str() const { return "ink_35_label"; }
label_t ink_35_label::type() const { return ink_35_label_t; }
UserLabelType ink_35_label::UserType() const { return ink_UserLabel; }
void ink_35_label::get_counts(int s) {
    int const spu = samples_per_unit();
    int const f = spu == 4 ? s / 4 : s / spu;  // truncates toward zero
    count = f / 16;
    frame = f % 16;  // [-15, 15]
}

ink_16_label::ink_16_label() : ink_label(20, 1) {
    gauge_ = &positions::gauge_16;
    leaf_type_ = &typeid(ink_16_label);
}
ink_16_label::~ink_16_label() = default;
char const* ink_16_label::type_str() const { return "ink_16_label"; }
label_t ink_16_label::type() const { return ink_16_label_t; }
UserLabelType ink_16_label::UserType() const { return ink_UserLabel; }
void ink_16_label::get_counts(int s) {
    int const spu = samples_per_unit();
    int const f = spu == 1 ? s : s / spu;
    count = f / 20;
    frame = f % 20;  // [-19, 19]
}
