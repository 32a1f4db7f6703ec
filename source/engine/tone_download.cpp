#include "engine/tone_download.h"

#include <cstring>
#include <initializer_list>

uint16_t ToneSlotEntries(uint16_t opticalResolution) {
    return opticalResolution == 1200 ? 4096 : 256;
}

uint8_t LineArtThreshold(ChannelAdjust master, bool brightnessForm) {
    if (brightnessForm) return uint8_t(128 - int8_t(master.highlight));
    return uint8_t((master.highlight + master.shadow) / 2);
}

void FillSendGammaBlock(SendGammaBlock& block, const ToneTables& tables, uint16_t scanMode,
                        uint16_t opticalResolution, uint8_t threshold) {
    std::memset(&block, 0, sizeof block);
    block.threshold = scanMode == kModeLineArt ? threshold : 0;
    block.selector = scanMode == kModeColor ? kToneSelectColour : kToneSelectGray;
    const uint16_t entries = ToneSlotEntries(opticalResolution);
    const bool colour = scanMode == kModeColor;
    const uint8_t(*curves[kToneSlots])[256] = {colour ? &tables.red : &tables.blue, &tables.red,
                                               &tables.green, &tables.blue};
    for (size_t s = 0; s < kToneSlots; ++s) {
        block.slots[s].entries = entries;
        SpreadToneTable(*curves[s], entries, block.slots[s].table);
    }
}

namespace {

constexpr ChannelAdjust kNeutralChannel{255, 0, 10, 0};

void BuildOne(ChannelAdjust channel, int index, bool balance, bool brightnessForm,
              const ToneContext& context, uint8_t* dest) {
    if (brightnessForm) BuildBrightnessContrastTable(channel, 256, 256, dest);
    else BuildToneTable(channel, 256, 256, dest, index, balance, context);
}

}  // namespace

void BuildScannerToneTables(const EnhancementRecord& record, const ToneDownload& how,
                            ToneTables& tables) {
    ToneContext context{how.scanMode, {}};
    std::memcpy(context.colorBalance, record.ColorBalance, sizeof context.colorBalance);
    const bool brightnessForm = !how.windowShown && how.officeApplication;
    if (how.scanMode != kModeColor) {
        BuildOne(record.channel[kMaster], 3, false, brightnessForm, context, tables.blue);
        return;
    }
    uint8_t* dest[3] = {tables.red, tables.green, tables.blue};
    const bool neutral = how.opticalResolution == 1200 && how.outputMatch;
    for (int c = 0; c < 3; ++c) {
        if (neutral) BuildToneTable(kNeutralChannel, 256, 256, dest[c], c, false, context);
        else BuildOne(record.channel[kRed + c], c, true, brightnessForm, context, dest[c]);
    }
}

void BuildNoWindowToneTables(bool rgb, ToneTables& tables) {
    if (!rgb) {
        BuildBrightnessContrastTable(ChannelAdjust{0, 0, 10, 0}, 256, 256, tables.blue);
        return;
    }
    for (uint8_t* t : {tables.red, tables.green, tables.blue})
        BuildBrightnessContrastTable(ChannelAdjust{0, 0, 18, 0}, 256, 256, t);
}

void PrepareToneDownload(const EnhancementRecord& record, const ToneDownload& how,
                         ToneTables& tables, SendGammaBlock& block) {
    BuildScannerToneTables(record, how, tables);
    const bool brightnessThreshold = !how.windowShown || how.officeApplication;
    const uint8_t threshold = LineArtThreshold(record.channel[kMaster], brightnessThreshold);
    FillSendGammaBlock(block, tables, how.scanMode, how.opticalResolution, threshold);
}
