// A full-bed 60 dpi prescan through the prescan library against the simulated scanner's
// shared library, open to the written bitmap, beside the simulator's own generation of the
// same lines (its reference render of the same window, shading and all): the ratio of the two
// times says what the library adds to what the scanner itself costs. Also MB/s of the
// bitmap's rows and the ratio to memcpy of the same bytes in the same run.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <vector>

#include "bench/memcpy_baseline.h"
#include "engine/level_correction.h"
#include "platform/host/host_control.h"
#include "prescan/run_prescan.h"
#include "simulator/device/reference.h"

namespace {

constexpr uint16_t kCalibration = 30624;  // the simulator's default for every channel

struct Bed {
    plat::host::ScratchDirectory windows;
    std::vector<uint16_t> conversion[3];
    PrescanShadingStore store{};

    Bed() {
        plat::host::Reset();
        plat::host::SetWindowsDirectory(windows.path());
        const auto dir = std::filesystem::path(windows.Subdirectory("TWAIN_32/KVTC_A3"));
        std::filesystem::copy_file(KV_SIMULATOR_PORTLIB, dir / "QASPI_SP.DLL",
                                   std::filesystem::copy_options::overwrite_existing);
        for (int c = 0; c < 3; ++c) {
            conversion[c].resize(kLevelCorrectionEntries);
            for (int i = 0; i < kLevelCorrectionEntries; ++i)
                conversion[c][i] = LevelCorrectionEntry(kCalibration, i);
            store.conversion[c] = conversion[c].data();
        }
    }
};

double PrescanSeconds(Bed& bed, PreScanResult& result) {
    PrescanCall call;
    call.highResolution = true;
    call.store = &bed.store;
    bed.store.forceCalibration = 1;
    const auto t0 = std::chrono::steady_clock::now();
    result = RunPrescan(call);
    return SecondsSince(t0);
}

double GenerationSeconds() {
    ReferenceRequest request;
    request.window.xEnd = 14040;
    request.window.yEnd = 20400;
    request.window.colourType = kColourTypeColour;
    request.window.resolution = 60;
    request.window.fromDataSource = false;
    SimulatorConfig config;
    ReferenceImage lines;
    std::string error;
    const auto t0 = std::chrono::steady_clock::now();
    RenderScannerLines(config, request, ShadingUse::Correct, lines, error);
    return SecondsSince(t0);
}

void BM_FullBedPrescan60(benchmark::State& state) {
    Bed bed;
    for (auto _ : state) {
        double prescan = 1e9, generation = 1e9;
        PreScanResult result{};
        for (int run = 0; run < 5; ++run) {
            prescan = std::min(prescan, PrescanSeconds(bed, result));
            generation = std::min(generation, GenerationSeconds());
        }
        if (result.fileWritten != 1) {
            state.SkipWithError("the prescan failed");
            break;
        }
        const double bytes = double(result.lines) * result.rowBytes;
        state.SetIterationTime(prescan);
        state.counters["image_MB"] = bytes / 1e6;
        state.counters["MBps"] = bytes / prescan / 1e6;
        state.counters["ratio_to_memcpy"] = MemcpySeconds(size_t(bytes)) / prescan;
        state.counters["ratio_to_generation"] = prescan / generation;
    }
}

BENCHMARK(BM_FullBedPrescan60)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
