// Runs the real `labels` binary for the end-to-end suites: a shell command
// line, or the binary with each argument passed as one shell word; the given
// text is its standard input, and its standard output, standard error and
// exit status come back.
#ifndef LABELSBASE_TESTS_CLI_RUN_LABELS_H
#define LABELSBASE_TESTS_CLI_RUN_LABELS_H

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace labels_test {

using Args = std::vector<std::string>;

struct Result {
    std::string out, err;
    int status = -1;
};

inline std::string quote(std::string const& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

inline std::string slurp(std::string const& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline bool has(std::string const& hay, std::string const& needle) { return hay.find(needle) != std::string::npos; }

// A wanted text: with "..." in it, its pieces in that order somewhere in the
// text; without, the whole text (or, not whole, somewhere in it).
inline bool matches(std::string const& got, std::string const& want, bool whole = true) {
    if (!whole || has(want, "...")) {
        std::size_t at = 0;
        for (std::size_t b = 0, e; b <= want.size(); b = e + 3) {
            e = std::min(want.find("...", b), want.size());
            if ((at = got.find(want.substr(b, e - b), at)) == std::string::npos) return false;
        }
        return true;
    }
    return got == want;
}

// The lines of a text; a last line without its ending counts, an empty one
// after the last ending too.
inline Args lines(std::string const& s) {
    Args v;
    for (std::size_t b = 0, e; b < s.size(); b = e + 1) {
        e = std::min(s.find('\n', b), s.size());
        v.push_back(s.substr(b, e - b));
    }
    return v;
}

// Runs a shell command line; its status is the shell's ($?).
inline Result shell(std::string const& line, std::string const& input = "") {
    static int counter = 0;
    std::string const base =
        testing::TempDir() + "labels_cli_" + std::to_string(::getpid()) + "_" + std::to_string(++counter);
    std::ofstream(base + ".in", std::ios::binary) << input;
    std::string const cmd = "{ " + line + " ; } <" + quote(base + ".in") + " >" + quote(base + ".out") + " 2>" +
                            quote(base + ".err") + "; echo $?";
    Result r;
    if (FILE* p = popen(cmd.c_str(), "r")) {
        if (std::fscanf(p, "%d", &r.status) != 1) r.status = -1;
        pclose(p);
    }
    r.out = slurp(base + ".out");
    r.err = slurp(base + ".err");
    for (char const* x : {".in", ".out", ".err"}) std::remove((base + x).c_str());
    return r;
}

inline Result run(Args const& args, std::string const& input = "") {
    std::string cmd = quote(LABELS_BIN);
    for (std::string const& a : args) cmd += " " + quote(a);
    return shell(cmd, input);
}

}  // namespace labels_test

#endif
