// Appending the pixel data of a TIFF (output or spool file) band by band, each band with one
// write, never past the strip that the header states.
#pragma once

#include <cstddef>
#include <cstdint>

#include "imagefile/tiff_layout.h"
#include "platform/platform.h"

struct TiffStrip {
    plat::FileHandle file = plat::kNoFile;
    uint64_t bytesLeft = 0;
};

// The strip of g in a file positioned at its pixel data (as WriteTiffHeader leaves it).
TiffStrip BeginTiffStrip(plat::FileHandle file, const TiffGeometry& g);

// Appends size bytes of whole rows with one write. False, with nothing written, when the
// band would run past the strip; false when the write falls short.
bool AppendTiffBand(TiffStrip* strip, const uint8_t* rows, size_t size);

// Every byte the header promises has been written.
bool TiffStripComplete(const TiffStrip& strip);
