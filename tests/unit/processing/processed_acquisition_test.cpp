// Whole acquisitions with image processing through the entry point against the simulated
// scanner (its default 1200 dpi model): every filter, each descreen strength, the descreen
// reduction below 300 dpi, the widening and interpolation above 600 dpi, CMYK and output
// matching, by memory and by file transfer. Each delivered image must equal the plain
// formulas applied to the scanner's reference render of the same scan.
#include <algorithm>
#include <cstring>
#include <string>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "capability_tables.h"
#include "ds_entry.h"
#include "host_control.h"
#include "image_readers.h"
#include "negotiation.h"
#include "processing_oracle.h"
#include "scan_settings.h"
#include "source_record.h"
#include "transfer_fixture.h"
#include "scan_job_state.h"
#include "transfer_state.h"
#include "window_scan.h"

namespace {

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
        plat::host::ClearMessageBoxes();
        TheNegotiation.XferMechIndex = mechanism;
        TheNegotiation.FileFormatIndex = format == TWFF_BMP ? 2 : 0;
        TW_USERINTERFACE ui{1, 0, nullptr};
        if (DS_Entry(&app, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui) != TWRC_SUCCESS)
            return false;
        const bool started = RunWindowScanWith(
            [&](ScanSettings& s) {
                s.ScanMode = c.mode;
                s.ScanSubMode = c.subMode;
                s.ScanRes = c.resolution;
                s.FilterMode = c.filterMode;
                s.DeScreen = c.deScreen;
                s.OutputMatch = c.outputMatch;
            },
            0.4, 0.5, 0.9, 0.75);
        EXPECT_TRUE(started) << ::testing::PrintToString(MessageTexts());
        return started;
    }

    // The oracle for the transfer just made; step is the transfer's own geometry.
    OracleImage Expected(const Case& c, const StepContext& step, uint32_t passLines) {
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
        scan.passLines = passLines;
        return OraclePipeline(scan, ref.data, ref.bytesPerLine, ref.lines);
    }

    // Memory blocks of about seven lines until the last; the pass filters one block at a
    // time, as many lines as the first answer brought.
    void CheckMemory(const Case& c) {
        ASSERT_TRUE(Scan(c, 2));
        const TW_IMAGEINFO info = TheNegotiation.ImageInfoRecord;
        StepContext step;
        ASSERT_TRUE(CurrentStepContext(&step));
        std::vector<uint8_t> buffer(size_t(step.shape.replyBytesPerRow) * 9 * step.shape.rowsPerLine);
        Bytes image;
        uint32_t firstRows = 0, rows = 0, bytesPerRow = 0;
        TW_UINT16 rc = TWRC_SUCCESS;
        while (rc == TWRC_SUCCESS) {
            TW_IMAGEMEMXFER xfer{};
            xfer.Memory = {9, uint32_t(buffer.size()), buffer.data()};
            rc = DS_Entry(&app, DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &xfer);
            ASSERT_TRUE(rc == TWRC_SUCCESS || rc == TWRC_XFERDONE) << rc;
            if (firstRows == 0) firstRows = xfer.Rows;
            ASSERT_LE(+xfer.BytesWritten, buffer.size());
            EXPECT_EQ(+xfer.YOffset, rows);
            bytesPerRow = xfer.BytesPerRow;
            rows += xfer.Rows;
            image.insert(image.end(), buffer.begin(), buffer.begin() + xfer.BytesWritten);
        }
        const OracleImage want = Expected(c, step, firstRows / step.shape.rowsPerLine);
        EXPECT_EQ(bytesPerRow, want.rowBytes);
        EXPECT_EQ(rows, want.rows);
        EXPECT_EQ(info.ImageLength, int32_t(rows)) << "the announced length is delivered";
        EXPECT_TRUE(image == want.data) << "memory transfer differs from the oracle" << FirstDifference(image, want);
        FinishPage();
    }

    void CheckFile(const Case& c, TW_UINT16 format) {
        ResetFileFormatTable();  // an earlier post-processed scan offers TIFF only
        ASSERT_TRUE(Scan(c, 1, format));
        const std::string path = (windowsDir / (format == TWFF_BMP ? "out.bmp" : "out.tif")).string();
        TW_SETUPFILEXFER setup{};
        std::strncpy(setup.FileName, path.c_str(), sizeof setup.FileName - 1);
        setup.Format = TWFF_TIFF;  // the file's name; the format is the negotiated one
        ASSERT_EQ(DS_Entry(&app, DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &setup), TWRC_SUCCESS);
        TheNegotiation.FileFormatIndex = format == TWFF_BMP ? 2 : 0;
        StepContext step;
        ASSERT_TRUE(CurrentStepContext(&step));
        ASSERT_EQ(DS_Entry(&app, DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr), TWRC_XFERDONE)
            << ::testing::PrintToString(MessageTexts());
        // A post-processed file is written as TIFF, whatever was negotiated.
        const bool tiff = format == TWFF_TIFF || c.filterMode != 0 || c.outputMatch ||
                          c.deScreen != kDescreenNone;
        const DecodedImage got = tiff ? ReadTiff(path) : ReadBmp(path);
        ASSERT_EQ(got.error, "");
        const uint32_t passLines = std::max<uint32_t>((2u << 20) / step.shape.lineBytes, 1);
        OracleImage want = Expected(c, step, passLines);
        if (c.subMode == kSubModeCmyk) {  // files hold the colour the image was scanned in
            Case rgb = c;
            rgb.subMode = kSubMode24Bit;
            want = Expected(rgb, step, passLines);
        }
        EXPECT_EQ(got.height, want.rows);
        EXPECT_EQ(got.bytesPerLine, want.rowBytes);
        EXPECT_TRUE(got.rows == want.data) << "file transfer differs from the oracle" << FirstDifference(got.rows, want);
        FinishPage();
    }

    void CheckBoth(const Case& c) {
        SCOPED_TRACE(c.name);
        CheckMemory(c);
        CheckFile(c, TWFF_TIFF);
    }

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
