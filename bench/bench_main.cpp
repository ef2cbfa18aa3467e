// The benchmark driver: checks that both sides agree on the whole workload,
// runs every case (Google Benchmark flags pass through; bench/run.sh asks
// for 5 repetitions and reports medians), then prints the side-by-side
// table: case, ours ns/op, peer ns/op, peer/ours, target, met.
//
// Times are CPU time per operation, medians of the repetitions, so another
// process sharing the core costs us less than it would in wall time.
//
// LB_BENCH_MEDIANS=<file> also writes "name<TAB>ns" per case, for the
// command-line throughput row that bench/run.sh adds.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <benchmark/benchmark.h>

#include "bench.h"

namespace {

class TableReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> medians;
    std::map<std::string, std::string> errors;

    void ReportRuns(std::vector<Run> const& runs) override {
        for (Run const& r : runs) {
            std::string name = r.run_name.function_name;
            if (r.error_occurred) {
                errors[name] = r.error_message;
            } else if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median") {
                medians[name] = r.GetAdjustedCPUTime();
            } else if (r.run_type == Run::RT_Iteration && r.repetitions <= 1) {
                medians[name] = r.GetAdjustedCPUTime();  // a single run is its own median
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

void print_table(std::vector<bench::Row> const& rows, TableReporter const& rep, int& missed) {
    std::printf("\n%-50s %10s %10s %9s %13s  %s\n", "case", "ours ns/op", "peer ns/op", "peer/ours", "target", "met?");
    std::printf("%s\n", std::string(106, '-').c_str());
    for (bench::Row const& row : rows) {
        std::string note;
        auto const o = rep.medians.find(row.ours);
        double const peer = row.peer(rep.medians, note);
        char ours_s[32] = "-", peer_s[32] = "-", ratio_s[32] = "-";
        char const* met = "-";
        if (o != rep.medians.end()) {
            std::snprintf(ours_s, sizeof ours_s, "%.2f", o->second);
        } else {
            auto const e = rep.errors.find(row.ours);
            note = e != rep.errors.end() ? e->second : (note.empty() ? "not run" : note);
        }
        if (peer > 0) std::snprintf(peer_s, sizeof peer_s, "%.2f", peer);
        if (peer > 0 && o != rep.medians.end() && o->second > 0) {
            double const ratio = peer / o->second;
            std::snprintf(ratio_s, sizeof ratio_s, "%.2f", ratio);
            if (row.min_ratio > 0) {
                bool const ok = ratio >= row.min_ratio && note.rfind("DISAGREE", 0) != 0;
                met = ok ? "yes" : "NO";
                if (!ok) ++missed;
            }
        } else if (row.min_ratio > 0) {
            met = "n/a";
        }
        std::printf("%-50s %10s %10s %9s %13s  %-4s %s\n", row.label.c_str(), ours_s, peer_s, ratio_s,
                    row.target.c_str(), met, note.c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    // --lb_batch_input=PATH [--lb_batch_lines=N]: write the input of the
    // command-line throughput run and stop.
    char const* batch_path = nullptr;
    long batch_lines = 1000000;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--lb_batch_input=", 17) == 0) batch_path = argv[i] + 17;
        if (std::strncmp(argv[i], "--lb_batch_lines=", 17) == 0) batch_lines = std::atol(argv[i] + 17);
    }
    if (batch_path) return bench::write_batch_input(batch_path, batch_lines) ? 0 : 1;

    char const* peer = bench::peer_init();
    std::printf("peer: %s\n", peer ? peer : "none (libavutil-dev not found at build time)");

    bool check_only = false;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--lb_check_only") == 0) {
            check_only = true;
            for (int j = i; j + 1 < argc; ++j) argv[j] = argv[j + 1];
            --argc;
            break;
        }

    // Agreement first: a fast wrong answer is no answer.
    int const disagreements =
        bench::check_timecode() + bench::check_timecode_rate() + bench::check_film() + bench::check_values();
    std::printf("agreement: %s\n\n", disagreements == 0 ? "every input of every case" : "FAILED (see above)");
    if (check_only) return disagreements == 0 ? 0 : 2;

    std::vector<bench::Row> rows;
    bench::register_timecode(rows);
    bench::register_film(rows);
    bench::register_values(rows);
    bench::register_timecode_rate(rows);
    bench::register_edl(rows);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    TableReporter rep;
    benchmark::RunSpecifiedBenchmarks(&rep);
    benchmark::Shutdown();

    int missed = 0;
    print_table(rows, rep, missed);
    std::printf("\ntargets missed: %d\n", missed);

    if (char const* path = std::getenv("LB_BENCH_MEDIANS")) {
        if (FILE* f = std::fopen(path, "w")) {
            for (auto const& m : rep.medians) std::fprintf(f, "%s\t%.4f\n", m.first.c_str(), m.second);
            std::fclose(f);
        }
    }
    return disagreements == 0 ? 0 : 2;
}
