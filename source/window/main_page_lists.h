// The Main page's lists and what its choices change: the entries of each list (string numbers
// of the current block and the values they stand for), and the settings and control states
// that follow from a scan mode or a destination.
#pragma once

#include <cstdint>
#include <vector>

#include "settings/scan_settings.h"

struct ListEntry {
    uint32_t text;  // string number in the current language's block
    int32_t value;  // what the entry stores
};

// Scan mode (control 1002): line art, the two grays, 24-bit, CMYK and 36-bit colour. The value
// is the list index; ScanModeOfEntry gives mode and sub-mode.
std::vector<ListEntry> ScanModeEntries();
void ScanModeOfEntry(int index, uint16_t& mode, uint16_t& subMode);
int EntryOfScanMode(uint16_t mode, uint16_t subMode);

// Scan source (1004): reflective; the two films when the transparency unit is fitted. Values
// are the "ScanSource" numbers 0, 1, 2.
std::vector<ListEntry> ScanSourceEntries(bool transparencyUnit);
std::vector<ListEntry> DestinationEntries();     // 1021, 1022, 1023
std::vector<ListEntry> QualityFactorEntries();   // "1.0" ... "3.0": 10 ... 30
std::vector<ListEntry> DescreenEntries();        // 1017 ... 1020
std::vector<ListEntry> UnitEntries();            // 0 inches ... 3 mm

// The controls' states for the current settings.
struct MainPageControls {
    bool scanEnabled = true;
    bool qualityFactorEnabled = false;  // destination 1022 only
    bool descreenEnabled = true;        // not for line art or 36-bit colour
    bool outputMatchingEnabled = false; // 24-bit colour and CMYK, not for the colour program
    bool filterButtonsEnabled = true;   // not in 36-bit colour
    uint32_t resolutionUnitText = 317;  // "dpi"; 359 "lpi" for destination 1022
    uint16_t resolutionMenu = 820;
};
MainPageControls ControlsFor(const ScanSettings& s, bool colourManagementApplication);

// A destination chosen: the resolution it starts from (1022: 133 lpi; 1023: 600; 1021 in
// 36-bit colour: 100).
void ChooseDestination(ScanSettings& s, int32_t destination);
// A scan mode chosen from the list: 36-bit colour starts at 100 dpi without a filter.
void ChooseScanMode(ScanSettings& s, int index);
