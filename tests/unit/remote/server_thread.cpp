#include "tests/unit/remote/server_thread.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string FreshDirectory() {
    static int count = 0;
    const auto dir = std::filesystem::temp_directory_path() /
                     ("kv_relaynor_" + std::to_string(getpid()) + "_" + std::to_string(++count));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir.string();
}

}  // namespace

ServerOptions TestServerOptions() {
    ServerOptions options;
    options.discoveryPort = kTestDiscoveryPort;
    options.requestPort = kTestRequestPort;
    return options;
}

ServerThread::ServerThread(ServerOptions options, const std::string& simulatorKeys)
    : dir_(FreshDirectory()), options_(std::move(options)), device_(std::make_unique<Device>()) {
    options_.logPath = dir_ + "/relaynor.log";
    options_.iniPath = dir_ + "/scanner.ini";
    std::ofstream(options_.iniPath) << "[Scanner Simulator]\n" << simulatorKeys << "\n";
    std::vector<std::string> problems;
    if (!OpenFrameLog(options_.logPath, log_) ||
        !PowerOnHostedScanner(options_, *device_, problems, error_) ||
        !OpenServerSockets(options_, sockets_, error_)) {
        if (error_.empty()) error_ = "cannot open the log";
        CloseServerSockets(sockets_);
        return;
    }
    listening_ = true;
    thread_ = std::thread([this] { RunServer(options_, sockets_, *device_, log_, stop_); });
}

ServerThread::~ServerThread() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    CloseServerSockets(sockets_);
    CloseFrameLog(log_);
    std::filesystem::remove_all(dir_);
}

std::string ServerThread::Log() const {
    std::ifstream in(options_.logPath);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}
