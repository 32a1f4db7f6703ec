// The progress display of the scanning status window (and of the prescan's progress): when to
// draw, how far the bar has filled, and when the window goes.
#pragma once

#include <cstdint>
#include <string>

struct ProgressDisplay {
    uint32_t drawnPercent = 0;  // the bar is filled up to here
};

struct ProgressStep {
    bool draw = false;      // caption and percentage text drawn again
    bool clearBar = false;  // count 0: the bar starts empty
    uint32_t invertFrom = 0, invertTo = 0;  // the part of the bar that fills now (percent)
    std::string percentText;                // "%3d" and " %"
    bool destroy = false;                   // 100 %: the window goes
};

// One update with `current` of `total` done. Nothing is drawn while a document feeder is
// enabled or when there is no total; a count past the total counts as the total. The bar and
// text follow only when the percentage grew by more than 4 points since the last drawing.
ProgressStep AdvanceProgress(ProgressDisplay& display, uint64_t current, uint64_t total, bool feeder);

// The custom output scaling a user may type: 1 to min(240000 / "ScanRes", 600) percent.
uint32_t MostCustomScaling(uint16_t scanRes);
