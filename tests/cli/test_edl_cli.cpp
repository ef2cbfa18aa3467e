// End-to-end tests of `labels edl`: the commands on the shipped lists, their
// JSON names and exit statuses, and the cut list against `labels convert`
// from the same sync point, event by event.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <labelsbase/edl.h>

#include "run_labels.h"

namespace {

using labels_test::Args;
using labels_test::quote;
using labels_test::Result;
using labels_test::run;
using nlohmann::json;

std::string ex(std::string const& name) { return std::string(LABELS_SOURCE_DIR) + "/examples/" + name; }

std::string slurp(std::string const& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(EdlCli, CheckJsonNamesAndStatuses) {
    Result r = run({"edl", "check", ex("film_cut.edl"), "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    json const j = json::parse(r.out);
    EXPECT_EQ(j["title"], "NIGHT FERRY REEL 1");
    EXPECT_EQ(j["fcm"], "DROP FRAME");
    ASSERT_EQ(j["events"].size(), 8u);
    json const& e = j["events"][0];
    for (char const* k :
         {"event", "reel", "track", "transition", "source_in", "source_out", "record_in", "record_out", "comments"})
        EXPECT_TRUE(e.contains(k)) << k;
    EXPECT_EQ(e["comments"][0], "* FROM CLIP NAME: A001C003");
    EXPECT_TRUE(j["problems"].empty());

    // A list with a fault: status 1, the problem with its line.
    std::string const bad = testing::TempDir() + "bad.edl";
    std::ofstream(bad, std::ios::binary) << "TITLE: B\nFCM: DROP FRAME\n001  R1 V C 00:01:00;00 00:01:01;00 "
                                            "00:00:00;00 00:00:01;00\n";
    r = run({"edl", "check", bad, "--json"});
    EXPECT_EQ(r.status, 1);
    json const p = json::parse(r.out)["problems"];
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0]["line"], 3);
    EXPECT_EQ(p[0]["severity"], "error");
    r = run({"edl", "check", bad});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("bad.edl:3: error: source in '00:01:00;00'"), std::string::npos) << r.err;

    // Usage errors: status 2.
    for (Args const& a : {Args{"edl", "check"}, Args{"edl", "check", ex("film_cut.edl"), "--rate", "31.5"},
                          Args{"edl", "check", "/no/such/file.edl"}, Args{"edl", "convert", ex("film_cut.edl")},
                          Args{"edl", "cutlist", ex("film_cut.edl")},
                          Args{"edl", "convert", ex("film_cut.edl"), "--to", "25", "--transfer", "sideways"}})
        EXPECT_EQ(run(a).status, 2) << a.back();
}

TEST(EdlCli, ConvertRoundTripAndOutputFile) {
    std::string const ndf = testing::TempDir() + "ndf.edl";
    Result r = run({"edl", "convert", ex("film_cut.edl"), "--to", "29.97", "-o", ndf});
    ASSERT_EQ(r.status, 0) << r.err;
    r = run({"edl", "convert", ndf, "--to", "29.97df"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, slurp(ex("film_cut.edl")));
    r = run({"edl", "convert", ex("film_cut.edl"), "--to", "29.97df", "--record-start", "00:59:58;00"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("01:00:10;00 01:00:14;00 00:59:58;00 01:00:02;00"), std::string::npos) << r.out;
    // Lists in other systems' styles pass through unchanged when nothing changes.
    for (char const* f : {"edl/avid_ndf_crlf.edl", "edl/handtyped_bom_tabs.edl", "edl/cmx_splits.edl"}) {
        r = run({"edl", "convert", ex(f), "--to", "29.97"});
        EXPECT_LE(r.status, 1) << f << r.err;
        if (std::string(f) != "edl/cmx_splits.edl") {
            EXPECT_EQ(r.out, slurp(ex(f))) << f;
        }
    }
}

TEST(EdlCli, ShippedCutListIsWhatTheCommandGives) {
    Result const r = run({"edl", "cutlist", ex("film_cut.edl"), "--telecine", ex("film_cut_telecine.csv")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, slurp(ex("film_cut_cutlist.txt")));
    Result const c = run({"edl", "cutlist", ex("film_cut.edl"), "--telecine", ex("film_cut_telecine.csv"), "--csv"});
    EXPECT_EQ(c.out.substr(0, c.out.find('\n')),
              "event,reel,camroll,labroll,keykode_in,keykode_out,frames,feet_frames,footage");
    // A reel missing from the log fails the cut list.
    Result const m = run({"edl", "cutlist", ex("edl/cut_23976.edl"), "--rate", "23.976", "--telecine",
                          ex("edl/cut_23976_telecine.csv")});
    EXPECT_EQ(m.status, 1);
    EXPECT_NE(m.err.find("reel MISSING is not in the telecine log"), std::string::npos) << m.err;
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
