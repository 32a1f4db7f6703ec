#include "transfer_state.h"

#include "scan_job_state.h"
#include "settings_store.h"
#include "spool_files.h"

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
    t.bandRows = t.interpolationLines = t.processingRows = 0;
}

void FinishTransfer() {
    TransferState& t = TheTransfer;
    ReleaseTransferBuffers();
    CloseSpools();
    DeleteSpools();
    EndOutputBands(&t.outputBands);
    if (t.output != plat::kNoFile) plat::FileClose(t.output);
    // An image the application was not given is not left under its name either: a
    // cancelled or failed transfer to the default name would otherwise leave a temporary file.
    if (!t.outputPath.empty() && !t.outputComplete) plat::FileDelete(t.outputPath.c_str());
    t = TransferState{};
}

bool CurrentStepContext(StepContext* step) {
    const ScanSettings& s = TheSettings.settings;
    const ScanJobState& job = TheScanJob;
    RowInput in;
    in.bytesPerLine = job.geometry.bytesPerLine;
    in.scanMode = s.ScanMode;
    in.subMode = s.ScanSubMode;
    in.effectiveResolution = job.EffectiveResolution;
    in.halfResolutionScan = job.HalfResolutionScan;
    in.dpiScale = s.DpiScale;
    in.scaling = s.Scaling;
    in.scanRes = s.ScanRes;
    StepContext c;
    if (!ShapeRows(in, &c.shape)) return false;
    c.scanMode = s.ScanMode;
    c.subMode = s.ScanSubMode;
    c.filterMode = s.FilterMode;
    c.deScreen = s.DeScreen;
    c.outputMatch = s.OutputMatch != 0;
    c.descreenAtLowRes = job.DescreenAtLowRes;
    c.reduceAfterDescreen = job.DescreenAtLowRes && job.EffectiveResolution < 300;
    c.imageLines = job.geometry.lines;
    *step = c;
    return true;
}
