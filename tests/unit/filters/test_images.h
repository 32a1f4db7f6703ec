// Images for the filter tests: plain pixel grids (what the reference formulas work on) and
// the native bitmap blocks the whole-image filters take (header, palette, padded rows).
#pragma once

#include <cstdint>
#include <random>
#include <vector>

// Samples of a width x height image, s samples per pixel (1 gray, 3 colour), row by row
// without padding.
struct Grid {
    int w = 0, h = 0, s = 1;
    std::vector<int> v;
    int& at(int r, int x, int c) { return v[(size_t(r) * w + x) * s + c]; }
    int at(int r, int x, int c) const { return v[(size_t(r) * w + x) * s + c]; }
    bool operator==(const Grid&) const = default;
};

Grid RandomGrid(int w, int h, int s, std::mt19937& rng);
Grid FlatGrid(int w, int h, int s, int value);

// Bytes of a grid's rows, back to back (a band of gray or colour rows).
std::vector<uint8_t> GridBytes(const Grid& g);
Grid BytesGrid(const std::vector<uint8_t>& bytes, int w, int h, int s);

// A native bitmap block: 40-byte header, palette (2 entries for 1 bit, 256 for 8, none for
// 24), rows of ((bits x width + 31) & ~31) / 8 bytes. Padding bytes are filled with a marker
// so that a filter that writes them shows.
struct Bitmap {
    std::vector<uint8_t> block;
    int width = 0, height = 0, bitCount = 8;
    size_t stride() const { return ((size_t(bitCount) * width + 31) & ~size_t(31)) / 8; }
    size_t pixelOffset() const;
    uint8_t* row(int r) { return block.data() + pixelOffset() + size_t(r) * stride(); }
    const uint8_t* row(int r) const { return block.data() + pixelOffset() + size_t(r) * stride(); }
};

constexpr uint8_t kPaddingMarker = 0xA5;

Bitmap MakeBitmap(int width, int height, int bitCount);  // rows zero, padding marked
Bitmap RandomBitmap(int width, int height, int bitCount, std::mt19937& rng);
Bitmap BitmapOf(const Grid& g);  // 8-bit for s = 1, 24-bit for s = 3
Grid GridOf(const Bitmap& b);    // the pixels of an 8- or 24-bit bitmap

// A 1-bit bitmap's pixel (most significant bit first).
int BitAt(const Bitmap& b, int r, int x);
