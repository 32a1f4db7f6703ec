// File transfers through the entry point against the simulated scanner: TIFF and BMP files
// read back by this test's own reader, by libtiff and by Pillow, each equal to the scanner's
// reference render; the spool files of a post-processed transfer; refusals; and what
// cancel and failure leave behind (nothing).
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "engine/color_adjust.h"
#include "engine/scan_job_flags.h"
#include "platform/host/host_control.h"
#include "tests/unit/acquisition/image_readers.h"
#include "tests/unit/acquisition/transfer_fixture.h"
#include "twain/capability_tables.h"
#include "twain/ds_entry.h"
#include "twain/negotiation.h"
#include "twain/source_record.h"

namespace {

class FileTransferTest : public TransferTest {
protected:
    void SetUp() override {
        TransferTest::SetUp();
        std::filesystem::create_directories(windowsDir / "out");
    }

    std::string OutPath(const std::string& name) const { return (windowsDir / "out" / name).string(); }

    TW_UINT16 SetFile(const std::string& path) {
        TW_SETUPFILEXFER setup{};
        std::strncpy(setup.FileName, path.c_str(), sizeof setup.FileName - 1);
        setup.Format = TWFF_TIFF;
        return DS_Entry(&app, DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &setup);
    }

    // A scan without the window, negotiated for a file transfer in this format.
    void ScanForFile(TW_UINT8 pixelType, TW_UINT8 resolution, TW_UINT16 format) {
        TheNegotiation.XferMechIndex = 1;  // TWSX_FILE
        TheNegotiation.FileFormatIndex = format == TWFF_BMP ? 2 : 0;
        ASSERT_EQ(ScanWithoutWindow(pixelType, resolution), TWRC_SUCCESS);
    }

    TW_UINT16 Transfer() { return DS_Entry(&app, DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr); }

    TW_UINT16 Condition() {
        TW_STATUS status{};
        DS_Entry(&app, DG_CONTROL, DAT_STATUS, MSG_GET, &status);
        return status.ConditionCode;
    }

    // The file's pixels, through our reader and Pillow, are the reference's.
    void ExpectReferenceFile(const std::string& path, TW_UINT16 format) {
        const ReferenceImage ref = Reference();
        const DecodedImage got = format == TWFF_BMP ? ReadBmp(path) : ReadTiff(path);
        ASSERT_EQ(got.error, "") << path;
        EXPECT_EQ(got.width, ref.pixels);
        EXPECT_EQ(got.height, ref.lines);
        EXPECT_TRUE(got.rows == ref.data) << path << ": the stored pixels differ from the reference";
        if (ref.colourType == 5) return;  // Pillow reads 16-bit colour in 8 bits only
        const bool colour = ref.colourType == 3;
        std::vector<uint8_t> pillow;
        const std::string error = PillowPixels(path, colour ? "RGB" : "L", pillow);
        ASSERT_EQ(error, "");
        EXPECT_TRUE(pillow == EightBitPixels(ref.data, ref.pixels, ref.lines, ref.bytesPerLine,
                                             ref.colourType == 0))
            << path << ": Pillow reads other pixels";
    }

    void ExpectTiffinfoAccepts(const std::string& path, const std::string& wanted) {
        bool ok = false;
        const std::string report = TiffinfoReport(path, &ok);
        EXPECT_TRUE(ok) << report;
        EXPECT_NE(report.find(wanted), std::string::npos) << report;
    }

    // Every name in the temporary folder while a transfer runs, as the message pump sees it;
    // a copy of the spool as it was at the last pump (the processing pass pumps once the
    // spool is complete).
    void WatchTempFolder(const std::string& spoolName = "") {
        seen.clear();
        spoolCopy = (windowsDir / "spool.copy").string();
        std::filesystem::remove(spoolCopy);
        plat::host::SetPumpHook([this, spoolName] {
            for (const std::string& name : TempFiles()) seen.insert(name);
            const auto spool = windowsDir / "temp" / spoolName;
            if (!spoolName.empty() && std::filesystem::exists(spool))
                std::filesystem::copy_file(spool, spoolCopy,
                                           std::filesystem::copy_options::overwrite_existing);
            return false;
        });
    }
    std::set<std::string> seen;
    std::string spoolCopy;
};

TEST_F(FileTransferTest, ColourTiffIsTheReferenceForEveryReader) {
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    SetFrame(1.0, 1.0, 3.0, 2.5);
    const std::string path = OutPath("colour.tif");
    ASSERT_EQ(SetFile(path), TWRC_SUCCESS);
    ScanForFile(2, 2, TWFF_TIFF);
    ASSERT_EQ(Transfer(), TWRC_XFERDONE);
    EXPECT_EQ(TheSource.SourceState, 700);
    ExpectReferenceFile(path, TWFF_TIFF);
    ExpectTiffinfoAccepts(path, "Image Width: 300 Image Length: 225");
    EXPECT_TRUE(TempFiles().empty());
    EXPECT_EQ(plat::host::LiveBlocks(), kTablesOnly);
    EXPECT_TRUE(MessageTexts().empty());
}

TEST_F(FileTransferTest, GrayAndLineArtInBothFormatsAreTheReference) {
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    SetFrame(0.5, 0.5, 2.5, 1.25);
    for (TW_UINT16 format : {TWFF_BMP, TWFF_TIFF}) {
        for (TW_UINT8 pixelType : {1, 0}) {
            const std::string path = OutPath(std::to_string(format) + "_" + std::to_string(pixelType));
            ASSERT_EQ(SetFile(path), TWRC_SUCCESS);
            ScanForFile(pixelType, 3, format);
            ASSERT_EQ(Transfer(), TWRC_XFERDONE) << format << " " << int(pixelType);
            ExpectReferenceFile(path, format);
            if (format == TWFF_TIFF)
                ExpectTiffinfoAccepts(path, pixelType == 0 ? "Bits/Sample: 1" : "Bits/Sample: 8");
            EXPECT_EQ(plat::host::LiveBlocks(), kTablesOnly);
            FinishPage();
        }
    }
    EXPECT_TRUE(TempFiles().empty());
}

// Colour rows go from the read straight into a BMP file, turned into its blue, green, red
// order as they are prepared: by a swap of its own with the neutral adjustment, by the colour
// adjustment itself with a saturation. Rows of 300 pixels go to the file as they are.
TEST_F(FileTransferTest, ColourBmpIsTheReferenceWithAndWithoutColourAdjustment) {
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    SetFrame(1.0, 1.0, 3.0, 2.5);
    for (int32_t saturation : {0, 40}) {
        SCOPED_TRACE(saturation);
        const std::string path = OutPath("colour" + std::to_string(saturation) + ".bmp");
        ASSERT_EQ(SetFile(path), TWRC_SUCCESS);
        ScanForFile(2, 2, TWFF_BMP);
        TheToneColour.current.Saturation = saturation;  // the record the transfer adjusts by
        ASSERT_EQ(Transfer(), TWRC_XFERDONE);
        if (saturation == 0) {
            ExpectReferenceFile(path, TWFF_BMP);
        } else {
            ReferenceImage expected = Reference();
            TheToneColour.order = PixelOrder::Scanner;
            ApplyColorAdjust(expected.pixels, expected.lines, expected.data.data(),
                             expected.data.data(), TheToneColour.current, kModeColor);
            TheToneColour.order = PixelOrder::Bitmap;
            const DecodedImage got = ReadBmp(path);
            ASSERT_EQ(got.error, "");
            EXPECT_EQ(got.width, 300u);
            EXPECT_TRUE(got.rows == expected.data) << "adjusted pixels differ";
            EXPECT_FALSE(got.rows == Reference().data) << "the saturation changed nothing";
        }
        EXPECT_TRUE(TempFiles().empty());
        EXPECT_EQ(plat::host::LiveBlocks(), kTablesOnly);
        FinishPage();
    }
}

TEST_F(FileTransferTest, DeepColourTiffHoldsTheSixteenBitSamples) {
    std::strcpy(app.ProductName, "Photoshop");
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    const std::string path = OutPath("deep.tif");
    ASSERT_EQ(SetFile(path), TWRC_SUCCESS);
    TheNegotiation.XferMechIndex = 1;
    ASSERT_TRUE(ScanFromWindow(kModeColor, kSubMode36Bit, 150, 1.0, 1.0, 3.0, 2.0));
    ASSERT_EQ(Transfer(), TWRC_XFERDONE);
    ExpectReferenceFile(path, TWFF_TIFF);
    ExpectTiffinfoAccepts(path, "Bits/Sample: 16");
    EXPECT_EQ(ReadTiff(path).width, 300u);
    EXPECT_EQ(plat::host::LiveBlocks(), kTablesOnly);
}

// The default file name is the colour spool's own name. A post-processed colour transfer to
// it spools under another name and delivers its image there, as TIFF even when BMP was asked
// for; a gray one spools in "Xfer_G.Tmp". No spool outlives the transfer.
TEST_F(FileTransferTest, PostProcessedTransfersSpoolBesideTheOutput) {
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    SetFrame(1.0, 1.0, 3.0, 2.0);
    const std::string output = WorkingPath();
    const std::string outputName = std::filesystem::path(output).filename().string();

    ScanForFile(2, 2, TWFF_BMP);
    TheScanJobFlags.PostProcessing = true;
    std::string spoolName = outputName;
    spoolName.insert(spoolName.rfind('.'), "_");
    WatchTempFolder(spoolName);
    ASSERT_EQ(Transfer(), TWRC_XFERDONE);
    EXPECT_EQ(CurrentFileFormat(), TWFF_TIFF);
    ExpectReferenceFile(output, TWFF_TIFF);
    EXPECT_TRUE(seen.count(spoolName)) << "no colour spool beside " << outputName;
    ExpectReferenceFile(spoolCopy, TWFF_TIFF);  // the spool is a TIFF of the scan too
    ExpectTiffinfoAccepts(spoolCopy, "Samples/Pixel: 3");
    EXPECT_EQ(TempFiles(), std::vector<std::string>{outputName});
    FinishPage();

    ScanForFile(1, 2, TWFF_TIFF);
    TheScanJobFlags.PostProcessing = true;
    WatchTempFolder("Xfer_G.Tmp");
    ASSERT_EQ(Transfer(), TWRC_XFERDONE);
    ExpectReferenceFile(output, TWFF_TIFF);
    EXPECT_TRUE(seen.count("Xfer_G.Tmp"));
    ExpectReferenceFile(spoolCopy, TWFF_TIFF);
    ExpectTiffinfoAccepts(spoolCopy, "Bits/Sample: 8");
    EXPECT_EQ(TempFiles(), std::vector<std::string>{outputName});
    FinishPage();

    // Without post-processing the image goes straight into its file, under a name of its own
    // until it is complete (the earlier image under the default name stays until then).
    ScanForFile(2, 2, TWFF_TIFF);
    WatchTempFolder();
    ASSERT_EQ(Transfer(), TWRC_XFERDONE);
    ExpectReferenceFile(output, TWFF_TIFF);
    EXPECT_EQ(seen, (std::set<std::string>{outputName, outputName + ".part"}));
    EXPECT_EQ(TempFiles(), std::vector<std::string>{outputName});
    EXPECT_EQ(plat::host::LiveBlocks(), kTablesOnly);
}

TEST_F(FileTransferTest, TransfersThatCannotBeServedAreRefused) {
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    TW_SETUPFILEXFER empty{};
    EXPECT_EQ(DS_Entry(&app, DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &empty), TWRC_FAILURE);
    EXPECT_EQ(Condition(), TWCC_BADVALUE);
    TW_SETUPFILEXFER unterminated;
    std::memset(&unterminated, 'A', sizeof unterminated.FileName);
    unterminated.Format = TWFF_TIFF;
    unterminated.VRefNum = 0;
    EXPECT_EQ(DS_Entry(&app, DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &unterminated), TWRC_FAILURE);
    EXPECT_EQ(Condition(), TWCC_BADVALUE);
    TW_SETUPFILEXFER current{};
    ASSERT_EQ(DS_Entry(&app, DG_CONTROL, DAT_SETUPFILEXFER, MSG_GET, &current), TWRC_SUCCESS);
    EXPECT_EQ(WorkingPath(), current.FileName);

    SetFrame(1.0, 1.0, 2.0, 1.5);
    const std::string path = OutPath("late.tif");
    ASSERT_EQ(SetFile(path), TWRC_SUCCESS);
    TheNegotiation.XferMechIndex = 2;  // memory negotiated: no file to write
    ASSERT_EQ(ScanWithoutWindow(1, 2), TWRC_SUCCESS);
    EXPECT_EQ(Transfer(), TWRC_FAILURE);
    EXPECT_EQ(Condition(), TWCC_SEQERROR);
    EXPECT_EQ(TheSource.SourceState, 600);
    EXPECT_FALSE(std::filesystem::exists(path));

    TheNegotiation.XferMechIndex = 1;
    ASSERT_EQ(Transfer(), TWRC_XFERDONE);
    ExpectReferenceFile(path, TWFF_TIFF);
    EXPECT_EQ(Transfer(), TWRC_FAILURE);  // one image, one file transfer
    EXPECT_EQ(Condition(), TWCC_SEQERROR);
    EXPECT_EQ(TheSource.SourceState, 700);
}

// An unwritable path, a header or a band that cannot be written, and Escape during the
// reading: no file is left, neither the output nor a temporary one, and no memory.
// A failed or cancelled transfer leaves no file of its own, and a file the user already had
// under the asked name is still there as it was.
TEST_F(FileTransferTest, FailureAndCancelLeaveNoFile) {
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    SetFrame(1.0, 1.0, 11.0, 2.0);  // more than one band of colour
    struct Case {
        const char* what;
        std::string path;
        void (*arm)();
        TW_UINT16 rc;
    };
    const Case cases[] = {
        {"unwritable path", OutPath("missing/page.tif"), [] {}, TWRC_FAILURE},
        {"header", OutPath("header.tif"), [] { plat::host::FailWriteAt(1); }, TWRC_FAILURE},
        {"second band", OutPath("band.tif"), [] { plat::host::FailWriteAt(3); }, TWRC_FAILURE},
        {"escape", OutPath("escape.tif"), [] { plat::host::PressEscapeAtPump(2); }, TWRC_CANCEL},
    };
    const std::string earlier = "the user's earlier page";
    for (const Case& c : cases) {
        plat::host::ClearMessageBoxes();
        ASSERT_EQ(SetFile(c.path), TWRC_SUCCESS);
        std::ofstream(c.path, std::ios::binary) << earlier;  // not in the missing folder
        ScanForFile(2, 4, TWFF_TIFF);
        c.arm();
        EXPECT_EQ(Transfer(), c.rc) << c.what;
        EXPECT_EQ(TheSource.SourceState, 700) << c.what;
        const bool missingFolder = !std::filesystem::exists(std::filesystem::path(c.path).parent_path());
        if (missingFolder) {
            EXPECT_FALSE(std::filesystem::exists(c.path)) << c.what;
        } else {
            std::ifstream in(c.path, std::ios::binary);
            EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), {}), earlier) << c.what;
            for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(c.path).parent_path()))
                EXPECT_EQ(entry.path().extension().string().rfind(".part", 0), std::string::npos) << c.what;
        }
        EXPECT_TRUE(TempFiles().empty()) << c.what;
        EXPECT_EQ(plat::host::LiveBlocks(), kTablesOnly) << c.what;
        if (c.rc == TWRC_FAILURE) {
            EXPECT_EQ(Condition(), TWCC_OPERATIONERROR) << c.what;
            ASSERT_EQ(MessageTexts().size(), 1u) << c.what;
            EXPECT_NE(MessageTexts()[0].find("Write disk file error"), std::string::npos);
        } else {
            EXPECT_TRUE(MessageTexts().empty());
        }
        FinishPage();
    }
    EXPECT_TRUE(CloseRequested());
}

}  // namespace
