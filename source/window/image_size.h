// The Main page's size routine as numbers and texts: the scan region's width and length, the
// image's bytes and the pixel size the scan job is given, in the unit the user chose.
#pragma once

#include <cstdint>
#include <string>

#include "settings/scan_settings.h"

// A rectangle of the preview area, in its client pixels.
struct PreviewRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool Empty() const { return right <= left || bottom <= top; }
};

// Display units of "UnitFlag".
enum DisplayUnit : uint16_t { kUnitInches = 0, kUnitPixels = 1, kUnitCm = 2, kUnitMm = 3 };

// The document feeder's page (A4, 210 x 297 mm): the size shown whatever region is drawn.
constexpr double kFeederPageWidthInches = 8.267716535;
constexpr double kFeederPageLengthInches = 11.69291339;

struct SizeContext {
    uint16_t opticalResolution = 1200;  // 600, 606, 800 or 1200
    double inchesPerPixelX = 0.0;       // of the preview area
    double inchesPerPixelY = 0.0;
    bool feeder = false;  // the document feeder is enabled
};

struct ImageSize {
    uint32_t resolution = 0;  // effective: scaling applied
    double widthInches = 0.0, lengthInches = 0.0;
    uint64_t bytes = 0;
    uint32_t pixelWidth = 0, pixelLength = 0;  // for the scan job
    std::string width, length, kilobytes;      // the texts of 1018, 1020 and 1026
};

// The resolution the Main page counts the image at: "Scaling" x "ScanRes" / 100, or the
// model's ten-fold resolution when "DpiScale" is 5 (the 606 model counts like the 1200).
uint32_t ShownResolution(const ScanSettings& s, uint16_t opticalResolution);

// False (nothing changes) when the client rectangle is empty.
bool ComputeImageSize(const ScanSettings& s, const SizeContext& context, const PreviewRect& region,
                      const PreviewRect& client, ImageSize& out);
