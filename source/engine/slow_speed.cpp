#include "engine/slow_speed.h"

#include "engine/scan_job_state.h"
#include "platform/platform.h"
#include "settings/scan_settings.h"

SlowSpeedTiming SlowSpeedTimingOf(uint16_t scanMode, uint16_t scanRes) {
    const double perLine = scanRes * 11.5;
    SlowSpeedTiming t;
    t.waitMs = static_cast<uint32_t>(40000.0 / perLine);
    const bool fast = scanMode == kModeFastGray, gray = scanMode == kModeGray;
    if (scanRes > 350) {
        t.lineInterval = fast ? 70 : gray ? 90 : 100;
    } else if (scanRes > 250) {
        t.lineInterval = fast ? 1 : gray ? 6 : 4;
        if (fast) t.waitMs = static_cast<uint32_t>(25000.0 / perLine);
    } else if (scanRes > 150) {
        t.lineInterval = fast ? 1 : gray ? 4 : 3;
        if (fast) t.waitMs = static_cast<uint32_t>(30000.0 / perLine);
    }
    return t;
}

void SlowSpeedWait(uint32_t line) {
    if (!TheScanJob.slowSpeed) return;
    const uint16_t interval = TheScanJob.slowLineInterval;
    if (interval != 0 && line % interval != 0) return;
    const uint32_t start = plat::TickCount();
    while (plat::TickCount() - start < TheScanJob.slowWaitMs) plat::SleepMs(1);
}
