// Negotiated values that ResetNegotiation leaves alone: they start when the library is loaded
// and live across opens. The feeder selection is cleared at every open instead, once the
// scanner has been brought up, because the scanner found may have no feeder.
#pragma once

#include "common/twain.h"

struct KeptCapabilityRecord {
    TW_BOOL PixelFlavorFlag = 0;  // ICAP_PIXELFLAVOR set non-zero; read by the CMYK output
    TW_BOOL FeederEnabled = 0;    // CAP_FEEDERENABLED as the application set it in state 400
    TW_UINT8 FeederCode = 0;      // scan source of the set-up request: 3 the feeder, 0 the bed
};

extern KeptCapabilityRecord TheKeptCapabilities;

// A transparency unit or document feeder was found when the scanner was brought up.
bool FeederInstalled();

// The scanner just brought up starts on the flatbed.
void ClearFeederSelection();
