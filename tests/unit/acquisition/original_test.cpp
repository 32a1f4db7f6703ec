// Scans of a known original compared with the original itself, not with anything the source
// sent the scanner: a gray (PGM) and a colour (PPM) print at 100 dpi on the bed, scanned with
// neutral settings at a whole multiple or divisor of its resolution, must give back its
// pixels of the framed area, the ones under the centre of each delivered pixel, by every
// transfer. Neutral settings must download identity tone tables for that to hold.
#include <filesystem>
#include <fstream>
#include <tuple>

#include "link/request_blocks_in_use.h"
#include "settings/scan_settings.h"
#include "tests/unit/acquisition/delivered_pictures.h"
#include "tests/unit/acquisition/transfer_fixture.h"
#include "tests/unit/acquisition/window_scan.h"
#include "twain/ds_entry.h"
#include "twain/negotiation.h"

namespace {

constexpr uint32_t kDpi = 100, kWidth = 200, kHeight = 150;  // a 2 x 1.5 inch print

// Every pixel different from its neighbours in every channel: a misplaced row or column, or
// a wrong level, cannot go unnoticed.
uint8_t Sample(uint32_t x, uint32_t y, uint32_t c) {
    return uint8_t((x * 37 + y * 101 + c * 71 + (x * y) % 13 * 11) % 256);
}

void WritePrint(const std::filesystem::path& path, uint32_t channels) {
    std::ofstream out(path, std::ios::binary);
    out << (channels == 3 ? "P6" : "P5") << "\n" << kWidth << " " << kHeight << "\n255\n";
    for (uint32_t y = 0; y < kHeight; ++y)
        for (uint32_t x = 0; x < kWidth; ++x)
            for (uint32_t c = 0; c < channels; ++c) out.put(char(Sample(x, y, channels == 3 ? c : 0)));
}

struct Frame {
    double left, top, right, bottom;
};

// Channels of the print, and the scanner model (256-entry tables on the 600 dpi one, 4096 on
// the 1200 dpi one).
class OriginalTest : public TransferTest,
                     public ::testing::WithParamInterface<std::tuple<uint32_t, const char*>> {
protected:
    void SetUp() override {
        TransferTest::SetUp();
        channels = std::get<0>(GetParam());
        Simulate("Model", std::get<1>(GetParam()));
        WritePrint(windowsDir / "print.pnm", channels);
        Simulate("Original", (windowsDir / "print.pnm").string());
        Simulate("OriginalDpi", std::to_string(kDpi));
        ASSERT_EQ(Open(), TWRC_SUCCESS);
    }

    bool Scan(uint16_t resolution, const Frame& f, TW_UINT8 mechanism) {
        const uint16_t mode = channels == 3 ? kModeColor : kModeGray;
        return ScanFromWindowWith(
            [&](ScanSettings& s) {
                s.ScanMode = mode;
                s.ScanRes = resolution;
                for (ChannelAdjust& c : s.Enhancement.channel) c = ChannelAdjust{255, 0, 10, 0};
            },
            mechanism, f.left, f.top, f.right, f.bottom);
    }

    // The original's pixel under the centre of delivered pixel (x, y).
    uint8_t Expected(const Frame& f, uint16_t resolution, uint32_t x, uint32_t y, uint32_t c) const {
        const uint64_t units[2] = {uint64_t(f.left * 1200 + 0.5), uint64_t(f.top * 1200 + 0.5)};
        const uint64_t at[2] = {x, y};
        uint32_t index[2];
        for (int i = 0; i < 2; ++i)
            index[i] = uint32_t((2 * units[i] * resolution + (2 * at[i] + 1) * 1200) * kDpi /
                                (2400ull * resolution));
        return Sample(index[0], index[1], channels == 3 ? c : 0);
    }

    // Neutral settings download tables that leave every level as it is.
    void ExpectIdentityTables() {
        const SendGammaBlock& g = TheRequests.sendGamma;
        for (uint32_t slot = channels == 3 ? 1 : 0; slot < (channels == 3 ? 4u : 1u); ++slot)
            for (uint32_t i = 0; i < g.slots[slot].entries; ++i)
                ASSERT_EQ(g.slots[slot].table[i], g.slots[slot].entries == 4096 ? i >> 4 : i)
                    << "slot " << slot << " entry " << i;
    }

    uint32_t channels = 1;
};

TEST_P(OriginalTest, NeutralScansGiveBackTheOriginal) {
    for (const Frame& f : {Frame{0.2, 0.3, 1.2, 1.0}, Frame{0.55, 0.1, 1.9, 1.4}})
        for (uint16_t resolution : {50, 100, 200, 300})
            for (TW_UINT8 mechanism : {0, 2, 1}) {
                SCOPED_TRACE(testing::Message() << resolution << " dpi, frame at " << f.left << ", "
                                                << f.top << ", mechanism " << int(mechanism));
                ASSERT_TRUE(Scan(resolution, f, mechanism));
                ExpectIdentityTables();
                const Picture p = mechanism == 0   ? NativePicture(app)
                                  : mechanism == 2 ? MemoryPicture(app, 100000)
                                                   : FilePicture(app, (windowsDir / "out.tif").string());
                ASSERT_EQ(p.error, "");
                EXPECT_NEAR(p.width, (f.right - f.left) * resolution, 4);
                EXPECT_NEAR(p.height, (f.bottom - f.top) * resolution, 1);
                uint32_t wrong = 0;
                for (uint32_t y = 0; y < p.height; ++y)
                    for (uint32_t x = 0; x < p.width; ++x)
                        for (uint32_t c = 0; c < p.channels; ++c)
                            wrong += p.At(x, y, c) != Expected(f, resolution, x, y, c);
                EXPECT_EQ(wrong, 0u);
                FinishPage();
            }
}

INSTANTIATE_TEST_SUITE_P(GrayAndColour, OriginalTest,
                         ::testing::Combine(::testing::Values(1u, 3u), ::testing::Values("600", "1200")));

}  // namespace
