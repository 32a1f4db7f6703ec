// SPI_CALL's work once the library has its device: find the block's type from the function
// code, resolve the buffer tables the block points to, and run the request on the device.
#pragma once

#include <cstdint>

#include "simulator/device/device.h"

// Returns the status left in the block (kStatusUnknownCode for a code outside 0-9; nothing is
// written for a null block).
uint16_t DispatchRequest(Device& device, void* block, uint32_t code);
