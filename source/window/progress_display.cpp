#include "window/progress_display.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr uint32_t kRedrawStep = 4;

std::string PercentText(uint32_t percent) {
    char text[16];
    std::snprintf(text, sizeof text, "%3u %%", percent);
    return text;
}

}  // namespace

ProgressStep AdvanceProgress(ProgressDisplay& d, uint64_t current, uint64_t total, bool feeder) {
    ProgressStep step;
    if (feeder || total == 0) return step;
    const uint32_t percent = static_cast<uint32_t>(std::min(current, total) * 100 / total);
    if (current == 0) {
        d.drawnPercent = 0;
        step.draw = step.clearBar = true;
    } else if (percent > d.drawnPercent + kRedrawStep) {
        step.draw = true;
        step.invertFrom = d.drawnPercent;
        step.invertTo = percent;
        d.drawnPercent = percent;
    }
    if (step.draw) step.percentText = PercentText(percent);
    step.destroy = percent >= 100;
    return step;
}

uint32_t MostCustomScaling(uint16_t scanRes) {
    if (scanRes == 0) return 600;
    return std::min<uint32_t>(240000u / scanRes, 600);
}
