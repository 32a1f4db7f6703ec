// The built-in test chart: a deterministic reflective original covering the whole wide bed,
// laid out in thousandths of an inch (mils). Its main content lies within 8.5 x 11.2 in so
// the narrow bed sees all of it; the wide bed adds colour bars on the right and large shapes
// below.
//
// Most of the chart is made of horizontal bands whose rows repeat (ramps, patches, steps,
// vertical lines), so a renderer can compute each distinct row once; the edge and wedge band
// changes every few thousandths of an inch, wherever the slanted edge or the wedge pitch moves.
#pragma once

#include <cstdint>

struct Rgb12 {
    uint16_t r, g, b;
};

constexpr uint16_t kPaperWhite = 3760;  // about 92 % reflectance

// Rows with equal keys are equal at every x.
uint64_t ChartRowKey(int32_t yMil);

void ChartRow(int32_t yMil, const int32_t* xMil, uint32_t count, Rgb12* out);
