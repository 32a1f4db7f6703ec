// The output file of a file transfer: created in the negotiated format with its complete
// header, left open at the place the pixel data goes.
#pragma once

#include <cstdint>

#include "imagefile/bmp_layout.h"
#include "imagefile/tiff_layout.h"
#include "platform/platform.h"

struct OutputFileRequest {
    const char* path = nullptr;
    uint16_t fileFormat = 0;  // TWFF_TIFF or TWFF_BMP
    PixelLayout layout = PixelLayout::Gray;
    uint32_t pixelWidth = 0;
    uint32_t lines = 0;         // rows of the file
    uint32_t bytesPerLine = 0;  // one delivered row
    uint32_t alignedLineLength = 0;
    uint32_t resolution = 0;  // "ScanRes"
    ColourOrder colourOrder = ColourOrder::Scanned;  // of 24-bit colour lines (BMP files)
};

// The geometry each header states for the request.
bool OutputTiffGeometry(const OutputFileRequest& r, TiffGeometry* g);
BmpGeometry OutputBmpGeometry(const OutputFileRequest& r);

// Creates the file and writes the header for r.fileFormat. Returns the open file, or
// plat::kNoFile after setting TWCC_OPERATIONERROR and showing message 619 "Write disk file
// error." (owned by owner); no file is left behind then. A format other than TIFF or BMP, or
// a geometry the header cannot state, fails the same way before anything is created. The
// caller has nothing more to show.
plat::FileHandle OpenOutputFile(plat::WindowHandle owner, const OutputFileRequest& r);
