// The `labels` command's own units, on top of the engines of core.h.
//
// Units of labels_core, by job:
//   numbers.cpp, suggest.cpp       plain words and numbers, close-name suggestions
//   names_types.cpp, names_media.cpp, names_rates.cpp
//                                  the names a user types for types, media, rates ...
//   texts.cpp                      reading and writing texts of one type; format, parse
//   conversion.cpp                 endpoints, text-to-text conversion, raw positions
//   calc.cpp, keep.cpp             the calc and keep engines
//   settings.cpp                   project, translation and configuration settings
//   options.cpp                    their command-line options
//   output.cpp                     text and JSON output
//   cmd_*.cpp                      one unit per command group
//   command.cpp                    the command table, help and exit statuses
// main.cpp only calls run_command.
//
// The library reports failure as values; this program turns them into
// messages and exit codes: 0 done, 1 a conversion failed (an unreadable
// text, an invalid sample, no position), 2 the command line was wrong.
#ifndef LABELS_CLI_CLI_H
#define LABELS_CLI_CLI_H

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "cli/core.h"

namespace cli {

using json = nlohmann::ordered_json;

// The whole command: parses argv, runs the command, returns the exit status.
int run_command(int argc, char** argv);

// ---------------------------------------------------------------------------
// Options (options.cpp).

void add_config_option(CLI::App& app, std::vector<std::string>& entries);
void add_project_options(CLI::App& app, ProjectOptions& o);
void add_translation_options(CLI::App& app, TranslationOptions& o);
// The parameter block as JSON (names and numbers).
json params_json(MPosn_Xlate_Params const& p);

// ---------------------------------------------------------------------------
// Output (output.cpp).

struct Output {
    bool json_mode = false;
    json doc;  // built by the command, printed at the end in JSON mode
    int status = exit_ok;

    // A failure of one item: printed on standard error in text mode; the
    // status becomes 1.
    void fail(std::string const& message);
    void line(std::string const& text);  // text mode only
    void finish();                       // prints the JSON document
};

// ---------------------------------------------------------------------------
// Commands. Each registers its subcommand and returns the function that
// runs it after parsing.
struct Command {
    CLI::App* app;
    std::function<void(Output&)> run;
};

struct Globals {
    bool json = false;
    std::vector<std::string> config;
};

void add_info_commands(CLI::App& app, std::vector<Command>& out);
void add_label_commands(CLI::App& app, std::vector<Command>& out);
void add_keep_command(CLI::App& app, std::vector<Command>& out);
void add_convert_commands(CLI::App& app, std::vector<Command>& out);

}  // namespace cli

#endif
