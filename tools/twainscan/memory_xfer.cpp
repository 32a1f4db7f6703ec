#include "tools/twainscan/memory_xfer.h"

#include <cstring>
#include <vector>

#include "tools/twainscan/capability_calls.h"
#include "tools/twainscan/twain_names.h"

namespace twainscan {
namespace {

// Bytes after the buffer that the source must never touch.
constexpr size_t kGuardBytes = 64;
constexpr uint8_t kGuardByte = 0xA5;
constexpr uint32_t kDefaultBuffer = 64 * 1024;

// What every block has to agree with.
struct BlockRules {
    uint32_t columns = 0;
    uint32_t minRowBytes = 0;
    uint32_t bufferBytes = 0;
    int64_t expectedRows = 0;  // 0 when the source did not say
    uint32_t bytesPerRow = 0;  // fixed by the first block
    uint32_t rowsSoFar = 0;
};

bool Bad(std::string& error, uint32_t block, const std::string& why) {
    error = "memory block " + std::to_string(block) + " is wrong: " + why;
    return false;
}

std::string Num(uint64_t v) { return std::to_string(v); }

bool CheckBlock(const TW_IMAGEMEMXFER& x, bool last, uint32_t block, BlockRules& r,
                std::string& error) {
    if (x.Compression != TWCP_NONE) return Bad(error, block, "compression " + Num(x.Compression));
    if (x.Columns != r.columns)
        return Bad(error, block, Num(x.Columns) + " columns, the image has " + Num(r.columns));
    if (x.XOffset != 0) return Bad(error, block, "XOffset " + Num(x.XOffset));
    if (x.YOffset != r.rowsSoFar)
        return Bad(error, block, "YOffset " + Num(x.YOffset) + " after " + Num(r.rowsSoFar) + " rows");
    if (x.BytesPerRow < r.minRowBytes)
        return Bad(error, block, "BytesPerRow " + Num(x.BytesPerRow) + " is less than the " +
                                     Num(r.minRowBytes) + " bytes a row needs");
    if (r.bytesPerRow && x.BytesPerRow != r.bytesPerRow)
        return Bad(error, block, "BytesPerRow changed from " + Num(r.bytesPerRow) + " to " +
                                     Num(x.BytesPerRow));
    if (x.Rows == 0 && !last) return Bad(error, block, "no rows, and more to come");
    const uint64_t bytes = uint64_t(x.BytesPerRow) * x.Rows;
    if (x.BytesWritten != bytes)
        return Bad(error, block, "BytesWritten " + Num(x.BytesWritten) + " is not " +
                                     Num(x.BytesPerRow) + " x " + Num(x.Rows));
    if (bytes > r.bufferBytes)
        return Bad(error, block, Num(bytes) + " bytes in a buffer of " + Num(r.bufferBytes));
    const uint64_t rows = uint64_t(r.rowsSoFar) + x.Rows;
    if (r.expectedRows > 0 && rows > uint64_t(r.expectedRows))
        return Bad(error, block, "row " + Num(rows) + " of an image of " + Num(r.expectedRows));
    r.bytesPerRow = x.BytesPerRow;
    r.rowsSoFar = static_cast<uint32_t>(rows);
    return true;
}

// TWPF_CHOCOLATE unless the source says otherwise; a source without the capability is
// chocolate by TWAIN's default.
TW_UINT16 AskPixelFlavor(SourceLink& link, MemoryBlocks& blocks, const Printer& print) {
    TW_ONEVALUE flavor{};
    std::string ignored;
    if (GetCurrentOneValue(link, blocks, ICAP_PIXELFLAVOR, flavor, ignored))
        return static_cast<TW_UINT16>(flavor.Item & 0xFFFF);
    print("note: no ICAP_PIXELFLAVOR (" + ignored + "); zero is taken as black\n");
    return TWPF_CHOCOLATE;
}

bool GuardIntact(const std::vector<uint8_t>& buffer, uint32_t length) {
    for (size_t i = length; i < buffer.size(); ++i)
        if (buffer[i] != kGuardByte) return false;
    return true;
}

// One DAT_IMAGEMEMXFER call after another until the source says the image is complete.
bool ReceiveBlocks(SourceLink& link, std::vector<uint8_t>& buffer, uint32_t length,
                   BlockRules& rules, TiffStream& tiff, uint32_t& blocksReceived,
                   std::string& error) {
    for (uint32_t block = 1;; ++block) {
        TW_IMAGEMEMXFER x{};
        x.Compression = TWON_DONTCARE16;
        x.BytesPerRow = x.Columns = x.Rows = TWON_DONTCARE32;
        x.XOffset = x.YOffset = x.BytesWritten = TWON_DONTCARE32;
        x.Memory = TW_MEMORY{TWMF_APPOWNS | TWMF_POINTER, length, buffer.data()};
        const TW_UINT16 rc = CallSource(link, DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &x);
        if (!GuardIntact(buffer, length))
            return Bad(error, block, "the source wrote past the end of the buffer");
        if (rc == TWRC_CANCEL) {
            error = "DAT_IMAGEMEMXFER was cancelled (TWRC_CANCEL) at block " + Num(block);
            return false;
        }
        if (rc != TWRC_SUCCESS && rc != TWRC_XFERDONE) {
            error = SourceFailure(link, "DAT_IMAGEMEMXFER block " + Num(block), rc);
            return false;
        }
        const bool last = rc == TWRC_XFERDONE;
        if (!CheckBlock(x, last, block, rules, error) ||
            !tiff.AppendRows(buffer.data(), x.Rows, x.BytesPerRow, error))
            return false;
        blocksReceived = block;
        if (last) return true;
    }
}

}  // namespace

bool TiffFormatOf(const TW_IMAGEINFO& info, TW_UINT16 pixelFlavor, TiffFormat& format,
                  std::string& error) {
    const int spp = info.SamplesPerPixel;
    const int bits = info.BitsPerSample[0];
    const uint16_t tone = pixelFlavor == TWPF_VANILLA ? kTiffWhiteIsZero : kTiffBlackIsZero;
    const bool sameBits = spp >= 1 && spp <= 8 && info.BitsPerPixel == spp * bits;
    bool known = sameBits && info.Planar == 0 && info.Compression == TWCP_NONE;
    if (known && info.PixelType == TWPT_BW) known = spp == 1 && bits == 1;
    else if (known && info.PixelType == TWPT_GRAY) known = spp == 1 && (bits == 8 || bits == 16);
    else if (known && info.PixelType == TWPT_RGB) known = spp == 3 && (bits == 8 || bits == 16);
    else if (known && info.PixelType == TWPT_CMYK) known = spp == 4 && bits == 8;
    else known = false;
    if (!known) {
        error = "no TIFF layout for " + PixelTypeName(info.PixelType) + " with " +
                std::to_string(spp) + " samples of " + std::to_string(bits) + " bits (" +
                std::to_string(info.BitsPerPixel) + " bits per pixel, planar " +
                std::to_string(info.Planar) + ", compression " + std::to_string(info.Compression) + ")";
        return false;
    }
    format.samplesPerPixel = static_cast<uint16_t>(spp);
    format.bitsPerSample = static_cast<uint16_t>(bits);
    format.photometric = info.PixelType == TWPT_RGB    ? kTiffRgb
                         : info.PixelType == TWPT_CMYK ? kTiffSeparated
                                                       : tone;
    return true;
}

uint32_t ChooseBufferSize(const TW_SETUPMEMXFER& s, std::optional<uint32_t> wanted,
                          std::string& error) {
    if (wanted) return *wanted;
    const uint32_t max = s.MaxBufSize == TWON_DONTCARE32 ? kMaxMemoryBuffer : s.MaxBufSize;
    if (s.MinBufSize > max || s.MinBufSize > kMaxMemoryBuffer) {
        error = "DAT_SETUPMEMXFER asks for at least " + Num(s.MinBufSize) +
                " bytes and at most " + Num(s.MaxBufSize);
        return 0;
    }
    uint32_t size = s.Preferred == 0 || s.Preferred == TWON_DONTCARE32 ? kDefaultBuffer : s.Preferred;
    if (size < s.MinBufSize) size = s.MinBufSize;
    if (size > max) size = max;
    if (size > kMaxMemoryBuffer) size = kMaxMemoryBuffer;
    if (size == 0) error = "DAT_SETUPMEMXFER leaves no buffer size";
    return size;
}

bool TransferMemory(SourceLink& link, MemoryBlocks& blocks, const TW_IMAGEINFO& info,
                    std::optional<uint32_t> bufferBytes, const std::string& path,
                    const Printer& print, std::string& error) {
    TiffImage image;
    image.width = info.ImageWidth > 0 ? static_cast<uint32_t>(info.ImageWidth) : 0;
    image.xDpiFix = info.XResolution.Whole * 65536 + info.XResolution.Frac;
    image.yDpiFix = info.YResolution.Whole * 65536 + info.YResolution.Frac;
    if (!TiffFormatOf(info, AskPixelFlavor(link, blocks, print), image.format, error))
        return false;

    TW_SETUPMEMXFER setup{};
    const TW_UINT16 rc = CallSource(link, DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, &setup);
    if (rc != TWRC_SUCCESS) {
        error = SourceFailure(link, "DAT_SETUPMEMXFER", rc);
        return false;
    }
    const uint32_t length = ChooseBufferSize(setup, bufferBytes, error);
    if (length == 0) return false;
    print("DAT_SETUPMEMXFER: MinBufSize " + Num(setup.MinBufSize) + ", MaxBufSize " +
          Num(setup.MaxBufSize) + ", Preferred " + Num(setup.Preferred) + "; buffer " +
          Num(length) + " bytes\n");

    TiffStream tiff;
    if (!tiff.Begin(path, image, error)) return false;
    BlockRules rules;
    rules.columns = image.width;
    rules.minRowBytes = tiff.RowBytes();
    rules.bufferBytes = length;
    rules.expectedRows = info.ImageLength;
    std::vector<uint8_t> buffer(size_t(length) + kGuardBytes, kGuardByte);
    uint32_t blockCount = 0;
    if (!ReceiveBlocks(link, buffer, length, rules, tiff, blockCount, error)) return false;
    if (info.ImageLength > 0 && rules.rowsSoFar != uint32_t(info.ImageLength)) {
        error = "the source ended the image after " + Num(rules.rowsSoFar) + " of " +
                Num(info.ImageLength) + " rows";
        return false;
    }
    if (!tiff.Finish(error)) return false;
    print("DAT_IMAGEMEMXFER: TWRC_XFERDONE after " + Num(blockCount) + " blocks\n");
    print("wrote " + path + ": " + Num(image.width) + " x " + Num(tiff.Rows()) + ", " +
          Num(uint32_t(image.format.samplesPerPixel) * image.format.bitsPerSample) +
          " bits per pixel\n");
    return true;
}

}  // namespace twainscan
