// The temporary TIFF files that hold an image between the scan and the processing pass: the
// colour spool (the working file path), the gray spool "Xfer_G.Tmp" and the interpolation
// spool "Interp.Tmp", all in the working file's folder.
//
// The working file path is also the default name of a file transfer's output. A spool never
// takes the output file's name, nor that of a file already there: it moves to a name of its
// own beside it ("_" before the extension), and only files created as spools are deleted.
#pragma once

#include <cstdint>
#include <string>

#include "imagefile/tiff_layout.h"
#include "imagefile/tiff_strip.h"
#include "platform/platform.h"

struct SpoolFile {
    std::string path;
    plat::FileHandle handle = plat::kNoFile;  // kNoFile while closed
    bool created = false;                     // created by this transfer: to be deleted
    TiffStrip strip;                          // while written: the pixel data still to come
    uint32_t dataOffset = 0;
};

struct SpoolFiles {
    SpoolFile colour;
    SpoolFile gray;
    SpoolFile interp;
};

extern SpoolFiles TheSpools;

// The folder of a path, up to and including its last '\' or '/'; "" when it has none.
std::string SpoolFolder(const std::string& workingPath);
// The paths each spool takes for a working path, given the output file a file transfer
// writes ("" for none), before a file already there moves it on.
std::string ColourSpoolPath(const std::string& workingPath, const std::string& outputPath);
std::string GraySpoolPath(const std::string& workingPath, const std::string& outputPath);
std::string InterpSpoolPath(const std::string& workingPath, const std::string& outputPath);
// Two names of the same file (Windows compares paths without case, either separator).
bool SamePath(const std::string& a, const std::string& b);

// Create the spool with its TIFF header for g, left open at the pixel data. On failure the
// scan is ended through AbortScan with TWCC_OPERATIONERROR and message 619 "Write disk file
// error.", and the result is false.
bool CreateColorSpool(const std::string& workingPath, const std::string& outputPath,
                      const TiffGeometry& g);
bool CreateGraySpool(const std::string& workingPath, const std::string& outputPath,
                     const TiffGeometry& g);
bool CreateInterpSpool(const std::string& workingPath, const std::string& outputPath,
                       const TiffGeometry& g);

// Appends a band of whole rows to a spool being written; false when the write fails or
// runs past the image.
bool AppendSpoolBand(SpoolFile& spool, const uint8_t* rows, uint64_t bytes);

// Closes the written colour or gray spool and opens it again for reading at its pixel data.
// Failure (also a spool that was not written completely) ends the scan with 619.
bool OpenSpoolForReading(bool colour);
// The spool being read: the colour or the gray one.
SpoolFile& SpoolInUse(bool colour);

// Closes every open spool.
void CloseSpools();
// Closes and deletes every spool this transfer created.
void DeleteSpools();
