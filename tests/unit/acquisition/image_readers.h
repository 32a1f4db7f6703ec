// Reading back the files a file transfer writes: a small TIFF and BMP reader of their own
// (written from the formats, not from the writers), and the independent readers libtiff
// (tiffinfo) and Pillow, run as programs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct DecodedImage {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t bitsPerSample = 0;
    uint32_t samplesPerPixel = 0;
    uint32_t bytesPerLine = 0;   // of the rows below
    std::vector<uint8_t> rows;   // top row first, as the scanner delivers lines
    std::string error;           // empty when the file could be read
};

// Single-strip uncompressed little-endian TIFF: the strip as it is.
DecodedImage ReadTiff(const std::string& path);
// Uncompressed bottom-up BMP of 1, 8 or 24 bits: rows turned top-down, colour back to red,
// green, blue, line art back to 1 = white, the padding dropped.
DecodedImage ReadBmp(const std::string& path);

// Pillow's decoding as 8-bit samples: "L" (one a pixel) or "RGB". Empty error on success.
std::string PillowPixels(const std::string& path, const char* mode, std::vector<uint8_t>& out);
// tiffinfo's report; its error output, if any, comes first.
std::string TiffinfoReport(const std::string& path, bool* ok);

// The reference's lines as Pillow would show them: line art unpacked to 0 or 255.
std::vector<uint8_t> EightBitPixels(const std::vector<uint8_t>& lines, uint32_t pixels,
                                    uint32_t lineCount, uint32_t bytesPerLine, bool lineArt);
