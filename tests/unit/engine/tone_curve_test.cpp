// Tone curves against values worked out by hand from the curve definitions.
#include <gtest/gtest.h>

#include <cstring>

#include "engine/tone_curve.h"

namespace {

constexpr ToneContext kGray{kModeGray, {0, 0, 0}};

struct Curve {
    uint8_t t[1024];
};

Curve Tone(ChannelAdjust ch, const ToneContext& context = kGray, int index = 3,
           bool balance = false, int length = 256, int levels = 256) {
    Curve c{};
    EXPECT_EQ(BuildToneTable(ch, length, levels, c.t, index, balance, context), 1);
    return c;
}

Curve BrightnessContrast(int brightness, int contrast, int gamma) {
    Curve c{};
    const ChannelAdjust ch{uint8_t(brightness), uint8_t(contrast), uint8_t(gamma), 0};
    EXPECT_EQ(BuildBrightnessContrastTable(ch, 256, 256, c.t), 1);
    return c;
}

TEST(ToneTable, StraightRampBetweenShadowAndHighlight) {
    const Curve neutral = Tone({255, 0, 10, 0});
    for (int i = 0; i < 256; ++i) ASSERT_EQ(neutral.t[i], i);

    const Curve c = Tone({192, 64, 10, 0});
    EXPECT_EQ(c.t[0], 0);
    EXPECT_EQ(c.t[64], 0);
    EXPECT_EQ(c.t[65], 1);     // 255 / 128 truncated
    EXPECT_EQ(c.t[128], 127);  // 127.5
    EXPECT_EQ(c.t[191], 253);
    EXPECT_EQ(c.t[192], 255);
    EXPECT_EQ(c.t[255], 255);

    // 11 entries over 5 levels: trunc(i x 4 / 10).
    const Curve small = Tone({255, 0, 10, 0}, kGray, 3, false, 11, 5);
    const uint8_t expected[11] = {0, 0, 0, 1, 1, 2, 2, 2, 3, 3, 4};
    EXPECT_EQ(std::memcmp(small.t, expected, 11), 0);
}

TEST(ToneTable, GammaBendsTheMiddleAndIsClamped) {
    const Curve g20 = Tone({192, 64, 20, 0});  // exponent 0.5
    EXPECT_EQ(g20.t[96], 127);
    EXPECT_EQ(g20.t[128], 180);
    EXPECT_EQ(g20.t[160], 220);
    EXPECT_EQ(g20.t[192], 255);

    const Curve g1 = Tone({192, 64, 1, 0});  // exponent 10
    EXPECT_EQ(g1.t[128], 0);
    EXPECT_EQ(g1.t[160], 14);
    EXPECT_EQ(g1.t[180], 95);
    // 0 and a negative gamma (the byte is signed) clamp to 1; 80 and above to 79.
    EXPECT_EQ(std::memcmp(Tone({192, 64, 0, 0}).t, g1.t, 256), 0);
    EXPECT_EQ(std::memcmp(Tone({192, 64, uint8_t(-5), 0}).t, g1.t, 256), 0);
    const Curve g80 = Tone({192, 64, 80, 0});
    EXPECT_EQ(g80.t[96], 213);
    EXPECT_EQ(g80.t[128], 233);
}

TEST(ToneTable, ColourBalanceAddsToGammaOnlyForColourChannels) {
    const ToneContext colour{kModeColor, {25, -7, 40}};
    // Red: 25 x 2 / 10 = 5 more; green: -14 / 10 truncates towards zero to -1.
    EXPECT_EQ(std::memcmp(Tone({192, 64, 10, 0}, colour, 0, true).t, Tone({192, 64, 15, 0}).t, 256), 0);
    EXPECT_EQ(std::memcmp(Tone({192, 64, 10, 0}, colour, 1, true).t, Tone({192, 64, 9, 0}).t, 256), 0);
    // Not asked for, the master channel, or not a colour scan: the channel's own gamma.
    EXPECT_EQ(std::memcmp(Tone({192, 64, 10, 0}, colour, 0, false).t, Tone({192, 64, 10, 0}).t, 256), 0);
    EXPECT_EQ(std::memcmp(Tone({192, 64, 10, 0}, colour, 3, true).t, Tone({192, 64, 10, 0}).t, 256), 0);
    const ToneContext gray{kModeGray, {25, 25, 25}};
    EXPECT_EQ(std::memcmp(Tone({192, 64, 10, 0}, gray, 0, true).t, Tone({192, 64, 10, 0}).t, 256), 0);
    // Line art is always straight.
    const ToneContext lineArt{kModeLineArt, {0, 0, 0}};
    EXPECT_EQ(std::memcmp(Tone({192, 64, 30, 0}, lineArt).t, Tone({192, 64, 10, 0}).t, 256), 0);
}

TEST(ToneTable, RefusesWithoutTouchingTheDestination) {
    uint8_t t[1025];
    std::memset(t, 0xAB, sizeof t);
    EXPECT_EQ(BuildToneTable({100, 100, 10, 0}, 256, 256, t, 3, false, kGray), 0);
    EXPECT_EQ(BuildToneTable({50, 100, 10, 0}, 256, 256, t, 3, false, kGray), 0);
    EXPECT_EQ(BuildToneTable({255, 0, 10, 0}, 0, 256, t, 3, false, kGray), 0);
    EXPECT_EQ(BuildToneTable({255, 0, 10, 0}, 1025, 256, t, 3, false, kGray), 0);
    EXPECT_EQ(BuildToneTable({255, 0, 10, 0}, 256, 0, t, 3, false, kGray), 0);
    EXPECT_EQ(BuildToneTable({255, 0, 10, 0}, 256, 257, t, 3, false, kGray), 0);
    for (uint8_t b : t) ASSERT_EQ(b, 0xAB);
    EXPECT_EQ(BuildToneTable({255, 0, 10, 0}, 1024, 256, t, 3, false, kGray), 1);
    EXPECT_EQ(t[1023], 255);
    EXPECT_EQ(t[1024], 0xAB);
}

TEST(BrightnessContrast, ContrastSteepensOrFlattensTheRamp) {
    const Curve neutral = BrightnessContrast(0, 0, 10);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(neutral.t[i], i);

    const Curve steep = BrightnessContrast(0, 51, 10);  // d = 51
    EXPECT_EQ(steep.t[51], 0);
    EXPECT_EQ(steep.t[52], 1);
    EXPECT_EQ(steep.t[128], 128);
    EXPECT_EQ(steep.t[203], 253);
    EXPECT_EQ(steep.t[204], 255);

    const Curve flat = BrightnessContrast(0, -51, 10);  // trunc(51 + 153 i / 255)
    EXPECT_EQ(flat.t[0], 51);
    EXPECT_EQ(flat.t[128], 127);
    EXPECT_EQ(flat.t[255], 204);

    const Curve none = BrightnessContrast(0, -128, 10);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(none.t[i], 128);
}

TEST(BrightnessContrast, BrightnessShiftsAndClipsThenGammaBendsTheUnclippedPart) {
    const Curve up = BrightnessContrast(51, 0, 10);
    EXPECT_EQ(up.t[0], 51);
    EXPECT_EQ(up.t[100], 151);
    EXPECT_EQ(up.t[204], 255);
    EXPECT_EQ(up.t[205], 255);

    const Curve down = BrightnessContrast(-51, 0, 10);
    EXPECT_EQ(down.t[50], 0);
    EXPECT_EQ(down.t[52], 1);
    EXPECT_EQ(down.t[255], 204);

    // Bent between 0 (51) and 204 (255), the first clipped entry less one.
    const Curve bent = BrightnessContrast(51, 0, 20);
    EXPECT_EQ(bent.t[0], 51);
    EXPECT_EQ(bent.t[102], 195);
    EXPECT_EQ(bent.t[204], 255);

    const Curve gamma18 = BrightnessContrast(0, 0, 18);
    EXPECT_EQ(gamma18.t[1], 11);
    EXPECT_EQ(gamma18.t[64], 118);
    EXPECT_EQ(gamma18.t[128], 173);
    EXPECT_EQ(gamma18.t[200], 222);
    EXPECT_EQ(gamma18.t[255], 255);
}

TEST(BrightnessContrast, RefusesSizesAndGammaOutOfRange) {
    uint8_t t[1024];
    EXPECT_EQ(BuildBrightnessContrastTable({0, 0, 10, 0}, 20, 256, t), 0);
    EXPECT_EQ(BuildBrightnessContrastTable({0, 0, 10, 0}, 21, 256, t), 1);
    EXPECT_EQ(BuildBrightnessContrastTable({0, 0, 10, 0}, 1025, 256, t), 0);
    EXPECT_EQ(BuildBrightnessContrastTable({0, 0, 10, 0}, 256, 20, t), 0);
    EXPECT_EQ(BuildBrightnessContrastTable({0, 0, 10, 0}, 256, 21, t), 1);
    EXPECT_EQ(BuildBrightnessContrastTable({0, 0, 10, 0}, 256, 257, t), 0);
    EXPECT_EQ(BuildBrightnessContrastTable({0, 0, 0, 0}, 256, 256, t), 0);
    EXPECT_EQ(BuildBrightnessContrastTable({0, 0, 80, 0}, 256, 256, t), 0);
}

TEST(BrightnessContrast, ExtremesStayInsideTheTable) {
    // The steepest contrast with the strongest brightness either way: the clipped ends
    // leave nothing or a flat part to bend, and nothing is written outside the table.
    uint8_t t[258];
    std::memset(t, 0xAB, sizeof t);
    EXPECT_EQ(BuildBrightnessContrastTable({uint8_t(-128), 127, 5, 0}, 256, 256, t + 1), 1);
    EXPECT_EQ(t[0], 0xAB);
    EXPECT_EQ(t[257], 0xAB);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(t[i + 1], i < 128 ? 0 : 127) << i;
    EXPECT_EQ(BuildBrightnessContrastTable({127, 127, 79, 0}, 256, 256, t + 1), 1);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(t[i + 1], i < 128 ? 127 : 255) << i;
    EXPECT_EQ(t[257], 0xAB);
}

}  // namespace
