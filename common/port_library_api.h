// The three exports of the scanner port library, as the data source and the prescan library
// call them and as the simulator's port library defines them.
#pragma once

#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define KV_WINAPI __stdcall
#else
#define KV_WINAPI
#endif

extern "C" {
// 32-bit scanner handle; 0 = no scanner on the local port.
using AddrChkProc = uint32_t(KV_WINAPI*)();
// Issues one request: the block is overwritten in place with the reply.
using SpiCallProc = void(KV_WINAPI*)(void* block, uint32_t scannerHandle, uint32_t functionCode);
// Describes a locked buffer as buffer-table entries of whole units; returns the entry count.
using BufAddrProc = uint16_t(KV_WINAPI*)(void* lockedArea, uint32_t areaBytes, void* table,
                                          uint32_t unitBytes);
}

constexpr const char* kAddrChkName = "ADDR_CHK";
constexpr const char* kSpiCallName = "SPI_CALL";
constexpr const char* kBufAddrName = "BUF_ADDR";
