#include "simulator/device/pnm_image.h"

#include <cstdio>

namespace {

struct Cursor {
    const uint8_t* data;
    size_t size;
    size_t pos = 0;

    void SkipSpaceAndComments() {
        while (pos < size) {
            const uint8_t c = data[pos];
            if (c == '#') {
                while (pos < size && data[pos] != '\n') ++pos;
            } else if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
                ++pos;
            } else {
                return;
            }
        }
    }
    bool Number(uint32_t max, uint32_t& out) {
        SkipSpaceAndComments();
        uint64_t v = 0;
        size_t digits = 0;
        while (pos < size && data[pos] >= '0' && data[pos] <= '9') {
            v = v * 10 + (data[pos++] - '0');
            if (v > max) return false;
            ++digits;
        }
        out = uint32_t(v);
        return digits > 0;
    }
};

}  // namespace

bool ParsePnm(const uint8_t* data, size_t size, PnmImage& out, std::string& error) {
    if (size < 2 || data[0] != 'P' || (data[1] != '5' && data[1] != '6'))
        return error = "not a binary PGM (P5) or PPM (P6) file", false;
    Cursor c{data, size, 2};
    PnmImage img;
    img.channels = data[1] == '6' ? 3 : 1;
    if (!c.Number(100000, img.width) || !c.Number(100000, img.height) ||
        !c.Number(65535, img.maxValue) || img.width == 0 || img.height == 0 ||
        img.maxValue == 0)
        return error = "bad PNM header", false;
    // Exactly one whitespace byte separates the header from the samples.
    if (c.pos >= size || !(data[c.pos] == ' ' || data[c.pos] == '\n' || data[c.pos] == '\r' ||
                           data[c.pos] == '\t'))
        return error = "bad PNM header", false;
    ++c.pos;
    const uint64_t bytes = uint64_t(img.width) * img.height * img.channels *
                           (img.maxValue > 255 ? 2 : 1);
    if (bytes > kMaxPnmBytes) return error = "PNM image too large", false;
    if (size - c.pos < bytes) return error = "PNM file shorter than its header says", false;
    img.samples.assign(data + c.pos, data + c.pos + bytes);
    out = std::move(img);
    return true;
}

bool LoadPnm(const std::string& path, PnmImage& out, std::string& error) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return error = "cannot open " + path, false;
    std::vector<uint8_t> data;
    uint8_t buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
        data.insert(data.end(), buffer, buffer + n);
        if (data.size() > kMaxPnmBytes + 4096) break;
    }
    std::fclose(f);
    return ParsePnm(data.data(), data.size(), out, error);
}

Rgb12 PnmPixel(const PnmImage& image, uint32_t x, uint32_t y) {
    const bool wide = image.maxValue > 255;
    const size_t index = (size_t(y) * image.width + x) * image.channels;
    uint16_t v[3];
    for (uint32_t k = 0; k < 3; ++k) {
        const size_t s = index + (image.channels == 3 ? k : 0);
        const uint32_t raw = wide ? (image.samples[2 * s] << 8) | image.samples[2 * s + 1]
                                  : image.samples[s];
        v[k] = uint16_t((raw * 4095u + image.maxValue / 2) / image.maxValue);
    }
    return {v[0], v[1], v[2]};
}
