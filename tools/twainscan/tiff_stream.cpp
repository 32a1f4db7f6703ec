#include "tools/twainscan/tiff_stream.h"

#include <numeric>

#include "common/le_fields.h"

namespace twainscan {
namespace {

constexpr uint16_t kShort = 3;
constexpr uint16_t kLong = 4;
constexpr uint16_t kRational = 5;
constexpr uint16_t kEntryCount = 13;
constexpr uint32_t kBitsOffset = 170;  // BitsPerSample values when there are more than two
constexpr uint32_t kXResOffset = 178;
constexpr uint32_t kYResOffset = 186;

struct Header {
    uint8_t bytes[kTiffDataOffset] = {};
    uint8_t* entry = bytes + 10;

    void Add(uint16_t tag, uint16_t type, uint32_t count, uint32_t value) {
        StoreLe16(entry, tag);
        StoreLe16(entry + 2, type);
        StoreLe32(entry + 4, count);
        // One or two SHORTs sit in the field itself; more are found at the offset it holds.
        if (type == kShort && count <= 2) StoreLe16(entry + 8, static_cast<uint16_t>(value));
        else StoreLe32(entry + 8, value);
        entry += 12;
    }
};

// The fixed-point resolution as an exact fraction; a source that reports none gets 72 dpi
// rather than a fraction a reader would refuse.
void StoreResolution(uint8_t* at, int32_t dpiFix) {
    uint32_t numerator = 72, denominator = 1;
    if (dpiFix > 0) {
        const uint32_t divisor = std::gcd(static_cast<uint32_t>(dpiFix), 65536u);
        numerator = static_cast<uint32_t>(dpiFix) / divisor;
        denominator = 65536u / divisor;
    }
    StoreLe32(at, numerator);
    StoreLe32(at + 4, denominator);
}

void BuildHeader(Header& h, const TiffImage& image, uint32_t rows, uint32_t rowBytes) {
    const TiffFormat& f = image.format;
    h.bytes[0] = h.bytes[1] = 'I';
    StoreLe16(h.bytes + 2, 42);
    StoreLe32(h.bytes + 4, 8);
    StoreLe16(h.bytes + 8, kEntryCount);
    h.Add(256, kLong, 1, image.width);
    h.Add(257, kLong, 1, rows);
    h.Add(258, kShort, f.samplesPerPixel, f.samplesPerPixel > 2 ? kBitsOffset : f.bitsPerSample);
    if (f.samplesPerPixel > 2) {
        for (uint16_t i = 0; i < f.samplesPerPixel; ++i)
            StoreLe16(h.bytes + kBitsOffset + 2 * i, f.bitsPerSample);
    }
    h.Add(259, kShort, 1, 1);  // no compression
    h.Add(262, kShort, 1, f.photometric);
    h.Add(273, kLong, 1, kTiffDataOffset);
    h.Add(277, kShort, 1, f.samplesPerPixel);
    h.Add(278, kLong, 1, rows);  // one strip
    h.Add(279, kLong, 1, rows * rowBytes);
    h.Add(282, kRational, 1, kXResOffset);
    h.Add(283, kRational, 1, kYResOffset);
    h.Add(284, kShort, 1, 1);  // samples of a pixel side by side
    h.Add(296, kShort, 1, 2);  // inches
    StoreLe32(h.entry, 0);     // no further image
    StoreResolution(h.bytes + kXResOffset, image.xDpiFix);
    StoreResolution(h.bytes + kYResOffset, image.yDpiFix);
}

bool Supported(const TiffFormat& f) {
    const bool samples = f.samplesPerPixel == 1 || f.samplesPerPixel == 3 || f.samplesPerPixel == 4;
    const bool bits = f.bitsPerSample == 1 ? f.samplesPerPixel == 1
                                           : f.bitsPerSample == 8 || f.bitsPerSample == 16;
    return samples && bits;
}

}  // namespace

bool TiffStream::Begin(const std::string& path, const TiffImage& image, std::string& error) {
    const uint64_t rowBits = uint64_t(image.width) * image.format.samplesPerPixel *
                             image.format.bitsPerSample;
    if (image.width == 0 || !Supported(image.format) || rowBits / 8 > 0xFFFFFFF) {
        error = "cannot write a TIFF of " + std::to_string(image.width) + " pixels with " +
                std::to_string(image.format.samplesPerPixel) + " samples of " +
                std::to_string(image.format.bitsPerSample) + " bits";
        return false;
    }
    image_ = image;
    rowBytes_ = static_cast<uint32_t>((rowBits + 7) / 8);
    rows_ = 0;
    const Header placeholder;  // completed by Finish
    return file_.Create(path, error) && file_.Write(placeholder.bytes, kTiffDataOffset, error);
}

bool TiffStream::AppendRows(const uint8_t* data, uint32_t rows, uint64_t stride,
                            std::string& error) {
    const uint64_t total = uint64_t(rows_) + rows;
    if (kTiffDataOffset + total * rowBytes_ > 0xFFFFFFFFu) {
        error = "the image grows beyond what a TIFF file can hold";
        return false;
    }
    for (uint32_t row = 0; row < rows; ++row)
        if (!file_.Write(data + row * stride, rowBytes_, error)) return false;
    rows_ = static_cast<uint32_t>(total);
    return true;
}

bool TiffStream::Finish(std::string& error) {
    if (rows_ == 0) {
        error = "no rows to write";
        return false;
    }
    Header header;
    BuildHeader(header, image_, rows_, rowBytes_);
    return file_.WriteAt(0, header.bytes, kTiffDataOffset, error) && file_.Finish(error);
}

}  // namespace twainscan
