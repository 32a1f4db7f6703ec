#include "window/main_window_model.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace {

bool SameIgnoringCase(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return i == a.size() && b[i] == 0;
}

int32_t Within(int32_t v, int32_t low, int32_t high) { return std::max(low, std::min(v, high)); }

}  // namespace

bool BrandIsSolenne(const std::string& brand) { return SameIgnoringCase(brand, "Solenne"); }

std::string MainWindowTitle(const std::string& brand, const std::string& model) {
    return BrandIsSolenne(brand) ? brand + " " + model : std::string();
}

WindowPlace MainWindowPlace(int32_t screenWidth, int32_t screenHeight, int32_t width,
                            int32_t height) {
    WindowPlace p{screenWidth / 2 - width, screenHeight / 2 - height};
    if (p.left < 1) p.left = 5;
    if (p.top < 1) p.top = 5;
    return p;
}

void ResetWindowSettings(ScanSettings& s, bool neutralGammaApplication) {
    s.ScanMode = kModeColor;
    s.ScanSubMode = kSubMode24Bit;
    s.ScanSource = 0;
    s.ScanRes = 300;
    s.Destination = kDestinationMonitor;
    s.QualityFactor = 10;
    s.DeScreen = kDescreenNone;
    s.OutputMatch = 0;
    s.Scaling = 100;
    s.FilterMode = 0;
    s.DpiScale = 0;
    EnhancementRecord& e = s.Enhancement;
    // Colour channels, wheel, balance and saturation as the settings' defaults have them.
    NeutraliseColorChannels(e);
    e.channel[kMaster] = ChannelAdjust{255, 0, 10, 0};
    if (!neutralGammaApplication)
        for (Channel c : {kRed, kGreen, kBlue}) e.channel[c].gamma = 18;
    e.Channel = 0;
}

AboutTexts AboutPageTexts(const AboutFacts& f) {
    AboutTexts t;
    const bool branded = BrandIsSolenne(f.brand);
    t.model = (branded ? f.brand + " " : std::string()) + f.modelName;
    t.version = t.model + " " + f.twainWord + f.swVersion;
    t.firmware = f.firmwareWord + f.firmware;
    t.maker = branded ? f.makerName : std::string();
    return t;
}

double BedInches(float reported) { return std::round(double(reported) * 1000.0) / 1000.0; }

PreviewSize PreviewAreaSize(double bedWidthInches, double bedLengthInches, int32_t density,
                            int32_t screenHeight) {
    PreviewSize p{static_cast<int32_t>(bedWidthInches * density),
                  static_cast<int32_t>(bedLengthInches * density)};
    if (screenHeight > 0 && screenHeight < p.height && bedLengthInches > 0) {
        p.height = screenHeight * 8 / 10;
        p.width = static_cast<int32_t>(p.height * bedWidthInches / bedLengthInches);
    }
    return p;
}

void PreviewScale(double bedWidthInches, double bedLengthInches, const PreviewRect& client,
                  SizeContext& context) {
    const int32_t w = client.right - client.left, h = client.bottom - client.top;
    context.inchesPerPixelX = w > 0 ? bedWidthInches / w : 0.0;
    context.inchesPerPixelY = h > 0 ? bedLengthInches / h : 0.0;
}

PreviewRect RegionOfFrame(const uint16_t (&frame)[4], const PreviewRect& client) {
    PreviewRect r{std::min<int32_t>(frame[0], frame[2]), std::min<int32_t>(frame[1], frame[3]),
                  std::max<int32_t>(frame[0], frame[2]), std::max<int32_t>(frame[1], frame[3])};
    r.left = Within(r.left, client.left, client.right);
    r.right = Within(r.right, client.left, client.right);
    r.top = Within(r.top, client.top, client.bottom);
    r.bottom = Within(r.bottom, client.top, client.bottom);
    return r;
}

void FrameOfRegion(const PreviewRect& region, uint16_t (&frame)[4]) {
    const int32_t v[4] = {region.left, region.top, region.right, region.bottom};
    for (int i = 0; i < 4; ++i) frame[i] = static_cast<uint16_t>(Within(v[i], 0, 0xFFFF));
}
