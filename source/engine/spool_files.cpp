#include "engine/spool_files.h"

#include "common/ascii_text.h"
#include "engine/abort_scan.h"
#include "imagefile/image_headers.h"

SpoolFiles TheSpools;

namespace {

constexpr uint32_t kWriteDiskFileError = 619;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

constexpr int kOtherNames = 16;

// The same name with "_" before its extension.
std::string OtherName(const std::string& path) {
    const size_t folderEnd = SpoolFolder(path).size();
    const size_t dot = path.rfind('.');
    const size_t at = (dot == std::string::npos || dot < folderEnd) ? path.size() : dot;
    return path.substr(0, at) + "_" + path.substr(at);
}

// A spool that would fall on the output file takes another name: a colour file transfer to
// the default name must not scan over its own output.
std::string Avoiding(const std::string& path, const std::string& outputPath) {
    if (outputPath.empty() || !SamePath(path, outputPath)) return path;
    return OtherName(path);
}

// Nor may a spool take over a file that is already there (an image an earlier transfer
// delivered under the default name): creating it would truncate that file and the end of
// the transfer would delete it. "" when no free name is found.
std::string FreeName(std::string path) {
    for (int i = 0; i < kOtherNames; ++i, path = OtherName(path))
        if (!plat::FileExists(path.c_str())) return path;
    return {};
}

void Close(SpoolFile& spool) {
    if (spool.handle != plat::kNoFile) plat::FileClose(spool.handle);
    spool.handle = plat::kNoFile;
}

void Delete(SpoolFile& spool) {
    Close(spool);
    if (spool.created) plat::FileDelete(spool.path.c_str());
    spool = SpoolFile{};
}

bool Create(SpoolFile& spool, const std::string& wanted, const TiffGeometry& g) {
    Delete(spool);  // a spool left from before is never orphaned
    const std::string path = FreeName(wanted);
    spool.path = path;
    spool.handle = path.empty() ? plat::kNoFile : CreateTiffFile(path.c_str(), g);
    if (spool.handle == plat::kNoFile) {
        AbortScan(TWCC_OPERATIONERROR, kWriteDiskFileError);
        return false;
    }
    spool.created = true;
    spool.strip = BeginTiffStrip(spool.handle, g);
    spool.dataOffset = TiffDataOffset(g.layout);
    return true;
}

}  // namespace

std::string SpoolFolder(const std::string& workingPath) {
    for (size_t i = workingPath.size(); i > 0; --i)
        if (IsSeparator(workingPath[i - 1])) return workingPath.substr(0, i);
    return {};
}

bool SamePath(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (IsSeparator(a[i]) && IsSeparator(b[i])) continue;
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
    }
    return true;
}

std::string ColourSpoolPath(const std::string& workingPath, const std::string& outputPath) {
    return Avoiding(workingPath, outputPath);
}

std::string GraySpoolPath(const std::string& workingPath, const std::string& outputPath) {
    return Avoiding(SpoolFolder(workingPath) + "Xfer_G.Tmp", outputPath);
}

std::string InterpSpoolPath(const std::string& workingPath, const std::string& outputPath) {
    return Avoiding(SpoolFolder(workingPath) + "Interp.Tmp", outputPath);
}

bool CreateColorSpool(const std::string& workingPath, const std::string& outputPath,
                      const TiffGeometry& g) {
    return Create(TheSpools.colour, ColourSpoolPath(workingPath, outputPath), g);
}

bool CreateGraySpool(const std::string& workingPath, const std::string& outputPath,
                     const TiffGeometry& g) {
    return Create(TheSpools.gray, GraySpoolPath(workingPath, outputPath), g);
}

bool CreateInterpSpool(const std::string& workingPath, const std::string& outputPath,
                       const TiffGeometry& g) {
    return Create(TheSpools.interp, InterpSpoolPath(workingPath, outputPath), g);
}

bool AppendSpoolBand(SpoolFile& spool, const uint8_t* rows, uint64_t bytes) {
    return bytes <= SIZE_MAX && AppendTiffBand(&spool.strip, rows, size_t(bytes));
}

SpoolFile& SpoolInUse(bool colour) { return colour ? TheSpools.colour : TheSpools.gray; }

bool OpenSpoolForReading(bool colour) {
    SpoolFile& spool = SpoolInUse(colour);
    const bool complete = TiffStripComplete(spool.strip);
    Close(spool);
    spool.strip = TiffStrip{};
    if (complete && spool.created)
        spool.handle = plat::FileOpen(spool.path.c_str(), plat::FileAccess::Read);
    if (spool.handle != plat::kNoFile &&
        plat::FileSeek(spool.handle, spool.dataOffset, plat::SeekFrom::Begin) == spool.dataOffset)
        return true;
    Close(spool);
    AbortScan(TWCC_OPERATIONERROR, kWriteDiskFileError);
    return false;
}

void CloseSpools() {
    Close(TheSpools.colour);
    Close(TheSpools.gray);
    Close(TheSpools.interp);
}

void DeleteSpools() {
    Delete(TheSpools.colour);
    Delete(TheSpools.gray);
    Delete(TheSpools.interp);
}
