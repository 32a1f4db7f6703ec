#include "simulator/server/relaynor_server.h"

#include <cstring>

#include "common/ipv4_text.h"
#include "simulator/server/client_session.h"
#include "simulator/tools/ini_section.h"

namespace {

constexpr char kQuestion[] = "Is there a corvane scanner?";
constexpr char kThanks[] = "thanks";
constexpr uint32_t kIdleWaitMs = 50;

std::string Peer(uint32_t address, uint16_t port) {
    return Ipv4Text(address) + ":" + std::to_string(port);
}

void Reply(plat::Socket s, const std::string& text, uint32_t address, uint16_t port) {
    plat::SocketSendTo(s, text.data(), text.size(), address, port);
}

// One datagram, if one comes within the wait: the question gets the answer, the thanks the
// owner name; senders outside the allow-list get nothing. While a client is served the
// datagrams wait: a client asking just then gets its answer when the server is free again.
void AnswerDatagram(const ServerOptions& options, plat::Socket s, uint32_t waitMs, FrameLog& log) {
    char text[512];
    uint32_t address = 0;
    uint16_t port = 0;
    const int64_t n = plat::SocketReceiveFrom(s, text, sizeof text, waitMs, &address, &port);
    if (n < 0) return;
    const std::string said(text, size_t(n));
    const std::string from = Peer(address, port);
    if (!Allows(options.allow, address)) {
        LogLine(log, "datagram from " + from + " refused (not in the allow-list)");
        return;
    }
    if (said == kQuestion) {
        LogLine(log, "discovery from " + from + ": answered \"" + options.answer + "\"");
        Reply(s, options.answer, address, port);
    } else if (said == kThanks) {
        LogLine(log, "thanks from " + from + ": owner \"" + options.owner + "\"");
        Reply(s, options.owner, address, port);
    } else {
        LogLine(log, "datagram from " + from + " not understood (" + std::to_string(n) + " bytes)");
    }
}

bool Fail(std::string& error, const std::string& what) {
    error = what + " (WinSock error " + std::to_string(plat::SocketLastError()) + ")";
    return false;
}

}  // namespace

bool OpenServerSockets(const ServerOptions& options, ServerSockets& sockets, std::string& error) {
    const std::string where = Ipv4Text(options.bindAddress);
    sockets.datagrams = plat::SocketOpenUdp();
    if (sockets.datagrams == plat::kNoSocket ||
        !plat::SocketBind(sockets.datagrams, options.bindAddress, options.discoveryPort))
        return Fail(error, "cannot bind datagram port " + where + ":" +
                               std::to_string(options.discoveryPort));
    sockets.listener = plat::SocketOpenTcp();
    if (sockets.listener == plat::kNoSocket || !plat::SocketSetReuseAddress(sockets.listener, true) ||
        !plat::SocketBind(sockets.listener, options.bindAddress, options.requestPort) ||
        !plat::SocketListen(sockets.listener, 4))
        return Fail(error, "cannot listen on " + where + ":" + std::to_string(options.requestPort));
    return true;
}

void CloseServerSockets(ServerSockets& sockets) {
    plat::SocketClose(sockets.datagrams);
    plat::SocketClose(sockets.listener);
    sockets = ServerSockets{};
}

bool PowerOnHostedScanner(const ServerOptions& options, Device& device,
                          std::vector<std::string>& problems, std::string& error) {
    IniKeys keys;
    if (!options.iniPath.empty() &&
        !ReadIniSection(options.iniPath, kSimulatorSection, keys, error))
        return false;
    SimulatorConfig config;
    ParseConfig(
        [&keys](const char* key, std::string& value) {
            const auto found = keys.find(key);
            if (found == keys.end()) return false;
            value = found->second;
            return true;
        },
        config, problems);
    PowerOn(device, config);
    problems.insert(problems.end(), device.problems.begin(), device.problems.end());
    return true;
}

void RunServer(const ServerOptions& options, ServerSockets& sockets, Device& device,
               FrameLog& log, const std::atomic<bool>& stop) {
    uint32_t served = 0;
    while (!stop && (options.clients == 0 || served < options.clients)) {
        AnswerDatagram(options, sockets.datagrams, kIdleWaitMs, log);
        uint32_t address = 0;
        uint16_t port = 0;
        plat::Socket client = plat::SocketAccept(sockets.listener, kIdleWaitMs, &address, &port);
        if (client == plat::kNoSocket) continue;
        const std::string from = Peer(address, port);
        if (!Allows(options.allow, address)) {
            LogLine(log, "client " + from + " refused (not in the allow-list)");
            plat::SocketClose(client);
            continue;
        }
        LogLine(log, "client " + from + " connected");
        ServeClient(client, device, options, log, stop);
        LogLine(log, "client " + from + " left");
        ++served;
    }
}
