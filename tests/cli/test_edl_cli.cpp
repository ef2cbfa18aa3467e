// End-to-end tests of `labels edl`: the commands on the shipped lists, their
// JSON names and exit statuses, and the cut list against `labels convert`
// from the same sync point, event by event.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include <labelsbase/edl.h>

#include "run_labels.h"

namespace {

using labels_test::Args;
using labels_test::has;
using labels_test::Result;
using labels_test::run;
using labels_test::slurp;
using nlohmann::json;

std::string ex(std::string const& name) { return std::string(LABELS_SOURCE_DIR) + "/examples/" + name; }

TEST(EdlCli, CommandsOnTheShippedLists) {
    std::string const film = ex("film_cut.edl"), log = ex("film_cut_telecine.csv");
    std::string const bad = testing::TempDir() + "bad.edl", ndf = testing::TempDir() + "ndf.edl";
    std::ofstream(bad) << "TITLE: B\nFCM: DROP FRAME\n001  R1 V C 00:01:00;00 00:01:01;00 00:00:00;00 00:00:01;00\n";
    struct {
        Args args;
        int status;
        std::string out;  // as labels_test::matches takes it
        char const* err;
    } const rows[] = {
        {{"edl", "check", film, "--json"},
         0,
         "{\n  \"title\": \"NIGHT FERRY REEL 1\",\n  \"fcm\": \"DROP FRAME\",...\"event\": 1,...\"reel\": \"A001\","
         "...\"track\": \"V\",...\"transition\": \"C\",...\"source_in\": \"01:00:10;00\",...\"source_out\": "
         "...\"record_in\": ...\"record_out\": ...\"comments\": [\n        \"* FROM CLIP NAME: A001C003\""
         "...\"event\": 7,...\"problems\": []\n}\n",
         ""},
        // A list with a fault: status 1, the problem with its line.
        {{"edl", "check", bad, "--json"},
         1,
         "...\"problems\": [\n    {\n      \"line\": 3,\n      \"severity\": \"error\"",
         ""},
        {{"edl", "check", bad}, 1, "...", "bad.edl:3: error: source in '00:01:00;00'"},
        {{"edl", "check"}, 2, "", "FILE is required"},
        {{"edl", "check", film, "--rate", "31.5"}, 2, "", "--rate '31.5' is not a rate"},
        {{"edl", "check", "/no/such/file.edl"}, 2, "", "cannot open '/no/such/file.edl'"},
        {{"edl", "convert", film}, 2, "", "--to is required"},
        {{"edl", "cutlist", film}, 2, "", "--telecine is required"},
        {{"edl", "convert", film, "--to", "25", "--transfer", "sideways"}, 2, "", "--transfer 'sideways'"},
        // Relabelled and back, to a file and from it; a new record start.
        {{"edl", "convert", film, "--to", "29.97", "-o", ndf}, 0, "", ""},
        {{"edl", "convert", ndf, "--to", "29.97df"}, 0, slurp(film), ""},
        {{"edl", "convert", film, "--to", "29.97df", "--record-start", "00:59:58;00"},
         0,
         "...01:00:10;00 01:00:14;00 00:59:58;00 01:00:02;00",
         ""},
        // Warnings of a list the command passes through go to standard error.
        {{"edl", "convert", ex("edl/cmx_splits.edl"), "--to", "29.97"}, 0, "...", "line not understood"},
        // The shipped cut list is what the command gives; a reel missing from the log fails it.
        {{"edl", "cutlist", film, "--telecine", log}, 0, slurp(ex("film_cut_cutlist.txt")), ""},
        {{"edl", "cutlist", film, "--telecine", log, "--csv"},
         0,
         "event,reel,camroll,labroll,keykode_in,keykode_out,frames,feet_frames,footage\n...",
         ""},
        {{"edl", "cutlist", ex("edl/cut_23976.edl"), "--rate", "23.976", "--telecine",
          ex("edl/cut_23976_telecine.csv")},
         1,
         "...",
         "reel MISSING is not in the telecine log"},
    };
    for (auto const& r : rows) {
        Result const got = run(r.args);
        EXPECT_EQ(got.status, r.status) << r.args[2] << ' ' << r.args.back() << ": " << got.err;
        EXPECT_TRUE(labels_test::matches(got.out, r.out)) << r.args[2] << ' ' << r.args.back() << ": " << got.out;
        EXPECT_TRUE(has(got.err, r.err)) << r.args[2] << ' ' << r.args.back() << ": " << got.err;
    }
}

// The cut list's KeyKode in and out of every plain event against `labels
// convert` of the event's first and last source frame, with the log row as
// sync point.
struct Agreement {
    char const* edl;
    char const* log;
    char const* rate;
    char const* from;  // timecode type and medium of `labels convert`
    char const* transfer;
};

TEST(EdlCli, CutListAgreesWithConvertEventByEvent) {
    Agreement const cases[] = {
        {"film_cut.edl", "film_cut_telecine.csv", "29.97", "ntsc_drop", "pull23"},
        {"edl/pal_cut.edl", "edl/pal_telecine.csv", "25", "pal@source_25p", "pogle"},
        {"edl/cut_23976.edl", "edl/cut_23976_telecine.csv", "23.976", "tc_24@source_24p_1001", "frame"},
    };
    int compared = 0;
    for (Agreement const& a : cases) {
        Result const r = run({"edl", "cutlist", ex(a.edl), "--telecine", ex(a.log), "--rate", a.rate, "--json"});
        ASSERT_LE(r.status, 1) << r.err;
        json const cut = json::parse(r.out);
        edl::Rate rate = timecode_rate_from_name(a.rate);
        edl::List const list = edl::read(slurp(ex(a.edl)), rate);
        rate.drop = list.drop;
        edl::TelecineLog const log = edl::read_telecine_log(slurp(ex(a.log)), rate);
        for (json const& c : cut["events"]) {
            edl::Event const* e = nullptr;
            for (edl::Event const& x : list.events)
                if (list.lines[static_cast<std::size_t>(x.line)].number == c["line"]) e = &x;
            ASSERT_NE(e, nullptr);
            if (!e->motion.empty()) continue;
            edl::LogRow const* row = nullptr;
            for (edl::LogRow const& x : log.rows)
                if (x.reel == e->reel && x.frames <= e->source_in.frames && (!row || x.frames > row->frames)) row = &x;
            ASSERT_NE(row, nullptr);
            std::string const to = label_type_info(row->type).class_name;
            std::string const sync = row->timecode + "=" + row->keykode;
            std::string const last = edl::write_timecode(e->source_out.frames - 1, rate);
            for (auto const& [tc, want] : {std::pair<std::string, json>{e->source_in.text, c["keykode_in"]},
                                           std::pair<std::string, json>{last, c["keykode_out"]}}) {
                Result const v = run({"convert", tc, "--from", a.from, "--to", to.substr(0, to.size() - 6),
                                      "--transfer", a.transfer, "--phase", std::to_string(row->phase), "--sync", sync});
                ASSERT_EQ(v.status, 0) << v.err;
                EXPECT_EQ(v.out, want.get<std::string>() + "\n") << a.edl << " event " << c["event"] << " at " << tc;
                ++compared;
            }
        }
    }
    EXPECT_GE(compared, 16);
}

}  // namespace
