// The preview of a full-bed high-density prescan (702 x 1020 pixels): re-rendering its working
// copy (copy, tone curves and colour adjustment) at 24 bits and through the palette, and the
// 8-bit conversion alone, in MB/s of the 24-bit image and as a ratio to memcpy of the same
// bytes measured in the same run: a copy is timed after every pass, and the fastest of each
// is kept, so that both see the same state of the shared machine.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "bench/memcpy_baseline.h"
#include "platform/host/host_control.h"
#include "window/preview_dither.h"
#include "window/preview_render.h"

namespace {

constexpr uint32_t kWidth = 702, kHeight = 1020;
constexpr size_t kImageBytes = size_t(kWidth) * kHeight * 3;

struct Setting {
    uint16_t scanMode;
    bool trueColour;
    int32_t saturation;
};

// The prescan of a page: noise, so that no table lookup is favoured.
PreviewBitmap Prescan() {
    PreviewBitmap image;
    AllocatePreviewBitmap(kWidth, kHeight, 24, PreviewLayoutBytes(24, kWidth, kHeight), image);
    LockedBitmap rows(image);
    std::mt19937 random(3);
    for (uint32_t y = 0; y < kHeight; ++y)
        for (uint32_t i = 0; i < kWidth * 3; ++i) rows.row(y)[i] = uint8_t(random());
    return image;
}

// (Google Benchmark's own time column includes the copies; the counters do not.)
struct Best {
    double work = 1e9, copy = 1e9;
    void Keep(double workSeconds) {
        work = std::min(work, workSeconds);
        copy = std::min(copy, MemcpySeconds(kImageBytes));
    }
};

void Report(benchmark::State& state, const Best& best) {
    state.SetBytesProcessed(int64_t(kImageBytes) * state.iterations());
    state.counters["MBps"] = double(kImageBytes) / best.work / 1e6;
    state.counters["memcpy_MBps"] = double(kImageBytes) / best.copy / 1e6;
    state.counters["ratio_to_memcpy"] = best.copy / best.work;
}

// The colour defaults (gamma 1.8 on the colour curves) and the setting's saturation.
EnhancementRecord Record(int32_t saturation) {
    EnhancementRecord r{};
    for (ChannelAdjust& c : r.channel) c = ChannelAdjust{255, 0, 18, 0};
    r.channel[kMaster].gamma = 10;
    std::memset(r.PixelRGB, 255, 3);
    r.Saturation = saturation;
    return r;
}

// Fastest render of the image, each one forced as a changed setting would.
void BM_Render(benchmark::State& state, Setting setting) {
    plat::host::Reset();
    PreviewBitmap image = Prescan(), working;
    MakePreviewWorkingCopy(image, working);
    const PreviewLook look{Record(setting.saturation), setting.scanMode, setting.trueColour, false};
    const ColorTable noTable;
    auto render = std::make_unique<PreviewRenderState>();
    Best best;
    for (auto _ : state) {
        render->forced = true;
        const auto t0 = std::chrono::steady_clock::now();
        RenderPreview(image, working, look, noTable, *render);
        benchmark::ClobberMemory();
        best.Keep(SecondsSince(t0));
    }
    Report(state, best);
    FreePreviewBitmap(image);
    FreePreviewBitmap(working);
}

// The 8-bit conversion alone, row by row from the 24-bit working copy.
void BM_Convert(benchmark::State& state, bool dither) {
    plat::host::Reset();
    PreviewBitmap image = Prescan();
    std::vector<uint8_t> indexes(size_t(kWidth) * kHeight);
    Best best;
    {
        LockedBitmap rows(image);
        for (auto _ : state) {
            const auto t0 = std::chrono::steady_clock::now();
            for (uint32_t y = 0; y < kHeight; ++y) {
                uint8_t* out = indexes.data() + size_t(y) * kWidth;
                if (dither) DitherRowToIndexes(rows.row(y), kWidth, 0, y, out);
                else GrayRowToIndexes(rows.row(y), kWidth, out);
            }
            benchmark::ClobberMemory();
            best.Keep(SecondsSince(t0));
        }
    }
    Report(state, best);
    FreePreviewBitmap(image);
}

BENCHMARK_CAPTURE(BM_Render, colour_true_colour, Setting{kModeColor, true, 0});
BENCHMARK_CAPTURE(BM_Render, colour_true_colour_saturation, Setting{kModeColor, true, -30});
BENCHMARK_CAPTURE(BM_Render, colour_palette_dither, Setting{kModeColor, false, 0});
BENCHMARK_CAPTURE(BM_Render, gray_palette, Setting{kModeGray, false, 0});
BENCHMARK_CAPTURE(BM_Convert, dither, true);
BENCHMARK_CAPTURE(BM_Convert, gray, false);

}  // namespace

BENCHMARK_MAIN();
