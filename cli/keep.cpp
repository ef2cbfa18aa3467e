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

KeepInfo read_keep(std::string const& text) {
    std::vector<std::string> const tok = split_spaces(text);
    if (tok.empty() || tok[0].rfind("LABEL_REV", 0) != 0)
        throw ConversionError("not a keep string: '" + text + "'; a keep string reads " + kKeepForm);
    EditLabel l(text.c_str());
    if (l.revision < 1 || l.revision > 2)
        throw ConversionError("keep string revision " + std::to_string(l.revision) +
                              " is not one this library reads (1, or 2 for beta labels)");
    if (tok.size() < 2) throw ConversionError("the keep string names no label type; it reads " + std::string(kKeepForm));
    label_t const t = get_label_type(tok[1].c_str());
    if (t == prefix_label_t)
        throw ConversionError("the keep string names the label type '" + tok[1] + "', which no converter has." +
                              did_you_mean(tok[1], class_names()));
    if (tok.size() >= 3 && l.start.sample == invalid_sample)
        throw ConversionError("the start text of the keep string: " + unreadable_message(tok[2], t));
    bool const edit = text.find("MediumRollId") != std::string::npos;
    return describe(l, edit);
}

KeepInfo make_keep(KeepRequest const& a) {
    label_t const t = parse_type(a.type);
    if (!a.length.empty() && !a.end.empty()) throw UsageError("give --length or --end, not both");
    bool const edit = !a.medium.empty();
    MediumRollIdent const roll = edit ? parse_medium_roll(a.medium) : MediumRollIdent{default_medium(t), any_Generation};
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
        l.set_end(c->normalise_sample_unit(e));
    }
    if (l.length < 0) throw ConversionError("the label would end before it starts (length " + std::to_string(l.length) + ")");
    if (a.unbounded) l.bounded = 0;
    char buf[EditLabel::keep_string_size];
    std::string const k = edit ? l.make_keep_string(buf) : static_cast<Label&>(l).make_keep_string(buf);
    EditLabel back(k.c_str());
    KeepInfo info = describe(back, edit);
    info.keep = k;
    return info;
}

}  // namespace cli
