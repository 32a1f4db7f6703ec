#include "tests/unit/scaling/scaling_oracle.h"

#include <algorithm>
#include <random>

std::vector<bool> OracleKeepMap(uint32_t units, uint32_t resolution) {
    std::vector<bool> keep;
    int a = 300;
    for (uint32_t i = 0; i < units; ++i) {
        if (a + int(resolution) < 300) {
            a += resolution;
            keep.push_back(false);
        } else {
            a += int(resolution) - 300;
            keep.push_back(true);
        }
    }
    return keep;
}

Bytes OracleReduce(const Bytes& image, uint32_t lineBytes, uint32_t lines, uint32_t s,
                   uint32_t resolution) {
    const int pixels = int(lineBytes / s);
    const std::vector<bool> rows = OracleKeepMap(lines, resolution);
    const std::vector<bool> columns = OracleKeepMap(pixels, resolution);
    auto at = [&](int r, int x, int c) {
        r = std::clamp(r, 0, int(lines) - 1);
        x = std::clamp(x, 0, pixels - 1);
        return int(image[size_t(r) * lineBytes + size_t(x) * s + c]);
    };
    Bytes out;
    for (int r = 0; r < int(lines); ++r) {
        if (!rows[r]) continue;
        for (int x = 0; x < pixels; ++x) {
            if (!columns[x]) continue;
            for (int c = 0; c < int(s); ++c) {
                int sum = 0;
                for (int dr = -1; dr <= 1; ++dr)
                    for (int dx = -1; dx <= 1; ++dx) sum += at(r + dr, x + dx, c);
                out.push_back(uint8_t(sum / 9));
            }
        }
    }
    return out;
}

namespace {

// Which of n samples thinning keeps: an accumulator gains `target` per sample and keeps the
// sample where it reaches `base`, giving `base` back.
std::vector<bool> ThinMap(uint64_t n, uint32_t base, uint32_t target) {
    std::vector<bool> keep(n);
    uint64_t a = 0;
    for (uint64_t i = 0; i < n; ++i) {
        a += target;
        if (a >= base) {
            keep[i] = true;
            a -= base;
        }
    }
    return keep;
}

}  // namespace

Bytes OracleThin(int kind, const Bytes& image, uint32_t lineBytes, uint32_t lines, uint32_t base,
                 uint32_t target, uint32_t* keptLineBytes, uint32_t* keptLines) {
    const uint32_t s = kind == 2 ? 3 : 1;
    const uint64_t pixels = kind == 0 ? uint64_t(lineBytes) * 8 : lineBytes / s;
    const std::vector<bool> columns = ThinMap(pixels, base, target), rows = ThinMap(lines, base, target);
    const uint32_t keptPixels = uint32_t(std::count(columns.begin(), columns.end(), true));
    *keptLineBytes = kind == 0 ? (keptPixels + 7) / 8 : keptPixels * s;
    *keptLines = 0;
    Bytes out;
    for (uint32_t r = 0; r < lines; ++r) {
        if (!rows[r]) continue;
        ++*keptLines;
        const uint8_t* line = image.data() + size_t(r) * lineBytes;
        Bytes row(*keptLineBytes, kind == 0 ? 0xFF : 0);  // line-art padding is white
        uint32_t x = 0;
        for (uint64_t i = 0; i < pixels; ++i) {
            if (!columns[i]) continue;
            if (kind == 0) {
                if (!((line[i / 8] >> (7 - i % 8)) & 1)) row[x / 8] &= uint8_t(~(0x80 >> (x % 8)));
            } else {
                std::copy_n(line + i * s, s, row.begin() + size_t(x) * s);
            }
            ++x;
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

namespace {

int Half(int a, int b) { return (a + b) >> 1; }

// The value at position u (of factor) on the way from a to b, by halving the gap again and
// again (4, 8) or halving it once and taking thirds of each half (6).
int SplitAt(int a, int b, uint32_t factor, uint32_t u) {
    if (u == 0) return a;
    if (factor == 2) return Half(a, b);
    const uint32_t half = factor / 2;
    const int m = Half(a, b);
    if (factor == 6) {
        const int from = u < 3 ? a : m, to = u < 3 ? m : b, step = u % 3;
        return from + step * (to - from) / 3;
    }
    return u < half ? SplitAt(a, m, half, u) : SplitAt(m, b, half, u - half);
}

}  // namespace

Bytes OracleInterpolate(int kind, const Bytes& image, uint32_t lineBytes, uint32_t lines,
                        uint32_t f) {
    const uint32_t rowBytes = f * lineBytes;
    Bytes out(size_t(rowBytes) * f * lines, 0);
    auto put = [&](uint32_t row, uint32_t byte, int v) { out[size_t(row) * rowBytes + byte] = uint8_t(v); };
    for (uint32_t r = 0; r < lines; ++r) {
        const uint8_t* src = image.data() + size_t(r) * lineBytes;
        if (kind == 0) {
            for (uint32_t v = 0; v < f; ++v)
                for (uint32_t k = 0; k < lineBytes * 8 * f; ++k)
                    if ((src[k / f / 8] >> (7 - (k / f) % 8)) & 1) out[size_t(r * f + v) * rowBytes + k / 8] |= uint8_t(0x80 >> (k % 8));
            continue;
        }
        // Row r's cells pair the row above it (the first row pairs with itself) with row r.
        const uint8_t* p = r == 0 ? src : src - lineBytes;
        const uint8_t* d = src;
        const uint32_t s = kind == 2 ? 3 : 1, n = lineBytes / s;
        for (uint32_t x = 0; x < n; ++x)
            for (uint32_t c = 0; c < s; ++c) {
                const bool last = x + 1 == n;
                const int P = p[x * s + c];
                const int Q = last ? P : p[(x + 1) * s + c];
                const int D = last ? P : d[x * s + c];
                const int E = last ? P : d[(x + 1) * s + c];
                for (uint32_t v = 0; v < f; ++v)
                    for (uint32_t u = 0; u < f; ++u) {
                        int value;
                        if (f == 2) {
                            const int cell[2][2] = {{P, Half(P, Q)}, {Half(P, D), Half(P, E)}};
                            value = cell[v][u];
                        } else {
                            value = SplitAt(SplitAt(P, Q, f, u), SplitAt(D, E, f, u), f, v);
                        }
                        put(r * f + v, (x * f + u) * s + c, value);
                    }
            }
    }
    return out;
}

Bytes RandomBytes(size_t n, uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes out(n);
    for (auto& b : out) b = uint8_t(rng());
    return out;
}
