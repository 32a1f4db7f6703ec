// What resolution scaling and CMYK output hold for the transfer in progress: the descreen
// drop maps, the enlargement, the band filters' histories and the CMYK table. The
// output-matching colour table is not among them: it follows the scan's settings.
#pragma once

// Frees all of it: at the end (or reset) of a transfer, and back to the process-attach state.
void FreeTransferScaling();
