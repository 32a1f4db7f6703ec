// The scanner buffers of a transfer or a shading measurement, in both libraries: one locked
// block that the port library divides into buffer-table entries of whole lines, and where
// each scan line lands in it.
#pragma once

#include <cstdint>

#include "common/port_library_api.h"
#include "common/request_blocks.h"
#include "platform/platform.h"

struct ScanBuffers {
    plat::MemHandle block = nullptr;
    uint8_t* base = nullptr;
    uint32_t size = 0;
    ScanBufferTable table{};
    uint16_t count = 0;           // entries the port library made
    uint16_t linesPerBuffer = 0;
    uint32_t linesPerRequest = 0; // lines of one band: every buffer full
};

constexpr uint32_t kMaxScanBufferBytes = 2097152;
constexpr uint32_t kDriverUnitBytes = 131072;

// Allocates the block for `lines` lines of `bytesPerLine`, at most maxBytes (sized in whole
// lines with the standard library, in 128 KiB units with another, shrinking while the
// allocation fails) and has BUF_ADDR divide it. A table the port library filled
// inconsistently (no entry, more entries than the table holds, an entry outside the block or
// smaller than the others) is a failure too. False leaves nothing allocated.
bool AllocScanBuffers(ScanBuffers& buffers, uint32_t bytesPerLine, uint32_t lines,
                      bool defaultLibrary, BufAddrProc bufAddr,
                      uint32_t maxBytes = kMaxScanBufferBytes);
void FreeScanBuffers(ScanBuffers& buffers);

// BUF_ADDR's division of a locked area into buffer-table entries, as both libraries ask for it.
#pragma once

#include <cstdint>

#include "common/port_library_api.h"
#include "common/request_blocks.h"

// BUF_ADDR's division of a locked area into `table`: the port library writes into a table
// with room well beyond the entries it may give, and a count above what `table` holds is
// refused (0) before any entry is used or copied; otherwise the entries are copied over.
uint16_t DivideIntoTable(BufAddrProc bufAddr, uint8_t* area, uint32_t bytes, uint32_t unitBytes,
                         ScanBufferTable& table);

// The table BUF_ADDR filled for an array of `bytes` at base (the shading coefficients): at
// least one entry, no more than the table holds, each inside the array. A port library's
// answer is checked before the scanner is told to read through it.
bool TableWithinArray(const ScanBufferTable& table, uint16_t count, const uint8_t* base,
                      uint32_t bytes);

// Scan line `line` of the image: buffer (line / lines per buffer) modulo the buffer count.
inline uint8_t* ScanLineAddress(const ScanBuffers& b, uint32_t line, uint32_t bytesPerLine) {
    const uint32_t entry = (line / b.linesPerBuffer) % b.count;
    return b.table[entry].address + (line % b.linesPerBuffer) * bytesPerLine;
}
