// A memory transfer of an A3 600 dpi colour page through the sharing server on loopback: the
// data source on the host, its local scanner held by the server, the server stand-in in a
// child process with the simulator's scanner. Reported as MB/s, as the ratio to a plain
// loopback TCP copy of the same bytes measured in the same run (one connection, the bytes
// sent from memory and received into a two-megabyte band), and as the client's peak memory
// over the transfer (the server's is its own process's).
//
// The server uses the protocol's fixed loopback ports: do not run this beside the tests.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "bench/bench_source.h"
#include "bench/peak_memory.h"
#include "common/twain.h"
#include "link/scanner_link.h"
#include "simulator/server/relaynor_server.h"
#include "twain/ds_entry.h"
#include "twain/negotiation.h"
#include "twain/source_record.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// The server in a child process; it says on a pipe when it listens.
pid_t StartServer() {
    int ready[2];
    if (pipe(ready) != 0) return -1;
    const pid_t pid = fork();
    if (pid != 0) {
        close(ready[1]);
        char byte = 0;
        const bool listening = read(ready[0], &byte, 1) == 1;
        close(ready[0]);
        return listening ? pid : -1;
    }
    close(ready[0]);
    ServerOptions options;
    auto device = std::make_unique<Device>();
    std::vector<std::string> problems;
    std::string error;
    ServerSockets sockets;
    FrameLog log;
    std::atomic<bool> stop{false};
    if (!PowerOnHostedScanner(options, *device, problems, error) ||
        !OpenServerSockets(options, sockets, error))
        _exit(1);
    if (write(ready[1], "1", 1) != 1) _exit(1);
    RunServer(options, sockets, *device, log, stop);
    _exit(0);
}

// The same bytes through one loopback connection: sent from memory, received into a band.
double LoopbackCopySeconds(uint64_t bytes) {
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(listener, 1);
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    std::thread sender([&] {
        const int s = socket(AF_INET, SOCK_STREAM, 0);
        connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
        std::vector<uint8_t> page(bytes, 0x5A);
        for (uint64_t done = 0; done < bytes;) {
            const ssize_t n = send(s, page.data() + done, std::min<uint64_t>(bytes - done, 1 << 20), 0);
            if (n <= 0) break;
            done += uint64_t(n);
        }
        close(s);
    });
    const int peer = accept(listener, nullptr, nullptr);
    std::vector<uint8_t> band(2u << 20);
    const auto t0 = Clock::now();
    for (uint64_t done = 0; done < bytes;) {
        const ssize_t n = recv(peer, band.data() + done % band.size(),
                               std::min<uint64_t>(band.size() - done % band.size(), bytes - done), 0);
        if (n <= 0) break;
        done += uint64_t(n);
    }
    const double seconds = Seconds(t0);
    sender.join();
    close(peer);
    close(listener);
    return seconds;
}

class RemoteSource {
public:
    RemoteSource() {
        PrepareBenchSource(windows_, "Remote Benchmark", app_);
        plat::WriteProfileString("Scanner Simulator", "InquiryStatus", "1");
        plat::WriteProfileString("KVTINFO_A3", "RelaynorAddress", "127.0.0.1");
        TW_IDENTITY opened = TheSource.SourceIdentity;
        opened.Id = 42;
        ok_ = DS_Entry(&app_, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &opened) == TWRC_SUCCESS &&
              TheLink.remote;
    }
    ~RemoteSource() { DS_Entry(&app_, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, nullptr); }
    bool ok() const { return ok_; }

    // The page scanned without the window, then taken through 64 KiB memory blocks; the
    // image's bytes (0 when the transfer failed), the transfer's time and its peak memory.
    uint64_t Transfer(double& seconds, double& peakMb) {
        TW_IMAGELAYOUT layout{};
        layout.Frame.Right = TW_FIX32{11, uint16_t(0.69 * 65536)};
        layout.Frame.Bottom = TW_FIX32{16, uint16_t(0.54 * 65536)};
        DS_Entry(&app_, DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET, &layout);
        TheNegotiation.PixelTypeIndex = 2;
        TheNegotiation.ResolutionIndex = 7;
        TheNegotiation.XferMechIndex = 2;
        TW_USERINTERFACE ui{0, 0, nullptr};
        if (DS_Entry(&app_, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui) != TWRC_SUCCESS) return 0;
        TW_IMAGEINFO info{};
        DS_Entry(&app_, DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info);
        std::vector<uint8_t> buffer(65536, 1);
        const long baseline = StartPeakWatch();
        const auto t0 = Clock::now();
        TW_UINT16 rc = TWRC_SUCCESS;
        while (rc == TWRC_SUCCESS) {
            TW_IMAGEMEMXFER xfer{};
            xfer.Memory = {TWMF_APPOWNS | TWMF_POINTER, uint32_t(buffer.size()), buffer.data()};
            rc = DS_Entry(&app_, DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &xfer);
        }
        seconds = Seconds(t0);
        peakMb = PeakGrowthMb(baseline);
        TW_PENDINGXFERS pending{};
        DS_Entry(&app_, DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending);
        DS_Entry(&app_, DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui);
        return rc == TWRC_XFERDONE ? uint64_t(info.ImageWidth) * 3 * uint64_t(info.ImageLength) : 0;
    }

private:
    plat::host::ScratchDirectory windows_;
    TW_IDENTITY app_{};
    bool ok_ = false;
};

void BM_RemoteMemoryTransfer(benchmark::State& state) {
    const pid_t server = StartServer();
    if (server <= 0) return state.SkipWithError("the server did not start");
    {
        RemoteSource source;
        if (!source.ok()) {
            state.SkipWithError("the source did not open through the server");
        } else {
            for (auto _ : state) {
                double best = 1e9, peak = 0, seconds = 0, peakMb = 0;
                uint64_t bytes = 0;
                for (int run = 0; run < 3; ++run) {
                    bytes = source.Transfer(seconds, peakMb);
                    best = std::min(best, seconds);
                    peak = std::max(peak, peakMb);
                }
                if (bytes == 0) {
                    state.SkipWithError("the transfer did not complete");
                    break;
                }
                double copy = 1e9;
                for (int run = 0; run < 3; ++run) copy = std::min(copy, LoopbackCopySeconds(bytes));
                state.SetIterationTime(best);
                state.counters["page_MB"] = bytes / 1e6;
                state.counters["MBps"] = bytes / best / 1e6;
                state.counters["loopback_copy_MBps"] = bytes / copy / 1e6;
                state.counters["ratio_to_loopback_copy"] = copy / best;
                state.counters["client_peak_MB"] = peak;
            }
        }
    }
    kill(server, SIGTERM);
    waitpid(server, nullptr, 0);
}

BENCHMARK(BM_RemoteMemoryTransfer)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
