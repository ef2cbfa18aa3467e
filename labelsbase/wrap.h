// 32-bit two's complement arithmetic on caller-supplied numbers: samples,
// offsets and counts may be any int, and sums and products wrap rather
// than overflow, exactly as 32-bit registers would. Stateless; every unit,
// the flat legacy interface, the pure position functions and the labels
// command use these.
//
// Edge cases: wrap_add(INT_MAX, 1) is INT_MIN; wrap_neg(INT_MIN) is INT_MIN;
// abs_u(INT_MIN) is 2147483648u.
#ifndef LABELSBASE_WRAP_H
#define LABELSBASE_WRAP_H

#include <cstdint>

namespace lb {

inline int wrap_add(int a, int b) {
    return static_cast<int>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
inline int wrap_sub(int a, int b) {
    return static_cast<int>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}
inline int wrap_mul(int a, int b) {
    return static_cast<int>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}
inline int wrap_neg(int a) { return static_cast<int>(0u - static_cast<std::uint32_t>(a)); }
// Magnitude of any int, INT_MIN included.
inline unsigned abs_u(int a) { return a < 0 ? 0u - static_cast<unsigned>(a) : static_cast<unsigned>(a); }

}  // namespace lb

#endif
