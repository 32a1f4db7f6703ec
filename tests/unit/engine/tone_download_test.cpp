// The tone-table download: spreading to 4096 entries, slots per mode, threshold, and which
// curves the scan job's settings produce.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>

#include "engine/tone_download.h"

namespace {

void Ramp(uint8_t (&t)[256], int offset) {
    for (int i = 0; i < 256; ++i) t[i] = uint8_t(i + offset);
}

ToneTables DistinctTables() {
    ToneTables t;
    Ramp(t.blue, 1);
    Ramp(t.green, 2);
    Ramp(t.red, 3);
    return t;
}

EnhancementRecord Record() {
    EnhancementRecord r{};
    r.channel[kMaster] = {255, 0, 10, 0};
    for (Channel c : {kRed, kGreen, kBlue}) r.channel[c] = {255, 0, 10, 0};
    return r;
}

TEST(SpreadToneTable, InterpolatesTruncatingTowardsZeroAndHoldsTheLastValue) {
    uint8_t v[256];
    std::mt19937 random(5);
    for (uint8_t& x : v) x = uint8_t(random());
    v[0] = 10, v[1] = 9, v[2] = 26;
    uint8_t slot[4096];
    SpreadToneTable(v, 4096, slot);
    // A fall of one makes every step in between one lower; a rise of 16 climbs by one.
    EXPECT_EQ(slot[0], 10);
    for (int j = 1; j < 16; ++j) EXPECT_EQ(slot[j], 9) << j;
    for (int j = 1; j < 16; ++j) EXPECT_EQ(slot[16 + j], 9 + j) << j;
    // In general entry 16 (i-1) + j is the floor of the exact value between the two.
    for (int i = 1; i < 256; ++i) {
        ASSERT_EQ(slot[16 * i], v[i]);
        for (int j = 1; j < 16; ++j) {
            const int exact16 = 16 * v[i - 1] + j * (v[i] - v[i - 1]);  // never negative
            ASSERT_EQ(slot[16 * (i - 1) + j], exact16 / 16) << i << " " << j;
        }
    }
    for (int k = 4080; k < 4096; ++k) EXPECT_EQ(slot[k], v[255]) << k;
}

TEST(SpreadToneTable, ShortTablesAreCopiedAndTheRestCleared) {
    uint8_t v[256];
    Ramp(v, 7);
    uint8_t slot[4096];
    std::memset(slot, 0xAB, sizeof slot);
    SpreadToneTable(v, 256, slot);
    EXPECT_EQ(std::memcmp(slot, v, 256), 0);
    for (int k = 256; k < 4096; ++k) ASSERT_EQ(slot[k], 0);
}

TEST(SendGammaBlock, SlotsSelectorAndCountsByModeAndModel) {
    const ToneTables t = DistinctTables();
    auto block = std::make_unique<SendGammaBlock>();
    FillSendGammaBlock(*block, t, kModeColor, 800, 77);
    EXPECT_EQ(block->selector, 7);
    EXPECT_EQ(block->threshold, 0);
    const uint8_t* colourSlots[4] = {t.red, t.red, t.green, t.blue};
    for (int s = 0; s < 4; ++s) {
        EXPECT_EQ(block->slots[s].entries, 256);
        EXPECT_EQ(std::memcmp(block->slots[s].table, colourSlots[s], 256), 0) << s;
    }

    // Single-channel scans: the first table's curve in the gray slot.
    for (uint16_t mode : {kModeLineArt, kModeFastGray, kModeGray}) {
        FillSendGammaBlock(*block, t, mode, 600, 77);
        EXPECT_EQ(block->selector, 0x10);
        EXPECT_EQ(std::memcmp(block->slots[0].table, t.blue, 256), 0);
        EXPECT_EQ(block->threshold, mode == kModeLineArt ? 77 : 0);
    }

    FillSendGammaBlock(*block, t, kModeColor, 1200, 0);
    for (const ToneTableSlot& slot : block->slots) EXPECT_EQ(slot.entries, 4096);
    EXPECT_EQ(block->slots[3].table[16 * 200], t.blue[200]);
    EXPECT_EQ(block->slots[3].table[4095], t.blue[255]);
    EXPECT_EQ(block->header.status, 0);
}

TEST(LineArtThreshold, HalfwayWithWindowAgainstBrightnessWithout) {
    EXPECT_EQ(LineArtThreshold({200, 100, 10, 0}, false), 150);
    EXPECT_EQ(LineArtThreshold({255, 0, 10, 0}, false), 127);
    EXPECT_EQ(LineArtThreshold({0, 0, 10, 0}, true), 128);
    EXPECT_EQ(LineArtThreshold({50, 0, 10, 0}, true), 78);
    EXPECT_EQ(LineArtThreshold({uint8_t(-127), 0, 10, 0}, true), 255);
}

TEST(ScannerToneTables, ColourCurvesFromTheirChannelsWithBalance) {
    EnhancementRecord r = Record();
    r.channel[kRed] = {192, 64, 10, 0};
    r.channel[kGreen] = {255, 0, 20, 0};
    r.ColorBalance[2] = 50;  // blue gamma 1.0 + 10 / 10
    r.channel[kMaster] = {100, 50, 10, 0};
    ToneTables t{};
    BuildScannerToneTables(r, {kModeColor, 800, true, false, false}, t);
    EXPECT_EQ(t.red[128], 127);
    EXPECT_EQ(t.green[64], 127);  // trunc(sqrt(64 / 255) x 255)
    EXPECT_EQ(t.blue[64], 127);

    // The 1200 dpi model with output matching gets straight neutral curves instead.
    BuildScannerToneTables(r, {kModeColor, 1200, true, false, true}, t);
    for (int i = 0; i < 256; ++i) ASSERT_TRUE(t.red[i] == i && t.green[i] == i && t.blue[i] == i);
    BuildScannerToneTables(r, {kModeColor, 800, true, false, true}, t);
    EXPECT_EQ(t.red[128], 127);
}

TEST(ScannerToneTables, SingleChannelCurveFromTheMasterIntoTheFirstTable) {
    EnhancementRecord r = Record();
    r.channel[kMaster] = {192, 64, 10, 0};
    ToneTables t = DistinctTables();
    const ToneTables before = t;
    BuildScannerToneTables(r, {kModeGray, 600, true, false, false}, t);
    EXPECT_EQ(t.blue[128], 127);
    EXPECT_EQ(std::memcmp(t.green, before.green, 256), 0);
    EXPECT_EQ(std::memcmp(t.red, before.red, 256), 0);
}

TEST(ScannerToneTables, ACurveThatCannotBeBuiltKeepsThePreviousTable) {
    // The scan without window carries brightness 0 and contrast 0 in the highlight and
    // shadow bytes: no highlight curve exists, so the curves built at enabling stay.
    EnhancementRecord r = Record();
    for (ChannelAdjust& c : r.channel) c = {0, 0, 18, 0};
    ToneTables t = DistinctTables();
    const ToneTables before = t;
    BuildScannerToneTables(r, {kModeColor, 600, false, false, false}, t);
    EXPECT_EQ(std::memcmp(&t, &before, sizeof t), 0);

    // The office application without window takes the brightness/contrast form.
    BuildScannerToneTables(r, {kModeColor, 600, false, true, false}, t);
    EXPECT_EQ(t.red[128], 173);
    EXPECT_EQ(t.blue[64], 118);
}

TEST(ToneDownload, NoWindowCurvesAndThreshold) {
    ToneTables t = DistinctTables();
    BuildNoWindowToneTables(true, t);
    EXPECT_EQ(t.red[128], 173);
    EXPECT_EQ(t.green[128], 173);
    EXPECT_EQ(t.blue[200], 222);

    t = DistinctTables();
    BuildNoWindowToneTables(false, t);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(t.blue[i], i);
    EXPECT_EQ(t.red[0], 3);

    EnhancementRecord r = Record();
    r.channel[kMaster] = {40, 0, 10, 0};  // brightness 40 without window
    auto block = std::make_unique<SendGammaBlock>();
    PrepareToneDownload(r, {kModeLineArt, 600, false, false, false}, t, *block);
    EXPECT_EQ(block->threshold, 88);
    EXPECT_EQ(block->selector, 0x10);
    r.channel[kMaster] = {200, 40, 10, 0};
    PrepareToneDownload(r, {kModeLineArt, 600, true, false, false}, t, *block);
    EXPECT_EQ(block->threshold, 120);
    PrepareToneDownload(r, {kModeLineArt, 600, true, true, false}, t, *block);
    EXPECT_EQ(block->threshold, uint8_t(128 - 200));
}

}  // namespace
