#include "twain/native_transfer.h"

#include "engine/abort_scan.h"
#include "engine/color_adjust.h"
#include "engine/delivered_image.h"
#include "engine/descreen_reduction.h"
#include "engine/enlarge_lines.h"
#include "engine/native_image.h"
#include "engine/native_processing.h"
#include "engine/read_loop.h"
#include "engine/scan_job_state.h"
#include "engine/transfer_end.h"
#include "link/scanner_link.h"
#include "session/call_codes.h"
#include "session/ui_hooks.h"
#include "settings/settings_store.h"
#include "twain/batch_hooks.h"
#include "twain/dispatch.h"
#include "twain/notify.h"
#include "twain/open_source.h"
#include "twain/source_record.h"
#include "twain/transfer_outcome.h"

namespace {

void StartProgress() {
    if (!TheSource.LastShowUI || !TheUi.CreateProgressWindow) return;
    TheUi.CreateProgressWindow();
    if (TheUi.UpdateProgress) TheUi.UpdateProgress(0, TheScanJob.geometry.lines, 403);
}

void FreeImage(plat::MemHandle image) {
    if (image) plat::MemFree(image);
}

// The handle goes into the application's TW_UINT32 (a pointer-sized handle in 64-bit builds).
void AnswerHandle(TW_MEMREF data, plat::MemHandle image) {
#if defined(_WIN64) || !defined(_WIN32)
    *static_cast<TW_UINTPTR*>(data) = reinterpret_cast<TW_UINTPTR>(image);
#else
    *static_cast<TW_UINT32*>(data) = static_cast<TW_UINT32>(reinterpret_cast<TW_UINTPTR>(image));
#endif
}

}  // namespace

namespace {

// The bitmap's layout and, above the optical resolution, the enlargement that brings the
// scanned lines to it. False when either cannot be had.
bool PrepareNativeImage(NativeImageLayout& layout, Enlargement& enlargement) {
    const ScanSettings& s = TheSettings.settings;
    DeliveredImage image;
    if (!DeliveredImageOf(TheScanJob, s.ScanMode, s.ScanSubMode, TheDescreenDropMaps, &image, false) ||
        !NativeLayoutOf(s.ScanMode, s.ScanSubMode, image.shape.pixels, image.rows, layout))
        return false;
    if (image.shape.rowsPerLine == 1) return true;
    const SampleKind kind = s.ScanMode == kModeLineArt ? SampleKind::LineArt
                            : s.ScanMode == kModeColor ? SampleKind::Colour
                                                       : SampleKind::Gray;
    return BeginEnlargement(kind, image.shape.scanBytes, TheScanJob.resolution, layout.rowBytes,
                            &enlargement);
}

}  // namespace

plat::MemHandle TransferNativeImage() {
    const ImageGeometry& g = TheScanJob.geometry;
    const uint16_t mode = TheSettings.settings.ScanMode;
    StartProgress();
    ScanBuffers buffers;
    if (!AllocScanBuffers(buffers, g.bytesPerLine, g.lines, TheLink.port.DefaultPortLibrary,
                          TheLink.port.BUF_ADDR)) {
        AbortScan(TWCC_LOWMEMORY, 604);
        return nullptr;
    }
    NativeImageLayout layout{};
    Enlargement enlargement;
    const bool prepared = PrepareNativeImage(layout, enlargement);
    plat::MemHandle image = prepared ? AllocNativeImage(layout) : nullptr;
    auto* bitmap = image ? static_cast<uint8_t*>(plat::MemLock(image)) : nullptr;
    if (!bitmap) {
        FreeImage(image);
        EndEnlargement(enlargement);
        FreeScanBuffers(buffers);
        AbortScan(TWCC_LOWMEMORY, 604);
        return nullptr;
    }
    TheToneColour.order = PixelOrder::Scanner;
    NativeLineWriter writer(bitmap, layout, mode, g.bytesPerLine, g.lines,
                            enlargement.block ? &enlargement : nullptr);
    ReadProgress progress{TheSource.LastShowUI, 0};
    uint32_t linesRead = 0;
    const ReadOutcome outcome = ReadBands(buffers, g.bytesPerLine, g.lines, linesRead, writer, progress);
    plat::MemUnlock(image);
    EndEnlargement(enlargement);
    FreeScanBuffers(buffers);
    // A cancelled or failed read hands nothing over: the application does not take the block.
    if (outcome != ReadOutcome::Done) {
        FreeImage(image);
        return nullptr;
    }
    // An image the chosen filter could not process is not handed over as if it had been.
    if (!ProcessNativeImage(image, TheSettings.settings.FilterMode, TheScanJob.DescreenAtLowRes,
                            TheSource.LastShowUI)) {
        FreeImage(image);
        AbortScan(TWCC_LOWMEMORY, 604);
        return nullptr;
    }
    return image;
}

void NativeTransfer(TW_MEMREF data) {
    TheCall.SourceReturnCode = TWRC_XFERDONE;
    plat::MemHandle image = TransferNativeImage();
    AnswerHandle(data, image);
    if (!EndUnsuccessfulTransfer(TheCall.SourceReturnCode))
        EndFinishedTransfer(BatchScanningActive());
    TheSource.SourceState = 700;
}
