// The in-process C++ cost per item of what labelsbase.format and
// labelsbase.parse do for each element of an array: write a sample's text
// with the type's converter and one label point, and read a text through
// the command's reader (trimming, KeyKode spaces, plausibility, converter).
// Each loop makes its output as a caller would, in memory it allocates
// (as NumPy allocates the result array), so both sides pay for fresh pages.
// Prints one line per row: "<row> <ns per item>". Used by bench_python.py.
//
// Usage: labelsbase_py_baseline TYPE COUNT
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "cli/core.h"

namespace {

using clock_type = std::chrono::steady_clock;

double ns_per_item(clock_type::time_point a, clock_type::time_point b, std::size_t n) {
    return std::chrono::duration<double, std::nano>(b - a).count() / static_cast<double>(n);
}

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
    std::printf("checksum %zu %lld\n", checksum, sum);
    return 0;
}
