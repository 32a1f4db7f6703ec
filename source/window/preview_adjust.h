// The colour adjustment of a preview: one pass over pixels stored blue, green, red that
// applies the tone curves, then the picked-colour correction and saturation exactly as a
// scan applies them to its red, green, blue lines, and stores the result blue, green, red.
#pragma once

#include <cstdint>

#include "engine/color_adjust_plan.h"
#include "engine/tone_curve.h"
#include "settings/scan_settings.h"

// The engine's plan for scanner order, its input tables taken over by the bitmap's bytes
// with the curves folded in front of them, so that RunColorAdjust(plan, ...) on bitmap rows
// is the whole adjustment. Each component still meets its own luminance weight and its own
// picked component.
void PreparePreviewAdjust(const EnhancementRecord& record, uint16_t scanMode,
                          const ToneTables& tones, ColorAdjustPlan& plan);
