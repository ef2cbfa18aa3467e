// The command table, `help COMMAND`, `--version`, and the mapping of
// failures to exit statuses: 0 done, 1 a conversion failed or the output
// could not be written, 2 a usage error.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <exception>

#include "cli/cli.h"

namespace cli {

namespace {

constexpr char kFooter[] =
    "Label types: timecode (pal, ntsc, ntsc_drop, tc_24, tc_48, tc_50, tc_60, tc_12 ... tc_240),\n"
    "KeyKode (keycode_35, keycode_16, keycode_353, ... with _4/_5/_6 count widths), ink numbers\n"
    "(ink_35, ink_16), feet and frames (foot_35, foot_16, foot_353) and film_frames; `labels types`.\n"
    "A label_t number is written #N (#5 is pal_label).\n"
    "\n"
    "Examples (the result after #):\n"
    "  labels format pal 90000  # 01:00:00.00\n"
    "  labels parse ntsc_drop '00:01:00;02'  # 1800\n"
    "  labels convert KJ2312340012+05 --from keycode_35 --to ntsc_drop --transfer pull23  # 00:00:08;06\n"
    "  labels batch examples/reel.txt --from keycode_35 --to ntsc_drop --transfer pull23 --sync "
    "'KJ2312340000+00=01:00:00;00' --echo\n"
    "  labels calc 01:00:00:00 + 10s --type pal  # 01:00:10.00\n"
    "  labels keep --make ntsc_drop '01:00:00;00' --length 300f --medium source_30i_1001,1st\n"
    "\n"
    "Every command takes --json and --quiet (no notes on standard error). Exit status: 0 done,\n"
    "1 a conversion failed (unreadable text, invalid sample, no position) or the output could\n"
    "not be written, 2 the command line was wrong.\n"
    "Run `labels help COMMAND` for a command's options.";

bool stdin_closed = false;

// Standard input, output and error that are closed get /dev/null, so no
// file opened later takes their numbers; true if standard output was.
bool open_missing_standard_files() {
    bool out_closed = false;
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) != -1) continue;
        if (fd == 0) stdin_closed = true;
        if (fd == 1) out_closed = true;
        int const n = open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (n >= 0 && n != fd) {
            dup2(n, fd);
            close(n);
        }
    }
    return out_closed;
}

void print_error(char const* what) { std::fprintf(stderr, "labels: error: %s\n", what); }

int usage_error(Output& out, char const* what) {
    print_error(what);
    if (out.json_mode) {
        out.doc = json{{"error", what}, {"usage", true}};
        out.finish();
    }
    out.close();
    return exit_usage;
}

// Library messages become one-line notes.
void library_note(char const* text, void* context) {
    std::string s = text;
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
    for (char& c : s)
        if (c == '\n') c = ' ';
    static_cast<Output*>(context)->note("the library says: " + s);
}

// Help and version texts, written through the output like everything else.
int print_text(Output& out, std::string const& text) {
    out.put(text.data(), text.size());
    return out.close() ? exit_ok : exit_failed;
}

}  // namespace

bool standard_input_closed() { return stdin_closed; }

int run_command(int argc, char** argv) {
    if (open_missing_standard_files()) {
        print_error("standard output is closed: there is nowhere to write the results");
        return exit_failed;
    }
    CLI::App app{
        "labels: convert, translate and check film and video labels - SMPTE timecode, KeyKode,\n"
        "ink numbers, feet+frames and film frames - through 2:3 and 24-to-25 pulldown.",
        "labels"};
    std::string const version = std::string("labels (labelsbase) ") + labelsBaseDllVersionStr();
    app.set_version_flag("--version", version, "Print the library version and exit");
    app.fallthrough();
    app.require_subcommand(0, 1);
    app.footer(kFooter);

    Globals g;
    bool quiet = false;
    app.add_flag("--json", g.json, "Write machine-readable JSON on standard output");
    app.add_flag("--quiet", quiet, "No notes on standard error (the transfer chosen, library warnings)");
    add_config_option(app, g.config);

    std::vector<Command> commands;
    add_info_commands(app, commands);
    add_label_commands(app, commands);
    add_keep_command(app, commands);
    add_convert_commands(app, commands);
    add_edl_commands(app, commands);

    for (Command const& c : commands)
        c.app->footer(c.app->get_footer() +
                      "\nEvery command also takes --json (JSON on standard output), --quiet and --config KEY=VALUE.");

    std::string help_for;
    CLI::App* help = app.add_subcommand("help", "Show the help of a command: labels help COMMAND");
    help->add_option("COMMAND", help_for, "The command");

    Output out;
    try {
        app.parse(argc, argv);
    } catch (CLI::CallForHelp const&) {
        CLI::App const* sub = &app;
        for (CLI::App const* s : app.get_subcommands()) sub = s;
        return print_text(out, sub == &app ? app.help() : sub->help(app.get_name()));
    } catch (CLI::CallForAllHelp const&) {
        return print_text(out, app.help("", CLI::AppFormatMode::All));
    } catch (CLI::CallForVersion const&) {
        return print_text(out, version + "\n");
    } catch (CLI::ParseError const& e) {
        out.json_mode = g.json;
        std::string const msg = std::string(e.what()) + " (run `labels --help` or `labels help COMMAND`)";
        return usage_error(out, msg.c_str());
    }
    out.json_mode = g.json;
    out.quiet = quiet;
    host::set_message_sink(library_note, &out);

    if (help->parsed() || app.get_subcommands().empty()) {
        if (help_for.empty()) return print_text(out, app.help());
        std::vector<std::string> names;
        for (Command const& c : commands) {
            if (c.app->get_name() == help_for) return print_text(out, c.app->help(app.get_name()));
            names.push_back(c.app->get_name());
        }
        std::string const msg =
            "no command '" + help_for + "'." + did_you_mean(help_for, names) +
            " Commands: types, media, rates, format, parse, calc, convert, batch, xlate, keep, edl.";
        return usage_error(out, msg.c_str());
    }

    try {
        apply_config(g.config);
        for (Command const& c : commands)
            if (c.app->parsed()) c.run(out);
    } catch (UsageError const& e) {
        host::set_message_sink(nullptr, nullptr);
        return usage_error(out, e.what());
    } catch (ConversionError const& e) {
        out.fail(e.what());
        if (out.json_mode) {
            if (!out.doc.is_object()) out.doc = json::object();
            out.doc["error"] = e.what();
        }
    } catch (std::exception const& e) {
        out.fail(std::string("unexpected failure: ") + e.what());
    }
    host::set_message_sink(nullptr, nullptr);
    out.finish();
    out.close();
    return out.status;
}

}  // namespace cli
