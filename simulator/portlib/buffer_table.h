// The port library's side of the buffer tables: dividing a locked area into entries
// (BUF_ADDR) and turning a caller's table back into the spans the device writes to or reads.
#pragma once

#include <cstdint>
#include <vector>

#include "common/request_blocks.h"
#include "simulator/device/device.h"

// Entries of equal size, each a whole number of units, together covering every whole unit of
// the area (callers treat every entry like the first, and a shading buffer holds exactly its
// lines); at most 64 KiB each where that allows it. Never more than kScanBufferTableEntries
// entries, never past the area. Returns the number written, 0 when not even one unit fits.
uint16_t DivideBuffer(uint8_t* area, uint32_t bytes, ScanBufferEntry* table, uint32_t unitBytes);

// The first `count` entries (1 to kScanBufferTableEntries), all with an address and a size.
bool SpansFromTable(const ScanBufferEntry* table, uint32_t count, std::vector<BufferSpan>& out);

// Entries in order until they hold `units` whole units of unitBytes (or `bytes` bytes), read no
// further than needed and never past kScanBufferTableEntries.
bool SpansForUnits(const ScanBufferEntry* table, uint32_t unitBytes, uint32_t units,
                   std::vector<BufferSpan>& out);
bool SpansForBytes(const ScanBufferEntry* table, uint32_t bytes, std::vector<BufferSpan>& out);
