// Request blocks are reused: before each request the previous answer and every reserved
// byte are cleared, and nothing the caller filled in is touched.
#include <gtest/gtest.h>

#include <cstring>

#include "common/request_clearing.h"

namespace {

template <typename Block>
Block Dirty() {
    Block b;
    std::memset(static_cast<void*>(&b), 0xAB, sizeof b);
    return b;
}

TEST(RequestClearing, AnswersAndReservedBytesGoCallersFieldsStay) {
    auto set = Dirty<SetParametersBlock>();
    ClearRequestBlock(ScanRequestSetParameters, &set);
    EXPECT_EQ(set.header.reserved0 | set.header.status | set.header.reserved1, 0);
    EXPECT_EQ(set.shadingNeeded | set.shadingKind | set.replyState | set.reserved23 | set.reserved27, 0);
    EXPECT_EQ(set.reserved28, 0u);
    EXPECT_EQ(set.xStart, 0xABAB);
    EXPECT_EQ(set.resolution, 0xABAB);
    EXPECT_EQ(set.lampSaverOnly, 0xAB);

    auto start = Dirty<StartScanBlock>();
    ClearRequestBlock(ScanRequestStartScan, &start);
    EXPECT_EQ(start.lines | start.bytesPerLine | start.zero6 | start.header.status, 0);

    auto read = Dirty<ReadDataBlock>();
    ClearRequestBlock(ScanRequestReadData, &read);
    EXPECT_EQ(read.reserved10 | read.header.status, 0);
    for (uint8_t b : read.reserved20) EXPECT_EQ(b, 0);
    EXPECT_EQ(read.bytes, 0xABABABABu);
    EXPECT_EQ(read.entryCount, 0xABAB);

    auto status = Dirty<GetStatusBlock>();
    ClearRequestBlock(ScanRequestGetStatus, &status);
    EXPECT_EQ(status.ready | status.header.status, 0);

    auto info = Dirty<ShadingInfoBlock>();
    ClearRequestBlock(ScanRequestShadingInfo, &info);
    EXPECT_EQ(info.lines | info.bytesPerLine, 0);
    EXPECT_EQ(info.one, 0xABAB);

    auto send = Dirty<SendShadingBlock>();
    ClearRequestBlock(ScanRequestSendShading, &send);
    EXPECT_EQ(send.zero12 | send.zero14, 0);
    EXPECT_EQ(send.samples, 0xABABABABu);
}

}  // namespace

#include "common/scan_buffers.h"

namespace {

uint16_t gEntriesToWrite = 0;

uint16_t KV_WINAPI WritingBufAddr(void* area, uint32_t bytes, void* table, uint32_t unit) {
    auto* entries = static_cast<ScanBufferEntry*>(table);
    for (uint16_t i = 0; i < gEntriesToWrite; ++i)
        entries[i] = ScanBufferEntry{unit, 1, 0, static_cast<uint8_t*>(area) + (i * unit) % bytes, {}};
    return gEntriesToWrite;
}

// A port library that answers with more entries than a table holds writes into room to
// spare, and the answer is refused before anything of it is used.
TEST(BufferTable, MoreEntriesThanTheTableHoldsAreRefused) {
    uint8_t area[4096];
    struct {
        ScanBufferTable table;
        uint8_t guard[64];
    } t;
    std::memset(&t, 0xCD, sizeof t);
    gEntriesToWrite = 40;
    EXPECT_EQ(DivideIntoTable(WritingBufAddr, area, sizeof area, 64, t.table), 0);
    for (uint8_t g : t.guard) ASSERT_EQ(g, 0xCD);
    EXPECT_EQ(t.table[0].size, 0xCDCDCDCDu);  // nothing copied
    gEntriesToWrite = 16;
    EXPECT_EQ(DivideIntoTable(WritingBufAddr, area, sizeof area, 64, t.table), 16);
    const uint8_t* last = t.table[15].address;
    EXPECT_EQ(last, area + 15 * 64);
    for (uint8_t g : t.guard) ASSERT_EQ(g, 0xCD);
}

}  // namespace
