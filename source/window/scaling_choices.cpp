#include "window/scaling_choices.h"

namespace {

constexpr uint32_t kScalingLimit = 2400;
constexpr uint32_t kLimit36Bit = 600;

ScalingOffer Disabled() {
    ScalingOffer offer;
    offer.enabled = false;
    offer.values = {100};
    offer.forceHundred = true;
    return offer;
}

// 25, 50, 75, 100, then those of 200 ... 600 that stay.
ScalingOffer UpToHundredAnd(std::initializer_list<uint16_t> beyond) {
    ScalingOffer offer;
    offer.values = {25, 50, 75, 100};
    offer.values.insert(offer.values.end(), beyond);
    return offer;
}

// 100, 200, ... n x 100 (at most 600).
ScalingOffer HundredsUpTo(uint32_t n) {
    ScalingOffer offer;
    for (uint32_t k = 1; k <= n && k <= 6; ++k) offer.values.push_back(uint16_t(100 * k));
    return offer;
}

}  // namespace

uint32_t QualityTenths(int32_t qualityFactor) {
    const uint32_t q = qualityFactor > 0 ? uint32_t(qualityFactor) : 10;
    return q < 10 ? q * 10 : q;
}

ScalingOffer OfferedScalings(int32_t qualityFactor, uint16_t scanRes) {
    const uint32_t e = QualityTenths(qualityFactor) * scanRes / 10;
    switch (e) {
        case 600: return UpToHundredAnd({200, 300, 400});
        case 800: return UpToHundredAnd({200, 300});
        case 1200: return UpToHundredAnd({200});
        case 2400: return UpToHundredAnd({});
        default: break;
    }
    if (e > 1200) return Disabled();
    // 200 always; each larger one while E stays low enough for it.
    ScalingOffer offer = UpToHundredAnd({200});
    constexpr struct { uint16_t value; uint32_t most; } kKept[] = {{300, 800}, {400, 600}, {500, 480}, {600, 400}};
    for (const auto& k : kKept)
        if (e <= k.most) offer.values.push_back(k.value);
    return offer;
}

bool CustomScalingFits(int32_t qualityFactor, uint16_t scanRes, uint16_t value) {
    const uint64_t e = QualityTenths(qualityFactor) * scanRes / 10;
    const uint64_t effective = e * value / 100;
    return effective != 0 && effective <= kScalingLimit;
}

std::vector<uint32_t> Offered36BitQualities(uint16_t scaling, uint16_t scanRes) {
    const uint32_t p = uint32_t(scaling / 100) * scanRes;
    if (p >= kLimit36Bit || p == 0) return {10};
    const double x = double(kLimit36Bit) / p;
    std::vector<uint32_t> offered = {10};
    for (uint32_t tenths = 15; tenths <= 30; tenths += 5)
        if (x >= tenths / 10.0) offered.push_back(tenths);
    return offered;
}

ScalingOffer Offered36BitScalings(bool qualityInUse, int32_t qualityFactor, uint16_t scanRes) {
    if (scanRes == 0) return HundredsUpTo(1);
    if (qualityInUse) {
        const uint32_t e = QualityTenths(qualityFactor) * scanRes / 10;
        if (e == 0 || e >= kLimit36Bit) return HundredsUpTo(1);
        return HundredsUpTo(kLimit36Bit / e);
    }
    // One entry per started whole unit of 600 / "ScanRes".
    const uint32_t n = (kLimit36Bit + scanRes - 1) / scanRes;
    return HundredsUpTo(n == 0 ? 1 : n);
}

QualityOffer OfferedQualities(uint32_t ruling) {
    QualityOffer offer;
    const std::vector<uint32_t> all = {10, 15, 20, 25, 30};
    if (ruling == 800) offer.tenths = all;
    else if (ruling > 800 && ruling <= 960) offer.tenths = {10, 15, 20, 25};
    else if (ruling > 960 && ruling <= 1200) offer.tenths = {10, 15, 20};
    else if (ruling > 1200 && ruling < 1600) offer.tenths = {10, 15};
    else if (ruling == 1600) offer.tenths = {10, 15, 30};
    else if (ruling == 2400) offer.tenths = {10, 20, 30};
    else if (ruling > 1600) {
        offer.tenths = {10};
        offer.enabled = false;
    } else {
        offer.tenths = all;
    }
    return offer;
}
