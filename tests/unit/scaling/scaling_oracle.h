// The resolution-scaling formulas written out plainly, one sample at a time: the reference
// the table-driven and vectorised kernels are compared with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

using Bytes = std::vector<uint8_t>;

// Keep (true) or drop per unit for an effective resolution below 300.
std::vector<bool> OracleKeepMap(uint32_t units, uint32_t resolution);

// The reduced image of a descreened one: lines of lineBytes, sampleBytes 1 or 3.
Bytes OracleReduce(const Bytes& image, uint32_t lineBytes, uint32_t lines, uint32_t sampleBytes,
                   uint32_t resolution);

// kind 0 line art, 1 gray, 2 colour. The enlarged image thinned from `base` to `target`
// samples per inch in both directions (target <= base); the kept line bytes and lines.
Bytes OracleThin(int kind, const Bytes& image, uint32_t lineBytes, uint32_t lines, uint32_t base,
                 uint32_t target, uint32_t* keptLineBytes, uint32_t* keptLines);

// The whole image enlarged by factor (2, 4, 6, 8), rows of factor x lineBytes.
Bytes OracleInterpolate(int kind, const Bytes& image, uint32_t lineBytes, uint32_t lines,
                        uint32_t factor);

Bytes RandomBytes(size_t n, uint32_t seed);
