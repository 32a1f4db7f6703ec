// The passes the native transfer runs over its finished bitmap, a movable block that is
// locked here for the pass: the descreen blur first (when descreening), then the filter the
// user chose.
#pragma once

#include <cstdint>

#include "engine/filter_progress.h"
#include "platform/platform.h"

// "FilterMode" values.
constexpr uint16_t kFilterNone = 0;
constexpr uint16_t kFilterInvert = 1;
constexpr uint16_t kFilterFlip = 2;
constexpr uint16_t kFilterBlur = 3;
constexpr uint16_t kFilterBlurMore = 4;
constexpr uint16_t kFilterSharpen = 5;
constexpr uint16_t kFilterSharpenMore = 6;
constexpr uint16_t kFilterEmboss = 7;
constexpr uint16_t kFilterUnsharpMask = 8;

// Runs the filter of filterMode; none and unknown values are Done without touching it.
FilterResult FilterNativeImage(plat::MemHandle bitmap, uint16_t filterMode,
                               const FilterProgress& progress);

// Descreen of a native bitmap: one pass of the 3 x 3 mean, whatever the strength chosen.
FilterResult DescreenNativeImage(plat::MemHandle bitmap, const FilterProgress& progress);
