// An uncompressed single-strip baseline TIFF ("II") written row block by row block, so that
// memory use does not grow with the image. The header takes a fixed size at the start of
// the file and is completed by Finish, once the number of rows is known.
#pragma once

#include <cstdint>
#include <string>

#include "tools/twainscan/output_file.h"

namespace twainscan {

// TIFF PhotometricInterpretation values used here.
constexpr uint16_t kTiffWhiteIsZero = 0;
constexpr uint16_t kTiffBlackIsZero = 1;
constexpr uint16_t kTiffRgb = 2;
constexpr uint16_t kTiffSeparated = 5;  // CMYK inks

struct TiffFormat {
    uint16_t samplesPerPixel = 1;  // 1, 3 or 4
    uint16_t bitsPerSample = 8;    // 1, 8 or 16; 16-bit samples are stored little-endian
    uint16_t photometric = kTiffBlackIsZero;
};

struct TiffImage {
    uint32_t width = 0;  // pixels per row
    TiffFormat format;
    // Resolution as TWAIN gives it: a fixed-point number, 65536 = one dot per inch.
    int32_t xDpiFix = 0;
    int32_t yDpiFix = 0;
};

// Where the pixel rows start; everything before is header.
constexpr uint32_t kTiffDataOffset = 194;

class TiffStream {
public:
    bool Begin(const std::string& path, const TiffImage& image, std::string& error);
    // Appends `rows` rows taken `stride` bytes apart; each contributes RowBytes() bytes.
    bool AppendRows(const uint8_t* data, uint32_t rows, uint64_t stride, std::string& error);
    bool Finish(std::string& error);  // at least one row must have been appended

    uint32_t RowBytes() const { return rowBytes_; }
    uint32_t Rows() const { return rows_; }

private:
    OutputFile file_;
    TiffImage image_;
    uint32_t rowBytes_ = 0;
    uint32_t rows_ = 0;
};

}  // namespace twainscan
