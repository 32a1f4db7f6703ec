#include <algorithm>
#include <numeric>

#include "common/twain.h"
#include "imagefile/bmp_bands.h"
#include "imagefile/image_headers.h"
#include "imagefile/output_bands.h"
#include "imagefile/output_file.h"
#include "platform/host/host_control.h"
#include "tests/unit/imagefile/imagefile_fixture.h"

namespace {

class BandWritingTest : public ImageFileTest {
protected:
    OutputFileRequest Request(uint16_t format, PixelLayout layout, uint32_t width,
                              uint32_t lines, uint32_t bytesPerLine, uint32_t aligned) {
        OutputFileRequest r;
        r.path = path.c_str();
        r.fileFormat = format;
        r.layout = layout;
        r.pixelWidth = width;
        r.lines = lines;
        r.bytesPerLine = bytesPerLine;
        r.alignedLineLength = aligned;
        r.resolution = 200;
        return r;
    }

    // Creates the file and writes the lines in bands of the given row counts; returns what
    // EndOutputBands says and leaves the file closed.
    bool WriteInBands(const OutputFileRequest& r, const std::vector<uint8_t>& lines,
                      std::initializer_list<uint32_t> bandRows) {
        const plat::FileHandle f = OpenOutputFile(nullptr, r);
        EXPECT_NE(f, plat::kNoFile);
        OutputBands bands;
        EXPECT_TRUE(BeginOutputBands(&bands, f, r));
        size_t at = 0;
        bool written = true;
        for (uint32_t rows : bandRows) {
            written = written && WriteOutputBand(&bands, lines.data() + at, rows);
            at += size_t(rows) * r.bytesPerLine;
        }
        const bool complete = EndOutputBands(&bands);
        plat::FileClose(f);
        return written && complete;
    }

    static std::vector<uint8_t> Counting(size_t n, uint8_t first = 1) {
        std::vector<uint8_t> v(n);
        std::iota(v.begin(), v.end(), first);
        return v;
    }

    std::string path = PathOf("image.out");
};

TEST_F(BandWritingTest, TiffBandsAreAppendedInScanOrder) {
    const auto r = Request(TWFF_TIFF, PixelLayout::Gray, 5, 5, 5, 8);
    const std::vector<uint8_t> lines = Counting(25);
    ASSERT_TRUE(WriteInBands(r, lines, {2, 2, 1}));
    const std::vector<uint8_t> file = ReadBytes(path);
    ASSERT_EQ(file.size(), 140u + 25u);
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 140, file.end()), lines);
}

TEST_F(BandWritingTest, TiffNeverGrowsPastTheStripItsHeaderStates) {
    const auto r = Request(TWFF_TIFF, PixelLayout::Gray, 4, 3, 4, 4);
    const std::vector<uint8_t> lines = Counting(16);
    const plat::FileHandle f = OpenOutputFile(nullptr, r);
    OutputBands bands;
    ASSERT_TRUE(BeginOutputBands(&bands, f, r));
    EXPECT_TRUE(WriteOutputBand(&bands, lines.data(), 2));
    EXPECT_FALSE(WriteOutputBand(&bands, lines.data(), 2));  // only one row left
    EXPECT_EQ(plat::FileSize(path.c_str()), 140 + 8);
    EXPECT_FALSE(EndOutputBands(&bands));  // a row is missing
    plat::FileClose(f);
}

TEST_F(BandWritingTest, BmpRowsGoBottomUpWhateverTheBands) {
    // Gray, 3 pixels: rows of 3 bytes stored in 4.
    const auto r = Request(TWFF_BMP, PixelLayout::Gray, 3, 5, 3, 4);
    const std::vector<uint8_t> lines = Counting(15);
    ASSERT_TRUE(WriteInBands(r, lines, {2, 2, 1}));
    const std::vector<uint8_t> file = ReadBytes(path);
    ASSERT_EQ(file.size(), 1078u + 20u);
    const std::vector<uint8_t> expected = {13, 14, 15, 0, 10, 11, 12, 0, 7, 8, 9, 0,
                                           4,  5,  6,  0, 1,  2,  3,  0};
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 1078, file.end()), expected);
}

TEST_F(BandWritingTest, BmpColorIsStoredBlueGreenRed) {
    const auto r = Request(TWFF_BMP, PixelLayout::Rgb24, 2, 1, 6, 8);
    ASSERT_TRUE(WriteInBands(r, {1, 2, 3, 4, 5, 6}, {1}));
    const std::vector<uint8_t> file = ReadBytes(path);
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 54, file.end()),
              (std::vector<uint8_t>{3, 2, 1, 6, 5, 4, 0, 0}));
}

TEST_F(BandWritingTest, WideColorRowsAreSwappedWholeAndPaddedWithZeros) {
    // 23 pixels: 69 bytes stored in 72, wide enough for the vector path, whose last vector
    // ends at the row's last pixel and must leave the padding to the zeros.
    const uint32_t width = 23, lines = 3, lineBytes = width * 3, aligned = 72;
    const auto r = Request(TWFF_BMP, PixelLayout::Rgb24, width, lines, lineBytes, aligned);
    const std::vector<uint8_t> scan = Counting(lineBytes * lines);
    ASSERT_TRUE(WriteInBands(r, scan, {2, 1}));
    std::vector<uint8_t> expected;
    for (uint32_t row = lines; row-- > 0;) {
        const uint8_t* line = scan.data() + row * lineBytes;
        for (uint32_t x = 0; x < width; ++x)
            expected.insert(expected.end(), {line[3 * x + 2], line[3 * x + 1], line[3 * x]});
        expected.insert(expected.end(), aligned - lineBytes, 0);
    }
    const std::vector<uint8_t> file = ReadBytes(path);
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 54, file.end()), expected);
}

TEST_F(BandWritingTest, Bmp36BitColorKeepsTheTopEightBitsOfEachSample) {
    // Samples (little-endian) red 0xAB10, green 0x0FF0, blue 0xFFF0.
    const auto r = Request(TWFF_BMP, PixelLayout::Rgb48, 1, 1, 6, 4);
    ASSERT_TRUE(WriteInBands(r, {0x10, 0xAB, 0xF0, 0x0F, 0xF0, 0xFF}, {1}));
    const std::vector<uint8_t> file = ReadBytes(path);
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 54, file.end()),
              (std::vector<uint8_t>{0xFF, 0x0F, 0xAB, 0}));
}

TEST_F(BandWritingTest, BmpLineArtKeepsItsBitsAndPadsWithZeros) {
    const auto r = Request(TWFF_BMP, PixelLayout::LineArt, 16, 2, 2, 4);
    ASSERT_TRUE(WriteInBands(r, {0x80, 0x01, 0xFF, 0x7E}, {2}));
    const std::vector<uint8_t> file = ReadBytes(path);
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 62, file.end()),
              (std::vector<uint8_t>{0xFF, 0x7E, 0, 0, 0x80, 0x01, 0, 0}));
}

// Rows long enough to go to the file as they are, as one gathered write per band: the file
// must be the one the converting path writes. Lines are longer than the stored row (the
// tail must not reach the file) and bands end mid-way through a gathered write's rows.
TEST_F(BandWritingTest, RowsThatNeedNoConversionAreGatheredIntoTheSameFile) {
    struct Case {
        PixelLayout layout;
        uint32_t width, storedBytes;
    };
    for (const Case c : {Case{PixelLayout::Gray, 601, 601}, Case{PixelLayout::LineArt, 4100, 513},
                         Case{PixelLayout::Rgb24, 203, 609}}) {
        SCOPED_TRACE(int(c.layout));
        const uint32_t lines = 300, lineBytes = c.storedBytes + 5;
        const uint32_t aligned = BmpRowBytes(c.layout, c.width);
        const std::vector<uint8_t> scan = Counting(size_t(lineBytes) * lines);
        std::vector<uint8_t> expected;
        for (uint32_t row = lines; row-- > 0;) {
            const uint8_t* line = scan.data() + size_t(row) * lineBytes;
            expected.insert(expected.end(), line, line + c.storedBytes);
            expected.insert(expected.end(), aligned - c.storedBytes, 0);
        }
        auto r = Request(TWFF_BMP, c.layout, c.width, lines, lineBytes, aligned);
        r.colourOrder = ColourOrder::Stored;
        ASSERT_TRUE(WriteInBands(r, scan, {1, 270, 29}));
        const std::vector<uint8_t> file = ReadBytes(path);
        const size_t offset = BmpDataOffset(c.layout);
        ASSERT_EQ(file.size(), offset + expected.size());
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), file.begin() + offset));
        // A write that fails part-way through is reported, and nothing is left held.
        plat::host::FailWriteAt(3);
        EXPECT_FALSE(WriteInBands(r, scan, {1, 270, 29}));
        EXPECT_EQ(plat::host::LiveBlocks(), 0u);
    }
}

// Narrow rows go through the staging block, wide ones are gathered: neither swaps again.
TEST_F(BandWritingTest, ColourAlreadyInStoredOrderIsNotSwappedAgain) {
    for (uint32_t width : {5u, 300u}) {
        SCOPED_TRACE(width);
        const uint32_t lines = 7, lineBytes = width * 3;
        const std::vector<uint8_t> scan = Counting(size_t(lineBytes) * lines);
        std::vector<uint8_t> stored = scan;
        for (size_t i = 0; i < stored.size(); i += 3) std::swap(stored[i], stored[i + 2]);
        auto r = Request(TWFF_BMP, PixelLayout::Rgb24, width, lines, lineBytes,
                         BmpRowBytes(PixelLayout::Rgb24, width));
        ASSERT_TRUE(WriteInBands(r, scan, {3, 4}));
        const std::vector<uint8_t> converted = ReadBytes(path);
        r.colourOrder = ColourOrder::Stored;
        ASSERT_TRUE(WriteInBands(r, stored, {5, 2}));
        EXPECT_EQ(ReadBytes(path), converted);
    }
}

TEST_F(BandWritingTest, SmallStagingBlockWritesTheSameFile) {
    const BmpGeometry g{PixelLayout::Rgb24, 5, 7, 16};
    const std::vector<uint8_t> lines = Counting(7 * 15);
    const auto write = [&](const std::string& name, uint32_t stagingBytes,
                           std::initializer_list<uint32_t> bandRows) {
        const std::string p = PathOf(name);
        const plat::FileHandle f = CreateBmpFile(p.c_str(), g);
        BmpBands bands;
        EXPECT_TRUE(BeginBmpBands(&bands, f, g, 15, ColourOrder::Scanned, stagingBytes));
        size_t at = 0;
        for (uint32_t rows : bandRows) {
            EXPECT_TRUE(WriteBmpBand(&bands, lines.data() + at, rows));
            at += rows * 15;
        }
        EXPECT_TRUE(EndBmpBands(&bands));
        plat::FileClose(f);
        return ReadBytes(p);
    };
    const std::vector<uint8_t> whole = write("whole.bmp", kBmpStagingBytes, {7});
    EXPECT_EQ(write("two-rows.bmp", 32, {7}), whole);
    EXPECT_EQ(write("one-row.bmp", 1, {3, 4}), whole);  // less than a row still holds one
    EXPECT_EQ(write("mixed.bmp", 48, {1, 5, 1}), whole);
}

TEST_F(BandWritingTest, BmpStagingStaysBoundedForHugeImages) {
    // Four gigabytes of gray rows: the staging block holds only what fits the bound.
    BmpBands bands;
    ASSERT_TRUE(BeginBmpBands(&bands, plat::kNoFile, {PixelLayout::Gray, 1000, 4000000, 1000},
                              1000, ColourOrder::Scanned));
    EXPECT_LE(uint64_t(bands.stagingCapacity) * 1000, kBmpStagingBytes);
    EXPECT_GE(bands.stagingCapacity * 1000u, 1u << 20);  // still writes of a megabyte or more
    EndBmpBands(&bands);
    // A row longer than the bound gets a block of exactly one row.
    ASSERT_TRUE(BeginBmpBands(&bands, plat::kNoFile,
                              {PixelLayout::Rgb24, 2000000, 10, 6000000}, 6000000,
                              ColourOrder::Scanned));
    EXPECT_EQ(bands.stagingCapacity, 1u);
    EndBmpBands(&bands);
    EXPECT_EQ(plat::host::LiveBlocks(), 0u);
}

TEST_F(BandWritingTest, BmpRefusesWhatWouldCorruptTheFile) {
    const BmpGeometry g{PixelLayout::Rgb24, 5, 3, 16};
    const plat::FileHandle f = CreateBmpFile(path.c_str(), g);
    const std::vector<uint8_t> before = ReadBytes(path);
    BmpBands bands;
    EXPECT_FALSE(BeginBmpBands(&bands, f, g, 14));  // lines shorter than 5 pixels
    ASSERT_TRUE(BeginBmpBands(&bands, f, g, 15));
    const std::vector<uint8_t> lines = Counting(4 * 15);
    EXPECT_FALSE(WriteBmpBand(&bands, lines.data(), 4));  // more rows than the image
    EXPECT_FALSE(EndBmpBands(&bands));                    // nothing placed yet
    plat::FileClose(f);
    EXPECT_EQ(ReadBytes(path), before);
}

TEST_F(BandWritingTest, WriteFailureIsReportedAndFreesTheStaging) {
    for (uint16_t format : {TWFF_TIFF, TWFF_BMP}) {
        SCOPED_TRACE(format);
        const auto r = Request(format, PixelLayout::Gray, 4, 4, 4, 4);
        const plat::FileHandle f = OpenOutputFile(nullptr, r);
        OutputBands bands;
        ASSERT_TRUE(BeginOutputBands(&bands, f, r));
        const std::vector<uint8_t> lines = Counting(16);
        plat::host::FailWriteAt(2);
        EXPECT_TRUE(WriteOutputBand(&bands, lines.data(), 2));
        EXPECT_FALSE(WriteOutputBand(&bands, lines.data() + 8, 2));
        EXPECT_FALSE(EndOutputBands(&bands));
        plat::FileClose(f);
        EXPECT_EQ(plat::host::LiveBlocks(), 0u);
    }
}

TEST_F(BandWritingTest, StagingThatCannotBeAllocatedFailsTheStart) {
    const auto r = Request(TWFF_BMP, PixelLayout::Gray, 4, 4, 4, 4);
    const plat::FileHandle f = OpenOutputFile(nullptr, r);
    plat::host::FailAllocationAt(1);
    OutputBands bands;
    EXPECT_FALSE(BeginOutputBands(&bands, f, r));
    EXPECT_FALSE(WriteOutputBand(&bands, Counting(4).data(), 1));
    EXPECT_FALSE(EndOutputBands(&bands));
    plat::FileClose(f);
}

}  // namespace
