// Line-art pixels made wider by repeating each bit: a nibble's four bits become a byte's
// eight (high nibble first), or a byte's eight bits become `factor` bytes.
#pragma once

#include <array>
#include <cstdint>

namespace bit_doubling_detail {
constexpr std::array<uint8_t, 16> NibbleTable() {
    std::array<uint8_t, 16> table{};
    for (uint32_t nibble = 0; nibble < 16; ++nibble) {
        uint32_t out = 0;
        for (int bit = 3; bit >= 0; --bit) out = out << 2 | ((nibble >> bit) & 1) * 3;
        table[nibble] = uint8_t(out);
    }
    return table;
}
}  // namespace bit_doubling_detail

inline constexpr std::array<uint8_t, 16> kNibbleDoubled = bit_doubling_detail::NibbleTable();
static_assert(kNibbleDoubled[0x5] == 0x33 && kNibbleDoubled[0x8] == 0xC0);

// Each of the eight bits of byte, most significant first, repeated `factor` times, into
// `factor` bytes.
inline void SpreadBits(uint8_t byte, uint32_t factor, uint8_t* out) {
    for (uint32_t i = 0; i < factor; ++i) out[i] = 0;
    for (uint32_t k = 0; k < 8 * factor; ++k) {
        const uint32_t bit = (byte >> (7 - k / factor)) & 1;
        out[k / 8] = uint8_t(out[k / 8] | bit << (7 - k % 8));
    }
}
