// Byte-table lookups 64 pixels at a time with the byte-permute instructions of AVX-512 VBMI.
// The build targets SSE2; these run only where the processor (and the system's saved state)
// has those instructions, and the scalar loops do everything else.
#pragma once

#include <cstddef>
#include <cstdint>

// Whether the wide byte-table kernels can run here (asked once, then remembered).
bool HasWideByteTables();

// Byte k of every 3-byte pixel through tables[k], in whole blocks of 64 pixels; with `swap`
// the outputs of bytes 0 and 2 change places (BMP order). Returns the pixels done (a multiple of 64, possibly 0); the
// caller finishes the rest. dst may equal src. Only call when HasWideByteTables().
size_t LookupPixelsWide(const uint8_t* const (&tables)[3], bool swap, size_t pixels,
                        uint8_t* dst, const uint8_t* src);
