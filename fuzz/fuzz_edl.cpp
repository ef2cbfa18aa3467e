// Edit lists and telecine logs over any bytes: the reader never loses a
// byte (writing what it read gives the input back), every problem names a
// line of the input, conversions either succeed and keep the structure or
// leave the list as it was, and the cut list of any list and log runs clean.
// The first byte picks the rate (one of them invalid) and the conversion; the rest is the list,
// then (after a NUL) the telecine log.
#include <cstdint>
#include <string>

#include <labelsbase/edl.h>

#include "fuzz_util.h"

namespace {

timecode_rate const kRates[] = {
    {30, true, true},   {30, true, false}, {25, false, false}, {24, true, false}, {24, false, false},
    {30, false, false}, {60, true, true},  {50, false, false}, {0, false, false},  // the last is no rate at all
};
constexpr unsigned kRateCount = sizeof kRates / sizeof kRates[0];

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, size_t size) {
    if (size < 1) return 0;
    unsigned const pick = data[0];
    timecode_rate const rate = kRates[pick % kRateCount];
    std::string const all(reinterpret_cast<char const*>(data + 1), size - 1);
    std::size_t const nul = all.find('\0');
    std::string const text = all.substr(0, nul);
    std::string const log_text = nul == std::string::npos ? std::string() : all.substr(nul + 1);

    edl::List list = edl::read(text, rate);
    FUZZ_CHECK(edl::write(list) == text);
    int const lines = static_cast<int>(list.lines.size());
    for (edl::Problem const& p : edl::check(list, rate)) FUZZ_CHECK(p.line >= 0 && p.line <= lines);

    edl::TelecineLog const log = edl::read_telecine_log(log_text, rate);
    for (edl::Problem const& p : log.problems) FUZZ_CHECK(p.line >= 1);
    edl::CutList const cl = edl::cut_list(list, rate, log);
    for (edl::CutEvent const& c : cl.events) FUZZ_CHECK(c.frames >= 1);

    std::string why;
    std::size_t const events = list.events.size();
    bool ok = false;
    switch ((pick / 8) % 4) {
    case 0: ok = edl::relabel(list, rate, !rate.drop, why); break;
    case 1: ok = edl::convert_rate(list, rate, kRates[(pick / 32) % kRateCount], edl::RateRule::real_time, why); break;
    case 2: ok = edl::convert_rate(list, rate, kRates[(pick / 32) % kRateCount], edl::RateRule::pulldown, why); break;
    default: ok = edl::move_record_start(list, rate, pick * 1000L, why); break;
    }
    std::string const out = edl::write(list);
    if (!ok) {
        FUZZ_CHECK(out == text);
        FUZZ_CHECK(!why.empty());
    } else {
        edl::List const back = edl::read(out, rate);
        FUZZ_CHECK(back.events.size() == events);
        FUZZ_CHECK(back.lines.size() == list.lines.size());
    }
    return 0;
}
