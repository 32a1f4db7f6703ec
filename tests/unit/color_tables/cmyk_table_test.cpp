// "CMYK Color": the lattice interpolation against its formula, the in-place growth to four
// bytes per pixel, the block-size rule, and the table file's checks.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "engine/cmyk_table.h"
#include "platform/host/host_control.h"
#include "tests/unit/color_tables/table_oracle.h"
#include "twain/capability_applications.h"
#include "twain/capability_kept.h"
#include "twain/source_record.h"

namespace {

class CmykTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::host::Reset();
        plat::host::SetWindowsDirectory(scratch.Subdirectory("windows"));
        ResetSourceRecord();
    }
    void TearDown() override {
        FreeCmykTable(table);
        FreeCmykTable(TheCmykTable);
        ResetSourceRecord();
        TheKeptCapabilities = {};
        EXPECT_EQ(plat::host::LiveBlocks(), 0u);
        plat::host::Reset();
    }
    void WriteTable(const std::string& name, const Bytes& bytes) {
        std::ofstream(scratch.Subdirectory("windows/TWAIN_32/KVTC_A3") + "/" + name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    std::string TablePath(const std::string& name) {
        return scratch.Subdirectory("windows/TWAIN_32/KVTC_A3") + "/" + name;
    }
    // Converts the pixels through `table`, in a block with exactly the room they need.
    Bytes Convert(const Bytes& rgb, bool complement) {
        Bytes block(rgb);
        block.resize(rgb.size() / 3 * 4);
        EXPECT_TRUE(ConvertBlockToCmyk(table, block.data(), uint32_t(rgb.size()), uint32_t(block.size()), complement));
        return block;
    }

    plat::host::ScratchDirectory scratch;
    CmykTable table;
};

TEST_F(CmykTableTest, ALatticePixelTakesItsEntryWithoutInterpolation) {
    const Bytes file = RandomTableBytes(kCmykTableBytes, 1);
    ASSERT_TRUE(CmykTableFromBytes(file.data(), file.size(), &table));
    const size_t entry = (1 * 289 + 2 * 17 + 3) * 4;
    const Bytes raw(file.begin() + long(entry), file.begin() + long(entry) + 4);
    EXPECT_EQ(Convert({16, 32, 48}, false), raw);
    EXPECT_EQ(Convert({16, 32, 48}, true),
              (Bytes{uint8_t(255 - raw[0]), uint8_t(255 - raw[1]), uint8_t(255 - raw[2]), uint8_t(255 - raw[3])}));
}

TEST_F(CmykTableTest, EveryPixelMatchesTheEightCornerFormula) {
    for (uint32_t seed : {2u, 3u}) {
        const Bytes file = RandomTableBytes(kCmykTableBytes, seed);
        ASSERT_TRUE(CmykTableFromBytes(file.data(), file.size(), &table));
        // White interpolates between entries 15 and 16 with fraction 15 on every axis; the
        // random pixels reach every cell, the extremes the table's edges.
        Bytes rgb = {255, 255, 255, 0, 0, 0, 255, 0, 128, 15, 16, 17};
        const Bytes random = RandomTableBytes(3 * 4001, seed);
        rgb.insert(rgb.end(), random.begin(), random.end());
        for (bool complement : {false, true}) {
            const Bytes cmyk = Convert(rgb, complement);
            for (size_t i = 0; i < rgb.size() / 3; ++i) {
                const auto expected = OracleCmyk(file, rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2], complement);
                ASSERT_EQ(0, std::memcmp(cmyk.data() + 4 * i, expected.data(), 4)) << "pixel " << i;
            }
        }
    }
}

TEST_F(CmykTableTest, ABlockThatCannotHoldFourBytesPerPixelIsLeftAlone) {
    const Bytes file = RandomTableBytes(kCmykTableBytes, 4);
    Bytes block = RandomTableBytes(3 * 10 + 2, 5);  // ten pixels and two stray bytes
    const Bytes before = block;
    EXPECT_FALSE(ConvertBlockToCmyk(table, block.data(), 32, 40, true));  // no table yet
    ASSERT_TRUE(CmykTableFromBytes(file.data(), file.size(), &table));
    EXPECT_FALSE(ConvertBlockToCmyk(table, block.data(), 32, 39, true));
    EXPECT_EQ(block, before);
    block.resize(40);
    EXPECT_TRUE(ConvertBlockToCmyk(table, block.data(), 32, 40, true));
}

TEST_F(CmykTableTest, BlocksAreSizedSoTheConvertedRowsFitTheBuffer) {
    EXPECT_EQ(CmykBlockBytes(0), 0u);
    EXPECT_EQ(CmykBlockBytes(1000), 750u);
    EXPECT_EQ(CmykBlockBytes(65536), 49152u);
    EXPECT_EQ(CmykBlockBytes(65535), 49151u);
    EXPECT_EQ(CmykBlockBytes(0xFFFFFFFFu), 49152u);  // no 32-bit overflow on the way
}

TEST_F(CmykTableTest, OnlyFilesHoldingTheWholeLatticeAndNoMoreThan64KiBLoad) {
    const Bytes file = RandomTableBytes(kCmykTableBytes, 6);
    EXPECT_FALSE(CmykTableFromBytes(file.data(), kCmykTableBytes - 1, &table));
    EXPECT_TRUE(CmykTableFromBytes(file.data(), kCmykTableBytes, &table));

    WriteTable("short.tab", Bytes(file.begin(), file.end() - 1));
    EXPECT_FALSE(LoadCmykTableFile(TablePath("short.tab").c_str(), &table));
    EXPECT_EQ(table.pairs, nullptr);
    Bytes longer = file;
    longer.resize(65536, 0);
    WriteTable("longest.tab", longer);
    EXPECT_TRUE(LoadCmykTableFile(TablePath("longest.tab").c_str(), &table));
    longer.push_back(0);
    WriteTable("too_long.tab", longer);
    EXPECT_FALSE(LoadCmykTableFile(TablePath("too_long.tab").c_str(), &table));
    EXPECT_FALSE(LoadCmykTableFile(TablePath("absent.tab").c_str(), &table));
}

TEST_F(CmykTableTest, AMissingFileIsReadFileFailure) {
    EXPECT_FALSE(LoadCmykTable(nullptr, false));
    ASSERT_EQ(plat::host::MessageBoxes().size(), 1u);
    EXPECT_EQ(plat::host::MessageBoxes()[0].text, "Read File Failure.");
}

TEST_F(CmykTableTest, ThePublisherReadsItsOwnFileAndMayKeepTheTableBytes) {
    WriteTable("cmykpp60.tab", RandomTableBytes(kCmykTableBytes, 7));
    EXPECT_FALSE(LoadCmykTable(nullptr, false));  // anyone else needs cmyk.tab
    plat::host::ClearMessageBoxes();
    EXPECT_TRUE(LoadCmykTable(nullptr, true));
    EXPECT_TRUE(plat::host::MessageBoxes().empty());
    std::strcpy(TheSource.AppIdentity.ProductName, "Micrografx Picture Publisher");
    EXPECT_FALSE(CmykKeepsTableBytes());
    TheKeptCapabilities.PixelFlavorFlag = 1;
    EXPECT_TRUE(CmykKeepsTableBytes());
    ResetSourceRecord();
    EXPECT_FALSE(CmykKeepsTableBytes());
}

}  // namespace
