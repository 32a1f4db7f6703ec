// The table files made by tools/maketables: the checked-in copies are what the generator
// writes today, each loads, and their content does what it is documented to do.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "engine/cmyk_table.h"
#include "engine/color_table.h"
#include "platform/host/host_control.h"
#include "tests/unit/color_tables/table_oracle.h"
#include "tools/maketables/table_content.h"

namespace {

Bytes ReadCheckedIn(const TableFile& t) {
    std::ifstream in(std::string(KV_TABLES_DIR) + "/TWAIN_32/" + t.folder + "/" + t.name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

class TableFiles : public ::testing::Test {
protected:
    void SetUp() override { plat::host::Reset(); }
    void TearDown() override {
        FreeCmykTable(cmyk);
        FreeColorTable(colour);
        plat::host::Reset();
    }
    CmykTable cmyk;
    ColorTable colour;
};

TEST_F(TableFiles, TheCheckedInFilesAreWhatTheGeneratorWrites) {
    for (const TableFile& t : AllTableFiles()) {
        SCOPED_TRACE(t.name);
        EXPECT_EQ(ReadCheckedIn(t), t.bytes);
    }
}

TEST_F(TableFiles, TheLatticesTurnWhiteIntoNoInkAndGreyIntoBlack) {
    for (int strength : {100, 60}) {
        const Bytes file = CmykLattice(strength);
        ASSERT_TRUE(CmykTableFromBytes(file.data(), file.size(), &cmyk));
        Bytes block = {255, 255, 255, 0, 0, 0, 128, 128, 128, 0, 0, 0};
        ASSERT_TRUE(ConvertBlockToCmyk(cmyk, block.data(), 9, 12, false));
        EXPECT_EQ(Bytes(block.begin(), block.begin() + 4), (Bytes{0, 0, 0, 0}));
        EXPECT_EQ(block[7], 255 * strength / 100);       // black: its share of K
        EXPECT_EQ(block[4], 255 - block[7]);             // the rest stays with the colours
        EXPECT_GT(block[11], 0);                         // mid grey carries some black
        EXPECT_EQ(block[8], block[9]);                   // and equal colour inks
        EXPECT_EQ(block[9], block[10]);
    }
}

TEST_F(TableFiles, TheColourTablesKeepGreysGreyAndLoadInTheirLayouts) {
    const Bytes small = SmallColorTable(), large = LargeColorTable();
    EXPECT_EQ(small.size(), kSmallColorTableBytes);
    EXPECT_EQ(large.size(), kLargeColorTableBytes);
    for (int v : {0, 16, 100, 128, 200, 255}) {
        const auto s = OracleColorTable(small, v, v, v);
        EXPECT_EQ(s[0], s[1]);
        EXPECT_EQ(s[1], s[2]);
        EXPECT_EQ(s[0], small[v]);  // the matrix leaves a grey where it was
        const auto l = OracleColorTable(large, v, v, v);
        EXPECT_EQ(l[0], l[1]);
        EXPECT_EQ(l[1], l[2]);
        EXPECT_NEAR(l[0], v, 1);
    }
    EXPECT_EQ(LoadColorTable(colour, small.data(), small.size()), ColorTableLoad::Loaded);
    EXPECT_EQ(colour.layout, ColorTableLayout::Small);
    FreeColorTable(colour);
    EXPECT_EQ(LoadColorTable(colour, large.data(), large.size()), ColorTableLoad::Loaded);
    EXPECT_EQ(colour.layout, ColorTableLayout::Large);
}

}  // namespace
