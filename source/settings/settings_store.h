// Loading, saving and resetting the scan settings in WIN.INI.
#pragma once

#include "settings/scan_settings.h"

// The settings, the copy of the enhancement record kept for CMYK output, and the working
// copy of the enhancement record that the interface edits and the next scan uses.
struct SettingsRecords {
    ScanSettings settings;
    EnhancementRecord CmykEnhancement{};
    EnhancementRecord WorkingEnhancement{};
};
extern SettingsRecords TheSettings;  // the process-wide instance

// Reads every key of the model section in order. Keys that are missing or out of range take
// their defaults. An empty section name yields every default (the interface's reset).
void LoadScanSettings(const char* section, const SettingsLoadContext& context,
                      SettingsRecords& records);
inline void ResetScanSettings(const SettingsLoadContext& context, SettingsRecords& records) {
    LoadScanSettings("", context, records);
}

// Writes every key of the model section; the language under "LANGUAGE" of "KVTINFO_A3" (wide
// bed) or "KVTINFO_SP" (narrow bed) with the value that section uses for the language index.
struct SaveContext {
    const char* section;
    const uint16_t* frame;  // four values: x start, y start, x end, y end
    int languageIndex;
    bool narrowBed;
};
void SaveScanSettings(const ScanSettings& settings, const SaveContext& context);
// The five recent custom resolutions alone ("CustomRes"), as the window leaves them.
void SaveCustomResolutions(const ScanSettings& settings, const char* section);

// The profile section that holds the settings of a scanner with this optical resolution,
// or nullptr when the resolution is not one of ours.
const char* ModelSectionName(uint16_t opticalResolution);
