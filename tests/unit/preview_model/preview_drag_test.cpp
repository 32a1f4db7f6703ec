// The scan region under the mouse: resize, move and new-region drags at zoom 1 and zoomed,
// and random sessions that must never leave the region inverted or off the bed.
#include <gtest/gtest.h>

#include <random>

#include "window/preview_drag.h"
#include "window/preview_mapping.h"
#include "window/preview_scroll.h"

namespace {

const HitTolerance kTolerance = DialogUnitTolerance(0x00100008);  // 8 x 16 base units: 4 x 4
const FrameMetrics kMetrics{4, 4, 18, 16, 16};

PreviewState WithRegion(PreviewRect r) {
    PreviewState s;
    s.region = r;
    return s;
}

// Down at one point, through the others, up; the region after.
PreviewRect Drag(PreviewState& s, std::initializer_list<PreviewPoint> points, bool shift = false) {
    PreviewButtonDown(s, *points.begin(), shift, kTolerance, kMetrics);
    for (PreviewPoint p : points) PreviewDragTo(s, p);
    PreviewButtonUp(s);
    return s.region;
}

void ExpectRect(const PreviewRect& r, int32_t l, int32_t t, int32_t rt, int32_t b) {
    EXPECT_EQ(r.left, l);
    EXPECT_EQ(r.top, t);
    EXPECT_EQ(r.right, rt);
    EXPECT_EQ(r.bottom, b);
}

bool Normalised(const PreviewRect& r) { return r.left <= r.right && r.top <= r.bottom; }
bool InsideClient(const PreviewState& s, const PreviewRect& r) {
    return std::min(r.left, r.right) >= 0 && std::max(r.left, r.right) <= s.width &&
           std::min(r.top, r.bottom) >= 0 && std::max(r.top, r.bottom) <= s.height;
}

}  // namespace

TEST(PreviewDrag, AnEdgePastTheOppositeOneStopsTwoPixelsShortAndFollowsTheMouseBack) {
    PreviewState s = WithRegion({100, 100, 200, 200});
    ExpectRect(Drag(s, {{100, 150}, {300, 150}}), 198, 100, 200, 200);  // left edge
    s.region = {100, 100, 200, 200};
    ExpectRect(Drag(s, {{150, 200}, {150, 20}}), 100, 100, 200, 102);  // bottom edge
    s.region = {100, 100, 200, 200};
    // The top-left corner past both opposite edges, then back: under the mouse again.
    PreviewButtonDown(s, {100, 100}, false, kTolerance, kMetrics);
    PreviewDragTo(s, {400, 450});
    ExpectRect(s.region, 198, 198, 200, 200);
    PreviewDragTo(s, {120, 130});
    ExpectRect(s.region, 120, 130, 200, 200);
    // Past the client edge: held at it.
    PreviewDragTo(s, {-40, -40});
    ExpectRect(s.region, 0, 0, 200, 200);
}

TEST(PreviewDrag, NewRegionDrawnUpwardsIsNormalisedOnReleaseAndKeptOnTheBed) {
    PreviewState s = WithRegion({10, 10, 20, 20});
    PreviewButtonDown(s, {300, 400}, false, kTolerance, kMetrics);
    EXPECT_EQ(s.hit, kHitNewRegion);
    const DragStep step = PreviewDragTo(s, {-50, 20});
    EXPECT_TRUE(step.regionChanged);
    EXPECT_TRUE(step.draw.drawn);
    EXPECT_FALSE(step.erase.drawn);  // the outline was emptied when the drag started
    ExpectRect(s.region, 300, 400, 0, 20);  // inverted until the button comes up
    EXPECT_TRUE(PreviewButtonUp(s).regionFinished);
    ExpectRect(s.region, 0, 20, 300, 400);
}

TEST(PreviewDrag, ShiftInsideTheRegionStartsANewOneWithoutItTheRegionMovesWhole) {
    PreviewState s = WithRegion({100, 100, 200, 200});
    ExpectRect(Drag(s, {{150, 150}, {160, 170}}, true), 150, 150, 160, 170);
    s.region = {100, 100, 200, 200};
    ExpectRect(Drag(s, {{150, 150}, {160, 170}}), 110, 120, 210, 220);
    ExpectRect(Drag(s, {{150, 150}, {900, -900}}), 251, 0, 351, 100);  // kept whole
}

TEST(PreviewDrag, ZoomedTheViewScrollsTowardTheMouseOutsideIt) {
    PreviewState s = WithRegion({100, 100, 120, 120});
    s.zoom = 2;  // 175 x 255 of the bed in view
    SettleScroll(s);
    PreviewButtonDown(s, {300, 300}, false, kTolerance, kMetrics);  // preview (150, 150)
    DragStep step = PreviewDragTo(s, {400, 300});  // right of the view
    EXPECT_EQ(step.startTimer, kTimerNewRegion);
    EXPECT_EQ(s.region.right, 175);  // the corner at the view's edge
    step = PreviewAutoScrollTick(s);
    EXPECT_TRUE(step.repaint);
    EXPECT_FALSE(step.erase.drawn);  // the repaint took the old outline
    EXPECT_EQ(s.scroll.x, 8);        // 16 device pixels
    EXPECT_EQ(s.viewportOrigin.x, -16);
    EXPECT_EQ(s.region.right, 183);
    for (int i = 0; i < 40; ++i) PreviewAutoScrollTick(s);
    EXPECT_EQ(s.scroll.x, 175);  // the end of the range
    EXPECT_EQ(s.region.right, 350);
    EXPECT_TRUE(PreviewDragTo(s, {200, 200}).stopTimers);  // back inside
    PreviewButtonUp(s);

    // A move that reaches the end of the range beeps; a resize runs its own timer.
    s.region = {200, 200, 250, 250};
    s.scroll.y = 100;
    SettleScroll(s);
    const PreviewPoint inside = ToDevice(s, {225, 225});
    PreviewButtonDown(s, inside, false, kTolerance, kMetrics);
    EXPECT_EQ(PreviewDragTo(s, {inside.x, -5}).startTimer, kTimerMoveRegion);
    bool beeped = false;
    for (int i = 0; i < 40 && !beeped; ++i) beeped = PreviewAutoScrollTick(s).beep;
    EXPECT_TRUE(beeped);
    EXPECT_EQ(s.scroll.y, 0);
    EXPECT_EQ(s.region.top, 0);
    EXPECT_EQ(s.region.bottom - s.region.top, 50);
    PreviewButtonUp(s);
    PreviewButtonDown(s, ToDevice(s, {s.region.right, 25}), false, kTolerance, kMetrics);
    EXPECT_EQ(PreviewDragTo(s, {-30, 10}).startTimer, kTimerResizeRegion);
}

TEST(PreviewDrag, ANewClientSizeKeepsTheRegionAndTheScrollOnTheBed) {
    PreviewState s = WithRegion({100, 300, 340, 500});
    s.zoom = 4;
    s.scroll = {260, 380};
    SettleScroll(s);
    SetPreviewClientSize(s, 0, 0);  // minimised: nothing lost
    ExpectRect(s.region, 100, 300, 340, 500);
    SetPreviewClientSize(s, 200, 250);
    ExpectRect(s.region, 100, 250, 200, 250);
    EXPECT_EQ(s.scroll.x, 150);  // (4 - 1) x 200 / 4
    EXPECT_EQ(s.scroll.y, 187);
}

// Random sessions: whatever the user does, a released region is normalised and on the bed,
// a resize or move never inverts it, and the view stays within its scroll range.
TEST(PreviewDrag, RandomSessionsNeverLeaveTheRegionInvertedOrOffTheBed) {
    std::mt19937 random(20240611);
    auto below = [&](int32_t n) { return int32_t(random() % uint32_t(n)); };
    for (int session = 0; session < 3000; ++session) {
        PreviewState s;
        s.tool = PreviewTool::Zoom;  // most sessions start zoomed in somewhere
        for (int step = below(4); step > 0; --step) {
            PreviewButtonDown(s, {below(s.width), below(s.height)}, false, kTolerance, kMetrics);
            PreviewButtonUp(s);
        }
        s.tool = PreviewTool::Crop;
        for (int event = 0; event < 60; ++event) {
            const PreviewPoint p{below(s.width + 200) - 100, below(s.height + 200) - 100};
            const int kind = below(100);
            if (kind < 30) {
                PreviewDragTo(s, p);
            } else if (kind < 40) {
                for (int tick = below(6); tick >= 0; --tick) PreviewAutoScrollTick(s);
            } else if (kind < 55) {
                PreviewButtonDown(s, p, below(4) == 0, kTolerance, kMetrics);
            } else if (kind < 72) {
                PreviewButtonUp(s);
                ASSERT_TRUE(Normalised(s.region)) << session << "/" << event;
                ASSERT_TRUE(InsideClient(s, s.region)) << session << "/" << event;
            } else if (kind < 82) {
                if (!s.dragging) s.tool = below(2) == 0 ? PreviewTool::Zoom : PreviewTool::Crop;
            } else if (kind < 92) {
                ScrollPreview(s, ScrollAxis(below(2)), ScrollAction(below(7)), below(600) - 100);
            } else if (kind < 97) {
                PreviewHover(s, p, below(2) == 0, kTolerance);
            } else {
                SetPreviewClientSize(s, below(800) - 20, below(1100) - 20);
            }
            ASSERT_TRUE(InsideClient(s, s.region)) << session << "/" << event;
            if (!s.dragging || (s.hit >= kHitTopLeft && s.hit <= kHitInside)) {
                ASSERT_TRUE(Normalised(s.region)) << session << "/" << event;
            }
            const PreviewPoint limit = ScrollLimit(s);
            ASSERT_TRUE(s.scroll.x >= 0 && s.scroll.x <= limit.x && s.scroll.y >= 0 &&
                        s.scroll.y <= limit.y);
            ASSERT_EQ(s.viewportOrigin.x, -s.scroll.x * s.zoom);
        }
    }
}
