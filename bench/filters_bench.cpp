// How fast the image filters run on an A3 page scanned at 600 dpi in colour (7016 x 9921
// pixels, 209 MB): each whole-image filter on a native bitmap, and the band convolution
// over 2 MB bands. Reported in MB/s of image bytes and as a ratio to memcpy of the same
// bytes measured in the same run (1 = as fast as copying the page once). The in-place blur,
// which cannot be computed in parallel along a row, is also set against its plain formula.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <random>
#include <vector>

#include "bench/memcpy_baseline.h"
#include "engine/convolve_band.h"
#include "engine/image_filters.h"
#include "tests/unit/filters/filter_oracle.h"
#include "tests/unit/filters/test_images.h"

namespace {

constexpr int kWidth = 7016, kHeight = 9921;  // 11.69 x 16.54 in at 600 dpi
constexpr size_t kBandBytes = 2u << 20;

void Report(benchmark::State& state, size_t bytes, double seconds) {
    ReportAgainstMemcpy(state, bytes, seconds);
}

Bitmap Page(int height = kHeight) {
    std::mt19937 rng(1);
    return RandomBitmap(kWidth, height, 24, rng);
}

template <class Filter>
void BM_WholeImage(benchmark::State& state, Filter filter) {
    Bitmap page = Page();
    const FilterProgress none{};
    double total = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        filter(page.block.data(), page.block.size(), none);
        benchmark::ClobberMemory();
        total += SecondsSince(t0);
    }
    Report(state, page.stride() * kHeight, total / double(state.iterations()));
}

void BM_ConvolveBand(benchmark::State& state, ConvolveWeights weights) {
    const uint32_t rowBytes = kWidth * 3, bandRows = uint32_t(kBandBytes / rowBytes);
    std::mt19937 rng(2);
    std::vector<uint8_t> image(size_t(rowBytes) * (kHeight + 1));
    for (auto& b : image) b = uint8_t(rng());
    const BandShape shape{rowBytes, 3, kHeight};
    double total = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        // Each band is filtered where it lies; its results land one row further up, so the
        // page ends one row lower, in the spare row after it.
        for (uint32_t line = 0; line < kHeight; line += bandRows) {
            const uint32_t rows = std::min(bandRows, kHeight - line);
            ConvolveBand(image.data() + size_t(line) * rowBytes, rows, rows + 1, shape, line, weights, 0);
        }
        benchmark::ClobberMemory();
        total += SecondsSince(t0);
    }
    FreeConvolveHistories();
    Report(state, size_t(rowBytes) * kHeight, total / double(state.iterations()));
}

// The blur against its formula applied sample by sample, on a strip of the page.
void BM_BlurAgainstFormula(benchmark::State& state) {
    constexpr int kStrip = 600;
    std::mt19937 rng(3);
    const Grid grid = RandomGrid(kWidth, kStrip, 3, rng);
    const Bitmap strip = BitmapOf(grid);
    double fast = 0, plain = 0;
    for (auto _ : state) {
        Bitmap b = strip;
        auto t0 = std::chrono::steady_clock::now();
        BlurImage(b.block.data(), b.block.size(), 1, FilterProgress{});
        benchmark::ClobberMemory();
        fast += SecondsSince(t0);
        t0 = std::chrono::steady_clock::now();
        const Grid out = OracleBlur(grid, 1);
        benchmark::DoNotOptimize(out.v.data());
        plain += SecondsSince(t0);
    }
    const double bytes = double(strip.stride()) * kStrip * double(state.iterations());
    state.counters["MBps"] = bytes / fast / 1e6;
    state.counters["formula_MBps"] = bytes / plain / 1e6;
    state.counters["speedup"] = plain / fast;
}

#define WHOLE(name, call)                                                                    \
    BENCHMARK_CAPTURE(BM_WholeImage, name, [](uint8_t* p, size_t n, const FilterProgress& f) { \
        return call;                                                                         \
    })->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3)

WHOLE(invert, InvertImage(p, n, f));
WHOLE(flip, FlipImage(p, n, f));
WHOLE(blur, BlurImage(p, n, 1, f));
WHOLE(sharpen, SharpenImage(p, n, 1, f));
WHOLE(unsharp, UnsharpImage(p, n, f));
WHOLE(emboss, EmbossImage(p, n, f));
BENCHMARK_CAPTURE(BM_ConvolveBand, unsharp_mask, kUnsharpMaskWeights)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK_CAPTURE(BM_ConvolveBand, descreen_1020, ConvolveWeights{3, 5, 7})
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_BlurAgainstFormula)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
