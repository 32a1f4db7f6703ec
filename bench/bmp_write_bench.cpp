// Writing a BMP file of an A3 600 dpi page through the BMP band writer, against a plain write
// of the same bytes to a new file measured in the same run; and the red-blue swap that turns
// each colour row into BMP order, alone, against memcpy of the same bytes.
//
// The colour cases: lines already in the stored order (the swap done by the colour
// adjustment, which rewrites every pixel anyway), so the writer only places them; lines
// as scanned with the neutral adjustment, swapped in place band by band just before they are
// written (what a transfer with neutral colour does); and lines as scanned converted by the
// writer into its staging block. Gray rows go to the file as they are.
//
// The page arrives in bands of 99 rows, the two megabytes of scan buffers a transfer fills;
// the file is created anew for every run, as a transfer does. Each figure is the best of
// several runs, the plain write interleaved with the BMP writes so that both see the same
// state of the shared machine. Besides the elapsed time, the thread's processor time is
// compared: on a busy machine it varies far less.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <numeric>
#include <string>
#include <vector>

#include "imagefile/bmp_bands.h"
#include "imagefile/image_headers.h"
#include "common/red_blue_swap.h"
#include "platform/host/host_control.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + t.tv_nsec * 1e-9;
}

struct Cost {
    double seconds = 1e9, cpuSeconds = 1e9;
    void Keep(const Cost& c) {
        seconds = std::min(seconds, c.seconds);
        cpuSeconds = std::min(cpuSeconds, c.cpuSeconds);
    }
};

// Times run() by the clock and by the thread's processor time.
template <typename Run>
Cost Measure(Run run) {
    const double cpu0 = ThreadCpuSeconds();
    const auto t0 = Clock::now();
    if (!run()) return Cost{};
    return Cost{Seconds(t0), ThreadCpuSeconds() - cpu0};
}

// 11.69 x 16.54 inches at 600 dpi.
constexpr uint32_t kWidth = 7014;
constexpr uint32_t kLines = 9924;
constexpr uint32_t kLineBytes = kWidth * 3;
constexpr uint32_t kBandRows = 99;
constexpr int kRuns = 9;

std::vector<uint8_t> Band(uint32_t lineBytes = kLineBytes) {
    std::vector<uint8_t> band(size_t(lineBytes) * kBandRows);
    std::iota(band.begin(), band.end(), uint8_t(7));
    return band;
}

// The same bytes as the BMP file, in bands of the same size, appended to a new file.
Cost PlainWrite(const std::string& path, uint64_t bytes, size_t bandBytes) {
    std::vector<uint8_t> band(bandBytes, 0x5A);
    std::filesystem::remove(path);
    return Measure([&] {
        const plat::FileHandle f = plat::FileCreate(path.c_str());
        bool ok = f != plat::kNoFile;
        for (uint64_t done = 0; ok && done < bytes; done += band.size()) {
            const uint64_t n = std::min<uint64_t>(band.size(), bytes - done);
            ok = plat::FileWrite(f, band.data(), n) == int64_t(n);
        }
        return plat::FileClose(f) && ok;
    });
}

enum Case : int64_t { StoredColour, NeutralColour, ConvertedColour, Gray };

BmpGeometry GeometryOf(Case c) {
    const PixelLayout layout = c == Gray ? PixelLayout::Gray : PixelLayout::Rgb24;
    return BmpGeometry{layout, kWidth, kLines, BmpRowBytes(layout, kWidth)};
}

Cost BmpWrite(const std::string& path, Case c, std::vector<uint8_t>& band) {
    const BmpGeometry g = GeometryOf(c);
    const uint32_t lineBytes = c == Gray ? kWidth : kLineBytes;
    const ColourOrder order = c == ConvertedColour ? ColourOrder::Scanned : ColourOrder::Stored;
    std::filesystem::remove(path);
    return Measure([&] {
        const plat::FileHandle f = CreateBmpFile(path.c_str(), g);
        BmpBands bands;
        bool ok = f != plat::kNoFile && BeginBmpBands(&bands, f, g, lineBytes, order);
        for (uint32_t row = 0; ok && row < kLines; row += kBandRows) {
            const uint32_t rows = std::min(kBandRows, kLines - row);
            if (c == NeutralColour) SwapRedBlueInPlace(band.data(), size_t(rows) * kWidth);
            ok = WriteBmpBand(&bands, band.data(), rows);
        }
        ok = EndBmpBands(&bands) && ok;
        return plat::FileClose(f) && ok;
    });
}

void BM_BmpFile(benchmark::State& state) {
    const Case c = Case(state.range(0));
    plat::host::ScratchDirectory folder;
    const std::string path = folder.path() + "/page.bmp";
    std::vector<uint8_t> band = Band(c == Gray ? kWidth : kLineBytes);
    const uint64_t bytes = BmpFileSize(GeometryOf(c));
    for (auto _ : state) {
        Cost bmp, plain;
        for (int i = 0; i < kRuns; ++i) {
            plain.Keep(PlainWrite(path, bytes, band.size()));
            bmp.Keep(BmpWrite(path, c, band));
        }
        if (bmp.seconds >= 1e9) return state.SkipWithError("the BMP file was not written");
        state.SetIterationTime(bmp.seconds);
        state.counters["MBps"] = bytes / bmp.seconds / 1e6;
        state.counters["plain_write_MBps"] = bytes / plain.seconds / 1e6;
        state.counters["ratio_to_plain_write"] = bmp.seconds / plain.seconds;
        state.counters["cpu_ratio_to_plain_write"] = bmp.cpuSeconds / plain.cpuSeconds;
    }
    std::filesystem::remove(path);
}

// One band of rows converted, against memcpy of the same band, both from a warm cache.
void RunSwap(benchmark::State& state, void (*swap)(const uint8_t*, uint8_t*, uint32_t)) {
    const std::vector<uint8_t> src = Band();
    std::vector<uint8_t> dst(src.size());
    const auto timeOf = [&](auto copyBand) {
        double best = 1e9;
        for (int i = 0; i < 20; ++i) {
            const auto t0 = Clock::now();
            copyBand();
            benchmark::ClobberMemory();
            best = std::min(best, Seconds(t0));
        }
        return best;
    };
    for (auto _ : state) {
        const double swapped = timeOf([&] {
            for (uint32_t r = 0; r < kBandRows; ++r)
                swap(src.data() + size_t(r) * kLineBytes, dst.data() + size_t(r) * kLineBytes,
                     kWidth);
        });
        const double copied = timeOf([&] { std::memcpy(dst.data(), src.data(), src.size()); });
        state.SetIterationTime(swapped);
        state.counters["MBps"] = src.size() / swapped / 1e6;
        state.counters["ratio_to_memcpy"] = copied / swapped;
    }
}

void BM_SwapPlain(benchmark::State& state) { RunSwap(state, SwapRedBluePlain); }
void BM_SwapSse2(benchmark::State& state) { RunSwap(state, SwapRedBlueSse2); }
void BM_SwapChosen(benchmark::State& state) { RunSwap(state, SwapRedBlue); }
// In place over the destination row: the same bytes read and written as a copy.
void BM_SwapInPlace(benchmark::State& state) {
    RunSwap(state, [](const uint8_t*, uint8_t* dst, uint32_t pixels) {
        SwapRedBlueInPlace(dst, pixels);
    });
}

BENCHMARK(BM_BmpFile)->ArgName("stored_colour")->Arg(StoredColour)
    ->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BmpFile)->ArgName("neutral_colour_swapped_in_place")->Arg(NeutralColour)
    ->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BmpFile)->ArgName("colour_converted_by_writer")->Arg(ConvertedColour)
    ->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BmpFile)->ArgName("gray")->Arg(Gray)
    ->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SwapPlain)->Iterations(1)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SwapSse2)->Iterations(1)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SwapChosen)->Iterations(1)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SwapInPlace)->Iterations(1)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
