// The keep string's number writer: the C library's text for the values the
// inline writer declines.
#include "detail/keep_number.h"

#include <cstdio>

namespace lb {

std::size_t put_fixed10_slow(char* out, std::size_t size, double v) {
    int const n = std::snprintf(out, size, "%.10f", v);
    if (n < 0) return 0;
    return static_cast<std::size_t>(n) < size ? static_cast<std::size_t>(n) : size - 1;
}

}  // namespace lb
