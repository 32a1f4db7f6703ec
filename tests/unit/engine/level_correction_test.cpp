// Level-correction curves: values worked out from the signed division by hand, and the
// quiet failure when memory cannot be had.
#include <gtest/gtest.h>

#include "engine/level_correction.h"
#include "platform/host/host_control.h"

namespace {

TEST(LevelCorrectionEntry, FlatBelow2048ThenRoundedQuotient) {
    EXPECT_EQ(LevelCorrectionEntry(1000, 0), 1000);
    EXPECT_EQ(LevelCorrectionEntry(1000, 2047), 1000);
    // (4095000 - 2095104) / 2048 = 976 remainder 1048; 2048 < 2096 rounds up.
    EXPECT_EQ(LevelCorrectionEntry(1000, 2048), 977);
    // 1998873 / 2049 = 975 remainder 1098: up again.
    EXPECT_EQ(LevelCorrectionEntry(1000, 2049), 976);
    // 4095 x 3072 / 4095: exact.
    EXPECT_EQ(LevelCorrectionEntry(4095, 4095), 3072);
    // 954 / 4002: quotient 0, remainder under half: 0.
    EXPECT_EQ(LevelCorrectionEntry(1000, 4002), 0);
    // 1030095 / 3000 = 343 remainder 1095, under half: stays.
    EXPECT_EQ(LevelCorrectionEntry(1001, 3000), 343);
    // 1230600 / 2800 = 439 remainder exactly half: stays.
    EXPECT_EQ(LevelCorrectionEntry(1000, 2800), 439);
    // 8387583 / 4094 = 2048 remainder 3071, over half: up.
    EXPECT_EQ(LevelCorrectionEntry(3071, 4094), 2049);
}

TEST(LevelCorrectionEntry, NegativeNumeratorsGiveZero) {
    EXPECT_EQ(LevelCorrectionEntry(1000, 4095), 0);  // -94185 / 4095 = -23
    EXPECT_EQ(LevelCorrectionEntry(1000, 4003), 0);  // -69: quotient 0, remainder negative
    EXPECT_EQ(LevelCorrectionEntry(0, 2048), 0);
}

TEST(LevelCorrectionEntry, SaturatesWhereSixteenBitsDoNotSuffice) {
    EXPECT_EQ(LevelCorrectionEntry(65535, 2047), 65535);
    EXPECT_EQ(LevelCorrectionEntry(65535, 2048), 65535);  // 130015 would wrap to 64479
}

class LevelCorrectionTablesTest : public ::testing::Test {
protected:
    void SetUp() override { plat::host::Reset(); }
    void TearDown() override {
        FreeLevelCorrectionTables();
        plat::host::Reset();
    }
};

TEST_F(LevelCorrectionTablesTest, FourMovableBlocksOneCurvePerCalibrationValue) {
    const uint16_t calibration[4] = {1000, 4095, 0, 3071};
    ASSERT_TRUE(BuildLevelCorrectionTables(calibration));
    for (int k = 0; k < 4; ++k) {
        plat::MemHandle h = LevelCorrectionTables.table[k];
        ASSERT_EQ(plat::MemSize(h), 8192u);
        EXPECT_EQ(plat::host::LockCount(h), 0);
        const auto* t = static_cast<const uint16_t*>(plat::MemLock(h));
        for (int i : {0, 2047, 2048, 3000, 4094, 4095})
            EXPECT_EQ(t[i], LevelCorrectionEntry(calibration[k], i)) << k << " " << i;
        plat::MemUnlock(h);
    }
    // Enabling again replaces the tables instead of leaking them.
    ASSERT_TRUE(BuildLevelCorrectionTables(calibration));
    EXPECT_EQ(plat::host::LiveBlocks(), 4u);
}

TEST_F(LevelCorrectionTablesTest, AllocationFailureLeavesThemUnbuilt) {
    const uint16_t calibration[4] = {1000, 1000, 1000, 1000};
    plat::host::FailAllocationAt(3);
    EXPECT_FALSE(BuildLevelCorrectionTables(calibration));
    for (plat::MemHandle h : LevelCorrectionTables.table) EXPECT_EQ(h, nullptr);
    EXPECT_EQ(plat::host::LiveBlocks(), 0u);
}

}  // namespace
