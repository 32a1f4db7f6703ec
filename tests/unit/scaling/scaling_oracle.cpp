#include "scaling_oracle.h"

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

int Bit(const Bytes& line, size_t i) { return (line[i / 8] >> (7 - i % 8)) & 1; }

// The doubled line as samples: bits for line art, bytes for gray, 3-byte pixels for colour.
std::vector<std::vector<int>> Doubled(int kind, const Bytes& line) {
    std::vector<std::vector<int>> out;
    if (kind == 0) {
        for (size_t i = 0; i < line.size() * 8; ++i) {
            out.push_back({Bit(line, i)});
            out.push_back({Bit(line, i)});
        }
        return out;
    }
    const size_t s = kind == 2 ? 3 : 1, n = line.size() / s;
    for (size_t i = 0; i < n; ++i) {
        std::vector<int> p, mean;
        for (size_t c = 0; c < s; ++c) {
            const int v = line[i * s + c];
            const int right = i + 1 < n ? line[(i + 1) * s + c] : v;
            p.push_back(v);
            mean.push_back(i + 1 < n ? (v + right) >> 1 : v);
        }
        out.push_back(p);
        out.push_back(mean);
    }
    return out;
}

}  // namespace

Bytes OracleWiden(int kind, const Bytes& line, uint32_t e, uint32_t r) {
    const uint32_t target = (e > 1200 && e < 2400) ? e / 2 : e;
    std::vector<std::vector<int>> samples = Doubled(kind, line);
    if (target < 1200) {
        std::vector<std::vector<int>> kept;
        int a = 1200;
        for (const auto& sample : samples) {
            if (int(r) + a >= 1200) {
                kept.push_back(sample);
                a += int(r) - 1200;
            } else {
                a += int(r);
            }
        }
        samples = kept;
    }
    Bytes out;
    if (kind == 0) {
        out.assign((samples.size() + 7) / 8, 0);
        for (size_t k = 0; k < samples.size(); ++k)
            if (samples[k][0]) out[k / 8] |= uint8_t(0x80 >> (k % 8));
        return out;
    }
    for (const auto& sample : samples)
        for (int v : sample) out.push_back(uint8_t(v));
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
