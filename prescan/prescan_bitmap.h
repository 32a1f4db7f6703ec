// The prescan bitmap file: a Windows BMP, rows bottom-up, written in one piece at the end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

// The header of a 24-bit colour bitmap (54 bytes) or an 8-bit grey one with its grey palette
// (1078 bytes). False when the sizes cannot be stated in the header's fields.
bool BuildBitmapHeader(uint32_t pixels, uint32_t lines, uint32_t rowBytes, bool colour,
                       std::vector<uint8_t>& header);

// The bitmap's path: the Windows directory + "\TWAIN_32\KVTC_A3\PVWC0000.BMP".
std::string PrescanBitmapPath();

// Blue, green, red from red, green, blue: `pixels` pixels of a scanner line into a row.
void ScannerLineToRow(const uint8_t* line, uint32_t pixels, uint8_t* row);
