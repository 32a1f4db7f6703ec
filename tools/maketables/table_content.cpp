#include "tools/maketables/table_content.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kSide = 17;

int LatticeLevel(int i) { return std::min(255, 16 * i); }

// The colour correction in 64ths: each row adds up to 64, so greys stay grey.
constexpr int kMatrix[3][3] = {{70, -4, -2}, {-3, 69, -2}, {-2, -4, 70}};

int Corrected(int k, const int* in) {
    int sum = 32;  // one half, in 64ths
    for (int j = 0; j < 3; ++j) sum += kMatrix[k][j] * in[j];
    return std::clamp(sum < 0 ? 0 : sum >> 6, 0, 255);
}

void PutFloat(std::vector<uint8_t>& out, float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (int b = 0; b < 4; ++b) out.push_back(uint8_t(bits >> (8 * b)));
}

}  // namespace

std::vector<uint8_t> CmykLattice(int greyReplacementPercent) {
    std::vector<uint8_t> out;
    out.reserve(kSide * kSide * kSide * 4);
    for (int r = 0; r < kSide; ++r)
        for (int g = 0; g < kSide; ++g)
            for (int b = 0; b < kSide; ++b) {
                const int c = 255 - LatticeLevel(r), m = 255 - LatticeLevel(g), y = 255 - LatticeLevel(b);
                const int grey = std::min({c, m, y});
                const int k = grey * grey * greyReplacementPercent / (255 * 100);
                for (int ink : {c - k, m - k, y - k, k}) out.push_back(uint8_t(ink));
            }
    return out;
}

std::vector<uint8_t> SmallColorTable() {
    std::vector<uint8_t> out;
    for (int k = 0; k < 3; ++k)
        for (int v = 0; v < 256; ++v) out.push_back(uint8_t(v + v * (255 - v) / (4 * 255)));
    for (int k = 0; k < 3; ++k) {
        PutFloat(out, 0.5f);
        for (int j = 0; j < 3; ++j) PutFloat(out, float(kMatrix[k][j]) / 64.0f);
    }
    return out;
}

std::vector<uint8_t> LargeColorTable() {
    std::vector<uint8_t> out;
    for (int k = 0; k < 3; ++k)
        for (int v = 0; v < 256; ++v) out.push_back(uint8_t(v));
    for (int i = 0; i < kSide; ++i)
        for (int j = 0; j < kSide; ++j)
            for (int l = 0; l < kSide; ++l) {
                const int in[3] = {LatticeLevel(i), LatticeLevel(j), LatticeLevel(l)};
                for (int k = 0; k < 3; ++k) out.push_back(uint8_t(Corrected(k, in)));
            }
    return out;
}

std::vector<TableFile> AllTableFiles() {
    return {{"KVTC_A3", "cmyk.tab", CmykLattice(100)},
            {"KVTC_A3", "cmykpp60.tab", CmykLattice(60)},
            {"COLOR", "corvA3.tab", SmallColorTable()},
            {"COLOR", "corvA3p.tab", LargeColorTable()}};
}
