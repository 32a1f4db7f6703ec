// Exact division of small non-negative sums by the filters' constant divisors, and clamping
// to a byte, in 16-bit arithmetic: the high half of a 16 x 16-bit product is one SSE2
// instruction, so the compiler can keep eight samples in a register at a time.
#pragma once

#include <cstdint>

// (v x m) >> 16: the high half of the product.
inline uint16_t MulHigh(uint16_t v, uint16_t m) { return uint16_t((uint32_t(v) * m) >> 16); }

// v / 9 for 0 <= v < 32768 (7282 = ceil(65536 / 9), error 2 / 65536 per unit).
inline uint16_t DivideBy9(uint16_t v) { return MulHigh(v, 7282); }

// v / 3 for 0 <= v < 32768.
inline uint16_t DivideBy3(uint16_t v) { return MulHigh(v, 21846); }

// v / 10 for 0 <= v < 16384 (6554 = ceil(65536 / 10), error 4 / 65536 per unit).
inline uint16_t DivideBy10(uint16_t v) { return MulHigh(v, 6554); }

namespace byte_division_detail {
constexpr bool Exact(uint32_t divisor, uint32_t multiplier, uint32_t limit) {
    for (uint32_t v = 0; v < limit; ++v)
        if (((v * multiplier) >> 16) != v / divisor) return false;
    return true;
}
static_assert(Exact(9, 7282, 32768));
static_assert(Exact(3, 21846, 32768));
static_assert(Exact(10, 6554, 16384));
}  // namespace byte_division_detail

inline uint8_t ClampByte(int32_t v) { return uint8_t(v < 0 ? 0 : (v > 255 ? 255 : v)); }

// The same for results known to lie within -32768..32767.
inline uint8_t ClampByte16(int16_t v) {
    return uint8_t(v < 0 ? int16_t(0) : (v > 255 ? int16_t(255) : v));
}
