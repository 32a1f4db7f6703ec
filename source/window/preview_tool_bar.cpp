#include "window/preview_tool_bar.h"

namespace {

bool Picking(PreviewTool t) { return t == PreviewTool::PickHighlight || t == PreviewTool::PickShadow; }

bool ToolOf(ToolBarButton b, PreviewTool& tool) {
    switch (b) {
        case ToolBarButton::Crop: tool = PreviewTool::Crop; return true;
        case ToolBarButton::Zoom: tool = PreviewTool::Zoom; return true;
        case ToolBarButton::PickHighlight: tool = PreviewTool::PickHighlight; return true;
        case ToolBarButton::PickShadow: tool = PreviewTool::PickShadow; return true;
        default: return false;
    }
}

}  // namespace

const ToolBarButtonInfo kToolBar[kToolBarButtons] = {
    {ToolBarButton::HiRes, {5, 2, 29, 26}, "IDB_HIRES", 355},
    {ToolBarButton::Batch, {35, 2, 59, 26}, "IDB_BSCAN", 336},
    {ToolBarButton::Crop, {80, 2, 104, 26}, "IDB_CROP", 356},
    {ToolBarButton::Zoom, {110, 2, 134, 26}, "IDB_ZOOMIN", 335},
    {ToolBarButton::PickHighlight, {140, 2, 164, 26}, "IDB_PICKHT", 357},
    {ToolBarButton::PickShadow, {170, 2, 194, 26}, "IDB_PICKSD", 358},
};

const ToolBarButtonInfo* ToolBarButtonAt(PreviewPoint p) {
    for (const ToolBarButtonInfo& b : kToolBar)
        if (p.x >= b.rect.left && p.x < b.rect.right && p.y >= b.rect.top && p.y < b.rect.bottom)
            return &b;
    return nullptr;
}

bool ToolBarButtonSunken(const PreviewState& s, ToolBarButton b, bool batchWindowOpen) {
    if (b == ToolBarButton::HiRes) return s.highDensity;
    if (b == ToolBarButton::Batch) return batchWindowOpen;
    PreviewTool tool{};
    return ToolOf(b, tool) && tool == s.tool;
}

ToolBarClick ClickToolBar(PreviewState& s, ToolBarButton b, bool pickerOpen, bool batchAllowed) {
    ToolBarClick out;
    PreviewTool tool{};
    if (b == ToolBarButton::HiRes) s.highDensity = !s.highDensity;
    if (b == ToolBarButton::Batch) out.toggleBatchWindow = batchAllowed;
    if (ToolOf(b, tool)) {
        s.tool = tool;
        out.openPicker = Picking(tool) && !pickerOpen;
    }
    out.destroyPicker = !Picking(s.tool) && pickerOpen;
    return out;
}
