// One delivered line turned into one stored BMP row: line art and gray bytes as they are,
// colour from red, green, blue to blue, green, red, 36-bit colour reduced to the top 8 bits
// of each sample; the row padded with zeros to its aligned length.
#pragma once

#include <cstdint>

#include "imagefile/pixel_layout.h"

// The bytes at the start of a delivered line that hold pixelWidth pixels.
uint64_t LineBytesForPixels(PixelLayout layout, uint32_t pixelWidth);

// src holds at least LineBytesForPixels bytes, dst alignedLineLength bytes (at least the
// stored row length of pixelWidth pixels).
void ConvertLineToBmpRow(PixelLayout layout, uint32_t pixelWidth, const uint8_t* src,
                         uint8_t* dst, uint32_t alignedLineLength);
