#include "simulator/device/chart.h"

#include <cmath>

namespace {

// Band identifiers; a row's key is (band << 40) | variant.
enum Band : uint64_t {
    kTopMargin = 1, kPaperRow, kBottomMargin, kGrayRamp, kRedRamp, kGreenRamp, kBlueRamp,
    kPatchesA, kPatchesB, kGraySteps, kVerticalLines, kHorizontalLines, kEdges, kHueRamp,
    kBlocks, kChecker,
};

struct RowBand {
    Band band;
    uint32_t variant;
};

constexpr int32_t kLeft = 300, kRight = 8200;  // main content columns
constexpr int32_t kBarsLeft = 8600, kBarsRight = 11400, kBarsTop = 300, kBarsBottom = 16700;

const uint8_t kPatchColours[16][3] = {
    {115, 82, 68},  {194, 150, 130}, {98, 122, 157}, {87, 108, 67},
    {133, 128, 177}, {103, 189, 170}, {214, 126, 44}, {80, 91, 166},
    {193, 90, 99},  {94, 60, 108},   {157, 188, 64}, {224, 163, 46},
    {56, 61, 150},  {70, 148, 73},   {175, 54, 60},  {231, 199, 31},
};

constexpr Rgb12 Gray(uint32_t v) { return {uint16_t(v), uint16_t(v), uint16_t(v)}; }
constexpr Rgb12 kPaper = Gray(kPaperWhite);
constexpr Rgb12 kBlack = Gray(0);

Rgb12 FromBytes(const uint8_t (&c)[3]) {
    return {uint16_t(c[0] * 16 + 8), uint16_t(c[1] * 16 + 8), uint16_t(c[2] * 16 + 8)};
}

// The edge band's geometry for one row. The wedge's remainder uses a multiply by the
// reciprocal (exact for these small offsets) because this band has a new row at every line.
struct EdgeRow {
    int32_t edge;    // slanted edge, about 5 degrees
    uint32_t pitch;  // converging wedge: 190 mils narrowing to 10
    uint64_t reciprocal;
};

EdgeRow EdgesAt(int32_t y) {
    const int32_t dy = y - 7300;
    const uint32_t pitch = uint32_t(190 - dy * 180 / 2000);
    return {2700 + dy * 175 / 2000, pitch, ((1ull << 32) + pitch - 1) / pitch};
}

RowBand BandOf(int32_t y) {
    if (y < 300) return {kTopMargin, 0};
    if (y < 1100) return {kGrayRamp, 0};
    if (y < 1500) return {kRedRamp, 0};
    if (y < 1900) return {kGreenRamp, 0};
    if (y < 2300) return {kBlueRamp, 0};
    if (y >= 2500 && y < 3200) return {kPatchesA, 0};
    if (y >= 3300 && y < 4000) return {kPatchesB, 0};
    if (y >= 4300 && y < 4900) return {kGraySteps, 0};
    if (y >= 5100 && y < 6300) return {kVerticalLines, 0};
    if (y >= 6300 && y < 7100) {
        // Four sub-bands of horizontal lines, pitch 50, 25, 12 and 6 mils.
        static const int32_t pitch[4] = {50, 25, 12, 6};
        const int32_t sub = (y - 6300) / 200, p = pitch[sub];
        const bool line = ((y - 6300 - sub * 200) % p) < p / 2;
        return {kHorizontalLines, uint32_t(sub * 2 + (line ? 1 : 0))};
    }
    if (y >= 7300 && y < 9300) {  // rows differ only where the edge or the pitch moves
        const EdgeRow row = EdgesAt(y);
        return {kEdges, (uint32_t(row.edge) << 16) | row.pitch};
    }
    if (y >= 9500 && y < 11200) {
        const int32_t sub = (y - 9500) / 575;
        return {kHueRamp, uint32_t(sub)};
    }
    if (y >= 11500 && y < 14000) return {kBlocks, 0};
    if (y >= 14300 && y < 16500) return {kChecker, uint32_t((y - 14300) / 500)};
    if (y >= kBarsBottom) return {kBottomMargin, 0};
    return {kPaperRow, 0};
}

Rgb12 Ramp(int32_t x, int channel) {
    if (x < kLeft || x >= kRight) return kPaper;
    const uint16_t v = uint16_t(int64_t(x - kLeft) * 4095 / (kRight - kLeft - 1));
    if (channel < 0) return Gray(v);
    Rgb12 c = kBlack;
    (channel == 0 ? c.r : channel == 1 ? c.g : c.b) = v;
    return c;
}

Rgb12 Patch(int32_t x, int row) {
    if (x < kLeft || x >= kLeft + 8 * 1000) return kPaper;
    const int32_t k = (x - kLeft) / 1000;
    if ((x - kLeft) % 1000 >= 900) return kPaper;
    return FromBytes(kPatchColours[row * 8 + k]);
}

Rgb12 Step(int32_t x) {
    if (x < kLeft || x >= kLeft + 16 * 494) return kPaper;
    return Gray(uint32_t((x - kLeft) / 494) * 4095 / 15);
}

Rgb12 VerticalLines(int32_t x) {
    static const int32_t pitch[8] = {200, 100, 50, 25, 16, 12, 8, 6};
    if (x < kLeft || x >= kLeft + 8 * 1000) return kPaper;
    const int32_t k = (x - kLeft) / 1000, within = (x - kLeft) % 1000;
    if (within >= 900) return kPaper;
    return (within % pitch[k]) < pitch[k] / 2 ? kBlack : kPaper;
}

Rgb12 Edges(int32_t x, const EdgeRow& row) {
    if (x >= kLeft && x < 2300) return kBlack;  // square: straight edges
    if (x >= 2600 && x < 4800) return x < row.edge ? kBlack : kPaper;
    if (x >= 5000 && x < kRight) {
        const uint32_t offset = uint32_t(x - 5000);
        if (offset >= 16 * row.pitch) return kPaper;
        const uint32_t line = uint32_t((offset * row.reciprocal) >> 32);
        return (offset - line * row.pitch) < row.pitch / 2 ? kBlack : kPaper;
    }
    return kPaper;
}

Rgb12 Hue(int32_t x, uint32_t sub) {
    if (x < kLeft || x >= kRight) return kPaper;
    const double h = double(x - kLeft) / (kRight - kLeft) * 6.0;
    const double s = 1.0 - sub / 3.0, v = 3900.0;
    const int sector = int(h);
    const double f = h - sector;
    const double p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
    double r, g, b;
    switch (sector % 6) {
        case 0: r = v, g = t, b = p; break;
        case 1: r = q, g = v, b = p; break;
        case 2: r = p, g = v, b = t; break;
        case 3: r = p, g = q, b = v; break;
        case 4: r = t, g = p, b = v; break;
        default: r = v, g = p, b = q; break;
    }
    return {uint16_t(r), uint16_t(g), uint16_t(b)};
}

Rgb12 Blocks(int32_t x) {
    if (x >= kLeft && x < 4000) return Gray(2048);
    if (x >= 4300 && x < kRight) return FromBytes({224, 172, 140});
    return kPaper;
}

Rgb12 Checker(int32_t x, uint32_t row) {
    if (x < kLeft || x >= kRight) return kPaper;
    return (((x - kLeft) / 500 + row) & 1) ? kBlack : kPaper;
}

Rgb12 ColourBar(int32_t x) {
    static const uint8_t bars[7][3] = {{1, 1, 1}, {1, 1, 0}, {0, 1, 1}, {0, 1, 0},
                                       {1, 0, 1}, {1, 0, 0}, {0, 0, 1}};
    const int32_t k = (x - kBarsLeft) / 400;
    const uint16_t on = k == 0 ? 4095 : 3071;
    return {uint16_t(bars[k][0] * on), uint16_t(bars[k][1] * on), uint16_t(bars[k][2] * on)};
}

// Fills a row with f(x), the colour bars on the right overriding it; the band is chosen once
// per row so the loop itself has no switch.
template <typename F>
void Fill(int32_t y, const int32_t* x, uint32_t n, Rgb12* out, F f) {
    const bool bars = y >= kBarsTop && y < kBarsBottom;
    for (uint32_t i = 0; i < n; ++i)
        out[i] = (bars && x[i] >= kBarsLeft && x[i] < kBarsRight) ? ColourBar(x[i]) : f(x[i]);
}

void FillBand(const RowBand& band, int32_t y, const int32_t* x, uint32_t n, Rgb12* out) {
    const uint32_t v = band.variant;
    switch (band.band) {
        case kGrayRamp: return Fill(y, x, n, out, [](int32_t xm) { return Ramp(xm, -1); });
        case kRedRamp: return Fill(y, x, n, out, [](int32_t xm) { return Ramp(xm, 0); });
        case kGreenRamp: return Fill(y, x, n, out, [](int32_t xm) { return Ramp(xm, 1); });
        case kBlueRamp: return Fill(y, x, n, out, [](int32_t xm) { return Ramp(xm, 2); });
        case kPatchesA: return Fill(y, x, n, out, [](int32_t xm) { return Patch(xm, 0); });
        case kPatchesB: return Fill(y, x, n, out, [](int32_t xm) { return Patch(xm, 1); });
        case kGraySteps: return Fill(y, x, n, out, Step);
        case kVerticalLines: return Fill(y, x, n, out, VerticalLines);
        case kHorizontalLines:
            return Fill(y, x, n, out, [v](int32_t xm) {
                return (v & 1) && xm >= kLeft && xm < kRight ? kBlack : kPaper;
            });
        case kEdges: {
            const EdgeRow row = EdgesAt(y);
            return Fill(y, x, n, out, [&row](int32_t xm) { return Edges(xm, row); });
        }
        case kHueRamp: return Fill(y, x, n, out, [v](int32_t xm) { return Hue(xm, v); });
        case kBlocks: return Fill(y, x, n, out, Blocks);
        case kChecker: return Fill(y, x, n, out, [v](int32_t xm) { return Checker(xm, v); });
        default: return Fill(y, x, n, out, [](int32_t) { return kPaper; });
    }
}

}  // namespace

uint64_t ChartRowKey(int32_t yMil) {
    const RowBand band = BandOf(yMil);
    return (uint64_t(band.band) << 40) | band.variant;
}

void ChartRow(int32_t yMil, const int32_t* xMil, uint32_t count, Rgb12* out) {
    FillBand(BandOf(yMil), yMil, xMil, count, out);
}
