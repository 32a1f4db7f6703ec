// The record of the current scan parameters, as the profile keys name them.
#pragma once

#include <cstdint>

// Scan modes ("ScanMode" is stored as the base identifier plus the colour sub-mode).
constexpr uint16_t kModeLineArt = 1011;
constexpr uint16_t kModeFastGray = 1012;
constexpr uint16_t kModeGray = 1013;
constexpr uint16_t kModeColor = 1014;
constexpr uint16_t kSubMode24Bit = 0;
constexpr uint16_t kSubModeCmyk = 1;
constexpr uint16_t kSubMode36Bit = 2;

constexpr int32_t kDescreenNone = 1017;
constexpr int32_t kDescreenNewspaper = 1018;  // 1019 magazine, 1020 art print
constexpr int32_t kDescreenArtPrint = 1020;
constexpr int32_t kDestinationMonitor = 1021;
constexpr int32_t kDestinationHalftone = 1022;  // the quality factor counts

struct ChannelAdjust {
    uint8_t highlight;
    uint8_t shadow;
    uint8_t gamma;  // tenths: 18 = 1.8
    uint8_t spare;
};

enum Channel { kMaster = 0, kRed = 1, kGreen = 2, kBlue = 3 };

// The tone and colour settings, copied whole into working copies before every scan.
struct EnhancementRecord {
    ChannelAdjust channel[4];  // master, red, green, blue
    uint16_t Channel;          // the channel being edited
    uint32_t spare1;
    int32_t CirclePos[2];
    uint8_t PixelRGB[3];
    int32_t Hue;
    int32_t Saturation;
    uint32_t spare2;
    int8_t ColorBalance[3];
};
static_assert(sizeof(EnhancementRecord) == 52, "13 32-bit words");

struct ScanSettings {
    uint16_t ScanMode = kModeColor;
    uint16_t ScanSubMode = kSubMode24Bit;
    uint8_t ScanSource = 0;  // 0 reflective, 1 positive, 2 negative film, 3 feeder
    uint16_t ScanRes = 300;
    uint16_t CustomRes[5] = {};
    int32_t Destination = kDestinationMonitor;
    int32_t QualityFactor = 10;
    int32_t DeScreen = kDescreenNone;
    int32_t OutputMatch = 0;
    uint16_t Scaling = 100;
    uint16_t FilterMode = 0;
    EnhancementRecord Enhancement{};
    uint16_t DpiScale = 0;
    uint8_t Velocity = 1;
    uint16_t UnitFlag = 0;
    uint16_t Frame[4] = {78, 81, 150, 145};
    int32_t PrescanHiRes = 0;
};

// What a load needs to know beyond the profile.
struct SettingsLoadContext {
    bool optionInstalled = false;    // a transparency unit or feeder is fitted
    bool neutralGammaApp = false;    // the application's product name is string 707
};

// Neutral tone and colour values for the three colour channels and the wheel.
void NeutraliseColorChannels(EnhancementRecord& record);
