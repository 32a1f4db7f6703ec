#include "window/preview_dither.h"

#include "engine/byte_table_wide.h"
#include "window/preview_index_wide.h"

const uint8_t kBayer8[8][8] = {
    {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
    {12, 44, 4, 36, 14, 46, 6, 38}, {60, 28, 52, 20, 62, 30, 54, 22},
    {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21},
};

namespace {

// Every pixel is three lookups and two ORs: for each row of the matrix, each of its eight
// columns has the index bits every level of each component gives (red, green, blue), one
// row's 6 KiB next to each other. Beside them the third of every sum of three bytes.
struct IndexTables {
    uint8_t bits[8][8][3][256];  // [y mod 8][x mod 8][component][level]
    uint8_t third[766];
};

int Rounded(int v, int d, int lowBits) {
    const int half = 1 << (lowBits - 1);
    const int r = ((v + d) & ~((1 << lowBits) - 1)) + half - d;
    return r < 0 ? 0 : (r > 255 ? 255 : r);
}

IndexTables MakeTables() {
    IndexTables t{};
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            for (int v = 0; v < 256; ++v) {
                const int d = kBayer8[y][x];
                t.bits[y][x][0][v] = uint8_t(Rounded(v, d, 5) & 0xE0);
                t.bits[y][x][1][v] = uint8_t((Rounded(v, d, 5) & 0xE0) >> 3);
                t.bits[y][x][2][v] = uint8_t((Rounded(v, d, 6) & 0xC0) >> 6);
            }
    for (int s = 0; s < 766; ++s) t.third[s] = uint8_t(s / 3);
    return t;
}

const IndexTables& Tables() {
    static const IndexTables tables = MakeTables();
    return tables;
}

using ColumnBits = uint8_t[3][256];

inline uint8_t Index(const ColumnBits& bits, const uint8_t* bgr) {
    return uint8_t(bits[0][bgr[2]] | bits[1][bgr[1]] | bits[2][bgr[0]]);
}

}  // namespace

void GrayRowToIndexes(const uint8_t* bgr, uint32_t pixels, uint8_t* out) {
    const uint8_t* third = Tables().third;
    uint32_t x = 0;
    if (HasWideByteTables()) {
        x = uint32_t(GrayPixelsWide(bgr, pixels, out));
        bgr += size_t(x) * 3;
    }
    for (; x < pixels; ++x, bgr += 3) out[x] = third[bgr[0] + bgr[1] + bgr[2]];
}

void DitherRowToIndexes(const uint8_t* bgr, uint32_t pixels, uint32_t x0, uint32_t y,
                        uint8_t* out) {
    const ColumnBits* columns = Tables().bits[y & 7];
    // Single pixels up to a column where the matrix row starts again, then eight at a time
    // with every table at a fixed place, then the rest.
    uint32_t x = 0;
    for (; x < pixels && ((x0 + x) & 7) != 0; ++x)
        out[x] = Index(columns[(x0 + x) & 7], bgr + 3 * x);
    if (HasWideByteTables()) x += uint32_t(DitherPixelsWide(bgr + 3 * x, pixels - x, y, out + x));
    for (; x + 8 <= pixels; x += 8) {
        const uint8_t* p = bgr + 3 * x;
        for (int k = 0; k < 8; ++k) out[x + k] = Index(columns[k], p + 3 * k);
    }
    for (; x < pixels; ++x) out[x] = Index(columns[(x0 + x) & 7], bgr + 3 * x);
}
