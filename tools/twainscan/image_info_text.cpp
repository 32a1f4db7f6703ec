#include "tools/twainscan/image_info_text.h"

#include <cstdio>

#include "tools/twainscan/capability_calls.h"
#include "tools/twainscan/twain_names.h"

namespace twainscan {
namespace {

std::string Line(const char* key, const std::string& value) {
    return std::string("image ") + key + ": " + value + "\n";
}

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

// Only the samples the pixel has; a source that claims more than eight shows eight.
std::string SampleBits(const TW_IMAGEINFO& info) {
    std::string text;
    const int samples = info.SamplesPerPixel < 0 ? 0 : info.SamplesPerPixel > 8 ? 8
                                                                                : info.SamplesPerPixel;
    for (int i = 0; i < samples; ++i) text += (i ? "," : "") + std::to_string(info.BitsPerSample[i]);
    return text;
}

}  // namespace

std::string ImageInfoLines(const TW_IMAGEINFO& info) {
    return Line("XResolution", Number(FromFix32(info.XResolution))) +
           Line("YResolution", Number(FromFix32(info.YResolution))) +
           Line("ImageWidth", std::to_string(info.ImageWidth)) +
           Line("ImageLength", std::to_string(info.ImageLength)) +
           Line("SamplesPerPixel", std::to_string(info.SamplesPerPixel)) +
           Line("BitsPerSample", SampleBits(info)) +
           Line("BitsPerPixel", std::to_string(info.BitsPerPixel)) +
           Line("Planar", std::to_string(info.Planar)) +
           Line("PixelType", PixelTypeName(info.PixelType)) +
           Line("Compression", std::to_string(info.Compression));
}

}  // namespace twainscan
