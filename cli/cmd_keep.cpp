// `keep`: reads a stored label or edit-label keep string and describes it,
// or writes one from a type, a start text, a length and a medium roll.
#include "cli/cli.h"

namespace cli {

namespace {

struct KeepArgs {
    bool make = false;
    std::vector<std::string> args;
    std::string length, end, medium;
    bool unbounded = false;
};

json keep_json(KeepInfo const& k) {
    json j;
    j["revision"] = k.revision;
    j["type"] = label_type_info(k.type).class_name;
    j["label_t"] = static_cast<int>(k.type);
    j["start_sample"] = k.start_sample;
    j["start"] = trim_sign_column(k.start.c_str());
    if (k.has_prefix) j["prefix"] = k.prefix;
    j["length"] = k.length;
    j["end_sample"] = k.end_sample;
    j["end"] = trim_sign_column(k.end.c_str());
    j["last_sample"] = k.last_sample;
    j["last"] = trim_sign_column(k.last.c_str());
    j["pitch"] = k.pitch;
    j["duration_seconds"] = static_cast<double>(k.length) * k.pitch;
    j["bounded"] = k.bounded;
    if (k.edit) {
        j["medium_roll"] = json{{"medium", static_cast<int>(k.roll.medium)},
                                {"medium_name", medium_label(k.roll.medium)},
                                {"generation", static_cast<int>(k.roll.generation)},
                                {"generation_name", generation_name(k.roll.generation)},
                                {"shown_as", k.shown_as}};
        j["valid"] = k.valid;
    }
    return j;
}

void print_description(Output& out, json const& j) {
    auto str = [](json const& v) { return v.is_string() ? v.get<std::string>() : v.dump(); };
    out.line("type:        " + str(j["type"]) + " (label_t " + str(j["label_t"]) + "), revision " + str(j["revision"]));
    out.line("start:       " + str(j["start"]) + " (sample " + str(j["start_sample"]) + ")");
    if (j.contains("prefix")) out.line("prefix:      " + str(j["prefix"]));
    char secs[64], pitch[64];
    std::snprintf(secs, sizeof secs, "%.10g", j["duration_seconds"].get<double>());
    std::snprintf(pitch, sizeof pitch, "%.10g", j["pitch"].get<double>());
    out.line("length:      " + str(j["length"]) + " samples, " + secs + " s; last frame " + str(j["last"]) +
             " (sample " + str(j["last_sample"]) + "), end " + str(j["end"]) + " (sample " + str(j["end_sample"]) +
             ", one past the last)");
    out.line(std::string("pitch:       ") + pitch + " s per sample");
    out.line(std::string("bounded:     ") + (j["bounded"].get<bool>() ? "yes" : "no"));
    if (j.contains("medium_roll")) {
        json const& m = j["medium_roll"];
        out.line("medium roll: " + str(m["medium"]) + "," + str(m["generation"]) + " (" + str(m["medium_name"]) + ", " +
                 str(m["generation_name"]) + " generation; shown as " + str(m["shown_as"]) + ")" +
                 (j["valid"].get<bool>() ? "" : " - not a valid roll"));
    }
}

void run_read_keep(Output& out, std::string const& text) {
    KeepInfo const k = read_keep(text);
    for (std::string const& n : k.notes) out.note("the library says: " + n);
    json j = keep_json(k);
    if (!k.notes.empty()) j["notes"] = k.notes;
    j["rewritten"] = k.keep;
    out.doc = j;
    print_description(out, j);
}

void run_make_keep(Output& out, KeepArgs const& a) {
    if (a.args.size() != 2)
        throw UsageError("keep --make takes TYPE and TEXT (the start), e.g. keep --make pal 01:00:00:00 --length 250f");
    KeepRequest r;
    r.type = a.args[0];
    r.start = a.args[1];
    r.length = a.length;
    r.end = a.end;
    r.medium = a.medium;
    r.unbounded = a.unbounded;
    KeepInfo const k = make_keep(r);
    out.doc = keep_json(k);
    out.doc["keep"] = k.keep;
    out.line(k.keep);
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
    keep->add_option("--end", a->end,
                     "With --make: the text of the last frame, inclusive (01:00:00:00 to 01:00:09:24 is 250"
                     " frames), instead of --length");
    keep->add_option("--medium", a->medium,
                     "With --make: write an edit label on this medium roll, MEDIUM[,GENERATION] (film, 24 or"
                     " source_30i_1001,1st); its pitch follows the medium")
        ->type_name("MEDIUM[,GEN]");
    keep->add_flag("--unbounded", a->unbounded, "With --make: a label whose offsets are not range-checked");
    keep->footer(
        "Examples:\n"
        "  labels keep 'LABEL_REV:1 pal_label  01:00:00.00 250 0.0400000000 1'\n"
        "  labels keep --make pal 01:00:00:00 --end 01:00:09:24  # LABEL_REV:1 pal_label  01:00:00.00 250 0.0400000000 "
        "1\n"
        "  labels keep --make pal 01:00:00:00 --length 250f --medium source_25i,1st\n"
        "A keep string must have every field; a truncated or malformed one is refused. "
        "A keep string reads " +
        std::string(kKeepForm) + ".");
    out.push_back({keep, [a](Output& o) {
                       if (a->make) {
                           run_make_keep(o, *a);
                       } else {
                           if (!a->length.empty() || !a->end.empty() || !a->medium.empty() || a->unbounded)
                               throw UsageError("--length, --end, --medium and --unbounded go with --make");
                           std::string joined;
                           for (std::string const& s : a->args) joined += (joined.empty() ? "" : " ") + s;
                           run_read_keep(o, joined);
                       }
                   }});
}

}  // namespace cli
