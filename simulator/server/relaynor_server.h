// The sharing server stand-in: it answers the discovery datagrams, accepts one client at a
// time on its request port, serves the client's frames on its scanner and goes back to
// listening when the client leaves. Clients outside the allow-list are refused at once.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "simulator/device/device.h"
#include "simulator/server/frame_log.h"
#include "simulator/server/server_options.h"

struct ServerSockets {
    plat::Socket datagrams = plat::kNoSocket;
    plat::Socket listener = plat::kNoSocket;
};

// Both sockets bound to the options' address and ports; false with the reason in `error`.
bool OpenServerSockets(const ServerOptions& options, ServerSockets& sockets, std::string& error);
void CloseServerSockets(ServerSockets& sockets);

// Powers the hosted scanner on with the "Scanner Simulator" keys of the options' file (the
// simulator's defaults without one). `problems` lists keys that kept their default.
bool PowerOnHostedScanner(const ServerOptions& options, Device& device,
                          std::vector<std::string>& problems, std::string& error);

// Serves until `stop` is set or the options' number of clients has been served.
void RunServer(const ServerOptions& options, ServerSockets& sockets, Device& device,
               FrameLog& log, const std::atomic<bool>& stop);
