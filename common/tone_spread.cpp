#include "common/tone_spread.h"

#include <cstring>

void SpreadToneTable(const uint8_t (&curve)[256], uint16_t entries, uint8_t (&slot)[4096]) {
    std::memset(slot, 0, sizeof slot);
    if (entries != 4096) {
        std::memcpy(slot, curve, 256);
        return;
    }
    slot[0] = curve[0];
    for (int i = 1; i < 256; ++i) {
        // The step is a single-precision float, as the scanner's interpolation expects.
        const float step = float(curve[i] - curve[i - 1]) / 16.0f;
        for (int j = 1; j < 16; ++j)
            slot[16 * (i - 1) + j] = uint8_t(int(float(curve[i - 1]) + float(j) * step));
        slot[16 * i] = curve[i];
    }
    for (int k = 4081; k < 4096; ++k) slot[k] = curve[255];
}
