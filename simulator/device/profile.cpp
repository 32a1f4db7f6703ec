#include "simulator/device/profile.h"

#include <cstring>

bool IsKnownOpticalResolution(uint32_t dpi) {
    return dpi == 600 || dpi == 606 || dpi == 800 || dpi == 1200;
}

uint16_t OpticalScale(const ScannerProfile& profile) {
    return profile.opticalResolution == 606 ? 1200 : profile.opticalResolution;
}

uint16_t MaxResolution(const ScannerProfile& profile) { return OpticalScale(profile); }

uint16_t ToneTableEntries(const ScannerProfile& profile) {
    return profile.opticalResolution == 1200 ? 4096 : 256;
}

BedExtent ScanArea(const ScannerProfile& profile, uint8_t source) {
    const uint32_t scale = OpticalScale(profile);
    const bool film = source == 1 || source == 2;
    if (profile.narrowBed && !film) return {85 * scale / 10, 115 * scale / 10};
    return {117 * scale / 10, 170 * scale / 10};
}

bool SourceInstalled(const ScannerProfile& profile, uint8_t source) {
    switch (source) {
        case 0: return true;
        case 1:
        case 2: return profile.transparencyUnit;
        case 3: return profile.documentFeeder;
        default: return false;
    }
}

namespace {

void PutText(uint8_t* dst, const char* text, size_t width) {
    const size_t n = std::strlen(text);
    for (size_t i = 0; i < width; ++i) dst[i] = i < n ? uint8_t(text[i]) : uint8_t(' ');
}

void PutResolutionDigits(const ScannerProfile& profile, char (&out)[4]) {
    // "0600" keeps four digits for any decimal reading; the prescan form is ten times the value.
    const char* text = "1200";
    const bool prescan = profile.digits == ResolutionDigits::Prescan;
    switch (profile.opticalResolution) {
        case 600: text = prescan ? "6000" : "0600"; break;
        case 606: text = prescan ? "6060" : "0606"; break;
        case 800: text = prescan ? "8000" : "0800"; break;
        default: break;
    }
    std::memcpy(out, text, 4);
}

}  // namespace

void FillInquiry(const ScannerProfile& profile, InquiryBlock& block) {
    uint8_t* bytes = reinterpret_cast<uint8_t*>(&block);
    std::memset(bytes + sizeof(ScannerRequestHeader), 0,
                sizeof(InquiryBlock) - sizeof(ScannerRequestHeader));
    // A SCSI-style inquiry: device type 6 (scanner), then vendor, product and revision texts.
    block.data10[0] = 0x06;
    block.data10[2] = 0x02;
    block.data10[4] = uint8_t(kInquiryDataBytes - 5);
    PutText(block.data10 + 8, "SIMULATD", 8);
    PutText(block.data10 + 16, "A3 FLATBED SCAN", 16);
    block.firmwareMajor = profile.firmware[0];
    block.firmwareDot = '.';
    block.firmwareMinor[0] = profile.firmware[1];
    block.firmwareMinor[1] = profile.firmware[2];
    std::memcpy(block.modelPrefix, profile.narrowBed ? "KVC-" : "KVT-", 4);
    PutResolutionDigits(profile, block.opticalResolution);
    block.capability = profile.capability;
    for (int k = 0; k < 4; ++k) {
        block.calibration[k][0] = uint8_t(profile.calibration[k]);
        block.calibration[k][1] = uint8_t(profile.calibration[k] >> 8);
    }
    block.optionInstalled = (profile.transparencyUnit || profile.documentFeeder) ? 1 : 0;
    block.hardwareVariant = profile.hardwareVariant;
}
