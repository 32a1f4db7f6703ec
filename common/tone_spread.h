// A tone curve as the scanner takes it in ScanRequestSendGamma.
#pragma once

#include <cstdint>

// A 256-entry curve as the scanner takes it: copied as it stands for 256 entries; spread to
// 4096 by linear interpolation (entry 16 i = curve[i], the 15 between truncated, entries
// 4081-4095 = curve[255]). The rest of the slot is zeroed.
void SpreadToneTable(const uint8_t (&curve)[256], uint16_t entries, uint8_t (&slot)[4096]);
