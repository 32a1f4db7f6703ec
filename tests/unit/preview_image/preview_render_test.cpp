// Re-rendering the preview: once per change of what it shows, the engine's curves and colour
// adjustment as a scan applies them, and the 8-bit conversion with each mode's palette.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/host/host_control.h"
#include "tests/unit/preview_image/test_images.h"
#include "window/preview_render.h"

namespace {

EnhancementRecord Neutral() {
    EnhancementRecord r{};
    for (ChannelAdjust& c : r.channel) c = ChannelAdjust{255, 0, 10, 0};
    std::memset(r.PixelRGB, 255, 3);
    return r;
}

PixelAt Flat(Rgb c) {
    return [c](uint32_t, uint32_t) { return c; };
}
// Column 0 one colour, the others another.
PixelAt Pair(Rgb first, Rgb rest) {
    return [=](uint32_t x, uint32_t) { return x ? rest : first; };
}

class PreviewRender_ : public ::testing::Test {
protected:
    void SetUp() override { plat::host::Reset(); }
    void TearDown() override {
        Drop();
        FreeColorTable(table);
        EXPECT_EQ(plat::host::LiveBlocks(), 0u);
    }
    void Use(uint32_t width, uint32_t height, const PixelAt& pixel) {
        Drop();
        image = MakeImage(width, height, pixel);
        ASSERT_TRUE(MakePreviewWorkingCopy(image, working));
        state.newImage = true;
    }
    void Drop() {
        FreePreviewBitmap(image);
        FreePreviewBitmap(working);
    }
    PreviewRender Render() { return RenderPreview(image, working, look, table, state); }
    // The colour a pixel of the working copy is shown in; the colour table and the logical
    // palette must agree.
    Rgb Shown(uint32_t x, uint32_t y) {
        if (working.bitCount == 24) return ReadPixel(working, x, y);
        const uint8_t i = ReadIndex(working, x, y);
        const uint8_t* p = state.palette.rgb[i];
        EXPECT_EQ(ReadTableEntry(working, i), (Rgb{p[0], p[1], p[2]}));
        return Rgb{p[0], p[1], p[2]};
    }

    PreviewBitmap image, working;
    PreviewLook look{Neutral(), kModeColor, true, false};
    PreviewRenderState state;
    ColorTable table;
};

TEST_F(PreviewRender_, AFullBedHighDensityImageIsRenderedOncePerChange) {
    Use(702, 1020, [](uint32_t x, uint32_t y) { return Rgb{uint8_t(x), uint8_t(y), 77}; });
    EXPECT_EQ(Render(), PreviewRender::Rendered);
    for (int paint = 0; paint < 3; ++paint) EXPECT_EQ(Render(), PreviewRender::Unchanged);
    look.record.Channel = 2;  // choosing another curve to edit changes no pixel
    EXPECT_EQ(Render(), PreviewRender::Unchanged);
    using Change = void (*)(PreviewLook&, PreviewRenderState&);
    const Change changes[] = {
        [](PreviewLook& l, PreviewRenderState&) { l.record.channel[kRed].gamma = 14; },
        [](PreviewLook& l, PreviewRenderState&) { l.record.Saturation = 20; },
        [](PreviewLook& l, PreviewRenderState&) { l.record.PixelRGB[1] = 90; },
        [](PreviewLook&, PreviewRenderState& s) { s.forced = true; },
        [](PreviewLook&, PreviewRenderState& s) { s.modeChanged = true; },
        [](PreviewLook& l, PreviewRenderState&) { l.trueColour = false; },
        [](PreviewLook& l, PreviewRenderState&) { l.scanMode = kModeGray; },
        [](PreviewLook& l, PreviewRenderState&) { l.outputMatch = true; },
        [](PreviewLook& l, PreviewRenderState&) { l.outputMatch = false; },
    };
    uint32_t renders = 1;
    for (Change change : changes) {
        change(look, state);
        EXPECT_EQ(Render(), PreviewRender::Rendered) << renders;
        EXPECT_EQ(Render(), PreviewRender::Unchanged) << renders;
        EXPECT_EQ(state.renders, ++renders);
    }
}

TEST_F(PreviewRender_, ColourAdjustmentWeighsEachComponentAsTheScanDoes) {
    // Each curve on its own channel, the master unused in colour.
    Use(2, 1, Flat({50, 50, 50}));
    look.record.channel[kRed].highlight = 127;  // a straight ramp reaching white at 127
    look.record.channel[kMaster].highlight = 60;
    ASSERT_EQ(Render(), PreviewRender::Rendered);
    EXPECT_EQ(Shown(0, 0), (Rgb{100, 50, 50}));  // 50 x 255 / 127 = 100.4

    // Saturation -100: the luminance 0.3086 R + 0.6094 G + 0.0820 B = 126.8, in all three.
    look = PreviewLook{Neutral(), kModeColor, true, false};
    look.record.Saturation = -100;
    Use(1, 1, Flat({200, 100, 50}));
    ASSERT_EQ(Render(), PreviewRender::Rendered);
    const Rgb gray = Shown(0, 0);
    EXPECT_TRUE(gray.r == gray.g && gray.g == gray.b);
    EXPECT_NEAR(gray.r, 126.8, 2.0);

    // Far beyond what 16-bit sums hold: colours pushed apart, grays stay.
    look.record.Saturation = 500000;
    Use(2, 1, Pair({90, 90, 90}, {200, 100, 50}));
    ASSERT_EQ(Render(), PreviewRender::Rendered);
    for (int c : {Shown(0, 0).r, Shown(0, 0).g, Shown(0, 0).b}) EXPECT_NEAR(c, 90, 2);
    EXPECT_EQ(Shown(1, 0), (Rgb{255, 0, 0}));

    // A picked colour stays itself and pulls black towards it by p x 10 / 512.
    look.record.Saturation = 0;
    look.record.PixelRGB[0] = 90, look.record.PixelRGB[1] = 120, look.record.PixelRGB[2] = 200;
    Use(2, 1, Pair({90, 120, 200}, {0, 0, 0}));
    ASSERT_EQ(Render(), PreviewRender::Rendered);
    EXPECT_EQ(Shown(0, 0), (Rgb{90, 120, 200}));
    EXPECT_EQ(Shown(1, 0), (Rgb{1, 2, 3}));
}

TEST_F(PreviewRender_, GrayModesShowTheMasterCurveOnceThroughTheGrayPalette) {
    Use(2, 1, Pair({50, 50, 50}, {200, 200, 200}));
    look.scanMode = kModeGray;  // through the palette even on a true-colour display
    look.record.channel[kMaster].highlight = 127;
    ASSERT_EQ(Render(), PreviewRender::Rendered);
    ASSERT_EQ(working.bitCount, 8);
    EXPECT_EQ(ReadIndex(working, 0, 0), 50);
    EXPECT_EQ(Shown(0, 0), (Rgb{100, 100, 100}));  // not 200, the curve applied twice
    EXPECT_EQ(Shown(1, 0), (Rgb{255, 255, 255}));
}

TEST_F(PreviewRender_, LineArtIsBlackBelowTheMiddleOfItsCurve) {
    Use(1, 1, Flat({0, 0, 0}));
    look.scanMode = kModeLineArt;
    look.record.channel[kMaster] = ChannelAdjust{200, 100, 25, 0};  // gamma is not used
    ASSERT_EQ(Render(), PreviewRender::Rendered);
    EXPECT_EQ(ReadTableEntry(working, 150), (Rgb{0, 0, 0}));  // (150 - 100) x 255 / 100 = 127
    EXPECT_EQ(ReadTableEntry(working, 151), (Rgb{255, 255, 255}));
}

TEST_F(PreviewRender_, ColourOnAPaletteDisplayIsDitheredToThe332Palette) {
    // Stored row 0 is the bottom row (y = 1 here), where the matrix row 0 applies.
    Use(8, 2, [](uint32_t x, uint32_t y) {
        return y == 1 ? Rgb{100, 200, 50} : (x == 3 ? Rgb{250, 10, 255} : Rgb{0, 0, 0});
    });
    look.trueColour = false;
    ASSERT_EQ(Render(), PreviewRender::Rendered);
    ASSERT_EQ(working.bitCount, 8);
    EXPECT_EQ(ReadIndex(working, 0, 1), 0x78);  // d = 0: r = 96 + 16, g = 192 + 16, b = 32
    EXPECT_EQ(Shown(0, 1), (Rgb{112, 208, 32}));
    EXPECT_EQ(ReadIndex(working, 1, 1), 0x79);  // d = 32: blue reaches 64 + 32 - 32
    EXPECT_EQ(Shown(1, 1), (Rgb{112, 208, 96}));
    // Stored row 1, column 3: d = 24; r = 256 + 16 - 24, g = 32 + 16 - 24, b 264 clamped.
    EXPECT_EQ(ReadIndex(working, 3, 0), 0xE3);
    EXPECT_EQ(Shown(3, 0), (Rgb{240, 16, 224}));
    EXPECT_EQ(ReadTableEntry(working, 0), (Rgb{16, 16, 32}));
}

TEST_F(PreviewRender_, OutputMatchingShowsTheColourTableAt24BitsAndLeavesTheImage) {
    // Small layout: inverted output curves after a unit matrix (weights 1.0, no offsets).
    std::vector<uint8_t> data(816, 0);
    for (int v = 0; v < 768; ++v) data[v] = uint8_t(255 - v % 256);
    const float one = 1.0f;
    for (int k = 0; k < 3; ++k) std::memcpy(&data[768 + 16 * k + 4 * (k + 1)], &one, 4);
    ASSERT_EQ(LoadColorTable(table, data.data(), data.size()), ColorTableLoad::Loaded);
    Use(2, 1, Pair({10, 20, 200}, {0, 128, 255}));
    look = PreviewLook{Neutral(), kModeColor, false, true};
    look.record.Saturation = -100;  // not used while matching
    ASSERT_EQ(Render(), PreviewRender::Rendered);
    EXPECT_EQ(working.bitCount, 24);  // even on a palette display
    EXPECT_EQ(ReadPixel(working, 0, 0), (Rgb{245, 235, 55}));
    EXPECT_EQ(ReadPixel(working, 1, 0), (Rgb{255, 127, 0}));
    EXPECT_EQ(ReadPixel(image, 0, 0), (Rgb{10, 20, 200}));
}

}  // namespace
