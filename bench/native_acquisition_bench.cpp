// A whole native acquisition of an A3 page at 600 dpi in colour through the data source's
// entry point on the host, against the simulated scanner's shared library: open, enable
// without the window (set-up, shading calibration, tone tables and start run inside that
// call), the native transfer, the end of the transfer, disable and close. Reported as MB/s of
// the delivered bitmap's pixel bytes and as the ratio to memcpy of the same bytes from a
// page-sized buffer into another, measured in the same run (above 1: faster than that copy).
// The transfer call alone is reported too, since it is where the page is read and turned
// into the bottom-up blue-green-red bitmap.
//
// Each run opens a fresh copy of the simulator, as an application's first scan after
// starting meets a scanner that must be calibrated.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_source.h"
#include "common/twain.h"
#include "platform/host/host_control.h"
#include "platform/platform.h"
#include "twain/ds_entry.h"
#include "twain/initialise.h"
#include "twain/negotiation.h"
#include "twain/source_record.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

TW_FIX32 Fix(double inches) {
    const int32_t v = int32_t(inches * 65536.0);
    return TW_FIX32{TW_INT16(v >> 16), TW_UINT16(v & 0xFFFF)};
}

constexpr double kA3Width = 11.69, kA3Length = 16.54;

struct Run {
    double totalSeconds = 0;     // open to close
    double transferSeconds = 0;  // the DAT_IMAGENATIVEXFER call
    uint64_t pixelBytes = 0;     // of the delivered bitmap, padding included
    std::string failure;
};

// The source on a fresh Windows folder with its own copy of the simulator.
class Session {
public:
    Session() {
        PrepareBenchSource(windows_, "Native Acquisition Benchmark", app_);
    }

    TW_UINT16 Call(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, void* data) {
        return DS_Entry(&app_, dg, dat, msg, data);
    }

    TW_UINT16 Open() {
        TW_IDENTITY opened = TheSource.SourceIdentity;
        opened.Id = 42;  // as the source manager assigns it
        return Call(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &opened);
    }

private:
    plat::host::ScratchDirectory windows_;
    TW_IDENTITY app_{};
};

// The bitmap's pixel bytes (rows of 4-byte multiples); the application frees the block.
uint64_t TakeBitmap(TW_UINTPTR handle) {
    auto h = reinterpret_cast<plat::MemHandle>(handle);
    const auto* dib = static_cast<const uint8_t*>(plat::MemLock(h));
    int32_t width = 0, height = 0;
    uint16_t bits = 0;
    std::memcpy(&width, dib + 4, 4);
    std::memcpy(&height, dib + 8, 4);
    std::memcpy(&bits, dib + 14, 2);
    plat::MemUnlock(h);
    plat::MemFree(h);
    return (uint64_t(width) * bits + 31) / 32 * 4 * uint64_t(std::abs(height));
}

Run Acquire() {
    Run run;
    Session session;
    const auto t0 = Clock::now();
    if (session.Open() != TWRC_SUCCESS) return run.failure = "the source did not open", run;
    TW_IMAGELAYOUT layout{};
    layout.Frame.Right = Fix(kA3Width);
    layout.Frame.Bottom = Fix(kA3Length);
    session.Call(DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET, &layout);
    TheNegotiation.PixelTypeIndex = 2;   // RGB
    TheNegotiation.ResolutionIndex = 7;  // 600 dpi
    TheNegotiation.XferMechIndex = TWSX_NATIVE;
    TW_USERINTERFACE ui{0, 0, nullptr};
    if (session.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui) != TWRC_SUCCESS)
        return run.failure = "enabling did not start the scan", run;
    TW_UINTPTR handle = 0;
    const auto t1 = Clock::now();
    const TW_UINT16 rc = session.Call(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle);
    run.transferSeconds = Seconds(t1);
    if (rc != TWRC_XFERDONE || handle == 0) return run.failure = "the transfer failed", run;
    run.pixelBytes = TakeBitmap(handle);
    TW_PENDINGXFERS pending{};
    session.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending);
    session.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui);
    session.Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, nullptr);
    run.totalSeconds = Seconds(t0);
    return run;
}

// The same bytes copied from one page-sized buffer into another, both touched beforehand.
double MemcpySeconds(uint64_t bytes) {
    std::vector<uint8_t> from(bytes, 0x5A), to(bytes, 0xA5);
    const auto t0 = Clock::now();
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::ClobberMemory();
    return Seconds(t0);
}

void BM_NativeAcquisition(benchmark::State& state) {
    for (auto _ : state) {
        Run best;
        best.totalSeconds = best.transferSeconds = 1e9;
        double copy = 1e9;
        for (int i = 0; i < 3; ++i) {
            const Run run = Acquire();
            if (!run.failure.empty()) return state.SkipWithError(run.failure.c_str());
            best.pixelBytes = run.pixelBytes;
            best.totalSeconds = std::min(best.totalSeconds, run.totalSeconds);
            best.transferSeconds = std::min(best.transferSeconds, run.transferSeconds);
            copy = std::min(copy, MemcpySeconds(run.pixelBytes));
        }
        state.SetIterationTime(best.totalSeconds);
        state.counters["page_MB"] = best.pixelBytes / 1e6;
        state.counters["MBps"] = best.pixelBytes / best.totalSeconds / 1e6;
        state.counters["ratio_to_memcpy"] = copy / best.totalSeconds;
        state.counters["xfer_MBps"] = best.pixelBytes / best.transferSeconds / 1e6;
        state.counters["xfer_ratio_to_memcpy"] = copy / best.transferSeconds;
        state.counters["memcpy_MBps"] = best.pixelBytes / copy / 1e6;
    }
}

BENCHMARK(BM_NativeAcquisition)
    ->Name("BM_NativeAcquisition/a3_colour_600")
    ->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
