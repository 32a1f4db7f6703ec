// What the preview shows: the mapping, zoom steps and scroll bars, the frame around it, the
// hit test and cursors, the tool bar, the running frame and the scan-length strip.
#include <gtest/gtest.h>

#include "window/marching_ants.h"
#include "window/preview_frame.h"
#include "window/preview_hit_test.h"
#include "window/preview_mapping.h"
#include "window/preview_scroll.h"
#include "window/preview_tool_bar.h"
#include "window/preview_zoom.h"
#include "window/scan_length.h"

namespace {

const FrameMetrics kMetrics{4, 4, 18, 16, 16};

}  // namespace

TEST(PreviewMapping, RoundTripsAtEveryZoomAndTheBedAlwaysFillsTheView) {
    for (int32_t zoom : {1, 2, 4, 8}) {
        PreviewState s;
        s.zoom = zoom;
        for (PreviewPoint scroll : {PreviewPoint{0, 0}, PreviewPoint{37, 91}, PreviewPoint{999, 999}}) {
            s.scroll = scroll;
            SettleScroll(s);
            EXPECT_EQ(s.viewportOrigin.x, ToDevice(s, {0, 0}).x);
            for (int32_t v : {-17, 0, 5, 123, 350}) {
                const PreviewPoint p = ToPreview(s, ToDevice(s, {v, v + 3}));
                EXPECT_EQ(p.x, v);
                EXPECT_EQ(p.y, v + 3);
                const PreviewPoint d = ToDevice(s, ToPreview(s, {v, -v}));
                EXPECT_TRUE(d.x <= v && d.x > v - zoom) << zoom << " " << v;
                EXPECT_TRUE(d.y <= -v && d.y > -v - zoom) << zoom << " " << v;
            }
            // The device context's numbers give the same device pixels.
            const PreviewMapping m = MappingOf(s);
            const PreviewPoint d = ToDevice(s, {200, 300});
            EXPECT_EQ(d.x, (200 - m.windowOrigin.x) * m.viewportExtent / m.windowExtent + m.viewportOrigin.x);
            // Scrolled to the end, the bed's far corner is not inside the view.
            const PreviewPoint corner = ToDevice(s, {s.width, s.height});
            if (scroll.x == 999) {
                EXPECT_TRUE(corner.x >= s.width && corner.y >= s.height);
            }
        }
    }
}

TEST(PreviewZoom, StepsBeepAtTheEndsTitleFrameAndCorner) {
    PreviewState s;
    ZoomOutcome out = ZoomPreviewOut(s, {10, 10}, kMetrics);
    EXPECT_TRUE(out.beep);
    EXPECT_EQ(s.zoom, 1);
    s.zoomRect = ZoomRectangle({200, 300}, s.width, s.height);  // corner (113, 173)
    out = ZoomPreviewIn(s, kMetrics);
    EXPECT_FALSE(out.beep);
    EXPECT_EQ(out.frameChange.width, 17);  // the scroll bars' room
    EXPECT_EQ(out.frameChange.height, 10);
    EXPECT_EQ(out.scrollLimit.x, 175);
    EXPECT_EQ(ToPreview(s, {0, 0}).x, 113);  // the corner is the view's top-left
    EXPECT_EQ(ToPreview(s, {0, 0}).y, 173);
    out = ZoomPreviewOut(s, {0, 0}, kMetrics);
    EXPECT_EQ(out.frameChange.width, -17);  // and back to the former size
    EXPECT_EQ(out.frameChange.height, -10);
    EXPECT_EQ(out.scrollLimit.x, 0);
    EXPECT_EQ(s.scroll.x, 0);
    for (int i = 0; i < 2; ++i) ZoomPreviewIn(s, kMetrics);
    EXPECT_EQ(PreviewTitle("Preview", s.zoom), "Preview (4:1)");
    ZoomPreviewIn(s, kMetrics);
    EXPECT_EQ(ZoomPreviewIn(s, kMetrics).beep, true);
    EXPECT_EQ(s.zoom, 8);
    // The zoom rectangle stays inside the client rectangle with its size.
    const PreviewRect r = ZoomRectangle({350, 5}, 351, 510);
    EXPECT_EQ(r.right, 351);
    EXPECT_EQ(r.right - r.left, 175);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.bottom, 255);
}

TEST(PreviewScroll, LinePageAndOnlyTheReleasedThumb) {
    PreviewState s;
    EXPECT_FALSE(ScrollPreview(s, ScrollAxis::Horizontal, ScrollAction::PageMore));  // zoom 1
    s.zoom = 2;  // ranges 0 ... 175 and 0 ... 255
    EXPECT_TRUE(ScrollPreview(s, ScrollAxis::Vertical, ScrollAction::LineMore));
    EXPECT_EQ(s.scroll.y, 25);  // 255 / 10
    ScrollPreview(s, ScrollAxis::Vertical, ScrollAction::PageMore);
    EXPECT_EQ(s.scroll.y, 152);  // + 127
    EXPECT_EQ(s.viewportOrigin.y, -304);
    EXPECT_FALSE(ScrollPreview(s, ScrollAxis::Horizontal, ScrollAction::ThumbTrack, 90));
    ScrollPreview(s, ScrollAxis::Horizontal, ScrollAction::ThumbPosition, 90);
    EXPECT_EQ(s.scroll.x, 90);
    ScrollPreview(s, ScrollAxis::Vertical, ScrollAction::PageMore);
    EXPECT_EQ(s.scroll.y, 255);
    EXPECT_FALSE(ScrollPreview(s, ScrollAxis::Vertical, ScrollAction::LineMore));
}

TEST(PreviewFrame, SizeAroundThePreviewAndTheChildren) {
    const FrameSize f = PreviewFrameSize(351, 510, kMetrics);
    EXPECT_EQ(f.width, 351 + 8 + 10);
    EXPECT_EQ(f.height, 510 + 18 + 4 + 37);
    EXPECT_EQ(FrameZoomChange(2, 4, kMetrics).width, 0);
    const PreviewFrameLayout l = LayOutPreviewFrame(361, 547, false);
    EXPECT_EQ(l.previewArea.bottom - l.previewArea.top, 510);
    EXPECT_EQ(l.scanLength.right, 10);
    EXPECT_EQ(l.dividerY, 541);
    EXPECT_EQ(LayOutPreviewFrame(361, 547, true).previewArea.bottom, 547);
}

TEST(PreviewHitTest, CodesInOrderWithDialogUnitToleranceAndCursors) {
    const HitTolerance t = DialogUnitTolerance(0x00100008);
    EXPECT_EQ(t.x, 4);
    EXPECT_EQ(t.y, 4);
    PreviewState s;
    s.region = {100, 100, 200, 200};
    const struct {
        PreviewPoint p;
        uint8_t hit;
    } cases[] = {{{97, 103}, 1},  {{150, 96}, 2},  {{204, 100}, 3}, {{200, 150}, 8},
                 {{201, 199}, 6}, {{150, 204}, 5}, {{100, 200}, 4}, {{96, 150}, 7},
                 {{150, 150}, 9}, {{50, 50}, 10},  {{351, 50}, 0},  {{-1, 50}, 0}};
    for (const auto& c : cases) EXPECT_EQ(PreviewHitTest(s, c.p, t, false), c.hit) << c.p.x << "," << c.p.y;
    EXPECT_EQ(PreviewHitTest(s, {100, 100}, t, true), kHitNewRegion);
    s.zoom = 2;  // the region in device pixels: 200 ... 400, partly out of view
    EXPECT_EQ(PreviewHitTest(s, {200, 300}, t, false), kHitLeft);
    EXPECT_EQ(PreviewHitTest(s, {100, 300}, t, false), kHitNewRegion);

    EXPECT_STREQ(PreviewCursor(PreviewTool::Crop, kHitBottomRight, false), "IDSIZENWSE");
    EXPECT_STREQ(PreviewCursor(PreviewTool::Crop, kHitBottomLeft, false), "IDSIZENESW");
    EXPECT_STREQ(PreviewCursor(PreviewTool::Crop, kHitInside, false), "IDHAND1");
    EXPECT_STREQ(PreviewCursor(PreviewTool::Crop, kHitNewRegion, false), "");
    EXPECT_STREQ(PreviewCursor(PreviewTool::Zoom, kHitInside, true), "IDZOOMOUT");
    EXPECT_STREQ(PreviewCursor(PreviewTool::PickShadow, kHitNone, false), "IDC_PICKER");
    s.tool = PreviewTool::Zoom;
    EXPECT_STREQ(ZoomCursorAfterShift(s, true), "IDZOOMOUT");
    EXPECT_EQ(ZoomCursorAfterShift(s, true), nullptr);  // no change, no new cursor
}

TEST(PreviewToolBar, ToolsExcludeEachOtherAndThePickerFollows) {
    PreviewState s;
    EXPECT_EQ(ToolBarButtonAt({120, 10})->button, ToolBarButton::Zoom);
    EXPECT_EQ(ToolBarButtonAt({70, 10}), nullptr);  // between the groups
    EXPECT_TRUE(ClickToolBar(s, ToolBarButton::PickShadow, false, true).openPicker);
    EXPECT_TRUE(ToolBarButtonSunken(s, ToolBarButton::PickShadow, false));
    EXPECT_FALSE(ToolBarButtonSunken(s, ToolBarButton::Crop, false));
    EXPECT_TRUE(ClickToolBar(s, ToolBarButton::Crop, true, true).destroyPicker);
    EXPECT_FALSE(ClickToolBar(s, ToolBarButton::Batch, false, false).toggleBatchWindow);
    ClickToolBar(s, ToolBarButton::HiRes, false, true);
    EXPECT_EQ(PrescanDensityFactor(s), 2);
    EXPECT_EQ(s.tool, PreviewTool::Crop);
}

TEST(MarchingAnts, TheStripesRunOneRowPerTickAndComeRoundAfterEight) {
    AntsPattern p;
    const AntsPattern first = p;
    AdvanceAnts(p);
    EXPECT_EQ(p.rows[0], 0x8F);
    EXPECT_EQ(p.rows[1], 0x1F);
    for (int tick = 1; tick < 8; ++tick) {
        // Diagonal stripes: each row is the one above it turned left by a bit.
        for (int i = 1; i < 8; ++i)
            EXPECT_EQ(p.rows[i], uint8_t(p.rows[i - 1] << 1 | p.rows[i - 1] >> 7));
        AdvanceAnts(p);
    }
    for (int i = 0; i < 8; ++i) EXPECT_EQ(p.rows[i], first.rows[i]);
}

TEST(ScanLength, FromTheMarkerNeverBelowFourInchesAndNothingUntilMoved) {
    EXPECT_EQ(ScanLengthBedInches(false, 0), 17.0f);
    EXPECT_EQ(ScanLengthBedInches(true, 1), 17.0f);  // positive film
    EXPECT_EQ(ScanLengthBedInches(true, 2), 11.5f);
    const ScanLengthScale scale{510, 17.0f};
    ScanLengthStrip strip;
    strip.height = 517;
    const MarkerTriangle m = ScanLengthMarker(strip);
    EXPECT_EQ(m.points[0].y, 516);  // the bottom - 1
    EXPECT_EQ(m.points[2].x, 9);
    EXPECT_FALSE(ScanLengthPress(strip, {8, 505}));  // beside the tip
    EXPECT_FALSE(ScanLengthRelease(strip, scale));
    EXPECT_EQ(strip.inches, 0.0f);
    ASSERT_TRUE(ScanLengthPress(strip, {2, 511}));
    EXPECT_EQ(ScanLengthDrag(strip, 0, scale), 120);  // held at four inches
    ScanLengthRelease(strip, scale);
    EXPECT_EQ(strip.inches, 4.0f);
    ScanLengthPress(strip, {2, 120});
    EXPECT_EQ(ScanLengthDrag(strip, 180, scale), 180);
    ScanLengthRelease(strip, scale);
    EXPECT_FLOAT_EQ(strip.inches, 6.0f);
    // The narrow bed's 11.5 inches: four inches at row 178; never past the bed's length.
    const ScanLengthScale narrow{510, 11.5f};
    ScanLengthPress(strip, {2, 180});
    EXPECT_EQ(ScanLengthDrag(strip, 10, narrow), 178);
    EXPECT_GE(ScanLengthInches(178, narrow), 4.0f);
    EXPECT_EQ(ScanLengthDrag(strip, 900, narrow), 512);
    ScanLengthRelease(strip, narrow);
    EXPECT_EQ(strip.inches, 11.5f);
}
