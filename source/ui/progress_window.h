// The "Scanning Status" window (dialog 800) of a transfer: status text, the bar with its
// percentage, and the note that Escape stops. Owned by the scanning window.
#pragma once

#include <cstdint>

void CreateProgressWindow();
void UpdateProgress(uint32_t done, uint32_t total, uint32_t messageId);
void CloseProgressWindow();
