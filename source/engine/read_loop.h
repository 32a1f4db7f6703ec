// The band loop shared by every transfer: bands of whole scanner buffers are read with
// ScanRequestReadData, ESC between bands cancels, and each band is handed to the transfer.
#pragma once

#include <cstdint>

#include "common/scan_buffers.h"

enum class ReadOutcome { Done, Cancelled, Failed };

// What a transfer does with the lines of a band; false fails the read (the sink has then
// reported the failure itself, usually through AbortScan).
struct BandSink {
    virtual ~BandSink() = default;
    virtual bool TakeBand(const ScanBuffers& buffers, uint32_t firstLine, uint32_t lines) = 0;
};

struct ReadProgress {
    bool show = false;       // the progress window is up (the scanning window is shown)
    uint32_t shown = 0;      // lines counted so far
};

// Reads lines [linesRead, totalLines) band by band into the sink. On cancel the scanner is
// stopped and waited for, and the return code becomes TWRC_CANCEL; on a read error the
// scanner is stopped and the error reported. After the last band the scanner is waited for.
ReadOutcome ReadBands(ScanBuffers& buffers, uint32_t bytesPerLine, uint32_t totalLines,
                      uint32_t& linesRead, BandSink& sink, ReadProgress& progress);

// One band only (the memory transfer reads band by band across calls): the same rules,
// without the final wait.
ReadOutcome ReadOneBand(ScanBuffers& buffers, uint32_t bytesPerLine, uint32_t totalLines,
                        uint32_t& linesRead, BandSink& sink, ReadProgress& progress);

