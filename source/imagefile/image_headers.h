// Writing the TIFF and BMP headers into an open file, and creating a file with its header.
// These report nothing to the user: the output file of a transfer goes through
// OpenOutputFile (which shows the message), the spool files through their creators (which
// end the scan with it).
#pragma once

#include "imagefile/bmp_layout.h"
#include "imagefile/tiff_layout.h"
#include "platform/platform.h"

// Writes the TIFF header at the current position (the start of a new file) with one write
// and leaves the file positioned at the pixel data. False when the geometry does not fit or
// the write falls short.
bool WriteTiffHeader(plat::FileHandle file, const TiffGeometry& g);

// Writes file header, info header and palette with one write, then gives the file its full
// size (the last byte written as 0) and leaves it positioned at the end, so that the rows can
// be written from the end towards the beginning. False when the geometry does not fit, a
// write falls short or the position does not reach the file size.
bool WriteBmpHeader(plat::FileHandle file, const BmpGeometry& g);

// Create (or truncate) path and write the header. On any failure the file is closed, a
// file that was created is deleted, and the result is plat::kNoFile; a geometry that does
// not fit is refused before anything is created.
plat::FileHandle CreateTiffFile(const char* path, const TiffGeometry& g);
plat::FileHandle CreateBmpFile(const char* path, const BmpGeometry& g);
