// The commands that work in one label type: `format` (samples to texts),
// `parse` (texts to samples) and `calc` (a text plus or minus durations).
#include "cli/cli.h"
#include "cli/rates.h"

namespace cli {

namespace {

struct FormatArgs {
    std::string type, prefix;
    std::vector<std::string> samples;
    RateOptions rate;
};

void run_format(Output& out, FormatArgs const& a) {
    if (run_rate_format(out, FormatRequest{a.type, a.prefix, a.samples}, a.rate)) return;
    label_t const t = parse_type(a.type);
    if (!a.prefix.empty()) check_prefix(t, a.prefix);
    std::vector<int> samples;
    for (std::string const& s : a.samples) {
        int v = 0;
        if (!read_int(s, v))
            throw UsageError("'" + s + "' is not a sample number (a whole number of " +
                             std::string(label_type_info(t).unit) + "s)");
        samples.push_back(v);
    }
    json results = json::array();
    for (int s : samples) {
        Formatted const f = format_sample(t, s, a.prefix);
        json j;
        j["sample"] = s;
        if (!f.text.empty()) {
            j["text"] = trim_sign_column(f.text.c_str());
            out.line(trim_sign_column(f.text.c_str()));
        }
        if (f.special) j["special"] = f.special;
        if (!f.error.empty()) {
            out.fail(format_failure(t, f));
            j["error"] = f.error;
        }
        results.push_back(j);
    }
    out.doc["type"] = label_type_info(t).class_name;
    out.doc["results"] = results;
}

struct ParseArgs {
    std::string type;
    std::vector<std::string> texts;
    RateOptions rate;
};

void run_parse(Output& out, ParseArgs const& a) {
    if (run_rate_parse(out, a.type, a.texts, a.rate)) return;
    label_t const t = parse_type(a.type);
    bool const per_frame = converter(t)->samples_per_unit() > 1;
    json results = json::array();
    for (std::string const& text : a.texts) {
        Parsed const p = parse_text(t, text);
        json j;
        j["input"] = text;
        if (!p.error.empty()) {
            out.fail(p.error);
            j["error"] = p.error;
            results.push_back(j);
            continue;
        }
        j["sample"] = p.sample;
        if (converter(t)->has_prefix()) j["prefix"] = p.prefix;
        if (per_frame) {
            j["frame"] = p.frame;
            j["perforation"] = p.perforation;
        }
        j["text"] = trim_sign_column(p.text.c_str());
        out.line(std::to_string(p.sample));
        results.push_back(j);
    }
    out.doc["type"] = label_type_info(t).class_name;
    out.doc["results"] = results;
}

struct CalcArgs {
    std::string type, medium;
    std::vector<std::string> items;
    RateOptions rate;
};

void run_calc(Output& out, CalcArgs const& a) {
    if (run_rate_calc(out, a.type, a.items, a.rate)) return;
    label_t const t = parse_type(a.type);
    MediumRollIdent roll{default_medium(t), any_Generation};
    if (!a.medium.empty()) roll = parse_medium_roll(a.medium);
    Calculated const r = calc(t, roll, a.items);
    json steps = json::array();
    for (CalcStep const& st : r.steps)
        steps.push_back(json{{"op", st.op}, {"operand", st.operand}, {"samples", st.samples}});
    out.doc["type"] = label_type_info(t).class_name;
    out.doc["start"] = json{{"text", a.items[0]}, {"sample", r.start_sample}};
    out.doc["steps"] = steps;
    out.doc["result"] = json{{"sample", r.sample}, {"text", trim_sign_column(r.text.c_str())}};
    out.line(trim_sign_column(r.text.c_str()));
}

}  // namespace

void add_label_commands(CLI::App& app, std::vector<Command>& out) {
    auto fa = std::make_shared<FormatArgs>();
    auto* format = app.add_subcommand("format", "Write samples as texts of a label type");
    format->add_option("TYPE", fa->type, "Label type (`labels types`)")->required();
    format
        ->add_option("SAMPLE", fa->samples,
                     "Samples: frames for timecode and film frames, perforations for KeyKode, ink and feet")
        ->required();
    format->add_option("--prefix", fa->prefix,
                       "KeyKode or ink prefix to print (8 characters for KeyKode like KJ231234, 4 for ink;"
                       " default XX000000 / XXXX)");
    add_rate_options(*format, fa->rate, false, true);
    format->footer(
        "TYPE is a label type or a timecode rate (29.97df, 59.94df, 23.976, 25 ...; `labels rates`);\n"
        "a plain number is a rate, type:N (or #N) the label type number N.\n"
        "Examples (the result after #):\n"
        "  labels format pal 90000  # 01:00:00.00\n"
        "  labels format ntsc_drop 1800  # 00:01:00;02\n"
        "  labels format 59.94df 107892  # 00:30:00;00\n"
        "  labels format pal 90013 --style interchange  # 01:00:00:13\n"
        "  labels format keycode_35 788 --prefix KJ231234  # KJ2312340012+05\n"
        "Text output and JSON drop the blank sign column of non-negative timecode and feet.\n"
        "A negative text that would read back as another sample (drop-frame timecode before\n"
        "zero) is not written: the sample fails.");
    out.push_back({format, [fa](Output& o) { run_format(o, *fa); }});

    auto pa = std::make_shared<ParseArgs>();
    auto* parse = app.add_subcommand("parse", "Read texts of a label type as samples");
    parse->add_option("TYPE", pa->type, "Label type (`labels types`)")->required();
    parse->add_option("TEXT", pa->texts, "Texts to read")->required();
    add_rate_options(*parse, pa->rate, true, false);
    parse->footer(
        "Rate names read strictly and say which field is wrong; --strict does the same for a\n"
        "timecode label type.\n"
        "Examples (the result after #):\n"
        "  labels parse pal 01:00:00:00  # 90000\n"
        "  labels parse 29.97df '00:10:00;00'  # 17982\n"
        "  labels parse F35 'KJ 23 1234 0012+05'  # 788\n"
        "  labels parse foot_35 12+05  # 788\n"
        "  labels parse foot_353 0+00  # 0\n"
        "Spaces inside KeyKode and ink numbers are ignored (KJ 23 1234 0012+05). A 3-perf text\n"
        "(keycode_353, foot_353) without its perforation index (.1 .. .3) means the frame's first\n"
        "perforation: 0+00 reads as 0+00.1.");
    out.push_back({parse, [pa](Output& o) { run_parse(o, *pa); }});

    auto ca = std::make_shared<CalcArgs>();
    auto* calc = app.add_subcommand("calc", "Add durations to a label text or subtract them from it");
    calc->add_option("EXPR", ca->items, "TEXT (+|-) DURATION [(+|-) DURATION ...]")->required();
    calc->add_option("-t,--type", ca->type, "Label type of TEXT and of text durations")->required();
    calc->add_option("--medium", ca->medium,
                     "Medium whose clock seconds are counted on (default: the type's default medium, as for convert)")
        ->type_name("MEDIUM[,GEN]");
    add_rate_options(*calc, ca->rate, true, true);
    calc->footer(
        "A DURATION is a text of the same type (00:00:10:00), a frame count (100f), seconds (2.5s,\n"
        "whole frames, on the medium's clock) or, for film types, perforations (64p).\n"
        "Results wrap as the type does (timecode at 24 hours, KeyKode at the count range);\n"
        "KeyKode and ink results are written without spaces.\n"
        "Examples (the result after #):\n"
        "  labels calc 01:00:00:00 + 100f --type pal  # 01:00:04.00\n"
        "  labels calc '00:59:59;29' + 1f --type ntsc_drop  # 01:00:00;00\n"
        "  labels calc 'KJ 23 1234 5678+00' + 100f --type keycode_35  # KJ2312345684+04\n"
        "  labels calc 00:00:00:00 - 1f --type pal  # 23:59:59.24");
    out.push_back({calc, [ca](Output& o) { run_calc(o, *ca); }});
}

}  // namespace cli
