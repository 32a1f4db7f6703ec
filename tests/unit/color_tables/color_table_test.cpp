// Output matching: both colour-table layouts against their formulas in scanner and bitmap
// order, the choice of layout by size, and the refusals of files that are not tables.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>

#include "engine/color_table.h"
#include "platform/host/host_control.h"
#include "tests/unit/color_tables/table_oracle.h"

namespace {

constexpr std::array<float, 12> kMatrix = {0.5f, 1.1f, -0.07f, -0.04f,  //
                                           -3.0f, 0.3f, 0.9f, -0.2f,    //
                                           7.25f, -1.5f, 0.25f, 2.0f};

class ColorTableTest : public ::testing::Test {
protected:
    void SetUp() override { plat::host::Reset(); }
    void TearDown() override {
        FreeColorTable(table);
        FreeColorTable(TheColorTable);
        EXPECT_EQ(plat::host::LiveBlocks(), 0u);
        plat::host::Reset();
    }
    ColorTableLoad Load(const Bytes& file) { return LoadColorTable(table, file.data(), file.size()); }

    // Random pixels in rows with a few bytes of padding, corrected in the given order and
    // compared pixel by pixel with the formula; the padding must stay as it was.
    void ExpectFormula(const Bytes& file, bool bitmapOrder) {
        const uint32_t pixels = 333, lines = 5, stride = pixels * 3 + 3;
        Bytes image = RandomTableBytes(size_t(stride) * lines, 11);
        image[0] = image[1] = image[2] = 255;  // the top corner of every lattice
        image[3] = image[4] = image[5] = 0;
        const Bytes before = image;
        ApplyColorTable(table, lines, pixels, image.data(), stride, bitmapOrder);
        const int first = bitmapOrder ? 2 : 0, third = bitmapOrder ? 0 : 2;
        for (uint32_t r = 0; r < lines; ++r) {
            for (uint32_t x = 0; x < pixels; ++x) {
                const uint8_t* in = before.data() + r * stride + 3 * x;
                const uint8_t* out = image.data() + r * stride + 3 * x;
                const auto expected = OracleColorTable(file, in[first], in[1], in[third]);
                ASSERT_EQ(out[first], expected[0]) << r << "," << x;
                ASSERT_EQ(out[1], expected[1]) << r << "," << x;
                ASSERT_EQ(out[third], expected[2]) << r << "," << x;
            }
            for (uint32_t p = 3 * pixels; p < stride; ++p) ASSERT_EQ(image[r * stride + p], before[r * stride + p]);
        }
    }

    ColorTable table;
};

TEST_F(ColorTableTest, TheSmallLayoutFollowsItsMatrixAndCurvesInBothOrders) {
    const Bytes file = SmallLayoutFile(kMatrix, 1);
    ASSERT_EQ(Load(file), ColorTableLoad::Loaded);
    EXPECT_EQ(table.layout, ColorTableLayout::Small);
    ExpectFormula(file, false);
    ExpectFormula(file, true);
}

TEST_F(ColorTableTest, TheLargeLayoutInterpolatesTheCurvedInputsInBothOrders) {
    const Bytes file = RandomTableBytes(kLargeColorTableBytes, 2);
    ASSERT_EQ(Load(file), ColorTableLoad::Loaded);
    EXPECT_EQ(table.layout, ColorTableLayout::Large);
    ExpectFormula(file, false);
    ExpectFormula(file, true);
}

TEST_F(ColorTableTest, SizeChoosesTheLayout) {
    Bytes file = SmallLayoutFile(kMatrix, 3);
    EXPECT_EQ(Load(Bytes(file.begin(), file.end() - 1)), ColorTableLoad::Refused);
    file.resize(818, 0);
    EXPECT_EQ(Load(file), ColorTableLoad::Loaded);
    EXPECT_EQ(table.layout, ColorTableLayout::Small);
    FreeColorTable(table);
    // From 819 bytes on a file is of the large layout, and must hold all of it.
    file.resize(819, 0);
    EXPECT_EQ(Load(file), ColorTableLoad::Refused);
    file.resize(kLargeColorTableBytes - 1, 0);
    EXPECT_EQ(Load(file), ColorTableLoad::Refused);
    file.resize(kLargeColorTableBytes, 0);
    EXPECT_EQ(Load(file), ColorTableLoad::Loaded);
    EXPECT_EQ(table.layout, ColorTableLayout::Large);
    FreeColorTable(table);
    file.resize(65536, 0);
    EXPECT_EQ(Load(file), ColorTableLoad::Loaded);
    FreeColorTable(table);
    file.resize(65537, 0);
    EXPECT_EQ(Load(file), ColorTableLoad::Refused);
}

TEST_F(ColorTableTest, MatrixValuesNoTableHoldsAreRefused) {
    for (float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                      -std::numeric_limits<float>::infinity(), 1024.5f, -3.0e9f}) {
        for (size_t slot : {0u, 5u, 11u}) {
            auto matrix = kMatrix;
            matrix[slot] = bad;
            SCOPED_TRACE(testing::Message() << bad << " at " << slot);
            EXPECT_EQ(Load(SmallLayoutFile(matrix, 4)), ColorTableLoad::Refused);
            EXPECT_EQ(table.layout, ColorTableLayout::None);
        }
    }
    auto edge = kMatrix;
    edge[1] = -1024.0f;
    EXPECT_EQ(Load(SmallLayoutFile(edge, 4)), ColorTableLoad::Loaded);
}

TEST_F(ColorTableTest, OneTableIsHeldUntilFreed) {
    const Bytes small = SmallLayoutFile(kMatrix, 5), large = RandomTableBytes(kLargeColorTableBytes, 6);
    ASSERT_EQ(Load(small), ColorTableLoad::Loaded);
    EXPECT_EQ(Load(large), ColorTableLoad::AlreadyHeld);
    EXPECT_EQ(table.layout, ColorTableLayout::Small);
    FreeColorTable(table);
    Bytes pixels = RandomTableBytes(30, 7);
    const Bytes before = pixels;
    ApplyColorTable(table, 1, 10, pixels.data(), 30, false);
    EXPECT_EQ(pixels, before);
    plat::host::FailAllocationAt(1);
    EXPECT_EQ(Load(large), ColorTableLoad::Refused);
    EXPECT_EQ(Load(large), ColorTableLoad::Loaded);
}

TEST_F(ColorTableTest, TablesAreReadFromTheColourFolder) {
    plat::host::ScratchDirectory scratch;
    plat::host::SetWindowsDirectory(scratch.Subdirectory("windows"));
    EXPECT_EQ(LoadColorTableFile("corvA3.tab"), ColorTableLoad::Refused);
    const Bytes file = SmallLayoutFile(kMatrix, 8);
    std::ofstream(scratch.Subdirectory("windows/TWAIN_32/COLOR") + "/corvA3.tab", std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    EXPECT_EQ(LoadColorTableFile("corvA3.tab"), ColorTableLoad::Loaded);
    EXPECT_EQ(TheColorTable.layout, ColorTableLayout::Small);
    EXPECT_EQ(LoadColorTableFile("corvA3.tab"), ColorTableLoad::AlreadyHeld);
    // Another source's table replaces it; a missing one leaves none held.
    EXPECT_EQ(LoadColorTableFile("corvA3p.tab"), ColorTableLoad::Refused);
    EXPECT_EQ(TheColorTable.layout, ColorTableLayout::None);
}

}  // namespace
