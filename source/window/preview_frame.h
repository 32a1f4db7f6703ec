// The preview's frame window: its size around the preview area, how it grows when the scroll
// bars come with the first zoom step, where its three children go, and its title.
#pragma once

#include <cstdint>
#include <string>

#include "window/image_size.h"

// The system metrics the frame is measured with.
struct FrameMetrics {
    int32_t borderWidth = 0, borderHeight = 0;  // of a sizing frame
    int32_t captionHeight = 0;
    int32_t vScrollWidth = 0, hScrollHeight = 0;
};

struct FrameSize {
    int32_t width = 0, height = 0;
};

// Room for the borders, the scan-length strip (10) and the tool bar with the strip below the
// preview (37).
FrameSize PreviewFrameSize(int32_t previewWidth, int32_t previewHeight, const FrameMetrics& m);

// What to add to the frame's size when the zoom changes: the scroll bars' room going from 1
// to 2, the same taken away coming back to 1, nothing between the zoomed factors.
FrameSize FrameZoomChange(int32_t fromZoom, int32_t toZoom, const FrameMetrics& m);

// The frame's title: the preview's name (string 101) and the zoom, as in "Preview (4:1)".
std::string PreviewTitle(const std::string& previewText, int32_t zoom);

// The children in the frame's client area: the tool bar across the top (30 high), the
// scan-length strip down the left (10 wide), the preview area beside it. At zoom 1 a 7-pixel
// strip stays below the preview with a line across it; zoomed, the horizontal scroll bar
// takes that room.
struct PreviewFrameLayout {
    PreviewRect toolBar, scanLength, previewArea;
    bool divider = false;
    int32_t dividerY = 0, dividerLeft = 0, dividerRight = 0;
};
PreviewFrameLayout LayOutPreviewFrame(int32_t clientWidth, int32_t clientHeight, bool zoomed);
