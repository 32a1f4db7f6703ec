// Native transfers against the scanner's reference render, with and without the window, in
// every mode and resolution, and what the read loop does when the scanner misbehaves or the
// user presses Escape.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "engine/scan_job_state.h"
#include "link/request_blocks_in_use.h"
#include "platform/host/host_control.h"
#include "session/call_codes.h"
#include "settings/scan_settings.h"
#include "tests/unit/acquisition/transfer_fixture.h"
#include "tests/unit/acquisition/window_scan.h"
#include "twain/capability_kept.h"
#include "twain/ds_entry.h"
#include "twain/negotiation.h"
#include "twain/source_record.h"

namespace {

struct NativeImage {
    int32_t width = 0, height = 0;
    uint16_t bitCount = 0;
    uint32_t palette = 0;
    std::vector<uint8_t> bytes;
    uint32_t Stride() const { return ((uint32_t(width) * bitCount + 31) & ~31u) / 8; }
    const uint8_t* Row(uint32_t topDown) const {
        return bytes.data() + 40 + 4 * palette + (height - 1 - topDown) * Stride();
    }
};

class NativeTransferTest : public TransferTest {
protected:
    TW_UINT16 Transfer(NativeImage& image, TW_UINTPTR& handle) {
        handle = 0xDEAD;
        const TW_UINT16 rc = DS_Entry(&app, DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle);
        if (rc != TWRC_XFERDONE || handle == 0) return rc;
        auto h = reinterpret_cast<plat::MemHandle>(handle);
        const auto* p = static_cast<const uint8_t*>(plat::MemLock(h));
        image.bytes.assign(p, p + plat::MemSize(h));
        std::memcpy(&image.width, p + 4, 4);
        std::memcpy(&image.height, p + 8, 4);
        std::memcpy(&image.bitCount, p + 14, 2);
        std::memcpy(&image.palette, p + 32, 4);
        plat::MemUnlock(h);
        plat::MemFree(h);
        return rc;
    }
    // Every row of the bitmap against the reference (colour stored blue, green, red).
    size_t DifferingBytes(const NativeImage& image, const ReferenceImage& ref) {
        if (uint32_t(image.height) != ref.lines) return SIZE_MAX;
        size_t differing = 0;
        for (uint32_t y = 0; y < ref.lines; ++y) {
            const uint8_t* want = ref.data.data() + y * ref.bytesPerLine;
            const uint8_t* got = image.Row(y);
            if (image.bitCount != 24) {
                differing += std::memcmp(got, want, ref.bytesPerLine) != 0;
                continue;
            }
            for (uint32_t x = 0; x < ref.pixels; ++x)
                for (int c = 0; c < 3; ++c) differing += got[3 * x + 2 - c] != want[3 * x + c];
        }
        return differing;
    }
    std::vector<std::string> Captions() const {
        std::vector<std::string> out;
        for (const auto& box : plat::host::MessageBoxes()) out.push_back(box.caption + "|" + box.text);
        return out;
    }
};

TEST_F(NativeTransferTest, EveryModeAtEveryResolutionIsTheReferenceImage) {
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    const uint16_t modes[] = {kModeLineArt, kModeFastGray, kModeGray, kModeColor};
    for (uint16_t resolution : {75, 150, 300, 600}) {
        for (uint16_t mode : modes) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << " at " << resolution << " dpi");
            ASSERT_TRUE(ScanFromWindow(mode, 0, resolution, 1.0, 1.5, 2.6, 2.4));
            NativeImage image;
            TW_UINTPTR handle = 0;
            ASSERT_EQ(Transfer(image, handle), TWRC_XFERDONE);
            EXPECT_EQ(image.bitCount, mode == kModeLineArt ? 1 : mode == kModeColor ? 24 : 8);
            EXPECT_EQ(DifferingBytes(image, Reference()), 0u);
            FinishPage();
        }
    }
    EXPECT_TRUE(plat::host::MessageBoxes().empty());
}

TEST_F(NativeTransferTest, DeepColourBecomesATrueWidth24BitBitmap) {
    std::strcpy(app.ProductName, "Photoshop");
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    ASSERT_TRUE(ScanFromWindow(kModeColor, kSubMode36Bit, 150, 1.0, 1.0, 2.0, 1.5));
    NativeImage image;
    TW_UINTPTR handle = 0;
    ASSERT_EQ(Transfer(image, handle), TWRC_XFERDONE);
    const ReferenceImage ref = Reference();  // 16-bit samples: (sample & 4095) x 16
    ASSERT_EQ(image.bitCount, 24);
    ASSERT_EQ(uint32_t(image.width), ref.bytesPerLine / 6);
    ASSERT_EQ(uint32_t(image.height), ref.lines);
    size_t differing = 0;
    for (uint32_t y = 0; y < ref.lines; ++y) {
        const uint8_t* want = ref.data.data() + y * ref.bytesPerLine;
        for (int32_t x = 0; x < image.width; ++x)
            for (int c = 0; c < 3; ++c) {
                const uint16_t sample = uint16_t(want[6 * x + 2 * c] | (want[6 * x + 2 * c + 1] << 8));
                differing += image.Row(y)[3 * x + 2 - c] != (sample >> 8);
            }
    }
    EXPECT_EQ(differing, 0u);
}

TEST_F(NativeTransferTest, JamWhileReadingFailsAndAsksToBeClosed) {
    Simulate("ReadFault", "0x8217@40");
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    ASSERT_TRUE(ScanFromWindow(kModeGray, 0, 300, 1.0, 1.0, 4.0, 5.0));
    NativeImage image;
    TW_UINTPTR handle = 1;
    EXPECT_EQ(Transfer(image, handle), TWRC_FAILURE);
    EXPECT_EQ(handle, 0u);
    EXPECT_EQ(TheCall.SourceConditionCode, TWCC_OPERATIONERROR);
    EXPECT_EQ(TheSource.SourceState, 700);
    EXPECT_TRUE(CloseRequested());
    ASSERT_EQ(Captions().size(), 1u);
    EXPECT_EQ(Captions()[0], "SCANNERA3 Flatbed Scanner| Paper Jammed in Automatic Document Feeder");
    EXPECT_EQ(plat::host::LiveBlocks(), kTablesOnly);
}

TEST_F(NativeTransferTest, DataNotReadyOnceIsAskedAgainSilently) {
    Simulate("ReadFault", "0x8321@40");
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    ASSERT_TRUE(ScanFromWindow(kModeColor, 0, 300, 1.0, 1.0, 3.0, 4.0));
    NativeImage image;
    TW_UINTPTR handle = 0;
    ASSERT_EQ(Transfer(image, handle), TWRC_XFERDONE);
    EXPECT_EQ(DifferingBytes(image, Reference()), 0u);
    EXPECT_TRUE(plat::host::MessageBoxes().empty());
}

// "Data not ready" again and again is asked again until the band comes; Escape while the
// scanner keeps the source waiting cancels.
TEST_F(NativeTransferTest, DataNotReadyIsAskedAgainUntilTheBandComes) {
    Simulate("ReadFault", "0x8321@40*5");
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    ASSERT_TRUE(ScanFromWindow(kModeGray, 0, 150, 1.0, 1.0, 3.0, 4.0));
    NativeImage image;
    TW_UINTPTR handle = 0;
    ASSERT_EQ(Transfer(image, handle), TWRC_XFERDONE);
    EXPECT_EQ(DifferingBytes(image, Reference()), 0u);
    EXPECT_TRUE(plat::host::MessageBoxes().empty());
    FinishPage();

    ASSERT_TRUE(ScanFromWindow(kModeGray, 0, 150, 1.0, 1.0, 3.0, 4.0));
    plat::host::PressEscapeAtPump(3);
    EXPECT_EQ(Transfer(image, handle), TWRC_CANCEL);
    EXPECT_TRUE(plat::host::MessageBoxes().empty());
}

TEST_F(NativeTransferTest, EscapeBetweenBandsCancelsWithoutAMessage) {
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    ASSERT_TRUE(ScanFromWindow(kModeColor, 0, 600, 0.5, 0.5, 8.0, 10.0));
    plat::host::PressEscapeAtPump(2);
    NativeImage image;
    TW_UINTPTR handle = 1;
    EXPECT_EQ(Transfer(image, handle), TWRC_CANCEL);
    EXPECT_EQ(handle, 0u);
    EXPECT_EQ(TheSource.SourceState, 700);
    EXPECT_TRUE(plat::host::MessageBoxes().empty());
    EXPECT_FALSE(CloseRequested());
    EXPECT_EQ(plat::host::LiveBlocks(), kTablesOnly);
    // The scanner is stopped and ready: the next page scans normally.
    FinishPage();
    ASSERT_TRUE(ScanFromWindow(kModeGray, 0, 75, 1.0, 1.0, 2.0, 2.0));
    EXPECT_EQ(Transfer(image, handle), TWRC_XFERDONE);
}

// No memory for the bitmap, or for the chosen filter's work copy (the filter does not pass
// the unfiltered image off as filtered): TWCC_LOWMEMORY with 604, nothing handed over.
TEST_F(NativeTransferTest, NoMemoryForTheBitmapOrTheFilterFailsWithLowMemory) {
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    // The scanner buffers are allocation 1, the bitmap 2, the blur's sums 3.
    for (uint16_t filter : {0, 3}) {
        SCOPED_TRACE(filter);
        plat::host::ClearMessageBoxes();
        TW_USERINTERFACE ui{1, 0, nullptr};
        ASSERT_EQ(DS_Entry(&app, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui), TWRC_SUCCESS);
        ASSERT_TRUE(RunWindowScanWith([&](ScanSettings& s) { s.ScanMode = kModeGray;
                                                             s.ScanRes = 150;
                                                             s.FilterMode = filter; },
                                      1.0, 1.0, 3.0, 3.0));
        plat::host::FailAllocationAt(filter == 0 ? 2 : 3);
        NativeImage image;
        TW_UINTPTR handle = 1;
        EXPECT_EQ(Transfer(image, handle), TWRC_FAILURE);
        EXPECT_EQ(TheCall.SourceConditionCode, TWCC_LOWMEMORY);
        EXPECT_EQ(handle, 0u);
        ASSERT_EQ(Captions().size(), 1u);
        EXPECT_EQ(Captions()[0], "SCANNERA3 Flatbed Scanner| Insufficient Memory.");
        EXPECT_TRUE(CloseRequested());
        EXPECT_EQ(plat::host::LiveBlocks(), kTablesOnly);
        FinishPage();
    }
}

TEST_F(NativeTransferTest, ASecondNativeTransferIsRefused) {
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    ASSERT_TRUE(ScanFromWindow(kModeGray, 0, 75, 1.0, 1.0, 2.0, 2.0));
    NativeImage image;
    TW_UINTPTR handle = 0;
    ASSERT_EQ(Transfer(image, handle), TWRC_XFERDONE);
    EXPECT_EQ(Transfer(image, handle), TWRC_FAILURE);
    EXPECT_EQ(TheCall.SourceConditionCode, TWCC_SEQERROR);
}

TEST_F(NativeTransferTest, ScanWithoutWindowReportsTheImageAndEndsTheTransfer) {
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    SetFrame(1.0, 2.0, 3.0, 3.5);
    ASSERT_EQ(ScanWithoutWindow(2, 2), TWRC_SUCCESS);  // RGB at 150 dpi
    ASSERT_EQ(TheSource.SourceState, 600);
    bool ready = false;
    for (const auto& n : plat::host::Notifications()) ready |= n.msg == MSG_XFERREADY;
    EXPECT_TRUE(ready);

    TW_IMAGEINFO info{};
    ASSERT_EQ(DS_Entry(&app, DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info), TWRC_SUCCESS);
    EXPECT_EQ(info.PixelType, TWPT_RGB);
    EXPECT_EQ(info.BitsPerPixel, 24);
    EXPECT_EQ(info.XResolution.Whole, 150);
    EXPECT_EQ(info.ImageLength, 225);

    NativeImage image;
    TW_UINTPTR handle = 0;
    ASSERT_EQ(Transfer(image, handle), TWRC_XFERDONE);
    EXPECT_EQ(TheSource.SourceState, 700);
    EXPECT_EQ(image.width, info.ImageWidth);
    EXPECT_EQ(image.height, info.ImageLength);
    EXPECT_EQ(DifferingBytes(image, Reference()), 0u);
    EXPECT_EQ(EndTransfer(), TWRC_SUCCESS);
    EXPECT_EQ(TheSource.SourceState, 500);
    EXPECT_EQ(plat::host::LiveBlocks(), kTablesOnly);
}

// A manager that does not take MSG_XFERREADY (none loaded in the process, or one that does
// not know the source) leaves the application unaware of the image: the enabling call fails,
// the scanner is stopped, nothing of the job stays, and the next scan works normally.
TEST_F(NativeTransferTest, AnImageNoManagerCanAnnounceIsAbandoned) {
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    SetFrame(1.0, 2.0, 3.0, 3.5);
    plat::host::SetSourceManagerResult(TWRC_FAILURE);
    EXPECT_EQ(ScanWithoutWindow(2, 2), TWRC_FAILURE);
    EXPECT_EQ(TheCall.SourceConditionCode, TWCC_OPERATIONERROR);
    EXPECT_EQ(TheSource.SourceState, 400);
    EXPECT_EQ(plat::host::LiveBlocks(), kTablesOnly);

    plat::host::SetSourceManagerResult(TWRC_SUCCESS);
    ASSERT_EQ(ScanWithoutWindow(2, 2), TWRC_SUCCESS);
    ASSERT_EQ(TheSource.SourceState, 600);
    NativeImage image;
    TW_UINTPTR handle = 0;
    ASSERT_EQ(Transfer(image, handle), TWRC_XFERDONE);
    EXPECT_EQ(DifferingBytes(image, Reference()), 0u);
}

TEST_F(NativeTransferTest, GrayAndLineArtWithoutWindowAreTheReferenceImage) {
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    for (TW_UINT8 pixelType : {1, 0}) {
        SetFrame(0.5, 0.5, 2.5, 1.25);
        ASSERT_EQ(ScanWithoutWindow(pixelType, 3), TWRC_SUCCESS) << int(pixelType);
        NativeImage image;
        TW_UINTPTR handle = 0;
        ASSERT_EQ(Transfer(image, handle), TWRC_XFERDONE) << int(pixelType);
        EXPECT_EQ(image.bitCount, pixelType == 1 ? 8 : 1);
        EXPECT_EQ(DifferingBytes(image, Reference()), 0u) << int(pixelType);
        FinishPage();
    }
}

}  // namespace

namespace {

// Scan starts the simulator accepted, from its log.
int LoggedStarts(const std::filesystem::path& log) {
    std::ifstream in(log, std::ios::binary);
    const std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)), {});
    int starts = 0;
    for (size_t at = 0; at + 5 <= b.size();) {
        const uint32_t length = b[at + 1] | b[at + 2] << 8 | b[at + 3] << 16 | uint32_t(b[at + 4]) << 24;
        starts += b[at] == 5;
        at += 5 + length;
    }
    return starts;
}

// Auto-feed starts the next page when the application ends a transfer, never over a page
// that is waiting to be taken.
TEST_F(NativeTransferTest, AutoFeedNeverStartsOverAWaitingPage) {
    Simulate("Feeder", "1");
    Simulate("FeederPages", "3");
    Simulate("ScanLog", (windowsDir / "scan.log").string());
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    TheKeptCapabilities.FeederEnabled = 1;
    TheNegotiation.AutoFeed = 1;
    SetFrame(1.0, 1.0, 2.0, 1.5);
    ASSERT_EQ(ScanWithoutWindow(1, 2), TWRC_SUCCESS);
    ASSERT_EQ(LoggedStarts(windowsDir / "scan.log"), 1);
    TW_PENDINGXFERS pending{};
    ASSERT_EQ(DS_Entry(&app, DG_CONTROL, DAT_PENDINGXFERS, MSG_GET, &pending), TWRC_SUCCESS);
    EXPECT_EQ(TheSource.SourceState, 600);
    EXPECT_EQ(LoggedStarts(windowsDir / "scan.log"), 1) << "a page was started over the waiting one";
    NativeImage image;
    TW_UINTPTR handle = 0;
    ASSERT_EQ(Transfer(image, handle), TWRC_XFERDONE);
    TheNegotiation.PendingCount = 1;  // the feeder holds more pages
    ASSERT_EQ(DS_Entry(&app, DG_CONTROL, DAT_PENDINGXFERS, MSG_GET, &pending), TWRC_SUCCESS);
    EXPECT_EQ(LoggedStarts(windowsDir / "scan.log"), 1) << "a page was started during the transfer";
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{});
}

}  // namespace

namespace {

// The shading measurement's buffer is at most 4 MiB and shrinks while memory is short: it
// takes the lines it holds as long as the white level can be found from them, and says
// "Insufficient Memory" when it cannot.
TEST_F(NativeTransferTest, ShadingTakesTheLinesItsBufferHolds) {
    Simulate("ShadingLines", "100");  // 100 lines of 65,535 bytes at 1200 dpi: over 4 MiB
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    ASSERT_TRUE(ScanFromWindow(kModeColor, 0, 1200, 0.2, 1.0, 11.4, 1.02))
        << ::testing::PrintToString(MessageTexts());
    EXPECT_LE(uint64_t(TheRequests.readShading.lines) * TheRequests.readShading.bytesPerLine, 4194304u);
    NativeImage image;
    TW_UINTPTR handle = 0;
    ASSERT_EQ(Transfer(image, handle), TWRC_XFERDONE);
    EXPECT_EQ(DifferingBytes(image, Reference()), 0u);
    FinishPage();

    // Short of memory: 10 of the 16 lines fit, enough for the white level; 5 are not.
    Simulate("ShadingLines", "16");
    ASSERT_EQ(Close(), TWRC_SUCCESS);
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    for (const uint32_t fitting : {10u, 5u}) {
        SCOPED_TRACE(fitting);
        plat::host::ClearMessageBoxes();
        TW_USERINTERFACE ui{1, 0, nullptr};
        ASSERT_EQ(DS_Entry(&app, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui), TWRC_SUCCESS);
        const uint32_t shadingLine = 6 + 6 * 600;  // 600 pixels at 300 dpi
        plat::host::FailAllocationsAbove(fitting * shadingLine + 100);
        // Each case in another window, so that the scanner asks for a new measurement.
        const double left = fitting == 10 ? 1.0 : 1.5;
        const bool started = RunWindowScan(kModeColor, 0, 300, left, 1.0, left + 2.0, 1.5);
        plat::host::FailAllocationsAbove(0);
        if (fitting < 9) {
            EXPECT_FALSE(started);
            EXPECT_EQ(MessageTexts(), std::vector<std::string>{" Insufficient Memory."});
            EXPECT_EQ(TheCall.SourceConditionCode, TWCC_LOWMEMORY);
            TW_USERINTERFACE off{0, 0, nullptr};
            ASSERT_EQ(DS_Entry(&app, DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &off), TWRC_SUCCESS);
            continue;
        }
        ASSERT_TRUE(started) << ::testing::PrintToString(MessageTexts());
        EXPECT_EQ(TheRequests.readShading.lines, fitting);
        ASSERT_EQ(Transfer(image, handle), TWRC_XFERDONE);
        EXPECT_EQ(DifferingBytes(image, Reference()), 0u);
        FinishPage();
    }
}

}  // namespace

namespace {

// The office application's line art takes its threshold from the highlight alone, with the
// window as without it; other applications' scans from the window take the middle of
// highlight and shadow.
TEST_F(NativeTransferTest, TheOfficeApplicationsThresholdHoldsWithTheWindow) {
    for (const char* name : {"Corvane Office", "twainscan"}) {
        SCOPED_TRACE(name);
        std::strcpy(app.ProductName, name);
        ASSERT_EQ(Open(), TWRC_SUCCESS);
        TW_USERINTERFACE ui{1, 0, nullptr};
        ASSERT_EQ(DS_Entry(&app, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui), TWRC_SUCCESS);
        ASSERT_TRUE(RunWindowScanWith(
            [](ScanSettings& s) {
                s.ScanMode = kModeLineArt;
                s.ScanRes = 150;
                s.Enhancement.channel[kMaster].highlight = 200;
                s.Enhancement.channel[kMaster].shadow = 40;
            },
            1.0, 1.0, 2.0, 1.5));
        const bool office = std::strcmp(name, "Corvane Office") == 0;
        EXPECT_EQ(TheRequests.sendGamma.threshold, office ? (128 - 200) & 255 : (200 + 40) / 2);
        TW_PENDINGXFERS pending{};
        ASSERT_EQ(DS_Entry(&app, DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending), TWRC_SUCCESS);
        ASSERT_EQ(Close(), TWRC_SUCCESS);
    }
}

}  // namespace

namespace {

// Every way a scan job ends early says that no image is coming, the scanner's own refusals
// (608 not ready here) as well as the job's.
TEST_F(NativeTransferTest, AJobEndedByTheScannerIsAFailedScan) {
    Simulate("InquiryStatus", "255");
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    plat::host::ClearMessageBoxes();
    TheScanJob.ScanFailed = false;
    EXPECT_FALSE(ScanFromWindow(kModeGray, 0, 150, 1.0, 1.0, 2.0, 1.5));
    EXPECT_TRUE(TheScanJob.ScanFailed);
    EXPECT_EQ(MessageCaptions().size(), 1u);
}

}  // namespace
