// The batch command's streams: every failure of a read or a write is
// reported once with a non-zero status, odd bytes in the input never pass
// silently, JSON Lines stay one valid record per line, and a program on a
// pipe gets each answer as soon as it sends its line. End to end through
// the shell, and in process with a reader that fails on cue.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "run_labels.h"

namespace {

using labels_test::has;
using labels_test::lines;
using labels_test::Result;
using nlohmann::json;

// Runs a shell command line with `L` standing for the labels binary and
// `BATCH` for a 2:3 batch conversion of KeyKode to drop-frame timecode.
Result sh(std::string line, std::string const& input = "") {
    auto replace = [&](std::string const& what, std::string const& with) {
        for (std::size_t at; (at = line.find(what)) != std::string::npos;) line.replace(at, what.size(), with);
    };
    replace("BATCH", "L batch --from keycode_35 --to ntsc_drop --transfer pull23");
    replace("L ", labels_test::quote(LABELS_BIN) + " ");
    return labels_test::shell(line, input);
}

std::string many_lines(int n) {
    std::string in;
    for (int i = 0; i < n; ++i) in += "XX0000000012+05\n";
    return in;
}

// ---------------------------------------------------------------------------

TEST(CliStreams, FailedReadsAndWritesAndOddBytesAreReportedOnce) {
    std::string const many = many_lines(100000);
    struct {
        char const* line;
        std::string input;
        int status;
        char const* out;  // as labels_test::matches takes it
        char const* err;  // the one message, or none
    } const cases[] = {
        {"BATCH >/dev/full", many, 1, "", "writing the output failed: No space left on device"},
        {"L format pal 1 >/dev/full", "", 1, "", "writing the output failed: No space left on device"},
        {"L --json types >/dev/full", "", 1, "", "writing the output failed"},
        {"L --help >/dev/full", "", 1, "", "writing the output failed"},
        {"BATCH >&-", many, 1, "", "standard output is closed"},
        {"L format pal 1 >&-", "", 1, "", "standard output is closed"},
        // With SIGPIPE ignored the write fails with EPIPE; with SIGPIPE as it
        // comes, `| head -1` stays quiet.
        {"trap \"\" PIPE; (BATCH; echo $? >&2) | head -1", many, 0, "00:00:08;06\n", "failed: Broken pipe\n1\n"},
        {"BATCH | head -1", many, 0, "00:00:08;06\n", ""},
        {"BATCH /nonexistent/reel.txt", "", 1, "", "cannot open '/nonexistent/reel.txt': No such file or"},
        {"BATCH /", "", 1, "", "cannot read '/': it is a directory"},
        {"BATCH <&-", "", 1, "", "cannot read standard input: it is closed"},
        {"BATCH - <&-", "", 1, "", "cannot read standard input: it is closed"},
        // A byte-order mark before the first line is skipped, one inside the
        // input is no mark; a NUL byte fails its line (the batch's summary
        // of failed lines is no error message).
        {"BATCH", "\xEF\xBB\xBFXX0000000012+05\n", 0, "00:00:08;06\n", ""},
        {"BATCH", std::string("\xEF\xBB\xBFXX0000000012+05\0garbage\n\0\n\xEF\xBB\xBFXX0000000012+05\n", 47), 1,
         "error: line 1: the line holds a NUL byte (at character 16)\nerror: line 2: the line holds a NUL byte "
         "(at character 1)\nerror: line 3: cannot read '\xEF\xBB\xBFXX0000000012+05'...\n",
         ""},
    };
    for (auto const& c : cases) {
        Result const r = sh(c.line, c.input);
        EXPECT_EQ(r.status, c.status) << c.line << ": " << r.err;
        EXPECT_TRUE(labels_test::matches(r.out, c.out)) << c.line << ": " << r.out.substr(0, 200);
        EXPECT_TRUE(has(r.err, c.err)) << c.line << ": " << r.err;
        std::size_t messages = 0;
        for (std::size_t at = 0; (at = r.err.find("labels: ", at)) != std::string::npos; ++at) ++messages;
        EXPECT_EQ(messages, *c.err ? 1u : 0u) << c.line << ": " << r.err;
    }
}

TEST(CliStreams, JsonLinesStayValidUtf8AndSayWhichLine) {
    std::string const in =
        "XX0000000012+05\n\xFF\xFE\n# caf\xC3\xA9\n\xC3\x28\n\xED\xA0\x80\nXX00\xF0\x9F\x8E\xAC\n\x01\"\\\n";
    Result const r = sh("BATCH --json", in);
    EXPECT_EQ(r.status, 1);
    std::vector<std::string> const l = lines(r.out);
    ASSERT_EQ(l.size(), 7u) << r.out;
    bool const bad[] = {false, true, false, true, true, false, false};
    for (std::size_t i = 0; i < l.size(); ++i) {
        json j;
        ASSERT_NO_THROW(j = json::parse(l[i])) << l[i];  // throws on invalid UTF-8
        EXPECT_EQ(j["line"], i + 1);
        EXPECT_EQ(j.value("not_utf8", false), bad[i]) << l[i];
    }
    EXPECT_EQ(json::parse(l[2])["input"], "# caf\xC3\xA9");  // valid UTF-8 is kept
    EXPECT_EQ(json::parse(l[6])["input"], "\x01\"\\");
    // Other commands' JSON too.
    Result const p = sh(std::string("L --json parse pal 01:00:00:00 \"\xFF\""));
    EXPECT_EQ(p.status, 1);
    EXPECT_TRUE(json::accept(p.out)) << p.out;
}

TEST(CliStreams, APipeGetsEachAnswerBeforeTheNextLine) {
    int to_child[2], from_child[2];
    ASSERT_EQ(pipe(to_child), 0);
    ASSERT_EQ(pipe(from_child), 0);
    pid_t const pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        dup2(to_child[0], 0);
        dup2(from_child[1], 1);
        for (int fd : {to_child[0], to_child[1], from_child[0], from_child[1]}) close(fd);
        execl(LABELS_BIN, "labels", "batch", "--from", "keycode_35", "--to", "ntsc_drop", "--transfer", "pull23",
              static_cast<char*>(nullptr));
        _exit(127);
    }
    close(to_child[0]);
    close(from_child[1]);
    struct {
        char const* line;
        char const* want;
    } const exchange[] = {{"XX0000000012+05\n", "00:00:08;06\n"}, {"XX0000000000+03\n", "00:00:00;03\n"}};
    for (auto const& [line, want] : exchange) {
        ASSERT_EQ(write(to_child[1], line, std::strlen(line)), static_cast<ssize_t>(std::strlen(line)));
        pollfd p{from_child[0], POLLIN, 0};
        ASSERT_EQ(poll(&p, 1, 10000), 1) << "no answer while the input stays open";
        char buf[64] = {0};
        ssize_t const n = read(from_child[0], buf, sizeof buf - 1);
        EXPECT_EQ(std::string(buf, n > 0 ? static_cast<std::size_t>(n) : 0), want);
    }
    close(to_child[1]);
    int st = 0;
    waitpid(pid, &st, 0);
    close(from_child[0]);
    EXPECT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 0);
}

// ---------------------------------------------------------------------------
// In process: a reader that fails with EIO after its text.

struct Faulty {
    std::string text;
    std::size_t at = 0;
};

ssize_t faulty_read(void* c, char* buf, std::size_t n) {
    Faulty& f = *static_cast<Faulty*>(c);
    std::size_t const k = std::min(n, f.text.size() - f.at);
    std::memcpy(buf, f.text.data() + f.at, k);
    f.at += k;
    errno = EIO;
    return k ? static_cast<ssize_t>(k) : -1;
}

TEST(CliStreams, AReadErrorMidStreamIsOneJsonLinesRecord) {
    cli::TranslationOptions tr;
    tr.transfer = "pull23";
    std::unique_ptr<cli::ConversionSetup> const setup = cli::make_conversion("keycode_35", "ntsc_drop", tr);
    Faulty in{many_lines(65536)};
    FILE* r = fopencookie(&in, "r", cookie_io_functions_t{faulty_read, nullptr, nullptr, nullptr});
    char* text = nullptr;
    std::size_t size = 0;
    cli::BatchCount n;
    {
        cli::Output out(open_memstream(&text, &size));
        out.json_mode = true;
        n = cli::convert_stream(*setup->conv, r, out, {});
        EXPECT_TRUE(out.close());
    }
    std::fclose(r);
    EXPECT_EQ(n.lines, 65536);
    EXPECT_EQ(n.read_error, EIO);
    std::vector<std::string> const l = lines(std::string(text, size));
    std::free(text);
    ASSERT_EQ(l.size(), 65537u);
    for (std::size_t i = 0; i < l.size() - 1; i += 4099)  // each line converted, in its place
        EXPECT_TRUE(has(l[i], "{\"line\":" + std::to_string(i + 1) + ",") && has(l[i], "\"target_sample\":246,"))
            << l[i];
    EXPECT_EQ(l.back(), R"({"error":"reading the input failed after line 65536: Input/output error"})");
}

}  // namespace
