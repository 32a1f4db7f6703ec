// What a memory or file transfer must deliver for a scan with image processing, computed
// from the scanned image with the plain formulas of the filter, scaling and table tests, in
// the order the transfers apply them: unsharp mask and descreen over the whole image, the
// descreen reduction, output matching, the chosen filter over the whole image, the enlargement
// (interpolation, then thinning to the effective resolution) and the CMYK conversion.
#pragma once

#include <cstdint>
#include <vector>

using Bytes = std::vector<uint8_t>;

struct OracleScan {
    int kind = 1;               // 0 line art, 1 gray, 2 colour
    uint32_t effective = 300;   // effective resolution
    uint32_t asked = 300;       // resolution sent to the scanner
    uint16_t filterMode = 0;
    uint16_t deScreen = 1017;   // 1017: none
    const Bytes* colorTable = nullptr;  // output matching with this file
    const Bytes* cmykTable = nullptr;   // "CMYK Color" with this file (bytes complemented)
    uint32_t rowBytes = 0;      // a delivered row
    uint32_t factor = 1;        // interpolation factor (1: none)
};

struct OracleImage {
    Bytes data;
    uint32_t rowBytes = 0;
    uint32_t rows = 0;
};

// scanned: lines of scanBytes as the scanner delivered them (after its tone tables).
OracleImage OraclePipeline(const OracleScan& scan, const Bytes& scanned, uint32_t scanBytes,
                           uint32_t lines);
