// BUF_ADDR's division of a locked area and the table walks of the port library.
#include <gtest/gtest.h>

#include "simulator/portlib/buffer_table.h"

namespace {

TEST(SimulatorBufferTable, EntriesAreEqualWholeUnitsInsideTheAreaAndNeverTooMany) {
    std::vector<uint8_t> area(5u << 20);
    for (uint32_t unit : {1u, 6u, 300u, 21060u, 42126u, 65535u})
        for (uint32_t bytes : {unit, unit + 1, 3 * unit, 65536u, 2u << 20, 5u << 20}) {
            if (bytes > area.size()) continue;
            ScanBufferEntry table[kScanBufferTableEntries + 1] = {};
            table[kScanBufferTableEntries].size = 0xDEADBEEF;
            const uint16_t n = DivideBuffer(area.data(), bytes, table, unit);
            ASSERT_GE(n, 1) << unit << " " << bytes;
            ASSERT_LE(n, kScanBufferTableEntries);
            EXPECT_EQ(table[kScanBufferTableEntries].size, 0xDEADBEEF);
            for (uint16_t i = 0; i < n; ++i) {
                EXPECT_EQ(table[i].size, table[0].size);
                EXPECT_EQ(table[i].size % unit, 0u);
                EXPECT_EQ(table[i].lines, table[i].size / unit);
                const uint8_t* address = table[i].address;  // a packed field: read it by value
                EXPECT_EQ(address, area.data() + size_t(i) * table[0].size);
            }
            const uint64_t units = bytes / unit;
            if (units <= 16ull * 32767)  // every whole unit is covered
                EXPECT_EQ(uint64_t(n) * table[0].lines, units) << unit << " " << bytes;
            else  // a full table of the largest entries
                EXPECT_EQ(uint64_t(n) * table[0].lines, 16ull * 32767) << unit << " " << bytes;
        }
}

TEST(SimulatorBufferTable, PrimeUnitCountsStillCoverTheArea) {
    std::vector<uint8_t> area(97 * 3000);
    ScanBufferTable table = {};
    ASSERT_EQ(DivideBuffer(area.data(), uint32_t(area.size()), table, 3000), 1);
    EXPECT_EQ(table[0].lines, 97);
}

TEST(SimulatorBufferTable, NothingUsableGivesZero) {
    uint8_t area[100];
    ScanBufferTable table = {};
    EXPECT_EQ(DivideBuffer(area, 99, table, 100), 0);
    EXPECT_EQ(DivideBuffer(area, 100, table, 0), 0);
    EXPECT_EQ(DivideBuffer(nullptr, 100, table, 10), 0);
    EXPECT_EQ(DivideBuffer(area, 100, nullptr, 10), 0);
}

TEST(SimulatorBufferTable, WalksStopAtWhatTheDataNeeds) {
    uint8_t area[1000];
    ScanBufferTable table = {};
    for (int i = 0; i < 4; ++i) table[i] = {100, 0, 0, area + 100 * i, {}};
    // Entry 4 is garbage: a walk that has enough must not look at it.
    table[4] = {0, 0, 0, nullptr, {}};
    std::vector<BufferSpan> spans;
    EXPECT_TRUE(SpansForUnits(table, 30, 12, spans));  // 3 lines of 30 fit per entry
    EXPECT_EQ(spans.size(), 4u);
    EXPECT_FALSE(SpansForUnits(table, 30, 13, spans));
    EXPECT_TRUE(SpansForBytes(table, 250, spans));
    EXPECT_EQ(spans.size(), 3u);
    EXPECT_FALSE(SpansForBytes(table, 401, spans));
    EXPECT_TRUE(SpansFromTable(table, 4, spans));
    EXPECT_FALSE(SpansFromTable(table, 5, spans));
    EXPECT_FALSE(SpansFromTable(table, 0, spans));
}

}  // namespace
