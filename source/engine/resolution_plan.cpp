#include "engine/resolution_plan.h"

#include <algorithm>

namespace {

// Beyond eight times the optical resolution no enlargement is made; such an image is
// delivered at that resolution.
constexpr uint32_t kLargestFactor = 8;

}  // namespace

ResolutionPlan PlanResolution(const ResolutionInput& in) {
    ResolutionPlan plan;
    const uint32_t optical = in.opticalResolution;
    plan.effective = std::min(in.effective, kLargestFactor * optical);
    if (in.descreenAtLowRes && plan.effective < 300 && in.reducibleSamples && optical >= 300) {
        plan.asked = 300;
        plan.reduceDescreened = true;
        return plan;
    }
    if (plan.effective <= optical) {
        plan.asked = static_cast<uint16_t>(plan.effective);
        return plan;
    }
    for (plan.factor = 2; plan.factor < kLargestFactor; plan.factor += 2)
        if ((plan.effective + plan.factor - 1) / plan.factor <= optical) break;
    plan.asked = static_cast<uint16_t>(
        std::min<uint32_t>((plan.effective + plan.factor - 1) / plan.factor, optical));
    return plan;
}

uint64_t DeliveredCount(uint32_t scanned, const ResolutionPlan& plan) {
    if (plan.factor <= 1 || plan.asked == 0) return scanned;
    return std::min<uint64_t>(uint64_t(scanned) * plan.effective / plan.asked,
                              uint64_t(scanned) * plan.factor);
}
