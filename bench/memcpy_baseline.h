// The yardstick every benchmark reports against: memcpy of the same bytes, timed in the same
// run, so that ratios stay comparable on a machine whose speed varies.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <vector>

inline double SecondsSince(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// The fastest of three copies of `bytes` between two buffers of at least `bufferBytes`
// (larger buffers keep the copy out of the caches, as a page-sized kernel would be).
inline double MemcpySeconds(size_t bytes, size_t bufferBytes = 0) {
    const size_t span = std::max(bytes, bufferBytes);
    std::vector<uint8_t> from(span, 0x5A), to(span, 0);
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        const auto t0 = std::chrono::steady_clock::now();
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::ClobberMemory();
        best = std::min(best, SecondsSince(t0));
    }
    return best;
}

// MB/s of the measured work, memcpy's MB/s, and their ratio (1 = as fast as one copy).
inline void ReportAgainstMemcpy(benchmark::State& state, size_t bytes, double seconds,
                                size_t bufferBytes = 0) {
    const double copy = MemcpySeconds(bytes, bufferBytes);
    state.SetBytesProcessed(int64_t(bytes) * state.iterations());
    state.counters["MBps"] = double(bytes) / seconds / 1e6;
    state.counters["memcpy_MBps"] = double(bytes) / copy / 1e6;
    state.counters["ratio_to_memcpy"] = copy / seconds;
}
