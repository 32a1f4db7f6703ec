// The client's exchange against the sharing server stand-in on loopback: frames and image
// data as the scanner gave them, and every way a server can fail its client.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>

#include "platform/host/host_control.h"
#include "simulator/server/server_requests.h"
#include "tests/unit/remote/remote_client.h"
#include "tests/unit/remote/server_thread.h"

namespace {

class Exchange : public ::testing::Test {
protected:
    void SetUp() override {
        plat::host::Reset();
        TestClient::shownErrors.clear();
    }

    // A server with these faults (and scanner keys), and the client connected to it.
    void Serve(const std::string& fault = "", const std::string& keys = "") {
        ServerOptions options = TestServerOptions();
        if (!fault.empty()) {
            std::string error;
            ASSERT_TRUE(ParseServerOptions({"--fault", fault}, options, error)) << error;
            options.discoveryPort = kTestDiscoveryPort;
            options.requestPort = kTestRequestPort;
        }
        server.reset();
        server = std::make_unique<ServerThread>(options, keys);
        ASSERT_TRUE(server->Listening()) << server->Error();
        ASSERT_TRUE(client.Connect(kTestRequestPort));
    }

    std::unique_ptr<ServerThread> server;
    TestClient client;
};

TEST_F(Exchange, RepliesInPiecesAreAssembledIntoTheirBlocks) {
    Serve("split=7", "Model=800\nBed=narrow\nFirmware=2AB");
    ASSERT_TRUE(client.Exchange(ScanRequestInquiry));
    EXPECT_EQ(client.inquiry.header.status, 0);
    EXPECT_EQ(std::string(client.inquiry.modelPrefix, 4), "KVC-");
    EXPECT_EQ(std::string(client.inquiry.opticalResolution, 4), "0800");
    EXPECT_EQ(client.inquiry.firmwareMajor, '2');
    EXPECT_EQ(client.inquiry.capability & kCapabilityOurScanner, kCapabilityOurScanner);
    ASSERT_TRUE(client.Exchange(ScanRequestGetStatus));
    EXPECT_EQ(client.status.ready, 1);
    // The largest frame both ways, split into 7-byte pieces on its way back.
    client.gamma.selector = kToneSelectGray;
    for (ToneTableSlot& slot : client.gamma.slots) slot.entries = 256;
    ASSERT_TRUE(client.Exchange(ScanRequestSendGamma));
    EXPECT_EQ(client.gamma.header.status, 0);
    EXPECT_EQ(client.gamma.slots[3].entries, 256);
    EXPECT_TRUE(TestClient::shownErrors.empty());
    EXPECT_NE(server->Log().find("frame 3: code 4, 16405 bytes, status 0x0000"), std::string::npos);
}

// A 40000-byte entry comes in more than one receive and lands whole; the last band, shorter
// than the table, fills the entries in order and leaves the rest alone. The oracle is a
// scanner of the test's own given the same requests.
TEST_F(Exchange, ImageDataLandsEntryByEntryAsTheScannerDeliveredIt) {
    Serve();
    ASSERT_TRUE(StartGrayScan(client, 1000, 70));
    ASSERT_EQ(client.start.bytesPerLine, 1000);
    ASSERT_EQ(client.start.lines, 70);
    Device local;
    PowerOn(local, SimulatorConfig{});
    ASSERT_TRUE(StartGrayScan(local, 1000, 70));

    std::vector<uint8_t> area, expected(70 * 1000);
    ScanBufferTable table{};
    uint32_t linesRead = 0;
    for (uint16_t band : {40, 30}) {
        TableOver(area, table, band == 40 ? 1 : 2, 1000, band == 40 ? 40 : 20);
        std::fill(area.begin(), area.end(), 0xA5);
        client.read = ReadDataBlock{};
        client.read.bytesPerLine = 1000;
        client.read.lines = band;
        client.read.bytes = band * 1000u;
        client.read.linesRead = uint16_t(linesRead);
        client.read.entryCount = band == 40 ? 1 : 2;
        client.read.table = table;
        ASSERT_TRUE(client.Exchange(ScanRequestReadData));
        ASSERT_EQ(client.read.header.status, 0);
        const ScanBufferEntry* kept = client.read.table;  // packed fields are read by value
        EXPECT_EQ(kept, table) << "a reply wrote the table's address";

        ReadDataBlock localRead = client.read;
        localRead.header.status = 0;
        BufferSpan span{expected.data() + linesRead * 1000, band * 1000u, band};
        HandleReadData(local, localRead, &span, 1);
        ASSERT_EQ(localRead.header.status, 0);
        EXPECT_EQ(std::memcmp(area.data(), span.data, span.bytes), 0) << "band at " << linesRead;
        if (band == 30) {
            EXPECT_EQ(std::count(area.begin() + 30000, area.end(), 0xA5), 10000)
                << "bytes past the band were written";
        }
        linesRead += band;
    }
}

TEST_F(Exchange, RemoteShadingAnswersNoWithoutASetUp) {
    Serve();
    ASSERT_TRUE(client.Exchange(ScanRequestRemoteShading));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(client.shading), 2), "NO");
    ASSERT_TRUE(StartGrayScan(client, 100, 10));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(client.shading), 2), "OK");
}

TEST_F(Exchange, AServerThatClosesEndsTheConnectionQuietlyAndForGood) {
    Serve("close@2");
    ASSERT_TRUE(client.Exchange(ScanRequestGetStatus));
    EXPECT_FALSE(client.Exchange(ScanRequestGetStatus));
    EXPECT_EQ(client.connection.socket, plat::kNoSocket);
    EXPECT_FALSE(client.Exchange(ScanRequestInquiry));
    EXPECT_TRUE(TestClient::shownErrors.empty());
}

TEST_F(Exchange, AResetConnectionIsNotNamed) {
    Serve("reset@1");
    EXPECT_FALSE(client.Exchange(ScanRequestGetStatus));
    EXPECT_EQ(client.connection.socket, plat::kNoSocket);
    EXPECT_TRUE(TestClient::shownErrors.empty());
}

TEST_F(Exchange, ASilentServerIsGivenUpAfterTheBound) {
    Serve("stall@1=2");
    client.connection.replyWaitMs = 200;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(client.Exchange(ScanRequestGetStatus));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(TestClient::shownErrors, std::vector<int>{10060});
    EXPECT_EQ(client.connection.socket, plat::kNoSocket);
}

TEST_F(Exchange, AReplyOfAnotherCodeGoesIntoItsOwnBlockOnly) {
    Serve("wrong-code@1");
    client.gamma.selector = kToneSelectGray;
    for (ToneTableSlot& slot : client.gamma.slots) {
        slot.entries = 4096;
        std::memset(slot.table, 0x5A, sizeof slot.table);
    }
    const SendGammaBlock before = client.gamma;
    client.status.ready = 7;
    EXPECT_FALSE(client.Exchange(ScanRequestSendGamma));
    EXPECT_EQ(std::memcmp(&before, &client.gamma, sizeof before), 0);
    EXPECT_EQ(client.status.ready, 0) << "the status reply belongs in the status block";
    EXPECT_EQ(client.connection.socket, plat::kNoSocket);
}

TEST_F(Exchange, ReplyCodesWithoutAFrameEndTheConnection) {
    for (const char* fault : {"code@1=2", "code@1=3", "code@1=11"}) {
        Serve(fault);
        client.status.ready = 7;
        EXPECT_FALSE(client.Exchange(ScanRequestGetStatus)) << fault;
        EXPECT_EQ(client.status.ready, 7) << fault;
        EXPECT_EQ(client.connection.socket, plat::kNoSocket) << fault;
    }
    EXPECT_TRUE(TestClient::shownErrors.empty());
}

TEST_F(Exchange, BytesPastAReplyEndTheConnectionBeforeTheyAreTakenForTheNext) {
    Serve("overlong@1");
    const bool first = client.Exchange(ScanRequestGetStatus);
    if (first) {
        EXPECT_FALSE(client.Exchange(ScanRequestGetStatus));
    }
    EXPECT_EQ(client.connection.socket, plat::kNoSocket);
}

TEST_F(Exchange, WhatCannotBeFramedIsNotSent) {
    Serve();
    std::vector<uint8_t> area;
    ScanBufferTable table{};
    TableOver(area, table, 2, 100, 5);
    client.read.bytesPerLine = 100;
    client.read.lines = 11;
    client.read.bytes = 1100;  // one line more than the two entries hold
    client.read.entryCount = 2;
    client.read.table = table;
    EXPECT_FALSE(client.Exchange(ScanRequestReadData));
    uint8_t local[64] = {};
    for (uint32_t code : {2u, 3u, 11u})
        EXPECT_FALSE(RemoteSendRequest(client.connection, code, local, 0, TestClient::Record));
    EXPECT_TRUE(client.Exchange(ScanRequestGetStatus)) << "the connection is still in step";
    EXPECT_TRUE(TestClient::shownErrors.empty());
    EXPECT_EQ(server->Log().find("frame 2"), std::string::npos);
}

TEST_F(Exchange, AClientOutsideTheAllowListIsRefusedAtOnceAndLogged) {
    ServerOptions options = TestServerOptions();
    std::string error;
    ASSERT_TRUE(ParseAllowList("127.0.0.2", options.allow, error));
    server = std::make_unique<ServerThread>(options);
    ASSERT_TRUE(client.Connect(kTestRequestPort));
    EXPECT_FALSE(client.Exchange(ScanRequestInquiry));
    EXPECT_NE(server->Log().find("client 127.0.0.1:"), std::string::npos);
    EXPECT_NE(server->Log().find("refused (not in the allow-list)"), std::string::npos);
    EXPECT_EQ(server->Log().find("frame 1"), std::string::npos);
}

TEST_F(Exchange, AClientThatVanishesMidScanLeavesTheScannerToTheNext) {
    Serve();
    ASSERT_TRUE(StartGrayScan(client, 500, 100));
    std::vector<uint8_t> area;
    ScanBufferTable table{};
    TableOver(area, table, 1, 500, 10);
    client.read.bytesPerLine = 500;
    client.read.lines = 10;
    client.read.bytes = 5000;
    client.read.entryCount = 1;
    client.read.table = table;
    ASSERT_TRUE(client.Exchange(ScanRequestReadData));
    RemoteClose(client.connection);

    TestClient next;
    ASSERT_TRUE(next.Connect(kTestRequestPort));
    EXPECT_TRUE(StartGrayScan(next, 500, 100)) << "set-up status " << next.setup.header.status;
}

}  // namespace
