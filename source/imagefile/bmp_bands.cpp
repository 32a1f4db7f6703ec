#include "imagefile/bmp_bands.h"

#include <algorithm>
#include <cstring>

#include "imagefile/bmp_rows.h"

namespace {

// Below this, gathering costs more per byte than copying the rows into the staging block.
constexpr uint64_t kGatherMinRowBytes = 512;

const uint8_t kPadding[4] = {0, 0, 0, 0};

bool LinesAreStored(PixelLayout layout, ColourOrder order) {
    return layout == PixelLayout::Gray || layout == PixelLayout::LineArt ||
           (layout == PixelLayout::Rgb24 && order == ColourOrder::Stored);
}

// The chunk's rows written as they are: the last delivered row first, each followed by
// its padding. The staging block is the scratch of systems that cannot gather by themselves.
bool GatherChunk(BmpBands* b, const uint8_t* lines, uint32_t rows, uint64_t start) {
    const BmpGeometry& g = b->geometry;
    const size_t stored = size_t(LineBytesForPixels(g.layout, g.pixelWidth));
    const size_t pad = g.alignedLineLength - stored;
    size_t n = 0;
    for (uint32_t i = rows; i-- > 0;) {
        b->segments[n++] = {lines + uint64_t(i) * b->lineBytes, stored};
        if (pad) b->segments[n++] = {kPadding, pad};
    }
    const int64_t bytes = int64_t(uint64_t(rows) * g.alignedLineLength);
    return plat::FileWriteGather(b->file, int64_t(start), b->segments, n, b->stagingRows,
                                 size_t(b->stagingCapacity) * g.alignedLineLength) == bytes;
}

// The chunk's rows converted (or, when they are stored as they are, copied) into the staging
// block, last row first, and written with one write.
bool StageChunk(BmpBands* b, const uint8_t* lines, uint32_t rows, int64_t start) {
    const BmpGeometry& g = b->geometry;
    const uint32_t aligned = g.alignedLineLength;
    const uint32_t stored = uint32_t(LineBytesForPixels(g.layout, g.pixelWidth));
    for (uint32_t i = 0; i < rows; ++i) {
        const uint8_t* line = lines + uint64_t(i) * b->lineBytes;
        uint8_t* row = b->stagingRows + uint64_t(rows - 1 - i) * aligned;
        if (b->linesStored) {
            std::memcpy(row, line, stored);
            std::memset(row + stored, 0, aligned - stored);
        } else {
            ConvertLineToBmpRow(g.layout, g.pixelWidth, line, row, aligned);
        }
    }
    const int64_t bytes = int64_t(uint64_t(rows) * aligned);
    return plat::FileSeek(b->file, start, plat::SeekFrom::Begin) == start &&
           plat::FileWrite(b->file, b->stagingRows, size_t(bytes)) == bytes;
}

// Rows r0..r(n-1) of a chunk end at `end`: r0 is stored last in the file, nearest to `end`.
bool PlaceChunk(BmpBands* b, const uint8_t* lines, uint32_t rows) {
    const uint64_t bytes = uint64_t(rows) * b->geometry.alignedLineLength;
    const int64_t start = int64_t(b->nextEnd - bytes);
    if (!(b->gather ? GatherChunk(b, lines, rows, uint64_t(start))
                    : StageChunk(b, lines, rows, start)))
        return false;
    b->nextEnd -= bytes;
    b->rowsLeft -= rows;
    return true;
}

}  // namespace

bool BeginBmpBands(BmpBands* bands, plat::FileHandle file, const BmpGeometry& g,
                   uint32_t lineBytes, ColourOrder order, uint32_t stagingBytes) {
    *bands = BmpBands{};
    if (!BmpGeometryFits(g) || lineBytes < LineBytesForPixels(g.layout, g.pixelWidth))
        return false;
    const uint32_t capacity = std::clamp(stagingBytes / g.alignedLineLength, 1u, g.lines);
    const plat::MemHandle staging = plat::MemAlloc(size_t(capacity) * g.alignedLineLength);
    uint8_t* rows = staging ? static_cast<uint8_t*>(plat::MemLock(staging)) : nullptr;
    if (!rows) {
        if (staging) plat::MemFree(staging);
        return false;
    }
    bands->file = file;
    bands->geometry = g;
    bands->lineBytes = lineBytes;
    bands->nextEnd = BmpFileSize(g);
    bands->rowsLeft = g.lines;
    bands->staging = staging;
    bands->stagingRows = rows;
    bands->stagingCapacity = capacity;
    bands->linesStored = LinesAreStored(g.layout, order);
    bands->gather = bands->linesStored &&
                    LineBytesForPixels(g.layout, g.pixelWidth) >= kGatherMinRowBytes;
    return true;
}

bool WriteBmpBand(BmpBands* bands, const uint8_t* lines, uint32_t rowCount) {
    if (!bands->stagingRows || rowCount > bands->rowsLeft) return false;
    const uint32_t chunk = bands->gather ? kBmpGatherRows : bands->stagingCapacity;
    while (rowCount > 0) {
        const uint32_t rows = std::min(rowCount, chunk);
        if (!PlaceChunk(bands, lines, rows)) return false;
        lines += uint64_t(rows) * bands->lineBytes;
        rowCount -= rows;
    }
    return true;
}

bool EndBmpBands(BmpBands* bands) {
    const bool complete = bands->stagingRows && bands->rowsLeft == 0;
    if (bands->staging) {
        plat::MemUnlock(bands->staging);
        plat::MemFree(bands->staging);
    }
    bands->staging = nullptr;
    bands->stagingRows = nullptr;
    return complete;
}
