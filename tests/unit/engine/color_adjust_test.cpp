// The colour adjustment against a plain reference written straight from its definition
// (per pixel: curves in bitmap order, picked-colour correction, nine truncated products,
// clamp), on edge and random inputs, plus values worked out by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "engine/color_adjust.h"
#include "engine/color_adjust_plan.h"

namespace {

using Pixels = std::vector<uint8_t>;

int Clamp(double x) { return x < 0 ? 0 : (x > 255 ? 255 : int(x)); }

Pixels Reference(const Pixels& src, const EnhancementRecord& r, uint16_t mode, PixelOrder order,
                 const ToneTables& tones) {
    const double s = mode == kModeColor ? (double(r.Saturation) + 100) * 2.0 / 200.0 : 1.0;
    const double w[3] = {0.3086, 0.6094, 0.0820};
    float m[3][3];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) m[i][j] = float((1 - s) * w[i] + (i == j ? s : 0));
    const uint8_t* rgb = r.PixelRGB;
    const bool pick = rgb[0] != 255 && rgb[1] != 255 && rgb[2] != 255 &&
                      (rgb[0] | rgb[1] | rgb[2]) != 0;
    int p[3] = {255, 255, 255};
    if (mode == kModeColor) {
        const bool scanner = order == PixelOrder::Scanner;
        p[0] = scanner ? rgb[0] : rgb[2], p[1] = rgb[1], p[2] = scanner ? rgb[2] : rgb[0];
    }
    const uint8_t* curve[3] = {tones.blue, tones.green, tones.red};
    Pixels out(src.size());
    for (size_t i = 0; i + 2 < src.size(); i += 3) {
        int c[3];
        for (int b = 0; b < 3; ++b) {
            c[b] = src[i + b];
            if (order == PixelOrder::Bitmap) c[b] = curve[b][c[b]];
            if (pick) c[b] = Clamp(std::trunc((p[b] - c[b]) * (c[b] + 10) / 512.0 + c[b]));
        }
        for (int k = 0; k < 3; ++k) {
            double sum = 0;
            for (int in = 0; in < 3; ++in) sum += std::trunc(double(c[in]) * double(m[in][k]));
            out[i + k] = uint8_t(Clamp(sum));
        }
    }
    return out;
}

EnhancementRecord Neutral() {
    EnhancementRecord r{};
    std::memset(r.PixelRGB, 255, 3);
    return r;
}

ToneTables Identity() {
    ToneTables t;
    for (int i = 0; i < 256; ++i) t.blue[i] = t.green[i] = t.red[i] = uint8_t(i);
    return t;
}

// Every value in every byte position, both clamping corners, then random pixels.
Pixels EdgeAndRandomPixels(std::mt19937& random, size_t extra) {
    Pixels px;
    for (int v = 0; v < 256; ++v)
        px.insert(px.end(), {uint8_t(v), uint8_t(255 - v), uint8_t(v * 37)});
    for (uint8_t a : {0, 255})
        for (uint8_t b : {0, 255})
            for (uint8_t c : {0, 255}) px.insert(px.end(), {a, b, c});
    for (size_t i = 0; i < 3 * extra; ++i) px.push_back(uint8_t(random()));
    return px;
}

class ColorAdjustTest : public ::testing::Test {
protected:
    void SetUp() override { ResetToneColourState(); }
    void TearDown() override { ResetToneColourState(); }

    Pixels Adjust(const Pixels& src, const EnhancementRecord& r, uint16_t mode) {
        Pixels out(src.size(), 0xCD);
        ApplyColorAdjust(uint32_t(src.size() / 3), 1, out.data(), src.data(), r, mode);
        return out;
    }
    void ExpectMatchesReference(const Pixels& src, const EnhancementRecord& r, uint16_t mode) {
        const Pixels expected = Reference(src, r, mode, TheToneColour.order, TheToneColour.tones);
        ASSERT_EQ(Adjust(src, r, mode), expected) << "saturation " << r.Saturation;
        Pixels inPlace = src;
        ApplyColorAdjust(uint32_t(src.size() / 3), 1, inPlace.data(), inPlace.data(), r, mode);
        ASSERT_EQ(inPlace, expected);
        // The same pixels stored blue, green, red for a BMP file, by every kernel.
        Pixels swapped = expected;
        for (size_t i = 0; i + 2 < swapped.size(); i += 3) std::swap(swapped[i], swapped[i + 2]);
        Pixels out(src.size(), 0xCD);
        ApplyColorAdjust(uint32_t(src.size() / 3), 1, out.data(), src.data(), r, mode, true);
        ASSERT_EQ(out, swapped) << "swapped, saturation " << r.Saturation;
        inPlace = src;
        ApplyColorAdjust(uint32_t(src.size() / 3), 1, inPlace.data(), inPlace.data(), r, mode,
                         true);
        ASSERT_EQ(inPlace, swapped) << "swapped in place, saturation " << r.Saturation;
    }
};

TEST_F(ColorAdjustTest, NeutralSettingsChangeNothing) {
    std::mt19937 random(1);
    const Pixels px = EdgeAndRandomPixels(random, 100);
    TheToneColour.tones = Identity();
    for (PixelOrder order : {PixelOrder::Scanner, PixelOrder::Bitmap}) {
        TheToneColour.order = order;
        for (uint16_t mode : {kModeLineArt, kModeGray, kModeColor}) EXPECT_EQ(Adjust(px, Neutral(), mode), px);
    }
    // Away from colour scans saturation has no effect.
    EnhancementRecord r = Neutral();
    r.Saturation = -100;
    EXPECT_EQ(Adjust(px, r, kModeFastGray), px);
}

TEST_F(ColorAdjustTest, SaturationTruncatesEachTermThenClamps) {
    TheToneColour.order = PixelOrder::Scanner;
    EnhancementRecord r = Neutral();
    r.Saturation = -100;  // weighted luminance: 61 + 60 + 4
    EXPECT_EQ(Adjust({200, 100, 50}, r, kModeColor), (Pixels{125, 125, 125}));
    r.Saturation = 100;  // s = 2: 169 - 60 - 8, -30 + 139 - 8, -30 - 60 + 191
    EXPECT_EQ(Adjust({100, 100, 100}, r, kModeColor), (Pixels{101, 101, 101}));
    EXPECT_EQ(Adjust({255, 0, 0}, r, kModeColor), (Pixels{255, 0, 0}));
}

TEST_F(ColorAdjustTest, PickedColourPullsTowardsItsComponentsInThePixelsOrder) {
    EnhancementRecord r = Neutral();
    const Pixels black = {0, 0, 0};
    for (auto none : {std::array<uint8_t, 3>{255, 200, 200}, std::array<uint8_t, 3>{0, 0, 0}}) {
        std::memcpy(r.PixelRGB, none.data(), 3);
        EXPECT_EQ(Adjust(black, r, kModeColor), black);
    }
    const uint8_t picked[3] = {100, 150, 200};
    std::memcpy(r.PixelRGB, picked, 3);
    TheToneColour.order = PixelOrder::Scanner;
    // trunc(p x 10 / 512) at 0; trunc((100 - 255) x 265 / 512 + 255) at 255.
    EXPECT_EQ(Adjust(black, r, kModeColor), (Pixels{1, 2, 3}));
    EXPECT_EQ(Adjust({255, 255, 255}, r, kModeColor)[0], 174);
    TheToneColour.tones = Identity();
    TheToneColour.order = PixelOrder::Bitmap;
    EXPECT_EQ(Adjust(black, r, kModeColor), (Pixels{3, 2, 1}));
    // Gray and line art are pulled towards white, whatever was picked: trunc(2550 / 512).
    EXPECT_EQ(Adjust(black, r, kModeGray), (Pixels{4, 4, 4}));
    EXPECT_EQ(Adjust({255, 255, 255}, r, kModeLineArt), (Pixels{255, 255, 255}));
}

TEST_F(ColorAdjustTest, BitmapOrderRunsTheCurvesFirstScannerOrderNever) {
    ToneTables t = Identity();
    for (int i = 0; i < 256; ++i) t.blue[i] = uint8_t(255 - i), t.red[i] = uint8_t(i / 2);
    TheToneColour.tones = t;
    TheToneColour.order = PixelOrder::Bitmap;
    EXPECT_EQ(Adjust({10, 20, 30}, Neutral(), kModeColor), (Pixels{245, 20, 15}));
    TheToneColour.order = PixelOrder::Scanner;
    EXPECT_EQ(Adjust({10, 20, 30}, Neutral(), kModeColor), (Pixels{10, 20, 30}));
}

TEST_F(ColorAdjustTest, MatchesTheReferenceOnRandomSettings) {
    std::mt19937 random(42);
    const Pixels px = EdgeAndRandomPixels(random, 2000);
    // 13700 still fits the 16-bit lanes, 13900 no longer does.
    const int32_t saturations[] = {-100, -99, -50, -1, 0,     1,     37,
                                   99,   100, 150, 9999, 13700, 13900, -13800};
    for (int round = 0; round < 84; ++round) {
        EnhancementRecord r = Neutral();
        r.Saturation = saturations[round % std::size(saturations)];
        if (round % 3 != 0)
            for (uint8_t& c : r.PixelRGB) c = uint8_t(random() % 255);
        ToneTables t;
        for (uint8_t* curve : {t.blue, t.green, t.red})
            for (int i = 0; i < 256; ++i) curve[i] = uint8_t(round % 2 ? random() : i);
        TheToneColour.tones = t;
        TheToneColour.order = round % 4 < 2 ? PixelOrder::Scanner : PixelOrder::Bitmap;
        const uint16_t mode = round % 5 == 4 ? kModeGray : kModeColor;
        ExpectMatchesReference(px, r, mode);
    }
}

TEST_F(ColorAdjustTest, ExtremeSaturationStaysExact) {
    std::mt19937 random(7);
    const Pixels px = EdgeAndRandomPixels(random, 500);
    TheToneColour.order = PixelOrder::Scanner;
    for (int32_t saturation : {200000, 1000000, -1000000}) {
        EnhancementRecord r = Neutral();
        r.Saturation = saturation;
        ColorAdjustInputs in{{255, 255, 255}, saturation, kModeColor, PixelOrder::Scanner, false,
                             {}};
        ColorAdjustPlan plan;
        PrepareColorAdjust(in, plan);
        EXPECT_EQ(plan.kernel, AdjustKernel::Wide);  // the path under test
        ExpectMatchesReference(px, r, kModeColor);
    }
}

TEST_F(ColorAdjustTest, FollowsEveryChangeBetweenCalls) {
    std::mt19937 random(3);
    const Pixels px = EdgeAndRandomPixels(random, 50);
    TheToneColour.tones = Identity();
    TheToneColour.order = PixelOrder::Bitmap;
    EnhancementRecord r = Neutral();
    ExpectMatchesReference(px, r, kModeColor);
    r.Saturation = -60;
    ExpectMatchesReference(px, r, kModeColor);
    r.PixelRGB[1] = 20, r.PixelRGB[0] = r.PixelRGB[2] = 90;
    ExpectMatchesReference(px, r, kModeColor);
    ExpectMatchesReference(px, r, kModeGray);
    TheToneColour.tones.green[128] = 7;
    ExpectMatchesReference(px, r, kModeColor);
    TheToneColour.order = PixelOrder::Scanner;
    ExpectMatchesReference(px, r, kModeColor);
}

TEST_F(ColorAdjustTest, WholeLinesOneAfterAnother) {
    std::mt19937 random(9);
    Pixels px(3 * 7 * 5);
    for (uint8_t& b : px) b = uint8_t(random());
    EnhancementRecord r = Neutral();
    r.Saturation = 40;
    TheToneColour.order = PixelOrder::Scanner;
    Pixels out(px.size());
    ApplyColorAdjust(7, 5, out.data(), px.data(), r, kModeColor);
    EXPECT_EQ(out, Reference(px, r, kModeColor, PixelOrder::Scanner, {}));
}

TEST(ColorMatrix, HelpersComposeOnTheRight) {
    ColorMatrix m;
    MatrixIdentity(m);
    const float s = std::sin(0.7f), c = std::cos(0.7f);
    MatrixRotateX(m, s, c);
    MatrixRotateY(m, s, c);
    MatrixRotateY(m, -s, c);
    MatrixRotateX(m, -s, c);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) EXPECT_NEAR(m.m[i][j], i == j ? 1.0f : 0.0f, 1e-6);

    float out[3];
    MatrixIdentity(m);
    MatrixRotateZ(m, 1.0f, 0.0f);
    MatrixTransformPoint(m, {1, 0, 0}, out);
    EXPECT_NEAR(out[0], 0, 1e-6);
    EXPECT_NEAR(out[1], 1, 1e-6);
    MatrixIdentity(m);
    MatrixShearZ(m, 0.5f, 0.25f);
    MatrixTransformPoint(m, {4, 8, 1}, out);
    EXPECT_FLOAT_EQ(out[2], 1 + 2 + 2);
    MatrixIdentity(m);
    MatrixSaturate(m, 0.0);
    MatrixTransformPoint(m, {100, 100, 100}, out);
    EXPECT_NEAR(out[0], 100, 1e-3);
    EXPECT_NEAR(out[2], 100, 1e-3);
}

TEST(ResetEnhancements, NeutralColourChannelsMasterKept) {
    for (uint16_t sub : {kSubMode24Bit, kSubModeCmyk, kSubMode36Bit}) {
        for (bool cms : {false, true}) {
            ScanSettings s;
            s.ScanSubMode = sub;
            s.FilterMode = 3;
            s.Enhancement.channel[kMaster] = {200, 20, 14, 0};
            s.Enhancement.channel[kRed] = {100, 90, 30, 0};
            s.Enhancement.Saturation = 50;
            s.Enhancement.Channel = 2;
            EnhancementRecord working = s.Enhancement;
            ResetEnhancements(s, working, cms);
            const uint8_t gamma = sub != kSubMode36Bit && !cms ? 18 : 10;
            for (const EnhancementRecord* e : {&s.Enhancement, &working}) {
                EXPECT_EQ(e->channel[kRed].highlight, 255);
                EXPECT_EQ(e->channel[kRed].shadow, 0);
                EXPECT_EQ(e->channel[kBlue].gamma, gamma) << sub << cms;
                EXPECT_EQ(e->channel[kMaster].gamma, 14);
                EXPECT_EQ(e->Saturation, 0);
                EXPECT_EQ(e->Channel, 0);
                EXPECT_EQ(e->PixelRGB[1], 255);
                EXPECT_EQ(e->CirclePos[1], 115);
            }
            EXPECT_EQ(s.FilterMode, 0);
        }
    }
    ScanSettings gray;
    gray.ScanMode = kModeGray;
    EnhancementRecord working{};
    ResetEnhancements(gray, working, false);
    EXPECT_EQ(working.channel[kGreen].gamma, 10);
}

}  // namespace
