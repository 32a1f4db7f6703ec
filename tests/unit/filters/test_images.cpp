#include "tests/unit/filters/test_images.h"

#include <cstring>

namespace {
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}
void Put16(std::vector<uint8_t>& b, size_t at, uint16_t v) {
    b[at] = uint8_t(v);
    b[at + 1] = uint8_t(v >> 8);
}
int PaletteEntries(int bitCount) { return bitCount == 1 ? 2 : bitCount == 8 ? 256 : 0; }
}  // namespace

Grid RandomGrid(int w, int h, int s, std::mt19937& rng) {
    Grid g{w, h, s, std::vector<int>(size_t(w) * h * s)};
    std::uniform_int_distribution<int> byte(0, 255);
    for (int& x : g.v) x = byte(rng);
    return g;
}

Grid FlatGrid(int w, int h, int s, int value) {
    return Grid{w, h, s, std::vector<int>(size_t(w) * h * s, value)};
}

std::vector<uint8_t> GridBytes(const Grid& g) { return {g.v.begin(), g.v.end()}; }

Grid BytesGrid(const std::vector<uint8_t>& bytes, int w, int h, int s) {
    return Grid{w, h, s, std::vector<int>(bytes.begin(), bytes.begin() + size_t(w) * h * s)};
}

size_t Bitmap::pixelOffset() const { return 40 + 4 * size_t(PaletteEntries(bitCount)); }

Bitmap MakeBitmap(int width, int height, int bitCount) {
    Bitmap b;
    b.width = width;
    b.height = height;
    b.bitCount = bitCount;
    b.block.assign(b.pixelOffset() + b.stride() * height, 0);
    Put32(b.block, 0, 40);
    Put32(b.block, 4, uint32_t(width));
    Put32(b.block, 8, uint32_t(height));
    Put16(b.block, 12, 1);
    Put16(b.block, 14, uint16_t(bitCount));
    Put32(b.block, 32, uint32_t(PaletteEntries(bitCount)));
    for (int i = 0; i < PaletteEntries(bitCount); ++i) {
        const uint8_t level = bitCount == 1 ? uint8_t(i * 255) : uint8_t(i);
        std::memset(&b.block[40 + 4 * size_t(i)], level, 3);
    }
    const size_t used = (size_t(bitCount) * width + 7) / 8;
    for (int r = 0; r < height; ++r) std::memset(b.row(r) + used, kPaddingMarker, b.stride() - used);
    return b;
}

Bitmap RandomBitmap(int width, int height, int bitCount, std::mt19937& rng) {
    Bitmap b = MakeBitmap(width, height, bitCount);
    std::uniform_int_distribution<int> byte(0, 255);
    const size_t used = (size_t(bitCount) * width + 7) / 8;
    for (int r = 0; r < height; ++r)
        for (size_t i = 0; i < used; ++i) b.row(r)[i] = uint8_t(byte(rng));
    return b;
}

Bitmap BitmapOf(const Grid& g) {
    Bitmap b = MakeBitmap(g.w, g.h, g.s * 8);
    for (int r = 0; r < g.h; ++r)
        for (int x = 0; x < g.w * g.s; ++x) b.row(r)[x] = uint8_t(g.v[size_t(r) * g.w * g.s + x]);
    return b;
}

Grid GridOf(const Bitmap& b) {
    const int s = b.bitCount / 8;
    Grid g{b.width, b.height, s, std::vector<int>(size_t(b.width) * b.height * s)};
    for (int r = 0; r < b.height; ++r)
        for (int x = 0; x < b.width * s; ++x) g.v[size_t(r) * b.width * s + x] = b.row(r)[x];
    return g;
}

int BitAt(const Bitmap& b, int r, int x) { return (b.row(r)[x / 8] >> (7 - x % 8)) & 1; }
