#include "transfer_end.h"

#include "color_adjust.h"
#include "scan_job_state.h"
#include "ui_hooks.h"

void EndOfScanCleanUp() {
    DestroyProgressWindow();
    TheToneColour.order = PixelOrder::Bitmap;
    TheScanJob.HalfResolutionScan = false;
}
