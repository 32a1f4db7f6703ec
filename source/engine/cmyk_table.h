// "CMYK Color": every red-green-blue pixel becomes four bytes by trilinear interpolation in a
// 17 x 17 x 17 lattice read from "cmyk.tab" (or "cmykpp60.tab" for the publishing
// application of string 66) in \TWAIN_32\KVTC_A3\ under the Windows directory. The file's
// entries are four bytes, red index slowest, then green, then blue; the four bytes are the
// output bytes in the order they are delivered.
#pragma once

#include <cstdint>

#include "engine/lattice_interpolation.h"
#include "platform/platform.h"

constexpr uint32_t kCmykTableBytes = kLatticePoints * 4;  // 19,652
// CMYK rows are cut from blocks of at most this many input bytes.
constexpr uint32_t kCmykLargestBlock = 49152;

struct CmykTable {
    plat::MemHandle block = nullptr;
    uint8_t* pairs = nullptr;  // the lattice in pairs (lattice_interpolation.h)
};

// The scan job's table: loaded for "CMYK Color", freed when the transfer is reset.
extern CmykTable TheCmykTable;

// The table from a file's bytes: at least kCmykTableBytes (bytes after them are ignored) and
// at most 64 KiB. Any earlier table in `table` is freed first. False for any other size or
// a failed allocation.
bool CmykTableFromBytes(const uint8_t* data, uint64_t size, CmykTable* table);
bool LoadCmykTableFile(const char* path, CmykTable* table);
void FreeCmykTable(CmykTable& table);

// "cmykpp60.tab" for the application of string 66 of the English block, else "cmyk.tab".
const char* CmykTableFileName(bool batchPublisher);

// Loads TheCmykTable from the file the application gets (the batch publisher its own). On
// failure shows message 618 "Read File Failure." (owner parents it) and returns false.
bool LoadCmykTable(plat::WindowHandle owner, bool batchPublisher);

// Input bytes of the block a memory transfer converts at a time: min(49,152, the
// application's buffer x 3 / 4), so that the rows grown to four bytes per pixel still fit.
uint32_t CmykBlockBytes(uint32_t memoryLength);

// Converts byteCount / 3 pixels of block in place into four bytes each; the block has room
// for `capacity` bytes. complement stores 255 - value. False, with the block untouched, when
// no table is loaded or the converted pixels would not fit.
bool ConvertBlockToCmyk(const CmykTable& table, uint8_t* block, uint32_t byteCount,
                        uint32_t capacity, bool complement);
