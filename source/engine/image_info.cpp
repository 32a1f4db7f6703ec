#include "engine/image_info.h"

#include <cstring>

#include "engine/delivered_image.h"

namespace {

TW_FIX32 Whole(int32_t value) { return TW_FIX32{static_cast<TW_INT16>(value), 0}; }

int32_t ReportedResolution(const ImageInfoInput& in) {
    const ScanSettings& s = *in.settings;
    int32_t resolution = s.Destination == 1022 ? int32_t(in.job->resolution.effective) : s.ScanRes;
    if (in.faxApplication && s.ScanRes == 198) resolution = 200;
    if (s.DpiScale >= 1 && s.DpiScale <= 4) resolution = int32_t(in.job->resolution.effective);
    return resolution;
}

void SetSamples(TW_IMAGEINFO& info, const ScanSettings& s) {
    auto set = [&](int samples, int bits, int pixelBits, int type) {
        info.SamplesPerPixel = static_cast<TW_INT16>(samples);
        for (int i = 0; i < samples; ++i) info.BitsPerSample[i] = static_cast<TW_INT16>(bits);
        info.BitsPerPixel = static_cast<TW_INT16>(pixelBits);
        info.PixelType = static_cast<TW_INT16>(type);
    };
    switch (s.ScanMode) {
        case kModeLineArt: return set(1, 1, 1, TWPT_BW);
        case kModeFastGray:
        case kModeGray: return set(1, 8, 8, TWPT_GRAY);
        default:
            if (s.ScanSubMode == kSubModeCmyk) return set(4, 8, 32, TWPT_CMYK);
            if (s.ScanSubMode == kSubMode36Bit) return set(3, 16, 48, TWPT_RGB);
            return set(3, 8, 24, TWPT_RGB);
    }
}

}  // namespace

uint16_t PixelWidthOf(uint32_t bytesPerLine, uint16_t mode) {
    if (mode == kModeLineArt) return static_cast<uint16_t>(bytesPerLine * 8);
    if (mode == kModeColor) return static_cast<uint16_t>(bytesPerLine / 3);
    return static_cast<uint16_t>(bytesPerLine);
}

bool FillImageInfo(const ImageInfoInput& in, TW_IMAGEINFO& info) {
    const ScanSettings& s = *in.settings;
    std::memset(&info, 0, sizeof info);
    info.XResolution = info.YResolution = Whole(ReportedResolution(in));
    SetSamples(info, s);
    info.Planar = 0;
    info.Compression = TWCP_NONE;
    DeliveredImage image;
    if (!DeliveredImageOf(*in.job, s.ScanMode, s.ScanSubMode, *in.maps, &image)) return false;
    info.ImageWidth = static_cast<TW_INT32>(image.shape.pixels);
    info.ImageLength = static_cast<TW_INT32>(image.rows);
    return true;
}
