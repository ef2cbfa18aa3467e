// The command table, `help COMMAND`, `--version`, and the mapping of
// failures to exit statuses: 0 done, 1 a conversion failed, 2 a usage error.
#include <cstdio>
#include <exception>

#include "cli/cli.h"

namespace {

constexpr char kFooter[] =
    "Label types: timecode (pal, ntsc, ntsc_drop, tc_24, tc_48, tc_50, tc_60, tc_12 ... tc_240),\n"
    "KeyKode (keycode_35, keycode_16, keycode_353, ... with _4/_5/_6 count widths), ink numbers\n"
    "(ink_35, ink_16), feet and frames (foot_35, foot_16, foot_353) and film_frames; `labels types`.\n"
    "\n"
    "Examples:\n"
    "  labels format pal 90000                       01:00:00.00\n"
    "  labels parse ntsc_drop 00:01:00;02            1800\n"
    "  labels convert KJ2312340012+05 --from keycode_35 --to ntsc_drop --transfer pull23\n"
    "  labels batch examples/reel.txt --from keycode_35 --to ntsc_drop --transfer pull23 \\\n"
    "         --sync KJ2312340000+00=01:00:00;00 --echo\n"
    "  labels calc 01:00:00:00 + 10s --type pal      01:00:10.00\n"
    "  labels keep --make ntsc_drop 01:00:00;00 --length 300f --medium source_30i_1001,1st\n"
    "\n"
    "Every command takes --json. Exit status: 0 done, 1 a conversion failed (unreadable text,\n"
    "invalid sample, no position), 2 the command line was wrong.\n"
    "Run `labels help COMMAND` for a command's options.";

void print_error(char const* what) { std::fprintf(stderr, "labels: error: %s\n", what); }

int usage_error(cli::Output& out, char const* what) {
    print_error(what);
    if (out.json_mode) {
        out.doc = cli::json{{"error", what}, {"usage", true}};
        out.finish();
    }
    return cli::exit_usage;
}

}  // namespace

namespace cli {

int run_command(int argc, char** argv) {
    CLI::App app{"labels: convert, translate and check film and video labels - SMPTE timecode, KeyKode,\n"
                 "ink numbers, feet+frames and film frames - through 2:3 and 24-to-25 pulldown.",
                 "labels"};
    app.set_version_flag("--version", std::string("labels (labelsbase) ") + labelsBaseDllVersionStr(),
                         "Print the library version and exit");
    app.fallthrough();
    app.require_subcommand(0, 1);
    app.footer(kFooter);

    cli::Globals g;
    app.add_flag("--json", g.json, "Write machine-readable JSON on standard output");
    cli::add_config_option(app, g.config);

    std::vector<cli::Command> commands;
    cli::add_info_commands(app, commands);
    cli::add_label_commands(app, commands);
    cli::add_keep_command(app, commands);
    cli::add_convert_commands(app, commands);

    for (cli::Command const& c : commands)
        c.app->footer(c.app->get_footer() +
                      "\nEvery command also takes --json (JSON on standard output) and --config KEY=VALUE.");

    std::string help_for;
    CLI::App* help = app.add_subcommand("help", "Show the help of a command: labels help COMMAND");
    help->add_option("COMMAND", help_for, "The command");

    cli::Output out;
    try {
        app.parse(argc, argv);
    } catch (CLI::CallForHelp const& e) {
        return app.exit(e);
    } catch (CLI::CallForAllHelp const& e) {
        return app.exit(e);
    } catch (CLI::CallForVersion const& e) {
        return app.exit(e);
    } catch (CLI::ParseError const& e) {
        out.json_mode = g.json;
        std::string const msg = std::string(e.what()) + " (run `labels --help` or `labels help COMMAND`)";
        return usage_error(out, msg.c_str());
    }
    out.json_mode = g.json;

    if (help->parsed() || app.get_subcommands().empty()) {
        if (help_for.empty()) {
            std::fputs(app.help().c_str(), stdout);
            return cli::exit_ok;
        }
        std::vector<std::string> names;
        for (cli::Command const& c : commands) {
            if (c.app->get_name() == help_for) {
                std::fputs(c.app->help(app.get_name()).c_str(), stdout);
                return cli::exit_ok;
            }
            names.push_back(c.app->get_name());
        }
        std::string const msg = "no command '" + help_for + "'." + cli::did_you_mean(help_for, names) +
                                " Commands: types, media, rates, format, parse, calc, convert, batch, xlate, keep.";
        return usage_error(out, msg.c_str());
    }

    try {
        cli::apply_config(g.config);
        for (cli::Command const& c : commands)
            if (c.app->parsed()) c.run(out);
    } catch (cli::UsageError const& e) {
        return usage_error(out, e.what());
    } catch (cli::ConversionError const& e) {
        out.fail(e.what());
        if (out.json_mode) {
            if (!out.doc.is_object()) out.doc = cli::json::object();
            out.doc["error"] = e.what();
        }
    } catch (std::exception const& e) {
        out.fail(std::string("unexpected failure: ") + e.what());
    }
    out.finish();
    std::fflush(stdout);
    return out.status;
}

}  // namespace cli
