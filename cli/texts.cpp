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
    LabelPoint p(0, c);
    set_point_prefix(c, &p, c->get_dummy_prefix());
    int s;
    if (label_type_info(t).category == timecode_UserLabel) {
        // One hour, in the type's own separators and drop-frame count.
        s = c->get_abs_sample("01:00:00:00");
    } else {
        int const m = c->get_modulus();
        s = m > 1000 ? 1234 : (12 * m + 5) * c->samples_per_unit();
    }
    p.sample = s;
    return trim_sign_column(c->get_abs_string(&p, s));
}

std::string unreadable_message(std::string const& text, label_t t) {
    return "cannot read '" + text + "' as " + label_type_info(t).class_name + ": expected a text like '" +
           example_text(t) + "'";
}

bool reads_back(label_cvt* c, int s, char const* text) {
    char const* t = trim_sign_column(text);
    int const back = c->get_abs_sample(t);
    return back != invalid_sample && c->normalise_sample_unit(back) == c->normalise_sample_unit(s);
}

std::string unreadable_negative(label_t t, int s, char const* text) {
    return "sample " + std::to_string(s) + " lies before zero; " + label_type_info(t).class_name + " writes it '" +
           trim_sign_column(text) + "', which reads back as another sample, so it is not written";
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
bool has_perforation_index(label_t t) {
    static signed char known[label_type_count] = {};  // 0 not yet asked, 1 yes, -1 no
    int const i = static_cast<int>(t);
    if (i < 0 || i >= label_type_count) return false;
    if (!known[i]) {
        char const* tt = converter(t)->full_template.template_text.c_str();
        std::size_t const n = std::strlen(tt);
        known[i] = n >= 2 && tt[n - 2] == '.' ? 1 : -1;
    }
    return known[i] > 0;
}

bool prepare_input(label_t t, char const* in, char* out, std::size_t size) {
    std::size_t const written = label_text_trim(converter(t), in, out, size);
    if (written == 0) return false;
    std::size_t o = written - 1;
    // Ink numbers are printed on film with spaces between their fields
    // too ("ABCD 1234 + 05"); the library squeezes KeyKode only.
    if (label_type_info(t).category == ink_UserLabel) {
        std::size_t k = 0;
        for (std::size_t i = 0; i < o; ++i)
            if (!is_blank(out[i])) out[k++] = out[i];
        o = k;
    }
    // A 3-perf text without its perforation index ("0012+05") means the
    // frame's first perforation: ".1" completes it (the reader would take
    // the last digit of the frame for the index).
    if (o > 0 && has_perforation_index(t) && !std::memchr(out, '.', o)) {
        if (o + 3 > size) return false;
        out[o++] = '.';
        out[o++] = '1';
    }
    out[o] = '\0';
    return true;
}

std::string prepared_text(label_t t, std::string const& text) {
    char buf[kMaxInput + 1];
    if (!prepare_input(t, text.c_str(), buf, sizeof buf)) return text;
    return buf;
}

int read_sample(label_t t, char const* text, std::string& error) { return read_sample(t, text, error, converter(t)); }

int read_sample(label_t t, char const* text, std::string& error, label_cvt* c) {
    char buf[kMaxInput + 1];
    if (!prepare_input(t, text, buf, sizeof buf)) {
        error = "text longer than " + std::to_string(kMaxInput) + " characters";
        return invalid_sample;
    }
    int const s = label_text_is_plausible(c, buf) ? c->get_abs_sample(buf) : invalid_sample;
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
        char const* why = s == invalid_sample                          ? "is the invalid sample"
                          : std::strcmp(text, kNegativeCountText) == 0 ? "lies before count 0 of the roll"
                          : beyond_text_range(c, s, text)              ? "lies outside what the type can write"
                                                                       : "has no text";
        f.error = "sample " + std::to_string(s) + " " + why;
    } else if (s < 0 && !reads_back(c, s, text)) {
        f.error = unreadable_negative(t, s, text);
        f.text.clear();
    }
    return f;
}

std::string format_failure(label_t t, Formatted const& f) {
    if (f.text.empty()) return f.error;
    return f.error + " (" + label_type_info(t).class_name + " gives '" + f.text + "')";
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
