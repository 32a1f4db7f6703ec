// How fast the scanner model produces image data: whole scans through the request handlers
// (set-up, shading coefficients, start, reads into a 2 MB buffer table, as the data source
// reads), reported in MB/s and as a ratio to memcpy of the same bytes into the same buffer.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

#include "simulator/device/device.h"
#include "simulator/device/shading.h"
#include "simulator/portlib/buffer_table.h"
#include "simulator/portlib/request_dispatch.h"

namespace {

constexpr uint32_t kBufferBytes = 2u << 20;

struct Scan {
    uint16_t xEnd, yEnd;  // inches x 600 on the 600 dpi model
    uint16_t yStart;
    uint8_t colourType;
    bool shaded = true;  // false: no coefficients sent, every column keeps its own gain
};

// Copies `bytes` from a page-sized source through the band buffer, as many times as it takes;
// the fastest of three runs, in seconds.
double MemcpySeconds(size_t bytes, std::vector<uint8_t>& band) {
    std::vector<uint8_t> page(bytes, 0x5A);
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        const auto t0 = std::chrono::steady_clock::now();
        for (size_t done = 0; done < bytes; done += band.size()) {
            const size_t n = std::min(band.size(), bytes - done);
            std::memcpy(band.data(), page.data() + done, n);
            benchmark::ClobberMemory();
        }
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    return best;
}

void SetUp(Device& device, const Scan& s) {
    SetParametersBlock setup{};
    setup.yStart = s.yStart, setup.xEnd = s.xEnd, setup.yEnd = s.yEnd;
    setup.colourType = s.colourType, setup.resolution = 600, setup.fromDataSource = 1;
    DispatchRequest(device, &setup, ScanRequestSetParameters);
    if (!s.shaded) return;
    // Correct coefficients, sent the way a caller sends them.
    std::vector<uint16_t> t = IdealCoefficients(device.sensor, device.shading, device.window, 600,
                                                device.config.profile.calibration);
    std::vector<uint8_t> hi(t.size()), lo(t.size());
    for (size_t i = 0; i < t.size(); ++i) hi[i] = uint8_t(t[i] >> 8), lo[i] = uint8_t(t[i]);
    ScanBufferTable ht = {}, lt = {};
    SendShadingBlock send{};
    send.resolution = 600, send.samples = uint32_t(t.size());
    send.highEntries = DivideBuffer(hi.data(), uint32_t(hi.size()), ht, 1);
    send.lowEntries = DivideBuffer(lo.data(), uint32_t(lo.size()), lt, 1);
    send.highTable = ht, send.lowTable = lt;
    DispatchRequest(device, &send, ScanRequestSendShading);
}

// One whole scan; returns the bytes delivered.
size_t ScanOnce(Device& device, std::vector<uint8_t>& band) {
    StartScanBlock start{};
    DispatchRequest(device, &start, ScanRequestStartScan);
    const uint32_t bpl = start.bytesPerLine, lines = start.lines;
    ScanBufferTable table = {};
    const uint16_t entries = DivideBuffer(band.data(), uint32_t(band.size() / bpl * bpl), table, bpl);
    const uint32_t perRequest = table[0].lines * entries;
    for (uint32_t done = 0; done < lines;) {
        ReadDataBlock r{};
        r.bytesPerLine = uint16_t(bpl);
        r.lines = uint16_t(std::min(perRequest, lines - done));
        r.bytes = r.lines * bpl, r.linesRead = uint16_t(done);
        r.entryCount = entries, r.table = table;
        DispatchRequest(device, &r, ScanRequestReadData);
        if (r.header.status != 0) return 0;
        benchmark::ClobberMemory();
        done += r.lines;
    }
    return size_t(bpl) * lines;
}

void BM_Scan(benchmark::State& state, Scan scan) {
    SimulatorConfig config;
    config.profile.opticalResolution = 600;
    Device device;
    PowerOn(device, config);
    SetUp(device, scan);
    std::vector<uint8_t> band(kBufferBytes);
    size_t bytes = 0;
    const auto t0 = std::chrono::steady_clock::now();
    for (auto _ : state) bytes = ScanOnce(device, band);
    const double modelSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count() /
        double(state.iterations());
    if (bytes == 0) return state.SkipWithError("scan failed");
    state.SetBytesProcessed(int64_t(bytes) * state.iterations());
    const double copySeconds = MemcpySeconds(bytes, band);
    state.counters["page_MB"] = double(bytes) / 1e6;
    state.counters["model_MBps"] = double(bytes) / modelSeconds / 1e6;
    state.counters["memcpy_MBps"] = double(bytes) / copySeconds / 1e6;
    // Above 1: the model delivers faster than memcpy copies the same bytes.
    state.counters["ratio_to_memcpy"] = copySeconds / modelSeconds;
}

// The A3 bed at 600 dpi: 11.7 x 17.0 in.
BENCHMARK_CAPTURE(BM_Scan, a3_colour_600, Scan{7020, 10200, 0, kColourTypeColour})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Scan, a3_gray_600, Scan{7020, 10200, 0, kColourTypeGray})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Scan, a3_lineart_600, Scan{7020, 10200, 0, kColourTypeLineArt})->Unit(benchmark::kMillisecond)->UseRealTime();
// Without shading the kernel multiplies every sample by its column's gain.
BENCHMARK_CAPTURE(BM_Scan, a3_colour_600_unshaded, Scan{7020, 10200, 0, kColourTypeColour, false})->Unit(benchmark::kMillisecond)->UseRealTime();
// The edge and wedge band, where the rows change most often: mostly the line kernel's speed.
BENCHMARK_CAPTURE(BM_Scan, edge_band_colour_600, Scan{7020, 5580, 4380, kColourTypeColour})->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
