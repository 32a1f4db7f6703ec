// The tone tables and line-art threshold held by the hardware. Slot 0 serves gray and line
// art, slots 1-3 red, green and blue. A 256-entry table is indexed by the top 8 bits of the
// 12-bit shaded sample, a 4096-entry table by all 12.
#pragma once

#include <cstdint>

#include "common/request_blocks.h"

struct ToneState {
    uint16_t entries = 256;
    uint8_t slots[kToneSlots][4096] = {};
    uint8_t threshold = 128;
};

// Identity tables (sample >> 4) of the model's size.
void ResetTones(ToneState& tones, uint16_t entries);

enum class ToneCheck : uint8_t { Ok, BadSelector, BadEntries };

// Validates a SendGamma block (selector, every slot's entry count equal to the model's) and
// loads the selected slots and the threshold.
ToneCheck LoadTones(ToneState& tones, const SendGammaBlock& block, uint16_t modelEntries);

// 12-bit sample -> delivered byte for one slot.
void ExpandTone(const ToneState& tones, int slot, uint8_t (&out)[4096]);

// A 256-value curve widened to `entries` the way the data source does for the 1200 dpi model:
// entry 16i = t[i], entries 16(i-1)+j = trunc(t[i-1] + j x s) with s = (t[i] - t[i-1]) / 16 as
// a float, entries 4081-4095 = t[255]. 256 entries copy the curve.
void SpreadCurve(const uint8_t (&curve)[256], uint16_t entries, uint8_t* out);
