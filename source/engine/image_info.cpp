#include "image_info.h"

#include <cstring>

namespace {

TW_FIX32 Whole(int32_t value) { return TW_FIX32{static_cast<TW_INT16>(value), 0}; }

int32_t ReportedResolution(const ImageInfoInput& in) {
    const ScanSettings& s = *in.settings;
    int32_t resolution = s.Destination == 1022 ? in.job->EffectiveResolution : s.ScanRes;
    if (in.faxApplication && s.ScanRes == 198) resolution = 200;
    if (s.DpiScale >= 1 && s.DpiScale <= 4) {
        const int32_t step = in.opticalResolution == 600 ? 1200 : in.opticalResolution == 800 ? 1600 : 2400;
        resolution = s.DpiScale * step;
    }
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

void FillImageInfo(const ImageInfoInput& in, TW_IMAGEINFO& info) {
    const ScanSettings& s = *in.settings;
    const ScanJobState& job = *in.job;
    std::memset(&info, 0, sizeof info);
    info.XResolution = info.YResolution = Whole(ReportedResolution(in));

    const bool reduced = in.reducedBytes > 0 && in.reducedLines > 0;
    const uint32_t lines = reduced ? in.reducedLines : job.geometry.lines;
    int64_t width = reduced ? PixelWidthOf(in.reducedBytes, s.ScanMode) : job.geometry.pixelWidth;
    const int64_t effective = job.EffectiveResolution;
    if (job.HalfResolutionScan) {
        const int64_t even = effective & ~int64_t(1);
        if (even >= 1201 && even <= 2400) width = (effective / 2) * width / 600;
    } else if (effective >= 601 && effective <= 1200) {
        width = width * s.Scaling * s.ScanRes / 60000;
    }
    int64_t imageWidth = job.HalfResolutionScan ? 2 * width : width;
    int64_t imageLength = job.HalfResolutionScan ? 2 * int64_t(lines) : lines;
    if (s.DpiScale >= 2 && s.DpiScale <= 4) {
        imageWidth = int64_t(s.DpiScale) * width * 4;
        imageLength = int64_t(lines) * s.DpiScale * 2;
    }
    if (s.ScanMode == kModeColor && s.ScanSubMode == kSubMode36Bit) imageWidth = job.geometry.pixelWidth / 2;
    info.ImageWidth = static_cast<TW_INT32>(imageWidth);
    info.ImageLength = static_cast<TW_INT32>(imageLength);
    SetSamples(info, s);
    info.Planar = 0;
    info.Compression = TWCP_NONE;
}
