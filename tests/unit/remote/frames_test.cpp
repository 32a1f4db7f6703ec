// The protocol's tables as the wire has them: frame sizes both ways, fields at their byte
// offsets in little-endian order (written out here by hand from the layouts), the ReadData
// address slot, and the names of socket errors.
#include <gtest/gtest.h>

#include <cstring>

#include "common/remote_frames.h"
#include "common/winsock_error_names.h"

namespace {

TEST(Frames, SizesFollowTheCodeTables) {
    const size_t request[] = {135, 34, 0, 0, 16405, 17, 7, 17, 37, 13, 1, 0};
    const size_t reply[] = {135, 33, 0, 0, 16405, 17, 7, 17, 37, 13, 4, 0};
    for (uint32_t code = 0; code < 12; ++code) {
        EXPECT_EQ(RequestFrameBytes(code), request[code]) << code;
        EXPECT_EQ(ReplyFrameBytes(code), reply[code]) << code;
    }
    EXPECT_EQ(ReplyFrameBytes(255), 0u);
}

TEST(Frames, ASetUpTravelsFieldByFieldWithItsCalibrationFlag) {
    SetParametersBlock s{};
    s.xStart = 0x1234;
    s.yEnd = 0xABCD;
    s.colourType = kColourTypeColour;
    s.resolution = 600;
    s.lampSaverMinutes = 255;
    s.reserved28 = 0x01020304;
    uint8_t frame[64];
    ASSERT_EQ(EncodeRequestFrame(ScanRequestSetParameters, &s, 1, frame), 34u);
    EXPECT_EQ(frame[0], 1);
    EXPECT_EQ(frame[1 + 6], 0x34);
    EXPECT_EQ(frame[1 + 7], 0x12);
    EXPECT_EQ(frame[1 + 12], 0xCD);
    EXPECT_EQ(frame[1 + 13], 0xAB);
    EXPECT_EQ(frame[1 + 16], 3);
    EXPECT_EQ(frame[1 + 18], 600 & 255);
    EXPECT_EQ(frame[1 + 19], 600 >> 8);
    EXPECT_EQ(frame[1 + 24], 255);
    EXPECT_EQ(frame[1 + 28], 4);
    EXPECT_EQ(frame[1 + 31], 1);
    EXPECT_EQ(frame[33], 1) << "the force-calibration flag follows the block";

    SetParametersBlock server{};
    uint8_t force = 0;
    DecodeRequestFrame(frame, &server, &force);
    EXPECT_EQ(std::memcmp(&server, &s, sizeof s), 0);
    EXPECT_EQ(force, 1);
}

TEST(Frames, AReadCarriesNoAddressAndNoReplyWritesOne) {
    ScanBufferTable table{};
    ReadDataBlock r{};
    r.bytesPerLine = 3000;
    r.lines = 20;
    r.bytes = 60000;
    r.linesRead = 40;
    r.entryCount = 2;
    r.table = table;
    uint8_t frame[64];
    ASSERT_EQ(EncodeRequestFrame(ScanRequestReadData, &r, 0, frame), 37u);
    EXPECT_EQ(frame[1 + 12] | frame[1 + 13] << 8 | frame[1 + 14] << 16, 60000);
    EXPECT_EQ(frame[1 + 16], 40);
    EXPECT_EQ(frame[1 + 26], 2);
    if (sizeof(void*) == 8) {
        for (int i = 28; i < 36; ++i) EXPECT_EQ(frame[1 + i], 0) << "address byte " << i;
    }

    // A reply with every byte of the slot set, and a status.
    uint8_t reply[37];
    std::memset(reply, 0xFF, sizeof reply);
    reply[0] = ScanRequestReadData;
    reply[1 + 2] = 0x21;
    reply[1 + 3] = 0x83;
    DecodeReplyFrame(reply, &r);
    const uint16_t status = r.header.status;
    const ScanBufferEntry* kept = r.table;  // packed fields are read by value
    EXPECT_EQ(status, 0x8321);
    EXPECT_EQ(kept, table);
}

TEST(Frames, TheShadingReplyIsTwoBytesOfAFourByteFrame) {
    uint8_t frame[4];
    const uint8_t word[2] = {'N', 'O'};
    ASSERT_EQ(EncodeReplyFrame(ScanRequestRemoteShading, word, frame), 4u);
    uint8_t got[3] = {0, 0, 0x77};
    DecodeReplyFrame(frame, got);
    EXPECT_EQ(got[0], 'N');
    EXPECT_EQ(got[1], 'O');
    EXPECT_EQ(got[2], 0x77);
    uint8_t request[4];
    EXPECT_EQ(EncodeRequestFrame(ScanRequestRemoteShading, nullptr, 0, request), 1u);
    EXPECT_EQ(EncodeRequestFrame(ScanRequestReadShading, got, 0, request), 0u);
}

TEST(SocketErrorNames, EveryNamedCodeAndTheRest) {
    EXPECT_STREQ(WinSockErrorName(10054), "WSAECONNRESET");
    EXPECT_STREQ(WinSockErrorName(10060), "WSAETIMEDOUT");
    EXPECT_STREQ(WinSockErrorName(10049), "WSAEEADDRNOTAVAIL");
    EXPECT_STREQ(WinSockErrorName(10022), WinSockErrorName(10092));
    EXPECT_STREQ(WinSockErrorName(10093), "WSANOTINITIALISED");
    int named = 0;
    for (int code = 10000; code < 10100; ++code)
        named += std::strcmp(WinSockErrorName(code), "error_code not defined") != 0;
    EXPECT_EQ(named, 46);
    EXPECT_STREQ(WinSockErrorName(0), "error_code not defined");
    EXPECT_STREQ(WinSockErrorName(11001), "error_code not defined");
}

}  // namespace
