#include "window/preview_frame.h"

#include <algorithm>

namespace {

constexpr int32_t kToolBarHeight = 30, kStripWidth = 10, kBelowPreview = 7;

}  // namespace

FrameSize PreviewFrameSize(int32_t previewWidth, int32_t previewHeight, const FrameMetrics& m) {
    return {previewWidth + 2 * m.borderWidth + kStripWidth,
            previewHeight + m.captionHeight + m.borderHeight + kToolBarHeight + kBelowPreview};
}

FrameSize FrameZoomChange(int32_t fromZoom, int32_t toZoom, const FrameMetrics& m) {
    const FrameSize bars{m.vScrollWidth + 1, m.hScrollHeight - 6};
    if (fromZoom == 1 && toZoom > 1) return bars;
    if (fromZoom > 1 && toZoom == 1) return {-bars.width, -bars.height};
    return {};
}

std::string PreviewTitle(const std::string& previewText, int32_t zoom) {
    return previewText + " (" + std::to_string(zoom) + ":1)";
}

PreviewFrameLayout LayOutPreviewFrame(int32_t clientWidth, int32_t clientHeight, bool zoomed) {
    const int32_t w = std::max(clientWidth, kStripWidth);
    const int32_t h = std::max(clientHeight, kToolBarHeight + kBelowPreview);
    PreviewFrameLayout l;
    l.toolBar = {0, 0, w, kToolBarHeight};
    l.scanLength = {0, kToolBarHeight, kStripWidth, h};
    l.previewArea = {kStripWidth, kToolBarHeight, w, zoomed ? h : h - kBelowPreview};
    l.divider = !zoomed;
    l.dividerY = h - 6;
    l.dividerLeft = kStripWidth;
    l.dividerRight = w;
    return l;
}
