#include "simulator/tools/pnm_output.h"

#include <fstream>

namespace {

std::string Header(const char* magic, const ReferenceImage& image, const char* maxValue) {
    std::string h = std::string(magic) + "\n" + std::to_string(image.pixels) + " " +
                    std::to_string(image.lines) + "\n";
    return maxValue ? h + maxValue + "\n" : h;
}

}  // namespace

std::string PnmBytes(const ReferenceImage& image) {
    const std::string samples(image.data.begin(), image.data.end());
    switch (image.colourType) {
        case kColourTypeLineArt: {
            std::string bits = samples;
            for (char& b : bits) b = char(~uint8_t(b));
            return Header("P4", image, nullptr) + bits;
        }
        case kColourTypeFastGray:
        case kColourTypeGray: return Header("P5", image, "255") + samples;
        case kColourTypeColour36: {
            std::string swapped = samples;  // little-endian samples to PNM's big-endian
            for (size_t i = 0; i + 1 < swapped.size(); i += 2) std::swap(swapped[i], swapped[i + 1]);
            return Header("P6", image, "65535") + swapped;
        }
        default: return Header("P6", image, "255") + samples;
    }
}

bool WritePnm(const ReferenceImage& image, const std::string& path, std::string& error) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const std::string bytes = PnmBytes(image);
    if (!out.write(bytes.data(), std::streamsize(bytes.size())) || !out.flush())
        return error = "cannot write " + path, false;
    return true;
}
