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
#include <cstring>
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

// Everything the command writes on standard output goes through one
// Output: JSON documents, JSON Lines records and text lines. It checks every
// write; the first failure is kept, the rest of the output is dropped, and
// close() reports it once ("writing the output failed: No space left on
// device") with exit status 1. JSON strings are written as valid UTF-8:
// bytes that are not UTF-8 become U+FFFD and the caller is told.
class Output {
public:
    bool json_mode = false;
    json doc;  // built by the command, printed at the end in JSON mode
    int status = exit_ok;
    bool quiet = false;  // no notes

    explicit Output(std::FILE* file = stdout) : file_(file) {}

    // A failure of one item: printed on standard error; the status becomes 1.
    void fail(std::string const& message);
    // A remark that changes nothing: "labels: note: ..." on standard error.
    void note(std::string const& message);
    void line(std::string const& text);  // text mode only
    void finish();                       // prints the JSON document

    // Streaming output (batch). Nothing is allocated.
    void put(char const* s, std::size_t n) {
        if (n <= sizeof buf_ - len_) {
            std::memcpy(buf_ + len_, s, n);
            len_ += n;
        } else {
            put_long(s, n);
        }
    }
    void put(char const* s) { put(s, std::strlen(s)); }
    void put_char(char c) {
        if (len_ == sizeof buf_) drain();
        buf_[len_++] = c;
    }
    void put_int(long long v);
    void put_double(double v);
    // A JSON string of n bytes; bytes that are not UTF-8 are written as
    // U+FFFD and make the result true.
    bool put_json_string(char const* s, std::size_t n);
    // Flushes now (line-buffered output); false once writing failed.
    bool flush();
    bool failed() const { return error_ != 0; }
    // Flushes and closes the file (once; later calls only answer); on a
    // failure of any write prints the message once and sets status 1.
    // Returns false then.
    bool close();

private:
    void put_long(char const* s, std::size_t n);
    void drain();  // the buffer to the file
    void check();
    std::FILE* file_;
    int error_ = 0;
    bool reported_ = false;
    std::size_t len_ = 0;
    char buf_[1 << 16];
};

// One JSON Lines record on an Output: {"key":value,...}\n.
class JsonRecord {
public:
    explicit JsonRecord(Output& o) : o_(o) { o_.put_char('{'); }
    JsonRecord& number(char const* key, long long v) {
        this->key(key);
        o_.put_int(v);
        return *this;
    }
    JsonRecord& boolean(char const* key, bool v) {
        this->key(key);
        o_.put(v ? "true" : "false");
        return *this;
    }
    // Returns whether bytes that are not UTF-8 were replaced.
    bool string(char const* key, char const* s, std::size_t n) {
        this->key(key);
        return o_.put_json_string(s, n);
    }
    bool string(char const* key, char const* s) { return string(key, s, std::strlen(s)); }
    void end() { o_.put("}\n", 2); }

private:
    void key(char const* k) {
        if (!first_) o_.put_char(',');
        first_ = false;
        o_.put_char('"');
        o_.put(k);
        o_.put("\":", 2);
    }
    Output& o_;
    bool first_ = true;
};

// ---------------------------------------------------------------------------
// The batch engine (batch.cpp).

struct BatchOptions {
    bool echo = false;           // input, a tab, then the result
    bool mark_mixed = false;     // a column / field for video frames of two film frames
    bool line_buffered = false;  // flush after each line
};
struct BatchCount {
    long long lines = 0, failed = 0, first_failed = 0;
    int read_error = 0;  // errno of a failed read, 0 at the end of the input
};
// Converts each line of `in` onto `out`. A line with a NUL byte is an error
// line; a byte-order mark before the first line is skipped; blank lines and
// lines starting with # pass through. Stops at the end of the input, a read
// error (in JSON mode written as one more record) or a failed write.
BatchCount convert_stream(TextConverter& c, std::FILE* in, Output& out, BatchOptions const& o);

// Whether standard input was closed when the command started (it then reads
// as /dev/null, so no file opened later takes its number).
bool standard_input_closed();

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
