// The scan-length strip beside the preview: a triangle marker dragged down the bed to the
// length the next prescan covers. The length is 0 until the marker is first moved, then
// between 4 inches and the bed's length.
#pragma once

#include <cstdint>

#include "window/preview_state.h"

constexpr float kLeastScanLength = 4.0f;

// The length y pixels down the preview stand for.
struct ScanLengthScale {
    int32_t previewHeight = 0;  // the preview's client height at zoom 1
    float bedInches = 17.0f;
};

// The bed's length: 17 inches on the large bed; on the narrow bed 17 for positive film
// (source 1) and 11.5 for every other source.
float ScanLengthBedInches(bool narrowBed, uint8_t scanSource);

// y x bed length / preview height, at most the bed's length.
float ScanLengthInches(int32_t y, const ScanLengthScale& scale);

struct ScanLengthStrip {
    int32_t width = 10, height = 0;  // client size
    bool moved = false;              // the marker sits at the bottom until first moved
    int32_t markerY = 0;             // its centre once moved
    bool dragging = false;
    float inches = 0.0f;  // the stored length
};

// The marker's centre: 6 above the bottom until it is moved.
int32_t MarkerCentre(const ScanLengthStrip& s);

// The right-pointing triangle, its points (1, c + 5), (1, c - 5), (width - 1, c).
struct MarkerTriangle {
    PreviewPoint points[3];
};
MarkerTriangle ScanLengthMarker(const ScanLengthStrip& s);

// The button went down: a drag starts when the point is inside the marker.
bool ScanLengthPress(ScanLengthStrip& s, PreviewPoint p);
// The mouse moved to y during a drag: the marker's new centre, which is also where the line
// across the preview goes. It stays 5 inside the strip and never above the 4-inch position.
int32_t ScanLengthDrag(ScanLengthStrip& s, int32_t y, const ScanLengthScale& scale);
// The button came up: the drag ends and the length at the marker is stored. False when no
// drag was under way.
bool ScanLengthRelease(ScanLengthStrip& s, const ScanLengthScale& scale);
