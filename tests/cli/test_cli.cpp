// End-to-end tests of the `labels` command: the real binary is run through
// the shell and its standard output, standard error and exit status are
// checked. The values are the library's and are checked there; here each
// command and option path is taken once, with its usage and conversion
// failures. Expected values are worked by hand (film frame n of a 2:3
// transfer at phase p starts at field pull23_derivative[2p][n mod 4] +
// 10 (n div 4); a 29.97 video frame holds fields 2j and 2j+1).
//
// The batch command's streams too: every failure of a read or a write is
// reported once with a non-zero status, odd bytes in the input never pass
// silently, JSON Lines stay one valid record per line, and a program on a
// pipe gets each answer as soon as it sends its line; end to end, and in
// process with a reader that fails on cue.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "cli/cli.h"

namespace {

using nlohmann::json;

// The binary run by the shell: each argument one shell word, the given text
// its standard input; its standard output, standard error and exit status.
using Args = std::vector<std::string>;

struct Result {
    std::string out, err;
    int status = -1;
};

std::string quote(std::string const& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string slurp(std::string const& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool has(std::string const& hay, std::string const& needle) { return hay.find(needle) != std::string::npos; }

// A wanted text: with "..." in it, its pieces in that order somewhere in the
// text; without, the whole text (or, not whole, somewhere in it).
bool matches(std::string const& got, std::string const& want, bool whole = true) {
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

// The parts of s between the separators (empty ones kept or not).
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
Args words(std::string const& line) { return split(line, has(line, "|") ? '|' : ' ', false); }

// Runs a shell command line; its status is the shell's ($?).
Result shell(std::string const& line, std::string const& input = "") {
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

Result run(Args const& args, std::string const& input = "") {
    std::string cmd = quote(LABELS_BIN);
    for (std::string const& a : args) cmd += " " + quote(a);
    return shell(cmd, input);
}
Result run(std::string const& line, std::string const& input = "") { return run(words(line), input); }

// One run of the command: its command line, exit status, standard output
// ("...": not checked), what its standard error holds and its standard input.
struct Case {
    std::string line;
    int status;
    std::string out;
    char const* err = "";
    std::string in = "";
};

void check(std::vector<Case> const& cases) {
    for (Case const& c : cases) {
        Result const r = run(c.line, c.in);
        EXPECT_EQ(r.status, c.status) << c.line << ": " << r.err;
        EXPECT_TRUE(matches(r.out, c.out)) << c.line << ": got '" << r.out << "'";
        EXPECT_TRUE(matches(r.err, c.err, false)) << c.line << ": got '" << r.err << "'";
    }
}

std::string const kKeep = "keep|LABEL_REV:1 pal_label 01:00:00.00 250 0.04 1";
std::string const kPull23 = " --from keycode_35 --to ntsc_drop --transfer pull23";

// ---------------------------------------------------------------------------

TEST(Cli, UsageErrorsExitTwoAndSayWhatIsAccepted) {
    check({
        {"format pall 1", 2, "", "unknown label type 'pall'. Did you mean: pal?...`labels types`"},
        {"format|P foo|1", 2, ""},  // the EDL reader takes the first word; the command the whole name
        {"parse keycode x", 2, "", "base class...keycode_35"},
        {"convert x --from pal@flim --to pal", 2, "", "unknown medium 'flim'. Did you mean: film?"},
        {"convert 1 --from tc_24@23.976 --to pal", 2, "", "unknown medium '23.976'; did you mean source_24p_1001"},
        {"xlate 1 film film --project-rate 23.967", 2, "", "unknown frame rate '23.967'. Did you mean: 23.976"},
        {"xlate 1 film film --transfer pulldwn", 2, "", "unknown transfer 'pulldwn'. Did you mean: pulldown?"},
        {"xlate 1 film film --output-rate film_24", 2, "", "--output-rate...video rate"},
        {"xlate 1 film film --drop-frame maybe", 2, "", "yes or no"},
        {"xlate 1 any film", 2, "", "wildcard"},
        {"xlate one film film", 2, "", "not a position"},
        {"--config 50p_timecode_typ=1 types", 2, "", "unknown configuration key...Did you mean: 50p_timecode_type"},
        {"--config 50p_timecode_type types", 2, "", "KEY=VALUE"},
        {"help conver", 2, "", "no command 'conver'. Did you mean: convert?"},
        {"format pal abc", 2, "", "not a sample number"},
        {"format pal 1 --prefix AB", 2, "", "KeyKode and ink"},
        {"format keycode_35 1 --prefix KJ1", 2, "", "8 characters"},
        {"convert x --from pal --to pal --transfer pull23 --phase 7", 2, "", "2:3 cycle"},
        {"convert x --from pal --to pal --sync 01:00:00:00", 2, "", "SOURCE=TARGET"},
        {"calc 01:00:00:00 * 3f --type pal", 2, "", "not + or -"},
        {"calc 01:00:00:00 + 4p --type pal", 2, "", "counts frames"},
        {"keep --make pal 01:00:00:00 --length 1f --end 01:00:00:05", 2, "", "not both"},
        {"keep LABEL_REV:1 --length 5f", 2, "", "go with --make"},
        // A plain number is a frame rate; a label type number needs its mark.
        {"format 24 0", 0, "00:00:00:00\n"},
        {"format 1001 0", 2, "", "bare number; write #1001, type:1001"},
        {"format #24 0", 0, "XX0000000000&00\n"},
        {"parse #60 x", 2, "", "outside 0..51"},
        {"format #x 0", 2, "", "not a label_t number"},
        // JSON asked for: the error is JSON too.
        {"--json format pall 1", 2, "...\"error\": \"unknown label type 'pall'...\"usage\": true"},
    });
}

TEST(Cli, VersionHelpAndCatalogues) {
    check({
        {"--version", 0, "labels (labelsbase) 1.0.0.0\n"},
        {"--help", 0, "...types...format...parse...convert...batch...xlate...calc...keep...Exit status"},
        {"help convert", 0, "...--project-rate...default 24...--phase...AA BB BC CD DD"},
        {"types", 0,
         "label_t class...\n5       pal_label                pal                  25f          P,25F           "
         "timecode    frame       25      1\n...\n(44 types with a converter"},
        {"--json types", 0, "...\"natural_pitch\": 0.04,\n      \"template\": \"-29.59.59.29\""},
        {"media", 0, "...\n24      source_30i_1001     30i       source  interlaced   29.97    ntsc\n"},
        {"rates", 0,
         "...\n5     29.97       29.970029970029973  1         ntsc        source_30p_1001   output_30p_1001\n..."
         "\n29.97df   30000/1001    yes   2589408     ntsc_drop\n...\n59.94df   60000/1001    yes   5178816     -\n"},
    });
    EXPECT_EQ(run(Args{}).out, run("--help").out);
    EXPECT_EQ(run("convert --help").out, run("help convert").out);
    // Every label type with a converter (with --all, every one), media 0..70
    // but 5, 6 and 9, the rates and the timecode rates.
    for (auto const& [line, key, rows] : {std::tuple{"types --json", "types", 44},
                                          {"types --all --json", "types", 52},
                                          {"media --json", "media", 68},
                                          {"rates --json", "rates", 47},
                                          {"rates --json", "timecode_rates", 20}})
        EXPECT_EQ(json::parse(run(line).out)[key].size(), static_cast<std::size_t>(rows)) << line << ' ' << key;
}

// ---------------------------------------------------------------------------

TEST(Cli, WorkedTextsPrintAndReadBackUnderEveryName) {
    struct {
        char const* names;  // every name reads the same type
        int sample;
        std::string text;  // without the blank sign column
    } const rows[] = {
        {"pal pal_label PAL_LABEL pal_label_t P p 25F 25f #5 label_t:5 type:5 TYPE:5", -1, "-00:00:00.01"},
        {"ntsc_drop ND nd 30f-drop 30F-DROP #7 type:7", 1800, "00:01:00;02"},
        {"tc_12 P12 12f", 13, "00:00:01.01"},
        {"F35 f35 keycode_35 #10 type:10", 788, "XX0000000012+05"},
        {"keycode_353", 62, "XX0000000001+00.3"},
        {"ink_35", 788, "XXXX0012+05"},
        {"foot_35", -788, "-0012+05"},
        {"film_frames", 42, "000042"},
    };
    for (auto const& r : rows)
        for (std::string const& name : words(r.names)) {
            EXPECT_EQ(run(Args{"format", name, "--", std::to_string(r.sample)}).out, r.text + "\n") << name;
            EXPECT_EQ(run(Args{"parse", name, "--", r.text}).out, std::to_string(r.sample) + "\n") << name;
        }
}

TEST(Cli, TextsCalcAndKeep) {
    check({
        // KeyKode and ink as printed on film, with spaces, and KeyKode without
        // a frame, are read; the answers are unspaced.
        {"parse|F35|KJ 23 1234 0012+05|XX0000000012|XX0000000012 +05", 0, "788\n768\n788\n"},
        {"parse|ink_35|ABCD 1234 + 05|ABCD1234+05", 0, "78996\n78996\n"},
        {"calc|ABCD 1234 + 05|+|1f|--type|ink_35", 0, "ABCD1234+06\n"},
        {"keep|--make|ink_35|ABCD 1234+05|--length|1f", 0, "LABEL_REV:1 ink_35_label ABCD1234+05 1 0.0416666667 1\n"},
        // 3-perf texts without their perforation index mean the frame's first.
        {"parse foot_353 0+00 0+00.1 0+00.3 1+00", 0, "0\n0\n-2\n64\n"},
        {"parse keycode_353 XX0000000001+00 XX0000000001+00.1", 0, "64\n64\n"},
        {"calc 0+00 + 64f --type foot_353", 0, "0003+00.1\n"},
        // Texts that do not read: the good ones around them still do. The
        // converters read a count that is no number as 0; the command does not.
        {"parse pal 10:00", 1, "", "cannot read '10:00' as pal_label: expected a text like '01:00:00.00'"},
        {"parse pal 01:00:00:00 bad 00:00:01:00", 1, "90000\n25\n", "'bad'"},
        {"parse keycode_35 nonsense KJ231234ABCD+05", 1, "", "cannot read 'nonsense'...read 'KJ231234ABCD+05'"},
        {"parse ink_35 ABCDxx12+05 ABCD12345XY2+05", 1, "", "cannot read 'ABCDxx12+05'...read 'ABCD12345XY2+05'"},
        {"parse foot_35 x12+05", 1, "", "cannot read 'x12+05'"},
        // Special samples; texts printed past the count digits or more than a
        // day before zero, or that read back as another sample, fail.
        {"format pal -100000000", 1, "???.??.??.??\n", "invalid sample"},
        {"format pal 100000001 100000002", 0, ">>>.>>.>>.>>\n<<<.<<.<<.<<\n"},
        {"format keycode_35 -64", 1, "NEGATIVE\n", "before count 0"},
        {"format keycode_35 2147483647", 1, "...", "outside what the type can write"},
        {"format ink_35 1280000", 1, "...", "outside what the type can write"},
        {"format pal -2160001", 1, "...", "outside what the type can write"},
        {"format pal -2160000", 0, "-00:00:00.00\n"},
        {"format keycode_35 1279999", 0, "XX0000009999+15\n"},  // a day; a wrap
        {"format|ntsc_drop|--|-30", 1, "", "'-00:00:01;00', which reads back as another sample"},
        // Configuration reaches the converters; half-rate frames mark the odd sample of a pair with ':'.
        {"--config 50p_timecode_type=3 format tc_50 50", 0, "00:00:02.00\n"},
        {"format tc_50 51 --config 50p_timecode_type=2", 0, "00:00:01:00\n"},
        // JSON texts carry no blank sign column.
        {"--json format pal 90000 100000001", 0, "...\"text\": \"01:00:00.00\"...\"special\": \"past_end\""},
        {"parse|F35|KJ 23 1234 0012+05|nonsense|--json", 1,
         "...\"prefix\": \"KJ231234\",...\"frame\": 197,...\"perforation\": 0,...\"text\": \"KJ2312340012+05\""
         "...\"input\": \"nonsense\"...keycode_35_label"},
        // Durations of every form.
        {"calc --type pal -- 01:00:00:00 + 2.5s", 0, "01:00:02.12\n"},
        {"calc --type pal -- 01:00:00:00 + 00:00:10:00 - 5f", 0, "01:00:09.20\n"},
        {"calc --type keycode_35 -- KJ2312340012+05 + 4p", 0, "KJ2312340012+06\n"},
        {"calc --type keycode_35 -- KJ2312340012+05 - 1s", 0, "KJ2312340010+13\n"},
        {"calc 01:00:00:00 + 3x --type pal", 1, "", "a duration is"},
        {"--json calc 01:00:00:00 + 100f --type pal", 0, "...\"sample\": 90000...\"samples\": 100...01:00:04.00"},
        // Keep strings made: film counts perforations, the stored length and
        // pitch are per frame; --end is the last frame, inclusive.
        {"keep --make pal 01:00:00:00 --length 250f", 0, "LABEL_REV:1 pal_label  01:00:00.00 250 0.0400000000 1\n"},
        {"keep --make pal 01:00:00:00 --end 01:00:09:24 --medium source_25i,1st", 0,
         "LABEL_REV:1 pal_label  01:00:00.00 250 0.0400000000 1 MediumRollId 20,2\n"},
        {"keep --make pal 01:00:00:00 --end 01:00:00:00", 0, "LABEL_REV:1 pal_label  01:00:00.00 1 0.0400000000 1\n"},
        {"keep --make keycode_35 XX0000000000+00 --end XX0000000000+15", 0,
         "LABEL_REV:1 keycode_35_label XX0000000000+00 16 0.0416666667 1\n"},
        {"keep --make pal 01:00:00:00 --end 00:59:59:23", 1, "", "end before it starts"},
        {"keep --make pal 01:00:00:00 --end 01:00:09:24 --json", 0,
         "...\"length\": 250,...\"end\": \"01:00:10.00\",...\"last\": \"01:00:09.24\""},
        {"keep --make ntsc 00:00:00:00 --length 30f --medium 24 --unbounded", 0,
         "LABEL_REV:1 ntsc_label  00:00:00.00 30 0.0333666667 0 MediumRollId 24,1\n"},
        {"keep|--make|keycode_35|KJ 23 1234 0012+05|--length|100f", 0,
         "LABEL_REV:1 keycode_35_label KJ2312340012+05 100 0.0416666667 1\n"},
        // Keep strings read, unquoted as separate words too, and read completely.
        {"keep LABEL_REV:1 pal_label 01:00:00.00 250 0.04 1", 0, "pal_label...sample 90000...250 samples...yes\n"},
        {kKeep + " MediumRollId 20,2", 0, "...medium roll: 20,2 (source_25i, 1st generation"},
        {"keep|LABEL_REV:1 pal_label  01:00:00.00 250 0.0400000000 1 MediumRollId 20,2|--json", 0,
         "...\"type\": \"pal_label\",...\"start_sample\": 90000,...\"pitch\": 0.04,...\"bounded\": true,"
         "...\"medium\": 20,\n    \"medium_name\": \"source_25i\",...\"generation_name\": \"1st\",\n    "
         "\"shown_as\": \"25i,1stGen\"...\"valid\": true,\n  \"rewritten\": "
         "\"LABEL_REV:1 pal_label  01:00:00.00 250 0.0400000000 1 MediumRollId 20,2\""},
        {"keep|hello world", 1, "", "not a keep string"},
        {"keep|LABEL_REV:3 pal_label 01:00:00.00 250 0.04 1", 1, "", "revision 3"},
        {"keep|LABEL_REV:x pal_label 01:00:00.00 250 0.04 1", 1, "", "no revision number"},
        {"keep|LABEL_REV:1 pal_lable 01:00:00.00 250 0.04 1", 1, "", "pal_label"},
        {"keep|LABEL_REV:1 pal_label 1:00 250 0.04 1", 1, "", "like '01:00:00.00'"},
        {"keep|LABEL_REV:1 pal_label", 1, "", "ends before the start text"},
        {"keep|LABEL_REV:1 pal_label 01:00:00.00 x 0.04 1", 1, "", "the length 'x'"},
        {"keep|LABEL_REV:1 pal_label 01:00:00.00 250 pitch 1", 1, "", "the pitch 'pitch'"},
        {"keep|LABEL_REV:1 pal_label 01:00:00.00 250 0.04 2", 1, "", "bounded flag '2'"},
        {kKeep + " MediumRollId", 1, "", "no medium and generation"},
        {kKeep + " MediumRollId 5,1", 1, "", "MEDIUM,GENERATION"},
        {kKeep + " MediumRollId 20,2 extra", 1, "", "'extra' follows"},
        {kKeep + " trailing", 1, "", "'trailing' follows the bounded flag"},
    });
}

// ---------------------------------------------------------------------------

TEST(Cli, ConvertAndXlate) {
    std::string const pull23 = " --from keycode_35@film --to ntsc_drop@source_30i_1001 --transfer pull23 --phase ";
    std::string const synced = kPull23 + " --sync XX0000000012+00=01:00:00;00";
    std::string const frames =
        "convert XX0000000000+00 XX0000000000+01 XX0000000000+02 XX0000000000+03" + kPull23 + " --mark-mixed --phase ";
    check({
        // Film frame 3 starts at field 8 at phase 1: video frame 4. Film frame 0
        // at phase 3 starts in the field before the material: the day's last frame.
        {"convert XX0000000000+03" + pull23 + "1", 0, "00:00:00;04\n"},
        {"convert XX0000000000+00" + pull23 + "3", 0, "23:59:59;29\n"},
        // Phase letters AA BB BC CD DD are the phases 0..4; at phase A film
        // frames C and D start in mixed frames.
        {frames + "A", 0, "00:00:00;00\t\n00:00:00;01\t\n00:00:00;02\tmixed\n00:00:00;03\tmixed\n"},
        {"convert XX0000000000+03" + pull23 + "cd", 0, "00:00:00;03\n"},
        {"convert XX0000000000+03" + pull23 + "E", 2, "", "A, B, BC, CD, D"},
        // 24-to-25 pulldown at phase 5 repeats the film frame before video frame 19,
        // from film and from 24p video through film alike.
        {"convert 00:00:00+19 --from tc_24@film --to pal@source_25p --transfer pogle --phase 5", 0, "00:00:00.20\n"},
        {"convert 00:00:00+19 --from tc_24 --to pal --transfer pogle --phase 5", 0, "00:00:00.20\n"},
        // Left to itself a 24 fps film project takes NTSC video through 2:3
        // pulldown, and the media default to film and NTSC video; the transfer
        // that ran is named.
        {"convert XX0000000012+05 --from F35 --to ND", 0, "00:00:08;06\n", "transfer pull23 (the project's choice)"},
        {"--json convert XX0000000012+05 --from F35 --to ND --transfer pulldown", 0, "...\"transfer_ran\": \"pull23\""},
        {"convert XX0000000012+05 --from F35 --to ND --transfer frame", 0, "00:00:06;17\n"},  // frame 197
        {"convert KJ2312340012+05 --from keycode_35 --to foot_35", 0, "0012+05\n"},
        // The prefix goes along between KeyKode types, not to ink numbers.
        {"convert KJ2312340012+05 --from keycode_35 --to keycode_35_4", 0, "KJ2312340012+05\n"},
        {"convert KJ2312340012+05 --from keycode_35 --to ink_35", 0, "XXXX0012+05\n"},
        // --sync marks the head of the material.
        {"convert XX0000000012+05" + synced, 0, "01:00:00;06\n"},  // frame 5: field 12
        {"convert XX0000000011+15" + synced, 0, "00:59:59;29\n"},  // one frame before the head
        {"convert XX0000000012+05 --from keycode_35 --to ntsc_drop --project-rate 25", 1, "", "no position"},
        // Several texts: the bad one fails alone.
        {"convert XX0000000012+05 oops XX0000000000+03 --from F35 --to ND", 1, "00:00:08;06\n00:00:00;03\n",
         "cannot read 'oops' as keycode_35_label"},
        {"convert XX0000000012+05 --from F35 --to ND --explain", 0, "sample 788...(pull23)...sample 246"},
        {"--json convert XX0000000012+05 nope --from F35 --to ND", 1,
         "...\"type\": \"keycode_35_label\",\n    \"medium\": \"film\",...\"pitch\": 0.01041666666666..."
         "\"medium\": \"source_30i_1001\",...\"pitch\": 0.0333666666666...\"transfer\": \"none\",..."
         "\"project_rate\": \"24\",...\"sample\": 788,\n      \"position\": 8.208333333333...\"target_sample\": "
         "246,...\"input\": \"nope\",\n      \"error\""},
        // Video to video is real time unless a transfer is asked; a film
        // cadence that cannot apply is refused, not run as another.
        {"convert|00:00:00;01|00:00:00;02|--from|ntsc_drop|--to|tc_60@source_60p_1001", 0, "00:00:00.02\n00:00:00.04\n",
         "transfer real_time"},
        {"convert|01:00:00;00|--from|ntsc_drop|--to|pal", 0, "01:00:00.00\n"},
        {"convert|01:00:00;00|--from|ntsc_drop|--to|pal|--transfer|frame", 0, "01:11:55.17\n"},
        {"convert|01:00:00;00|--from|ntsc_drop|--to|pal|--transfer|real_time", 0, "01:00:00.00\n"},
        {"convert|01:00:00;00|--from|ntsc_drop|--to|pal|--transfer|pogle", 2, "", "does not apply...pull23"},
        {"convert|XX0000000012+05|--from|F35|--to|pal|--transfer|pull23", 2, "", "does not apply...pogle"},
        {"convert|XX0000000012+05|--from|F35|--to|ND|--transfer|real_time", 2, "", "not both video"},
        // Between rate names a film transfer counts the 24-frame side's film
        // frames (24000 -> 30000), "default" is a transfer there too, and a
        // running or signed count outside the day is refused, not wrapped.
        {"convert 00:16:40:00 --from 23.976 --to 29.97df --transfer pull23", 0, "00:16:41;00\n"},
        {"convert 01:00:00:00 --from 24 --to 25 --transfer default", 0, "00:57:36:00\n"},
        {"convert 30:00:00:00 --from 24 --to 29.97df --transfer pull23 --running", 1, "", "outside the day"},
        {"convert|-00:00:01:00|--from|24|--to|29.97df|--transfer|pull23|--signed", 1, "", "outside the day"},
        // Raw positions; positions without a finite frame count are refused.
        {"xlate -1.0 film source_25p --transfer frame", 0, "-0.96\n"},
        {"xlate 1.0 2 19 --transfer 2", 0, "1\n"},  // media and transfer by number
        {"xlate 1.0 film source_30i_1001 --project-rate 25 --json", 1, "...\"project_rate\": \"25\"...\"error\""},
        {"xlate 7999999 film film", 0, "7999999\n"},
        {"xlate -8000001 film source_25p", 1, "", "beyond what translation counts"},
        {"xlate 2e99 film source_30i_1001 --transfer pull23", 1, "", "beyond what translation counts...no position"},
        {"xlate nan film source_25p", 2, "", "finite"},
    });
    for (int n = 0; n < 5; ++n)  // the letters A, B, BC, CD, D are the phases 0..4
        EXPECT_EQ(run(frames + std::to_string(n)).out, run(frames + words("A B BC CD D")[n]).out) << n;
}

// ---------------------------------------------------------------------------

TEST(Cli, BatchLinesStayInOrder) {
    std::string const batch = "batch" + kPull23;
    check({
        {batch, 1,
         "00:00:08;06\nerror: line 2: cannot read 'bogus' as keycode_35_label: expected a text like "
         "'XX0000000012+05'\n\n# a note\n00:00:00;03\n00:01:02;17\n",
         "1 of 6 lines failed (the first at line 2)",
         "XX0000000012+05\nbogus\n\n# a note\r\nXX0000000000+03\r\nXX0000000093+12"},
        {batch + " --echo", 0, "XX0000000012+05\t00:00:08;06\n", "", "XX0000000012+05\n"},
        {batch + " --json", 1,
         R"({"line":1,...,"sample":788,"target_sample":246,"text":"00:00:08;06"})"
         "\n{\"line\":2,\"input\":\"bo\\\"gus\",\"error\":\"cannot read 'bo\\\"gus'...\n",
         "", "XX0000000012+05\nbo\"gus\n"},
        // Mixed frames as a JSON field: at phase A film frames C and D.
        {batch + " --mark-mixed --json", 0,
         "...\"mixed\":false}\n...\"mixed\":false}\n...\"mixed\":true}\n...\"mixed\":true}\n", "",
         "XX0000000000+00\nXX0000000000+01\nXX0000000000+02\nXX0000000000+03\n"},
        // By rate: a line that does not read fails alone.
        {"batch --from 29.97df --to 59.94df --echo", 1,
         "00:00:00;02\t00:00:00;04\n00:01:00;00\terror: line 2: cannot read '00:01:00;00' as 29.97df timecode: "
         "00:01:00;00 is not a drop-frame label: frames 00 and 01 are skipped at minute "
         "1\n\n01:00:00;00\t01:00:00;00\n",
         "", "00:00:00;02\n00:01:00;00\n\n01:00:00;00\n"},
        // The shipped reel: film frames from the head 5678+00 are 0, 55, 188,
        // 387, 623, 904, 1296, 1803, 2372, 3097.
        {"batch|" + std::string(LABELS_SOURCE_DIR) +
             "/examples/reel.txt|--from|keycode_35|--to|ntsc_drop|--transfer|pull23|--sync|KJ 23 1234 "
             "5678+00=01:00:00;00",
         0,
         "...\n01:00:00;00\n01:00:02;08\n01:00:07;25\n01:00:16;03\n01:00:25;28\n01:00:37;20\n01:00:54;00\n"
         "01:01:15;05\n01:01:38;27\n01:02:09;05\n"},
    });
}

// ---------------------------------------------------------------------------

TEST(Cli, EveryHelpExampleRunsAsPrintedInAShell) {
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
            Result const r = shell("cd " + quote(LABELS_SOURCE_DIR) + " && PATH=" + quote(path) + ":$PATH sh -c " +
                                   quote(l.substr(2)));
            EXPECT_EQ(r.status, 0) << l << ": " << r.err;
            EXPECT_TRUE(hash == std::string::npos || r.out == l.substr(hash + 4) + "\n") << l << ": got " << r.out;
        }
    EXPECT_GE(examples, 20);
}

TEST(Cli, MessagesShowATextOfTheTypeThatReadsBack) {
    json const types = json::parse(run("types --json").out);
    for (json const& t : types["types"]) {
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

TEST(Cli, LibraryWarningsBecomeOneLineNotes) {
    std::string const k = "keep|LABEL_REV:2 pal_label 01:00:00.00 250 0.04 1";
    Result const r = run(k);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err.rfind("labels: note: the library says: WARNING: Beta labels", 0), 0u) << r.err;
    EXPECT_EQ(lines(r.err).size(), 1u) << r.err;  // one line
    EXPECT_EQ(run(k + "|--quiet").err, "");
    EXPECT_TRUE(has(run(k + "|--json|--quiet").out, "\"notes\": [\n    \"WARNING: Beta labels"));
}

// ---------------------------------------------------------------------------
// `labels edl` on the shipped lists and on one with a fault.

TEST(Cli, EditLists) {
    std::string const ex = std::string(LABELS_SOURCE_DIR) + "/examples/", film = ex + "film_cut.edl";
    std::string const cut = "edl|cutlist|" + film + "|--telecine|" + ex + "film_cut_telecine.csv";
    std::string const bad = testing::TempDir() + "bad.edl", ndf = testing::TempDir() + "ndf.edl";
    std::ofstream(bad) << "TITLE: B\nFCM: DROP FRAME\n001  R1 V C 00:01:00;00 00:01:01;00 00:00:00;00 00:00:01;00\n";
    check({
        {"edl|check|" + film + "|--json", 0,
         "{\n  \"title\": \"NIGHT FERRY REEL 1\",\n  \"fcm\": \"DROP FRAME\",...\"event\": 1,...\"reel\": \"A001\","
         "...\"track\": \"V\",...\"transition\": \"C\",...\"source_in\": \"01:00:10;00\",...\"source_out\": "
         "...\"record_in\": ...\"record_out\": ...\"comments\": [\n        \"* FROM CLIP NAME: A001C003\""
         "...\"event\": 7,...\"problems\": []\n}\n"},
        // A list with a fault: status 1, the problem with its line.
        {"edl|check|" + bad + "|--json", 1,
         "...\"problems\": [\n    {\n      \"line\": 3,\n      \"severity\": \"error\""},
        {"edl|check|" + bad, 1, "...", "bad.edl:3: error: source in '00:01:00;00'"},
        {"edl|check|" + film + "|--rate|31.5", 2, "", "--rate '31.5' is not a rate"},
        {"edl check /no/such/file.edl", 2, "", "cannot open '/no/such/file.edl'"},
        {"edl|convert|" + film + "|--to|25|--transfer|sideways", 2, "", "--transfer 'sideways'"},
        // Relabelled and back, to a file and from it; a new record start.
        {"edl|convert|" + film + "|--to|29.97|-o|" + ndf, 0, ""},
        {"edl|convert|" + ndf + "|--to|29.97df", 0, slurp(film)},
        {"edl|convert|" + film + "|--to|29.97df|--record-start|00:59:58;00", 0,
         "...01:00:10;00 01:00:14;00 00:59:58;00 01:00:02;00"},
        // Warnings of a list the command passes through go to standard error.
        {"edl|convert|" + ex + "edl/cmx_splits.edl|--to|29.97", 0, "...", "line not understood"},
        // The shipped cut list is what the command gives; a reel missing from the log fails it.
        {cut, 0, slurp(ex + "film_cut_cutlist.txt")},
        {cut + "|--csv", 0, "event,reel,camroll,labroll,keykode_in,keykode_out,frames,feet_frames,footage\n..."},
        {"edl|cutlist|" + ex + "edl/cut_23976.edl|--rate|23.976|--telecine|" + ex + "edl/cut_23976_telecine.csv", 1,
         "...", "reel MISSING is not in the telecine log"},
    });
}

// ---------------------------------------------------------------------------
// Timecode by rate: rate names in every TYPE position, strict reading that
// names the field, the two text styles, running and signed counts, and
// conversions by real time, by frame count and through film pulldown. The
// reasons are the library's, checked there; here each reaches the command.

TEST(Cli, TimecodeByRate) {
    check({
        {"format 30/1.001df 1800", 0, "00:01:00;02\n"},
        {"format 29.97DF 0", 0, "00:00:00;00\n"},
        {"format 30df 0", 2, "", "unknown label type"},
        {"format 25 x", 2, "", "not a frame count"},
        {"format 25 2250000 --running", 0, "25:00:00:00\n"},
        {"format 25 -25 --signed", 0, "-00:00:01:00\n"},
        {"format 25 -25 --running", 1, "", "no 25 timecode"},
        {"--json format 59.94df 107892", 0, "...\"rate\": \"59.94df\"...\"style\": \"interchange\"...00:30:00;00"},
        // the two styles
        {"format 25 90013 --style display", 0, "01:00:00.13\n"},
        {"format 59.94df 1 --style display", 2, "", "no label type writes 59.94df"},
        {"format 25 1 --style fancy", 2, "", "display or interchange"},
        {"format keycode_35 1 --style interchange", 2, "", "apply to timecode"},
        // parse: strict; the reasons are the library's
        {"parse 29.97df 00:10:00;00 00:10:00.00 00:10:00,00", 0, "17982\n17982\n17982\n"},
        {"parse 25 25:00:00:00 --running", 0, "2250000\n"},
        {"parse 25 -00:00:01:00 --signed", 0, "-25\n"},
        {"parse 25 -00:00:01:00", 1, "", "negative timecode not allowed"},
        // --strict for label types: the type's own separator is taken too
        {"parse pal 01:00:00.13 01:00:00:13 --strict", 0, "90013\n90013\n"},
        {"parse pal 01:61:00.13 --strict", 1, "", "as pal_label: minutes 61 out of range 0-59"},
        {"parse pal 01:61:00.13", 0, "181513\n"},  // the type's own reading is lenient
        {"parse keycode_35 KJ2312340012+05 --strict", 2, "", "apply to timecode"},
        // calc
        {"calc 00:00:00:00 - 1f --type 25 --signed", 0, "-00:00:00:01\n"},
        {"calc 23:00:00:00 + 02:00:00:00 --type 25 --running", 0, "25:00:00:00\n"},
        {"calc 01:00:00:00 + 100f --type pal --style interchange", 0, "01:00:04:00\n"},
        // convert by real time: the nearest frame start, half-way to the later frame
        {"convert 00:00:00;05 --from 59.94df --to 29.97df", 0, "00:00:00;03\n"},
        {"convert 01:00:00;00 --from 29.97df --to 30", 0, "01:00:00:00\n"},  // 3599.9964 s
        {"convert 01:00:00:00 --from 29.97 --to 30", 0, "01:00:03:18\n"},    // 3603.6 s
        {"--json convert 00:00:00;02 --from 29.97df --to 59.94df", 0,
         "...\"exact\": \"30000/1001\"...\"method\": \"real time\"...\"target_sample\": 4"},
        // by frame count, and from a sync pair
        {"convert 00:00:01;00 --from 29.97df --to 59.94df --transfer frame", 0, "00:00:00;30\n"},
        {"convert 01:00:01:00 --from 25 --to 24 --sync 01:00:00:00=10:00:00:00", 0, "10:00:01:00\n"},
        // through the library: film pulldown, label types at one end
        {"convert 00:00:08;06 --from 29.97df --to keycode_35 --transfer pull23 --phase 0 --prefix KJ231234", 0,
         "KJ2312340012+05\n"},
        {"convert 01:00:00:00 --from 25 --to pal@source_25p", 0, "01:00:00.00\n"},
        // refusals
        {"convert 00:01:00;00 --from 29.97df --to 59.94df", 1, "", "not a drop-frame label"},
        {"convert 00:00:01:00 --from 72 --to keycode_35 --transfer pull23", 2, "", "no label type counts 72"},
        {"convert 00:00:01:00 --from 25 --to keycode_35 --style interchange", 2, "", "timecode target"},
    });
}

// ---------------------------------------------------------------------------
// The batch command's streams.

// Runs a shell command line with `L` standing for the labels binary and
// `BATCH` for a 2:3 batch conversion of KeyKode to drop-frame timecode.
Result sh(std::string line, std::string const& input = "") {
    auto replace = [&](std::string const& what, std::string const& with) {
        for (std::size_t at; (at = line.find(what)) != std::string::npos;) line.replace(at, what.size(), with);
    };
    replace("BATCH", "L batch --from keycode_35 --to ntsc_drop --transfer pull23");
    replace("L ", quote(LABELS_BIN) + " ");
    return shell(line, input);
}

std::string many_lines(int n) {
    std::string in;
    for (int i = 0; i < n; ++i) in += "XX0000000012+05\n";
    return in;
}

// ---------------------------------------------------------------------------

TEST(CliStreams, FailuresOddBytesAndPipesEndToEnd) {
    std::string const many = many_lines(100000);
    struct {
        char const* line;
        std::string input;
        int status;
        char const* out;  // as matches takes it
        char const* err;  // the one message, or none
    } const cases[] = {
        {"BATCH >/dev/full", many, 1, "", "writing the output failed: No space left on device"},
        {"L format pal 1 >/dev/full", "", 1, "", "writing the output failed: No space left on device"},
        {"L --json types >/dev/full", "", 1, "", "writing the output failed"},
        {"L --help >/dev/full", "", 1, "", "writing the output failed"},
        {"BATCH >&-", many, 1, "", "standard output is closed"},
        {"L format pal 1 >&-", "", 1, "", "standard output is closed"},
        // With SIGPIPE ignored the write fails with EPIPE and the command
        // stops, endless input or not; with SIGPIPE as it comes, `| head -1`
        // stays quiet.
        {"trap \"\" PIPE; (yes XX0000000012+05 2>/dev/null | timeout 20 BATCH; echo $? >&2) | head -1", "", 0,
         "00:00:08;06\n", "failed: Broken pipe\n1\n"},
        {"BATCH | head -1", many, 0, "00:00:08;06\n", ""},
        {"BATCH /nonexistent/reel.txt", "", 1, "", "cannot open '/nonexistent/reel.txt': No such file or"},
        {"BATCH /", "", 1, "", "cannot read '/': it is a directory"},
        {"BATCH <&-", "", 1, "", "cannot read standard input: it is closed"},
        {"BATCH - <&-", "", 1, "", "cannot read standard input: it is closed"},
        // A program on a pipe gets each answer before it sends the next line
        // (here it waits for the first before it sends the second); an answer
        // held back until the input ends would hang it until the timeout.
        {"timeout 20 sh -c \"f=\\$(mktemp -u); mkfifo \\$f; { echo XX0000000012+05; read -r a <\\$f; "
         "echo XX0000000000+03; } | BATCH | { read -r x; echo \\$x >\\$f; echo \\$x; cat; }; rm \\$f\"",
         "", 0, "00:00:08;06\n00:00:00;03\n", ""},
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
        EXPECT_TRUE(matches(r.out, c.out)) << c.line << ": " << r.out.substr(0, 200);
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

// ---------------------------------------------------------------------------
TEST(CliStreams, AReadErrorMidStreamIsOneJsonLinesRecord) {
    cli::TranslationOptions tr;
    tr.transfer = "pull23";
    std::unique_ptr<cli::ConversionSetup> const setup = cli::make_conversion("keycode_35", "ntsc_drop", tr);
    // In process, with a reader that fails with EIO after its text.
    std::pair<std::string, std::size_t> in{many_lines(65536), 0};
    auto const faulty_read = [](void* c, char* buf, std::size_t n) -> ssize_t {
        auto& [text, at] = *static_cast<std::pair<std::string, std::size_t>*>(c);
        std::size_t const k = std::min(n, text.size() - at);
        std::memcpy(buf, text.data() + at, k);
        at += k;
        errno = EIO;
        return k ? static_cast<ssize_t>(k) : -1;
    };
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
