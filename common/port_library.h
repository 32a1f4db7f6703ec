// The three exports of the scanner port library (QASPI_SP.DLL), as the data source and the
// prescan library bind them with GetProcAddress. WINAPI (stdcall) in the 32-bit build,
// undecorated export names in both Windows builds.
#pragma once

#include <cstdint>

#include "request_blocks.h"

#if defined(_WIN32) && !defined(_WIN64)
#define KV_PORT_CALL __stdcall
#else
#define KV_PORT_CALL
#endif

// Scanner handle for SPI_CALL; 0 = no scanner on the local port.
using AddrChkProc = uint32_t(KV_PORT_CALL*)();
// Issues request `code` (0-9) with its block; the reply overwrites the block in place. The
// result repeats the block's status word; callers read the block.
using SpiCallProc = uint32_t(KV_PORT_CALL*)(void* block, uint32_t handle, uint32_t code);
// Divides a locked area into at most kScanBufferTableEntries entries of equal size, each a
// whole number of units, and returns how many it wrote (0 = nothing usable).
using BufAddrProc = uint16_t(KV_PORT_CALL*)(void* area, uint32_t bytes, ScanBufferEntry* table,
                                            uint32_t unitBytes);

constexpr const char* kAddrChkName = "ADDR_CHK";
constexpr const char* kSpiCallName = "SPI_CALL";
constexpr const char* kBufAddrName = "BUF_ADDR";
