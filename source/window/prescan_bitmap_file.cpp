#include "window/prescan_bitmap_file.h"

#include <cstring>

#include "common/le_fields.h"
#include "common/prescan_api.h"

namespace {

// Offsets from the start of the file.
constexpr uint32_t kFileSize = 2, kPixelOffset = 10, kInfo = kPrescanFileHeaderBytes;
constexpr uint32_t kInfoSize = kInfo + 0, kWidth = kInfo + 4, kHeight = kInfo + 8,
                   kPlanes = kInfo + 12, kBitCount = kInfo + 14, kCompression = kInfo + 16,
                   kImageSize = kInfo + 20, kColoursUsed = kInfo + 32;

bool SideTaken(int32_t side) { return side >= 1 && uint32_t(side) <= kLargestPrescanSide; }

bool HeadersAgree(const uint8_t* h, uint64_t fileBytes) {
    return h[0] == 'B' && h[1] == 'M' && LoadLe32(h + kFileSize) == fileBytes &&
           LoadLe32(h + kPixelOffset) == kPrescanHeadBytes &&
           LoadLe32(h + kInfoSize) == kPreviewInfoHeaderBytes && LoadLe16(h + kPlanes) == 1 &&
           LoadLe16(h + kBitCount) == 24 && LoadLe32(h + kCompression) == 0 &&
           LoadLe32(h + kColoursUsed) == 0;
}

class OpenFile {
public:
    explicit OpenFile(const char* path) : f_(plat::FileOpen(path, plat::FileAccess::Read)) {}
    ~OpenFile() {
        if (ok()) plat::FileClose(f_);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    bool ok() const { return f_ != plat::kNoFile; }
    plat::FileHandle handle() const { return f_; }

private:
    plat::FileHandle f_;
};

// The length of the open file, the position back at its start; -1 when unknown.
int64_t FileLength(plat::FileHandle f) {
    const int64_t length = plat::FileSeek(f, 0, plat::SeekFrom::End);
    if (length < 0 || plat::FileSeek(f, 0, plat::SeekFrom::Begin) != 0) return -1;
    return length;
}

bool ReadExactly(plat::FileHandle f, uint8_t* into, size_t bytes) {
    return plat::FileRead(f, into, bytes) == int64_t(bytes);
}

}  // namespace

bool CheckPrescanHead(const uint8_t* h, uint64_t fileBytes, PrescanLayout& out) {
    if (!h || fileBytes < kPrescanHeadBytes || !HeadersAgree(h, fileBytes)) return false;
    const int32_t width = int32_t(LoadLe32(h + kWidth));
    const int32_t height = int32_t(LoadLe32(h + kHeight));
    if (!SideTaken(width) || !SideTaken(height)) return false;
    const uint32_t stride = PreviewStride(24, uint32_t(width));
    const uint64_t rowsBytes = uint64_t(stride) * uint32_t(height);
    const uint32_t imageSize = LoadLe32(h + kImageSize);
    if (imageSize != 0 && imageSize != rowsBytes) return false;
    if (fileBytes - kPrescanHeadBytes != rowsBytes) return false;
    out = PrescanLayout{uint32_t(width), uint32_t(height), stride};
    return true;
}

PrescanRead ReadPrescanBitmap(const char* path, PreviewBitmap& out) {
    OpenFile file(path);
    if (!file.ok()) return PrescanRead::NoFile;
    const int64_t length = FileLength(file.handle());
    uint8_t head[kPrescanHeadBytes];
    PrescanLayout layout;
    if (length < 0 || !ReadExactly(file.handle(), head, sizeof head) ||
        !CheckPrescanHead(head, uint64_t(length), layout))
        return PrescanRead::Malformed;

    PreviewBitmap image;
    const uint64_t bytes = PreviewLayoutBytes(24, layout.width, layout.height);
    if (!AllocatePreviewBitmap(layout.width, layout.height, 24, bytes, image))
        return PrescanRead::OutOfMemory;
    bool read = false;
    {
        LockedBitmap block(image);
        if (block.ok()) {
            std::memcpy(block.header(), head + kInfo, kPreviewInfoHeaderBytes);
            read = ReadExactly(file.handle(), block.row(0), size_t(layout.stride) * layout.height);
        }
    }
    if (!read) {
        FreePreviewBitmap(image);
        return PrescanRead::Malformed;
    }
    out = image;
    return PrescanRead::Read;
}

std::string PrescanBitmapFilePath() {
    char dir[260];
    const uint32_t n = plat::WindowsDirectory(dir, sizeof dir);
    if (n == 0 || n >= sizeof dir) return "";
    return std::string(dir, n) + kPrescanBitmapPath;
}
