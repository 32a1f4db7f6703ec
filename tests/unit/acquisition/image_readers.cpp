#include "tests/unit/acquisition/image_readers.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>

namespace {

std::vector<uint8_t> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

uint32_t Le16(const std::vector<uint8_t>& b, size_t at) {
    return at + 2 <= b.size() ? b[at] | b[at + 1] << 8 : 0;
}

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
    return at + 4 <= b.size() ? Le16(b, at) | Le16(b, at + 2) << 16 : 0;
}

std::string Run(const std::string& command, int* status) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return "cannot run " + command;
    char chunk[4096];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, pipe)) > 0) out.append(chunk, n);
    *status = pclose(pipe);
    return out;
}

bool Usable(const char* program) {
    const std::string p = program;
    return !p.empty() && p.find("NOTFOUND") == std::string::npos;
}

}  // namespace

DecodedImage ReadTiff(const std::string& path) {
    DecodedImage image;
    const std::vector<uint8_t> b = ReadAll(path);
    if (b.size() < 8 || b[0] != 'I' || b[1] != 'I' || Le16(b, 2) != 42) {
        image.error = "not a little-endian TIFF";
        return image;
    }
    const uint32_t ifd = Le32(b, 4);
    std::map<uint32_t, uint32_t> tags;  // first value of each tag (SHORT or LONG)
    for (uint32_t i = 0; i < Le16(b, ifd); ++i) {
        const size_t e = ifd + 2 + 12 * i;
        const uint32_t type = Le16(b, e + 2), count = Le32(b, e + 4);
        uint32_t value = type == 3 ? Le16(b, e + 8) : Le32(b, e + 8);
        if (type == 3 && count > 2) value = Le16(b, Le32(b, e + 8));  // BitsPerSample of colour
        tags[Le16(b, e)] = value;
    }
    image.width = tags[256];
    image.height = tags[257];
    image.bitsPerSample = tags[258];
    image.samplesPerPixel = tags.count(277) ? tags[277] : 1;
    image.bytesPerLine = (image.width * image.bitsPerSample * image.samplesPerPixel + 7) / 8;
    const uint64_t offset = tags[273], bytes = tags[279];
    if (tags[259] > 1 || bytes != uint64_t(image.bytesPerLine) * image.height ||
        offset + bytes != b.size()) {
        image.error = "strip does not match the image";
        return image;
    }
    image.rows.assign(b.begin() + offset, b.end());
    return image;
}

DecodedImage ReadBmp(const std::string& path) {
    DecodedImage image;
    const std::vector<uint8_t> b = ReadAll(path);
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M' || Le32(b, 2) != b.size()) {
        image.error = "not a BMP of its stated size";
        return image;
    }
    const uint32_t offset = Le32(b, 10), bits = Le16(b, 28);
    image.width = Le32(b, 18);
    image.height = Le32(b, 22);
    image.bitsPerSample = bits == 1 ? 1 : 8;
    image.samplesPerPixel = bits == 24 ? 3 : 1;
    image.bytesPerLine = (image.width * bits + 7) / 8;
    const uint32_t stride = (image.width * bits + 31) / 32 * 4;
    if (Le32(b, 30) != 0 || offset + uint64_t(stride) * image.height != b.size()) {
        image.error = "rows do not match the file";
        return image;
    }
    // Line art: palette entry 1 must be white for the stored bits to mean 1 = white.
    if (bits == 1 && (b[54] != 0 || b[58] != 255)) image.error = "line-art palette is not black, white";
    for (uint32_t y = 0; y < image.height; ++y) {
        const uint8_t* row = b.data() + offset + uint64_t(image.height - 1 - y) * stride;
        for (uint32_t x = 0; x < image.bytesPerLine; ++x) {
            const uint32_t from = bits == 24 ? x - x % 3 + 2 - x % 3 : x;  // B G R -> R G B
            image.rows.push_back(row[from]);
        }
    }
    return image;
}

std::string PillowPixels(const std::string& path, const char* mode, std::vector<uint8_t>& out) {
    if (!Usable(KV_PILLOW_PYTHON)) return "needs python3-pil (/usr/bin/python3 with PIL)";
    const std::string command = std::string(KV_PILLOW_PYTHON) +
                                " -c \"import sys; from PIL import Image; "
                                "sys.stdout.buffer.write(Image.open(sys.argv[1]).convert('" +
                                mode + "').tobytes())\" '" + path + "' 2>&1";
    int status = 0;
    const std::string bytes = Run(command, &status);
    if (status != 0) return "Pillow: " + bytes;
    out.assign(bytes.begin(), bytes.end());
    return {};
}

std::string TiffinfoReport(const std::string& path, bool* ok) {
    *ok = false;
    if (!Usable(KV_TIFFINFO)) return "needs libtiff-tools (tiffinfo)";
    int status = 0;
    const std::string report = Run(std::string(KV_TIFFINFO) + " '" + path + "' 2>&1", &status);
    *ok = status == 0;
    return report;
}

std::vector<uint8_t> EightBitPixels(const std::vector<uint8_t>& lines, uint32_t pixels,
                                    uint32_t lineCount, uint32_t bytesPerLine, bool lineArt) {
    if (!lineArt) return lines;
    std::vector<uint8_t> out;
    for (uint32_t y = 0; y < lineCount; ++y)
        for (uint32_t x = 0; x < pixels; ++x)
            out.push_back((lines[y * bytesPerLine + x / 8] >> (7 - x % 8) & 1) ? 255 : 0);
    return out;
}
