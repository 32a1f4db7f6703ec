// Sockets on loopback only. The server side of the stream test uses the POSIX calls directly,
// so that the client calls are checked against an independent peer.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "tests/unit/platform/platform_fixture.h"

namespace {

constexpr uint32_t kLoopback = 0x7F000001;  // 127.0.0.1

uint16_t LocalPort(intptr_t fd) {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    getsockname(static_cast<int>(fd), reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}

class Sockets : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        ASSERT_TRUE(plat::SocketStartup());
    }
    void TearDown() override {
        plat::SocketCleanup();
        PlatformTest::TearDown();
    }
};

TEST_F(Sockets, DatagramsCarryTheirSenderAndTimeOutWhenNoneCome) {
    plat::Socket server = plat::SocketOpenUdp();
    plat::Socket client = plat::SocketOpenUdp();
    ASSERT_NE(server, plat::kNoSocket);
    ASSERT_TRUE(plat::SocketBind(server, kLoopback, 0));
    ASSERT_TRUE(plat::SocketBind(client, kLoopback, 0));
    EXPECT_TRUE(plat::SocketSetBroadcast(client, true));

    char buf[50];
    uint32_t from = 0;
    uint16_t port = 0;
    EXPECT_EQ(plat::SocketReceiveFrom(server, buf, sizeof buf, 0, &from, &port), -1);
    EXPECT_EQ(plat::SocketLastError(), 10060);  // WSAETIMEDOUT
    EXPECT_EQ(plat::SocketWaitReadable(server, 20), 0);

    const char hello[] = "Is there a corvane scanner?";
    ASSERT_EQ(plat::SocketSendTo(client, hello, sizeof hello - 1, kLoopback, LocalPort(server)),
              int64_t(sizeof hello - 1));
    EXPECT_EQ(plat::SocketWaitReadable(server, 1000), 1);
    EXPECT_EQ(plat::SocketReceiveFrom(server, buf, sizeof buf, 1000, &from, &port),
              int64_t(sizeof hello - 1));
    EXPECT_EQ(std::string(buf, sizeof hello - 1), hello);
    EXPECT_EQ(from, kLoopback);
    EXPECT_EQ(port, LocalPort(client));
    plat::SocketClose(server);
    plat::SocketClose(client);
}

TEST_F(Sockets, ADatagramLargerThanTheBufferFailsWithMessageSize) {
    plat::Socket server = plat::SocketOpenUdp();
    plat::Socket client = plat::SocketOpenUdp();
    ASSERT_TRUE(plat::SocketBind(server, kLoopback, 0));
    const std::string reply(20, 'x');
    plat::SocketSendTo(client, reply.data(), reply.size(), kLoopback, LocalPort(server));
    char buf[15];
    EXPECT_EQ(plat::SocketReceiveFrom(server, buf, sizeof buf, 1000, nullptr, nullptr), -1);
    EXPECT_EQ(plat::SocketLastError(), 10040);  // WSAEMSGSIZE
    plat::SocketClose(server);
    plat::SocketClose(client);
}

TEST_F(Sockets, StreamRoundTripThenOrderlyCloseReadsZero) {
    int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(kLoopback);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener, 1), 0);

    plat::Socket client = plat::SocketOpenTcp();
    ASSERT_TRUE(plat::SocketSetBufferSizes(client, 32767));
    ASSERT_TRUE(plat::SocketConnect(client, kLoopback, LocalPort(listener)));
    int peer = accept(listener, nullptr, nullptr);
    ASSERT_GE(peer, 0);

    const unsigned char frame[] = {9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 12};
    EXPECT_EQ(plat::SocketSend(client, frame, sizeof frame), int64_t(sizeof frame));
    unsigned char got[sizeof frame];
    EXPECT_EQ(recv(peer, got, sizeof got, MSG_WAITALL), ssize_t(sizeof frame));
    EXPECT_EQ(std::memcmp(got, frame, sizeof frame), 0);

    char buf[32767];
    EXPECT_EQ(plat::SocketReceive(client, buf, sizeof buf, 20), -1);  // nothing yet: timeout
    EXPECT_EQ(plat::SocketLastError(), 10060);
    send(peer, "reply", 5, 0);
    EXPECT_EQ(plat::SocketReceive(client, buf, sizeof buf, plat::kWaitForever), 5);
    close(peer);
    EXPECT_EQ(plat::SocketReceive(client, buf, sizeof buf, plat::kWaitForever), 0);
    plat::SocketClose(client);
    close(listener);
}

TEST_F(Sockets, AServerAcceptsItsClientAndNamesItsAddress) {
    plat::Socket listener = plat::SocketOpenTcp();
    ASSERT_TRUE(plat::SocketSetReuseAddress(listener, true));
    ASSERT_TRUE(plat::SocketBind(listener, kLoopback, 0));
    ASSERT_TRUE(plat::SocketListen(listener, 1));
    EXPECT_EQ(plat::SocketAccept(listener, 20, nullptr, nullptr), plat::kNoSocket);
    EXPECT_EQ(plat::SocketLastError(), 10060);

    plat::Socket client = plat::SocketOpenTcp();
    ASSERT_TRUE(plat::SocketConnect(client, kLoopback, LocalPort(listener)));
    uint32_t peer = 0;
    uint16_t peerPort = 0;
    plat::Socket served = plat::SocketAccept(listener, 1000, &peer, &peerPort);
    ASSERT_NE(served, plat::kNoSocket);
    EXPECT_EQ(peer, kLoopback);
    EXPECT_EQ(peerPort, LocalPort(client));
    plat::SocketClose(served);
    plat::SocketClose(client);
    plat::SocketClose(listener);
}

TEST_F(Sockets, NothingLeavesForAnAddressOutsideLoopback) {
    plat::Socket udp = plat::SocketOpenUdp();
    ASSERT_TRUE(plat::SocketSetBroadcast(udp, true));
    EXPECT_EQ(plat::SocketSendTo(udp, "x", 1, 0xFFFFFFFF, 6001), -1);
    EXPECT_EQ(plat::SocketLastError(), 10051);  // WSAENETUNREACH
    plat::Socket tcp = plat::SocketOpenTcp();
    EXPECT_FALSE(plat::SocketConnect(tcp, 0x0A000001, 7000));
    plat::SocketClose(udp);
    plat::SocketClose(tcp);
}

TEST_F(Sockets, RefusedConnectionReportsTheWinSockCode) {
    // A port that was just free: bind, note it, close.
    int probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(kLoopback);
    bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
    const uint16_t port = LocalPort(probe);
    close(probe);

    plat::Socket client = plat::SocketOpenTcp();
    EXPECT_FALSE(plat::SocketConnect(client, kLoopback, port));
    EXPECT_EQ(plat::SocketLastError(), 10061);  // WSAECONNREFUSED
    plat::SocketClose(client);
}

}  // namespace
