#include "window/main_page_lists.h"

#include "window/resolution_menu.h"

namespace {

struct ModeEntry {
    uint32_t text;
    uint16_t mode, subMode;
};

constexpr ModeEntry kModes[] = {{153, kModeLineArt, 0},        {152, kModeFastGray, 0},
                                {151, kModeGray, 0},           {150, kModeColor, kSubMode24Bit},
                                {148, kModeColor, kSubModeCmyk}, {149, kModeColor, kSubMode36Bit}};
constexpr int kModeCount = sizeof kModes / sizeof kModes[0];

bool Is36Bit(const ScanSettings& s) { return s.ScanMode == kModeColor && s.ScanSubMode == kSubMode36Bit; }

}  // namespace

std::vector<ListEntry> ScanModeEntries() {
    std::vector<ListEntry> entries;
    for (int i = 0; i < kModeCount; ++i) entries.push_back({kModes[i].text, i});
    return entries;
}

void ScanModeOfEntry(int index, uint16_t& mode, uint16_t& subMode) {
    const ModeEntry& e = kModes[(index >= 0 && index < kModeCount) ? index : 3];
    mode = e.mode;
    subMode = e.subMode;
}

int EntryOfScanMode(uint16_t mode, uint16_t subMode) {
    for (int i = 0; i < kModeCount; ++i)
        if (kModes[i].mode == mode && (mode != kModeColor || kModes[i].subMode == subMode)) return i;
    return 3;
}

std::vector<ListEntry> ScanSourceEntries(bool transparencyUnit) {
    if (!transparencyUnit) return {{161, 0}};
    return {{161, 0}, {163, 1}, {164, 2}};
}

std::vector<ListEntry> DestinationEntries() { return {{184, 1021}, {207, 1022}, {208, 1023}}; }

std::vector<ListEntry> QualityFactorEntries() {
    return {{212, 10}, {213, 15}, {214, 20}, {215, 25}, {216, 30}};
}

std::vector<ListEntry> DescreenEntries() {
    return {{701, kDescreenNone}, {209, 1018}, {210, 1019}, {211, kDescreenArtPrint}};
}

std::vector<ListEntry> UnitEntries() { return {{157, 0}, {158, 1}, {159, 2}, {160, 3}}; }

MainPageControls ControlsFor(const ScanSettings& s, bool colourManagementApplication) {
    MainPageControls c;
    const bool colour36 = Is36Bit(s);
    c.scanEnabled = EntryOfScanMode(s.ScanMode, s.ScanSubMode) < 5;
    c.qualityFactorEnabled = s.Destination == kDestinationHalftone;
    c.descreenEnabled = s.ScanMode != kModeLineArt && !colour36;
    c.outputMatchingEnabled =
        s.ScanMode == kModeColor && !colour36 && !colourManagementApplication && s.ScanSource != 2;
    c.filterButtonsEnabled = !colour36;
    c.resolutionUnitText = s.Destination == kDestinationHalftone ? 359 : 317;
    c.resolutionMenu = MenuFor(s.Destination, colour36);
    return c;
}

void ChooseDestination(ScanSettings& s, int32_t destination) {
    s.Destination = destination;
    if (destination == kDestinationHalftone) s.ScanRes = 133;
    else if (destination == 1023) s.ScanRes = 600;
    else if (Is36Bit(s)) s.ScanRes = 100;
}

void ChooseScanMode(ScanSettings& s, int index) {
    ScanModeOfEntry(index, s.ScanMode, s.ScanSubMode);
    if (Is36Bit(s)) {
        s.FilterMode = 0;
        s.ScanRes = 100;
    }
}
