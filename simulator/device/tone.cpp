#include "simulator/device/tone.h"

#include <cstring>

void ResetTones(ToneState& tones, uint16_t entries) {
    tones.entries = entries;
    for (auto& slot : tones.slots)
        for (uint32_t i = 0; i < 4096; ++i) slot[i] = entries == 4096 ? uint8_t(i >> 4) : uint8_t(i);
    tones.threshold = 128;
}

ToneCheck LoadTones(ToneState& tones, const SendGammaBlock& block, uint16_t modelEntries) {
    const uint8_t selector = block.selector;
    if (selector == 0 || (selector & ~(kToneSelectGray | kToneSelectColour)) != 0)
        return ToneCheck::BadSelector;
    for (const ToneTableSlot& slot : block.slots)
        if (slot.entries != modelEntries) return ToneCheck::BadEntries;
    // Bit 4 loads the gray slot, bits 0-2 the red, green and blue slots.
    if (selector & kToneSelectGray) std::memcpy(tones.slots[0], block.slots[0].table, modelEntries);
    for (int c = 0; c < 3; ++c)
        if (selector & (1 << c))
            std::memcpy(tones.slots[1 + c], block.slots[1 + c].table, modelEntries);
    tones.entries = modelEntries;
    tones.threshold = block.threshold;
    return ToneCheck::Ok;
}

void ExpandTone(const ToneState& tones, int slot, uint8_t (&out)[4096]) {
    const uint8_t* t = tones.slots[slot];
    if (tones.entries == 4096) {
        std::memcpy(out, t, 4096);
        return;
    }
    for (uint32_t s = 0; s < 4096; ++s) out[s] = t[s >> 4];
}

void SpreadCurve(const uint8_t (&curve)[256], uint16_t entries, uint8_t* out) {
    if (entries != 4096) {
        std::memcpy(out, curve, 256);
        return;
    }
    out[0] = curve[0];
    for (uint32_t i = 1; i < 256; ++i) {
        const float step = float(int(curve[i]) - int(curve[i - 1])) / 16.0f;
        out[16 * i] = curve[i];
        for (uint32_t j = 1; j < 16; ++j)
            out[16 * (i - 1) + j] = uint8_t(int(float(curve[i - 1]) + float(j) * step));
    }
    for (uint32_t k = 4081; k < 4096; ++k) out[k] = curve[255];
}
