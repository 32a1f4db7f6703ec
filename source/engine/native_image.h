// The device-independent bitmap of a native transfer: header, palette and bottom-up rows.
#pragma once

#include <cstdint>

#include "engine/enlarge_lines.h"
#include "engine/read_loop.h"
#include "engine/scan_job_state.h"
#include "platform/platform.h"

struct NativeImageLayout {
    uint16_t bitCount;        // 1 line art, 8 gray, 24 colour
    uint16_t paletteEntries;  // 2, 256 or 0
    uint32_t width;           // pixels of a row
    uint32_t rows;            // rows of the image
    uint32_t rowBytes;        // a row, padded to 4 bytes
    uint32_t size;            // 40 + 4 x palette entries + rows
    bool deepColour;          // 36-bit lines (6 bytes a pixel) reduced to 24-bit rows
};

// The layout of a bitmap of width x rows for the mode; false when it would not fit a 32-bit
// size. A bitmap has at most 8 bits a sample, so 36-bit colour becomes a 24-bit bitmap.
bool NativeLayoutOf(uint16_t mode, uint16_t subMode, uint32_t width, uint32_t rows,
                    NativeImageLayout& layout);

// Allocates the zero-filled block and writes the header and palette. nullptr on failure.
plat::MemHandle AllocNativeImage(const NativeImageLayout& layout);

// Receives scanned bands into the locked bitmap: colour lines get the software colour
// adjustment and are stored blue, green, red; the first scan line becomes the top row. With
// an enlargement every line becomes the rows it gives, the same rows as in the other
// transfers.
class NativeLineWriter : public BandSink {
public:
    NativeLineWriter(uint8_t* bitmap, const NativeImageLayout& layout, uint16_t mode,
                     uint32_t bytesPerLine, uint32_t lines, Enlargement* enlargement);

    // A 36-bit line (three little-endian 12-bit samples a pixel) as a 24-bit bitmap row.
    static void ReduceDeepLine(const uint8_t* src, uint32_t pixels, uint8_t* row);
    bool TakeBand(const ScanBuffers& buffers, uint32_t firstLine, uint32_t lines) override;

private:
    uint8_t* RowAddress(uint64_t row) const;
    void WriteLine(uint8_t* src, uint32_t line);
    bool EnlargeLine(uint8_t* src);

    uint8_t* rows_;  // first byte of the pixel rows
    NativeImageLayout layout_;
    uint16_t mode_;
    uint32_t bytesPerLine_;
    uint32_t lines_;
    Enlargement* enlargement_;  // nullptr: every line is a row
};
