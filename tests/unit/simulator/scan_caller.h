// A caller that drives a scanner the way a correct data source or prescan library does:
// inquiry, wait for ready, set-up, shading (measure, average with the extremes dropped, level
// correction, send back as channel planes), tone tables, start, wait, reads in bands through
// buffer tables, with the single retry of a "data not ready" read. Written from the request
// layouts alone, so the tests check the device against an independent reading.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "common/request_blocks.h"
#include "simulator/device/scan_geometry.h"
#include "simulator/device/tone.h"

using IssueFn = std::function<void(void* block, uint32_t code)>;
using DivideFn = std::function<uint16_t(void* area, uint32_t bytes, ScanBufferEntry* table,
                                        uint32_t unitBytes)>;

struct ScanCaller {
    IssueFn issue;
    DivideFn divide;
    bool prescanReading = false;     // read shading lines as the prescan library does
    uint32_t maxBufferBytes = 2u << 20;
    // Kept between scans, as the data source keeps its last calibration.
    std::vector<uint16_t> storedCoefficients;
    uint16_t calibration[4] = {};

    // Result of the last scan.
    uint32_t failedCode = 0xFFFF;  // request that answered a non-zero status
    uint16_t failedStatus = 0;
    uint8_t shadingNeeded = 0, shadingKind = 0;
    uint16_t bytesPerLine = 0, lines = 0;
    uint32_t readRequests = 0;
    std::vector<uint8_t> image;
};

// Runs one scan; false when a request failed (failedCode and failedStatus say which).
bool RunScan(ScanCaller& caller, const ScanWindow& window, const ToneState* tones = nullptr);

// The data source's reading of a block of shading lines: per sample position the trimmed
// average of the 12-bit values, through the level correction of its channel, returned as
// channel planes (red, green, blue, or the single channel).
std::vector<uint16_t> DataSourceCoefficients(const uint8_t* lines, uint32_t bytesPerLine,
                                             uint32_t count, bool colour,
                                             const uint16_t (&calibration)[4]);
// The prescan library's reading: samples from byte 2, three lowest and three highest dropped.
std::vector<uint16_t> PrescanCoefficients(const uint8_t* lines, uint32_t bytesPerLine,
                                          uint32_t count, const uint16_t (&calibration)[4]);
