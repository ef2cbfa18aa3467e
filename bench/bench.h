// Shared pieces of the benchmark binary: the fixed workload and the table
// rows the report prints.
//
// Workload: for every label type measured, 4096 samples drawn from a
// splitmix64 generator seeded from the type, spread over the type's
// unambiguous range (one day for timecode), and cycled in order by every
// benchmark of that type, ours and the peer's alike.
#ifndef LABELSBASE_BENCH_BENCH_H
#define LABELSBASE_BENCH_BENCH_H

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <labelsbase/labelsbase.h>

namespace bench {

constexpr int kWorkload = 4096;  // a power of two: the cycle is a mask
static_assert((kWorkload & (kWorkload - 1)) == 0, "the workload cycles by mask");

struct SplitMix64 {
    std::uint64_t state;
    std::uint64_t next() {
        std::uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
};

using Samples = std::array<int, kWorkload>;

// kWorkload values (draw % range) * step, from a generator seeded with seed.
Samples draw(std::uint64_t seed, int range, int step = 1);

// The five timecode types measured, with the peer's description of the
// same count (FFmpeg counts frames of rate num/den, drop-frame or not).
struct TcRate {
    label_t type;
    char const* name;
    int day;       // frames in 24 hours: the workload's range
    int num, den;  // the peer's frame rate
    bool drop;
    bool smpte;  // the SMPTE word is compared at this rate
};
constexpr TcRate kTcRates[] = {
    {ntsc_drop_label_t, "ntsc_drop", 2589408, 30000, 1001, true, true},
    {pal_label_t, "pal", 2160000, 25, 1, false, true},
    {tc_24_label_t, "tc_24", 2073600, 24, 1, false, true},
    {tc_60_label_t, "tc_60", 5184000, 60, 1, false, false},
    {tc_120_label_t, "tc_120", 10368000, 120, 1, false, false},
};
constexpr int kTcRateCount = sizeof(kTcRates) / sizeof(kTcRates[0]);
static_assert(kTcRateCount == 5, "one row per timecode rate measured");

// Film types: the sample range whose texts are unambiguous (one KeyKode or
// ink count wrap, the feet wrap, one day of film frames) and the step that
// keeps 4-perf samples on whole frames, so every text reads back exactly.
struct FilmType {
    label_t type;
    char const* name;
    int range;
    int step;
};
constexpr FilmType kFilmTypes[] = {
    {keycode_35_label_t, "keycode_35", 160000, 4},
    {keycode_16_label_t, "keycode_16", 200000, 1},
    {keycode_353_label_t, "keycode_353", 639998, 1},
    {ink_35_label_t, "ink_35", 160000, 4},
    {ink_16_label_t, "ink_16", 200000, 1},
    {foot_35_label_t, "foot_35", 1600000, 4},
    {foot_16_label_t, "foot_16", 2073600, 1},
    {foot_353_label_t, "foot_353", 6399998, 1},
    {film_frames_label_t, "film_frames", 2073600, 1},
};
constexpr int kFilmTypeCount = sizeof(kFilmTypes) / sizeof(kFilmTypes[0]);
static_assert(kFilmTypeCount == 9, "one row per film type measured");

std::uint64_t seed_for(label_t t);
Samples const& tc_samples(int rate);
Samples const& film_samples(int film_type);

// Registration of each group; each returns the table rows it contributes.
struct Row {
    std::string label;  // the case
    std::string ours;   // benchmark name of our side
    // Peer cost in ns/op from the medians, or a negative value with a note.
    std::function<double(std::map<std::string, double> const&, std::string& note)> peer;
    double min_ratio;    // target: peer/ours >= min_ratio; 0 = no target
    std::string target;  // the target as printed
};
void register_timecode(std::vector<Row>& rows);
void register_film(std::vector<Row>& rows);
void register_values(std::vector<Row>& rows);
void register_timecode_rate(std::vector<Row>& rows);
void register_edl(std::vector<Row>& rows);

// Quietens the peer's logging; its version text, or null without it.
char const* peer_init();

// The mean cost of our timecode conversions at the five rates (sample ->
// text, plus text -> sample when round_trip), through the converter
// interface: the yardstick of the film and translation cases.
double tc_reference(std::map<std::string, double> const& m, bool round_trip, std::string& note);

// Writes `lines` KeyKode texts (keycode_35, one roll) for `labels batch`,
// and beside them (path + ".expected") the in-process result of each.
bool write_batch_input(char const* path, long lines);

// Agreement checks run before timing. Each returns the number of
// disagreeing inputs and prints what it compared.
int check_timecode();
int check_film();
int check_values();
int check_timecode_rate();

// Whether the peer agreed with us on every input of a case (set by the
// checks, read by the table).
std::map<std::string, std::string>& peer_disagreements();

// The peer's median for a case, or a negative value with the reason there
// is none (no libavutil, not run, or a disagreement noted by the checks).
std::function<double(std::map<std::string, double> const&, std::string&)> peer_of(std::string name);

}  // namespace bench

#endif
