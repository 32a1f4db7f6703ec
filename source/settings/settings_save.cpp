#include <vector>

#include "platform/platform.h"
#include "settings/language.h"
#include "settings/profile_fields.h"
#include "settings/settings_store.h"

namespace {

void WriteList(const char* section, const char* key, const std::vector<int32_t>& values,
               int width = 5) {
    plat::WriteProfileString(section, key, FixedWidthList(values, width).c_str());
}

// Highlight, shadow and gamma are stored in the order red, green, blue, master.
std::vector<int32_t> ChannelValues(const EnhancementRecord& e, uint8_t ChannelAdjust::*field) {
    return {e.channel[kRed].*field, e.channel[kGreen].*field, e.channel[kBlue].*field,
            e.channel[kMaster].*field};
}

void SaveTone(const char* section, const EnhancementRecord& e) {
    WriteList(section, "Highlight", ChannelValues(e, &ChannelAdjust::highlight));
    WriteList(section, "Shadow", ChannelValues(e, &ChannelAdjust::shadow));
    std::vector<int32_t> gamma;
    for (int32_t g : ChannelValues(e, &ChannelAdjust::gamma)) gamma.push_back(int8_t(g));
    WriteList(section, "Gamma", gamma);
}

void SaveColor(const char* section, const EnhancementRecord& e) {
    WriteList(section, "Hue", {e.Hue});
    WriteList(section, "CirclePos", {e.CirclePos[0], e.CirclePos[1]});
    WriteList(section, "PixelRGB", {e.PixelRGB[0], e.PixelRGB[1], e.PixelRGB[2]});
    WriteList(section, "Saturation", {e.Saturation});
    WriteList(section, "ColorBalance", {e.ColorBalance[0], e.ColorBalance[1], e.ColorBalance[2]});
    WriteList(section, "Channel", {e.Channel});
}

void SaveLanguage(int languageIndex, bool narrowBed) {
    const char* section = narrowBed ? "KVTINFO_SP" : "KVTINFO_A3";
    plat::WriteProfileString(section, "LANGUAGE", LanguageProfileValue(languageIndex, narrowBed));
}

}  // namespace

void SaveCustomResolutions(const ScanSettings& s, const char* section) {
    WriteList(section, "CustomRes", std::vector<int32_t>(s.CustomRes, s.CustomRes + 5));
}

void SaveScanSettings(const ScanSettings& s, const SaveContext& context) {
    const char* section = context.section;
    WriteProfileDecimal(section, "ScanMode", s.ScanMode + (s.ScanMode == kModeColor ? s.ScanSubMode : 0));
    WriteProfileDecimal(section, "ScanSource", s.ScanSource);
    WriteProfileDecimal(section, "ScanRes", s.ScanRes);
    WriteList(section, "CustomRes", std::vector<int32_t>(s.CustomRes, s.CustomRes + 5));
    WriteProfileDecimal(section, "Destination", s.Destination);
    WriteProfileDecimal(section, "Quality Factor", s.QualityFactor);
    WriteProfileDecimal(section, "DeScreen", s.DeScreen);
    WriteProfileDecimal(section, "OutputMatch", s.OutputMatch);
    WriteProfileDecimal(section, "Scaling", s.Scaling);
    WriteProfileDecimal(section, "FilterMode", s.FilterMode);
    SaveTone(section, s.Enhancement);
    SaveColor(section, s.Enhancement);
    WriteProfileDecimal(section, "UnitFlag", s.UnitFlag);
    SaveLanguage(context.languageIndex, context.narrowBed);
    WriteList(section, "Frame",
              {context.frame[0], context.frame[1], context.frame[2], context.frame[3]}, 4);
    WriteProfileDecimal(section, "DpiScale", s.DpiScale);
    WriteProfileDecimal(section, "Velocity", s.Velocity);
    WriteProfileDecimal(section, "PrescanHiRes", s.PrescanHiRes);
}

const char* ModelSectionName(uint16_t opticalResolution) {
    switch (opticalResolution) {
        case 600: return "KVT-4100PRO";
        case 606: return "KVT-4160S";
        case 800: return "KVT-4300PRO";
        case 1200: return "A3 SCANNER";
        default: return nullptr;
    }
}
