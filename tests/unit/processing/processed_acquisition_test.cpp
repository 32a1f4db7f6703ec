// Whole acquisitions with image processing through the entry point against the simulated
// scanner (its default 1200 dpi model): every filter, each descreen strength, the descreen
// reduction below 300 dpi, the enlargement above the optical resolution, CMYK and output
// matching, by memory and by file transfer. Each delivered image must equal the plain
// formulas applied to the scanner's reference render of the same scan, and the memory and
// file transfers of a case must deliver the same pixels. Every case runs over two frames of
// the test chart: ramps that change across the page, and line groups and a slanted edge that
// change from row to row (where filters that look at the next row show their block seams).
#include <algorithm>
#include <cstring>
#include <string>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "engine/color_table.h"
#include "common/scan_buffers.h"
#include "engine/scan_job_state.h"
#include "engine/transfer_state.h"
#include "link/scanner_link.h"
#include "platform/host/host_control.h"
#include "settings/scan_settings.h"
#include "tests/unit/acquisition/delivered_pictures.h"
#include "tests/unit/acquisition/image_readers.h"
#include "tests/unit/acquisition/transfer_fixture.h"
#include "tests/unit/acquisition/window_scan.h"
#include "tests/unit/processing/processing_oracle.h"
#include "twain/capability_tables.h"
#include "twain/ds_entry.h"
#include "twain/negotiation.h"
#include "twain/source_record.h"

namespace {

struct Frame {
    double left, top, right, bottom;
};
constexpr Frame kRamps{0.4, 0.5, 0.9, 0.75};
constexpr Frame kLinesAndEdge{2.4, 6.85, 3.3, 7.55};

struct Case {
    const char* name;
    uint16_t mode = kModeGray;
    uint16_t subMode = kSubMode24Bit;
    uint16_t resolution = 300;
    uint16_t filterMode = 0;
    int32_t deScreen = kDescreenNone;
    bool outputMatch = false;
};

Bytes ReadWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

std::string FirstDifference(const Bytes& got, const OracleImage& want) {
    const size_t n = std::min(got.size(), want.data.size());
    for (size_t i = 0; i < n; ++i)
        if (got[i] != want.data[i])
            return ": first at row " + std::to_string(i / std::max(want.rowBytes, 1u)) + " byte " +
                   std::to_string(i % std::max(want.rowBytes, 1u)) + ", " + std::to_string(got[i]) +
                   " for " + std::to_string(want.data[i]);
    return got.size() == want.data.size() ? "" : ": sizes differ";
}

int KindOf(uint16_t mode) { return mode == kModeLineArt ? 0 : mode == kModeColor ? 2 : 1; }

class ProcessedAcquisitionTest : public TransferTest {
protected:
    void SetUp() override {
        TransferTest::SetUp();
        std::filesystem::copy(KV_TABLES_DIR, windowsDir,
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::overwrite_existing);
        std::strcpy(app.ProductName, "Photoshop");  // admits "CMYK Color"
        if (model) Simulate("Model", model);
        ASSERT_EQ(Open(), TWRC_SUCCESS);
    }

    bool Scan(const Case& c, TW_UINT8 mechanism, TW_UINT16 format = TWFF_TIFF) {
        return ScanFrame(c, mechanism, format, frame);
    }

    bool ScanFrame(const Case& c, TW_UINT8 mechanism, TW_UINT16 format, const Frame& f) {
        plat::host::ClearMessageBoxes();
        const bool started = ScanFromWindowWith(
            [&](ScanSettings& s) {
                s.ScanMode = c.mode;
                s.ScanSubMode = c.subMode;
                s.ScanRes = c.resolution;
                s.FilterMode = c.filterMode;
                s.DeScreen = c.deScreen;
                s.OutputMatch = c.outputMatch;
            },
            mechanism, f.left, f.top, f.right, f.bottom, format);
        EXPECT_TRUE(started) << ::testing::PrintToString(MessageTexts());
        return started;
    }

    // The oracle for the transfer just made; step is the transfer's own geometry.
    OracleImage Expected(const Case& c, const StepContext& step) {
        const ReferenceImage ref = Reference(model ? uint16_t(std::stoi(model)) : 1200);
        OracleScan scan;
        scan.kind = KindOf(c.mode);
        scan.effective = step.plan.effective;
        scan.asked = step.plan.asked;
        scan.filterMode = c.filterMode;
        scan.deScreen = uint16_t(c.deScreen);
        if (c.outputMatch) scan.colorTable = &colorTable;
        if (c.subMode == kSubModeCmyk) scan.cmykTable = &cmykTable;
        scan.rowBytes = step.shape.rowBytes;
        scan.factor = step.shape.rowsPerLine;
        return OraclePipeline(scan, ref.data, ref.bytesPerLine, ref.lines);
    }

    // Memory blocks of nine lines until the last; the image is returned for comparison.
    Bytes CheckMemory(const Case& c) {
        if (!Scan(c, 2)) return {};
        const TW_IMAGEINFO info = TheNegotiation.ImageInfoRecord;
        StepContext step;
        EXPECT_TRUE(CurrentStepContext(&step));
        std::vector<uint8_t> buffer(size_t(step.shape.replyBytesPerRow) * 9 * step.shape.rowsPerLine);
        Bytes image;
        uint32_t rows = 0, bytesPerRow = 0;
        TW_UINT16 rc = TWRC_SUCCESS;
        while (rc == TWRC_SUCCESS) {
            TW_IMAGEMEMXFER xfer{};
            xfer.Memory = {9, uint32_t(buffer.size()), buffer.data()};
            rc = DS_Entry(&app, DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &xfer);
            EXPECT_TRUE(rc == TWRC_SUCCESS || rc == TWRC_XFERDONE) << rc;
            if (rc != TWRC_SUCCESS && rc != TWRC_XFERDONE) return {};
            EXPECT_LE(+xfer.BytesWritten, buffer.size());
            EXPECT_EQ(+xfer.YOffset, rows);
            bytesPerRow = xfer.BytesPerRow;
            rows += xfer.Rows;
            image.insert(image.end(), buffer.begin(), buffer.begin() + xfer.BytesWritten);
        }
        const OracleImage want = Expected(c, step);
        EXPECT_EQ(bytesPerRow, want.rowBytes);
        EXPECT_EQ(rows, want.rows);
        EXPECT_EQ(info.ImageLength, int32_t(rows)) << "the announced length is delivered";
        EXPECT_TRUE(image == want.data) << "memory transfer differs from the oracle" << FirstDifference(image, want);
        FinishPage();
        return image;
    }

    Bytes CheckFile(const Case& c, TW_UINT16 format) {
        ResetFileFormatTable();  // an earlier post-processed scan offers TIFF only
        if (!Scan(c, 1, format)) return {};
        const std::string path = (windowsDir / (format == TWFF_BMP ? "out.bmp" : "out.tif")).string();
        TW_SETUPFILEXFER setup{};
        std::strncpy(setup.FileName, path.c_str(), sizeof setup.FileName - 1);
        setup.Format = TWFF_TIFF;  // the file's name; the format is the negotiated one
        EXPECT_EQ(DS_Entry(&app, DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &setup), TWRC_SUCCESS);
        TheNegotiation.FileFormatIndex = format == TWFF_BMP ? 2 : 0;
        StepContext step;
        EXPECT_TRUE(CurrentStepContext(&step));
        const TW_UINT16 rc = DS_Entry(&app, DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr);
        EXPECT_EQ(rc, TWRC_XFERDONE) << ::testing::PrintToString(MessageTexts());
        if (rc != TWRC_XFERDONE) return {};
        // A post-processed file is written as TIFF, whatever was negotiated.
        const bool tiff = format == TWFF_TIFF || c.filterMode != 0 || c.outputMatch ||
                          c.deScreen != kDescreenNone;
        const DecodedImage got = tiff ? ReadTiff(path) : ReadBmp(path);
        EXPECT_EQ(got.error, "");
        OracleImage want = Expected(c, step);
        if (c.subMode == kSubModeCmyk) {  // files hold the colour the image was scanned in
            Case rgb = c;
            rgb.subMode = kSubMode24Bit;
            want = Expected(rgb, step);
        }
        EXPECT_EQ(got.height, want.rows);
        EXPECT_EQ(got.bytesPerLine, want.rowBytes);
        EXPECT_TRUE(got.rows == want.data) << "file transfer differs from the oracle" << FirstDifference(got.rows, want);
        FinishPage();
        return got.rows;
    }

    // Both transfers against the oracle, and against each other: the same scan must give
    // the same pixels whatever the mechanism (CMYK files hold the scanned colour instead).
    void CheckBoth(const Case& c) {
        for (const Frame& f : {kRamps, kLinesAndEdge}) {
            SCOPED_TRACE(testing::Message() << c.name << " in the frame at " << f.left << ", " << f.top);
            frame = f;
            const Bytes memory = CheckMemory(c), file = CheckFile(c, TWFF_TIFF);
            if (c.subMode != kSubModeCmyk) {
                EXPECT_TRUE(memory == file) << "memory and file transfers differ";
            }
        }
    }

    Frame frame = kRamps;

    const char* model = nullptr;  // the simulator's default 1200 dpi model
    Bytes colorTable = ReadWhole(std::filesystem::path(KV_TABLES_DIR) / "TWAIN_32/COLOR/corvA3.tab");
    Bytes cmykTable = ReadWhole(std::filesystem::path(KV_TABLES_DIR) / "TWAIN_32/KVTC_A3/cmyk.tab");
};

TEST_F(ProcessedAcquisitionTest, EveryFilterInGrayAndColour) {
    for (uint16_t filter = 1; filter <= 8; ++filter) {
        CheckBoth({"gray filter", kModeGray, 0, 300, filter});
        CheckBoth({"colour filter", kModeColor, kSubMode24Bit, 200, filter});
    }
    CheckBoth({"line art invert", kModeLineArt, 0, 300, 1});
    CheckBoth({"line art flip", kModeLineArt, 0, 300, 2});
}

TEST_F(ProcessedAcquisitionTest, DescreenStrengthsAndTheReductionBelow300Dpi) {
    for (int32_t strength : {1018, 1019, 1020}) {
        CheckBoth({"gray descreen 150", kModeGray, 0, 150, 0, strength});
        CheckBoth({"colour descreen 150", kModeColor, kSubMode24Bit, 150, 0, strength});
    }
    CheckBoth({"descreen at 300 is not reduced", kModeGray, 0, 300, 0, 1019});
    CheckBoth({"unsharp mask then descreen", kModeColor, kSubMode24Bit, 100, 8, 1020});
}

TEST_F(ProcessedAcquisitionTest, ResolutionsAboveTheScannersLineAreWidenedAndInterpolated) {
    for (uint16_t res : {800, 1600, 2400}) {
        CheckBoth({"gray", kModeGray, 0, res});
        CheckBoth({"colour", kModeColor, kSubMode24Bit, res});
    }
    CheckBoth({"line art 1600", kModeLineArt, 0, 1600});
    CheckBoth({"filtered 2400", kModeGray, 0, 2400, 7});
    CheckFile({"colour 2400 into BMP", kModeColor, kSubMode24Bit, 2400}, TWFF_BMP);
}

TEST_F(ProcessedAcquisitionTest, CmykAndOutputMatching) {
    CheckBoth({"cmyk", kModeColor, kSubModeCmyk, 300});
    CheckBoth({"cmyk 2400", kModeColor, kSubModeCmyk, 2400});
    CheckBoth({"output matching", kModeColor, kSubMode24Bit, 300, 0, kDescreenNone, true});
    CheckBoth({"output matching and emboss", kModeColor, kSubMode24Bit, 300, 7, kDescreenNone, true});
}

}  // namespace

namespace {

// The native image is not reduced, so it is not scanned at 300 dpi either: the 0.5 x 0.25
// inch frame at 150 dpi is 75 x 38 pixels (the width rule narrows it to 72), never a 300 dpi
// image labelled 150.
TEST_F(ProcessedAcquisitionTest, NativeDescreenBelow300DpiIsScannedAtItsResolution) {
    ASSERT_TRUE(Scan({"native descreen 150", kModeGray, 0, 150, 0, 1019}, 0));
    const TW_IMAGEINFO& info = TheNegotiation.ImageInfoRecord;
    EXPECT_EQ(info.XResolution.Whole, 150);
    EXPECT_EQ(info.ImageWidth, 72);
    EXPECT_EQ(info.ImageLength, 38);
}

}  // namespace

namespace {

// A scanner of 600 dpi asked for 800 dpi scans at 400 and doubles every line both ways: the
// rows are as wide as the image information says, with no part left empty.
class LowerOpticalResolutionTest : public ProcessedAcquisitionTest {
protected:
    LowerOpticalResolutionTest() { model = "600"; }
};

TEST_F(LowerOpticalResolutionTest, ResolutionsAboveTheOpticalAreInterpolatedOnly) {
    for (uint16_t mode : {kModeGray, kModeColor}) {
        const Case c{"800 dpi on the 600 dpi model", mode, kSubMode24Bit, 800};
        CheckBoth(c);
        ASSERT_TRUE(Scan(c, 2));
        StepContext step;
        ASSERT_TRUE(CurrentStepContext(&step));
        EXPECT_EQ(TheScanJob.resolution.asked, 400);
        EXPECT_EQ(step.shape.rowBytes, 2 * TheScanJob.geometry.bytesPerLine);
        const uint32_t pixelBytes = mode == kModeColor ? 3 : 1;
        EXPECT_EQ(uint32_t(TheNegotiation.ImageInfoRecord.ImageWidth) * pixelBytes,
                  step.shape.rowBytes);
        TW_USERINTERFACE ui{0, 0, nullptr};
        TW_PENDINGXFERS pending{};
        EXPECT_EQ(DS_Entry(&app, DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending), TWRC_SUCCESS);
        EXPECT_EQ(DS_Entry(&app, DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui), TWRC_SUCCESS);
        EXPECT_EQ(MessageTexts(), std::vector<std::string>{});
    }
}

}  // namespace

namespace {

// The band filters hold rows back; the band that ends the image gives them back, one more
// row per stage. A frame whose 300 dpi lines are exactly two bands' worth makes the last band
// full, with unsharp mask and descreen (and the reduction to 100 dpi) each adding their row.
TEST_F(ProcessedAcquisitionTest, TheLastBandOfAFullImageHasRoomForEveryStage) {
    for (uint16_t mode : {kModeGray, kModeColor}) {
        const Case c{"unsharp mask and descreen, bands ending with the image", mode,
                     kSubMode24Bit, 100, 8, 1020};
        // The lines of one band for lines of this width, in an image larger than the
        // scanner buffers: as the port library divides them.
        const Frame wide{0.3, 0.5, 8.3, 4.5};
        ASSERT_TRUE(ScanFrame(c, 2, TWFF_TIFF, wide));
        ScanBuffers buffers;
        ASSERT_TRUE(AllocScanBuffers(buffers, TheScanJob.geometry.bytesPerLine,
                                     TheScanJob.geometry.lines, true, TheLink.port.BUF_ADDR));
        const uint32_t band = buffers.linesPerRequest;
        FreeScanBuffers(buffers);
        ASSERT_GT(band, 10u);
        ASSERT_LT(band, TheScanJob.geometry.lines);
        TW_PENDINGXFERS pending{};
        ASSERT_EQ(DS_Entry(&app, DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending), TWRC_SUCCESS);
        TW_USERINTERFACE ui{0, 0, nullptr};
        ASSERT_EQ(DS_Entry(&app, DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui), TWRC_SUCCESS);
        // 300 dpi lines of 4 window units each: exactly two bands.
        frame = Frame{wide.left, 0.5, wide.right, 0.5 + (8.0 * band + 0.25) / 1200};
        SCOPED_TRACE(testing::Message() << "mode " << mode << ", bands of " << band << " lines");
        const Bytes memory = CheckMemory(c), file = CheckFile(c, TWFF_TIFF);
        EXPECT_EQ(TheScanJob.geometry.lines, 2 * band);
        EXPECT_TRUE(memory == file) << "memory and file transfers differ";
        EXPECT_EQ(MessageTexts(), std::vector<std::string>{});
    }
}

// Negative film inverts and the feeder flips: 36-bit colour too, in memory and file transfers
// as in the native one, which keeps the top eight bits of each sample.
TEST_F(ProcessedAcquisitionTest, DeepColourIsInvertedAndFlippedLikeTheNativeImage) {
    for (uint16_t filter : {1, 2}) {
        SCOPED_TRACE(testing::Message() << "filter " << filter);
        const Case c{"36-bit", kModeColor, kSubMode36Bit, 150, filter};
        ASSERT_TRUE(Scan(c, 0));
        TW_UINTPTR handle = 0;
        ASSERT_EQ(DS_Entry(&app, DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle), TWRC_XFERDONE);
        auto h = reinterpret_cast<plat::MemHandle>(handle);
        const auto* dib = static_cast<const uint8_t*>(plat::MemLock(h));
        int32_t width = 0, height = 0;
        std::memcpy(&width, dib + 4, 4);
        std::memcpy(&height, dib + 8, 4);
        const uint32_t stride = (uint32_t(width) * 3 + 3) & ~3u;
        Bytes native;  // top-down, red, green, blue
        for (int32_t y = height - 1; y >= 0; --y)
            for (int32_t x = 0; x < width; ++x)
                for (int ch = 2; ch >= 0; --ch) native.push_back(dib[40 + y * stride + 3 * x + ch]);
        plat::MemUnlock(h);
        plat::MemFree(h);
        FinishPage();

        ASSERT_TRUE(Scan(c, 2));
        std::vector<uint8_t> buffer(1 << 20);
        TW_IMAGEMEMXFER xfer{};
        xfer.Memory = {9, uint32_t(buffer.size()), buffer.data()};
        ASSERT_EQ(DS_Entry(&app, DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &xfer), TWRC_XFERDONE);
        ASSERT_EQ(int32_t(xfer.Rows), height);
        Bytes top;
        for (uint32_t y = 0; y < xfer.Rows; ++y)
            for (uint32_t i = 1; i < uint32_t(width) * 6; i += 2)
                top.push_back(buffer[size_t(y) * xfer.BytesPerRow + i]);
        EXPECT_TRUE(top == native) << "the memory transfer's samples are not the native image's";
        FinishPage();
    }
}

}  // namespace

namespace {

// Output matching reads the table of the scan's source when the scan starts and lets it go
// when a scan does without; a missing table is reported (as the window reports it) and the
// scan is the one without output matching, its colour adjustment included.
TEST_F(ProcessedAcquisitionTest, OutputMatchingTakesTheSourcesTableOrSaysItIsMissing) {
    const Case matched{"output matching", kModeColor, kSubMode24Bit, 300, 0, kDescreenNone, true};
    Case plain = matched;
    plain.outputMatch = false;
    ASSERT_TRUE(Scan(matched, 2));
    EXPECT_STREQ(TheColorTable.file, "corvA3.tab");
    EXPECT_EQ(MemoryPicture(app, 1 << 20).error, "");
    FinishPage();
    ASSERT_TRUE(Scan(plain, 2));
    EXPECT_EQ(TheColorTable.layout, ColorTableLayout::None);
    const Picture without = MemoryPicture(app, 1 << 20);
    FinishPage();

    std::filesystem::remove(windowsDir / "TWAIN_32" / "COLOR" / "corvA3.tab");
    ASSERT_TRUE(Scan(matched, 2));
    const auto boxes = plat::host::MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Information");
    EXPECT_EQ(boxes[0].text, "Calibration Profile is not found! Please run the Calibrator to produce it.");
    const Picture missing = MemoryPicture(app, 1 << 20);
    FinishPage();
    EXPECT_EQ(missing.error, "");
    EXPECT_TRUE(missing == without) << "a scan without its table is not the plain scan";
}

}  // namespace

namespace {

// An application that negotiated memory transfers, then asks for a native one, gets the
// scanned lines: the native bitmap is never reduced and never written past.
TEST_F(ProcessedAcquisitionTest, ANativeTransferOfAScanPlannedForMemoryIsNotReduced) {
    ASSERT_TRUE(Scan({"descreen 150", kModeGray, 0, 150, 0, 1019}, 2));
    const Picture p = NativePicture(app);
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.height, TheScanJob.geometry.lines);
    EXPECT_EQ(p.width, TheScanJob.geometry.bytesPerLine);
}

}  // namespace
