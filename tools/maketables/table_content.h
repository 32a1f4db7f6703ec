// The content of the table files the source reads, made here because the calibration tools
// that make them for a real device are not part of this system. The values are plausible
// rather than measured, and computed in integers only so that every build writes the same
// bytes.
//
// - CMYK lattices (17 x 17 x 17 entries of C, M, Y, K ink amounts, 0 = no ink, red index
//   slowest): lattice point i stands for the input level 16 i (point 16 for 255). The inks
//   are the complements of red, green and blue; black replaces the grey component g (the
//   smallest of the three) by K = g x g x strength / (255 x 100), a quadratic onset that
//   leaves the highlights to the colour inks, and K is taken out of each colour ink.
//   "cmyk.tab" replaces fully (strength 100), "cmykpp60.tab" at 60 %.
// - Small colour table ("corvA3.tab"): output curves lifting the midtones by up to 1/16 of
//   the range, and a matrix that strengthens each channel against the other two while
//   leaving greys grey (each row's weights add up to 1, in 64ths so the fixed point is
//   exact), with an offset of one half to round the 64ths.
// - Large colour table ("corvA3p.tab"): identity input curves and a lattice of the same
//   matrix applied at each lattice point, rounded and clamped.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

std::vector<uint8_t> CmykLattice(int greyReplacementPercent);
std::vector<uint8_t> SmallColorTable();
std::vector<uint8_t> LargeColorTable();

struct TableFile {
    std::string folder;  // under <Windows directory>\TWAIN_32
    std::string name;
    std::vector<uint8_t> bytes;
};
// Every table file the source looks for, with where it looks.
std::vector<TableFile> AllTableFiles();
