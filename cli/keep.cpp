// The keep engine: reads a stored label or edit-label keep string and
// describes it, or writes one from a type, a start text, a length and a
// medium roll.
#include <cstring>

#include "cli/texts.h"

namespace cli {

char const kKeepForm[] =
    "LABEL_REV:1 <class> <start text> <length in frames> <pitch per frame> <bounded 0/1>"
    " [MediumRollId <medium>,<generation>]";

namespace {

std::vector<std::string> split_spaces(std::string const& s) {
    std::vector<std::string> v;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && s[i] == ' ') ++i;
        std::size_t const b = i;
        while (i < s.size() && s[i] != ' ') ++i;
        if (i > b) v.push_back(s.substr(b, i - b));
    }
    return v;
}

std::vector<std::string> class_names() {
    std::vector<std::string> v;
    for (int i = 0; i < label_type_count; ++i) {
        LabelTypeInfo const& r = label_type_info(static_cast<label_t>(i));
        if (r.has_converter) v.push_back(r.class_name);
    }
    return v;
}

KeepInfo describe(EditLabel& l, bool edit) {
    LabelPoint& start = l.start;
    label_cvt* c = start.cvt();
    KeepInfo k;
    k.revision = l.revision;
    k.type = c->type();
    k.start_sample = start.sample;
    k.start = start.get_string();
    k.has_prefix = c->has_prefix();
    if (k.has_prefix) k.prefix = start.get_prefix();
    k.length = l.length;
    k.end_sample = l.get_end();
    k.end = l.get_unbounded_label_point(l.length).get_string();
    int const unit = c->samples_per_unit() > 0 ? c->samples_per_unit() : 1;
    k.last_sample = k.end_sample - unit;
    k.last = l.get_unbounded_label_point(l.length - unit).get_string();
    k.pitch = l.pitch;
    k.bounded = l.bounded != 0;
    k.edit = edit;
    if (edit) {
        k.roll = l.get_MediumRoll();
        k.shown_as = MediumRollId_to_UserString(k.roll);
        k.valid = l.is_valid();
    }
    char buf[EditLabel::keep_string_size];
    k.keep = edit ? l.make_keep_string(buf) : static_cast<Label&>(l).make_keep_string(buf);
    return k;
}

}  // namespace

namespace {

[[noreturn]] void malformed(std::string const& why) {
    throw ConversionError("malformed keep string: " + why + "; a keep string reads " + kKeepForm);
}

// Checks every field the reader would take leniently or leave at its
// default; label_t of the class when all are there and well formed.
label_t check_fields(std::vector<std::string> const& tok, std::string const& text) {
    static char const* const names[] = {"the revision", "the class name", "the start text",
                                        "the length",   "the pitch",      "the bounded flag"};
    if (tok.empty() || tok[0].rfind("LABEL_REV:", 0) != 0)
        throw ConversionError("not a keep string: '" + text + "'; a keep string reads " + kKeepForm);
    int rev = 0;
    if (!read_int(tok[0].substr(10), rev)) malformed("'" + tok[0] + "' has no revision number");
    if (rev < 1 || rev > 2)
        throw ConversionError("keep string revision " + std::to_string(rev) +
                              " is not one this library reads (1, or 2 for beta labels)");
    if (tok.size() < 6) malformed("it ends before " + std::string(names[tok.size()]));
    label_t const t = get_label_type(tok[1].c_str());
    if (t == prefix_label_t || !label_type_info(t).has_converter)
        throw ConversionError("the keep string names the label type '" + tok[1] + "', which no converter has." +
                              did_you_mean(tok[1], class_names()));
    int length = 0, bounded = 0;
    double pitch = 0;
    if (!read_int(tok[3], length) || length < 0)
        malformed("the length '" + tok[3] + "' is not a whole number of 0 or more");
    if (!read_double(tok[4], pitch) || pitch < 0) malformed("the pitch '" + tok[4] + "' is not a number of seconds");
    if (!read_int(tok[5], bounded) || (bounded != 0 && bounded != 1))
        malformed("the bounded flag '" + tok[5] + "' is not 0 or 1");
    if (tok.size() == 6) return t;
    if (tok[6] != "MediumRollId")
        malformed("'" + tok[6] + "' follows the bounded flag where MediumRollId or nothing goes");
    if (tok.size() < 8) malformed("MediumRollId has no medium and generation");
    if (tok.size() > 8) malformed("'" + tok[8] + "' follows the medium roll");
    std::size_t const comma = tok[7].find(',');
    int m = 0, g = 0;
    if (comma == std::string::npos || !read_int(tok[7].substr(0, comma), m) || !read_int(tok[7].substr(comma + 1), g) ||
        !medium_name(m) || g < 0 || g > fourth_Generation)
        malformed("the medium roll '" + tok[7] + "' is not MEDIUM,GENERATION (a medium number and 0..5)");
    return t;
}

// The library's messages while a keep string is read.
void collect(char const* text, void* context) {
    std::string s = text;
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
    static_cast<std::vector<std::string>*>(context)->push_back(s);
}

}  // namespace

KeepInfo read_keep(std::string const& text) {
    std::vector<std::string> const tok = split_spaces(text);
    label_t const t = check_fields(tok, text);
    std::vector<std::string> notes;
    host::set_message_sink(collect, &notes);
    EditLabel l(text.c_str());
    host::set_message_sink(nullptr, nullptr);
    if (l.start.sample == invalid_sample)
        throw ConversionError("the start text of the keep string: " + unreadable_message(tok[2], t));
    KeepInfo k = describe(l, tok.size() == 8);
    k.notes = notes;
    return k;
}

KeepInfo make_keep(KeepRequest const& a) {
    label_t const t = parse_type(a.type);
    if (!a.length.empty() && !a.end.empty()) throw UsageError("give --length or --end, not both");
    bool const edit = !a.medium.empty();
    MediumRollIdent const roll =
        edit ? parse_medium_roll(a.medium) : MediumRollIdent{default_medium(t), any_Generation};
    std::string err;
    int const s = read_sample(t, a.start.c_str(), err);
    if (s == invalid_sample) throw ConversionError(err);
    EditLabel l(t, edit ? roll : MediumRollIdent{any_Medium, any_Generation});
    label_cvt* c = l.start.cvt();
    l.start.sample = c->normalise_sample_unit(s);
    if (c->has_prefix()) l.set_prefix(prepared_text(t, a.start).c_str());
    if (!edit) l.pitch = Label::get_natural_pitch(t);
    if (!a.length.empty()) {
        Endpoint e(t, roll);
        l.length = parse_duration(a.length, e);
    } else if (!a.end.empty()) {
        int const e = read_sample(t, a.end.c_str(), err);
        if (e == invalid_sample) throw ConversionError("--end: " + err);
        // --end names the last frame, inclusive, as editors count.
        l.set_end(c->normalise_sample_unit(e));
        l.length += c->samples_per_unit();
    }
    if (l.length < 0)
        throw ConversionError("the label would end before it starts (length " + std::to_string(l.length) + ")");
    if (a.unbounded) l.bounded = 0;
    char buf[EditLabel::keep_string_size];
    std::string const k = edit ? l.make_keep_string(buf) : static_cast<Label&>(l).make_keep_string(buf);
    EditLabel back(k.c_str());
    KeepInfo info = describe(back, edit);
    info.keep = k;
    return info;
}

}  // namespace cli
