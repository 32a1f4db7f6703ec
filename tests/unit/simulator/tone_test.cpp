// Tone tables and the line-art threshold applied by the hardware.
#include <gtest/gtest.h>

#include "simulator/device/reference.h"
#include "tests/unit/simulator/sim_fixture.h"

namespace {

ToneState Curves(uint16_t entries, uint8_t threshold, uint8_t (*curve)(int)) {
    uint8_t curves[kToneSlots][256];
    for (auto& c : curves)
        for (int i = 0; i < 256; ++i) c[i] = curve(i);
    return ToneStateFromCurves(curves, entries, threshold);
}

TEST(SimulatorTone, InvertedTablesInvertTheDeliveredImage) {
    for (const char* model : {"600", "1200"}) {
        const SimulatorConfig config = ConfigFrom({{"Model", model}});
        const uint16_t entries = ToneTableEntries(config.profile);
        const ToneState inverted = Curves(entries, 127, [](int i) { return uint8_t(255 - i); });
        for (uint8_t mode : {kColourTypeFastGray, kColourTypeGray, kColourTypeColour}) {
            const ScanWindow w = WindowInches(config.profile, 0.3, 0.4, 8.1, 2.2, 75, mode);
            SimulatedScanner plain(config), toned(config);
            ASSERT_TRUE(RunScan(plain.caller, w));
            ASSERT_TRUE(RunScan(toned.caller, w, &inverted));
            ASSERT_EQ(plain.caller.image.size(), toned.caller.image.size());
            // 4096-entry tables are widened with truncation, so within one level there.
            const int slack = entries == 4096 ? 1 : 0;
            for (size_t i = 0; i < plain.caller.image.size(); ++i)
                ASSERT_NEAR(toned.caller.image[i], 255 - plain.caller.image[i], slack) << model << " " << i;
            ReferenceImage ref;
            std::string error;
            ASSERT_TRUE(RenderReference(config, {w, &inverted}, ref, error));
            EXPECT_EQ(toned.caller.image, ref.data);
        }
    }
}

TEST(SimulatorTone, ThresholdDecidesLineArt) {
    const SimulatorConfig config;
    // The gray ramp: white bits start where the ramp passes the threshold.
    const ScanWindow w = WindowInches(config.profile, 0.3, 0.5, 8.2, 0.6, 100, kColourTypeLineArt);
    auto firstWhite = [&](uint8_t threshold) {
        SimulatedScanner s(config);
        const ToneState tones = Curves(4096, threshold, [](int i) { return uint8_t(i); });
        EXPECT_TRUE(RunScan(s.caller, w, &tones));
        for (uint32_t bit = 0; bit < s.caller.bytesPerLine * 8u; ++bit)
            if (s.caller.image[bit / 8] & (0x80 >> (bit % 8))) return bit;
        return ~0u;
    };
    const uint32_t low = firstWhite(40), mid = firstWhite(127), high = firstWhite(220);
    EXPECT_LT(low, mid);
    EXPECT_LT(mid, high);
    EXPECT_NEAR(mid, 790 * 128 / 256, 4);  // 790 pixels across the ramp
}

TEST(SimulatorTone, TablesOfTheWrongSizeOrSelectorAreRefused) {
    for (const char* model : {"600", "1200"}) {
        SimulatedScanner s(ConfigFrom({{"Model", model}}));
        const uint16_t right = ToneTableEntries(s.device.config.profile);
        auto gamma = std::make_unique<SendGammaBlock>();
        *gamma = {};
        gamma->selector = kToneSelectColour;
        for (auto& slot : gamma->slots) slot.entries = right;
        EXPECT_EQ(s.Issue(*gamma, ScanRequestSendGamma), 0);
        gamma->slots[2].entries = right == 4096 ? 256 : 4096;
        EXPECT_NE(s.Issue(*gamma, ScanRequestSendGamma), 0);
        gamma->slots[2].entries = right;
        gamma->selector = 0x20;
        EXPECT_NE(s.Issue(*gamma, ScanRequestSendGamma), 0);
    }
}

TEST(SimulatorTone, WideningToFourThousandEntriesFollowsTheFloatStepRule) {
    uint8_t curve[256];
    for (int i = 0; i < 256; ++i) curve[i] = uint8_t(255 - i);
    uint8_t wide[4096];
    SpreadCurve(curve, 4096, wide);
    EXPECT_EQ(wide[16], 254);
    EXPECT_EQ(wide[1], 254);  // 255 - 1/16, truncated
    EXPECT_EQ(wide[4080], 0);
    EXPECT_EQ(wide[4095], 0);
}

}  // namespace
