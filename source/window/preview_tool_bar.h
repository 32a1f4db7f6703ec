// The preview's tool bar: six 24 x 24 buttons, the density toggle, the batch button and the
// four tools, which exclude each other.
#pragma once

#include <cstdint>

#include "window/preview_state.h"

enum class ToolBarButton : uint8_t { HiRes, Batch, Crop, Zoom, PickHighlight, PickShadow };

struct ToolBarButtonInfo {
    ToolBarButton button;
    PreviewRect rect;    // tool-bar client pixels
    const char* bitmap;  // resource name
    uint32_t toolTip;    // string
};
constexpr int kToolBarButtons = 6;
extern const ToolBarButtonInfo kToolBar[kToolBarButtons];

// The button under a point, or null.
const ToolBarButtonInfo* ToolBarButtonAt(PreviewPoint p);

// Drawn sunken: the current tool, the density toggle while high density is on, the batch
// button while the batch window is open.
bool ToolBarButtonSunken(const PreviewState& s, ToolBarButton b, bool batchWindowOpen);

// What a click asks of the view besides the state's change: open the picker window (a pick
// tool, when it is not open), destroy it (no pick tool), toggle the batch window.
struct ToolBarClick {
    bool openPicker = false, destroyPicker = false, toggleBatchWindow = false;
};
// batchAllowed is false for the application whose product name is string 707.
ToolBarClick ClickToolBar(PreviewState& s, ToolBarButton b, bool pickerOpen, bool batchAllowed);
