// relaynor: the sharing server stand-in as a program (see simulator/README.md).
#include <atomic>
#include <csignal>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "common/ipv4_text.h"
#include "simulator/server/relaynor_server.h"
#include "simulator/server/relaynor_window.h"

namespace {

std::atomic<bool> gStop{false};

extern "C" void OnStopSignal(int) { gStop = true; }

int Refuse(const std::string& why) {
    std::fprintf(stderr, "relaynor: %s\n", why.c_str());
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::fputs(ServerUsage(), stdout);
        return 0;
    }
    ServerOptions options;
    std::string error;
    if (!ParseServerOptions(args, options, error)) return Refuse(error + "\n" + ServerUsage());
    FrameLog log;
    if (!OpenFrameLog(options.logPath, log)) return Refuse("cannot open the log " + options.logPath);
    if (!plat::SocketStartup()) return Refuse("no WinSock 1.1");

    auto device = std::make_unique<Device>();
    std::vector<std::string> problems;
    if (!PowerOnHostedScanner(options, *device, problems, error)) return Refuse(error);
    for (const std::string& p : problems) std::fprintf(stderr, "relaynor: %s\n", p.c_str());

    ServerSockets sockets;
    if (!OpenServerSockets(options, sockets, error)) return Refuse(error);
    if (options.window && !OpenRelaynorWindow(error)) return Refuse(error);
    std::signal(SIGINT, OnStopSignal);
    std::signal(SIGTERM, OnStopSignal);
    std::printf("RELAYNOR LISTENING %s discovery %u requests %u\n",
                Ipv4Text(options.bindAddress).c_str(), unsigned(options.discoveryPort),
                unsigned(options.requestPort));
    std::fflush(stdout);

    RunServer(options, sockets, *device, log, gStop);
    CloseServerSockets(sockets);
    CloseFrameLog(log);
    plat::SocketCleanup();
    std::printf("RELAYNOR OK\n");
    return 0;
}
