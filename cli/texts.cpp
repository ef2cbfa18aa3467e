// Reading and writing the texts of one label type: the converters, the
// command's input preparation and plausibility checks, the messages for
// texts that cannot be read, and the format and parse engines.
#include <algorithm>
#include <cstring>

#include "cli/texts.h"

namespace cli {

label_cvt* converter(label_t t) {
    static label_cvt* made[label_type_count] = {};
    int const i = static_cast<int>(t);
    if (i < 0 || i >= label_type_count) return get_static_label_cvt(prefix_label_t);
    if (!made[i]) made[i] = make_any_label_cvt(t);
    return made[i];
}

std::string template_text(label_cvt* c) { return c->full_template.template_text.c_str(); }

std::string example_text(label_t t) {
    label_cvt* c = converter(t);
    int const m = c->get_modulus();
    int const s = m > 1000 ? 1234 : (12 * m + 5) * c->samples_per_unit();
    LabelPoint p(0, c);
    set_point_prefix(c, &p, c->get_dummy_prefix());
    p.sample = s;
    return trim_sign_column(c->get_abs_string(&p, s));
}

std::string unreadable_message(std::string const& text, label_t t) {
    return "cannot read '" + text + "' as " + label_type_info(t).class_name + ": expected the form " +
           template_text(converter(t)) + ", e.g. '" + example_text(t) + "'";
}

char const* trim_sign_column(char const* text) { return (text && text[0] == ' ') ? text + 1 : text; }

void set_point_prefix(label_cvt* c, LabelPoint* lp, char const* prefix) {
    if (!c->has_prefix()) return;
    if (c->UserType() == ink_UserLabel) {
        // The ink reader pads short texts on the left as numbers without a
        // prefix, so the prefix goes in as a whole ink number.
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.4s0000+00", prefix);
        c->set_prefix(lp, buf);
        return;
    }
    c->set_prefix(lp, prefix);
}

void check_prefix(label_t t, std::string const& prefix) {
    label_cvt* c = converter(t);
    if (!c->has_prefix())
        throw UsageError("--prefix applies to KeyKode and ink-number types only; " +
                         std::string(label_type_info(t).class_name) + " has no prefix");
    std::size_t const n = static_cast<std::size_t>(c->get_prefix_length());
    if (prefix.size() != n)
        throw UsageError("the prefix of " + std::string(label_type_info(t).class_name) + " has " + std::to_string(n) +
                         " characters (like '" + std::string(c->get_dummy_prefix()).substr(0, n) + "'), not " +
                         std::to_string(prefix.size()) + " ('" + prefix + "')");
    for (char ch : prefix)
        if (ch < 33 || ch > 126)
            throw UsageError("the prefix '" + prefix + "' holds a character that is not printable (spaces too)");
}

// The text as the library is given it: without surrounding white space and,
// for KeyKode, without the spaces KeyKode is printed with on film
// ("KJ 23 1234 5678+05"). False when it does not fit.
bool prepare_input(label_t t, char const* in, char* out, std::size_t size) {
    std::size_t const n = trimmed(in, std::strlen(in));
    bool const squeeze = label_type_info(t).category == keycode_UserLabel;
    std::size_t o = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (squeeze && is_blank(in[i])) continue;
        if (o + 1 >= size) return false;
        out[o++] = in[i];
    }
    out[o] = '\0';
    return true;
}

std::string prepared_text(label_t t, std::string const& text) {
    char buf[kMaxInput + 1];
    if (!prepare_input(t, text.c_str(), buf, sizeof buf)) return text;
    return buf;
}

int read_sample(label_t t, char const* text, std::string& error) {
    char buf[kMaxInput + 1];
    if (!prepare_input(t, text, buf, sizeof buf)) {
        error = "text longer than " + std::to_string(kMaxInput) + " characters";
        return invalid_sample;
    }
    int const s = has_count_digits(converter(t), buf) ? converter(t)->get_abs_sample(buf) : invalid_sample;
    if (s == invalid_sample) error = unreadable_message(buf, t);
    return s;
}

// ---------------------------------------------------------------------------

namespace {

char const* special_name(int s) {
    switch (s) {
        case invalid_sample: return "invalid";
        case past_end_sample: return "past_end";
        case before_start_sample: return "before_start";
        default: return nullptr;
    }
}

// Samples the converter prints without complaint but outside its text: a
// KeyKode or ink count wider than its digits (one wrap only), a timecode
// more than a day before zero (one day is added only once).
bool beyond_text_range(label_cvt* c, int s, char const* text) {
    if (c->has_prefix()) return std::strlen(text) > std::strlen(c->full_template.template_text.c_str());
    if (c->UserType() == timecode_UserLabel) {
        int const day = c->normalise_sample_unit(-1) + 1;
        return s < 0 && s != invalid_sample && s < -day;
    }
    return false;
}

}  // namespace

Formatted format_sample(label_t t, int s, std::string const& prefix) {
    if (!prefix.empty()) check_prefix(t, prefix);
    label_cvt* c = converter(t);
    LabelPoint p(0, c);
    set_point_prefix(c, &p, prefix.empty() ? c->get_dummy_prefix() : prefix.c_str());
    p.sample = s;
    char const* text = c->get_abs_string(&p, s);
    Formatted f;
    f.sample = s;
    f.text = text;
    f.special = special_name(s);
    if (is_failure_text(c, text) || beyond_text_range(c, s, text)) {
        char const* why = s == invalid_sample                 ? "is the invalid sample"
                          : std::strcmp(text, kNegativeCountText) == 0 ? "lies before count 0 of the roll"
                          : beyond_text_range(c, s, text)      ? "lies outside what the type can write"
                                                               : "has no text";
        f.error = "sample " + std::to_string(s) + " " + why;
    }
    return f;
}

Parsed parse_text(label_t t, std::string const& text) {
    Parsed r;
    r.sample = read_sample(t, text.c_str(), r.error);
    if (r.sample == invalid_sample) return r;
    label_cvt* c = converter(t);
    LabelPoint p(0, c);
    if (c->has_prefix()) {
        c->set_prefix(&p, prepared_text(t, text).c_str());
        r.prefix = p.get_prefix();
    }
    int const spu = c->samples_per_unit();
    if (spu > 1) {
        r.frame = r.sample / spu;
        r.perforation = r.sample % spu;
    }
    p.sample = r.sample;
    r.text = c->get_abs_string(&p, r.sample);
    return r;
}

}  // namespace cli
