// End-to-end tests of the `labels` command: the real binary is run through
// the shell and its standard output, standard error and exit status are
// checked. Expected values are worked by hand from the label, pulldown and
// translation rules (film frame n of a 2:3 transfer at phase p starts at
// field pull23_derivative[2p][n mod 4] + 10 (n div 4); a 29.97 video frame
// holds fields 2j and 2j+1; drop-frame timecode skips frame numbers 00 and
// 01 at the start of every minute but each tenth).
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using nlohmann::json;

struct Result {
    std::string out, err;
    int status = -1;
};

std::string quote(std::string const& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string read_file(std::string const& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

// Runs the labels binary with the arguments (each passed as one word) and
// the given standard input.
Result run(std::vector<std::string> const& args, std::string const& input = "") {
    static int counter = 0;
    std::string const base = testing::TempDir() + "labels_cli_" + std::to_string(::getpid()) + "_" + std::to_string(++counter);
    std::string const in = base + ".in", err = base + ".err";
    {
        std::ofstream f(in, std::ios::binary);
        f << input;
    }
    std::string cmd = quote(LABELS_BIN);
    for (std::string const& a : args) cmd += " " + quote(a);
    cmd += " <" + quote(in) + " 2>" + quote(err);
    Result r;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return r;
    char buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
    int const st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    r.err = read_file(err);
    std::remove(in.c_str());
    std::remove(err.c_str());
    return r;
}

std::vector<std::string> lines(std::string const& s) {
    std::vector<std::string> v;
    std::size_t b = 0;
    while (b < s.size()) {
        std::size_t e = s.find('\n', b);
        if (e == std::string::npos) e = s.size();
        v.push_back(s.substr(b, e - b));
        b = e + 1;
    }
    return v;
}

// Runs and expects success with exactly one line of output.
std::string one(std::vector<std::string> const& args) {
    Result const r = run(args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(lines(r.out).size(), 1u) << r.out;
    return lines(r.out).empty() ? "" : lines(r.out)[0];
}

bool has(std::string const& hay, std::string const& needle) { return hay.find(needle) != std::string::npos; }

// ---------------------------------------------------------------------------

TEST(CliBasics, VersionHelpAndBareCommand) {
    Result r = run({"--version"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "labels (labelsbase) 1.0.0.0\n");

    r = run({"--help"});
    EXPECT_EQ(r.status, 0);
    for (char const* c : {"types", "format", "parse", "convert", "batch", "xlate", "calc", "keep", "Exit status"})
        EXPECT_TRUE(has(r.out, c)) << c;
    EXPECT_EQ(run({}).out, r.out);

    r = run({"help", "convert"});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(has(r.out, "--transfer") && has(r.out, "--phase") && has(r.out, "--project-rate"));
    EXPECT_TRUE(has(r.out, "default 24"));  // the stand-in's project rate
    EXPECT_EQ(run({"convert", "--help"}).out, r.out);
}

struct UsageCase {
    std::vector<std::string> args;
    std::vector<std::string> said;  // in the message
};

TEST(CliBasics, UsageErrorsExitTwoAndSayWhatIsAccepted) {
    std::vector<UsageCase> const cases = {
        {{"format", "pall", "1"}, {"unknown label type 'pall'", "Did you mean", "pal", "labels types"}},
        {{"parse", "keycode", "x"}, {"base class", "keycode_35"}},
        {{"parse", "60", "x"}, {"outside 0..51"}},
        {{"convert", "x", "--from", "pal@flim", "--to", "pal"}, {"unknown medium 'flim'", "film"}},
        {{"xlate", "1", "film", "film", "--project-rate", "23.967"}, {"unknown frame rate", "23.976"}},
        {{"xlate", "1", "film", "film", "--transfer", "pulldwn"}, {"unknown transfer", "pulldown"}},
        {{"xlate", "1", "film", "film", "--output-rate", "film_24"}, {"--output-rate", "video rate"}},
        {{"xlate", "1", "film", "film", "--drop-frame", "maybe"}, {"yes or no"}},
        {{"xlate", "1", "any", "film"}, {"wildcard"}},
        {{"xlate", "one", "film", "film"}, {"not a position"}},
        {{"--config", "50p_timecode_typ=1", "types"}, {"unknown configuration key", "50p_timecode_type"}},
        {{"--config", "50p_timecode_type", "types"}, {"KEY=VALUE"}},
        {{"help", "conver"}, {"no command 'conver'", "convert"}},
        {{"frobnicate"}, {"frobnicate"}},
        {{"format", "pal", "abc"}, {"not a sample number"}},
        {{"format", "pal", "1", "--prefix", "AB"}, {"KeyKode and ink"}},
        {{"format", "keycode_35", "1", "--prefix", "KJ1"}, {"8 characters"}},
        {{"convert", "x", "--from", "pal", "--to", "pal", "--transfer", "pull23", "--phase", "7"}, {"2:3 cycle"}},
        {{"convert", "x", "--from", "pal"}, {"--to"}},
        {{"convert", "x", "--from", "pal", "--to", "pal", "--sync", "01:00:00:00"}, {"SOURCE=TARGET"}},
        {{"batch", "/nonexistent/reel.txt", "--from", "pal", "--to", "pal"}, {"cannot open"}},
        {{"calc", "01:00:00:00", "*", "3f", "--type", "pal"}, {"not + or -"}},
        {{"calc", "01:00:00:00", "+", "4p", "--type", "pal"}, {"counts frames"}},
        {{"keep", "--make", "pal", "01:00:00:00", "--length", "1f", "--end", "01:00:00:05"}, {"not both"}},
        {{"keep", "LABEL_REV:1", "--length", "5f"}, {"go with --make"}},
    };
    for (UsageCase const& c : cases) {
        Result const r = run(c.args);
        std::string const what = c.args[0] + " " + (c.args.size() > 1 ? c.args[1] : "");
        EXPECT_EQ(r.status, 2) << what << ": " << r.err;
        EXPECT_TRUE(r.out.empty()) << what << ": " << r.out;
        for (std::string const& s : c.said) EXPECT_TRUE(has(r.err, s)) << what << ": '" << s << "' not in " << r.err;
    }
}

TEST(CliBasics, JsonUsageErrorIsJsonToo) {
    Result const r = run({"--json", "format", "pall", "1"});
    EXPECT_EQ(r.status, 2);
    json const j = json::parse(r.out);
    EXPECT_TRUE(j["usage"].get<bool>());
    EXPECT_TRUE(has(j["error"].get<std::string>(), "pall"));
}

// ---------------------------------------------------------------------------

TEST(CliTypes, CatalogueInTextAndJson) {
    Result r = run({"types", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    json j = json::parse(r.out);
    ASSERT_EQ(j["types"].size(), 44u);  // every label type with a converter
    json const pal = j["types"][0];
    EXPECT_EQ(pal["label_t"], 5);
    EXPECT_EQ(pal["class"], "pal_label");
    EXPECT_EQ(pal["short"], "pal");
    EXPECT_EQ(pal["edl"], "25f");
    EXPECT_EQ(pal["edl_read"], json::array({"P", "25F"}));
    EXPECT_EQ(pal["category"], "timecode");
    EXPECT_EQ(pal["unit"], "frame");
    EXPECT_EQ(pal["modulus"], 25);
    EXPECT_EQ(pal["samples_per_unit"], 1);
    EXPECT_DOUBLE_EQ(pal["natural_pitch"].get<double>(), 1.0 / 25);
    EXPECT_EQ(pal["template"], "-29.59.59.29");
    for (json const& t : j["types"]) {
        if (t["class"] != "keycode_353_label") continue;
        EXPECT_EQ(t["short"], "keycode_353");
        EXPECT_EQ(t["modulus"], 22);
        EXPECT_EQ(t["samples_per_unit"], 3);
        EXPECT_EQ(t["unit"], "perforation");
        EXPECT_EQ(t["prefix_length"], 8);
    }
    r = run({"types", "--all", "--json"});
    EXPECT_EQ(json::parse(r.out)["types"].size(), 52u);

    r = run({"types"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(lines(r.out).size(), 46u);  // header, 44 rows, note
    EXPECT_TRUE(has(r.out, "ntsc_drop_label") && has(r.out, "30f-drop"));
}

TEST(CliTypes, EveryNameOfATypeReadsTheSameType) {
    for (char const* n : {"pal", "pal_label", "PAL_LABEL", "pal_label_t", "P", "p", "25F", "25f", "5"})
        EXPECT_EQ(one({"format", n, "90000"}), "01:00:00.00") << n;
    for (char const* n : {"ntsc_drop", "ND", "nd", "30f-drop", "30F-DROP", "7"})
        EXPECT_EQ(one({"format", n, "1800"}), "00:01:00;02") << n;
    for (char const* n : {"tc_12", "P12", "12f"}) EXPECT_EQ(one({"format", n, "13"}), "00:00:01.01") << n;
    for (char const* n : {"F35", "f35", "keycode_35", "10"}) EXPECT_EQ(one({"format", n, "788"}), "XX0000000012+05") << n;
    // The EDL reader takes only the first word; the command wants the whole name.
    EXPECT_EQ(run({"format", "P foo", "1"}).status, 2);
}

TEST(CliTypes, MediaAndRates) {
    Result r = run({"media", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    json j = json::parse(r.out)["media"];
    EXPECT_EQ(j.size(), 68u);  // 0..70 but 5, 6 and 9
    for (json const& m : j) {
        if (m["medium"] == 24) {
            EXPECT_EQ(m["name"], "source_30i_1001");
            EXPECT_EQ(m["side"], "source");
            EXPECT_EQ(m["scan"], "interlaced");
            EXPECT_EQ(m["rate"], "29.97");
            EXPECT_EQ(m["default_label_type"], "ntsc_label");
            EXPECT_EQ(m["shown_as"], "30i");
        }
        if (m["medium"] == 2) {
            EXPECT_EQ(m["name"], "film");
            EXPECT_EQ(m["side"], "special");
        }
    }
    r = run({"rates", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    j = json::parse(r.out)["rates"];
    EXPECT_EQ(j.size(), 47u);
    EXPECT_EQ(j[4]["name"], "29.97");
    EXPECT_TRUE(j[4]["has_1001"].get<bool>());
    EXPECT_EQ(j[4]["source_medium"], "source_30p_1001");
    EXPECT_EQ(j[4]["output_medium"], "output_30p_1001");
    EXPECT_EQ(j[31]["name"], "film_at_25");
    EXPECT_FALSE(j[31].contains("source_medium"));
}

// ---------------------------------------------------------------------------

struct Sample {
    char const* type;
    int sample;
    char const* text;  // as printed, without the blank sign column
};

TEST(CliFormatParse, WorkedTextsPrintAndReadBack) {
    std::vector<Sample> const cases = {
        {"pal", 90000, "01:00:00.00"},       {"pal", 2159999, "23:59:59.24"},
        {"pal", -1, "-00:00:00.01"},         {"tc_24", 24, "00:00:01+00"},
        {"ntsc_drop", 1799, "00:00:59;29"},  {"ntsc_drop", 1800, "00:01:00;02"},
        {"ntsc_drop", 17982, "00:10:00;00"}, {"ntsc_drop", 107892, "01:00:00;00"},
        {"ntsc_drop", 2589407, "23:59:59;29"}, {"tc_120", 119, "00:00:00.119"},
        {"keycode_35", 788, "XX0000000012+05"}, {"keycode_16", 245, "XX0000000012&05"},
        {"keycode_353", 62, "XX0000000001+00.3"}, {"ink_35", 788, "XXXX0012+05"},
        {"foot_35", 788, "0012+05"},         {"foot_35", -788, "-0012+05"},
        {"foot_16", 485, "0012+05"},         {"foot_353", 62, "0001+00.3"},
        {"film_frames", 42, "000042"},
    };
    for (Sample const& c : cases) {
        EXPECT_EQ(one({"format", c.type, std::to_string(c.sample)}), c.text) << c.type << " " << c.sample;
        EXPECT_EQ(one({"parse", c.type, c.text}), std::to_string(c.sample)) << c.type << " " << c.text;
    }
}

TEST(CliFormatParse, ManyArgumentsAndPrefixes) {
    Result r = run({"format", "keycode_35", "0", "788", "639999", "--prefix", "KJ231234"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "KJ2312340000+00\nKJ2312340012+05\nKJ2312349999+15\n");
    // KeyKode as printed on film, with spaces, and without a frame.
    r = run({"parse", "F35", "KJ 23 1234 0012+05", "XX0000000012", "XX0000000012 +05"});
    EXPECT_EQ(r.out, "788\n768\n788\n");
    EXPECT_EQ(one({"parse", "ink_35", "ABCD 1234+05"}), "78996");
}

TEST(CliFormatParse, FailuresNameTheTypeAndItsForm) {
    Result r = run({"parse", "pal", "10:00"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.empty());
    EXPECT_TRUE(has(r.err, "cannot read '10:00' as pal_label"));
    EXPECT_TRUE(has(r.err, "-29.59.59.29"));
    EXPECT_TRUE(has(r.err, "e.g. '00:00:12.05'"));

    // The good texts are still read, in order.
    r = run({"parse", "pal", "01:00:00:00", "bad", "00:00:01:00"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "90000\n25\n");
    EXPECT_TRUE(has(r.err, "'bad'"));

    for (char const* t : {"XX0000000012+16", "XX0000000012+123"}) {
        r = run({"parse", "keycode_35", t});
        EXPECT_EQ(r.status, 1) << t;
        EXPECT_TRUE(has(r.err, "????????9999+19")) << r.err;
    }
    EXPECT_EQ(one({"parse", "keycode_16", "XX0000000012+16"}), "256");
    // The converters read a count that is no number as 0; the command does not.
    for (auto const& c : std::vector<std::pair<char const*, char const*>>{
             {"keycode_35", "nonsense"}, {"keycode_35", "KJ231234ABCD+05"}, {"ink_35", "nonsense"},
             {"foot_35", "abc"}, {"pal", "noon"}, {"film_frames", "x"}}) {
        r = run({"parse", c.first, c.second});
        EXPECT_EQ(r.status, 1) << c.first << " " << c.second << ": " << r.out;
        EXPECT_TRUE(has(r.err, std::string("cannot read '") + c.second + "'")) << r.err;
    }
}

TEST(CliFormatParse, SpecialSamples) {
    Result r = run({"format", "pal", "-100000000"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "???.??.??.??\n");
    EXPECT_TRUE(has(r.err, "invalid sample"));
    EXPECT_EQ(one({"format", "pal", "100000001"}), ">>>.>>.>>.>>");
    EXPECT_EQ(one({"format", "pal", "100000002"}), "<<<.<<.<<.<<");
    r = run({"format", "keycode_35", "-64"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "NEGATIVE\n");
    EXPECT_TRUE(has(r.err, "before count 0"));
    // Printed, but past the count digits or more than a day before zero.
    for (auto const& c : std::vector<std::pair<char const*, char const*>>{
             {"keycode_35", "2147483647"}, {"ink_35", "1280000"}, {"pal", "-2160001"}}) {
        r = run({"format", c.first, c.second});
        EXPECT_EQ(r.status, 1) << c.first << " " << c.second << ": " << r.out;
        EXPECT_TRUE(has(r.err, "outside what the type can write")) << r.err;
    }
    EXPECT_EQ(one({"format", "pal", "-2160000"}), "-00:00:00.00");  // minus one day
    EXPECT_EQ(one({"format", "keycode_35", "1279999"}), "XX0000009999+15");  // one wrap
}

TEST(CliFormatParse, JsonShape) {
    Result r = run({"--json", "format", "pal", "90000", "100000001"});
    ASSERT_EQ(r.status, 0);
    json j = json::parse(r.out);
    EXPECT_EQ(j["type"], "pal_label");
    EXPECT_EQ(j["results"][0], (json{{"sample", 90000}, {"text", " 01:00:00.00"}}));
    EXPECT_EQ(j["results"][1]["special"], "past_end");

    r = run({"parse", "F35", "KJ 23 1234 0012+05", "nonsense", "--json"});
    EXPECT_EQ(r.status, 1);
    j = json::parse(r.out);
    EXPECT_EQ(j["results"][0]["sample"], 788);
    EXPECT_EQ(j["results"][0]["prefix"], "KJ231234");
    EXPECT_EQ(j["results"][0]["frame"], 197);
    EXPECT_EQ(j["results"][0]["perforation"], 0);
    EXPECT_EQ(j["results"][0]["text"], "KJ2312340012+05");
    EXPECT_EQ(j["results"][1]["input"], "nonsense");
    EXPECT_TRUE(has(j["results"][1]["error"].get<std::string>(), "keycode_35_label"));
}

TEST(CliFormatParse, ConfigurationReachesTheConverters) {
    EXPECT_EQ(one({"format", "tc_50", "50"}), "00:00:01.00");
    EXPECT_EQ(one({"--config", "50p_timecode_type=3", "format", "tc_50", "50"}), "00:00:02.00");
    // Half-rate frames: the odd sample of a pair is marked with ':'.
    EXPECT_EQ(one({"format", "tc_50", "51", "--config", "50p_timecode_type=2"}), "00:00:01:00");
    EXPECT_EQ(one({"format", "tc_60", "60", "--config", "60p_timecode_type=3"}), "00:00:02.00");
}

// ---------------------------------------------------------------------------

struct PulldownCase {
    char const* keykode;
    int phase;
    char const* timecode;
};

TEST(CliConvert, KeyKodeThroughTwoThreePulldownToDropFrame) {
    // Film frame 3 starts at field 7, 8, 8, 6, 7 at phases 0..4: video frame 3, 4, 4, 3, 3.
    // Film frame 1500 (62.5 s) starts at field 3750 + (0, 0, 1, -1, -1).
    // Film frame 0 at phase 3 starts in the last field before the material:
    // frame -1, which drop-frame timecode shows as the day's last frame.
    std::vector<PulldownCase> const cases = {
        {"XX0000000000+03", 0, "00:00:00;03"}, {"XX0000000000+03", 1, "00:00:00;04"},
        {"XX0000000000+03", 2, "00:00:00;04"}, {"XX0000000000+03", 3, "00:00:00;03"},
        {"XX0000000000+03", 4, "00:00:00;03"}, {"XX0000000012+05", 0, "00:00:08;06"},
        {"XX0000000093+12", 0, "00:01:02;17"}, {"XX0000000093+12", 2, "00:01:02;17"},
        {"XX0000000093+12", 3, "00:01:02;16"}, {"XX0000000000+00", 3, "23:59:59;29"},
    };
    for (PulldownCase const& c : cases)
        EXPECT_EQ(one({"convert", c.keykode, "--from", "keycode_35@film", "--to", "ntsc_drop@source_30i_1001",
                       "--transfer", "pull23", "--phase", std::to_string(c.phase)}),
                  c.timecode)
            << c.keykode << " phase " << c.phase;
    // Left to itself a 24 fps film project takes NTSC video through 2:3
    // pulldown, and the media default to film and NTSC video.
    EXPECT_EQ(one({"convert", "XX0000000012+05", "--from", "F35", "--to", "ND"}), "00:00:08;06");
    // Frame for frame: film frame 197 is video frame 197.
    EXPECT_EQ(one({"convert", "XX0000000012+05", "--from", "F35", "--to", "ND", "--transfer", "frame"}), "00:00:06;17");
}

TEST(CliConvert, TwentyFourFrameTimecodeToTwentyFiveThroughPulldown) {
    // 24-to-25 pulldown at phase p repeats the film frame before video frame 24 - p.
    std::vector<PulldownCase> const cases = {
        {"01:00:00+00", 0, "01:00:00.00"}, {"00:00:00+12", 0, "00:00:00.12"}, {"00:00:00+23", 0, "00:00:00.23"},
        {"00:00:01+00", 0, "00:00:01.00"}, {"00:00:01+12", 0, "00:00:01.12"}, {"00:00:00+18", 5, "00:00:00.18"},
        {"00:00:00+19", 5, "00:00:00.20"},
    };
    for (PulldownCase const& c : cases) {
        std::string const want = c.timecode;
        EXPECT_EQ(one({"convert", c.keykode, "--from", "tc_24@film", "--to", "pal@source_25p", "--transfer", "pogle",
                       "--phase", std::to_string(c.phase)}),
                  want)
            << c.keykode;
        // From 24p video the position goes through film the same way.
        EXPECT_EQ(one({"convert", c.keykode, "--from", "tc_24", "--to", "pal", "--transfer", "pogle", "--phase",
                       std::to_string(c.phase)}),
                  want)
            << c.keykode;
    }
}

TEST(CliConvert, FeetAndKeyKodeOfOneGauge) {
    EXPECT_EQ(one({"convert", "12+05", "--from", "foot_35", "--to", "keycode_35"}), "XX0000000012+05");
    EXPECT_EQ(one({"convert", "12+05", "--from", "foot_35", "--to", "keycode_35", "--prefix", "KJ231234"}),
              "KJ2312340012+05");
    EXPECT_EQ(one({"convert", "KJ2312340012+05", "--from", "keycode_35", "--to", "foot_35"}), "0012+05");
    // 16 mm: 40 frames a foot, 20 a KeyKode interval.
    EXPECT_EQ(one({"convert", "12+05", "--from", "foot_16", "--to", "keycode_16"}), "XX0000000024&05");
    // The prefix goes along between KeyKode types.
    EXPECT_EQ(one({"convert", "KJ2312340012+05", "--from", "keycode_35", "--to", "keycode_35_4"}), "KJ2312340012+05");
    EXPECT_EQ(one({"convert", "KJ2312340012+05", "--from", "keycode_35", "--to", "ink_35"}), "XXXX0012+05");
}

TEST(CliConvert, SyncMarksTheHeadOfTheMaterial) {
    std::vector<std::string> const base = {"--from", "keycode_35", "--to", "ntsc_drop", "--transfer", "pull23",
                                           "--sync", "XX0000000012+00=01:00:00;00"};
    auto with = [&](std::string const& text) {
        std::vector<std::string> a = {"convert", text};
        a.insert(a.end(), base.begin(), base.end());
        return one(a);
    };
    EXPECT_EQ(with("XX0000000012+00"), "01:00:00;00");
    EXPECT_EQ(with("XX0000000012+05"), "01:00:00;06");  // frame 5: field 12
    EXPECT_EQ(with("XX0000000011+15"), "00:59:59;29");  // one frame before the head
}

TEST(CliConvert, NoPositionAndOutOfRangeAreFailures) {
    Result r = run({"convert", "XX0000000012+05", "--from", "keycode_35", "--to", "ntsc_drop", "--project-rate", "25"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.empty());
    EXPECT_TRUE(has(r.err, "no position")) << r.err;
    r = run({"convert", "01:00:00:00", "--from", "pal", "--to", "keycode_35"});
    EXPECT_EQ(r.status, 0) << r.err;
    // Several texts: the bad one fails alone.
    r = run({"convert", "XX0000000012+05", "oops", "XX0000000000+03", "--from", "F35", "--to", "ND"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "00:00:08;06\n00:00:00;03\n");
    EXPECT_TRUE(has(r.err, "cannot read 'oops' as keycode_35_label"));
}

TEST(CliConvert, ExplainAndJson) {
    Result r = run({"convert", "XX0000000012+05", "--from", "F35", "--to", "ND", "--explain"});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(has(r.out, "sample 788")) << r.out;
    EXPECT_TRUE(has(r.out, "sample 246")) << r.out;
    r = run({"--json", "convert", "XX0000000012+05", "nope", "--from", "F35", "--to", "ND"});
    EXPECT_EQ(r.status, 1);
    json const j = json::parse(r.out);
    EXPECT_EQ(j["from"]["type"], "keycode_35_label");
    EXPECT_EQ(j["from"]["medium"], "film");
    EXPECT_DOUBLE_EQ(j["from"]["pitch"].get<double>(), 1.0 / 96);
    EXPECT_EQ(j["to"]["medium"], "source_30i_1001");
    EXPECT_DOUBLE_EQ(j["to"]["pitch"].get<double>(), 1.001 / 30);
    EXPECT_EQ(j["params"]["project_rate"], "24");
    EXPECT_EQ(j["params"]["transfer"], "none");
    json const& ok = j["results"][0];
    EXPECT_EQ(ok["sample"], 788);
    EXPECT_DOUBLE_EQ(ok["position"].get<double>(), 788.0 / 96);
    EXPECT_EQ(ok["target_sample"], 246);
    EXPECT_EQ(ok["text"], " 00:00:08;06");
    EXPECT_TRUE(j["results"][1].contains("error"));
}

// ---------------------------------------------------------------------------

struct CalcCase {
    char const* type;
    std::vector<std::string> expr;
    char const* result;
};

TEST(CliCalc, DurationsOfEveryForm) {
    std::vector<CalcCase> const cases = {
        {"pal", {"01:00:00:00", "+", "100f"}, "01:00:04.00"},
        {"pal", {"00:00:00:00", "-", "1f"}, "23:59:59.24"},
        {"pal", {"01:00:00:00", "+", "2.5s"}, "01:00:02.12"},
        {"pal", {"01:00:00:00", "+", "00:00:10:00", "-", "5f"}, "01:00:09.20"},
        {"ntsc_drop", {"00:59:59;29", "+", "1f"}, "01:00:00;00"},
        {"ntsc_drop", {"00:00:59;29", "+", "1f"}, "00:01:00;02"},
        {"keycode_35", {"KJ2312340012+05", "+", "11f"}, "KJ2312340013+00"},
        {"keycode_35", {"KJ2312340012+05", "+", "4p"}, "KJ2312340012+06"},
        {"keycode_35", {"KJ2312340012+05", "-", "1s"}, "KJ2312340010+13"},
        {"film_frames", {"000100", "-", "000042"}, "000058"},
    };
    for (CalcCase const& c : cases) {
        std::vector<std::string> a = {"calc", "--type", c.type, "--"};
        a.insert(a.end(), c.expr.begin(), c.expr.end());
        EXPECT_EQ(one(a), c.result) << c.type << " " << c.expr[0];
    }
    Result r = run({"calc", "01:00:00:00", "+", "3x", "--type", "pal"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(has(r.err, "a duration is"));
    r = run({"--json", "calc", "01:00:00:00", "+", "100f", "--type", "pal"});
    json const j = json::parse(r.out);
    EXPECT_EQ(j["start"]["sample"], 90000);
    EXPECT_EQ(j["steps"][0]["samples"], 100);
    EXPECT_EQ(j["result"]["text"], " 01:00:04.00");
}

// ---------------------------------------------------------------------------

TEST(CliKeep, MakeWritesTheStoredForm) {
    EXPECT_EQ(one({"keep", "--make", "pal", "01:00:00:00", "--length", "250f"}),
              "LABEL_REV:1 pal_label  01:00:00.00 250 0.0400000000 1");
    EXPECT_EQ(one({"keep", "--make", "pal", "01:00:00:00", "--end", "01:00:10:00", "--medium", "source_25i,1st"}),
              "LABEL_REV:1 pal_label  01:00:00.00 250 0.0400000000 1 MediumRollId 20,2");
    EXPECT_EQ(one({"keep", "--make", "ntsc", "00:00:00:00", "--length", "30f", "--medium", "24", "--unbounded"}),
              "LABEL_REV:1 ntsc_label  00:00:00.00 30 0.0333666667 0 MediumRollId 24,1");
    // Film counts perforations; the stored length and pitch are per frame.
    EXPECT_EQ(one({"keep", "--make", "keycode_35", "KJ 23 1234 0012+05", "--length", "100f"}),
              "LABEL_REV:1 keycode_35_label KJ2312340012+05 100 0.0416666667 1");
}

TEST(CliKeep, ReadDescribesTheLabel) {
    std::string const k = "LABEL_REV:1 pal_label  01:00:00.00 250 0.0400000000 1 MediumRollId 20,2";
    Result r = run({"keep", k, "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    json const j = json::parse(r.out);
    EXPECT_EQ(j["type"], "pal_label");
    EXPECT_EQ(j["start_sample"], 90000);
    EXPECT_EQ(j["start"], " 01:00:00.00");
    EXPECT_EQ(j["length"], 250);
    EXPECT_EQ(j["end"], " 01:00:10.00");
    EXPECT_DOUBLE_EQ(j["pitch"].get<double>(), 0.04);
    EXPECT_TRUE(j["bounded"].get<bool>());
    EXPECT_EQ(j["medium_roll"]["medium"], 20);
    EXPECT_EQ(j["medium_roll"]["medium_name"], "source_25i");
    EXPECT_EQ(j["medium_roll"]["generation_name"], "1st");
    EXPECT_EQ(j["medium_roll"]["shown_as"], "25i,1stGen");
    EXPECT_TRUE(j["valid"].get<bool>());
    EXPECT_EQ(j["rewritten"], k);

    // Unquoted, as separate words; text output.
    r = run({"keep", "LABEL_REV:1", "pal_label", "01:00:00.00", "250", "0.04", "1"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(has(r.out, "pal_label") && has(r.out, "sample 90000") && has(r.out, "250 samples"));
    EXPECT_FALSE(has(r.out, "medium roll"));
}

TEST(CliKeep, BadStoredTextsFail) {
    std::vector<std::pair<std::string, std::string>> const cases = {
        {"hello world", "not a keep string"},
        {"LABEL_REV:3 pal_label 01:00:00.00 250 0.04 1", "revision 3"},
        {"LABEL_REV:1 pal_lable 01:00:00.00 250 0.04 1", "pal_label"},
        {"LABEL_REV:1 pal_label 1:00 250 0.04 1", "-29.59.59.29"},
    };
    for (auto const& c : cases) {
        Result const r = run({"keep", c.first});
        EXPECT_EQ(r.status, 1) << c.first;
        EXPECT_TRUE(has(r.err, c.second)) << r.err;
    }
}

// ---------------------------------------------------------------------------

TEST(CliXlate, RawPositions) {
    auto num = [](std::vector<std::string> const& a) { return std::stod(one(a)); };
    // Film frame 24 starts at field 60 of the 2:3 sequence: 60 / (2 x 29.97) s.
    EXPECT_DOUBLE_EQ(num({"xlate", "1.0", "film", "source_30i_1001", "--transfer", "pull23"}), 60 / (2 * (30 / 1.001)));
    EXPECT_DOUBLE_EQ(num({"xlate", "1.0", "film", "source_25p", "--transfer", "pogle"}), 1.0);
    EXPECT_DOUBLE_EQ(num({"xlate", "-1.0", "film", "source_25p", "--transfer", "frame"}), -0.96);
    EXPECT_DOUBLE_EQ(num({"xlate", "5", "film", "film"}), 5.0);
    EXPECT_DOUBLE_EQ(num({"xlate", "1.0", "2", "19", "--transfer", "2"}), 1.0);  // media and transfer by number

    Result r = run({"xlate", "1e9", "film", "source_25p"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(has(r.err, "beyond what translation counts"));
    r = run({"xlate", "1e99", "film", "source_25p"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(has(r.err, "no position"));
    r = run({"xlate", "1.0", "film", "source_30i_1001", "--project-rate", "25", "--json"});
    EXPECT_EQ(r.status, 1);
    json const j = json::parse(r.out);
    EXPECT_EQ(j["params"]["project_rate"], "25");
    EXPECT_TRUE(j.contains("error"));
}

// ---------------------------------------------------------------------------

std::vector<std::string> const kReelArgs = {"--from", "keycode_35", "--to", "ntsc_drop", "--transfer", "pull23"};

Result batch(std::vector<std::string> extra, std::string const& input) {
    std::vector<std::string> a = {"batch"};
    a.insert(a.end(), kReelArgs.begin(), kReelArgs.end());
    a.insert(a.end(), extra.begin(), extra.end());
    return run(a, input);
}

TEST(CliBatch, GoodAndBadLinesStayInOrder) {
    std::string const in = "XX0000000012+05\nbogus\n\n# a note\r\nXX0000000000+03\r\nXX0000000093+12";
    Result r = batch({}, in);
    EXPECT_EQ(r.status, 1);
    std::vector<std::string> const l = lines(r.out);
    ASSERT_EQ(l.size(), 6u) << r.out;
    EXPECT_EQ(l[0], "00:00:08;06");
    EXPECT_EQ(l[1].rfind("error: line 2: cannot read 'bogus' as keycode_35_label", 0), 0u) << l[1];
    EXPECT_EQ(l[2], "");
    EXPECT_EQ(l[3], "# a note");
    EXPECT_EQ(l[4], "00:00:00;03");
    EXPECT_EQ(l[5], "00:01:02;17");
    EXPECT_TRUE(has(r.err, "1 of 6 lines failed (the first at line 2)")) << r.err;

    r = batch({"--echo"}, "XX0000000012+05\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "XX0000000012+05\t00:00:08;06\n");
}

TEST(CliBatch, JsonLines) {
    Result const r = batch({"--json"}, "XX0000000012+05\nbo\"gus\n");
    EXPECT_EQ(r.status, 1);
    std::vector<std::string> const l = lines(r.out);
    ASSERT_EQ(l.size(), 2u);
    json const a = json::parse(l[0]), b = json::parse(l[1]);
    EXPECT_EQ(a["line"], 1);
    EXPECT_EQ(a["sample"], 788);
    EXPECT_EQ(a["target_sample"], 246);
    EXPECT_EQ(a["text"], " 00:00:08;06");
    EXPECT_EQ(b["line"], 2);
    EXPECT_EQ(b["input"], "bo\"gus");
    EXPECT_TRUE(has(b["error"].get<std::string>(), "bo\"gus"));
}

TEST(CliBatch, TheShippedReel) {
    // Offsets from the head 5678+00 in film frames: 0, 55, 188, 387, 623,
    // 904, 1296, 1803, 2372, 3097; their first fields at phase 0: 0, 137,
    // 470, 967, 1557, 2260, 3240, 4507, 5930, 7742; video frames half that.
    Result const r = run({"batch", std::string(LABELS_SOURCE_DIR) + "/examples/reel.txt", "--from", "keycode_35", "--to",
                       "ntsc_drop", "--transfer", "pull23", "--sync", "KJ 23 1234 5678+00=01:00:00;00"});
    EXPECT_EQ(r.status, 0) << r.err;
    std::vector<std::string> got;
    for (std::string const& l : lines(r.out))
        if (!l.empty() && l[0] != '#') got.push_back(l);
    std::vector<std::string> const want = {"01:00:00;00", "01:00:02;08", "01:00:07;25", "01:00:16;03", "01:00:25;28",
                                           "01:00:37;20", "01:00:54;00", "01:01:15;05", "01:01:38;27", "01:02:09;05"};
    EXPECT_EQ(got, want);
}

TEST(CliBatch, LargeInputStreams) {
    // 200000 KeyKode frames in order; each line is checked against its
    // film frame's video frame, found by the 2:3 rule.
    int const n = 200000;
    std::string in;
    in.reserve(n * 16);
    char buf[32];
    for (int i = 0; i < n; ++i) {
        int const f = i % 160000;
        std::snprintf(buf, sizeof buf, "XX000000%04d+%02d\n", f / 16, f % 16);
        in += buf;
    }
    auto const t0 = std::chrono::steady_clock::now();
    Result const r = batch({"--json"}, in);
    double const secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_EQ(r.status, 0) << r.err;
    std::vector<std::string> const l = lines(r.out);
    ASSERT_EQ(l.size(), static_cast<std::size_t>(n));
    int const first_field[4] = {0, 2, 5, 7};
    for (int i = 0; i < n; i += 997) {
        int const f = i % 160000;
        json const j = json::parse(l[i]);
        ASSERT_EQ(j["line"], i + 1);
        int const video = (first_field[f % 4] + 10 * (f / 4)) / 2;
        ASSERT_EQ(j["target_sample"], video) << l[i];
    }
    // Loose bound: sanitizer and debug builds are slower than release.
    EXPECT_LT(secs, 60.0);
    std::printf("batch: %d lines in %.3f s\n", n, secs);
}

}  // namespace
