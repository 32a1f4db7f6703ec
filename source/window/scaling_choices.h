// Which output scalings and quality factors the Main page offers, so that the effective
// resolution never exceeds what the engine delivers (2400 dpi; 600 for 36-bit colour).
#pragma once

#include <cstdint>
#include <vector>

// The output-scaling list's fixed entries, in list order.
constexpr uint16_t kScalingEntries[] = {25, 50, 75, 100, 200, 300, 400, 500, 600};

struct ScalingOffer {
    bool enabled = true;
    std::vector<uint16_t> values;  // offered entries, in list order ("Custom" not included)
    bool forceHundred = false;     // "Scaling" becomes 100
};

// "Quality Factor" as tenths: values below 10 are whole numbers and are multiplied by 10.
uint32_t QualityTenths(int32_t qualityFactor);

// Every mode but 36-bit colour: E = quality x "ScanRes" / 10 decides which of 200 to 600
// stay (25 to 100 always do).
ScalingOffer OfferedScalings(int32_t qualityFactor, uint16_t scanRes);

// A custom scaling listed after "Custom" stays while E x value / 100 is neither 0 nor above
// 2400.
bool CustomScalingFits(int32_t qualityFactor, uint16_t scanRes, uint16_t value);

// 36-bit colour, against 600 dpi. With the quality factor in use (destination 1022):
// the quality factors first, from P = whole scaling x "ScanRes" (tenths: 10 ... 30), then the
// scalings 100 ... n x 100 from E. Otherwise the scalings from 600 / "ScanRes".
std::vector<uint32_t> Offered36BitQualities(uint16_t scaling, uint16_t scanRes);
ScalingOffer Offered36BitScalings(bool qualityInUse, int32_t qualityFactor, uint16_t scanRes);

// Destination 1022: the quality factors (tenths) offered for a screen ruling R, and whether the
// list stays enabled.
struct QualityOffer {
    bool enabled = true;
    std::vector<uint32_t> tenths;
};
QualityOffer OfferedQualities(uint32_t ruling);

// The selection after a rebuild: the previous one when it is still offered, else the first.
template <typename T>
T KeepIfOffered(const std::vector<T>& offered, T previous) {
    for (T v : offered)
        if (v == previous) return previous;
    return offered.empty() ? previous : offered.front();
}
