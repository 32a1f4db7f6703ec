// The preview's scroll bars: a line is a fifth of a screenful, a page a screenful, and only
// the released thumb moves the view (tracking it does not).
#pragma once

#include <cstdint>

#include "window/preview_state.h"

enum class ScrollAxis : uint8_t { Horizontal, Vertical };
enum class ScrollAction : uint8_t {
    LineLess, LineMore, PageLess, PageMore, ThumbPosition, ThumbTrack, Other
};

// True when the view moved: set the bar to the state's scroll position and invalidate the
// preview without erasing.
bool ScrollPreview(PreviewState& s, ScrollAxis axis, ScrollAction action, int32_t thumb = 0);

// Scrolls by preview units on both axes, kept in the range; returns the change made.
PreviewPoint ScrollPreviewBy(PreviewState& s, PreviewPoint units);
