// The in-process C++ cost per item of what labelsbase.format and
// labelsbase.parse do for each element of an array, two ways:
//   format, parse     the label type's converter and the command's reader
//                     (trimming, KeyKode spaces, plausibility, converter),
//                     one item at a time: the general route;
//   column_format,    the timecode column functions in chunks of 256, as
//   column_parse      the module's quick route calls them for a timecode
//                     type (samples within the day, texts of 11 characters).
// Each loop makes its output as a caller would, in memory it allocates (as
// NumPy allocates the result array), so both sides pay for fresh pages.
// Prints one line per row: "<row> <ns per item>". Used by bench_python.py.
//
// Usage: labelsbase_py_baseline TYPE COUNT
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <labelsbase/timecode_rate.h>

#include "cli/core.h"
#include "cli/rates.h"

namespace {

using clock_type = std::chrono::steady_clock;

double ns_per_item(clock_type::time_point a, clock_type::time_point b, std::size_t n) {
    return std::chrono::duration<double, std::nano>(b - a).count() / static_cast<double>(n);
}

constexpr std::size_t kChunk = 256;
constexpr std::size_t kStride = 16;

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: labelsbase_py_baseline TYPE COUNT\n");
        return 2;
    }
    label_t const t = cli::parse_type(argv[1]);
    std::size_t const n = std::strtoull(argv[2], nullptr, 10);
    label_cvt* c = cli::converter(t);
    int const day = c->UserType() == timecode_UserLabel ? c->normalise_sample_unit(-1) + 1 : 1 << 30;

    // Samples spread over the day, texts of them kept for the reading loop.
    std::vector<int> samples(n);
    for (std::size_t i = 0; i < n; ++i) samples[i] = static_cast<int>((i * 7919u) % static_cast<unsigned>(day));
    LabelPoint p(0, c);
    cli::set_point_prefix(c, &p, c->get_dummy_prefix());

    auto const t0 = clock_type::now();
    std::unique_ptr<char[]> texts(new char[n * 32]);
    std::size_t checksum = 0;
    for (std::size_t i = 0; i < n; ++i) {
        p.sample = samples[i];
        char const* text = cli::trim_sign_column(c->get_abs_string(&p, samples[i]));
        std::size_t const len = std::strlen(text);
        std::memcpy(&texts[i * 32], text, len + 1);
        checksum += len;
    }
    auto const t1 = clock_type::now();
    std::string err;
    std::unique_ptr<int[]> read(new int[n]);
    for (std::size_t i = 0; i < n; ++i) read[i] = cli::read_sample(t, &texts[i * 32], err);
    auto const t2 = clock_type::now();
    std::printf("format %.2f\n", ns_per_item(t0, t1, n));
    std::printf("parse %.2f\n", ns_per_item(t1, t2, n));
    long long sum = 0;
    for (std::size_t i = 0; i < n; ++i) sum += read[i];

    timecode_rate const r = cli::rate_of_type(t);
    if (timecode_rate_ok(r)) {
        std::vector<std::int64_t> frames(samples.begin(), samples.end());
        auto const c0 = clock_type::now();
        std::unique_ptr<char[]> column(new char[n * kStride]);
        std::unique_ptr<unsigned char[]> lengths(new unsigned char[n]);
        for (std::size_t i = 0; i < n; i += kChunk)
            timecode_write_column(r, &frames[i], std::min(kChunk, n - i), &column[i * kStride], kStride, &lengths[i]);
        auto const c1 = clock_type::now();
        std::unique_ptr<std::int64_t[]> back(new std::int64_t[n]);
        std::unique_ptr<unsigned char[]> ok(new unsigned char[n]);
        for (std::size_t i = 0; i < n; i += kChunk)
            timecode_read_column(r, &column[i * kStride], kStride, &lengths[i], std::min(kChunk, n - i), &back[i],
                                 &ok[i]);
        auto const c2 = clock_type::now();
        std::printf("column_format %.2f\n", ns_per_item(c0, c1, n));
        std::printf("column_parse %.2f\n", ns_per_item(c1, c2, n));
        for (std::size_t i = 0; i < n; ++i) sum += back[i] + ok[i];
    }
    std::printf("checksum %zu %lld\n", checksum, sum);
    return 0;
}
