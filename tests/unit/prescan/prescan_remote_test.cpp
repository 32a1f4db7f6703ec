// The prescan over the data source's connection to the sharing server (the server stand-in
// on a thread of the test, on loopback): the same file as from a local scanner, and a lost
// connection told once and handed back to its owner shut down, not closed.
#include <gtest/gtest.h>

#include <fcntl.h>

#include "platform/host/host_control.h"
#include "prescan/prescan_messages.h"
#include "prescan/run_prescan.h"
#include "tests/unit/prescan/prescan_fixture.h"
#include "tests/unit/remote/server_thread.h"

namespace {

plat::Socket ConnectToServer() {
    const plat::Socket s = plat::SocketOpenTcp();
    if (s == plat::kNoSocket || !plat::SocketConnect(s, kLoopback, kTestRequestPort)) return plat::kNoSocket;
    return s;
}

// The prescan over a connection to `server`, as the data source lends it; the socket stays
// open for the test to look at.
PreScanResult PrescanThrough(const ServerThread& server, PrescanCall call, plat::Socket& socket) {
    socket = plat::kNoSocket;
    EXPECT_TRUE(server.Listening()) << server.Error();
    socket = ConnectToServer();
    EXPECT_NE(socket, plat::kNoSocket);
    call.socket = static_cast<uintptr_t>(socket);
    return RunPrescan(call);
}

}  // namespace

TEST_F(PrescanTest, ThroughTheServerGivesTheSameFile) {
    // The local port's scanner is held by the server; only the server's scanner scans.
    Simulate("SetupStatus", "0x8001");
    ServerThread server(TestServerOptions());
    plat::Socket socket;
    const PreScanResult r = PrescanThrough(server, Call(), socket);
    EXPECT_EQ(r.lines, 510u);
    EXPECT_TRUE(MessageTexts().empty());
    EXPECT_EQ(Bitmap().rows, Reference(30).data);
    // The server calibrated (code 10); nothing of the local measurement reached the store.
    EXPECT_NE(server.Log().find("10"), std::string::npos);
    EXPECT_EQ(store.keptSamples, 0);
    EXPECT_EQ(store.forceCalibration, 0);
    // The connection is still the data source's, open for its next request.
    EXPECT_NE(fcntl(static_cast<int>(socket), F_GETFD), -1);
    plat::SocketClose(socket);
}

TEST_F(PrescanTest, LostConnectionIsToldOnceAndHandedBackShutDown) {
    ServerOptions options = TestServerOptions();
    options.faults.closeAtFrame = 5;  // during the shading
    ServerThread server(options);
    plat::Socket socket;
    const PreScanResult r = PrescanThrough(server, Call(), socket);
    EXPECT_EQ(r.fileWritten, 0u);
    EXPECT_FALSE(BitmapExists());
    const auto boxes = plat::host::MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "A3 Flatbed Scanner disconnects from Relaynor.\nIt can't share the remote scanner.");
    EXPECT_EQ(boxes[0].caption, "A3 Flatbed Scanner");
    // Not closed under its owner's hands: the owner finds it ended and closes it itself.
    ASSERT_NE(fcntl(static_cast<int>(socket), F_GETFD), -1);
    uint8_t byte;
    EXPECT_EQ(plat::SocketReceive(socket, &byte, 1, 1000), 0);
    plat::SocketClose(socket);
}

TEST_F(PrescanTest, SocketErrorsAreNamedOverTheActiveWindow) {
    plat::host::SetActiveWindow(reinterpret_cast<plat::WindowHandle>(0x77));
    ShowPrescanSocketError(10060);
    ShowPrescanSocketError(10035);  // the server would block: the server's side is named
    const auto boxes = plat::host::MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "WSAETIMEDOUT");
    EXPECT_EQ(boxes[0].caption, "CLIENT");
    EXPECT_EQ(boxes[0].owner, reinterpret_cast<plat::WindowHandle>(0x77));
    EXPECT_EQ(boxes[1].text, "WSAEWOULDBLOCK");
    EXPECT_EQ(boxes[1].caption, "SERVER");
}
