#include "tests/unit/preview_image/test_images.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <fstream>

namespace {

uint32_t Stride(uint32_t bytesPerPixel, uint32_t width) {
    return (bytesPerPixel * width + 3) / 4 * 4;
}

// Where pixel (x, y from the top) lies in bottom-up rows.
size_t At(uint32_t width, uint32_t height, uint32_t bytesPerPixel, uint32_t x, uint32_t y) {
    return size_t(height - 1 - y) * Stride(bytesPerPixel, width) + x * bytesPerPixel;
}

// Bytes of the bitmap's block from `offset`, copied out so that the block is locked briefly.
template <size_t n>
std::array<uint8_t, n> Bytes(const PreviewBitmap& image, size_t offset) {
    std::array<uint8_t, n> out;
    const uint8_t* base = static_cast<const uint8_t*>(plat::MemLock(image.block));
    std::memcpy(out.data(), base + offset, n);
    plat::MemUnlock(image.block);
    return out;
}

}  // namespace

PreviewBitmap MakeImage(uint32_t width, uint32_t height, const PixelAt& pixel) {
    PreviewBitmap image;
    EXPECT_TRUE(
        AllocatePreviewBitmap(width, height, 24, 40 + uint64_t(Stride(3, width)) * height, image));
    uint8_t* rows = static_cast<uint8_t*>(plat::MemLock(image.block)) + 40;
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            const Rgb c = pixel(x, y);
            uint8_t* p = rows + At(width, height, 3, x, y);
            p[0] = c.b, p[1] = c.g, p[2] = c.r;
        }
    plat::MemUnlock(image.block);
    return image;
}

Rgb ReadPixel(const PreviewBitmap& image, uint32_t x, uint32_t y) {
    const auto p = Bytes<3>(image, 40 + At(image.width, image.height, 3, x, y));
    return {p[2], p[1], p[0]};
}

uint8_t ReadIndex(const PreviewBitmap& image, uint32_t x, uint32_t y) {
    return Bytes<1>(image, 40 + 1024 + At(image.width, image.height, 1, x, y))[0];
}

Rgb ReadTableEntry(const PreviewBitmap& image, uint8_t i) {
    const auto e = Bytes<4>(image, 40 + 4 * i);
    EXPECT_EQ(e[3], 0);
    return {e[2], e[1], e[0]};
}

std::vector<uint8_t> BmpFile(uint32_t width, uint32_t height, const PixelAt& pixel) {
    const uint32_t stride = Stride(3, width);
    std::vector<uint8_t> f(54 + size_t(stride) * height, 0);
    f[0] = 'B', f[1] = 'M';
    Put32(f, 2, uint32_t(f.size()));
    Put32(f, 10, 54);
    Put32(f, 14, 40);
    Put32(f, 18, width);
    Put32(f, 22, height);
    Put16(f, 26, 1);
    Put16(f, 28, 24);
    Put32(f, 34, stride * height);
    Put32(f, 38, 2835);  // 72 dpi, as many writers put it
    Put32(f, 42, 2835);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            const Rgb c = pixel(x, y);
            uint8_t* p = f.data() + 54 + At(width, height, 3, x, y);
            p[0] = c.b, p[1] = c.g, p[2] = c.r;
        }
    return f;
}

void Put16(std::vector<uint8_t>& f, size_t o, uint16_t v) {
    f[o] = uint8_t(v), f[o + 1] = uint8_t(v >> 8);
}

void Put32(std::vector<uint8_t>& f, size_t o, uint32_t v) {
    for (int i = 0; i < 4; ++i) f[o + i] = uint8_t(v >> (8 * i));
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}
