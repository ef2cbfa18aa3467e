// The batch command's streams: every failure of a read or a write is
// reported once with a non-zero status, odd bytes in the input never pass
// silently, JSON Lines stay one valid record per line, and a program on a
// pipe gets each answer as soon as it sends its line. End to end through
// the shell, and in process with a reader and a writer that fail on cue.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace {

using nlohmann::json;

struct Shell {
    std::string out, err;
    int status = -1;
};

// Runs a shell command line with `L` standing for the labels binary and
// `BATCH` for a 2:3 batch conversion of KeyKode to drop-frame timecode.
Shell sh(std::string line, std::string const& input = "") {
    static int counter = 0;
    std::string const base =
        testing::TempDir() + "labels_streams_" + std::to_string(getpid()) + "_" + std::to_string(++counter);
    auto replace = [&](std::string const& what, std::string const& with) {
        for (std::size_t at; (at = line.find(what)) != std::string::npos;) line.replace(at, what.size(), with);
    };
    replace("BATCH", "L batch --from keycode_35 --to ntsc_drop --transfer pull23");
    replace("L ", std::string(LABELS_BIN) + " ");
    std::ofstream(base + ".in", std::ios::binary) << input;
    std::string const cmd = "{ " + line + " ; } <" + base + ".in >" + base + ".out 2>" + base + ".err; echo $?";
    Shell r;
    FILE* p = popen(("sh -c '" + cmd + "'").c_str(), "r");
    if (!p) return r;
    if (std::fscanf(p, "%d", &r.status) != 1) r.status = -1;
    pclose(p);
    auto slurp = [](std::string const& f) {
        std::ifstream s(f, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(s), {});
    };
    r.out = slurp(base + ".out");
    r.err = slurp(base + ".err");
    for (char const* x : {".in", ".out", ".err"}) std::remove((base + x).c_str());
    return r;
}

bool has(std::string const& hay, std::string const& needle) { return hay.find(needle) != std::string::npos; }

std::vector<std::string> lines(std::string const& s) {
    std::vector<std::string> v;
    for (std::size_t b = 0, e; b < s.size(); b = e + 1) {
        e = std::min(s.find('\n', b), s.size());
        v.push_back(s.substr(b, e - b));
    }
    return v;
}

std::string many_lines(int n) {
    std::string in;
    for (int i = 0; i < n; ++i) in += "XX0000000012+05\n";
    return in;
}

// ---------------------------------------------------------------------------

TEST(CliStreams, FailedWritesAreReportedOnce) {
    struct {
        char const* line;
        char const* err;
    } const cases[] = {
        {"BATCH >/dev/full", "writing the output failed: No space left on device"},
        {"L format pal 1 >/dev/full", "writing the output failed: No space left on device"},
        {"L --json types >/dev/full", "writing the output failed"},
        {"L --help >/dev/full", "writing the output failed"},
        {"BATCH >&-", "standard output is closed"},
        {"L format pal 1 >&-", "standard output is closed"},
    };
    for (auto const& c : cases) {
        Shell const r = sh(c.line, many_lines(100000));
        EXPECT_EQ(r.status, 1) << c.line << ": " << r.err;
        EXPECT_TRUE(has(r.err, c.err)) << c.line << ": " << r.err;
        EXPECT_EQ(lines(r.err).size(), 1u) << c.line << ": " << r.err;
    }
}

TEST(CliStreams, BrokenPipe) {
    // With SIGPIPE ignored the write fails with EPIPE: one message, status 1.
    Shell r = sh("trap \"\" PIPE; (BATCH; echo $? >&2) | head -1", many_lines(200000));
    EXPECT_EQ(r.out, "00:00:08;06\n");
    EXPECT_TRUE(has(r.err, "writing the output failed: Broken pipe")) << r.err;
    EXPECT_TRUE(has(r.err, "\n1\n")) << r.err;
    // With SIGPIPE as it comes, `| head -1` stays quiet.
    r = sh("BATCH | head -1", many_lines(200000));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "00:00:08;06\n");
    EXPECT_EQ(r.err, "");
}

TEST(CliStreams, OddBytesNeverPassSilently) {
    std::string in("XX0000000012+05\0garbage\n\0\n\xEF\xBB\xBFXX0000000012+05\n", 44);
    Shell r = sh("BATCH", std::string("\xEF\xBB\xBF") + in);
    EXPECT_EQ(r.status, 1);
    std::vector<std::string> const l = lines(r.out);
    ASSERT_EQ(l.size(), 3u) << r.out;
    EXPECT_TRUE(has(l[0], "error: line 1: the line holds a NUL byte")) << l[0];
    EXPECT_TRUE(has(l[1], "error: line 2: the line holds a NUL byte")) << l[1];
    EXPECT_TRUE(has(l[2], "error: line 3")) << l[2];  // a mark inside the input is no mark
    // A byte-order mark before the first line is skipped.
    r = sh("BATCH", "\xEF\xBB\xBFXX0000000012+05\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "00:00:08;06\n");
}

TEST(CliStreams, JsonLinesStayValidUtf8AndSayWhichLine) {
    std::string const in =
        "XX0000000012+05\n\xFF\xFE\n# caf\xC3\xA9\n\xC3\x28\n\xED\xA0\x80\nXX00\xF0\x9F\x8E\xAC\n\x01\"\\\n";
    Shell const r = sh("BATCH --json", in);
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
    Shell const p = sh(std::string("L --json parse pal 01:00:00:00 \"\xFF\""));
    EXPECT_EQ(p.status, 1);
    EXPECT_TRUE(json::accept(p.out)) << p.out;
}

TEST(CliStreams, InputsThatCannotBeReadSayWhy) {
    struct {
        char const* line;
        int status;
        char const* err;
    } const cases[] = {
        {"BATCH /nonexistent/reel.txt", 1, "cannot open '/nonexistent/reel.txt': No such file or directory"},
        {"BATCH /", 1, "cannot read '/': it is a directory"},
        {"BATCH <&-", 1, "cannot read standard input: it is closed"},
        {"BATCH - <&-", 1, "cannot read standard input: it is closed"},
    };
    for (auto const& c : cases) {
        Shell const r = sh(c.line);
        EXPECT_EQ(r.status, c.status) << c.line << ": " << r.err;
        EXPECT_TRUE(has(r.err, c.err)) << c.line << ": " << r.err;
    }
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
// In process: a reader that fails after its text, and a writer that has
// no room.

struct Faulty {
    std::string text;
    std::size_t at = 0;
    int error = EIO;
};

ssize_t faulty_read(void* c, char* buf, std::size_t n) {
    Faulty& f = *static_cast<Faulty*>(c);
    if (f.at == f.text.size()) {
        errno = f.error;
        return -1;
    }
    std::size_t const k = std::min(n, f.text.size() - f.at);
    std::memcpy(buf, f.text.data() + f.at, k);
    f.at += k;
    return static_cast<ssize_t>(k);
}

struct InProcess : testing::Test {
    std::unique_ptr<cli::ConversionSetup> setup;
    void SetUp() override {
        cli::TranslationOptions tr;
        tr.transfer = "pull23";
        setup = cli::make_conversion("keycode_35", "ntsc_drop", tr);
    }
};

TEST_F(InProcess, AReadErrorMidStreamIsOneJsonLinesRecord) {
    Faulty in{many_lines(65536)};
    FILE* r = fopencookie(&in, "r", cookie_io_functions_t{faulty_read, nullptr, nullptr, nullptr});
    char* text = nullptr;
    std::size_t size = 0;
    FILE* w = open_memstream(&text, &size);
    cli::BatchCount n;
    {
        cli::Output out(w);
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
    for (std::size_t i = 0; i < l.size(); i += 4099) EXPECT_TRUE(json::accept(l[i])) << l[i];
    EXPECT_EQ(json::parse(l.back()),
              json({{"error", "reading the input failed after line 65536: Input/output error"}}));
}

TEST_F(InProcess, AWriteErrorStopsTheStreamAndIsReported) {
    Faulty in{many_lines(100000)};
    in.error = 0;  // the end of the text reads as the end of the input
    FILE* r = fopencookie(&in, "r", cookie_io_functions_t{faulty_read, nullptr, nullptr, nullptr});
    FILE* w = std::fopen("/dev/full", "w");
    ASSERT_TRUE(w);
    cli::Output out(w);
    cli::BatchCount const n = cli::convert_stream(*setup->conv, r, out, {});
    std::fclose(r);
    EXPECT_TRUE(out.failed());
    EXPECT_LT(n.lines, 100000);  // stopped at the first failed write
    testing::internal::CaptureStderr();
    EXPECT_FALSE(out.close());
    EXPECT_FALSE(out.close());  // reported once
    std::string const err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "labels: error: writing the output failed: No space left on device\n");
    EXPECT_EQ(out.status, cli::exit_failed);
}

}  // namespace
