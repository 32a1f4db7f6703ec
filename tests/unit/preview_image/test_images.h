// Images for the preview tests, made and read pixel by pixel at (column, row from the top),
// and prescan files written byte by byte as any BMP writer lays them out.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "window/preview_bitmap.h"

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};
using PixelAt = std::function<Rgb(uint32_t x, uint32_t y)>;

// A 24-bit bitmap of the pixels; fails the test without memory.
PreviewBitmap MakeImage(uint32_t width, uint32_t height, const PixelAt& pixel);
Rgb ReadPixel(const PreviewBitmap& image, uint32_t x, uint32_t y);  // 24-bit
uint8_t ReadIndex(const PreviewBitmap& image, uint32_t x, uint32_t y);  // 8-bit
// Entry i of an 8-bit bitmap's colour table (stored blue, green, red, 0).
Rgb ReadTableEntry(const PreviewBitmap& image, uint8_t i);

// The bytes of a 24-bit bottom-up BMP file of the pixels.
std::vector<uint8_t> BmpFile(uint32_t width, uint32_t height, const PixelAt& pixel);
// Little-endian field stores into such bytes, for the malformed cases.
void Put16(std::vector<uint8_t>& file, size_t offset, uint16_t value);
void Put32(std::vector<uint8_t>& file, size_t offset, uint32_t value);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
