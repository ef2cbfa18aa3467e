// `keep`: reads a stored label or edit-label keep string and describes it,
// or writes one from a type, a start text, a length and a medium roll.
#include <cstring>

#include "cli/cli.h"

namespace cli {

namespace {

struct KeepArgs {
    bool make = false;
    std::vector<std::string> args;
    std::string length, end, medium;
    bool unbounded = false;
};

constexpr char kKeepForm[] =
    "LABEL_REV:1 <class> <start text> <length in frames> <pitch per frame> <bounded 0/1>"
    " [MediumRollId <medium>,<generation>]";

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

// Describes a label read back from a keep string.
json describe(EditLabel& l, bool edit) {
    LabelPoint& start = l.start;
    label_cvt* c = start.cvt();
    label_t const t = c->type();
    json j;
    j["revision"] = l.revision;
    j["type"] = label_type_info(t).class_name;
    j["label_t"] = static_cast<int>(t);
    j["start_sample"] = start.sample;
    j["start"] = start.get_string();
    if (c->has_prefix()) j["prefix"] = start.get_prefix();
    j["length"] = l.length;
    j["end_sample"] = l.get_end();
    j["end"] = l.get_unbounded_label_point(l.length).get_string();
    j["pitch"] = l.pitch;
    j["duration_seconds"] = static_cast<double>(l.length) * l.pitch;
    j["bounded"] = l.bounded != 0;
    if (edit) {
        MediumRollIdent const& id = l.get_MediumRoll();
        j["medium_roll"] = json{{"medium", static_cast<int>(id.medium)},
                                {"medium_name", medium_label(id.medium)},
                                {"generation", static_cast<int>(id.generation)},
                                {"generation_name", generation_name(id.generation)},
                                {"shown_as", MediumRollId_to_UserString(id)}};
        j["valid"] = l.is_valid();
    }
    return j;
}

void print_description(Output& out, json const& j) {
    auto str = [](json const& v) { return v.is_string() ? v.get<std::string>() : v.dump(); };
    out.line("type:        " + str(j["type"]) + " (label_t " + str(j["label_t"]) + "), revision " + str(j["revision"]));
    out.line("start:       " + std::string(trim_sign_column(str(j["start"]).c_str())) + " (sample " +
             str(j["start_sample"]) + ")");
    if (j.contains("prefix")) out.line("prefix:      " + str(j["prefix"]));
    char secs[64], pitch[64];
    std::snprintf(secs, sizeof secs, "%.10g", j["duration_seconds"].get<double>());
    std::snprintf(pitch, sizeof pitch, "%.10g", j["pitch"].get<double>());
    out.line("length:      " + str(j["length"]) + " samples, to " + trim_sign_column(str(j["end"]).c_str()) +
             " (sample " + str(j["end_sample"]) + "), " + secs + " s");
    out.line(std::string("pitch:       ") + pitch + " s per sample");
    out.line(std::string("bounded:     ") + (j["bounded"].get<bool>() ? "yes" : "no"));
    if (j.contains("medium_roll")) {
        json const& m = j["medium_roll"];
        out.line("medium roll: " + str(m["medium"]) + "," + str(m["generation"]) + " (" + str(m["medium_name"]) + ", " +
                 str(m["generation_name"]) + " generation; shown as " + str(m["shown_as"]) + ")" +
                 (j["valid"].get<bool>() ? "" : " - not a valid roll"));
    }
}

void read_keep(Output& out, std::string const& text) {
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
    json j = describe(l, edit);
    char buf[131];
    j["rewritten"] = edit ? l.make_keep_string(buf) : static_cast<Label&>(l).make_keep_string(buf);
    out.doc = j;
    print_description(out, j);
}

void make_keep(Output& out, KeepArgs const& a) {
    if (a.args.size() != 2)
        throw UsageError("keep --make takes TYPE and TEXT (the start), e.g. keep --make pal 01:00:00:00 --length 250f");
    label_t const t = parse_type(a.args[0]);
    if (!a.length.empty() && !a.end.empty()) throw UsageError("give --length or --end, not both");
    bool const edit = !a.medium.empty();
    MediumRollIdent const roll = edit ? parse_medium_roll(a.medium) : MediumRollIdent{default_medium(t), any_Generation};
    std::string err;
    int const s = read_sample(t, a.args[1].c_str(), err);
    if (s == invalid_sample) throw ConversionError(err);
    EditLabel l(t, edit ? roll : MediumRollIdent{any_Medium, any_Generation});
    label_cvt* c = l.start.cvt();
    l.start.sample = c->normalise_sample_unit(s);
    if (c->has_prefix()) l.set_prefix(prepared_text(t, a.args[1]).c_str());
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
    char buf[131];
    char const* keep = edit ? l.make_keep_string(buf) : static_cast<Label&>(l).make_keep_string(buf);
    std::string const k = keep;
    EditLabel back(k.c_str());
    out.doc = describe(back, edit);
    out.doc["keep"] = k;
    out.line(k);
}

}  // namespace

void add_keep_command(CLI::App& app, std::vector<Command>& out) {
    auto a = std::make_shared<KeepArgs>();
    auto* keep = app.add_subcommand("keep", "Describe a stored label keep string, or write one with --make");
    keep->add_option("ARGS", a->args, "The keep string (quoted or as separate words), or with --make: TYPE TEXT")
        ->required();
    keep->add_flag("--make", a->make, "Write a keep string for a label of TYPE starting at TEXT");
    keep->add_option("--length", a->length,
                     "With --make: the length, a text of the type, frames (250f), seconds (10s) or perforations (64p)");
    keep->add_option("--end", a->end, "With --make: the text of the last sample, instead of --length");
    keep->add_option("--medium", a->medium,
                     "With --make: write an edit label on this medium roll, MEDIUM[,GENERATION] (film, 24 or"
                     " source_30i_1001,1st); its pitch follows the medium")
        ->type_name("MEDIUM[,GEN]");
    keep->add_flag("--unbounded", a->unbounded, "With --make: a label whose offsets are not range-checked");
    keep->footer("Examples:\n"
                 "  labels keep 'LABEL_REV:1 pal_label  01:00:00.00 250 0.0400000000 1'\n"
                 "  labels keep --make pal 01:00:00:00 --length 250f --medium source_25i,1st\n"
                 "A keep string reads " + std::string(kKeepForm) + ".");
    out.push_back({keep, [a](Output& o) {
                       if (a->make) {
                           make_keep(o, *a);
                       } else {
                           if (!a->length.empty() || !a->end.empty() || !a->medium.empty() || a->unbounded)
                               throw UsageError("--length, --end, --medium and --unbounded go with --make");
                           std::string joined;
                           for (std::string const& s : a->args) joined += (joined.empty() ? "" : " ") + s;
                           read_keep(o, joined);
                       }
                   }});
}

}  // namespace cli
