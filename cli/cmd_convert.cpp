// The translating commands: `convert` (texts of one type on one medium to
// texts of another type on another medium), `batch` (the same over a file
// or standard input, one output line per input line) and `xlate` (a raw
// position from one medium to another).
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

#include "cli/cli.h"
#include "cli/rates.h"

namespace cli {

namespace {

struct ConvertArgs {
    std::vector<std::string> texts;
    std::string from, to, prefix, sync, file;
    TranslationOptions tr;
    bool explain = false;
    bool echo = false;
    bool mark_mixed = false;
    bool line_buffered = false;
    RateOptions rate;
};

json endpoint_json(Endpoint const& e) {
    return json{{"type", label_type_info(e.type).class_name},
                {"medium", medium_label(e.roll.medium)},
                {"generation", generation_name(e.roll.generation)},
                {"pitch", e.pitch()}};
}

std::unique_ptr<TextConversion> prepare(Output& out, ConvertArgs const& a) {
    auto tc = std::make_unique<TextConversion>(a.from, a.to, a.tr, a.prefix, a.sync, a.rate);
    ConversionSetup* pr = tc->library();
    if (pr && trim(a.tr.transfer).empty() && std::strcmp(pr->conv->transfer_ran(), "none") != 0)
        out.note(std::string("transfer ") + pr->conv->transfer_ran() +
                 (pr->conv->real_time() ? " (both ends are video: the same instant, the nearest frame)"
                                        : " (the project's choice)") +
                 "; --transfer names another");
    return tc;
}

json setup_json(ConversionSetup& pr, ConvertArgs const& a) {
    json j;
    j["from"] = endpoint_json(pr.from);
    j["to"] = endpoint_json(pr.to);
    j["params"] = params_json(pr.conv->params());
    j["transfer_ran"] = pr.conv->transfer_ran();
    if (!a.sync.empty()) j["sync"] = a.sync;
    return j;
}

void run_convert(Output& out, ConvertArgs const& a) {
    auto tc = prepare(out, a);
    TextConversion& c = *tc;
    ConversionSetup* pr = tc->library();
    bool const rates = !pr || tc->rate_named();
    out.doc = rates ? tc->setup_json() : setup_json(*pr, a);
    json results = json::array();
    Conversion::Result r;
    for (std::string const& text : a.texts) {
        json j;
        j["input"] = text;
        if (!c.run(text.c_str(), r)) {
            out.fail(r.error);
            j["error"] = r.error;
            results.push_back(j);
            continue;
        }
        bool const mixed = a.mark_mixed && c.mixes_film_frames(r);
        j["sample"] = r.sample;
        j["position"] = r.position;
        j["target_position"] = r.target_position;
        j["target_sample"] = r.target_sample;
        j["text"] = trim_sign_column(r.text);
        if (a.mark_mixed) j["mixed"] = mixed;
        results.push_back(j);
        std::string const mark = a.mark_mixed ? (mixed ? "\tmixed" : "\t") : "";
        if (a.explain && rates) {
            out.line(tc->explain(text, r) + mark);
        } else if (a.explain) {
            out.line(text + " = " + label_type_info(pr->from.type).class_name + " sample " + std::to_string(r.sample) +
                     " = " + format_double(r.position) + " s on " + medium_label(pr->from.roll.medium) + " -> (" +
                     pr->conv->transfer_ran() + ") " + format_double(r.target_position) + " s on " +
                     medium_label(pr->to.roll.medium) + " = " + label_type_info(pr->to.type).class_name + " sample " +
                     std::to_string(r.target_sample) + " = " + trim_sign_column(r.text) + mark);
        } else {
            out.line(trim_sign_column(r.text) + mark);
        }
    }
    out.doc["results"] = results;
}

// ---------------------------------------------------------------------------
// batch: streams with large buffers; nothing is allocated per line.

void run_batch(Output& out, ConvertArgs const& a) {
    static char in_buffer[1 << 20];
    bool const from_stdin = a.file.empty() || a.file == "-";
    std::string const name = from_stdin ? std::string("standard input") : "'" + a.file + "'";
    if (from_stdin && standard_input_closed()) throw ConversionError("cannot read standard input: it is closed");
    auto tc = prepare(out, a);
    FILE* in = stdin;
    if (!from_stdin) {
        in = std::fopen(a.file.c_str(), "r");
        if (!in) throw ConversionError("cannot open " + name + ": " + std::strerror(errno));
    }
    struct stat st;
    if (fstat(fileno(in), &st) == 0 && S_ISDIR(st.st_mode)) {
        if (in != stdin) std::fclose(in);
        throw ConversionError("cannot read " + name + ": it is a directory");
    }
    std::setvbuf(in, in_buffer, _IOFBF, sizeof in_buffer);
    BatchOptions o;
    o.echo = a.echo;
    o.mark_mixed = a.mark_mixed;
    // A pipe or a terminal may be a program waiting for each answer.
    o.line_buffered = a.line_buffered || S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode) || isatty(fileno(in));
    BatchCount const n = convert_stream(*tc, in, out, o);
    if (in != stdin) std::fclose(in);
    if (n.read_error) {
        std::string const why =
            "reading " + name + " failed after line " + std::to_string(n.lines) + ": " + std::strerror(n.read_error);
        std::fprintf(stderr, "labels: error: %s\n", why.c_str());
        out.status = exit_failed;
    }
    if (n.failed) {
        std::fprintf(stderr, "labels batch: %lld of %lld lines failed (the first at line %lld)\n", n.failed, n.lines,
                     n.first_failed);
        out.status = exit_failed;
    }
}

struct XlateArgs {
    std::string position, from, to;
    TranslationOptions tr;
};

void run_xlate(Output& out, XlateArgs const& a) {
    MPosn_Xlate_Params p;
    double x = 0;
    read_double(a.position, x);
    out.doc["position"] = x;
    out.doc["from"] = a.from;
    out.doc["to"] = a.to;
    try {
        double const r = translate_position(a.position, a.from, a.to, a.tr, &p);
        out.doc["from"] = medium_label(parse_medium(a.from));
        out.doc["to"] = medium_label(parse_medium(a.to));
        out.doc["params"] = params_json(p);
        out.doc["result"] = r;
        out.line(format_double(r));
    } catch (ConversionError const&) {
        out.doc["params"] = params_json(p);
        throw;
    }
}

void add_convert_options(CLI::App* sub, ConvertArgs& a) {
    sub->add_option("--from", a.from, "Source label type and medium, TYPE[@MEDIUM[,GEN]] (medium default: see below)")
        ->required()
        ->type_name("TYPE[@MEDIUM]");
    sub->add_option("--to", a.to, "Target label type and medium, TYPE[@MEDIUM[,GEN]]")
        ->required()
        ->type_name("TYPE[@MEDIUM]");
    sub->add_option("--prefix", a.prefix,
                    "Prefix of a KeyKode or ink target (default: the source's when both are KeyKode, else XX000000 /"
                    " XXXX)");
    sub->add_option("--sync", a.sync,
                    "SOURCE=TARGET: two texts that mark the same instant, the head of the material; positions"
                    " (and the pulldown phase) count from there. Without it both count from their zero.")
        ->type_name("SRC=DST");
    add_translation_options(*sub, a.tr);
    add_rate_options(*sub, a.rate, true, true);
}

constexpr char kMediumDefaults[] =
    "When @MEDIUM is left out: KeyKode, feet and film frames are on film, ink numbers on ink,\n"
    "30 fps timecode (ntsc, ntsc_drop) on NTSC video (source_30i_1001), and other timecode on\n"
    "the progressive source medium of its rate (tc_24 source_24p, pal source_25p, tc_50 source_50p,\n"
    "tc_60 source_60p, ...). A label's pitch (seconds per sample) follows its type and medium:\n"
    "position = sample x pitch; the target sample is the one whose time holds the position\n"
    "(with real time, the nearest one).\n"
    "Project defaults are the host stand-in's: a 24 fps film project writing drop-frame timecode,\n"
    "output 29.97 interlaced made with pulldown, audio sync pulled down, camera speed 24.\n";

}  // namespace

void add_convert_commands(CLI::App& app, std::vector<Command>& out) {
    auto ca = std::make_shared<ConvertArgs>();
    auto* convert = app.add_subcommand("convert", "Convert label texts from one type and medium to another");
    convert->add_option("TEXT", ca->texts, "Texts in the source type")->required();
    add_convert_options(convert, *ca);
    convert->add_flag("--explain", ca->explain, "Show each step: sample, position, translated position, target sample");
    convert->add_flag("--mark-mixed", ca->mark_mixed,
                      "Add a column (JSON: \"mixed\") marking the interlaced video frames whose two fields show two"
                      " film frames (BC and CD of 2:3)");
    convert->footer(
        std::string(
            "Examples (the result after #):\n"
            "  labels convert 'KJ 23 1234 0012+05' --from keycode_35 --to ntsc_drop --transfer pull23 --phase A  # "
            "00:00:08;06\n"
            "  labels convert 01:00:00+00 --from tc_24@film --to pal@source_25p --transfer pogle  # 01:00:00.00\n"
            "  labels convert 12+05 --from foot_35 --to keycode_35 --prefix KJ231234  # KJ2312340012+05\n"
            "  labels convert '00:00:00;02' --from ntsc_drop --to tc_60@source_60p_1001  # 00:00:00.04\n"
            "  labels convert '00:00:00;02' --from 29.97df --to 59.94df  # 00:00:00;04\n"
            "  labels convert 00:16:40:00 --from 23.976 --to 29.97df --transfer pull23  # 00:16:41;00\n"
            "Between two timecode rates (29.97df, 23.976, 25 ...; `labels rates`) the target frame\n"
            "is the one whose start is nearest the source frame's start in real time (exactly\n"
            "half-way: the later frame); --transfer frame keeps the frame count. With a label\n"
            "type at the other end or a pulldown transfer, a rate stands for the label type of its\n"
            "nominal rate on the source medium of its exact rate (29.97 and 30: interlaced); in a\n"
            "film transfer 23.976 and 24 count the film frames (2:3: 4 of them on 5 video frames).\n"
            "Running and signed counts outside the day convert only between rate names directly.\n") +
        kMediumDefaults);
    out.push_back({convert, [ca](Output& o) { run_convert(o, *ca); }});

    auto ba = std::make_shared<ConvertArgs>();
    auto* batch = app.add_subcommand("batch", "Convert one label text per line of a file or standard input");
    batch->add_option("FILE", ba->file, "Input file (default, or -: standard input)");
    add_convert_options(batch, *ba);
    batch->add_flag("--echo", ba->echo, "Write each input, a tab, then its result");
    batch->add_flag("--mark-mixed", ba->mark_mixed,
                    "Add a column (JSON: \"mixed\") marking the interlaced video frames whose two fields show two"
                    " film frames (BC and CD of 2:3)");
    batch->add_flag("--line-buffered", ba->line_buffered,
                    "Write each result as soon as its line is read (the default when the input is a pipe or a"
                    " terminal, so a program can wait for each answer)");
    batch->footer(std::string("One output line per input line, in order. A line that fails gives\n"
                              "'error: line N: <why>' in its place and the rest go on; the exit status is then 1.\n"
                              "Blank lines and lines starting with # pass through unchanged; a line holding a NUL\n"
                              "byte is an error line; a UTF-8 byte-order mark before the first line is skipped.\n"
                              "--json writes one JSON object per line (JSON Lines), errors included, in valid\n"
                              "UTF-8 (bytes that are not UTF-8 show as U+FFFD and the record has \"not_utf8\").\n"
                              "A failed read or write ends the command with a message and status 1.\n"
                              "Example:\n"
                              "  labels batch examples/reel.txt --from keycode_35 --to ntsc_drop --transfer pull23 "
                              "--sync 'KJ2312340000+00=01:00:00;00' --echo\n") +
                  kMediumDefaults);
    out.push_back({batch, [ba](Output& o) { run_batch(o, *ba); }});

    auto xa = std::make_shared<XlateArgs>();
    auto* xlate = app.add_subcommand("xlate", "Translate a raw position from one medium to another");
    xlate->add_option("POSITION", xa->position, "Position: seconds on the medium's clock (cel units on cel)")
        ->required();
    xlate->add_option("FROM_MEDIUM", xa->from, "Source medium (`labels media`)")->required();
    xlate->add_option("TO_MEDIUM", xa->to, "Target medium")->required();
    add_translation_options(*xlate, xa->tr);
    xlate->footer(
        "Positions are seconds on the medium's clock: film frame n is at n/24 s, video frame j at j\n"
        "frame durations, a field at half of one; cel positions count project frames in cel units.\n"
        "Example (the result after #):\n"
        "  labels xlate 1.0 film source_30i_1001 --transfer pull23  # 1.001\n"
        "A translation with no answer (film to NTSC video in a 25 fps project) fails with status 1.");
    out.push_back({xlate, [xa](Output& o) { run_xlate(o, *xa); }});
}

}  // namespace cli
