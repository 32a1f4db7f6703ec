// The preview area as one record: how much of the bed the user sees (client size, zoom,
// scroll), the scan region drawn on it, the tool, and the drag in progress.
#pragma once

#include <cstdint>

#include "window/image_size.h"

struct PreviewPoint {
    int32_t x = 0, y = 0;
};

enum class PreviewTool : uint8_t { Crop, Zoom, PickHighlight, PickShadow };

// What a point is over, and so what a drag that starts there does.
enum PreviewHit : uint8_t {
    kHitNone = 0,  // outside the preview area
    kHitTopLeft = 1,
    kHitTop = 2,
    kHitTopRight = 3,
    kHitBottomLeft = 4,
    kHitBottom = 5,
    kHitBottomRight = 6,
    kHitLeft = 7,
    kHitRight = 8,
    kHitInside = 9,      // moves the region
    kHitNewRegion = 10,  // draws a new one
};

constexpr int32_t kLeastZoom = 1, kMostZoom = 8;

// The preview area's window timers: the running frame, and one auto-scroll timer per drag.
constexpr uint32_t kTimerMarchingAnts = 4;
constexpr uint32_t kTimerNewRegion = 7, kTimerMoveRegion = 8, kTimerResizeRegion = 9;
constexpr uint32_t kPreviewTimerMs = 200;

// The preview area's client size when it is created: the bed at 30 pixels an inch.
constexpr int32_t kCreatedPreviewWidth = 351, kCreatedPreviewHeight = 510;

// An exclusive-or outline on screen: drawing it again erases it.
struct XorOutline {
    bool drawn = false;
    PreviewRect rect;  // preview coordinates
};

struct PreviewState {
    // The client size in device pixels; it is the whole bed in preview coordinates too, one
    // unit being one device pixel at zoom 1.
    int32_t width = kCreatedPreviewWidth, height = kCreatedPreviewHeight;
    int32_t zoom = 1;             // 1, 2, 4 or 8
    PreviewPoint scroll;          // the preview coordinate at the top-left corner
    PreviewPoint viewportOrigin;  // the device offset of preview (0, 0): -scroll x zoom
    PreviewRect region;           // the scan region, preview coordinates
    XorOutline previousOutline;
    PreviewTool tool = PreviewTool::Crop;
    bool dragging = false;
    uint8_t hit = kHitNone;     // where the button went down
    PreviewPoint anchor;        // the button-down point, preview coordinates
    PreviewPoint anchorDevice;  // and in device pixels
    PreviewPoint lastDevice;    // the last mouse point
    PreviewRect regionAtDown;   // the region as it was when the button went down
    PreviewRect zoomRect{0, 0, kCreatedPreviewWidth / 2, kCreatedPreviewHeight / 2};  // device
    bool shift = false;
    bool highDensity = false;      // the Hi/Low Resolution toggle
    uint32_t autoScrollTimer = 0;  // the one of 7, 8, 9 that runs, 0 when none
};

inline PreviewRect PreviewClient(const PreviewState& s) { return {0, 0, s.width, s.height}; }

// The prescan's density factor: 2 at 60 pixels an inch, 1 at 30.
inline int32_t PrescanDensityFactor(const PreviewState& s) { return s.highDensity ? 2 : 1; }
