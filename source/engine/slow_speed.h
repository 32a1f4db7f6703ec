// Slow-speed scanning ("SlowSpeedVer"): gray and line-art scans at up to 400 dpi may run at
// the slow speed, the source pausing before lines at an interval that depends on the mode and
// the resolution. The scan job decides it; every transfer's line loop waits.
#pragma once

#include <cstdint>

struct SlowSpeedTiming {
    uint32_t waitMs = 0;        // the pause before a line
    uint16_t lineInterval = 0;  // before every line whose index is a multiple (0: every line)
};

SlowSpeedTiming SlowSpeedTimingOf(uint16_t scanMode, uint16_t scanRes);

// Waits before scan line `line` when the scan job chose the slow speed.
void SlowSpeedWait(uint32_t line);
