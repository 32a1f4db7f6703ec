// The "CUSTOM" resolution dialog's slider: its range, its steps per model and value, and where
// each scroll action takes the value.
#pragma once

#include <cstdint>

struct ResolutionRange {
    uint32_t least = 72;
    uint32_t most = 0;  // the optical resolution, twice it where the transfer interpolates
};
ResolutionRange CustomResolutionRange(uint16_t opticalResolution, bool interpolationAllowed);

struct SliderSteps {
    uint32_t line = 0, page = 0;  // both 0 outside the model's ranges
};
SliderSteps CustomResolutionSteps(uint16_t opticalResolution, uint32_t value);

enum class SliderAction : uint8_t { LineLess, LineMore, PageLess, PageMore, Thumb, Least, Most };

// The value after an action (thumb: the position the scroll message gives), rounded down to
// a multiple of the line step and kept in the range.
uint32_t MoveCustomResolution(uint16_t opticalResolution, const ResolutionRange& range,
                              uint32_t value, SliderAction action, uint32_t thumb = 0);

// A typed value, kept in the range.
uint32_t TypedCustomResolution(const ResolutionRange& range, int64_t typed);

// In 36-bit colour a resolution above 600 cannot be scanned.
inline bool ScanAllowedAt(uint32_t resolution, bool colour36) {
    return !(colour36 && resolution > 600);
}
