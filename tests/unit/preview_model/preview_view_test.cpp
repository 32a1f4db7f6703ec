// What the preview shows: the mapping, zoom steps and scroll bars, and the frame around it.
#include <gtest/gtest.h>

#include "window/preview_frame.h"
#include "window/preview_mapping.h"
#include "window/preview_scroll.h"
#include "window/preview_zoom.h"

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
