// The header of the bottom-up BMP files a file transfer writes: file header, info header
// and palette, built in memory and written with one write. Line art is 1 bit with a
// black-and-white palette, gray 8 bits with a gray ramp, colour 24 bits (36-bit colour is
// written with the top 8 bits of each sample).
#pragma once

#include <cstdint>

#include "imagefile/pixel_layout.h"

struct BmpGeometry {
    PixelLayout layout = PixelLayout::Gray;
    uint32_t pixelWidth = 0;
    uint32_t lines = 0;
    uint32_t alignedLineLength = 0;  // bytes of one stored row, a multiple of 4
};

constexpr uint32_t kBmpFileHeaderSize = 14;
constexpr uint32_t kBmpInfoHeaderSize = 40;
constexpr uint32_t kBmpHeaderCapacity = kBmpFileHeaderSize + kBmpInfoHeaderSize + 4 * 256;

uint16_t BmpBitCount(PixelLayout layout);       // 1, 8 or 24
uint32_t BmpPaletteEntries(PixelLayout layout);  // 2, 256 or 0
uint32_t BmpDataOffset(PixelLayout layout);      // 14 + 40 + 4 x palette entries

// The stored length of a row of pixelWidth pixels: the bits rounded up to whole 32-bit
// words. 0 when it does not fit 32 bits.
uint32_t BmpRowBytes(PixelLayout layout, uint32_t pixelWidth);

// aligned line length x lines + data offset.
uint64_t BmpFileSize(const BmpGeometry& g);

// True when the header can state the geometry truthfully: at least one pixel and one line,
// both fitting the signed 32-bit fields, the aligned line length exactly the stored row
// length for the width (anything else would skew every reader's rows), and a file size that
// fits 32 bits.
bool BmpGeometryFits(const BmpGeometry& g);

// Fills out with the header and palette and returns their size (the data offset), or 0 when
// the geometry does not fit; out is then untouched.
uint32_t BuildBmpHeader(const BmpGeometry& g, uint8_t (&out)[kBmpHeaderCapacity]);
