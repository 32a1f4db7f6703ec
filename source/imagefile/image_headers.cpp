#include "imagefile/image_headers.h"

namespace {

bool WriteAll(plat::FileHandle file, const uint8_t* bytes, uint32_t size) {
    return plat::FileWrite(file, bytes, size) == int64_t(size);
}

template <typename Geometry>
plat::FileHandle CreateWithHeader(const char* path, const Geometry& g, bool fits,
                                  bool (*writeHeader)(plat::FileHandle, const Geometry&)) {
    if (!fits || !path || !*path) return plat::kNoFile;
    const plat::FileHandle file = plat::FileCreate(path);
    if (file == plat::kNoFile) return plat::kNoFile;
    if (writeHeader(file, g)) return file;
    // Half a header is worse than no file: a reader would take it for an image.
    plat::FileClose(file);
    plat::FileDelete(path);
    return plat::kNoFile;
}

}  // namespace

bool WriteTiffHeader(plat::FileHandle file, const TiffGeometry& g) {
    uint8_t header[kTiffHeaderCapacity];
    const uint32_t size = BuildTiffHeader(g, header);
    return size != 0 && WriteAll(file, header, size);
}

bool WriteBmpHeader(plat::FileHandle file, const BmpGeometry& g) {
    uint8_t header[kBmpHeaderCapacity];
    const uint32_t size = BuildBmpHeader(g, header);
    if (size == 0 || !WriteAll(file, header, size)) return false;
    const int64_t fileSize = int64_t(BmpFileSize(g));
    // The rows go in from the end of the file towards its start. Writing the last byte first
    // gives the file its full length at once, so a volume that cannot extend it fails here,
    // before any scanning.
    const uint8_t zero = 0;
    if (plat::FileSeek(file, fileSize - 1, plat::SeekFrom::Begin) != fileSize - 1) return false;
    if (!WriteAll(file, &zero, 1)) return false;
    return plat::FileSeek(file, 0, plat::SeekFrom::Current) == fileSize;
}

plat::FileHandle CreateTiffFile(const char* path, const TiffGeometry& g) {
    return CreateWithHeader(path, g, TiffGeometryFits(g), WriteTiffHeader);
}

plat::FileHandle CreateBmpFile(const char* path, const BmpGeometry& g) {
    return CreateWithHeader(path, g, BmpGeometryFits(g), WriteBmpHeader);
}
