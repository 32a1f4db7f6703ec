#include "bmp_bands.h"

#include <algorithm>
#include <new>

#include "bmp_rows.h"

namespace {

// Rows r0..r(n-1) of a chunk end at `end`: r0 is stored last in the file, nearest to `end`.
bool PlaceChunk(BmpBands* b, const uint8_t* lines, uint32_t rows) {
    const uint32_t aligned = b->geometry.alignedLineLength;
    uint8_t* half = b->stagingRows + uint64_t(b->nextHalf) * b->stagingCapacity * aligned;
    for (uint32_t i = 0; i < rows; ++i)
        ConvertLineToBmpRow(b->geometry.layout, b->geometry.pixelWidth,
                            lines + uint64_t(i) * b->lineBytes,
                            half + uint64_t(rows - 1 - i) * aligned, aligned);
    const uint64_t bytes = uint64_t(rows) * aligned;
    const int64_t start = int64_t(b->nextEnd - bytes);
    if (!b->writer->Submit(half, bytes, start)) return false;
    b->nextHalf ^= 1;
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
    std::unique_ptr<WriteBehind> writer(new (std::nothrow) WriteBehind);
    const plat::MemHandle staging =
        writer ? plat::MemAlloc(size_t(capacity) * g.alignedLineLength * 2) : nullptr;
    uint8_t* rows = staging ? static_cast<uint8_t*>(plat::MemLock(staging)) : nullptr;
    if (!rows) {
        if (staging) plat::MemFree(staging);
        return false;
    }
    writer->Start(file);
    *bands = BmpBands{file, g, lineBytes, BmpFileSize(g), g.lines, staging, rows, capacity, 0,
                      std::move(writer)};
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
    const bool written = bands->writer && bands->writer->Finish();
    const bool complete = written && bands->stagingRows && bands->rowsLeft == 0;
    if (bands->staging) {
        plat::MemUnlock(bands->staging);
        plat::MemFree(bands->staging);
    }
    bands->staging = nullptr;
    bands->stagingRows = nullptr;
    bands->writer.reset();
    return complete;
}
