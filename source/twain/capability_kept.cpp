#include "twain/capability_kept.h"

#include "link/scanner_link.h"

KeptCapabilityRecord TheKeptCapabilities;

bool FeederInstalled() { return TheLink.optionInstalled; }

void ClearFeederSelection() {
    TheKeptCapabilities.FeederEnabled = 0;
    TheKeptCapabilities.FeederCode = 0;
}
