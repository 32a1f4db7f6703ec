#include "engine/transfer_state.h"

#include "engine/delivered_image.h"
#include "engine/descreen_reduction.h"
#include "engine/scan_job_state.h"
#include "engine/spool_files.h"
#include "settings/scan_settings.h"
#include "settings/settings_store.h"

TransferState TheTransfer;

bool HoldBlock(HeldBlock& block, size_t bytes) {
    ReleaseBlock(block);
    if (bytes == 0) return false;
    block.handle = plat::MemAlloc(bytes);
    if (!block.handle) return false;
    block.data = static_cast<uint8_t*>(plat::MemLock(block.handle));
    if (!block.data) {
        ReleaseBlock(block);
        return false;
    }
    block.bytes = bytes;
    return true;
}

void ReleaseBlock(HeldBlock& block) {
    if (block.handle) {
        if (block.data) plat::MemUnlock(block.handle);
        plat::MemFree(block.handle);
    }
    block = HeldBlock{};
}

void ReleaseTransferBuffers() {
    TransferState& t = TheTransfer;
    FreeScanBuffers(t.buffers);
    ReleaseBlock(t.band);
    ReleaseBlock(t.interpolation);
    ReleaseBlock(t.processing);
    ReleaseBlock(t.lookahead);
    t.bandRows = t.interpolationLines = t.processingRows = 0;
}

void FinishTransfer() {
    TransferState& t = TheTransfer;
    ReleaseTransferBuffers();
    CloseSpools();
    DeleteSpools();
    EndOutputBands(&t.outputBands);
    FreeTransferSteps();
    if (t.output != plat::kNoFile) plat::FileClose(t.output);
    // An image the application was not given is not left behind, and whatever the user had
    // under the asked name stays as it was.
    if (!t.writingPath.empty() && !t.outputComplete) plat::FileDelete(t.writingPath.c_str());
    t = TransferState{};
}

// Below 300 dpi a descreened band is reduced by the drop maps: the transfer's lines are the
// kept bytes and lines, while the band block still takes whole scanned lines.
bool CurrentStepContext(StepContext* step) {
    const ScanSettings& s = TheSettings.settings;
    const ScanJobState& job = TheScanJob;
    DeliveredImage image;
    if (!DeliveredImageOf(job, s.ScanMode, s.ScanSubMode, TheDescreenDropMaps, &image))
        return false;
    StepContext c;
    c.scanMode = s.ScanMode;
    c.subMode = s.ScanSubMode;
    c.filterMode = s.FilterMode;
    c.deScreen = s.DeScreen;
    c.outputMatch = s.OutputMatch != 0;
    c.descreenAtLowRes = job.DescreenAtLowRes;
    c.plan = job.resolution;
    c.cmykTableBytes = job.application.cmykTableBytes;
    c.imageLines = job.geometry.lines;
    c.reduceAfterDescreen = image.reduced;
    c.shape = image.shape;
    c.outputLines = image.lines;
    c.outputRows = image.rows;
    c.bandLineBytes = c.reduceAfterDescreen ? c.shape.scanBytes : c.shape.lineBytes;
    *step = c;
    return true;
}
