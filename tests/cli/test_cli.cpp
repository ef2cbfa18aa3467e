// End-to-end tests of the `labels` command: the real binary is run through
// the shell and its standard output, standard error and exit status are
// checked. The values are the library's and are checked there; here each
// command and option path is taken once, with every usage and conversion
// failure. Expected values are worked by hand (film frame n of a 2:3
// transfer at phase p starts at field pull23_derivative[2p][n mod 4] +
// 10 (n div 4); a 29.97 video frame holds fields 2j and 2j+1).
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/wait.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <optional>
#include <iterator>
#include <string>
#include <vector>

#include "run_labels.h"

namespace {

using labels_test::Args;
using labels_test::quote;
using labels_test::Result;
using labels_test::run;
using nlohmann::json;

Args split(std::string const& s, char sep, bool keep_empty) {
    Args a;
    for (std::size_t b = 0, e; b < s.size(); b = e + 1) {
        e = std::min(s.find(sep, b), s.size());
        if (keep_empty || e > b) a.push_back(s.substr(b, e - b));
    }
    return a;
}
Args lines(std::string const& s) { return split(s, '\n', true); }
// The words of a command line: split at '|' when it holds one (for words
// with blanks), else at blanks.
Args words(std::string const& line) { return split(line, line.find('|') != std::string::npos ? '|' : ' ', false); }

Result run(std::string const& line, std::string const& input = "") { return run(words(line), input); }

bool has(std::string const& hay, std::string const& needle) { return hay.find(needle) != std::string::npos; }

// One run of the command: its command line, exit status, exact standard
// output (if given) and words its standard error must hold.
struct Case {
    std::string line;
    int status;
    std::optional<std::string> out;
    Args err = {};
};

void check(std::vector<Case> const& cases) {
    for (Case const& c : cases) {
        Result const r = run(c.line);
        EXPECT_EQ(r.status, c.status) << c.line << ' ' << r.err;
        if (c.out) {
            EXPECT_EQ(r.out, *c.out) << c.line;
        }
        for (std::string const& s : c.err) EXPECT_TRUE(has(r.err, s)) << c.line << ": '" << s << "' not in " << r.err;
    }
}

// Every member of want (JSON text) is in got with the same value, objects
// member by member and numbers with a fraction to 12 significant digits.
void expect_members(json const& got, json const& want) {
    for (auto const& m : want.items()) {
        ASSERT_TRUE(got.contains(m.key())) << m.key() << " missing from " << got.dump();
        json const& g = got[m.key()];
        if (m.value().is_object())
            expect_members(g, m.value());
        else if (m.value().is_number_float())
            EXPECT_NEAR(g.get<double>(), m.value().get<double>(), 1e-12 * std::fabs(m.value().get<double>()))
                << m.key();
        else
            EXPECT_EQ(g, m.value()) << m.key() << " in " << got.dump();
    }
}
void expect_members(json const& got, char const* want) { expect_members(got, json::parse(want)); }

json json_of(std::string const& line, int status) {
    Result const r = run(line);
    EXPECT_EQ(r.status, status) << r.err;
    return json::parse(r.out);
}

// ---------------------------------------------------------------------------

TEST(CliBasics, VersionHelpAndBareCommand) {
    check({{"--version", 0, "labels (labelsbase) 1.0.0.0\n"}});
    Result r = run("--help");
    EXPECT_EQ(r.status, 0);
    for (char const* c : {"types", "format", "parse", "convert", "batch", "xlate", "calc", "keep", "Exit status"})
        EXPECT_TRUE(has(r.out, c)) << c;
    EXPECT_EQ(run(Args{}).out, r.out);
    r = run("help convert");
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(has(r.out, "--transfer") && has(r.out, "--phase") && has(r.out, "--project-rate"));
    EXPECT_TRUE(has(r.out, "default 24"));  // the stand-in's project rate
    EXPECT_EQ(run("convert --help").out, r.out);
}

TEST(CliBasics, UsageErrorsExitTwoAndSayWhatIsAccepted) {
    check({
        {"format pall 1", 2, "", {"unknown label type 'pall'", "Did you mean", "pal", "labels types"}},
        {"format|P foo|1", 2, ""},  // the EDL reader takes the first word; the command the whole name
        {"parse keycode x", 2, "", {"base class", "keycode_35"}},
        {"parse #60 x", 2, "", {"outside 0..51"}},
        {"parse type:60 x", 2, "", {"outside 0..51"}},
        {"parse 1001 x", 2, "", {"bare number", "type:1001"}},  // no rate, and no type without its mark
        {"convert x --from pal@flim --to pal", 2, "", {"unknown medium 'flim'", "film"}},
        {"xlate 1 film film --project-rate 23.967", 2, "", {"unknown frame rate", "23.976"}},
        {"xlate 1 film film --transfer pulldwn", 2, "", {"unknown transfer", "pulldown"}},
        {"xlate 1 film film --output-rate film_24", 2, "", {"--output-rate", "video rate"}},
        {"xlate 1 film film --drop-frame maybe", 2, "", {"yes or no"}},
        {"xlate 1 any film", 2, "", {"wildcard"}},
        {"xlate one film film", 2, "", {"not a position"}},
        {"--config 50p_timecode_typ=1 types", 2, "", {"unknown configuration key", "50p_timecode_type"}},
        {"--config 50p_timecode_type types", 2, "", {"KEY=VALUE"}},
        {"help conver", 2, "", {"no command 'conver'", "convert"}},
        {"frobnicate", 2, "", {"frobnicate"}},
        {"format pal abc", 2, "", {"not a sample number"}},
        {"format pal 1 --prefix AB", 2, "", {"KeyKode and ink"}},
        {"format keycode_35 1 --prefix KJ1", 2, "", {"8 characters"}},
        {"convert x --from pal --to pal --transfer pull23 --phase 7", 2, "", {"2:3 cycle"}},
        {"convert x --from pal", 2, "", {"--to"}},
        {"convert x --from pal --to pal --sync 01:00:00:00", 2, "", {"SOURCE=TARGET"}},

        {"calc 01:00:00:00 * 3f --type pal", 2, "", {"not + or -"}},
        {"calc 01:00:00:00 + 4p --type pal", 2, "", {"counts frames"}},
        {"keep --make pal 01:00:00:00 --length 1f --end 01:00:00:05", 2, "", {"not both"}},
        {"keep LABEL_REV:1 --length 5f", 2, "", {"go with --make"}},
    });
    json const j = json_of("--json format pall 1", 2);  // JSON asked for: the error is JSON too
    EXPECT_TRUE(j["usage"].get<bool>());
    EXPECT_TRUE(has(j["error"].get<std::string>(), "pall"));
}

// ---------------------------------------------------------------------------

TEST(CliTypes, CatalogueMediaAndRates) {
    json j = json_of("types --json", 0);
    ASSERT_EQ(j["types"].size(), 44u);  // every label type with a converter
    expect_members(j["types"][0], R"({"label_t": 5, "class": "pal_label", "short": "pal", "edl": "25f",
        "edl_read": ["P", "25F"], "category": "timecode", "unit": "frame", "modulus": 25, "samples_per_unit": 1,
        "natural_pitch": 0.04, "template": "-29.59.59.29"})");
    EXPECT_EQ(json_of("types --all --json", 0)["types"].size(), 52u);
    Result const r = run("types");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(lines(r.out).size(), 46u);  // header, 44 rows, note
    EXPECT_TRUE(has(r.out, "ntsc_drop_label") && has(r.out, "30f-drop"));

    j = json_of("media --json", 0)["media"];
    EXPECT_EQ(j.size(), 68u);  // 0..70 but 5, 6 and 9
    for (json const& m : j)
        if (m["medium"] == 24)
            expect_members(m, R"({"name": "source_30i_1001", "side": "source", "scan": "interlaced", "rate": "29.97",
                "default_label_type": "ntsc_label", "shown_as": "30i"})");
    j = json_of("rates --json", 0)["rates"];
    EXPECT_EQ(j.size(), 47u);
    expect_members(j[4], R"({"name": "29.97", "has_1001": true, "source_medium": "source_30p_1001",
        "output_medium": "output_30p_1001"})");
}

// ---------------------------------------------------------------------------

TEST(CliFormatParse, WorkedTextsPrintAndReadBack) {
    struct {
        char const* type;
        int sample;
        std::string text;
    } const samples[] = {
        // without the blank sign column
        {"pal", -1, "-00:00:00.01"},    {"ntsc_drop", 1800, "00:01:00;02"}, {"keycode_353", 62, "XX0000000001+00.3"},
        {"ink_35", 788, "XXXX0012+05"}, {"foot_35", -788, "-0012+05"},      {"film_frames", 42, "000042"},
    };
    std::vector<Case> cases;
    for (auto const& c : samples) {
        cases.push_back({std::string("format ") + c.type + " " + std::to_string(c.sample), 0, c.text + "\n"});
        cases.push_back({std::string("parse ") + c.type + " " + c.text, 0, std::to_string(c.sample) + "\n"});
    }
    struct {
        char const* names;
        char const* sample_and_text;
    } const named[] = {
        // every name reads the same type
        {"pal pal_label PAL_LABEL pal_label_t P p 25F 25f #5 label_t:5 type:5 TYPE:5", " 90000|01:00:00.00"},
        {"ntsc_drop ND nd 30f-drop 30F-DROP #7 type:7", " 1800|00:01:00;02"},
        {"tc_12 P12 12f", " 13|00:00:01.01"},
        {"F35 f35 keycode_35 #10 type:10", " 788|XX0000000012+05"},
    };
    for (auto const& n : named) {
        Args const st = words(n.sample_and_text);
        for (std::string const& name : words(n.names)) cases.push_back({"format " + name + st[0], 0, st[1] + "\n"});
    }
    check(cases);
}

TEST(CliFormatParse, ManyTextsPrefixesFailuresAndSpecialSamples) {
    check({
        {"format keycode_35 0 788 639999 --prefix KJ231234", 0, "KJ2312340000+00\nKJ2312340012+05\nKJ2312349999+15\n"},
        // KeyKode as printed on film, with spaces, and without a frame.
        {"parse|F35|KJ 23 1234 0012+05|XX0000000012|XX0000000012 +05", 0, "788\n768\n788\n"},
        {"parse|ink_35|ABCD 1234+05", 0, "78996\n"},
        {"parse pal 10:00", 1, "", {"cannot read '10:00' as pal_label", "like '01:00:00.00'"}},
        {"parse pal 01:00:00:00 bad 00:00:01:00", 1, "90000\n25\n", {"'bad'"}},  // the good ones still read
        {"parse keycode_35 XX0000000012+16", 1, "", {"like 'XX0000000012+05'"}},
        // The converters read a count that is no number as 0; the command does not.
        {"parse keycode_35 nonsense", 1, "", {"cannot read 'nonsense'"}},
        {"parse keycode_35 KJ231234ABCD+05", 1, "", {"cannot read 'KJ231234ABCD+05'"}},
        {"parse ink_35 ABCDxx12+05 ABCD12345XY2+05",
         1,
         "",
         {"cannot read 'ABCDxx12+05'", "cannot read 'ABCD12345XY2+05'"}},
        {"parse foot_35 x12+05", 1, "", {"cannot read 'x12+05'"}},
        {"format pal -100000000", 1, "???.??.??.??\n", {"invalid sample"}},
        {"format pal 100000001", 0, ">>>.>>.>>.>>\n"},
        {"format pal 100000002", 0, "<<<.<<.<<.<<\n"},
        {"format keycode_35 -64", 1, "NEGATIVE\n", {"before count 0"}},
        // Printed, but past the count digits or more than a day before zero.
        {"format keycode_35 2147483647", 1, std::nullopt, {"outside what the type can write"}},
        {"format ink_35 1280000", 1, std::nullopt, {"outside what the type can write"}},
        {"format pal -2160001", 1, std::nullopt, {"outside what the type can write"}},
        {"format pal -2160000", 0, "-00:00:00.00\n"},
        {"format keycode_35 1279999", 0, "XX0000009999+15\n"},  // a day; a wrap
        // Configuration reaches the converters; half-rate frames mark the odd sample of a pair with ':'.
        {"format tc_50 50", 0, "00:00:01.00\n"},
        {"--config 50p_timecode_type=3 format tc_50 50", 0, "00:00:02.00\n"},
        {"format tc_50 51 --config 50p_timecode_type=2", 0, "00:00:01:00\n"},
    });
}

TEST(CliFormatParse, JsonShape) {
    json j = json_of("--json format pal 90000 100000001", 0);
    EXPECT_EQ(j["type"], "pal_label");
    EXPECT_EQ(j["results"][0], (json{{"sample", 90000}, {"text", "01:00:00.00"}}));
    EXPECT_EQ(j["results"][1]["special"], "past_end");
    j = json_of("parse|F35|KJ 23 1234 0012+05|nonsense|--json", 1);
    expect_members(j["results"][0], R"({"sample": 788, "prefix": "KJ231234", "frame": 197, "perforation": 0,
        "text": "KJ2312340012+05"})");
    EXPECT_EQ(j["results"][1]["input"], "nonsense");
    EXPECT_TRUE(has(j["results"][1]["error"].get<std::string>(), "keycode_35_label"));
}

// ---------------------------------------------------------------------------

TEST(CliConvert, TransfersDefaultsPrefixesSyncAndFailures) {
    std::string const pull23 = " --from keycode_35@film --to ntsc_drop@source_30i_1001 --transfer pull23 --phase ";
    std::string const synced = " --from keycode_35 --to ntsc_drop --transfer pull23 --sync XX0000000012+00=01:00:00;00";
    check({
        // Film frame 3 starts at field 8 at phase 1: video frame 4. Film frame 0
        // at phase 3 starts in the field before the material: the day's last frame.
        {"convert XX0000000000+03" + pull23 + "1", 0, "00:00:00;04\n"},
        {"convert XX0000000000+00" + pull23 + "3", 0, "23:59:59;29\n"},
        // 24-to-25 pulldown at phase 5 repeats the film frame before video frame 19,
        // from film and from 24p video through film alike.
        {"convert 00:00:00+19 --from tc_24@film --to pal@source_25p --transfer pogle --phase 5", 0, "00:00:00.20\n"},
        {"convert 00:00:00+19 --from tc_24 --to pal --transfer pogle --phase 5", 0, "00:00:00.20\n"},
        // Left to itself a 24 fps film project takes NTSC video through 2:3
        // pulldown, and the media default to film and NTSC video.
        {"convert XX0000000012+05 --from F35 --to ND", 0, "00:00:08;06\n"},
        {"convert XX0000000012+05 --from F35 --to ND --transfer frame", 0, "00:00:06;17\n"},  // frame 197
        {"convert 01:00:00:00 --from pal --to keycode_35", 0, std::nullopt},
        {"convert 12+05 --from foot_35 --to keycode_35 --prefix KJ231234", 0, "KJ2312340012+05\n"},
        {"convert KJ2312340012+05 --from keycode_35 --to foot_35", 0, "0012+05\n"},
        // The prefix goes along between KeyKode types, not to ink numbers.
        {"convert KJ2312340012+05 --from keycode_35 --to keycode_35_4", 0, "KJ2312340012+05\n"},
        {"convert KJ2312340012+05 --from keycode_35 --to ink_35", 0, "XXXX0012+05\n"},
        // --sync marks the head of the material.
        {"convert XX0000000012+05" + synced, 0, "01:00:00;06\n"},  // frame 5: field 12
        {"convert XX0000000011+15" + synced, 0, "00:59:59;29\n"},  // one frame before the head
        {"convert XX0000000012+05 --from keycode_35 --to ntsc_drop --project-rate 25", 1, "", {"no position"}},
        // Several texts: the bad one fails alone.
        {"convert XX0000000012+05 oops XX0000000000+03 --from F35 --to ND",
         1,
         "00:00:08;06\n00:00:00;03\n",
         {"cannot read 'oops' as keycode_35_label"}},
    });
}

TEST(CliConvert, ExplainAndJson) {
    Result const r = run("convert XX0000000012+05 --from F35 --to ND --explain");
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(has(r.out, "sample 788") && has(r.out, "sample 246")) << r.out;
    json const j = json_of("--json convert XX0000000012+05 nope --from F35 --to ND", 1);
    expect_members(j, R"({"from": {"type": "keycode_35_label", "medium": "film", "pitch": 0.010416666666666667},
        "to": {"medium": "source_30i_1001", "pitch": 0.033366666666666667},
        "params": {"project_rate": "24", "transfer": "none"}})");
    expect_members(j["results"][0], R"({"sample": 788, "position": 8.2083333333333333, "target_sample": 246,
        "text": "00:00:08;06"})");
    EXPECT_TRUE(j["results"][1].contains("error"));
}

// ---------------------------------------------------------------------------

TEST(CliCalc, DurationsOfEveryForm) {
    check({
        {"calc --type pal -- 01:00:00:00 + 2.5s", 0, "01:00:02.12\n"},
        {"calc --type pal -- 01:00:00:00 + 00:00:10:00 - 5f", 0, "01:00:09.20\n"},
        {"calc --type keycode_35 -- KJ2312340012+05 + 4p", 0, "KJ2312340012+06\n"},
        {"calc --type keycode_35 -- KJ2312340012+05 - 1s", 0, "KJ2312340010+13\n"},
        {"calc 01:00:00:00 + 3x --type pal", 1, "", {"a duration is"}},
    });
    json const j = json_of("--json calc 01:00:00:00 + 100f --type pal", 0);
    expect_members(j, R"({"start": {"sample": 90000}, "result": {"text": "01:00:04.00"}})");
    EXPECT_EQ(j["steps"][0]["samples"], 100);
}

// ---------------------------------------------------------------------------

TEST(CliKeep, MakeWritesTheStoredFormAndBadTextsFail) {
    check({
        {"keep --make pal 01:00:00:00 --length 250f", 0, "LABEL_REV:1 pal_label  01:00:00.00 250 0.0400000000 1\n"},
        {"keep --make pal 01:00:00:00 --end 01:00:09:24 --medium source_25i,1st", 0,
         "LABEL_REV:1 pal_label  01:00:00.00 250 0.0400000000 1 MediumRollId 20,2\n"},
        {"keep --make ntsc 00:00:00:00 --length 30f --medium 24 --unbounded", 0,
         "LABEL_REV:1 ntsc_label  00:00:00.00 30 0.0333666667 0 MediumRollId 24,1\n"},
        // Film counts perforations; the stored length and pitch are per frame.
        {"keep|--make|keycode_35|KJ 23 1234 0012+05|--length|100f", 0,
         "LABEL_REV:1 keycode_35_label KJ2312340012+05 100 0.0416666667 1\n"},
        {"keep|hello world", 1, "", {"not a keep string"}},
        {"keep|LABEL_REV:3 pal_label 01:00:00.00 250 0.04 1", 1, "", {"revision 3"}},
        {"keep|LABEL_REV:1 pal_lable 01:00:00.00 250 0.04 1", 1, "", {"pal_label"}},
        {"keep|LABEL_REV:1 pal_label 1:00 250 0.04 1", 1, "", {"like '01:00:00.00'"}},
    });
}

TEST(CliKeep, ReadDescribesTheLabel) {
    std::string const k = "LABEL_REV:1 pal_label  01:00:00.00 250 0.0400000000 1 MediumRollId 20,2";
    json const j = json_of("keep|" + k + "|--json", 0);
    expect_members(j, R"({"type": "pal_label", "start_sample": 90000, "start": "01:00:00.00", "length": 250,
        "end": "01:00:10.00", "last": "01:00:09.24", "pitch": 0.04, "bounded": true, "valid": true, "medium_roll": {"medium": 20,
        "medium_name": "source_25i", "generation_name": "1st", "shown_as": "25i,1stGen"}})");
    EXPECT_EQ(j["rewritten"], k);
    Result const r = run("keep LABEL_REV:1 pal_label 01:00:00.00 250 0.04 1");  // unquoted, as separate words
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(has(r.out, "pal_label") && has(r.out, "sample 90000") && has(r.out, "250 samples"));
    EXPECT_FALSE(has(r.out, "medium roll"));
}

// ---------------------------------------------------------------------------

TEST(CliXlate, RawPositions) {
    check({
        // Film frame 24 starts at field 60 of the 2:3 sequence: 60 / (2 x 29.97) s.
        {"xlate 1.0 film source_30i_1001 --transfer pull23", 0, "1.001\n"},
        {"xlate -1.0 film source_25p --transfer frame", 0, "-0.96\n"},
        {"xlate 5 film film", 0, "5\n"},
        {"xlate 1.0 2 19 --transfer 2", 0, "1\n"},  // media and transfer by number
        {"xlate 1e9 film source_25p", 1, "", {"beyond what translation counts"}},
        {"xlate 1e99 film source_25p", 1, "", {"beyond what translation counts", "no position"}},
    });
    json const j = json_of("xlate 1.0 film source_30i_1001 --project-rate 25 --json", 1);
    EXPECT_EQ(j["params"]["project_rate"], "25");
    EXPECT_TRUE(j.contains("error"));
}

// ---------------------------------------------------------------------------

Result batch(std::string const& extra, std::string const& input) {
    return run("batch --from keycode_35 --to ntsc_drop --transfer pull23" + extra, input);
}

TEST(CliBatch, GoodAndBadLinesStayInOrder) {
    Result r = batch("", "XX0000000012+05\nbogus\n\n# a note\r\nXX0000000000+03\r\nXX0000000093+12");
    EXPECT_EQ(r.status, 1);
    Args l = lines(r.out);
    ASSERT_EQ(l.size(), 6u) << r.out;
    EXPECT_EQ(l[1].rfind("error: line 2: cannot read 'bogus' as keycode_35_label", 0), 0u) << l[1];
    l[1] = "";
    EXPECT_EQ(l, Args({"00:00:08;06", "", "", "# a note", "00:00:00;03", "00:01:02;17"}));
    EXPECT_TRUE(has(r.err, "1 of 6 lines failed (the first at line 2)")) << r.err;
    r = batch(" --echo", "XX0000000012+05\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "XX0000000012+05\t00:00:08;06\n");
    r = batch(" --json", "XX0000000012+05\nbo\"gus\n");
    EXPECT_EQ(r.status, 1);
    l = lines(r.out);
    ASSERT_EQ(l.size(), 2u);
    expect_members(json::parse(l[0]), R"({"line": 1, "sample": 788, "target_sample": 246, "text": "00:00:08;06"})");
    json const b = json::parse(l[1]);
    expect_members(b, R"({"line": 2, "input": "bo\"gus"})");
    EXPECT_TRUE(has(b["error"].get<std::string>(), "bo\"gus"));
}

TEST(CliBatch, TheShippedReel) {
    // Film frames from the head 5678+00: 0, 55, 188, 387, 623, 904, 1296, 1803, 2372, 3097.
    Result const r = run({"batch", std::string(LABELS_SOURCE_DIR) + "/examples/reel.txt", "--from", "keycode_35",
                          "--to", "ntsc_drop", "--transfer", "pull23", "--sync", "KJ 23 1234 5678+00=01:00:00;00"});
    EXPECT_EQ(r.status, 0) << r.err;
    Args got;
    for (std::string const& l : lines(r.out))
        if (!l.empty() && l[0] != '#') got.push_back(l);
    EXPECT_EQ(got, Args({"01:00:00;00", "01:00:02;08", "01:00:07;25", "01:00:16;03", "01:00:25;28", "01:00:37;20",
                         "01:00:54;00", "01:01:15;05", "01:01:38;27", "01:02:09;05"}));
}

TEST(CliBatch, LargeInputStreams) {
    // 200000 KeyKode frames in order; each line is checked against its
    // film frame's video frame, found by the 2:3 rule.
    int const n = 200000;
    std::string in;
    for (int i = 0; i < n; ++i) {
        char buf[32];
        in.append(buf, std::snprintf(buf, sizeof buf, "XX000000%04d+%02d\n", i % 160000 / 16, i % 16));
    }
    auto const t0 = std::chrono::steady_clock::now();
    Result const r = batch(" --json", in);
    double const secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_EQ(r.status, 0) << r.err;
    Args const l = lines(r.out);
    ASSERT_EQ(l.size(), static_cast<std::size_t>(n));
    int const first_field[4] = {0, 2, 5, 7};
    for (int i = 0; i < n; i += 997) {
        int const f = i % 160000;
        json const j = json::parse(l[i]);
        ASSERT_EQ(j["line"], i + 1);
        ASSERT_EQ(j["target_sample"], (first_field[f % 4] + 10 * (f / 4)) / 2) << l[i];
    }
    EXPECT_LT(secs, 60.0);  // loose: sanitizer and debug builds are slower than release
    std::printf("batch: %d lines in %.3f s\n", n, secs);
}

// ---------------------------------------------------------------------------
// Answers that used to be wrong.

namespace more {

TEST(CliAnswers, SpacedKeyKodeAndInkReadAndAnswerUnspaced) {
    check({
        {"calc|KJ 23 1234 5678+00|+|100f|--type|keycode_35", 0, "KJ2312345684+04\n"},
        {"calc|KJ2312345678+00|+|100f|--type|keycode_35", 0, "KJ2312345684+04\n"},
        {"calc|ABCD 1234 + 05|+|1f|--type|ink_35", 0, "ABCD1234+06\n"},
        {"parse|ink_35|ABCD 1234 + 05|ABCD1234+05", 0, "78996\n78996\n"},
        {"keep|--make|ink_35|ABCD 1234+05|--length|1f", 0, "LABEL_REV:1 ink_35_label ABCD1234+05 1 0.0416666667 1\n"},
    });
}

TEST(CliAnswers, KeepEndIsTheLastFrameInclusive) {
    check({
        {"keep --make pal 01:00:00:00 --end 01:00:09:24", 0, "LABEL_REV:1 pal_label  01:00:00.00 250 0.0400000000 1\n"},
        {"keep --make pal 01:00:00:00 --end 01:00:00:00", 0, "LABEL_REV:1 pal_label  01:00:00.00 1 0.0400000000 1\n"},
        {"keep --make keycode_35 XX0000000000+00 --end XX0000000000+15", 0,
         "LABEL_REV:1 keycode_35_label XX0000000000+00 16 0.0416666667 1\n"},
        {"keep --make pal 01:00:00:00 --end 00:59:59:23", 1, "", {"end before it starts"}},
    });
    json const j = json_of("keep --make pal 01:00:00:00 --end 01:00:09:24 --json", 0);
    expect_members(j, R"({"length": 250, "last": "01:00:09.24", "end": "01:00:10.00"})");
}

TEST(CliAnswers, ThreePerfTextsWithoutTheirIndexMeanTheFirstPerforation) {
    check({
        {"parse foot_353 0+00 0+00.1 0+00.3 1+00", 0, "0\n0\n-2\n64\n"},
        {"calc 0+00 + 64f --type foot_353", 0, "0003+00.1\n"},
        {"parse keycode_353 XX0000000001+00 XX0000000001+00.1", 0, "64\n64\n"},
    });
    // Every perforation of three feet: its text without ".N" reads as the
    // same frame's ".1" text, the frame's first perforation.
    Args samples = {"format", "foot_353"};
    for (int s = 0; s < 192; ++s) samples.push_back(std::to_string(s));
    Result const f = run(samples);
    ASSERT_EQ(f.status, 0) << f.err;
    Args bare = {"parse", "foot_353"}, first = {"parse", "foot_353"};
    for (std::string const& t : lines(f.out))
        if (!t.empty()) {
            bare.push_back(t.substr(0, t.find('.')));
            first.push_back(bare.back() + ".1");
        }
    ASSERT_EQ(bare.size(), 194u);
    Result const b = run(bare), one = run(first);
    EXPECT_EQ(b.status, 0) << b.err;
    EXPECT_EQ(b.out, one.out);
}

TEST(CliAnswers, VideoToVideoIsRealTimeUnlessATransferIsAsked) {
    check({
        {"convert|00:00:00;01|00:00:00;02|--from|ntsc_drop|--to|tc_60@source_60p_1001",
         0,
         "00:00:00.02\n00:00:00.04\n",
         {"transfer real_time"}},
        {"convert|01:00:00;00|--from|ntsc_drop|--to|pal", 0, "01:00:00.00\n"},
        {"convert|01:00:00:00|--from|pal|--to|ntsc_drop|--quiet", 0, "01:00:00;00\n"},
        {"convert|01:00:00;00|--from|ntsc_drop|--to|pal|--transfer|frame", 0, "01:11:55.17\n"},
        {"convert|01:00:00;00|--from|ntsc_drop|--to|pal|--transfer|real_time", 0, "01:00:00.00\n"},
        // A film cadence that cannot apply is refused, not run as another.
        {"convert|01:00:00;00|--from|ntsc_drop|--to|pal|--transfer|pogle", 2, "", {"does not apply", "pull23"}},
        {"convert|XX0000000012+05|--from|F35|--to|ND|--transfer|pogle", 2, "", {"does not apply"}},
        {"convert|XX0000000012+05|--from|F35|--to|pal|--transfer|pull23", 2, "", {"does not apply", "pogle"}},
        {"convert|XX0000000012+05|--from|F35|--to|ND|--transfer|real_time", 2, "", {"not both video"}},
    });
    json j = json_of("--json convert 00:00:00;02 --from ntsc_drop --to tc_60@source_60p_1001", 0);
    EXPECT_EQ(j["transfer_ran"], "real_time");
    j = json_of("--json convert XX0000000012+05 --from F35 --to ND", 0);  // the project's 2:3
    EXPECT_EQ(j["transfer_ran"], "pull23");
    j = json_of("--json convert XX0000000012+05 --from F35 --to ND --transfer pulldown", 0);
    EXPECT_EQ(j["transfer_ran"], "pull23");
}

TEST(CliAnswers, PositionsWithoutAFiniteValueAreRefused) {
    check({
        {"xlate 2e99 film source_30i_1001 --transfer pull23", 1, "", {"beyond what translation counts"}},
        {"xlate 1e98 film source_30i_1001 --transfer pull23", 1, "", {"beyond what translation counts"}},
        {"xlate -8000001 film source_25p", 1, "", {"beyond"}},
        {"xlate 7999999 film film", 0, "7999999\n"},
        {"xlate nan film source_25p", 2, "", {"finite"}},
        {"xlate inf film source_25p", 2, "", {"finite"}},
        {"xlate|--|-inf|film|source_25p", 2, "", {"finite"}},
    });
}

TEST(CliAnswers, EveryPrintedTextReadsBackAsItsSample) {
    // Samples either side of zero: a text printed is read back
    // as the same sample (up to the type's period); one that would not is
    // not printed and the sample fails.
    for (char const* type : {"ntsc_drop", "ntsc", "pal", "tc_24", "tc_60", "foot_35", "keycode_35"}) {
        std::string line = "--json|format|" + std::string(type) + "|--";
        for (int s = -2016; s <= 2016; s += 36) line += "|" + std::to_string(s);  // whole 4-perf frames
        Result const f = run(line);
        json const results = json::parse(f.out)["results"];
        Args parse = {"parse", type, "--"};
        std::vector<int> want;
        for (json const& r : results) {
            if (!r.contains("error")) {
                parse.push_back(r["text"]);
                want.push_back(r["sample"]);
            } else if (!r.contains("text")) {
                EXPECT_TRUE(has(r["error"].get<std::string>(), "reads back as another sample")) << r.dump();
            }
        }
        Result const p = run(parse);
        EXPECT_EQ(p.status, 0) << type << p.err;
        Args const back = lines(p.out);
        ASSERT_GE(back.size(), want.size()) << type;
        for (std::size_t k = 0; k < want.size(); ++k)
            EXPECT_EQ(std::stoi(back[k]), want[k]) << type << ' ' << parse[k + 3];
    }
    check({{"format|ntsc_drop|--|-30", 1, "", {"'-00:00:01;00', which reads back as another sample"}},
           {"format|pal|--|-1", 0, "-00:00:00.01\n"}});
}

TEST(CliAnswers, KeepStringsAreReadCompletely) {
    std::string const good = "LABEL_REV:1 pal_label 01:00:00.00 250 0.04 1";
    check({
        {"keep|LABEL_REV:1 pal_label", 1, "", {"ends before the start text"}},
        {"keep|LABEL_REV:1 pal_label 01:00:00.00 250 0.04", 1, "", {"ends before the bounded flag"}},
        {"keep|LABEL_REV:1 pal_label 01:00:00.00 x 0.04 1", 1, "", {"the length 'x'"}},
        {"keep|LABEL_REV:1 pal_label 01:00:00.00 250 pitch 1", 1, "", {"the pitch 'pitch'"}},
        {"keep|LABEL_REV:1 pal_label 01:00:00.00 250 0.04 2", 1, "", {"bounded flag '2'"}},
        {"keep|" + good + " MediumRollId", 1, "", {"no medium and generation"}},
        {"keep|" + good + " MediumRollId 5,1", 1, "", {"MEDIUM,GENERATION"}},
        {"keep|" + good + " MediumRollId 20,2 extra", 1, "", {"'extra' follows"}},
        {"keep|" + good + " trailing", 1, "", {"'trailing' follows the bounded flag"}},
        {"keep|LABEL_REV:x pal_label 01:00:00.00 250 0.04 1", 1, "", {"no revision number"}},
        {"keep|" + good, 0, std::nullopt},
        {"keep|" + good + " MediumRollId 20,2", 0, std::nullopt},
    });
}

// ---------------------------------------------------------------------------
// Friction.

TEST(CliFriction, EveryHelpExampleRunsAsPrintedInAShell) {
    Args texts = {run("--help").out};
    for (char const* c : {"types", "media", "rates", "format", "parse", "calc", "convert", "batch", "xlate", "keep"})
        texts.push_back(run(Args{"help", c}).out);
    std::string const bin = LABELS_BIN;
    std::string const path = bin.substr(0, bin.rfind('/'));
    int examples = 0;
    for (std::string const& text : texts)
        for (std::string const& l : lines(text)) {
            if (l.rfind("  labels ", 0) != 0) continue;
            ++examples;
            std::size_t const hash = l.find("  # ");
            std::string const cmd = l.substr(2, hash == std::string::npos ? std::string::npos : hash - 2);
            std::string const sh = "cd " + quote(LABELS_SOURCE_DIR) + " && PATH=" + quote(path) + ":$PATH " + "sh -c " +
                                   quote(l.substr(2)) + " 2>/dev/null";
            FILE* p = popen(sh.c_str(), "r");
            ASSERT_TRUE(p);
            std::string out;
            char buf[4096];
            for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
            int const st = pclose(p);
            EXPECT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 0) << cmd;
            if (hash != std::string::npos) {
                EXPECT_EQ(out, l.substr(hash + 4) + "\n") << cmd;
            }
        }
    EXPECT_GE(examples, 20);
}

TEST(CliFriction, MessagesShowATextOfTheTypeThatReadsBack) {
    json const types = json_of("types --json", 0)["types"];
    for (json const& t : types) {
        std::string const name = t["short"];
        Result const r = run(Args{"parse", name, "zz"});
        std::size_t const at = r.err.find("like '");
        ASSERT_NE(at, std::string::npos) << r.err;
        std::string const example = r.err.substr(at + 6, r.err.find('\'', at + 6) - at - 6);
        EXPECT_FALSE(has(r.err, "expected the form")) << r.err;
        Result const back = run(Args{"parse", name, example});
        EXPECT_EQ(back.status, 0) << name << " example '" << example << "': " << back.err;
    }
}

TEST(CliFriction, NamesGetSuggestionsAndLabelTypeNumbersAnExplicitForm) {
    check({
        {"convert 1 --from tc_24@23.976 --to pal", 2, "", {"unknown medium '23.976'; did you mean source_24p_1001"}},
        {"convert 1 --from tc_24@source_24p_1000 --to pal", 2, "", {"source_24p_1001"}},
        // A plain number is a frame rate; a label type number needs its mark.
        {"format 24 0", 0, "00:00:00:00\n"},
        {"format 1001 0", 2, "", {"bare number", "#1001", "type:1001"}},
        {"format #24 0", 0, "XX0000000000&00\n"},
        {"format label_t:5 90000", 0, "01:00:00.00\n"},
        {"format label_t:99 0", 2, "", {"outside 0..51"}},
        {"format #x 0", 2, "", {"not a label_t number"}},
    });
}

TEST(CliFriction, PhaseLettersAndMixedFrames) {
    std::string const frames =
        "convert XX0000000000+00 XX0000000000+01 XX0000000000+02 XX0000000000+03 "
        "--from keycode_35 --to ntsc_drop --transfer pull23 --mark-mixed --phase ";
    // AA BB BC CD DD: at phase A film frames C and D start in mixed frames.
    check({
        {frames + "A", 0, "00:00:00;00\t\n00:00:00;01\t\n00:00:00;02\tmixed\n00:00:00;03\tmixed\n"},
        {frames + "0", 0, "00:00:00;00\t\n00:00:00;01\t\n00:00:00;02\tmixed\n00:00:00;03\tmixed\n"},
        {"convert XX0000000000+03 --from keycode_35 --to ntsc_drop --transfer pull23 --phase B", 0, "00:00:00;04\n"},
        {"convert XX0000000000+03 --from keycode_35 --to ntsc_drop --transfer pull23 --phase bc", 0, std::nullopt},
        {"convert XX0000000000+03 --from keycode_35 --to ntsc_drop --transfer pull23 --phase E",
         2,
         "",
         {"A, B, BC, CD, D"}},
    });
    for (char const* p : {"A", "B", "BC", "CD", "D"}) {  // letters are the phases 0..4
        static int n = 0;
        EXPECT_EQ(run(frames + p).out, run(frames + std::to_string(n++)).out) << p;
    }
    // Mixed frames through a batch, as a JSON field: two in every five.
    std::string in;
    for (int f = 0; f < 16; ++f) in += "XX00000000" + std::string(f < 10 ? "00+0" : "00+") + std::to_string(f) + "\n";
    Result const r = run("batch --from keycode_35 --to ntsc_drop --transfer pull23 --mark-mixed --json", in);
    int mixed = 0;
    for (std::string const& l : lines(r.out))
        if (!l.empty()) mixed += json::parse(l)["mixed"].get<bool>();
    EXPECT_EQ(mixed, 8);
    Result const help = run("help convert");
    EXPECT_TRUE(has(help.out, "AA BB BC CD DD"));
}

TEST(CliFriction, LibraryWarningsBecomeOneLineNotes) {
    std::string const k = "keep|LABEL_REV:2 pal_label 01:00:00.00 250 0.04 1";
    Result r = run(k);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err.rfind("labels: note: the library says: WARNING: Beta labels", 0), 0u) << r.err;
    EXPECT_EQ(lines(r.err).size(), 1u) << r.err;  // one line
    r = run(k + "|--quiet");
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(has(json_of(k + "|--json|--quiet", 0)["notes"][0].get<std::string>(), "Beta labels"));
}

}  // namespace more

}  // namespace

// Timecode by rate: rate names in every TYPE position, strict reading that
// names the field, the two text styles, running and signed counts, and
// conversions by real time, by frame count and through film pulldown.
TEST(CliRates, FormatParseAndCalc) {
    check({
        // format: interchange text; worked examples
        {"format 59.94df 107892 215784 35964", 0, "00:30:00;00\n01:00:00;00\n00:10:00;00\n"},
        {"format 29.97df 107892 17982 1800 -1", 0, "01:00:00;00\n00:10:00;00\n00:01:00;02\n23:59:59;29\n"},
        {"format 23.976 86399", 0, "00:59:59:23\n"},
        {"format 120 119", 0, "00:00:00:119\n"},
        {"format 7 1800", 0, "00:04:17:01\n"},
        {"format 30/1.001df 1800", 0, "00:01:00;02\n"},
        {"format 25 2250000 --running", 0, "25:00:00:00\n"},
        {"format 25 2250000", 0, "01:00:00:00\n"},
        {"format 25 -25 --signed", 0, "-00:00:01:00\n"},
        {"format 25 -25 --running", 1, "", {"no 25 timecode"}},
        // the two styles
        {"format pal 90013 --style interchange", 0, "01:00:00:13\n"},
        {"format 25 90013 --style display", 0, "01:00:00.13\n"},
        {"format 24 25 --style display", 0, "00:00:01+01\n"},
        {"format 29.97df 1800 --style display", 0, "00:01:00;02\n"},
        {"format 59.94df 1 --style display", 2, "", {"no label type writes 59.94df"}},
        {"format 25 1 --style fancy", 2, "", {"display or interchange"}},
        {"format keycode_35 1 --style interchange", 2, "", {"apply to timecode"}},
        {"format 25 x", 2, "", {"not a frame count"}},
        {"format 29.97DF 0", 0, "00:00:00;00\n"},
        {"format 30df 0", 2, "", {"unknown label type"}},
        // parse: strict, the reason names the field
        {"parse 29.97df 00:10:00;00 00:10:00.00 00:10:00,00", 0, "17982\n17982\n17982\n"},
        {"parse 59.94df 01:00:00;00", 0, "215784\n"},
        {"parse 25 25:00:00:00 --running", 0, "2250000\n"},
        {"parse 25 -00:00:01:00 --signed", 0, "-25\n"},
        {"parse 29.97df 00:01:00;00",
         1,
         "",
         {"00:01:00;00 is not a drop-frame label: frames 00 and 01 are skipped at minute 1"}},
        {"parse 59.94df 00:01:00;03", 1, "", {"frames 00 to 03 are skipped at minute 1"}},
        {"parse 29.97df 01:61:00;00", 1, "", {"minutes 61 out of range 0-59"}},
        {"parse 25 24:00:00:00", 1, "", {"hours 24 out of range 0-23"}},
        {"parse 25 00:00:60:00", 1, "", {"seconds 60 out of range 0-59"}},
        {"parse 25 00:00:00:25", 1, "", {"frames 25 out of range 0-24"}},
        {"parse 29.97df 00:00:00:00", 1, "", {"drop-frame labels take ';'"}},
        {"parse 25 00:00:00;00", 1, "", {"non-drop labels take ':'"}},
        {"parse 29.97df 01:00:00;00,extra", 1, "", {"after the frames"}},
        {"parse 25 -00:00:01:00", 1, "", {"negative timecode not allowed"}},
        // --strict for label types: the type's own separator is taken too
        {"parse pal 01:00:00.13 01:00:00:13 --strict", 0, "90013\n90013\n"},
        {"parse pal 01:61:00.13 --strict", 1, "", {"as pal_label: minutes 61 out of range 0-59"}},
        {"parse pal 01:61:00.13", 0, "181513\n"},  // the type's own reading is lenient
        {"parse ntsc_drop 00:01:00;00 --strict", 1, "", {"frames 00 and 01 are skipped"}},
        {"parse tc_24 00:00:01+01 --strict", 0, "25\n"},
        {"parse keycode_35 KJ2312340012+05 --strict", 2, "", {"apply to timecode"}},
        // calc
        {"calc 00:59:59;29 + 1f --type 29.97df", 0, "01:00:00;00\n"},
        {"calc 00:00:00:00 - 1f --type 25", 0, "23:59:59:24\n"},
        {"calc 00:00:00:00 - 1f --type 25 --signed", 0, "-00:00:00:01\n"},
        {"calc 23:00:00:00 + 02:00:00:00 --type 25 --running", 0, "25:00:00:00\n"},
        {"calc 00:00:00;00 + 1s --type 59.94df", 0, "00:00:01;00\n"},
        {"calc 01:00:00:00 + 100f --type pal --style interchange", 0, "01:00:04:00\n"},
        {"calc 00:01:00;00 + 1f --type 29.97df", 1, "", {"not a drop-frame label"}},
        {"calc 01:61:00.00 + 1f --type pal --strict", 1, "", {"minutes 61"}},
    });
    json const j = json_of("--json format 59.94df 107892", 0);
    expect_members(j, R"({"rate": "59.94df", "style": "interchange"})");
    EXPECT_EQ(j["results"][0]["text"], "00:30:00;00");
    Result const r = run("rates");
    EXPECT_EQ(r.status, 0);
    for (char const* n : {"23.976 ", "59.94df ", "119.88df ", "239.76 ", "72 ", "30000/1001", "5178816"})
        EXPECT_TRUE(has(r.out, n)) << n;
    json const rates = json_of("--json rates", 0)["timecode_rates"];
    EXPECT_EQ(rates.size(), 20u);
    EXPECT_EQ(rates[4]["name"], "29.97df");
    EXPECT_EQ(rates[4]["frames_per_day"], 2589408);
}

TEST(CliRates, ConvertAndBatch) {
    check({
        // by real time: the nearest frame start, half-way to the later frame
        {"convert 00:00:00;02 --from 29.97df --to 59.94df", 0, "00:00:00;04\n"},
        {"convert 00:00:00;05 --from 59.94df --to 29.97df", 0, "00:00:00;03\n"},
        {"convert 01:00:00:00 --from 24 --to 25", 0, "01:00:00:00\n"},
        {"convert 00:00:00:12 --from 24 --to 25", 0, "00:00:00:13\n"},
        {"convert 01:00:00;00 --from 29.97df --to 30", 0, "01:00:00:00\n"},  // 3599.9964 s
        {"convert 01:00:00:00 --from 29.97 --to 30", 0, "01:00:03:18\n"},    // 3603.6 s
        // by frame count
        {"convert 00:00:01;00 --from 29.97df --to 59.94df --transfer frame", 0, "00:00:00;30\n"},
        {"convert 00:00:01:00 --from 25 --to 24 --transfer frame", 0, "00:00:01:01\n"},
        // with a sync pair: counted from the pair
        {"convert 01:00:01:00 --from 25 --to 24 --sync 01:00:00:00=10:00:00:00", 0, "10:00:01:00\n"},
        // through the library: film pulldown, label types at one end
        {"convert KJ2312340012+05 --from keycode_35 --to 29.97df --transfer pull23 --phase 0", 0, "00:00:08;06\n"},
        {"convert 00:00:08;06 --from 29.97df --to keycode_35 --transfer pull23 --phase 0 --prefix KJ231234", 0,
         "KJ2312340012+05\n"},
        {"convert 01:00:00:00 --from 25 --to pal@source_25p", 0, "01:00:00.00\n"},
        {"convert 01:00:00.00 --from pal --to ntsc --style interchange", 0, std::nullopt},
        {"convert 01:61:00.00 --from pal --to ntsc --strict", 1, "", {"minutes 61 out of range"}},
        // refusals
        {"convert 00:01:00;00 --from 29.97df --to 59.94df", 1, "", {"not a drop-frame label"}},
        {"convert 00:00:01:00 --from 72 --to keycode_35 --transfer pull23", 2, "", {"no label type counts 72"}},
        {"convert 00:00:01:00 --from 25 --to keycode_35 --style interchange", 2, "", {"timecode target"}},
    });
    Result const b = run("batch --from 29.97df --to 59.94df --echo", "00:00:00;02\n00:01:00;00\n\n01:00:00;00\n");
    EXPECT_EQ(b.status, 1);
    EXPECT_EQ(b.out,
              "00:00:00;02\t00:00:00;04\n00:01:00;00\terror: line 2: cannot read '00:01:00;00' as 29.97df "
              "timecode: 00:01:00;00 is not a drop-frame label: frames 00 and 01 are skipped at minute 1\n\n"
              "01:00:00;00\t01:00:00;00\n");
    json const j = json_of("--json convert 00:00:00;02 --from 29.97df --to 59.94df", 0);
    expect_members(j, R"({"method": "real time", "from": {"rate": "29.97df", "exact": "30000/1001"},
                          "to": {"rate": "59.94df"}})");
    EXPECT_EQ(j["results"][0]["target_sample"], 4);
}
