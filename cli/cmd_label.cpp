// The commands that work in one label type: `format` (samples to texts),
// `parse` (texts to samples) and `calc` (a text plus or minus durations).
#include <cstring>

#include "cli/cli.h"

namespace cli {

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

struct FormatArgs {
    std::string type, prefix;
    std::vector<std::string> samples;
};

void run_format(Output& out, FormatArgs const& a) {
    label_t const t = parse_type(a.type);
    if (!a.prefix.empty()) check_prefix(t, a.prefix);
    std::vector<int> samples;
    for (std::string const& s : a.samples) {
        int v = 0;
        if (!read_int(s, v)) throw UsageError("'" + s + "' is not a sample number (a whole number of " +
                                              std::string(label_type_info(t).unit) + "s)");
        samples.push_back(v);
    }
    label_cvt* c = converter(t);
    LabelPoint p(0, c);
    set_point_prefix(c, &p, a.prefix.empty() ? c->get_dummy_prefix() : a.prefix.c_str());
    json results = json::array();
    for (int s : samples) {
        p.sample = s;
        char const* text = c->get_abs_string(&p, s);
        json j;
        j["sample"] = s;
        j["text"] = text;
        if (char const* sp = special_name(s)) j["special"] = sp;
        out.line(trim_sign_column(text));
        if (is_failure_text(c, text) || beyond_text_range(c, s, text)) {
            std::string const why = s == invalid_sample ? "is the invalid sample"
                                    : std::strcmp(text, "NEGATIVE") == 0 ? "lies before count 0 of the roll"
                                    : beyond_text_range(c, s, text)      ? "lies outside what the type can write"
                                                                          : "has no text";
            out.fail("sample " + std::to_string(s) + " " + why + " (" + label_type_info(t).class_name + " gives '" +
                     text + "')");
            j["error"] = "sample " + std::to_string(s) + " " + why;
        }
        results.push_back(j);
    }
    out.doc["type"] = label_type_info(t).class_name;
    out.doc["results"] = results;
}

struct ParseArgs {
    std::string type;
    std::vector<std::string> texts;
};

void run_parse(Output& out, ParseArgs const& a) {
    label_t const t = parse_type(a.type);
    label_cvt* c = converter(t);
    LabelPoint p(0, c);
    json results = json::array();
    for (std::string const& text : a.texts) {
        json j;
        j["input"] = text;
        std::string err;
        int const s = read_sample(t, text.c_str(), err);
        if (s == invalid_sample) {
            out.fail(err);
            j["error"] = err;
            results.push_back(j);
            continue;
        }
        j["sample"] = s;
        if (c->has_prefix()) {
            c->set_prefix(&p, prepared_text(t, text).c_str());
            j["prefix"] = p.get_prefix();
        }
        int const spu = c->samples_per_unit();
        if (spu > 1) {
            j["frame"] = s / spu;
            j["perforation"] = s % spu;
        }
        p.sample = s;
        j["text"] = c->get_abs_string(&p, s);
        out.line(std::to_string(s));
        results.push_back(j);
    }
    out.doc["type"] = label_type_info(t).class_name;
    out.doc["results"] = results;
}

struct CalcArgs {
    std::string type, medium;
    std::vector<std::string> items;
};

void run_calc(Output& out, CalcArgs const& a) {
    label_t const t = parse_type(a.type);
    MediumRollIdent roll{default_medium(t), any_Generation};
    if (!a.medium.empty()) roll = parse_medium_roll(a.medium);
    if (a.items.size() % 2 != 1)
        throw UsageError("calc takes TEXT followed by pairs of + or - and a duration, e.g. 01:00:00:00 + 100f - 2.5s");
    for (std::size_t i = 1; i < a.items.size(); i += 2)
        if (a.items[i] != "+" && a.items[i] != "-")
            throw UsageError("'" + a.items[i] + "' is not + or -; calc takes TEXT (+|-) DURATION ...");
    Endpoint e(t, roll);
    label_cvt* c = e.cvt;
    for (std::size_t i = 2; i < a.items.size(); i += 2) {
        std::string const& d = a.items[i];
        char const u = d.empty() ? '\0' : d.back();
        if ((u == 'p' || u == 'P') && label_type_info(t).unit != std::string("perforation"))
            throw UsageError("'" + d + "': " + label_type_info(t).class_name + " counts frames, not perforations; use f");
    }
    std::string err;
    int const s = read_sample(t, a.items[0].c_str(), err);
    if (s == invalid_sample) throw ConversionError(err);
    LabelPoint acc(s, c);
    json steps = json::array();
    for (std::size_t i = 1; i + 1 < a.items.size(); i += 2) {
        std::string const& op = a.items[i];
        int const d = parse_duration(a.items[i + 1], e);
        LabelPoint const b(d, c);
        acc = op == "+" ? acc + b : acc - b;
        steps.push_back(json{{"op", op}, {"operand", a.items[i + 1]}, {"samples", d}});
    }
    if (c->has_prefix()) c->set_prefix(&acc, a.items[0].c_str());
    char const* text = c->get_abs_string(&acc, acc.sample);
    out.doc["type"] = label_type_info(t).class_name;
    out.doc["start"] = json{{"text", a.items[0]}, {"sample", s}};
    out.doc["steps"] = steps;
    out.doc["result"] = json{{"sample", acc.sample}, {"text", text}};
    if (is_failure_text(c, text))
        throw ConversionError("the result, sample " + std::to_string(acc.sample) + ", has no " +
                              label_type_info(t).class_name + " text ('" + text + "')");
    out.line(trim_sign_column(text));
}

}  // namespace

void add_label_commands(CLI::App& app, std::vector<Command>& out) {
    auto fa = std::make_shared<FormatArgs>();
    auto* format = app.add_subcommand("format", "Write samples as texts of a label type");
    format->add_option("TYPE", fa->type, "Label type (`labels types`)")->required();
    format->add_option("SAMPLE", fa->samples,
                       "Samples: frames for timecode and film frames, perforations for KeyKode, ink and feet")
        ->required();
    format->add_option("--prefix", fa->prefix,
                       "KeyKode or ink prefix to print (8 characters for KeyKode like KJ231234, 4 for ink;"
                       " default XX000000 / XXXX)");
    format->footer("Examples:\n"
                   "  labels format pal 90000             01:00:00.00\n"
                   "  labels format ntsc_drop 1800        00:01:00;02\n"
                   "  labels format keycode_35 788 --prefix KJ231234   KJ2312340012+05\n"
                   "Text output drops the blank sign column of non-negative timecode and feet; --json\n"
                   "gives the exact text.");
    out.push_back({format, [fa](Output& o) { run_format(o, *fa); }});

    auto pa = std::make_shared<ParseArgs>();
    auto* parse = app.add_subcommand("parse", "Read texts of a label type as samples");
    parse->add_option("TYPE", pa->type, "Label type (`labels types`)")->required();
    parse->add_option("TEXT", pa->texts, "Texts to read")->required();
    parse->footer("Examples:\n"
                  "  labels parse pal 01:00:00:00          90000\n"
                  "  labels parse F35 KJ2312340012+05      788\n"
                  "  labels parse foot_35 12+05            788\n"
                  "Spaces inside KeyKode numbers are ignored (KJ 23 1234 0012+05).");
    out.push_back({parse, [pa](Output& o) { run_parse(o, *pa); }});

    auto ca = std::make_shared<CalcArgs>();
    auto* calc = app.add_subcommand("calc", "Add durations to a label text or subtract them from it");
    calc->add_option("EXPR", ca->items, "TEXT (+|-) DURATION [(+|-) DURATION ...]")->required();
    calc->add_option("-t,--type", ca->type, "Label type of TEXT and of text durations")->required();
    calc->add_option("--medium", ca->medium,
                     "Medium whose clock seconds are counted on (default: the type's default medium, as for convert)")
        ->type_name("MEDIUM[,GEN]");
    calc->footer("A DURATION is a text of the same type (00:00:10:00), a frame count (100f), seconds (2.5s,\n"
                 "whole frames, on the medium's clock) or, for film types, perforations (64p).\n"
                 "Results wrap as the type does (timecode at 24 hours, KeyKode at the count range).\n"
                 "Examples:\n"
                 "  labels calc 01:00:00:00 + 100f --type pal        01:00:04.00\n"
                 "  labels calc 00:59:59;29 + 1f --type ntsc_drop    01:00:00;00\n"
                 "  labels calc 00:00:00:00 - 1f --type pal          23:59:59.24");
    out.push_back({calc, [ca](Output& o) { run_calc(o, *ca); }});
}

}  // namespace cli
