// The sharing server stand-in running on a thread of the test, on loopback, with a scanner of
// the given simulator keys; stopped and joined when the object goes.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "simulator/device/device.h"
#include "simulator/server/relaynor_server.h"

class ServerThread {
public:
    // `simulatorKeys`: lines of the "Scanner Simulator" section ("Model=600\n...").
    explicit ServerThread(ServerOptions options, const std::string& simulatorKeys = "");
    ~ServerThread();
    ServerThread(const ServerThread&) = delete;
    ServerThread& operator=(const ServerThread&) = delete;

    bool Listening() const { return listening_; }
    const std::string& Error() const { return error_; }
    std::string Log() const;  // the log so far

private:
    std::string dir_;
    ServerOptions options_;
    ServerSockets sockets_;
    FrameLog log_;
    std::unique_ptr<Device> device_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    bool listening_ = false;
    std::string error_;
};

// Loopback ports of the tests that call the exchange directly (the discovery and source
// tests use the real ones, 6000, 6001 and 7000). All remote tests hold one ctest lock.
constexpr uint16_t kTestDiscoveryPort = 16001;
constexpr uint16_t kTestRequestPort = 17000;
constexpr uint32_t kLoopback = 0x7F000001u;

// Options on the test ports with a log.
ServerOptions TestServerOptions();
