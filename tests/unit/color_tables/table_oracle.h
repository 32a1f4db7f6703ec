// The table formulas written out plainly, straight from the file bytes: the reference the
// lattice and matrix kernels are compared with.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

using Bytes = std::vector<uint8_t>;

// The four bytes of pixel (r, g, b) through a CMYK file's lattice, complemented or not.
std::array<uint8_t, 4> OracleCmyk(const Bytes& file, int r, int g, int b, bool complement);

// The three outputs of inputs (c0, c1, c2) through a colour table file of either layout.
std::array<uint8_t, 3> OracleColorTable(const Bytes& file, int c0, int c1, int c2);

Bytes RandomTableBytes(size_t n, uint32_t seed);
// A small-layout file: random curves, the given 12 matrix floats, little-endian.
Bytes SmallLayoutFile(const std::array<float, 12>& matrix, uint32_t seed);
