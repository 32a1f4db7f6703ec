// Binary PNM images (P5 gray, P6 colour; 8 or 16 bits per sample) as originals on the bed.
// Everything in the file is validated: header syntax, sizes, sample depth and file length.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "simulator/device/chart.h"

struct PnmImage {
    uint32_t width = 0, height = 0;
    uint32_t channels = 0;  // 1 or 3
    uint32_t maxValue = 0;  // 1-65535; above 255 samples are 16-bit big-endian
    std::vector<uint8_t> samples;
};

// Upper bound of the sample data accepted, so a hostile header cannot exhaust memory.
constexpr uint64_t kMaxPnmBytes = 512ull << 20;

bool ParsePnm(const uint8_t* data, size_t size, PnmImage& out, std::string& error);
bool LoadPnm(const std::string& path, PnmImage& out, std::string& error);

// The pixel at (x, y) as 12-bit reflectance.
Rgb12 PnmPixel(const PnmImage& image, uint32_t x, uint32_t y);
