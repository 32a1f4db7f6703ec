// Discovery by the real broadcast, as the source does it by default: only inside a network
// namespace of the test's own (in_own_network.sh), where the broadcast goes out through
// loopback and reaches nothing else. Anywhere else the test is skipped.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "link/remote_discovery.h"
#include "platform/host/host_control.h"
#include "tests/unit/remote/remote_client.h"
#include "tests/unit/remote/server_thread.h"

namespace {

bool InOwnNamespace() {
    const char* own = std::getenv("KV_OWN_NETWORK_NAMESPACE");
    return own && std::strcmp(own, "1") == 0;
}

TEST(Broadcast, TheDefaultTargetFindsTheServerAndConnectsToItsAddress) {
    if (!InOwnNamespace()) GTEST_SKIP() << "needs a network namespace of its own";
    plat::host::Reset();
    plat::host::ScratchDirectory windows;
    plat::host::SetWindowsDirectory(windows.path());
    ServerOptions options;
    options.bindAddress = 0;  // hears the broadcast
    std::string error;
    ASSERT_TRUE(ParseAllowList("10.77.0.0/24", options.allow, error));
    options.owner = "Namespace";
    ServerThread server(options);
    ASSERT_TRUE(server.Listening()) << server.Error();

    uint32_t target = 0;
    ASSERT_TRUE(DiscoveryTarget(target));
    ASSERT_EQ(target, kBroadcastAddress);
    RemoteConnection connection;
    ASSERT_TRUE(RemoteDiscoverAndConnect(target, connection)) << server.Log();
    const auto boxes = plat::host::MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find("The owner is: Namespace\nThe IP_address is: 10.77.0.1"),
              std::string::npos) << boxes[0].text;

    TestClient client;
    client.connection = connection;
    EXPECT_TRUE(client.Exchange(ScanRequestGetStatus));
    EXPECT_EQ(client.status.ready, 1);
    RemoteClose(client.connection);
}

}  // namespace
