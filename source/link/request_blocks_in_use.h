// The data source's long-lived request blocks: one per function code, reused for every
// request of that code. The replies overwrite them in place.
#pragma once

#include <cstdint>

#include "common/request_blocks.h"

struct SourceRequestBlocks : RequestBlockSet {
    uint8_t forceColourCalibration;  // travels after the set-up block on the remote path
};

extern SourceRequestBlocks TheRequests;

template <typename Block>
uint16_t RequestStatus(const Block& block) {
    return block.header.status;
}
