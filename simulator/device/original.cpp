#include "simulator/device/original.h"

namespace {

constexpr FilmFrame kFrame;
constexpr uint64_t kOutsideImage = 1ull << 62;
constexpr uint64_t kHolderRow = 1ull << 61;

bool IsFilm(uint8_t source) { return source == 1 || source == 2; }

// The film holds the print reduced: film position -> print position, factor 9/5.
int32_t FilmToPrint(int32_t v, int32_t origin) { return 300 + (v - origin) * 9 / 5; }

int64_t ImageIndex(const Original& o, int32_t mil) {
    return mil < 0 ? -1 : int64_t(mil) * o.imageDpi / 1000;
}

uint64_t PrintRowKey(const Original& o, int32_t yMil) {
    if (!o.isImage) return ChartRowKey(yMil);
    const int64_t row = ImageIndex(o, yMil);
    return (row < 0 || row >= o.image.height) ? kOutsideImage : uint64_t(row);
}

void PrintRow(const Original& o, int32_t yMil, const int32_t* x, uint32_t n, Rgb12* out) {
    if (!o.isImage) return ChartRow(yMil, x, n, out);
    const int64_t row = ImageIndex(o, yMil);
    for (uint32_t i = 0; i < n; ++i) {
        const int64_t col = ImageIndex(o, x[i]);
        const bool inside = row >= 0 && row < o.image.height && col >= 0 && col < o.image.width;
        out[i] = inside ? PnmPixel(o.image, uint32_t(col), uint32_t(row))
                        : Rgb12{kPaperWhite, kPaperWhite, kPaperWhite};
    }
}

// Transmission of the film for a print value: a positive keeps the print under a little base
// fog; a negative inverts it behind the orange mask.
Rgb12 Film(const Rgb12& print, bool negative) {
    if (!negative)
        return {uint16_t(print.r * 7 / 8 + 64), uint16_t(print.g * 7 / 8 + 64),
                uint16_t(print.b * 7 / 8 + 64)};
    return {uint16_t((4095 - print.r) * 3600 / 4096 + 300),
            uint16_t((4095 - print.g) * 2500 / 4096 + 180),
            uint16_t((4095 - print.b) * 1500 / 4096 + 90)};
}

}  // namespace

bool LoadOriginal(const std::string& path, uint32_t dpi, Original& original, std::string& error) {
    original = Original{};
    if (path.empty()) return true;
    original.isImage = true;
    original.imageDpi = dpi;
    return LoadPnm(path, original.image, error);
}

void PrepareView(OriginalView& view, const Original& original, uint8_t source,
                 std::vector<int32_t> columnMils) {
    view.original = &original;
    view.source = source;
    view.xMil = std::move(columnMils);
    view.printX = view.xMil;
    if (IsFilm(source))
        for (int32_t& x : view.printX) x = FilmToPrint(x, kFrame.left);
}

uint64_t ViewRowKey(const OriginalView& view, int32_t yMil) {
    if (!IsFilm(view.source)) return PrintRowKey(*view.original, yMil);
    if (yMil < kFrame.top || yMil >= kFrame.bottom) return kHolderRow;
    return PrintRowKey(*view.original, FilmToPrint(yMil, kFrame.top));
}

void ViewRow(const OriginalView& view, int32_t yMil, Rgb12* out) {
    const uint32_t n = uint32_t(view.xMil.size());
    if (!IsFilm(view.source)) return PrintRow(*view.original, yMil, view.xMil.data(), n, out);
    const bool rowInFrame = yMil >= kFrame.top && yMil < kFrame.bottom;
    if (rowInFrame) PrintRow(*view.original, FilmToPrint(yMil, kFrame.top), view.printX.data(), n, out);
    for (uint32_t i = 0; i < n; ++i) {
        const bool inFrame = rowInFrame && view.xMil[i] >= kFrame.left && view.xMil[i] < kFrame.right;
        out[i] = inFrame ? Film(out[i], view.source == 2) : Rgb12{0, 0, 0};
    }
}
