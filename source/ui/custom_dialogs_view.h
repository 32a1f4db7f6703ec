// The modal "CUSTOM" resolution and "CUSTOMSCAL" output-scaling dialogs.
#pragma once

#include <cstdint>

// True when OK set a new "ScanRes" (and it joined the recent custom values).
bool AskCustomResolution();
uint16_t AskCustomScalingDialog(uint16_t current);
