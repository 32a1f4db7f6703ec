// Request blocks are reused: before each request the previous answer and every reserved
// byte are cleared, and nothing the caller filled in is touched.
#include <gtest/gtest.h>

#include <cstring>

#include "request_clearing.h"

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
