#include "prescan/prescan_setup.h"

#include <cstring>

#include "common/tone_spread.h"

void FillPrescanSetUp(const PrescanGeometry& g, uint32_t sourceWord, uint16_t lampSaverMinutes,
                      SetParametersBlock& block) {
    const uint16_t source = static_cast<uint16_t>(sourceWord >> 16);
    const uint8_t optionBits = static_cast<uint8_t>((sourceWord & 0xFFFF) << 4);
    std::memset(&block, 0, sizeof block);
    block.xStart = block.yStart = 0;
    block.xEnd = g.xEnd;
    block.yEnd = g.yEnd;
    block.source = (source == 1 || source == 2) ? static_cast<uint8_t>(source) : 0;
    block.fromDataSource = 0;
    block.colourType = kColourTypeColour;
    block.speed = 1;
    if (source == 1) block.speed |= optionBits | 0x40;
    if (source == 2) block.speed |= optionBits | 0xC0;
    block.resolution = g.resolution;
    block.lampSaverMinutes = lampSaverMinutes;
    block.lampSaverOnly = 0;
}

void FillIdentityTones(uint16_t opticalResolution, SendGammaBlock& block) {
    std::memset(&block, 0, sizeof block);
    block.threshold = 0;
    block.selector = kToneSelectColour;
    uint8_t identity[256];
    for (int i = 0; i < 256; ++i) identity[i] = static_cast<uint8_t>(i);
    const uint16_t entries = opticalResolution < 1200 ? 256 : 4096;
    for (ToneTableSlot& slot : block.slots) {
        slot.entries = entries;
        SpreadToneTable(identity, entries, slot.table);
    }
}
