#include <cstring>

#include "settings/profile_fields.h"
#include "settings/settings_store.h"

SettingsRecords TheSettings;

namespace {

// A value read as decimal text, with the key's default taking over when it is out of range.
int32_t ReadRanged(const char* section, const char* key, const char* def, uint32_t readChars,
                   int32_t low, int32_t high) {
    int32_t v = DecimalValue(ReadProfileText(section, key, def, readChars));
    return (v < low || v > high) ? DecimalValue(def) : v;
}

void LoadScanMode(const char* section, ScanSettings& s) {
    int32_t v = DecimalValue(ReadProfileText(section, "ScanMode", "1014", 4));
    if (v >= kModeLineArt && v <= kModeGray) {
        s.ScanMode = static_cast<uint16_t>(v);
        s.ScanSubMode = 0;
    } else if (v >= kModeColor && v <= kModeColor + kSubMode36Bit) {
        s.ScanMode = kModeColor;
        s.ScanSubMode = static_cast<uint16_t>(v - kModeColor);
    }  // anything else leaves the mode as it was
}

void LoadScanSource(const char* section, const SettingsLoadContext& context, ScanSettings& s) {
    int32_t v = ReadRanged(section, "ScanSource", "0", 1, 0, 3);
    // Without a transparency unit or feeder only the flatbed exists; the feeder is never
    // where a session starts.
    if (!context.optionInstalled || v == 3) v = 0;
    s.ScanSource = static_cast<uint8_t>(v);
}

// Four fields of five, in the order red, green, blue, master.
void ReadChannelFields(const char* section, const char* key, const char* def, int32_t out[4]) {
    const std::string text = ReadProfileText(section, key, def, 20);
    for (int i = 0; i < 4; ++i) out[i] = DecimalField(text, size_t(i) * 5, 5);
}

constexpr Channel kFieldChannel[4] = {kRed, kGreen, kBlue, kMaster};

uint8_t ToByte(int32_t v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); }

void LoadTone(const char* section, const SettingsLoadContext& context, EnhancementRecord& e) {
    int32_t highlight[4], shadow[4], gamma[4];
    ReadChannelFields(section, "Highlight", "  255  255  255  255", highlight);
    ReadChannelFields(section, "Shadow", "    0    0    0    0", shadow);
    ReadChannelFields(section, "Gamma", "   18   18   18   10", gamma);
    for (int i = 0; i < 4; ++i) {
        ChannelAdjust& c = e.channel[kFieldChannel[i]];
        if (highlight[i] <= 0) highlight[i] = 255;
        if (shadow[i] >= highlight[i]) shadow[i] = 0;
        c.highlight = ToByte(highlight[i]);
        c.shadow = ToByte(shadow[i]);
        c.gamma = context.neutralGammaApp ? 10 : ToByte(gamma[i]);
    }
}

void LoadColor(const char* section, EnhancementRecord& e) {
    e.Hue = DecimalValue(ReadProfileText(section, "Hue", "0", 4));
    const std::string circle = ReadProfileText(section, "CirclePos", "   44  115", 10);
    e.CirclePos[0] = DecimalField(circle, 0, 5);
    e.CirclePos[1] = DecimalField(circle, 5, 5);
    const std::string pixel = ReadProfileText(section, "PixelRGB", "  255  255  255", 15);
    for (int i = 0; i < 3; ++i) e.PixelRGB[i] = ToByte(DecimalField(pixel, size_t(i) * 5, 5));
    e.Saturation = DecimalValue(ReadProfileText(section, "Saturation", "0", 4));
    const std::string balance =
        ReadProfileText(section, "ColorBalance", "    0    0    0", 15);
    for (int i = 0; i < 3; ++i) {
        int32_t v = DecimalField(balance, size_t(i) * 5, 5);
        e.ColorBalance[i] = static_cast<int8_t>(v < -100 || v > 100 ? 0 : v);
    }
    int32_t channel = DecimalValue(ReadProfileText(section, "Channel", "    0", 4));
    e.Channel = static_cast<uint16_t>(channel < 0 || channel > 3 ? 0 : channel);
}

void LoadCustomResolutions(const char* section, ScanSettings& s) {
    const std::string text =
        ReadProfileText(section, "CustomRes", "    0    0    0    0    0", 25);
    for (int i = 0; i < 5; ++i) {
        int32_t v = DecimalField(text, size_t(i) * 5, 5);
        s.CustomRes[i] = static_cast<uint16_t>(v < 0 || v > 65535 ? 0 : v);
    }
}

void LoadFrame(const char* section, ScanSettings& s) {
    const std::string text = ReadProfileText(section, "Frame", "  78  81 150 145", 16);
    for (int i = 0; i < 4; ++i) {
        int32_t v = DecimalField(text, size_t(i) * 4, 4);
        s.Frame[i] = static_cast<uint16_t>(v < 0 ? 0 : v);
    }
}

// Profile value 1016 keeps the record as loaded for CMYK output and scans with neutral colour.
void SplitCmykRecord(SettingsRecords& records) {
    EnhancementRecord& e = records.settings.Enhancement;
    records.CmykEnhancement = e;
    NeutraliseColorChannels(e);
    records.WorkingEnhancement = e;
}

}  // namespace

void NeutraliseColorChannels(EnhancementRecord& e) {
    for (Channel c : {kRed, kGreen, kBlue}) {
        e.channel[c].highlight = 255;
        e.channel[c].shadow = 0;
        e.channel[c].gamma = 10;
    }
    e.Hue = 0;
    e.CirclePos[0] = 44;
    e.CirclePos[1] = 115;
    std::memset(e.PixelRGB, 255, sizeof e.PixelRGB);
    e.Saturation = 0;
    std::memset(e.ColorBalance, 0, sizeof e.ColorBalance);
}

void LoadScanSettings(const char* section, const SettingsLoadContext& context,
                      SettingsRecords& records) {
    ScanSettings& s = records.settings;
    LoadScanMode(section, s);
    LoadScanSource(section, context, s);
    s.ScanRes = static_cast<uint16_t>(ReadRanged(section, "ScanRes", "300", 4, 1, 9999));
    LoadCustomResolutions(section, s);
    s.Destination = ReadRanged(section, "Destination", "1021", 4, 1021, 1023);
    s.QualityFactor = ReadRanged(section, "Quality Factor", "10", 2, 10, 30);
    s.DeScreen = ReadRanged(section, "DeScreen", "1017", 4, 1017, 1020);
    s.OutputMatch = DecimalValue(ReadProfileText(section, "OutputMatch", "0", 1));
    s.Scaling = static_cast<uint16_t>(ReadRanged(section, "Scaling", "100", 3, 1, 999));
    LoadTone(section, context, s.Enhancement);
    LoadColor(section, s.Enhancement);
    s.DpiScale = static_cast<uint16_t>(ReadRanged(section, "DpiScale", "0", 4, 0, 5));
    s.Velocity = static_cast<uint8_t>(ReadRanged(section, "Velocity", "1", 3, 0, 255));
    s.UnitFlag = static_cast<uint16_t>(ReadRanged(section, "UnitFlag", "    0", 1, 0, 3));
    // "OutputMode" is what decides output matching; "OutputMatch" only records it.
    s.OutputMatch = DecimalValue(ReadProfileText(section, "OutputMode", "0", 1));
    s.FilterMode = static_cast<uint16_t>(ReadRanged(section, "FilterMode", "0", 1, 0, 8));
    LoadFrame(section, s);
    if (s.ScanMode == kModeColor && s.ScanSubMode == kSubMode36Bit) SplitCmykRecord(records);
}
