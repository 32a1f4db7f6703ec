#include "link/remote_discovery.h"

#include <cstring>
#include <string>

#include "common/ipv4_text.h"
#include "common/remote_frames.h"
#include "link/remote_client.h"
#include "session/interface_language.h"
#include "session/messages.h"
#include "settings/profile_fields.h"

namespace {

constexpr char kQuestion[] = "Is there a corvane scanner?";
constexpr char kThanks[] = "thanks";
constexpr size_t kAnswerBytes = 50;  // the first answer: 5 characters
constexpr size_t kOwnerBytes = 15;   // the owner name

// A step that failed: its socket error named, the datagram socket closed.
bool Failed(plat::Socket udp, bool named = true) {
    if (named) ShowSocketErrorName(plat::SocketLastError());
    plat::SocketClose(udp);
    return false;
}

bool SendText(plat::Socket udp, const char* text, uint32_t target) {
    const size_t bytes = std::strlen(text);
    return plat::SocketSendTo(udp, text, bytes, target, kDiscoveryServerPort) ==
           static_cast<int64_t>(bytes);
}

// Steps 1 to 4: a server answered the question with exactly five characters.
bool AskWhoIsThere(plat::Socket udp, uint32_t target) {
    if (!plat::SocketSetBroadcast(udp, true) || !plat::SocketBind(udp, 0, kDiscoveryLocalPort) ||
        !SendText(udp, kQuestion, target))
        return Failed(udp);
    const int ready = plat::SocketWaitReadable(udp, kDiscoveryAnswerWaitMs);
    if (ready < 0) return Failed(udp);
    if (ready == 0) {
        ShowPlainMessage(nullptr, LanguageString(846));
        return Failed(udp, false);
    }
    char answer[kAnswerBytes + 1] = {};
    if (plat::SocketReceiveFrom(udp, answer, kAnswerBytes, 0, nullptr, nullptr) < 0)
        return Failed(udp);
    // Taken as text: what comes before a zero byte counts.
    if (std::strlen(answer) != 5) return Failed(udp, false);
    return true;
}

// Steps 5 and 6: the owner's name, and the server's address as the sender of it.
bool LearnOwner(plat::Socket udp, uint32_t target, std::string& owner, uint32_t& server) {
    if (!SendText(udp, kThanks, target)) return Failed(udp);
    char name[kOwnerBytes + 1] = {};
    if (plat::SocketReceiveFrom(udp, name, kOwnerBytes, kRemoteReplyWaitMs, &server, nullptr) < 0)
        return Failed(udp);
    owner = name;
    return true;
}

// Steps 8 and 9.
bool Connect(uint32_t server, RemoteConnection& connection) {
    plat::Socket tcp = plat::SocketOpenTcp();
    if (tcp == plat::kNoSocket) return Failed(tcp);
    if (!plat::SocketSetBufferSizes(tcp, static_cast<int>(kRemoteFrameBufferBytes)) ||
        !plat::SocketConnect(tcp, server, kRemoteRequestPort))
        return Failed(tcp);
    connection.socket = tcp;
    return true;
}

void ShowConnected(const std::string& owner, uint32_t server) {
    ShowPlainMessage(nullptr, LanguageString(827) + "\n" + LanguageString(828) + "\n" +
                                  LanguageString(829) + owner + "\n" + LanguageString(830) +
                                  Ipv4Text(server));
}

}  // namespace

bool DiscoveryTarget(uint32_t& address) {
    const std::string text = ReadProfileText("KVTINFO_A3", "RelaynorAddress", "255.255.255.255", 33);
    return ParseIpv4(text, address);
}

bool RemoteDiscoverAndConnect(uint32_t target, RemoteConnection& connection) {
    plat::Socket udp = plat::SocketOpenUdp();
    if (udp == plat::kNoSocket) return Failed(udp);
    std::string owner;
    uint32_t server = 0;
    if (!AskWhoIsThere(udp, target) || !LearnOwner(udp, target, owner, server)) return false;
    plat::SocketClose(udp);
    if (!Connect(server, connection)) return false;
    ShowConnected(owner, server);
    return true;
}
