#include "tests/unit/processing/processing_oracle.h"

#include <algorithm>

#include "tests/unit/color_tables/table_oracle.h"
#include "tests/unit/filters/filter_oracle.h"
#include "tests/unit/filters/test_images.h"
#include "tests/unit/scaling/scaling_oracle.h"

namespace {

struct Image {
    Bytes data;
    uint32_t lineBytes = 0;
    uint32_t lines = 0;
};

uint32_t SampleBytes(int kind) { return kind == 2 ? 3 : 1; }

Image Convolve(const Image& in, int kind, int corner, int edge, int centre) {
    const int s = int(SampleBytes(kind));
    const Grid g = BytesGrid(in.data, int(in.lineBytes) / s, int(in.lines), s);
    return Image{GridBytes(OracleConvolve(g, corner, edge, centre)), in.lineBytes, in.lines};
}

Image Reduce(const Image& in, int kind, uint32_t effective) {
    const uint32_t s = SampleBytes(kind);
    const auto columns = OracleKeepMap(in.lineBytes / s, effective);
    const auto rows = OracleKeepMap(in.lines, effective);
    Image out;
    out.data = OracleReduce(in.data, in.lineBytes, in.lines, s, effective);
    out.lineBytes = uint32_t(std::count(columns.begin(), columns.end(), true)) * s;
    out.lines = uint32_t(std::count(rows.begin(), rows.end(), true));
    return out;
}

// A line longer or shorter than the delivered one: cut, or padded with zeros.
Image Fit(const Image& in, uint32_t lineBytes) {
    if (in.lineBytes == lineBytes) return in;
    Image out{Bytes(size_t(lineBytes) * in.lines, 0), lineBytes, in.lines};
    for (uint32_t r = 0; r < in.lines; ++r)
        std::copy_n(in.data.begin() + size_t(r) * in.lineBytes, std::min(in.lineBytes, lineBytes),
                    out.data.begin() + size_t(r) * lineBytes);
    return out;
}

void MatchColours(Image& img, const Bytes& table) {
    for (size_t i = 0; i + 2 < img.data.size(); i += 3) {
        const auto o = OracleColorTable(table, img.data[i], img.data[i + 1], img.data[i + 2]);
        std::copy(o.begin(), o.end(), img.data.begin() + i);
    }
}

Grid FilterGrid(const Grid& g, uint16_t mode) {
    switch (mode) {
        case 3: return OracleRowBlur(g, 1);
        case 4: return OracleRowBlur(g, 5);
        case 5: return OracleRowSharpen(g, 1);
        case 6: return OracleRowSharpen(g, 2);
        case 7: return OracleRowEmboss(g);
        default: return g;
    }
}

// Invert and flip work on whole bytes or pixels of every row; the others on the gray or
// colour rows of one block at a time.
void FilterBlock(uint8_t* rows, uint32_t count, uint32_t lineBytes, int kind, uint16_t mode) {
    if (mode == 1) {
        for (size_t i = 0; i < size_t(count) * lineBytes; ++i) rows[i] = uint8_t(~rows[i]);
        return;
    }
    if (kind == 0) {
        if (mode != 2) return;
        for (uint32_t r = 0; r < count; ++r) {
            uint8_t* row = rows + size_t(r) * lineBytes;
            Bytes bits(lineBytes, 0);
            for (uint32_t x = 0; x < lineBytes * 8; ++x) {
                const uint32_t from = lineBytes * 8 - 1 - x;
                if ((row[from / 8] >> (7 - from % 8)) & 1) bits[x / 8] |= uint8_t(0x80 >> (x % 8));
            }
            std::copy(bits.begin(), bits.end(), row);
        }
        return;
    }
    const int s = int(SampleBytes(kind));
    const Bytes block(rows, rows + size_t(count) * lineBytes);
    const Grid g = BytesGrid(block, int(lineBytes) / s, int(count), s);
    const Bytes out = GridBytes(mode == 2 ? OracleFlip(g) : FilterGrid(g, mode));
    std::copy(out.begin(), out.end(), rows);
}

// Every filter works within rows or, for emboss, on each row and the row after it over the
// whole image: how the transfer cuts the image into blocks changes nothing.
void Filter(Image& img, const OracleScan& scan) {
    if (scan.filterMode == 0 || scan.filterMode == 8) return;
    FilterBlock(img.data.data(), img.lines, img.lineBytes, scan.kind, scan.filterMode);
}

Bytes ToCmyk(const Bytes& rgb, const Bytes& table) {
    Bytes out;
    out.reserve(rgb.size() / 3 * 4);
    for (size_t i = 0; i + 2 < rgb.size(); i += 3) {
        const auto c = OracleCmyk(table, rgb[i], rgb[i + 1], rgb[i + 2], true);
        out.insert(out.end(), c.begin(), c.end());
    }
    return out;
}

}  // namespace

OracleImage OraclePipeline(const OracleScan& scan, const Bytes& scanned, uint32_t scanBytes,
                           uint32_t lines) {
    Image img{scanned, scanBytes, lines};
    const bool descreen = scan.deScreen >= 1018 && scan.deScreen <= 1020 && scan.kind != 0;
    if (scan.filterMode == 8 && scan.kind != 0) img = Convolve(img, scan.kind, -5, -1, 29);
    if (descreen) {
        static const int weights[3][3] = {{0, 1, 3}, {1, 3, 5}, {3, 5, 7}};
        const int* w = weights[scan.deScreen - 1018];
        img = Convolve(img, scan.kind, w[0], w[1], w[2]);
        if (scan.effective < 300) img = Reduce(img, scan.kind, scan.effective);
    }
    if (scan.colorTable && scan.kind == 2) MatchColours(img, *scan.colorTable);
    Filter(img, scan);
    if (scan.factor > 1) {
        const Bytes rows = OracleInterpolate(scan.kind, img.data, img.lineBytes, img.lines, scan.factor);
        Image enlarged;
        enlarged.data = OracleThin(scan.kind, rows, img.lineBytes * scan.factor,
                                   img.lines * scan.factor, scan.factor * scan.asked,
                                   scan.effective, &enlarged.lineBytes, &enlarged.lines);
        img = Fit(enlarged, scan.rowBytes);
    } else {
        img = Fit(img, scan.rowBytes);
    }
    OracleImage out{img.data, img.lineBytes, img.lines};
    if (scan.cmykTable) {
        out.data = ToCmyk(img.data, *scan.cmykTable);
        out.rowBytes = img.lineBytes / 3 * 4;
    }
    return out;
}
