// A whole acquisition without the window through the entry point, against the simulated
// scanner: enable, image information, native transfer, end; the bitmap must be exactly the
// image the scanner's reference render says a correct source delivers.
#include <cstring>
#include <vector>

#include "ds_entry.h"
#include "host_control.h"
#include "negotiation.h"
#include "open_fixture.h"
#include "reference.h"
#include "request_blocks_in_use.h"
#include "source_record.h"

namespace {

TW_FIX32 Inches(double value) {
    const int32_t fixed = static_cast<int32_t>(value * 65536.0 + 0.5);
    return TW_FIX32{static_cast<TW_INT16>(fixed >> 16), static_cast<TW_UINT16>(fixed & 0xFFFF)};
}

struct Bitmap {
    int32_t width = 0, height = 0;
    uint16_t bitCount = 0;
    uint32_t paletteEntries = 0;
    std::vector<uint8_t> bytes;
    uint32_t Stride() const { return ((uint32_t(width) * bitCount + 31) & ~31u) / 8; }
    const uint8_t* Row(uint32_t topDown) const {  // rows are stored bottom-up
        return bytes.data() + 40 + 4 * paletteEntries + (height - 1 - topDown) * Stride();
    }
};

class NativeTransferTest : public OpenTest {
protected:
    void SetUp() override {
        OpenTest::SetUp();
        ASSERT_EQ(Open(), TWRC_SUCCESS);
    }
    void SetFrame(double left, double top, double right, double bottom) {
        TW_IMAGELAYOUT layout{};
        layout.Frame = {Inches(left), Inches(top), Inches(right), Inches(bottom)};
        ASSERT_EQ(DS_Entry(&app, DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET, &layout), TWRC_SUCCESS);
    }
    TW_UINT16 Enable() {
        TW_USERINTERFACE ui{0, 0, nullptr};
        return DS_Entry(&app, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui);
    }
    TW_UINT16 Transfer(Bitmap& bitmap) {
        TW_UINTPTR handle = 0;
        TW_UINT16 rc = DS_Entry(&app, DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle);
        if (rc != TWRC_XFERDONE || handle == 0) return rc;
        auto h = reinterpret_cast<plat::MemHandle>(handle);
        const auto* p = static_cast<const uint8_t*>(plat::MemLock(h));
        bitmap.bytes.assign(p, p + plat::MemSize(h));
        std::memcpy(&bitmap.width, p + 4, 4);
        std::memcpy(&bitmap.height, p + 8, 4);
        std::memcpy(&bitmap.bitCount, p + 14, 2);
        std::memcpy(&bitmap.paletteEntries, p + 32, 4);
        plat::MemUnlock(h);
        plat::MemFree(h);  // the application owns it now
        return rc;
    }
    // The scanner's reference for the window and tone tables this source actually sent.
    ReferenceImage Reference() {
        const SetParametersBlock& set = TheRequests.setParameters;
        ReferenceRequest request;
        request.window.xStart = set.xStart;
        request.window.yStart = set.yStart;
        request.window.xEnd = set.xEnd;
        request.window.yEnd = set.yEnd;
        request.window.source = set.source;
        request.window.colourType = set.colourType;
        request.window.resolution = set.resolution;
        static ToneState tones;
        const SendGammaBlock& gamma = TheRequests.sendGamma;
        tones.entries = gamma.slots[0].entries;
        for (size_t i = 0; i < kToneSlots; ++i)
            std::memcpy(tones.slots[i], gamma.slots[i].table, sizeof tones.slots[i]);
        tones.threshold = gamma.threshold;
        request.tones = &tones;
        ReferenceImage image;
        std::string error;
        EXPECT_TRUE(RenderReference(SimulatorConfig{}, request, image, error)) << error;
        return image;
    }
    bool XferReadySent() {
        for (const auto& n : plat::host::Notifications())
            if (n.msg == MSG_XFERREADY) return true;
        return false;
    }
};

TEST_F(NativeTransferTest, ColourPageMatchesTheReferenceRender) {
    TheNegotiation.PixelTypeIndex = 2;   // RGB
    TheNegotiation.ResolutionIndex = 2;  // 150 dpi
    SetFrame(1.0, 2.0, 3.0, 3.5);
    ASSERT_EQ(Enable(), TWRC_SUCCESS);
    ASSERT_EQ(TheSource.SourceState, 600);
    EXPECT_TRUE(XferReadySent());

    TW_IMAGEINFO info{};
    ASSERT_EQ(DS_Entry(&app, DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info), TWRC_SUCCESS);
    EXPECT_EQ(info.PixelType, TWPT_RGB);
    EXPECT_EQ(info.BitsPerPixel, 24);
    EXPECT_EQ(info.XResolution.Whole, 150);
    EXPECT_EQ(info.ImageLength, 225);

    Bitmap bitmap;
    ASSERT_EQ(Transfer(bitmap), TWRC_XFERDONE);
    EXPECT_EQ(TheSource.SourceState, 700);
    EXPECT_EQ(bitmap.bitCount, 24);
    EXPECT_EQ(bitmap.width, info.ImageWidth);
    EXPECT_EQ(bitmap.height, info.ImageLength);

    const ReferenceImage ref = Reference();
    ASSERT_EQ(ref.lines, uint32_t(bitmap.height));
    ASSERT_EQ(ref.pixels, uint32_t(bitmap.width));
    size_t differing = 0;
    for (uint32_t y = 0; y < ref.lines; ++y) {
        const uint8_t* want = ref.data.data() + y * ref.bytesPerLine;
        const uint8_t* got = bitmap.Row(y);
        for (uint32_t x = 0; x < ref.pixels; ++x)
            for (int c = 0; c < 3; ++c) differing += got[3 * x + 2 - c] != want[3 * x + c];
    }
    EXPECT_EQ(differing, 0u);

    TW_PENDINGXFERS pending{};
    EXPECT_EQ(DS_Entry(&app, DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending), TWRC_SUCCESS);
    EXPECT_EQ(TheSource.SourceState, 500);
    EXPECT_EQ(plat::host::LiveBlocks(), 4u);  // only the level-correction tables remain
}

TEST_F(NativeTransferTest, GrayAndLineArtPagesMatchTheReference) {
    for (int pixelType : {1, 0}) {
        TheNegotiation.PixelTypeIndex = static_cast<TW_UINT8>(pixelType);
        TheNegotiation.ResolutionIndex = 3;  // 200 dpi
        SetFrame(0.5, 0.5, 2.5, 1.25);
        ASSERT_EQ(Enable(), TWRC_SUCCESS) << pixelType;
        Bitmap bitmap;
        ASSERT_EQ(Transfer(bitmap), TWRC_XFERDONE) << pixelType;
        const ReferenceImage ref = Reference();
        ASSERT_EQ(ref.lines, uint32_t(bitmap.height));
        EXPECT_EQ(bitmap.bitCount, pixelType == 1 ? 8 : 1);
        for (uint32_t y = 0; y < ref.lines; ++y)
            ASSERT_EQ(std::memcmp(bitmap.Row(y), ref.data.data() + y * ref.bytesPerLine,
                                  ref.bytesPerLine), 0)
                << "row " << y << " of pixel type " << pixelType;
        TW_PENDINGXFERS pending{};
        ASSERT_EQ(DS_Entry(&app, DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending), TWRC_SUCCESS);
        TW_USERINTERFACE ui{0, 0, nullptr};
        ASSERT_EQ(DS_Entry(&app, DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui), TWRC_SUCCESS);
    }
}

}  // namespace
