#include "engine/lattice_interpolation.h"

void BuildLatticePairs(const uint8_t* entries, uint32_t channels, uint8_t* pairs) {
    for (uint32_t i = 0; i < kLatticeSide; ++i)
        for (uint32_t j = 0; j < kLatticeSide; ++j)
            for (uint32_t k = 0; k < 16; ++k) {
                const uint8_t* e = entries + ((i * kLatticeSide + j) * kLatticeSide + k) * channels;
                uint8_t* out = pairs + ((i * kLatticeSide + j) * 16 + k) * 8;
                for (uint32_t c = 0; c < 4; ++c) {
                    out[2 * c] = c < channels ? e[c] : 0;
                    out[2 * c + 1] = c < channels ? e[channels + c] : 0;
                }
            }
}
