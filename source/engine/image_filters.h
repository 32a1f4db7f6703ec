// The whole-image filters the native transfer runs on its finished bitmap, in place. Each
// takes the locked block and its size, checks the header against that size first (an
// inconsistent header leaves the block untouched), works on the rows in stored order and
// reports every row to the progress callback, which may stop it.
//
// Samples are bytes: 8-bit gray, or each of the three colour samples separately, whose
// neighbours are the same sample of the neighbouring pixels. Blur, sharpen, unsharp mask and
// emboss leave 1-bit bitmaps unchanged; invert and flip handle every bit count. Row padding
// is left alone by every filter except invert.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/filter_progress.h"

// Every byte of every row, padding included, complemented; the palette is kept.
FilterResult InvertImage(uint8_t* block, size_t blockBytes, const FilterProgress& progress);

// Each row mirrored left to right.
FilterResult FlipImage(uint8_t* block, size_t blockBytes, const FilterProgress& progress);

// 3 x 3 mean in place, rows from the first stored, samples left to right: the left and the
// three upper neighbours are already blurred. A neighbour outside the image counts as the
// sample itself. passes 1 (blur, and the native descreen) or 2 (blur more).
FilterResult BlurImage(uint8_t* block, size_t blockBytes, int passes,
                       const FilterProgress& progress);

// 5p minus the four diagonal neighbours, clamped; first and last rows and columns unchanged.
// passes 1 (sharpen) or 2 (sharpen more), each on the result of the one before.
FilterResult SharpenImage(uint8_t* block, size_t blockBytes, int passes,
                          const FilterProgress& progress);

// (p x 179 / 10 - the four diagonal neighbours) / 9, clamped; border samples unchanged.
FilterResult UnsharpImage(uint8_t* block, size_t blockBytes, const FilterProgress& progress);

// p - q + 128, clamped, q the same sample two rows further and two pixels to the right, or
// p itself in the last two rows and columns.
FilterResult EmbossImage(uint8_t* block, size_t blockBytes, const FilterProgress& progress);
