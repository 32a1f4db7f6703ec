// Writes small images of every layout through the writers, TIFF and BMP, in uneven bands,
// beside the lines that went in, for readers that owe nothing to this code to check.
// Usage: imagefile_write_samples OUTPUT_FOLDER. Writes OUTPUT_FOLDER/samples.txt with one
// line per image: name format layout width lines bytes-per-line resolution.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "common/twain.h"
#include "imagefile/image_headers.h"
#include "imagefile/output_bands.h"
#include "imagefile/output_file.h"
#include "imagefile/tiff_strip.h"

namespace {

struct Sample {
    const char* name;
    PixelLayout layout;
    uint32_t width;
    uint32_t lines;
};

constexpr unsigned kOutputResolution = 300;
constexpr unsigned kSpoolResolution = 150;

const Sample kSamples[] = {
    {"lineart", PixelLayout::LineArt, 40, 17},
    {"gray", PixelLayout::Gray, 37, 23},
    {"rgb24", PixelLayout::Rgb24, 13, 11},
    {"rgb48", PixelLayout::Rgb48, 7, 9},
};

const char* LayoutName(PixelLayout layout) {
    switch (layout) {
    case PixelLayout::LineArt: return "lineart";
    case PixelLayout::Gray: return "gray";
    case PixelLayout::Rgb24: return "rgb24";
    default: return "rgb48";
    }
}

uint32_t BytesPerLine(const Sample& s) {
    return s.layout == PixelLayout::LineArt ? s.width / 8 : s.width * BytesPerPixel(s.layout);
}

// Every byte value turns up; 36-bit colour samples carry 12 bits in the top of 16, as the
// read loop delivers them.
std::vector<uint8_t> MakeLines(const Sample& s, uint32_t seed) {
    std::vector<uint8_t> bytes(size_t(BytesPerLine(s)) * s.lines);
    for (size_t i = 0; i < bytes.size(); ++i) {
        seed = seed * 1103515245u + 12345u;
        bytes[i] = uint8_t(seed >> 16);
    }
    if (s.layout == PixelLayout::Rgb48)
        for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
            const uint16_t sample = uint16_t(((bytes[i] | bytes[i + 1] << 8) & 4095) * 16);
            bytes[i] = uint8_t(sample);
            bytes[i + 1] = uint8_t(sample >> 8);
        }
    return bytes;
}

bool SaveLines(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

// Bands of 1, 2, 3, ... rows: short, long and a last partial band.
template <typename WriteBand>
bool WriteUnevenBands(const Sample& s, const std::vector<uint8_t>& lines, WriteBand write) {
    const uint32_t bytesPerLine = BytesPerLine(s);
    uint32_t done = 0;
    for (uint32_t band = 1; done < s.lines; ++band) {
        const uint32_t rows = std::min(band, s.lines - done);
        if (!write(lines.data() + size_t(done) * bytesPerLine, rows)) return false;
        done += rows;
    }
    return true;
}

bool WriteOutput(const std::string& path, uint16_t format, const Sample& s,
                 const std::vector<uint8_t>& lines) {
    OutputFileRequest r;
    r.path = path.c_str();
    r.fileFormat = format;
    r.layout = s.layout;
    r.pixelWidth = s.width;
    r.lines = s.lines;
    r.bytesPerLine = BytesPerLine(s);
    r.alignedLineLength = BmpRowBytes(s.layout, s.width);
    r.resolution = kOutputResolution;
    const plat::FileHandle f = OpenOutputFile(nullptr, r);
    if (f == plat::kNoFile) return false;
    OutputBands bands;
    bool ok = BeginOutputBands(&bands, f, r) &&
              WriteUnevenBands(s, lines, [&](const uint8_t* rows, uint32_t n) {
                  return WriteOutputBand(&bands, rows, n);
              });
    ok = EndOutputBands(&bands) && ok;
    return plat::FileClose(f) && ok;
}

// A spool file: created with its header and appended to, as the scan pass does.
bool WriteSpool(const std::string& path, const Sample& s, const std::vector<uint8_t>& lines) {
    const TiffGeometry g{s.layout, BytesPerLine(s), s.lines, kSpoolResolution};
    const plat::FileHandle f = CreateTiffFile(path.c_str(), g);
    if (f == plat::kNoFile) return false;
    TiffStrip strip = BeginTiffStrip(f, g);
    bool ok = WriteUnevenBands(s, lines, [&](const uint8_t* rows, uint32_t n) {
        return AppendTiffBand(&strip, rows, size_t(n) * BytesPerLine(s));
    });
    return plat::FileClose(f) && ok && TiffStripComplete(strip);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    FILE* manifest = std::fopen((dir + "/samples.txt").c_str(), "w");
    if (!manifest) return 1;
    uint32_t seed = 7;
    for (const Sample& s : kSamples) {
        const std::vector<uint8_t> lines = MakeLines(s, seed++);
        const std::string base = dir + "/" + s.name;
        const struct {
            std::string suffix;
            const char* format;
            unsigned resolution;
            bool ok;
        } files[] = {
            {".tif", "tiff", kOutputResolution, WriteOutput(base + ".tif", TWFF_TIFF, s, lines)},
            {".bmp", "bmp", kOutputResolution, WriteOutput(base + ".bmp", TWFF_BMP, s, lines)},
            {".spool.tif", "tiff", kSpoolResolution, WriteSpool(base + ".spool.tif", s, lines)},
        };
        if (!SaveLines(base + ".lines", lines)) return 1;
        for (const auto& f : files) {
            if (!f.ok) {
                std::fprintf(stderr, "writing %s%s failed\n", s.name, f.suffix.c_str());
                return 1;
            }
            std::fprintf(manifest, "%s%s %s %s %u %u %u %u\n", s.name, f.suffix.c_str(),
                         f.format, LayoutName(s.layout), s.width, s.lines, BytesPerLine(s),
                         f.resolution);
        }
    }
    return std::fclose(manifest) == 0 ? 0 : 1;
}
