// What a started scan delivers, the same for the image information and every transfer: the
// shape of its rows and how many there are, from the scanned geometry, the resolution plan
// and, when the job reduces a descreened image, its drop maps.
#pragma once

#include <cstdint>

#include "engine/descreen_reduction.h"
#include "engine/scan_job_state.h"
#include "engine/transfer_rows.h"

struct DeliveredImage {
    RowShape shape;       // shape.scanBytes is the scanned line
    uint32_t lines = 0;   // lines before enlargement: as scanned, or kept by the reduction
    uint32_t rows = 0;    // rows delivered
    bool reduced = false; // the lines are the drop maps' kept lines and bytes
};

// False when a size does not fit 32 bits or the mode's samples cannot be enlarged. A native
// transfer never reduces (reducing = false): an application that asks for one after a scan
// planned for memory or file gets the lines as scanned.
bool DeliveredImageOf(const ScanJobState& job, uint16_t scanMode, uint16_t subMode,
                      const DescreenDropMaps& maps, DeliveredImage* image, bool reducing = true);
