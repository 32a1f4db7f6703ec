#include "bmp_bands.h"

#include <algorithm>

#include "bmp_rows.h"

namespace {

// Rows r0..r(n-1) of a chunk end at `end`: r0 is stored last in the file, nearest to `end`.
bool PlaceChunk(BmpBands* b, const uint8_t* lines, uint32_t rows) {
    const uint32_t aligned = b->geometry.alignedLineLength;
    for (uint32_t i = 0; i < rows; ++i)
        ConvertLineToBmpRow(b->geometry.layout, b->geometry.pixelWidth,
                            lines + uint64_t(i) * b->lineBytes,
                            b->stagingRows + uint64_t(rows - 1 - i) * aligned, aligned);
    const uint64_t bytes = uint64_t(rows) * aligned;
    const int64_t start = int64_t(b->nextEnd - bytes);
    if (plat::FileSeek(b->file, start, plat::SeekFrom::Begin) != start) return false;
    if (plat::FileWrite(b->file, b->stagingRows, bytes) != int64_t(bytes)) return false;
    b->nextEnd -= bytes;
    b->rowsLeft -= rows;
    return true;
}

}  // namespace

bool BeginBmpBands(BmpBands* bands, plat::FileHandle file, const BmpGeometry& g,
                   uint32_t lineBytes, uint32_t stagingBytes) {
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
    *bands = BmpBands{file, g, lineBytes, BmpFileSize(g), g.lines, staging, rows, capacity};
    return true;
}

bool WriteBmpBand(BmpBands* bands, const uint8_t* lines, uint32_t rowCount) {
    if (!bands->stagingRows || rowCount > bands->rowsLeft) return false;
    while (rowCount > 0) {
        const uint32_t rows = std::min(rowCount, bands->stagingCapacity);
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
