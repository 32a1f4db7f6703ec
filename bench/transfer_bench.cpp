// Memory and file transfers of a 600 dpi colour page through the data source's entry point
// on the host, against the simulated scanner: MB/s, the ratio to memcpy of the same bytes,
// the cost of writing the file against a plain write of the same bytes to a new file, and
// the peak memory a transfer adds, at two page sizes (A3 and A5) to show that it does not
// grow with the image.
//
// Peak memory is the growth of the resident set's high-water mark over the transfer call(s)
// alone (Linux: the mark is reset through /proc/self/clear_refs first); the application's
// buffer is touched before, so it is not counted. The simulated scanner runs in the same
// process and its per-scan tables are counted with the source.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_source.h"
#include "bench/peak_memory.h"
#include "common/twain.h"
#include "engine/scan_job_flags.h"
#include "platform/host/host_control.h"
#include "settings/settings_store.h"
#include "twain/ds_entry.h"
#include "twain/initialise.h"
#include "twain/negotiation.h"
#include "twain/source_record.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

struct Page {
    double width, length;  // inches
};
constexpr Page kA3{11.69, 16.54};
constexpr Page kA5{5.83, 8.27};

// ---- The data source on the simulated scanner ---------------------------------------------
class Source {
public:
    Source() {
        PrepareBenchSource(windows_, "Transfer Benchmark", app_);
        TW_IDENTITY opened = TheSource.SourceIdentity;
        opened.Id = 42;
        ok_ = Call(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &opened) == TWRC_SUCCESS;
    }
    ~Source() { Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, nullptr); }

    bool ok() const { return ok_; }
    std::string Folder() const { return windows_.path(); }

    TW_UINT16 Call(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, void* data) {
        return DS_Entry(&app_, dg, dat, msg, data);
    }

    // A 600 dpi colour scan of the page, started without the window; the image's bytes.
    uint64_t Scan(const Page& page, TW_UINT8 mechanism) {
        TW_IMAGELAYOUT layout{};
        layout.Frame.Right = Fix(page.width);
        layout.Frame.Bottom = Fix(page.length);
        Call(DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET, &layout);
        TheNegotiation.PixelTypeIndex = 2;   // RGB
        TheNegotiation.ResolutionIndex = 7;  // 600 dpi
        TheNegotiation.XferMechIndex = mechanism;
        TW_USERINTERFACE ui{0, 0, nullptr};
        if (Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui) != TWRC_SUCCESS) return 0;
        TW_IMAGEINFO info{};
        Call(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info);
        return uint64_t(info.ImageWidth) * 3 * uint64_t(info.ImageLength);
    }

    void EndPage() {
        TW_PENDINGXFERS pending{};
        Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending);
        TW_USERINTERFACE ui{0, 0, nullptr};
        Call(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui);
    }

private:
    static TW_FIX32 Fix(double inches) {
        const int32_t v = int32_t(inches * 65536.0);
        return TW_FIX32{TW_INT16(v >> 16), TW_UINT16(v & 0xFFFF)};
    }

    plat::host::ScratchDirectory windows_;
    TW_IDENTITY app_{};
    bool ok_ = false;
};

// ---- What each transfer is measured against --------------------------------------------------
double MemcpySeconds(uint64_t bytes) {
    std::vector<uint8_t> page(bytes, 0x5A), band(2u << 20);
    const auto t0 = Clock::now();
    for (uint64_t done = 0; done < bytes; done += band.size()) {
        std::memcpy(band.data(), page.data() + done, std::min<uint64_t>(band.size(), bytes - done));
        benchmark::ClobberMemory();
    }
    return Seconds(t0);
}

// The same bytes written to a new file in bands of two megabytes, as the transfer writes.
double PlainWriteSeconds(const std::string& path, uint64_t bytes) {
    std::vector<uint8_t> band(2u << 20, 0x5A);
    std::filesystem::remove(path);
    const auto t0 = Clock::now();
    FILE* f = std::fopen(path.c_str(), "wb");
    std::setvbuf(f, nullptr, _IONBF, 0);
    for (uint64_t done = 0; done < bytes; done += band.size())
        std::fwrite(band.data(), 1, std::min<uint64_t>(band.size(), bytes - done), f);
    std::fclose(f);
    const double s = Seconds(t0);
    std::filesystem::remove(path);
    return s;
}

struct Measured {
    double seconds = 1e9;
    double peakMb = 0;
    uint64_t bytes = 0;
};

// One memory transfer with the source's preferred 64 KiB buffer. A filter is chosen after
// the scan started, as the scanning window's settings would have it: the transfer spools
// the image and filters it on the way back.
Measured MemoryTransfer(Source& source, const Page& page, uint16_t filterMode = 0) {
    Measured m;
    m.bytes = source.Scan(page, 2);
    if (filterMode != 0) {
        TheSettings.settings.FilterMode = filterMode;
        TheScanJobFlags.PostProcessing = true;
    }
    std::vector<uint8_t> buffer(65536, 1);
    const long baseline = StartPeakWatch();
    const auto t0 = Clock::now();
    TW_UINT16 rc = TWRC_SUCCESS;
    while (rc == TWRC_SUCCESS) {
        TW_IMAGEMEMXFER xfer{};
        xfer.Memory = {TWMF_APPOWNS | TWMF_POINTER, uint32_t(buffer.size()), buffer.data()};
        rc = source.Call(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &xfer);
    }
    m.seconds = Seconds(t0);
    m.peakMb = PeakGrowthMb(baseline);
    if (rc != TWRC_XFERDONE) m.bytes = 0;
    source.EndPage();
    return m;
}

Measured FileTransfer(Source& source, const Page& page, TW_UINT16 format, const std::string& path) {
    Measured m;
    std::filesystem::remove(path);
    TW_SETUPFILEXFER setup{};
    std::strncpy(setup.FileName, path.c_str(), sizeof setup.FileName - 1);
    source.Call(DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &setup);
    TheNegotiation.FileFormatIndex = format == TWFF_BMP ? 2 : 0;
    m.bytes = source.Scan(page, 1);
    const long baseline = StartPeakWatch();
    const auto t0 = Clock::now();
    const TW_UINT16 rc = source.Call(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr);
    m.seconds = Seconds(t0);
    m.peakMb = PeakGrowthMb(baseline);
    if (rc != TWRC_XFERDONE) m.bytes = 0;
    source.EndPage();
    std::filesystem::remove(path);
    return m;
}

template <typename Run>
Measured Best(int runs, Run run) {
    Measured best;
    for (int i = 0; i < runs; ++i) {
        Measured m = run();
        best.bytes = m.bytes;
        best.peakMb = std::max(best.peakMb, m.peakMb);
        best.seconds = std::min(best.seconds, m.seconds);
    }
    return best;
}

void Report(benchmark::State& state, const Measured& m, double memcpySeconds) {
    if (m.bytes == 0) return state.SkipWithError("the transfer did not complete");
    state.SetIterationTime(m.seconds);
    state.counters["page_MB"] = m.bytes / 1e6;
    state.counters["MBps"] = m.bytes / m.seconds / 1e6;
    state.counters["ratio_to_memcpy"] = memcpySeconds / m.seconds;
    state.counters["peak_MB"] = m.peakMb;
}

void BM_MemoryTransfer(benchmark::State& state, Page page) {
    Source source;
    if (!source.ok()) return state.SkipWithError("the source did not open");
    for (auto _ : state) {
        const Measured m = Best(3, [&] { return MemoryTransfer(source, page); });
        Report(state, m, MemcpySeconds(m.bytes));
    }
}

// A whole memory transfer with a filter, against memcpy of the image's bytes: the time is
// reported as a multiple of memcpy's.
void BM_FilteredMemoryTransfer(benchmark::State& state, Page page) {
    Source source;
    if (!source.ok()) return state.SkipWithError("the source did not open");
    const uint16_t filter = uint16_t(state.range(0));
    for (auto _ : state) {
        const Measured m = Best(2, [&] { return MemoryTransfer(source, page, filter); });
        const double copy = MemcpySeconds(m.bytes);
        Report(state, m, copy);
        state.counters["times_memcpy"] = m.seconds / copy;
    }
}

// The writing's cost is the file transfer's time beyond the memory transfer of the same page
// (same scanner, same line preparation), against a plain write of the image's bytes.
void BM_FileTransfer(benchmark::State& state, Page page, TW_UINT16 format) {
    Source source;
    if (!source.ok()) return state.SkipWithError("the source did not open");
    const std::string path = source.Folder() + "/page.out";
    for (auto _ : state) {
        const Measured memory = Best(3, [&] { return MemoryTransfer(source, page); });
        const Measured file = Best(3, [&] { return FileTransfer(source, page, format, path); });
        double plain = 1e9;
        for (int i = 0; i < 3; ++i) plain = std::min(plain, PlainWriteSeconds(path, file.bytes));
        Report(state, file, MemcpySeconds(file.bytes));
        state.counters["plain_write_MBps"] = file.bytes / plain / 1e6;
        state.counters["write_cost_ratio"] = (file.seconds - memory.seconds) / plain;
    }
}

BENCHMARK_CAPTURE(BM_MemoryTransfer, a3_colour_600, kA3)
    ->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MemoryTransfer, a5_colour_600, kA5)
    ->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
// "FilterMode" 3 blur, 5 sharpen, 7 emboss (spooled pass), 8 unsharp mask (band filter).
BENCHMARK_CAPTURE(BM_FilteredMemoryTransfer, a3_colour_600, kA3)
    ->Arg(3)->Arg(5)->Arg(7)->Arg(8)
    ->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FileTransfer, a3_colour_600_tiff, kA3, TWFF_TIFF)
    ->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FileTransfer, a5_colour_600_tiff, kA5, TWFF_TIFF)
    ->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FileTransfer, a3_colour_600_bmp, kA3, TWFF_BMP)
    ->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
