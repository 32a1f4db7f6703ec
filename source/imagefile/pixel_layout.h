// How the pixels of one image line are laid out, as the read loop delivers them: line art
// 1 bit per pixel (most significant bit first, 1 = white), gray 1 byte, colour red, green,
// blue bytes, 36-bit colour three 16-bit little-endian samples whose top 12 bits carry the
// value ((sample & 4095) x 16).
#pragma once

#include <cstdint>

enum class PixelLayout { LineArt, Gray, Rgb24, Rgb48 };

// The order of the three bytes of delivered 24-bit colour pixels on their way to a file.
enum class ColourOrder : uint8_t {
    Scanned,  // red, green, blue
    Stored,   // blue, green, red: the line preparation already swapped them for a BMP file
};

// The layout of a "ScanMode" (1011-1014) and colour sub-mode. CMYK and unknown modes have
// no file layout: the answer is false and *layout is left alone.
bool PixelLayoutOfMode(uint16_t scanMode, uint16_t subMode, PixelLayout* layout);

bool IsColorLayout(PixelLayout layout);

// Bytes one pixel takes in a line, for the byte-oriented layouts (0 for line art).
uint32_t BytesPerPixel(PixelLayout layout);
