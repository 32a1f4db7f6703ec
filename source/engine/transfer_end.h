// What every transfer does when it ends, whatever the outcome.
#pragma once

// Frees what the transfer still holds, closes the progress window and returns the colour
// adjustment to bitmap order; HalfResolutionScan is cleared.
void EndOfScanCleanUp();
