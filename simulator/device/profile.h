// The scanner a simulator instance plays: model, bed, installed options, firmware and the
// inquiry data it answers with. Geometry helpers convert the bed to the model's optical scale.
#pragma once

#include <cstdint>

#include "common/request_blocks.h"

// How the four optical-resolution characters of the inquiry are written. The data source reads
// them as 600/606/800/1200, the prescan library as 6000/6060/8000/1200; only the 1200 dpi model
// satisfies both, so the other models answer in one reading or the other.
enum class ResolutionDigits : uint8_t { DataSource, Prescan };

struct ScannerProfile {
    uint16_t opticalResolution = 1200;  // 600, 606, 800 or 1200
    bool narrowBed = false;             // "KVC-" 8.5 x 11.5 in; else "KVT-" 11.7 x 17.0 in
    bool transparencyUnit = false;      // sources 1 and 2
    bool documentFeeder = false;        // source 3
    char firmware[3] = {'1', '0', '5'};  // inquiry byte 42, then bytes 44-45
    uint8_t hardwareVariant = 0;         // inquiry byte 127
    uint8_t capability = kCapabilityOurScanner;
    // Reference levels of the shading hardware per channel (red, green, blue, single). The
    // default has many divisors of value x 4095 between 3000 and 3800, so the sensor's white
    // levels can be chosen such that a correct shading calibration cancels them exactly.
    uint16_t calibration[4] = {30624, 30624, 30624, 30624};
    ResolutionDigits digits = ResolutionDigits::DataSource;
};

bool IsKnownOpticalResolution(uint32_t dpi);

// Window coordinates count units of this scale: 1200 for the 606 model, else the resolution.
uint16_t OpticalScale(const ScannerProfile& profile);
// Highest resolution a set-up may ask for.
uint16_t MaxResolution(const ScannerProfile& profile);
// Entries of each tone table: 4096 for the 1200 dpi model, else 256.
uint16_t ToneTableEntries(const ScannerProfile& profile);

// The area a source may scan, in optical-scale units. The transparency unit always offers the
// wide area, as the prescan library assumes for film on either bed.
struct BedExtent {
    uint32_t width;
    uint32_t length;
};
BedExtent ScanArea(const ScannerProfile& profile, uint8_t source);
bool SourceInstalled(const ScannerProfile& profile, uint8_t source);

// The inquiry reply data (bytes 10-133; the header is left alone).
void FillInquiry(const ScannerProfile& profile, InquiryBlock& block);
