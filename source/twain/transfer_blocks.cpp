#include "twain/transfer_blocks.h"

#include <string>

#include "engine/abort_scan.h"
#include "engine/color_adjust.h"
#include "engine/file_reading.h"
#include "engine/scan_job_flags.h"
#include "engine/scan_job_state.h"
#include "engine/scanner_wait.h"
#include "engine/spool_files.h"
#include "engine/spooled_pass.h"
#include "engine/transfer_output.h"
#include "link/scanner_link.h"
#include "session/call_codes.h"
#include "session/ui_hooks.h"
#include "settings/settings_store.h"
#include "twain/batch_hooks.h"
#include "twain/capability_tables.h"
#include "twain/dispatch.h"
#include "twain/negotiation.h"
#include "twain/open_source.h"
#include "twain/source_record.h"

namespace {

constexpr uint32_t kInsufficientMemory = 604;

bool Fail(TW_UINT16 conditionCode, uint32_t messageId) {
    AbortScan(conditionCode, messageId);
    return false;
}

// The temporary file chosen at open; also the default name of a file transfer.
std::string WorkingFilePath() { return TheNegotiation.DefaultFileSetup.FileName; }

void StartProgress(uint32_t messageId) {
    TransferState& t = TheTransfer;
    t.progress = ReadProgress{TheSource.LastShowUI, 0};
    if (!t.progress.show) return;
    if (TheUi.CreateProgressWindow) TheUi.CreateProgressWindow();
    if (TheUi.UpdateProgress) TheUi.UpdateProgress(0, t.step.imageLines, messageId);
}

bool HoldInterpolationLines() {
    TransferState& t = TheTransfer;
    t.interpolationLines = t.buffers.linesPerRequest;
    return HoldBlock(t.interpolation, size_t(t.interpolationLines) * t.step.shape.lineBytes);
}

// False after the scan was ended.
bool CreateSpools(TransferKind kind) {
    const TransferState& t = TheTransfer;
    const std::string working = WorkingFilePath();
    const std::string output = kind == TransferKind::File ? t.outputPath : std::string();
    TiffGeometry g;
    if (!FileLayoutOf(t.step.scanMode, t.step.subMode, &g.layout))
        return Fail(TWCC_OPERATIONERROR, 619);
    g.bytesPerLine = t.step.shape.lineBytes;
    g.lines = t.step.outputLines;
    g.resolution = TheSettings.settings.ScanRes;
    if (t.step.scanMode == kModeColor) {
        if (t.step.shape.rowsPerLine > 1 && kind == TransferKind::File &&
            !CreateInterpSpool(working, output, g))
            return false;
        return !t.postProcessing || CreateColorSpool(working, output, g);
    }
    return !t.postProcessing || CreateGraySpool(working, output, g);
}

bool HoldBandBlock() {
    TransferState& t = TheTransfer;
    if (!BandsNeedBlock(t.buffers)) return true;
    t.bandRows = BandBlockRows(t.buffers);
    const uint64_t bytes = uint64_t(t.bandRows) * BandBlockRowBytes();
    return bytes <= SIZE_MAX && HoldBlock(t.band, size_t(bytes));
}

bool PrepareFiles(TransferKind kind) {
    if (kind == TransferKind::File &&
        !OpenTransferOutput(TheNegotiation.CurrentFileSetup.FileName, CurrentFileFormat()))
        return false;
    if (!CreateSpools(kind)) return false;
    return HoldBandBlock() || Fail(TWCC_LOWMEMORY, kInsufficientMemory);
}

// The first call's work after the image is in its file: the scanner buffers go, the
// progress window shows the processing, and a spool is opened for the second pass.
bool FinishReadingPass() {
    TransferState& t = TheTransfer;
    FreeScanBuffers(t.buffers);
    ReleaseBlock(t.band);
    t.progress.shown = 0;
    if (t.progress.show) {
        // The reading's window closed itself at 100 %: the second pass gets a new one.
        const uint32_t message = t.step.outputMatch ? 509 : t.step.descreenAtLowRes ? 508 : 505;
        DestroyProgressWindow();
        if (TheUi.CreateProgressWindow) TheUi.CreateProgressWindow();
        if (TheUi.UpdateProgress) TheUi.UpdateProgress(0, t.step.outputLines, message);
    }
    if (t.cancelled) return false;
    if (!t.postProcessing) {
        DeleteSpools();  // only the interpolation spool can exist here
        return true;
    }
    return PrepareSpooledPass();
}

void AnswerColumns(TW_IMAGEMEMXFER& reply) {
    AnswerMemoryBlock(reply, uint32_t(TheNegotiation.ImageInfoRecord.ImageWidth));
}

}  // namespace

bool PrepareTransfer(TransferKind kind) {
    FinishTransfer();  // whatever an earlier transfer left is given back first
    DestroyProgressWindow();
    TransferState& t = TheTransfer;
    t.kind = kind;
    t.postProcessing = TheScanJobFlags.PostProcessing;
    t.spooled = kind == TransferKind::File || t.postProcessing;
    if (!CurrentStepContext(&t.step) || !PrepareTransferSteps(t.step))
        return Fail(TWCC_LOWMEMORY, kInsufficientMemory);
    // Rows that go from the read straight into a BMP file are turned into its byte order
    // where the colour adjustment already rewrites every pixel.
    t.step.bmpColourOrder =
        kind == TransferKind::File && !t.postProcessing && CurrentFileFormat() == TWFF_BMP;
    StartProgress(500);
    TheToneColour.order = PixelOrder::Scanner;
    if (!AllocScanBuffers(t.buffers, t.step.shape.scanBytes, t.step.imageLines,
                          TheLink.port.DefaultPortLibrary, TheLink.port.BUF_ADDR))
        return Fail(TWCC_LOWMEMORY, kInsufficientMemory);
    if (t.step.shape.rowsPerLine > 1 && !HoldInterpolationLines())
        return Fail(TWCC_LOWMEMORY, kInsufficientMemory);
    if (t.postProcessing) MakeFileFormatEntryTiff(TheNegotiation.FileFormatIndex);
    if (t.spooled && !PrepareFiles(kind)) return false;
    t.NewTransfer = false;
    t.firstCall = true;
    return true;
}

void TransferImageBlocks(TransferKind kind, const AppBlock* block) {
    TransferState& t = TheTransfer;
    const uint16_t mode = TheSettings.settings.ScanMode;
    // Never the code of an earlier call: a scan in a mode the transfers do not know fails,
    // and the scanner that started it is stopped.
    if (mode < kModeLineArt || mode > kModeColor) {
        if (StopScanner()) PollUntilReady(TheScanJob.owner);
        return FailCall(TWCC_OPERATIONERROR);
    }
    if (t.NewTransfer && !PrepareTransfer(kind)) return ReleaseTransferBuffers();
    const bool first = t.firstCall;
    t.firstCall = false;
    if (!t.spooled) {
        if (!ReadMemoryBlock(*block)) return ReleaseTransferBuffers();
        if (!FillMemXferReply(TheNegotiation.MemXferRecord,
                              uint32_t(TheNegotiation.ImageInfoRecord.ImageWidth)))
            ReleaseTransferBuffers();
        return;
    }
    if (first && !ReadImageToFile()) return ReleaseTransferBuffers();
    if (BatchScanningActive() && BatchWritesFiles()) CopyJobFile();
    if (first && !FinishReadingPass()) return;
    if (!t.postProcessing || t.cancelled) return;
    if (!ProcessSpooledImage(kind == TransferKind::Memory ? block : nullptr)) {
        DeleteSpools();
        return;
    }
    if (kind == TransferKind::Memory) AnswerColumns(TheNegotiation.MemXferRecord);
}
