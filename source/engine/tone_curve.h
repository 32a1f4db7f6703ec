// Tone curves: the lookup tables that turn a channel's highlight, shadow and gamma (or, for
// the scan without a window, its brightness and contrast) into output levels. The scanner
// applies them in hardware; the preview applies them in software.
#pragma once

#include <cstddef>
#include <cstdint>

#include "settings/scan_settings.h"

// The three working tables, stored blue, green, red (bitmap byte order), 768 bytes in all.
// A single-channel scan keeps its one curve in the first table (blue): the preview's gray
// palette reads it there and it feeds the gray slot of the scanner's tone tables.
struct ToneTables {
    uint8_t blue[256];
    uint8_t green[256];
    uint8_t red[256];
};
static_assert(sizeof(ToneTables) == 768);

// What a curve depends on beyond its channel word: colour balance only bends colour curves,
// and line art always gets a straight ramp.
struct ToneContext {
    uint16_t scanMode;  // base mode (kModeLineArt ... kModeColor)
    int8_t colorBalance[3];
};

// Highlight/shadow curve of `length` entries (1-1024) over `levels` output levels (1-256).
// channelIndex 0-2 names the red, green, blue balance value; 3 is the master channel.
// Returns 0 and leaves dest alone when the highlight is not above the shadow or a size is
// out of range, so the caller keeps its previous table.
int BuildToneTable(ChannelAdjust channel, int length, int levels, uint8_t* dest,
                   int channelIndex, bool useColorBalance, const ToneContext& context);

// Brightness (highlight byte) and contrast (shadow byte), both signed, with the channel's
// gamma (1-79). length - 1 must lie in 20..1023 and levels - 1 in 20..255; otherwise, or
// with a gamma out of range, returns 0 and leaves dest alone.
int BuildBrightnessContrastTable(ChannelAdjust channel, int length, int levels, uint8_t* dest);

// Byte 0 of each 3-byte pixel through the first table, byte 1 the second, byte 2 the third.
void ApplyToneTables(uint8_t* pixels, const ToneTables& tables, size_t pixelCount);
