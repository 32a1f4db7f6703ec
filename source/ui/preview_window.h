// The preview window beside the scanning window: the frame ("ParentClass") with its tool bar
// ("ToolBarClass"), scan-length strip ("ScanLengthClass") and preview area ("PreviewClass"),
// showing the prescan image and the scan region drawn on it. One per process, owned by the
// scanning window; hidden until there is a prescan image to show.
#pragma once

#include <windows.h>

#include "window/marching_ants.h"
#include "window/preview_frame.h"
#include "window/preview_image.h"
#include "window/preview_state.h"
#include "window/preview_zoom.h"
#include "window/scan_length.h"

struct PreviewWindows {
    HWND frame = nullptr, toolBar = nullptr, strip = nullptr, area = nullptr;
    PreviewState state;
    ScanLengthStrip length;
    AntsPattern ants;
    PreviewImage image;
    bool hasImage = false;
    HPALETTE palette = nullptr;
    FrameMetrics metrics;
    int32_t lengthLineY = -1;  // the exclusive-or line across the area while the marker moves
};

extern PreviewWindows ThePreview;

// Created when the scanning window opens, at its right edge; shown when the prescan image
// can be read.
void CreatePreviewFrame(HWND main);
void DestroyPreviewFrame();
// The frame keeps to the scanning window's right edge.
void FollowScanningWindow(HWND main);
// After a prescan: the image is read again; the frame shows it or goes.
void ReloadPrescanImage();
// The scan mode changed (forced: any other reason to render again): the next paint renders.
void RepaintPreview(bool modeChanged, bool forced);
// The region changed in the preview: the scanning window's size routine follows.
void PreviewRegionChanged();
void SetPreviewTitle();

// Internal to the preview's views.
LRESULT CALLBACK PreviewAreaProcedure(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK PreviewToolBarProcedure(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ScanLengthProcedure(HWND, UINT, WPARAM, LPARAM);
void ApplyZoomOutcome(const ZoomOutcome& outcome);
void SetPreviewScrollBars();
void LayOutPreviewChildren();
