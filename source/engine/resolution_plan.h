// How a scan reaches the resolution its image is delivered at: what the scanner is asked
// for, and how its lines are enlarged or reduced afterwards.
#pragma once

#include <cstdint>

// How a scan reaches the effective resolution E. Up to the optical resolution the scanner
// scans at E itself. Above it the scanner scans at A = ceil(E / k) for the smallest factor k
// of 2, 4, 6 or 8 that keeps A within the optical resolution, and every line is enlarged k
// times in both directions; when k x A overshoots E, rows and columns are then thinned to E.
// Descreened images below 300 dpi that can be averaged (8-bit samples, memory and file
// transfers) are scanned at 300 dpi and reduced to E by the drop maps; any other descreened
// image is scanned at E, never delivered at 300 dpi under another label.
struct ResolutionPlan {
    uint32_t effective = 0;    // E, at most 8 x the optical resolution
    uint16_t asked = 0;        // A, sent to the scanner
    uint32_t factor = 1;       // k
    bool reduceDescreened = false;
};

struct ResolutionInput {
    uint32_t effective = 0;
    uint16_t opticalResolution = 0;
    bool descreenAtLowRes = false;
    bool reducibleSamples = false;  // 8-bit gray or colour, delivered by memory or file
};

ResolutionPlan PlanResolution(const ResolutionInput& input);

// Rows (or columns) delivered for `scanned` scanner lines (or pixels): k x scanned, thinned
// to floor(scanned x E / A) when the enlargement overshoots. Reduced images are counted by
// their drop maps instead.
uint64_t DeliveredCount(uint32_t scanned, const ResolutionPlan& plan);

