// The scanning window's own rules that need no window: its title, where it opens, the
// settings Reset brings back, the About page's lines, and the preview's size and scale as
// far as the main window uses them (the size routine and the Scan area).
#pragma once

#include <cstdint>
#include <string>

#include "settings/scan_settings.h"
#include "window/image_size.h"

// The title: the brand and the model name when the brand is "Solenne" (any case), else empty.
std::string MainWindowTitle(const std::string& brand, const std::string& model);

// The window's right edge at the middle of the screen, its bottom at the middle; an edge that
// would start above or left of the screen's first pixel starts at 5.
struct WindowPlace {
    int32_t left = 0, top = 0;
};
WindowPlace MainWindowPlace(int32_t screenWidth, int32_t screenHeight, int32_t width,
                            int32_t height);

// The settings the Reset button restores; the region, the display unit, the recent custom
// resolutions and the prescan density are the user's and stay.
void ResetWindowSettings(ScanSettings& s, bool neutralGammaApplication);

// The About page's four lines (4001, 4003, 4004, 4005).
struct AboutTexts {
    std::string model, version, firmware, maker;
};
struct AboutFacts {
    std::string brand, modelName, swVersion;  // profile keys "BRAND", "1200", "SWVERSION"
    std::string firmware;                     // four characters of the identification
    std::string twainWord, firmwareWord, makerName;  // strings 5, 6 and 7
};
AboutTexts AboutPageTexts(const AboutFacts& facts);
bool BrandIsSolenne(const std::string& brand);

// The bed's size as the scanner reported it (single precision) in thousandths of an inch:
// 11.7f is 11.6999998..., which would make the 30 dpi preview one pixel narrow.
double BedInches(float reported);

// The preview area: the bed at 30 (or 60) pixels per inch, fitted to a short screen.
struct PreviewSize {
    int32_t width = 0, height = 0;
};
PreviewSize PreviewAreaSize(double bedWidthInches, double bedLengthInches, int32_t density,
                            int32_t screenHeight);

// Inches per preview pixel of a client area: across the bed's width, down its length.
void PreviewScale(double bedWidthInches, double bedLengthInches, const PreviewRect& client,
                  SizeContext& context);

// The stored "Frame" (preview pixels) as the region, kept inside the client rectangle.
PreviewRect RegionOfFrame(const uint16_t (&frame)[4], const PreviewRect& client);
// And back, for the profile: the region's corners as the four "Frame" values.
void FrameOfRegion(const PreviewRect& region, uint16_t (&frame)[4]);
