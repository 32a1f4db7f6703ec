// Effective resolutions above 600 dpi: every scanner line is doubled (each sample followed
// by the mean of it and its right neighbour) and, when the target stays below 1200 dpi,
// thinned again by a resolution accumulator.
//
// What depends only on the scan (which doubled samples survive the thinning, and where each
// one comes from) is worked out once into a plan, so that widening a line is a table-driven
// loop with no allocation.
#pragma once

#include <cstdint>

#include "platform.h"
#include "sample_kind.h"

struct WidenPlan {
    SampleKind kind = SampleKind::Gray;
    uint32_t lineBytes = 0;  // the scanner line
    uint32_t outBytes = 0;   // the widened line, before any cap
    bool thinned = false;    // the target is below 1200 dpi and samples are dropped
    uint32_t keptCount = 0;  // doubled samples (bits, bytes or pixels) that survive thinning
    // Thinned gray and colour: the first doubled sample is always kept; after it the kept
    // ones repeat with the accumulator's period (1200 / gcd(R, 1200) samples, or a few
    // periods taken as one), at these offsets within each period.
    uint32_t period = 0;
    uint32_t keptPerPeriod = 0;
    uint32_t* offsets = nullptr;
    uint32_t* bits = nullptr;     // thinned line art: the input bit of every output bit
    uint8_t* doubled = nullptr;   // one doubled line: the work line of thinning and capping
    plat::MemHandle block = nullptr;
};

// The target resolution: the effective resolution, halved between 1200 and 2400 dpi.
uint32_t WidenTarget(uint32_t effectiveResolution);

// Plans the widening of lines of lineBytes for effective resolution E (above 600) and the
// resolution R sent to the scanner, which drives the thinning. Any earlier plan in `plan` is
// freed first. False (nothing held) for E of 600 or less, R of 0 when the line is thinned,
// an empty line, a colour line shorter than a pixel, or a failed allocation.
bool BuildWidenPlan(SampleKind kind, uint32_t lineBytes, uint32_t effectiveResolution,
                    uint32_t askedResolution, WidenPlan* plan);
void FreeWidenPlan(WidenPlan& plan);

// Widens one scanner line of plan.lineBytes into out and returns the bytes written: the
// widened length, but never more than outCapacity (the row length the transfer announced).
// A colour line's bytes after its last whole pixel are not part of any pixel and are left
// out. 0 for a plan that was never built.
uint32_t WidenLine(const WidenPlan& plan, const uint8_t* line, uint8_t* out, uint32_t outCapacity);

// The scan's plan, freed when the transfer ends.
extern WidenPlan TheWidenPlan;
