// The content of the tone-table download (ScanRequestSendGamma): which curves the scanner
// gets, in which slot, how many entries, and the line-art threshold. The scan job issues the
// request; everything here only fills the block.
#pragma once

#include <cstdint>

#include "common/request_blocks.h"
#include "common/tone_spread.h"
#include "engine/tone_curve.h"
#include "settings/scan_settings.h"

// 4096 entries for the 1200 dpi model, 256 for every other.
uint16_t ToneSlotEntries(uint16_t opticalResolution);

// Line art: the scan without window carries brightness in the master highlight byte, so the
// threshold moves against it; otherwise it sits halfway between shadow and highlight.
uint8_t LineArtThreshold(ChannelAdjust master, bool brightnessForm);

// Fills the whole block: threshold (line art only), selector (0x10 for line art and gray, 7
// for colour), and the four slots, each with its entry count: the gray slot (the red curve
// for colour, the single curve of the first table otherwise), then red, green, blue.
void FillSendGammaBlock(SendGammaBlock& block, const ToneTables& tables, uint16_t scanMode,
                        uint16_t opticalResolution, uint8_t threshold);

// How the scan job wants its curves built.
struct ToneDownload {
    uint16_t scanMode;           // base mode
    uint16_t opticalResolution;  // 600, 606, 800 or 1200
    bool windowShown;            // false for the scan without window
    bool officeApplication;      // the application named by string 64
    bool outputMatch;            // "OutputMatch" is on
};

// Builds the curves from the record into `tables` (colour: red, green, blue from their
// channels with colour balance; otherwise one master curve in the first table). A curve that
// cannot be built keeps the table's previous contents. The brightness/contrast form serves
// the office application without window; the 1200 dpi model with output matching gets
// neutral colour curves, the colour table correcting the image later instead.
void BuildScannerToneTables(const EnhancementRecord& record, const ToneDownload& how,
                            ToneTables& tables);

// The curves of a scan without window, built when the source is enabled: brightness and
// contrast 0, gamma 1.8 for the three colour curves of an RGB scan, otherwise gamma 1.0 for
// the first table alone.
void BuildNoWindowToneTables(bool rgb, ToneTables& tables);

// The whole download: curves into `tables`, then the block.
void PrepareToneDownload(const EnhancementRecord& record, const ToneDownload& how,
                         ToneTables& tables, SendGammaBlock& block);
