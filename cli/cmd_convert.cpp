// The translating commands: `convert` (texts of one type on one medium to
// texts of another type on another medium), `batch` (the same over a file
// or standard input, one output line per input line) and `xlate` (a raw
// position from one medium to another).
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstring>

#include "cli/cli.h"

namespace cli {

namespace {

struct ConvertArgs {
    std::vector<std::string> texts;
    std::string from, to, prefix, sync, file;
    TranslationOptions tr;
    bool explain = false;
    bool echo = false;
};

json endpoint_json(Endpoint const& e) {
    return json{{"type", label_type_info(e.type).class_name},
                {"medium", medium_label(e.roll.medium)},
                {"generation", generation_name(e.roll.generation)},
                {"pitch", e.pitch()}};
}

std::unique_ptr<ConversionSetup> prepare(ConvertArgs const& a) {
    return make_conversion(a.from, a.to, a.tr, a.prefix, a.sync);
}

json setup_json(ConversionSetup& pr, ConvertArgs const& a) {
    json j;
    j["from"] = endpoint_json(pr.from);
    j["to"] = endpoint_json(pr.to);
    j["params"] = params_json(pr.conv->params());
    if (!a.sync.empty()) j["sync"] = a.sync;
    return j;
}

void run_convert(Output& out, ConvertArgs const& a) {
    auto pr = prepare(a);
    Conversion& c = *pr->conv;
    out.doc = setup_json(*pr, a);
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
        j["sample"] = r.sample;
        j["position"] = r.position;
        j["target_position"] = r.target_position;
        j["target_sample"] = r.target_sample;
        j["text"] = r.text;
        results.push_back(j);
        if (a.explain) {
            out.line(text + " = " + label_type_info(pr->from.type).class_name + " sample " + std::to_string(r.sample) +
                     " = " + format_double(r.position) + " s on " + medium_label(pr->from.roll.medium) + " -> " +
                     format_double(r.target_position) + " s on " + medium_label(pr->to.roll.medium) + " = " +
                     label_type_info(pr->to.type).class_name + " sample " + std::to_string(r.target_sample) + " = " +
                     trim_sign_column(r.text));
        } else {
            out.line(trim_sign_column(r.text));
        }
    }
    out.doc["results"] = results;
}

// ---------------------------------------------------------------------------
// batch: streams with large buffers and writes with fwrite; nothing is
// allocated per line.

void put(char const* s, std::size_t n) { std::fwrite(s, 1, n, stdout); }
void put(char const* s) { put(s, std::strlen(s)); }

void put_json_string(char const* s) {
    std::fputc('"', stdout);
    char const* run = s;
    for (; *s; ++s) {
        unsigned char const c = static_cast<unsigned char>(*s);
        if (c != '"' && c != '\\' && c >= 0x20) continue;
        put(run, static_cast<std::size_t>(s - run));
        char esc[8];
        if (c == '"' || c == '\\') {
            esc[0] = '\\';
            esc[1] = static_cast<char>(c);
            put(esc, 2);
        } else {
            std::snprintf(esc, sizeof esc, "\\u%04x", c);
            put(esc, 6);
        }
        run = s + 1;
    }
    put(run, static_cast<std::size_t>(s - run));
    std::fputc('"', stdout);
}

template <typename T>
void put_number(T v) {
    char buf[64];
    auto const r = std::to_chars(buf, buf + sizeof buf, v);
    put(buf, static_cast<std::size_t>(r.ptr - buf));
}

void run_batch(Output& out, ConvertArgs const& a) {
    static char in_buffer[1 << 20];
    static char out_buffer[1 << 20];
    std::setvbuf(stdout, out_buffer, _IOFBF, sizeof out_buffer);
    auto pr = prepare(a);
    Conversion& c = *pr->conv;
    FILE* in = stdin;
    if (!a.file.empty() && a.file != "-") {
        in = std::fopen(a.file.c_str(), "r");
        if (!in) throw UsageError("cannot open '" + a.file + "': " + std::strerror(errno));
    }
    std::setvbuf(in, in_buffer, _IOFBF, sizeof in_buffer);

    char* line = nullptr;
    std::size_t cap = 0;
    long n;
    long long lineno = 0, failed = 0, first_failed = 0;
    Conversion::Result r;
    while ((n = static_cast<long>(getline(&line, &cap, in))) != -1) {
        ++lineno;
        while (n > 0 && (line[n - 1] == '\n' || line[n - 1] == '\r')) line[--n] = '\0';
        char const* p = line;
        while (is_blank(*p)) ++p;
        if (*p == '\0' || *p == '#') {
            // Blank lines and comments pass through, so output lines stay
            // in step with input lines.
            if (out.json_mode) {
                put("{\"line\":");
                put_number(lineno);
                put(",\"input\":");
                put_json_string(line);
                put("}\n");
            } else {
                put(line, static_cast<std::size_t>(n));
                std::fputc('\n', stdout);
            }
            continue;
        }
        bool const ok = c.run(line, r);
        if (!ok) {
            ++failed;
            if (!first_failed) first_failed = lineno;
        }
        if (out.json_mode) {
            put("{\"line\":");
            put_number(lineno);
            put(",\"input\":");
            put_json_string(line);
            if (ok) {
                put(",\"sample\":");
                put_number(r.sample);
                put(",\"target_sample\":");
                put_number(r.target_sample);
                put(",\"text\":");
                put_json_string(r.text);
            } else {
                put(",\"error\":");
                put_json_string(r.error);
            }
            put("}\n");
        } else {
            if (a.echo) {
                put(line, static_cast<std::size_t>(n));
                std::fputc('\t', stdout);
            }
            if (ok) {
                put(trim_sign_column(r.text));
            } else {
                char head[48];
                int const k = std::snprintf(head, sizeof head, "error: line %lld: ", lineno);
                put(head, static_cast<std::size_t>(k));
                put(r.error);
            }
            std::fputc('\n', stdout);
        }
    }
    std::free(line);
    bool const read_error = std::ferror(in) != 0;
    if (in != stdin) std::fclose(in);
    std::fflush(stdout);
    if (read_error) throw ConversionError("reading the input failed after line " + std::to_string(lineno));
    if (failed) {
        std::fprintf(stderr, "labels batch: %lld of %lld lines failed (the first at line %lld)\n", failed, lineno,
                     first_failed);
        out.status = exit_failed;
    }
}

// ---------------------------------------------------------------------------

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
    sub->add_option("--from", a.from,
                    "Source label type and medium, TYPE[@MEDIUM[,GEN]] (medium default: see below)")
        ->required()->type_name("TYPE[@MEDIUM]");
    sub->add_option("--to", a.to, "Target label type and medium, TYPE[@MEDIUM[,GEN]]")
        ->required()->type_name("TYPE[@MEDIUM]");
    sub->add_option("--prefix", a.prefix,
                    "Prefix of a KeyKode or ink target (default: the source's when both are KeyKode, else XX000000 /"
                    " XXXX)");
    sub->add_option("--sync", a.sync,
                    "SOURCE=TARGET: two texts that mark the same instant, the head of the material; positions"
                    " (and the pulldown phase) count from there. Without it both count from their zero.")
        ->type_name("SRC=DST");
    add_translation_options(*sub, a.tr);
}

constexpr char kMediumDefaults[] =
    "When @MEDIUM is left out: KeyKode, feet and film frames are on film, ink numbers on ink,\n"
    "30 fps timecode (ntsc, ntsc_drop) on NTSC video (source_30i_1001), and other timecode on\n"
    "the progressive source medium of its rate (tc_24 source_24p, pal source_25p, tc_50 source_50p,\n"
    "tc_60 source_60p, ...). A label's pitch (seconds per sample) follows its type and medium:\n"
    "position = sample x pitch; the target sample is the one whose time holds the position.\n"
    "Project defaults are the host stand-in's: a 24 fps film project writing drop-frame timecode,\n"
    "output 29.97 interlaced made with pulldown, audio sync pulled down, camera speed 24.\n";

}  // namespace

void add_convert_commands(CLI::App& app, std::vector<Command>& out) {
    auto ca = std::make_shared<ConvertArgs>();
    auto* convert = app.add_subcommand("convert", "Convert label texts from one type and medium to another");
    convert->add_option("TEXT", ca->texts, "Texts in the source type")->required();
    add_convert_options(convert, *ca);
    convert->add_flag("--explain", ca->explain, "Show each step: sample, position, translated position, target sample");
    convert->footer(std::string("Examples:\n"
                                "  labels convert KJ2312340012+05 --from keycode_35 --to ntsc_drop@source_30i_1001 \\\n"
                                "         --transfer pull23 --phase 0                        00:00:08;06\n"
                                "  labels convert 01:00:00+00 --from tc_24@film --to pal@source_25p --transfer pogle\n"
                                "                                                            01:00:00.00\n"
                                "  labels convert 12+05 --from foot_35 --to keycode_35 --prefix KJ231234\n"
                                "                                                            KJ2312340012+05\n") +
                    kMediumDefaults);
    out.push_back({convert, [ca](Output& o) { run_convert(o, *ca); }});

    auto ba = std::make_shared<ConvertArgs>();
    auto* batch = app.add_subcommand("batch", "Convert one label text per line of a file or standard input");
    batch->add_option("FILE", ba->file, "Input file (default, or -: standard input)");
    add_convert_options(batch, *ba);
    batch->add_flag("--echo", ba->echo, "Write each input, a tab, then its result");
    batch->footer(std::string("One output line per input line, in order. A line that fails gives\n"
                              "'error: line N: <why>' in its place and the rest go on; the exit status is then 1.\n"
                              "Blank lines and lines starting with # pass through unchanged. --json writes one\n"
                              "JSON object per line (JSON Lines).\n"
                              "Example:\n"
                              "  labels batch examples/reel.txt --from keycode_35 --to ntsc_drop \\\n"
                              "         --transfer pull23 --sync KJ2312340000+00=01:00:00;00 --echo\n") +
                  kMediumDefaults);
    out.push_back({batch, [ba](Output& o) { run_batch(o, *ba); }});

    auto xa = std::make_shared<XlateArgs>();
    auto* xlate = app.add_subcommand("xlate", "Translate a raw position from one medium to another");
    xlate->add_option("POSITION", xa->position, "Position: seconds on the medium's clock (cel units on cel)")
        ->required();
    xlate->add_option("FROM_MEDIUM", xa->from, "Source medium (`labels media`)")->required();
    xlate->add_option("TO_MEDIUM", xa->to, "Target medium")->required();
    add_translation_options(*xlate, xa->tr);
    xlate->footer("Positions are seconds on the medium's clock: film frame n is at n/24 s, video frame j at j\n"
                  "frame durations, a field at half of one; cel positions count project frames in cel units.\n"
                  "Example:\n"
                  "  labels xlate 1.0 film source_30i_1001 --transfer pull23      1.001\n"
                  "A translation with no answer (film to NTSC video in a 25 fps project) fails with status 1.");
    out.push_back({xlate, [xa](Output& o) { run_xlate(o, *xa); }});
}

}  // namespace cli
