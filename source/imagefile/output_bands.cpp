#include "imagefile/output_bands.h"

#include <cstddef>

#include "common/twain.h"

bool BeginOutputBands(OutputBands* bands, plat::FileHandle file, const OutputFileRequest& r) {
    *bands = OutputBands{};
    const uint32_t lineBytes = r.bytesPerLine;
    if (r.fileFormat == TWFF_TIFF) {
        TiffGeometry g;
        if (!OutputTiffGeometry(r, &g) || !TiffGeometryFits(g)) return false;
        bands->tiff = BeginTiffStrip(file, g);
    } else if (r.fileFormat == TWFF_BMP) {
        if (!BeginBmpBands(&bands->bmp, file, OutputBmpGeometry(r), lineBytes, r.colourOrder))
            return false;
    } else {
        return false;
    }
    // Set last: bands that failed to begin never report a complete image.
    bands->begun = true;
    bands->fileFormat = r.fileFormat;
    bands->lineBytes = lineBytes;
    return true;
}

bool WriteOutputBand(OutputBands* bands, const uint8_t* lines, uint32_t rowCount) {
    if (!bands->begun) return false;
    if (bands->fileFormat == TWFF_BMP) return WriteBmpBand(&bands->bmp, lines, rowCount);
    const uint64_t bytes = uint64_t(rowCount) * bands->lineBytes;
    return bytes <= SIZE_MAX && AppendTiffBand(&bands->tiff, lines, size_t(bytes));
}

bool EndOutputBands(OutputBands* bands) {
    if (!bands->begun) {
        EndBmpBands(&bands->bmp);
        return false;
    }
    const bool complete = bands->fileFormat == TWFF_BMP ? EndBmpBands(&bands->bmp)
                                                        : TiffStripComplete(bands->tiff);
    *bands = OutputBands{};
    return complete;
}
