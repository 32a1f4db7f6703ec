#include "window/custom_resolution.h"

#include <algorithm>

namespace {

struct StepRow {
    uint16_t model;
    uint32_t from, to;  // value range, inclusive
    SliderSteps steps;
};

constexpr StepRow kSteps[] = {
    {600, 72, 299, {1, 30}},    {600, 300, 599, {1, 60}},    {600, 600, 1200, {1, 120}},
    {800, 72, 399, {4, 40}},    {800, 400, 799, {40, 80}},   {800, 800, 1600, {80, 160}},
    {1200, 72, 599, {1, 60}},   {1200, 600, 1199, {1, 120}}, {1200, 1200, 2400, {1, 240}},
};

uint32_t Clamp(int64_t value, const ResolutionRange& r) {
    return uint32_t(std::clamp<int64_t>(value, r.least, std::max(r.least, r.most)));
}

}  // namespace

ResolutionRange CustomResolutionRange(uint16_t opticalResolution, bool interpolationAllowed) {
    ResolutionRange r;
    r.most = interpolationAllowed ? 2u * opticalResolution : opticalResolution;
    return r;
}

SliderSteps CustomResolutionSteps(uint16_t opticalResolution, uint32_t value) {
    if (opticalResolution == 606) return {6, 60};
    for (const StepRow& row : kSteps)
        if (row.model == opticalResolution && value >= row.from && value <= row.to) return row.steps;
    return {};
}

uint32_t MoveCustomResolution(uint16_t opticalResolution, const ResolutionRange& range,
                              uint32_t value, SliderAction action, uint32_t thumb) {
    const SliderSteps steps = CustomResolutionSteps(opticalResolution, value);
    int64_t next = value;
    switch (action) {
        case SliderAction::LineLess: next -= steps.line; break;
        case SliderAction::LineMore: next += steps.line; break;
        case SliderAction::PageLess: next -= steps.page; break;
        case SliderAction::PageMore: next += steps.page; break;
        case SliderAction::Thumb: next = thumb; break;
        case SliderAction::Least: return range.least;
        case SliderAction::Most: return std::max(range.least, range.most);
    }
    if (steps.line > 1 && next > 0) next -= next % steps.line;
    return Clamp(next, range);
}

uint32_t TypedCustomResolution(const ResolutionRange& range, int64_t typed) { return Clamp(typed, range); }
