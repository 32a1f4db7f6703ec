// The CMYK conversion loop, kept apart so that it alone is built for speed.
#include <cstring>

#include "engine/cmyk_table.h"

bool ConvertBlockToCmyk(const CmykTable& table, uint8_t* block, uint32_t byteCount,
                        uint32_t capacity, bool complement) {
    const uint32_t pixels = byteCount / 3;
    if (!table.pairs || !block || uint64_t(pixels) * 4 > capacity) return false;
    const uint32_t flip = complement ? 0xFFFFFFFFu : 0;
    // From the last pixel back: pixel i is read from 3 i and written to 4 i, so every pixel
    // is read before a later one's four bytes can reach it, and no copy of the block is
    // needed.
    for (uint32_t i = pixels; i-- > 0;) {
        const uint8_t* rgb = block + 3 * uint64_t(i);
        const uint32_t out = InterpolateLattice(table.pairs, rgb[0], rgb[1], rgb[2]) ^ flip;
        uint8_t bytes[4] = {uint8_t(out), uint8_t(out >> 8), uint8_t(out >> 16), uint8_t(out >> 24)};
        std::memcpy(block + 4 * uint64_t(i), bytes, 4);
    }
    return true;
}
