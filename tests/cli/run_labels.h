// Runs the real `labels` binary for the end-to-end suites: each argument is
// passed as one shell word, the given text is its standard input, and its
// standard output, standard error and exit status come back.
#ifndef LABELSBASE_TESTS_CLI_RUN_LABELS_H
#define LABELSBASE_TESTS_CLI_RUN_LABELS_H

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

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

inline Result run(Args const& args, std::string const& input = "") {
    static int counter = 0;
    std::string const base =
        testing::TempDir() + "labels_cli_" + std::to_string(::getpid()) + "_" + std::to_string(++counter);
    std::string const in = base + ".in", err = base + ".err";
    std::ofstream(in, std::ios::binary) << input;
    std::string cmd = quote(LABELS_BIN);
    for (std::string const& a : args) cmd += " " + quote(a);
    cmd += " <" + quote(in) + " 2>" + quote(err);
    Result r;
    FILE* p = popen(cmd.c_str(), "r");
    if (p) {
        char buf[65536];
        for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) r.out.append(buf, n);
        int const st = pclose(p);
        r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
        std::ifstream e(err, std::ios::binary);
        r.err.assign(std::istreambuf_iterator<char>(e), {});
    }
    std::remove(in.c_str());
    std::remove(err.c_str());
    return r;
}

}  // namespace labels_test

#endif
