// The prescan library's one export, PreScan_Image, as the data source's main window calls it
// and the library defines it, with the shading store both sides write.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/port_library_api.h"  // KV_WINAPI
#include "common/request_blocks.h"

// The six words PreScan_Image returns: all zero after a failure. The data source keeps them
// and judges success by the bitmap file; they describe the file written.
struct PreScanResult {
    uint32_t pixels;        // width of the bitmap
    uint32_t lines;         // height of the bitmap
    uint32_t rowBytes;      // bytes of one stored row
    uint32_t resolution;    // dots per inch of the prescan
    uint32_t linesRead;     // lines the scanner delivered (fewer after Esc or a failed read)
    uint32_t fileWritten;   // 1
};

// The data source's shading store. The prescan library converts its white levels through the
// three tables, keeps the green channel of its calibration in the two buffer tables for the
// data source, and clears the force flag once the scanner has its coefficients.
struct PrescanShadingStore {
    uint16_t forceCalibration;  // non-zero: measure even when the scanner does not ask
    // Samples held by the two tables (0 = none kept): what a scanner that asks only for the
    // stored tables gets sent.
    uint16_t keptSamples;
    const uint16_t* conversion[3];  // 4096 entries each: red, green, blue
    ScanBufferTable high;           // high bytes of the kept 16-bit coefficients
    ScanBufferTable low;            // their low bytes
};

#if defined(_WIN32) && !defined(_WIN64)
static_assert(offsetof(PrescanShadingStore, conversion) == 4);
static_assert(offsetof(PrescanShadingStore, high) == 16);
static_assert(offsetof(PrescanShadingStore, low) == 336);
#endif

// Runs one prescan and leaves PVWC0000.BMP in the driver directory. Handles, addresses and the
// socket are pointer-sized (the socket is the data source's connection to the sharing server,
// 0 for a local scanner); the prescan length is in inches (below 4.0: the whole bed). Never
// throws; every failure returns the zero result after its message.
extern "C" PreScanResult KV_WINAPI PreScan_Image(void* owner, void* rectangle, uint32_t sourceWord,
                                                 void* unused4, void* progress, uint16_t language,
                                                 uint16_t narrowBed, uint16_t highResolution,
                                                 uint32_t unused9, float prescanLength,
                                                 PrescanShadingStore* shadingStore,
                                                 void* colourAdjust, uintptr_t socket);
using PreScanImageProc = decltype(&PreScan_Image);

constexpr const char* kPreScanImageName = "PreScan_Image";
// Where the main window finds the library and the library leaves the bitmap, under the
// Windows directory.
constexpr const char* kPrescanLibraryPath = "\\TWAIN_32\\KVTC_A3\\PRESCAN.DLL";
constexpr const char* kPrescanBitmapPath = "\\TWAIN_32\\KVTC_A3\\PVWC0000.BMP";
