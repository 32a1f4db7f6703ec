// Flags of the scan job that other parts of the source may set before a job runs. The scan
// job recomputes each of them when it starts, so a value set here lasts only until then.
#pragma once

struct ScanJobFlags {
    // Whole-image processing after the read loop. ICAP_PLANARCHUNKY set to chunky sets it,
    // any other value clears it.
    bool PostProcessing = false;
};

inline ScanJobFlags TheScanJobFlags;
