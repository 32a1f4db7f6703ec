#include <cstring>

#include "common/twain.h"
#include "imagefile/image_headers.h"
#include "imagefile/output_file.h"
#include "session/call_codes.h"
#include "tests/unit/imagefile/imagefile_fixture.h"

namespace {

class OutputFileTest : public ImageFileTest {
protected:
    OutputFileRequest Request(uint16_t format, const std::string& path) {
        path_ = path;
        OutputFileRequest r;
        r.path = path_.c_str();
        r.fileFormat = format;
        r.layout = PixelLayout::Rgb24;
        r.pixelWidth = 5;
        r.lines = 3;
        r.bytesPerLine = 15;
        r.alignedLineLength = 16;
        r.resolution = 300;
        return r;
    }

    // The user was told "Write disk file error." once, under the scanner's caption, and the
    // condition code says why the transfer failed.
    void ExpectWriteErrorReported() {
        const auto boxes = plat::host::MessageBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, "Write disk file error.");
        EXPECT_EQ(boxes[0].caption, "SCANNERA3 Flatbed Scanner");
        EXPECT_EQ(boxes[0].flags, plat::kMbOk | plat::kMbIconHand);
        EXPECT_EQ(TheCall.SourceConditionCode, TWCC_OPERATIONERROR);
    }

    std::string path_;
};

TEST_F(OutputFileTest, TiffIsLeftOpenAtThePixelData) {
    const std::string path = PathOf("out.tif");
    const plat::FileHandle f = OpenOutputFile(nullptr, Request(TWFF_TIFF, path));
    ASSERT_NE(f, plat::kNoFile);
    EXPECT_EQ(plat::FileSeek(f, 0, plat::SeekFrom::Current), 146);
    plat::FileClose(f);
    EXPECT_EQ(plat::FileSize(path.c_str()), 146);
    EXPECT_TRUE(plat::host::MessageBoxes().empty());
    EXPECT_EQ(TheCall.SourceConditionCode, TWCC_SUCCESS);
}

TEST_F(OutputFileTest, BmpHasItsFullSizeAndIsPositionedAtTheEnd) {
    const std::string path = PathOf("out.bmp");
    const plat::FileHandle f = OpenOutputFile(nullptr, Request(TWFF_BMP, path));
    ASSERT_NE(f, plat::kNoFile);
    EXPECT_EQ(plat::FileSeek(f, 0, plat::SeekFrom::Current), 54 + 3 * 16);
    plat::FileClose(f);
    const std::vector<uint8_t> bytes = ReadBytes(path);
    ASSERT_EQ(bytes.size(), 102u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[2], 102);
}

TEST_F(OutputFileTest, UnwritablePathReportsAndLeavesNoFile) {
    const std::string path = PathOf("missing-folder/out.tif");
    EXPECT_EQ(OpenOutputFile(nullptr, Request(TWFF_TIFF, path)), plat::kNoFile);
    ExpectWriteErrorReported();
    EXPECT_FALSE(plat::FileExists(path.c_str()));
}

TEST_F(OutputFileTest, HeaderThatCannotBeWrittenLeavesNoFile) {
    for (uint16_t format : {TWFF_TIFF, TWFF_BMP}) {
        SCOPED_TRACE(format);
        plat::host::ClearMessageBoxes();
        plat::host::FailWriteAt(1);
        const std::string path = PathOf("header.img");
        EXPECT_EQ(OpenOutputFile(nullptr, Request(format, path)), plat::kNoFile);
        ExpectWriteErrorReported();
        EXPECT_FALSE(plat::FileExists(path.c_str()));
    }
}

TEST_F(OutputFileTest, BmpThatCannotReachItsFullSizeLeavesNoFile) {
    plat::host::FailWriteAt(2);  // the header goes in, the extension to full size does not
    const std::string path = PathOf("short.bmp");
    EXPECT_EQ(OpenOutputFile(nullptr, Request(TWFF_BMP, path)), plat::kNoFile);
    ExpectWriteErrorReported();
    EXPECT_FALSE(plat::FileExists(path.c_str()));
}

TEST_F(OutputFileTest, GeometryBeyond32BitsIsRefusedBeforeTouchingTheFile) {
    const std::string path = scratch.WriteFile("keep.img", "earlier image");
    const auto tooBig = [&](uint16_t format) {
        OutputFileRequest r = Request(format, path);
        r.pixelWidth = 21845;
        r.bytesPerLine = 65535;
        r.alignedLineLength = 65536;
        r.lines = 65537;  // 65535 x 65537 + 146 is 2^32 + 145
        return r;
    };
    for (uint16_t format : {TWFF_TIFF, TWFF_BMP}) {
        SCOPED_TRACE(format);
        plat::host::ClearMessageBoxes();
        EXPECT_EQ(OpenOutputFile(nullptr, tooBig(format)), plat::kNoFile);
        ExpectWriteErrorReported();
        EXPECT_EQ(scratch.ReadFile("keep.img"), "earlier image");
    }
    // Rows that fit alone but whose strip does not.
    OutputFileRequest r = Request(TWFF_TIFF, path);
    r.bytesPerLine = 0x80000001u;
    r.lines = 2;
    plat::host::ClearMessageBoxes();
    EXPECT_EQ(OpenOutputFile(nullptr, r), plat::kNoFile);
    ExpectWriteErrorReported();
}

TEST_F(OutputFileTest, FormatsWithoutAWriterAreRefused) {
    const std::string path = PathOf("out.jpg");
    EXPECT_EQ(OpenOutputFile(nullptr, Request(TWFF_JFIF, path)), plat::kNoFile);
    ExpectWriteErrorReported();
    EXPECT_FALSE(plat::FileExists(path.c_str()));
}

TEST_F(OutputFileTest, SpoolCreationIsSilent) {
    // The spool creators end the scan with their own message: nothing is shown here.
    const std::string path = PathOf("nowhere/Xfer_G.Tmp");
    EXPECT_EQ(CreateTiffFile(path.c_str(), {PixelLayout::Gray, 10, 10, 300}), plat::kNoFile);
    plat::host::FailWriteAt(1);
    const std::string spool = PathOf("Xfer_G.Tmp");
    EXPECT_EQ(CreateTiffFile(spool.c_str(), {PixelLayout::Gray, 10, 10, 300}), plat::kNoFile);
    EXPECT_FALSE(plat::FileExists(spool.c_str()));
    EXPECT_TRUE(plat::host::MessageBoxes().empty());
    EXPECT_EQ(TheCall.SourceConditionCode, TWCC_SUCCESS);
}

}  // namespace
