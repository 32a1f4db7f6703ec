#include "imagefile/tiff_strip.h"

TiffStrip BeginTiffStrip(plat::FileHandle file, const TiffGeometry& g) {
    // A strip the header could not state is never complete.
    return TiffGeometryFits(g) ? TiffStrip{file, TiffStripBytes(g)} : TiffStrip{};
}

bool AppendTiffBand(TiffStrip* strip, const uint8_t* rows, size_t size) {
    if (strip->file == plat::kNoFile || size > strip->bytesLeft) return false;
    if (plat::FileWrite(strip->file, rows, size) != int64_t(size)) return false;
    strip->bytesLeft -= size;
    return true;
}

bool TiffStripComplete(const TiffStrip& strip) {
    return strip.file != plat::kNoFile && strip.bytesLeft == 0;
}
