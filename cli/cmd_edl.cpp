// The edit-list commands: `edl check` (read a CMX 3600 list and report its
// problems), `edl convert` (the whole list to another count or rate) and
// `edl cutlist` (the film cut list from the list and a telecine log).
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>

#include <labelsbase/edl.h>

#include "cli/cli.h"

namespace cli {

namespace {

struct EdlArgs {
    std::string file, rate = "29.97", to, transfer, record_start, out, telecine;
    bool csv = false;
};

std::string slurp(std::string const& path) {
    if (path == "-") {
        std::ostringstream s;
        s << std::cin.rdbuf();
        return s.str();
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) throw UsageError("cannot open '" + path + "': " + std::strerror(errno));
    std::ostringstream s;
    s << in.rdbuf();
    if (in.bad()) throw ConversionError("reading '" + path + "' failed");
    return s.str();
}

edl::Rate read_rate(std::string const& name, char const* option) {
    edl::Rate const r = timecode_rate_from_name(name.c_str());
    if (!timecode_rate_ok(r))
        throw UsageError(std::string(option) + " '" + name +
                         "' is not a rate (23.976, 24, 25, 29.97, 29.97df, 30, 50, 59.94, 59.94df, 60 ...)");
    return r;
}

// The list's rate: the given one with the drop flag of its first FCM.
edl::Rate list_rate(edl::Rate r, edl::List const& list) {
    if (list.has_fcm) r.drop = list.drop && r.fractional && r.nominal % 30 == 0;
    return r;
}

char const* severity_name(edl::Severity s) { return s == edl::Severity::error ? "error" : "warning"; }

json problems_json(std::vector<edl::Problem> const& ps) {
    json a = json::array();
    for (edl::Problem const& p : ps)
        a.push_back(json{{"line", p.line}, {"severity", severity_name(p.severity)}, {"message", p.message}});
    return a;
}

void report(Output& out, std::string const& file, std::vector<edl::Problem> const& ps) {
    for (edl::Problem const& p : ps)
        if (!out.json_mode)
            std::fprintf(stderr, "%s:%d: %s: %s\n", file.c_str(), p.line, severity_name(p.severity), p.message.c_str());
    if (edl::has_errors(ps)) out.status = exit_failed;
}

json list_json(edl::List const& list, edl::Rate rate) {
    json j;
    j["title"] = list.title;
    j["fcm"] = list.has_fcm ? json(list.drop ? "DROP FRAME" : "NON-DROP FRAME") : json(nullptr);
    j["rate"] = edl::rate_name(rate);
    json events = json::array();
    for (edl::Event const& e : list.events) {
        json ev;
        ev["event"] = e.number;
        ev["line"] = list.lines[static_cast<std::size_t>(e.line)].number;
        ev["reel"] = e.reel;
        ev["track"] = e.track;
        ev["transition"] = e.transition;
        ev["duration"] = e.duration_frames >= 0 ? json(e.duration_frames) : json(nullptr);
        ev["source_in"] = e.source_in.text;
        ev["source_out"] = e.source_out.text;
        ev["record_in"] = e.record_in.text;
        ev["record_out"] = e.record_out.text;
        json motion = json::array();
        for (edl::Motion const& m : e.motion)
            motion.push_back(json{{"reel", m.reel}, {"speed", m.fps}, {"entry", m.entry.text}});
        if (!motion.empty()) ev["motion"] = motion;
        ev["comments"] = e.comment_texts(list);
        events.push_back(ev);
    }
    j["events"] = events;
    return j;
}

void run_check(Output& out, EdlArgs const& a) {
    std::string const bytes = slurp(a.file);
    edl::Rate const given = read_rate(a.rate, "--rate");
    edl::List const list = edl::read(bytes, given);
    edl::Rate const rate = list_rate(given, list);
    std::vector<edl::Problem> const ps = edl::check(list, rate);
    out.doc = list_json(list, rate);
    out.doc["problems"] = problems_json(ps);
    report(out, a.file, ps);
    std::size_t errors = 0;
    for (edl::Problem const& p : ps) errors += p.severity == edl::Severity::error;
    out.line(a.file + ": " + (list.title.empty() ? std::string("(no title)") : list.title) + ", " +
             std::to_string(list.events.size()) + " events at " + edl::rate_name(rate) + ", " + std::to_string(errors) +
             " errors, " + std::to_string(ps.size() - errors) + " warnings");
}

void run_convert(Output& out, EdlArgs const& a) {
    std::string const bytes = slurp(a.file);
    edl::Rate const given = read_rate(a.rate, "--rate");
    edl::List list = edl::read(bytes, given);
    edl::Rate const from = list_rate(given, list);
    edl::Rate const to = a.to.empty() ? from : read_rate(a.to, "--to");
    std::vector<edl::Problem> const ps = edl::check(list, from);
    std::string why;
    bool ok = true;
    std::string const t = a.transfer;
    if (to.nominal == from.nominal && to.fractional == from.fractional) {
        if (!t.empty() && t != "frame" && t != "real")
            throw UsageError("--transfer " + t + " between " + edl::rate_name(from) + " and " + edl::rate_name(to) +
                             ": the frames stay, only their labels change");
        if (to.drop != from.drop) ok = edl::relabel(list, from, to.drop, why);
    } else {
        edl::RateRule rule = edl::RateRule::real_time;
        if (t.empty() || t == "real" || t == "real-time")
            rule = edl::RateRule::real_time;
        else if (t == "frame")
            rule = edl::RateRule::frame_count;
        else if (t == "pulldown" || t == "pull23" || t == "pogle" || t == "2:3" || t == "24-to-25")
            rule = edl::RateRule::pulldown;
        else
            throw UsageError("--transfer '" + t +
                             "': real (by real time, the default), frame (by frame count) or"
                             " pulldown (pull23, pogle: through a film transfer)");
        ok = edl::convert_rate(list, from, to, rule, why);
    }
    if (ok && !a.record_start.empty()) {
        long start = 0;
        if (!edl::read_timecode(a.record_start, to, start, why))
            throw UsageError("--record-start " + why + " at " + edl::rate_name(to));
        ok = edl::move_record_start(list, to, start, why);
    }
    report(out, a.file, ps);
    if (!ok) throw ConversionError(why);
    std::string const text = edl::write(list);
    out.doc["from"] = edl::rate_name(from);
    out.doc["to"] = edl::rate_name(to);
    out.doc["problems"] = problems_json(ps);
    if (!a.out.empty() && a.out != "-") {
        std::ofstream f(a.out, std::ios::binary);
        if (!f) throw UsageError("cannot write '" + a.out + "': " + std::strerror(errno));
        f << text;
        if (!f) throw ConversionError("writing '" + a.out + "' failed");
        out.doc["output"] = a.out;
    } else if (out.json_mode) {
        out.doc["edl"] = text;
    } else {
        std::fwrite(text.data(), 1, text.size(), stdout);
    }
}

std::string csv_field(std::string const& s) {
    if (s.find_first_of(",\"\n\r") == std::string::npos) return s;
    std::string q = "\"";
    for (char c : s) q += c == '"' ? std::string("\"\"") : std::string(1, c);
    return q + "\"";
}

void run_cutlist(Output& out, EdlArgs const& a) {
    std::string const bytes = slurp(a.file);
    std::string const log_bytes = slurp(a.telecine);
    edl::Rate const given = read_rate(a.rate, "--rate");
    edl::List const list = edl::read(bytes, given);
    edl::Rate const rate = list_rate(given, list);
    std::vector<edl::Problem> const ps = edl::check(list, rate);
    edl::TelecineLog const log = edl::read_telecine_log(log_bytes, rate);
    edl::CutList const cl = edl::cut_list(list, rate, log);

    report(out, a.file, ps);
    report(out, a.telecine, log.problems);
    for (edl::Note const& n : cl.notes) {
        if (!out.json_mode)
            std::fprintf(stderr, "%s:%d: note: event %d: %s\n", a.file.c_str(), n.line, n.event, n.message.c_str());
        if (n.unmatched) out.status = exit_failed;
    }

    json events = json::array();
    for (edl::CutEvent const& c : cl.events)
        events.push_back(json{{"event", c.event},
                              {"reel", c.reel},
                              {"camroll", c.camroll},
                              {"labroll", c.labroll},
                              {"keykode_in", c.keykode_in},
                              {"keykode_out", c.keykode_out},
                              {"frames", c.frames},
                              {"feet_frames", c.feet_frames},
                              {"footage", c.footage},
                              {"transition", c.transition},
                              {"line", c.line}});
    json dupes = json::array();
    for (edl::Dupe const& d : cl.dupes)
        dupes.push_back(json{{"events", {d.event_a, d.event_b}},
                             {"reel", d.reel},
                             {"keykode_in", d.keykode_in},
                             {"keykode_out", d.keykode_out},
                             {"frames", d.frames}});
    json opticals = json::array();
    for (edl::Optical const& o : cl.opticals)
        opticals.push_back(
            json{{"event", o.event},
                 {"kind", o.kind},
                 {"detail", o.detail},
                 {"from", {{"reel", o.from_reel}, {"keykode_in", o.from_in}, {"keykode_out", o.from_out}}},
                 {"to", {{"reel", o.to_reel}, {"keykode_in", o.to_in}, {"keykode_out", o.to_out}}}});
    json pulls = json::array();
    for (edl::Pull const& p : cl.pulls) {
        json evs = json::array();
        for (int i : p.events) {
            edl::CutEvent const& c = cl.events[static_cast<std::size_t>(i)];
            evs.push_back(json{{"event", c.event}, {"keykode_in", c.keykode_in}, {"keykode_out", c.keykode_out}});
        }
        pulls.push_back(json{{"camroll", p.camroll}, {"events", evs}});
    }
    json notes = json::array();
    for (edl::Note const& n : cl.notes)
        notes.push_back(json{{"event", n.event}, {"line", n.line}, {"message", n.message}});
    out.doc = json{{"title", list.title},
                   {"rate", edl::rate_name(rate)},
                   {"events", events},
                   {"dupes", dupes},
                   {"opticals", opticals},
                   {"pulls", pulls},
                   {"notes", notes},
                   {"total_frames", cl.total_frames},
                   {"total_footage", cl.total_footage},
                   {"problems", problems_json(ps)}};
    out.doc["log_problems"] = problems_json(log.problems);
    if (out.json_mode) return;

    char b[256];
    if (a.csv) {
        out.line("event,reel,camroll,labroll,keykode_in,keykode_out,frames,feet_frames,footage");
        for (edl::CutEvent const& c : cl.events)
            out.line(std::to_string(c.event) + "," + csv_field(c.reel) + "," + csv_field(c.camroll) + "," +
                     csv_field(c.labroll) + "," + c.keykode_in + "," + c.keykode_out + "," + std::to_string(c.frames) +
                     "," + c.feet_frames + "," + c.footage);
        return;
    }
    out.line("CUT LIST  " + list.title + "  (" + edl::rate_name(rate) + ")");
    std::snprintf(b, sizeof b, "%-5s %-8s %-8s %-8s %-17s %-17s %7s %9s %10s", "EVENT", "REEL", "CAMROLL", "LABROLL",
                  "KEYKODE IN", "KEYKODE OUT", "FRAMES", "FEET", "FOOTAGE");
    out.line(b);
    for (edl::CutEvent const& c : cl.events) {
        std::snprintf(b, sizeof b, "%-5d %-8s %-8s %-8s %-17s %-17s %7d %9s %10s", c.event, c.reel.c_str(),
                      c.camroll.c_str(), c.labroll.c_str(), c.keykode_in.c_str(), c.keykode_out.c_str(), c.frames,
                      c.feet_frames.c_str(), c.footage.c_str());
        out.line(b);
    }
    out.line("TOTAL " + std::to_string(cl.total_frames) + " frames, " + cl.total_footage);
    out.line("");
    out.line("DUPE LIST" + std::string(cl.dupes.empty() ? "  (none)" : ""));
    for (edl::Dupe const& d : cl.dupes) {
        std::snprintf(b, sizeof b, "events %d and %d  %-8s %-17s %-17s %5d frames", d.event_a, d.event_b,
                      d.reel.c_str(), d.keykode_in.c_str(), d.keykode_out.c_str(), d.frames);
        out.line(b);
    }
    out.line("");
    out.line("OPTICAL LIST" + std::string(cl.opticals.empty() ? "  (none)" : ""));
    for (edl::Optical const& o : cl.opticals) {
        std::string l = "event " + std::to_string(o.event) + "  " + o.kind + " " + o.detail;
        if (!o.from_reel.empty()) l += "  from " + o.from_reel + " " + o.from_in + "-" + o.from_out;
        l += "  to " + o.to_reel + " " + o.to_in + "-" + o.to_out;
        out.line(l);
    }
    out.line("");
    out.line("PULL LIST");
    for (edl::Pull const& p : cl.pulls) {
        out.line("camera roll " + p.camroll + ":");
        for (int i : p.events) {
            edl::CutEvent const& c = cl.events[static_cast<std::size_t>(i)];
            out.line("  event " + std::to_string(c.event) + "  " + c.keykode_in + " - " + c.keykode_out);
        }
    }
}

// The list every edl command reads, and its rate.
void add_list_options(CLI::App& sub, EdlArgs& a, char const* file_help) {
    sub.add_option("FILE", a.file, file_help)->required();
    sub.add_option("--rate", a.rate, "The list's rate (default 29.97; its FCM lines set drop frame)");
}

}  // namespace

void add_edl_commands(CLI::App& app, std::vector<Command>& out) {
    auto* edl_app = app.add_subcommand("edl", "Read, check and convert CMX 3600 edit lists; film cut lists");
    edl_app->require_subcommand(1);
    edl_app->footer(
        "Commands: edl check FILE, edl convert FILE --to RATE, edl cutlist FILE --telecine LOG.\n"
        "Exit status: 0 the list is sound, 1 a check failed (the output still comes), 2 usage.");
    out.push_back({edl_app, [](Output&) {}});  // for `labels help edl`; its subcommands do the work

    auto ca = std::make_shared<EdlArgs>();
    auto* check = edl_app->add_subcommand("check", "Read an EDL and report its problems with line numbers");
    add_list_options(*check, *ca, "The EDL (- for standard input)");
    check->footer("Example:\n  labels edl check examples/film_cut.edl");
    out.push_back({check, [ca](Output& o) { run_check(o, *ca); }});

    auto va = std::make_shared<EdlArgs>();
    auto* convert = edl_app->add_subcommand("convert", "Convert a whole EDL to another count or rate");
    add_list_options(*convert, *va, "The EDL (- for standard input)");
    convert->add_option("--to", va->to, "The new rate: 29.97df <-> 29.97 re-labels the same frames")->required();
    convert->add_option("--transfer", va->transfer,
                        "Between rates: real (by real time, default), frame (by frame count), pulldown (2:3 or"
                        " 24-to-25 through film)");
    convert->add_option("--record-start", va->record_start, "Move the record so the first event starts here");
    convert->add_option("-o,--output", va->out, "Write the list here (default standard output)");
    convert->footer("Example:\n  labels edl convert examples/film_cut.edl --to 29.97 -o film_cut_ndf.edl");
    out.push_back({convert, [va](Output& o) { run_convert(o, *va); }});

    auto ta = std::make_shared<EdlArgs>();
    auto* cut = edl_app->add_subcommand("cutlist", "The film cut list (match back) of an EDL and a telecine log");
    add_list_options(*cut, *ta, "The EDL");
    cut->add_option("--telecine", ta->telecine, "The telecine log (CSV: reel, timecode, keykode, ...)")->required();
    cut->add_flag("--csv", ta->csv, "Write the events as CSV");
    cut->footer(
        "Each video frame goes to film as `labels convert` takes a timecode to KeyKode from the\n"
        "log row's sync point, transfer and phase; a 2:3 video frame that mixes two film frames\n"
        "belongs to the film frame of its first field.\n"
        "Example:\n  labels edl cutlist examples/film_cut.edl --telecine examples/film_cut_telecine.csv");
    out.push_back({cut, [ta](Output& o) { run_cutlist(o, *ta); }});
}

}  // namespace cli
