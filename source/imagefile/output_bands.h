// The pixel data of a transfer's output file, written band by band whatever the format:
// TIFF bands appended, BMP bands placed from the end of the file towards its start.
#pragma once

#include <cstdint>

#include "imagefile/bmp_bands.h"
#include "imagefile/output_file.h"
#include "imagefile/tiff_strip.h"

struct OutputBands {
    bool begun = false;
    uint16_t fileFormat = 0;
    uint32_t lineBytes = 0;  // length of one delivered line
    TiffStrip tiff;
    BmpBands bmp;
};

// For a file that OpenOutputFile created from r. Delivered lines are r.bytesPerLine long. False when r does not
// describe a file the writers can make, or the BMP staging block cannot be allocated.
bool BeginOutputBands(OutputBands* bands, plat::FileHandle file, const OutputFileRequest& r);

// Writes the next rowCount lines (top to bottom). False when the write fails or the lines
// run past the image.
bool WriteOutputBand(OutputBands* bands, const uint8_t* lines, uint32_t rowCount);

// Releases what the bands hold (also after a failure); true when the whole image was written.
bool EndOutputBands(OutputBands* bands);
