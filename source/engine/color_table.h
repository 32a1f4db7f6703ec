// Output matching: a colour table file ("corvA3.tab" or "corvA3p.tab" in the folder
// \TWAIN_32\COLOR\ under the Windows directory) corrects colour lines. Two layouts, told
// apart by size:
//
// Small (files shorter than 819 bytes, 816 used): three 256-byte output curves, then a 3 x 4
// matrix of little-endian 32-bit floats, row k = (offset, weight of input 0, of input 1, of
// input 2). Each float is taken in 64ths (x 64.0, truncated); output k = curve_k[min(255,
// max(0, offset_k + sum of w_kj x c_j) >> 6)].
//
// Large (819 bytes or more, 768 + 14,739 used): three 256-byte input curves, then a
// 17 x 17 x 17 lattice of 3-byte entries (first component slowest); the curved inputs are
// interpolated in it exactly as for CMYK.
#pragma once

#include <cstdint>

#include "platform/platform.h"

constexpr uint32_t kSmallColorTableBytes = 816;
constexpr uint32_t kLargeColorLayoutFrom = 819;
constexpr uint32_t kLargeColorTableBytes = 768 + 14739;
// A matrix value beyond this is no colour correction: it is refused with the file.
constexpr float kLargestMatrixValue = 1024.0f;

enum class ColorTableLayout : uint8_t { None = 0, Small = 1, Large = 2 };

struct ColorTable {
    ColorTableLayout layout = ColorTableLayout::None;
    plat::MemHandle block = nullptr;
    uint8_t* curves = nullptr;     // 3 x 256: output curves (small), input curves (large)
    int32_t* products = nullptr;   // small: [input j][value v] -> 4 lanes, w_kj x v in lane k,
                                   // offsets added to input 0's lanes
    uint8_t* pairs = nullptr;      // large: the lattice in pairs (lattice_interpolation.h)
    char file[16] = {};            // the file it was read from, when it came from one
};

// The one table the source holds.
extern ColorTable TheColorTable;

enum class ColorTableLoad : uint8_t { Loaded, AlreadyHeld, Refused };

// Keeps the table in data (size bytes, a whole file) when none is held. Refused: more than
// 64 KiB, fewer bytes than the layout uses, a matrix value that is not finite or beyond
// kLargestMatrixValue, or a failed allocation.
ColorTableLoad LoadColorTable(ColorTable& table, const uint8_t* data, uint64_t size);
ColorTableLoad LoadColorTable(const uint8_t* data, uint64_t size);  // into TheColorTable
// Holds the table of <Windows directory>\TWAIN_32\COLOR\<name> in TheColorTable: AlreadyHeld
// when that file's table is held, otherwise any other table is let go and the file read.
// Refused (nothing held) when it cannot be read or is not a colour table.
ColorTableLoad LoadColorTableFile(const char* name);
void FreeColorTable(ColorTable& table);

// Corrects lines x pixelsPerLine 3-byte pixels in place, rows rowStride bytes apart. In
// scanner order input 0 is byte 0; in bitmap order (blue, green, red) it is byte 2. Pixels
// stay as they are when no table is held.
void ApplyColorTable(const ColorTable& table, uint32_t lines, uint32_t pixelsPerLine,
                     uint8_t* pixels, uint32_t rowStride, bool bitmapOrder);
