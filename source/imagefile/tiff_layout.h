// The header of the uncompressed single-strip TIFF files the source writes: output files of
// a file transfer and the spool files. Everything up to the pixel data is built in memory
// and written with one write; the pixel rows follow top to bottom.
#pragma once

#include <cstdint>

#include "imagefile/pixel_layout.h"

struct TiffGeometry {
    PixelLayout layout = PixelLayout::Gray;
    uint32_t bytesPerLine = 0;
    uint32_t lines = 0;
    uint32_t resolution = 0;  // "ScanRes", written as both resolutions (dots per inch)
    // Line art whose last byte is not all pixels: the pixels of a line (0: eight a byte).
    uint32_t lineArtPixels = 0;
};

// Gray and line art carry their resolutions right after the IFD; colour has the three
// BitsPerSample values there first.
constexpr uint32_t kTiffGrayDataOffset = 140;
constexpr uint32_t kTiffColorDataOffset = 146;
constexpr uint32_t kTiffHeaderCapacity = kTiffColorDataOffset;

uint32_t TiffDataOffset(PixelLayout layout);

// lines x bytes per line: the size of the one strip.
uint64_t TiffStripBytes(const TiffGeometry& g);

// True when the geometry describes an image the header can state truthfully: at least one
// line of at least one byte, a non-zero resolution, colour lines of whole pixels, a line-art
// width that fits 32 bits and its line, and a whole file that 32-bit offsets can address.
bool TiffGeometryFits(const TiffGeometry& g);

// Fills out with the header and returns its size (the data offset), or 0 when the geometry
// does not fit; out is then untouched.
uint32_t BuildTiffHeader(const TiffGeometry& g, uint8_t (&out)[kTiffHeaderCapacity]);
