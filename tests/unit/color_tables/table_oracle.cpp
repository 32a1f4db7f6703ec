#include "tests/unit/color_tables/table_oracle.h"

#include <cstring>
#include <random>

namespace {

// Trilinear interpolation with 4-bit fractions over entries of `channels` bytes at `base`.
int Trilinear(const Bytes& file, size_t base, int channels, int channel, int a, int b, int c) {
    int sum = 0;
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j)
            for (int k = 0; k < 2; ++k) {
                const int w = (i ? a & 15 : 16 - (a & 15)) * (j ? b & 15 : 16 - (b & 15)) *
                              (k ? c & 15 : 16 - (c & 15));
                const size_t entry = size_t((a >> 4) + i) * 289 + size_t((b >> 4) + j) * 17 + size_t((c >> 4) + k);
                sum += w * file[base + entry * channels + channel];
            }
    return sum >> 12;
}

float FloatAt(const Bytes& file, size_t offset) {
    const uint32_t bits = uint32_t(file[offset]) | uint32_t(file[offset + 1]) << 8 |
                          uint32_t(file[offset + 2]) << 16 | uint32_t(file[offset + 3]) << 24;
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

}  // namespace

std::array<uint8_t, 4> OracleCmyk(const Bytes& file, int r, int g, int b, bool complement) {
    std::array<uint8_t, 4> out{};
    for (int ch = 0; ch < 4; ++ch) {
        const int v = Trilinear(file, 0, 4, ch, r, g, b);
        out[ch] = uint8_t(complement ? 255 - v : v);
    }
    return out;
}

std::array<uint8_t, 3> OracleColorTable(const Bytes& file, int c0, int c1, int c2) {
    std::array<uint8_t, 3> out{};
    const int in[3] = {c0, c1, c2};
    if (file.size() < 819) {
        for (int k = 0; k < 3; ++k) {
            int o = int(FloatAt(file, 768 + 16 * k) * 64.0);
            for (int j = 0; j < 3; ++j) o += int(FloatAt(file, 768 + 16 * k + 4 * (j + 1)) * 64.0) * in[j];
            if (o < 0) o = 0;
            o >>= 6;
            if (o > 255) o = 255;
            out[k] = file[256 * k + o];
        }
        return out;
    }
    const int u0 = file[c0], u1 = file[256 + c1], u2 = file[512 + c2];
    for (int k = 0; k < 3; ++k) out[k] = uint8_t(Trilinear(file, 768, 3, k, u0, u1, u2));
    return out;
}

Bytes RandomTableBytes(size_t n, uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes out(n);
    for (auto& b : out) b = uint8_t(rng());
    return out;
}

Bytes SmallLayoutFile(const std::array<float, 12>& matrix, uint32_t seed) {
    Bytes file = RandomTableBytes(816, seed);
    for (size_t i = 0; i < 12; ++i) {
        uint32_t bits;
        std::memcpy(&bits, &matrix[i], 4);
        for (int b = 0; b < 4; ++b) file[768 + 4 * i + b] = uint8_t(bits >> (8 * b));
    }
    return file;
}
