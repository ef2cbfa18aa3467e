// Edit lists: a 10 000-event 29.97 drop-frame list read, checked and matched
// back to KeyKode through its telecine log, the whole job per iteration.
// No public tool does the match back, so the row has no peer; its target is
// well under a second for the list.
#include <cstdio>
#include <string>

#include <benchmark/benchmark.h>

#include <labelsbase/edl.h>

#include "bench.h"

namespace bench {

namespace {

constexpr int kEvents = 10000;
constexpr int kReels = 40;

struct EdlInput {
    std::string list, log;
};

// Cuts of 1 to 6 seconds from 40 reels (one sync point each, phases 0-4),
// one after another on the record, every twentieth a dissolve pair.
EdlInput const& edl_input() {
    static EdlInput const in = [] {
        EdlInput r;
        timecode_rate const df{30, true, true};
        SplitMix64 rng{0x5eed};
        r.list = "TITLE: BENCH\nFCM: DROP FRAME\n\n";
        r.log = "reel,timecode,keykode,phase,camroll\n";
        for (int k = 0; k < kReels; ++k) {
            char line[128];
            std::snprintf(line, sizeof line, "R%03d,%s,KJ23%04d0100+00,%d,CR%03d\n", k,
                          edl::write_timecode(107892L * (k % 20 + 1), df).c_str(), 1000 + k, k % 5, k);
            r.log += line;
        }
        long rec = 107892;
        for (int i = 0; i < kEvents; ++i) {
            int const reel = static_cast<int>(rng.next() % kReels);
            long const src = 107892L * (reel % 20 + 1) + static_cast<long>(rng.next() % 50000);
            long const len = 30 + static_cast<long>(rng.next() % 150);
            char line[160];
            char const* trans = (i % 20 == 19) ? "D    015" : "C       ";
            std::snprintf(line, sizeof line, "%03d  R%03d     V     %s %s %s %s %s\n* FROM CLIP NAME: R%03d\n", i + 1,
                          reel, trans, edl::write_timecode(src, df).c_str(), edl::write_timecode(src + len, df).c_str(),
                          edl::write_timecode(rec, df).c_str(), edl::write_timecode(rec + len, df).c_str(), reel);
            r.list += line;
            rec += len;
        }
        return r;
    }();
    return in;
}

void edl_read_check_match(benchmark::State& st) {
    EdlInput const& in = edl_input();
    timecode_rate const df{30, true, true};
    for (auto _ : st) {
        edl::List const list = edl::read(in.list, df);
        std::vector<edl::Problem> const ps = edl::check(list, df);
        edl::TelecineLog const log = edl::read_telecine_log(in.log, df);
        edl::CutList const cl = edl::cut_list(list, df, log);
        benchmark::DoNotOptimize(ps.size() + cl.events.size());
    }
    st.counters["events"] = kEvents;
}

}  // namespace

void register_edl(std::vector<Row>& rows) {
    {
        EdlInput const& in = edl_input();
        timecode_rate const df{30, true, true};
        edl::List const list = edl::read(in.list, df);
        edl::CutList const cl = edl::cut_list(list, df, edl::read_telecine_log(in.log, df));
        std::printf("check edl: %zu events read, %zu problems, %zu cut events, %zu notes\n", list.events.size(),
                    edl::check(list, df).size(), cl.events.size(), cl.notes.size());
    }
    benchmark::RegisterBenchmark("edl_read_check_match/10000", edl_read_check_match)->Unit(benchmark::kMillisecond);
    rows.push_back({"EDL 10000 events: read+check+cut list (ms)", "edl_read_check_match/10000",
                    [](std::map<std::string, double> const&, std::string& note) {
                        note = "no peer; target: well under 1000 ms a list";
                        return -1.0;
                    },
                    0, "-"});
}

}  // namespace bench
