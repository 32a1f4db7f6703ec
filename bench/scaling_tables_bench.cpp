// How fast resolution scaling, CMYK output and output matching run on lines of an A3 page
// (7016 pixels a line at 600 dpi, 3508 at 300 dpi), in MB/s and as a ratio to memcpy of the
// same bytes between two buffers far larger than the caches, measured in the same run
// (1 = as fast as copying them once).
//
// Widening and interpolation are counted in the bytes they write, as a memory transfer
// delivers them; the descreen reduction in the descreened bytes it reads; CMYK and the
// colour tables in the colour bytes they take in. CMYK is timed as a memory transfer runs
// it: each block is copied into the application's buffer and converted there.
//
// With LittleCMS present, CMYK output and the large layout are also timed against
// LittleCMS's precalculated transform of the same lattice in the same iterations
// (lcms_MBps, ratio_to_lcms = our speed / its speed; lcms_mean_diff is the mean difference
// of the output bytes, to show both do the same work).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "engine/cmyk_table.h"
#include "engine/color_table.h"
#if defined(KV_HAVE_LCMS2)
#include "bench/lcms_reference.h"
#endif
#include "bench/memcpy_baseline.h"
#include "engine/descreen_reduction.h"
#include "engine/enlarge_lines.h"
#include "engine/interpolate_block.h"
#include "tools/maketables/table_content.h"

namespace {

constexpr uint32_t kPixels600 = 7016, kPixels300 = 3508;
constexpr uint32_t kLines300 = 4961;

using Clock = std::chrono::steady_clock;

std::vector<uint8_t> RandomBytes(size_t n, uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<uint8_t> out(n);
    for (auto& b : out) b = uint8_t(rng());
    return out;
}

// Against copies between buffers of 64 MB or more, far larger than the caches.
void Report(benchmark::State& state, size_t bytes, double seconds) {
    ReportAgainstMemcpy(state, bytes, seconds, 64u << 20);
}

#if defined(KV_HAVE_LCMS2)
double MeanDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    double sum = 0;
    for (size_t i = 0; i < a.size(); ++i) sum += std::abs(int(a[i]) - int(b[i]));
    return sum / double(a.size());
}

void ReportAgainstLcms(benchmark::State& state, size_t bytes, double ours, double lcms,
                       double meanDifference) {
    state.counters["lcms_MBps"] = double(bytes) / (lcms / double(state.iterations())) / 1e6;
    state.counters["ratio_to_lcms"] = lcms / ours;
    state.counters["lcms_mean_diff"] = meanDifference;
}
#endif

// Blocks of 64 lines at 600 dpi enlarged twice over and thinned to 1199/1200 of that (an
// odd effective resolution above the optical one) into the rows of a large buffer.
void BM_EnlargeThinned(benchmark::State& state, SampleKind kind) {
    const uint32_t lineBytes = kPixels600 * SampleStep(kind), lines = 1024, block = 64;
    const auto page = RandomBytes(size_t(lineBytes) * lines, 1);
    ResolutionPlan plan;
    plan.effective = 1199;
    plan.asked = 600;
    plan.factor = 2;
    const uint32_t rowBytes = (2 * kPixels600 * 1199 / 1200) * SampleStep(kind);
    std::vector<uint8_t> out(size_t(rowBytes) * 2 * lines);
    Enlargement e;
    double total = 0;
    size_t written = 0;
    for (auto _ : state) {
        if (!BeginEnlargement(kind, lineBytes, plan, rowBytes, &e)) return state.SkipWithError("plan");
        written = 0;
        const auto t0 = Clock::now();
        for (uint32_t line = 0; line < lines; line += block) {
            uint32_t rows = 0;
            EnlargeLines(e, page.data() + size_t(line) * lineBytes, block,
                         out.data() + written * rowBytes, rowBytes, &rows);
            written += rows;
        }
        benchmark::ClobberMemory();
        total += SecondsSince(t0);
    }
    EndEnlargement(e);
    Report(state, written * rowBytes, total / double(state.iterations()));
}

// Blocks of 64 lines at 600 dpi, each enlarged twice over into the rows of a large buffer.
void BM_InterpolateBlock(benchmark::State& state, SampleKind kind) {
    const uint32_t lineBytes = kPixels600 * SampleStep(kind), lines = 1024, block = 64;
    const auto page = RandomBytes(size_t(lineBytes) * lines, 2);
    InterpolationState s;
    if (!BeginInterpolation(kind, lineBytes, 2, &s)) return state.SkipWithError("state");
    const size_t rowBytes = s.outLineBytes;
    std::vector<uint8_t> out(rowBytes * 2 * lines);
    double total = 0;
    for (auto _ : state) {
        s.hasKept = false;
        const auto t0 = Clock::now();
        for (uint32_t line = 0; line < lines; line += block)
            InterpolateBlock(s, page.data() + size_t(line) * lineBytes, block,
                             out.data() + size_t(line) * 2 * rowBytes, uint32_t(rowBytes));
        benchmark::ClobberMemory();
        total += SecondsSince(t0);
    }
    EndInterpolation(s);
    Report(state, out.size(), total / double(state.iterations()));
}

// A descreened A3 page at 300 dpi brought down to 150 dpi in 2 MB bands.
void BM_ReduceBand(benchmark::State& state, uint32_t sampleBytes) {
    const uint32_t lineBytes = kPixels300 * sampleBytes;
    const uint32_t bandRows = uint32_t((2u << 20) / lineBytes);
    const auto page = RandomBytes(size_t(lineBytes) * kLines300, 3);
    std::vector<uint8_t> band(size_t(lineBytes) * (bandRows + 1));
    DescreenDropMaps maps;
    if (!BuildDescreenDropMaps(lineBytes, kLines300, sampleBytes, 150, &maps)) return state.SkipWithError("maps");
    double total = 0;
    for (auto _ : state) {
        double seconds = 0;
        for (uint32_t line = 0; line < kLines300; line += bandRows) {
            const uint32_t rows = std::min(bandRows, kLines300 - line);
            std::memcpy(band.data(), page.data() + size_t(line) * lineBytes, size_t(rows) * lineBytes);
            const auto t0 = Clock::now();
            ReduceBand(maps, band.data(), rows, rows + 1, line);
            benchmark::ClobberMemory();
            seconds += SecondsSince(t0);
        }
        total += seconds;
    }
    FreeDescreenDropMaps(maps);
    Report(state, page.size(), total / double(state.iterations()));
}

// A 600 dpi colour page converted in the blocks a 64 KiB application buffer takes.
void BM_ConvertBlockToCmyk(benchmark::State& state) {
    const uint32_t memory = 65536, input = CmykBlockBytes(memory);
    const auto page = RandomBytes(size_t(kPixels600) * 3 * 2000, 4);
    const auto file = CmykLattice(100);
    CmykTable table;
    if (!CmykTableFromBytes(file.data(), file.size(), &table)) return state.SkipWithError("table");
    std::vector<uint8_t> buffer(memory);
    auto convertPage = [&](auto&& block) {
        for (size_t at = 0; at < page.size(); at += input)
            block(at, uint32_t(std::min<size_t>(input, page.size() - at)));
    };
    auto ours = [&](size_t at, uint32_t bytes) {
        std::memcpy(buffer.data(), page.data() + at, bytes);
        ConvertBlockToCmyk(table, buffer.data(), bytes, memory, true);
    };
#if defined(KV_HAVE_LCMS2)
    // LittleCMS cannot grow pixels in place: it reads the page and writes the buffer, which
    // spares it our copy.
    const LcmsLink lcms(file.data(), 4, nullptr, true);
    if (!lcms.ok()) return state.SkipWithError("LittleCMS transform");
    auto theirs = [&](size_t at, uint32_t bytes) { lcms.Convert(page.data() + at, buffer.data(), bytes / 3); };
    std::vector<uint8_t> ourPage, lcmsPage;
    convertPage([&](size_t at, uint32_t bytes) {
        ours(at, bytes);
        ourPage.insert(ourPage.end(), buffer.begin(), buffer.begin() + bytes / 3 * 4);
        theirs(at, bytes);
        lcmsPage.insert(lcmsPage.end(), buffer.begin(), buffer.begin() + bytes / 3 * 4);
    });
    double lcmsTotal = 0;
#endif
    double total = 0;
    for (auto _ : state) {
        auto t0 = Clock::now();
        convertPage(ours);
        benchmark::ClobberMemory();
        const double seconds = SecondsSince(t0);
        total += seconds;
        state.SetIterationTime(seconds);
#if defined(KV_HAVE_LCMS2)
        t0 = Clock::now();
        convertPage(theirs);
        benchmark::ClobberMemory();
        lcmsTotal += SecondsSince(t0);
#endif
    }
    FreeCmykTable(table);
    Report(state, page.size(), total / double(state.iterations()));
#if defined(KV_HAVE_LCMS2)
    ReportAgainstLcms(state, page.size(), total, lcmsTotal, MeanDifference(ourPage, lcmsPage));
#endif
}

// Colour lines of a 600 dpi page corrected in place, scanner order.
void BM_ApplyColorTable(benchmark::State& state, bool large) {
    auto page = RandomBytes(size_t(kPixels600) * 3 * 2000, 5);
    const auto file = large ? LargeColorTable() : SmallColorTable();
    ColorTable table;
    if (LoadColorTable(table, file.data(), file.size()) != ColorTableLoad::Loaded)
        return state.SkipWithError("table");
#if defined(KV_HAVE_LCMS2)
    // The large layout beside LittleCMS running the same curves and lattice, also in place.
    std::unique_ptr<LcmsLink> lcms;
    auto lcmsPage = page;
    if (large) {
        lcms = std::make_unique<LcmsLink>(file.data() + 768, 3, file.data(), false);
        if (!lcms->ok()) return state.SkipWithError("LittleCMS transform");
        auto ourPage = page;
        ApplyColorTable(table, 2000, kPixels600, ourPage.data(), kPixels600 * 3, false);
        lcms->Convert(lcmsPage.data(), lcmsPage.data(), kPixels600 * 2000);
        state.counters["lcms_mean_diff"] = MeanDifference(ourPage, lcmsPage);
        lcmsPage = page;
    }
    double lcmsTotal = 0;
#endif
    double total = 0;
    for (auto _ : state) {
        auto t0 = Clock::now();
        ApplyColorTable(table, 2000, kPixels600, page.data(), kPixels600 * 3, false);
        benchmark::ClobberMemory();
        const double seconds = SecondsSince(t0);
        total += seconds;
        state.SetIterationTime(seconds);
#if defined(KV_HAVE_LCMS2)
        if (lcms) {
            t0 = Clock::now();
            lcms->Convert(lcmsPage.data(), lcmsPage.data(), kPixels600 * 2000);
            benchmark::ClobberMemory();
            lcmsTotal += SecondsSince(t0);
        }
#endif
    }
    FreeColorTable(table);
    Report(state, page.size(), total / double(state.iterations()));
#if defined(KV_HAVE_LCMS2)
    if (lcms) {
        const double diff = state.counters["lcms_mean_diff"];
        ReportAgainstLcms(state, page.size(), total, lcmsTotal, diff);
    }
#endif
}

}  // namespace

BENCHMARK_CAPTURE(BM_EnlargeThinned, gray, SampleKind::Gray)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_EnlargeThinned, colour, SampleKind::Colour)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_InterpolateBlock, gray, SampleKind::Gray)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_InterpolateBlock, colour, SampleKind::Colour)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReduceBand, gray_150dpi, 1u)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReduceBand, colour_150dpi, 3u)->Unit(benchmark::kMillisecond);
// CMYK and the large layout run LittleCMS beside them: timed by hand so that the time
// column leaves its run out.
BENCHMARK(BM_ConvertBlockToCmyk)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK_CAPTURE(BM_ApplyColorTable, small_layout, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ApplyColorTable, large_layout, true)->Unit(benchmark::kMillisecond)->UseManualTime();

BENCHMARK_MAIN();
