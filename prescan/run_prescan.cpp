#include "prescan/run_prescan.h"

#include <algorithm>
#include <vector>

#include "common/profile_text.h"
#include "common/scan_buffers.h"
#include "prescan/prescan_bitmap.h"
#include "prescan/prescan_bring_up.h"
#include "prescan/prescan_geometry.h"
#include "prescan/prescan_messages.h"
#include "prescan/prescan_read.h"
#include "prescan/prescan_requests.h"
#include "prescan/prescan_setup.h"
#include "prescan/prescan_shading.h"
#include "prescan/prescan_ui.h"

namespace {

constexpr uint32_t kReadyPollMs = 10;
constexpr uint32_t kFinalPollMs = 1000;
// The scanner's buffer of a prescan: a few bands of the image rather than all of it, so that
// Escape is seen between reads and the memory stays small (the rows themselves are whole).
constexpr uint32_t kPrescanBufferBytes = 262144;

int WarmUpDialogId(uint16_t language) { return language >= 1 ? 310 + language : 300; }

// The warming-up dialog and the hourglass, from the set-up until the scan starts; closed on
// every way out.
class WarmUp {
public:
    explicit WarmUp(const PrescanSession& s) {
        if (ThePrescanUi.ShowWaitCursor) ThePrescanUi.ShowWaitCursor(true);
        if (ThePrescanUi.OpenWarmUpDialog)
            ThePrescanUi.OpenWarmUpDialog(s.call.owner, WarmUpDialogId(s.language), s.language);
        open_ = true;
    }
    ~WarmUp() { Close(); }
    WarmUp(const WarmUp&) = delete;
    WarmUp& operator=(const WarmUp&) = delete;
    void Close() {
        if (!open_) return;
        open_ = false;
        if (ThePrescanUi.CloseWarmUpDialog) ThePrescanUi.CloseWarmUpDialog();
        if (ThePrescanUi.ShowWaitCursor) ThePrescanUi.ShowWaitCursor(false);
    }

private:
    bool open_ = false;
};

bool BindPortLibrary(PrescanSession& s) {
    char dir[260];
    const uint32_t n = plat::WindowsDirectory(dir, sizeof dir);
    if (n == 0 || n >= sizeof dir) return false;
    return LoadPortLibrary(PortLibraryPath(std::string(dir, n), PortLibraryName()), s.port);
}

// A request whose status is not 0 is reported (and the scanner stopped); false for both.
bool Request(PrescanSession& s, uint32_t code, void* block, const ScannerRequestHeader& header) {
    if (!PrescanRequest(s, code, block)) return false;
    if (header.status == 0) return true;
    ReportStatus(s, header.status);
    return false;
}

// A wait that ended without ready: its status reported, or not ready after the limit.
bool Ready(PrescanSession& s, uint32_t pauseMs) {
    const uint32_t status = WaitForReady(s, pauseMs);
    if (status == 0) return true;
    if (s.remoteBroken) return false;
    if (status == kStatusNeverReady) {
        ShowPrescanMessage(s, kPrescanNotReady);
        StopScanner(s);
    } else {
        ReportStatus(s, static_cast<uint16_t>(status));
    }
    return false;
}

// Everything up to a started scan that is ready to deliver.
bool SetUpAndStart(PrescanSession& s, const PrescanGeometry& g) {
    FillPrescanSetUp(g, s.call.sourceWord, LampSaverMinutes(), s.blocks.setParameters);
    if (!PrescanRequest(s, ScanRequestSetParameters, &s.blocks.setParameters)) return false;
    WarmUp warmUp(s);
    if (s.blocks.setParameters.header.status != 0) {
        ReportStatus(s, s.blocks.setParameters.header.status);
        return false;
    }
    if (!PrescanShading(s, g.resolution)) {
        StopScanner(s);
        return false;
    }
    FillIdentityTones(s.opticalResolution, s.blocks.sendGamma);
    if (!Request(s, ScanRequestSendGamma, &s.blocks.sendGamma, s.blocks.sendGamma.header))
        return false;
    s.blocks.startScan = StartScanBlock{};
    const bool started = PrescanRequest(s, ScanRequestStartScan, &s.blocks.startScan);
    warmUp.Close();
    if (!started) return false;
    if (s.blocks.startScan.header.status != 0) {
        ReportStatus(s, s.blocks.startScan.header.status);
        return false;
    }
    return Ready(s, kReadyPollMs);
}

// The file, the buffers and the image memory of one prescan; released on every way out.
struct Output {
    std::string path;
    plat::FileHandle file = plat::kNoFile;
    bool keep = false;  // the rows were written
    ScanBuffers buffers;
    plat::MemHandle memory = nullptr;
    ~Output() {
        FreeScanBuffers(buffers);
        if (memory) {
            plat::MemUnlock(memory);
            plat::MemFree(memory);
        }
        if (file != plat::kNoFile) plat::FileClose(file);
        if (file != plat::kNoFile && !keep) plat::FileDelete(path.c_str());
    }
};

// Steps from the file's creation to the rows in memory; false after a failure, shown where
// there is a message for it. The scanner is stopped by the caller.
bool PrepareOutput(PrescanSession& s, const std::vector<uint8_t>& header, uint32_t bytesPerLine,
                   uint32_t delivered, PrescanImage& image, Output& out) {
    out.path = PrescanBitmapPath();
    out.file = out.path.empty() ? plat::kNoFile : plat::FileCreate(out.path.c_str());
    if (out.file == plat::kNoFile) {
        ShowPrescanMessage(s, kPrescanWriteError);
        return false;
    }
    const int64_t imageBytes = int64_t(image.lines) * image.rowBytes;
    if (plat::FileWrite(out.file, header.data(), header.size()) != int64_t(header.size()) ||
        plat::FileSeek(out.file, int64_t(header.size()) + imageBytes, plat::SeekFrom::Begin) < 0) {
        ShowPrescanMessage(s, kPrescanWriteError);
        return false;
    }
    if (!AllocScanBuffers(out.buffers, bytesPerLine, delivered, s.port.DefaultPortLibrary,
                          s.port.BUF_ADDR, kPrescanBufferBytes))
        return false;
    const int64_t freeBytes = plat::FreeDiskBytes(out.path.c_str());
    if (freeBytes >= 0 && freeBytes < imageBytes + 1078) {
        ShowPrescanMessage(s, kPrescanDiskFull);
        return false;
    }
    out.memory = plat::MemAlloc(size_t(imageBytes));
    image.rows = out.memory ? static_cast<uint8_t*>(plat::MemLock(out.memory)) : nullptr;
    return image.rows != nullptr;
}

bool WriteRows(PrescanSession& s, const std::vector<uint8_t>& header, const PrescanImage& image,
               Output& out) {
    const int64_t bytes = int64_t(image.lines) * image.rowBytes;
    if (plat::FileSeek(out.file, int64_t(header.size()), plat::SeekFrom::Begin) < 0 ||
        plat::FileWrite(out.file, image.rows, size_t(bytes)) != bytes) {
        ShowPrescanMessage(s, kPrescanWriteError);
        return false;
    }
    out.keep = true;
    return true;
}

PreScanResult ScanIntoFile(PrescanSession& s, const PrescanGeometry& g) {
    const uint32_t bytesPerLine = s.blocks.startScan.bytesPerLine;
    const uint32_t delivered = s.blocks.startScan.lines;
    // No scanner line: nothing to show, and nothing to say.
    if (delivered == 0 || bytesPerLine == 0) {
        StopScanner(s);
        return {};
    }
    const PrescanRows rows = RowsForLine(bytesPerLine);
    // A start reply larger than the window is no scan of it: refused before anything is
    // sized from it.
    if (rows.pixels > MostPixels(g) || delivered > MostLines(g) || rows.pixels == 0) {
        ShowPrescanMessage(s, kPrescanNotReady);
        StopScanner(s);
        return {};
    }
    PrescanImage image;
    image.pixels = rows.pixels;
    image.rowBytes = rows.rowBytes;
    image.lines = std::max(g.plannedLines, delivered);
    std::vector<uint8_t> header;
    if (!BuildBitmapHeader(image.pixels, image.lines, image.rowBytes, true, header)) {
        ShowPrescanMessage(s, kPrescanWriteError);
        StopScanner(s);
        return {};
    }
    Output out;
    if (!PrepareOutput(s, header, bytesPerLine, delivered, image, out)) {
        StopScanner(s);
        return {};
    }
    const ReadOutcome read = ReadPrescanLines(s, out.buffers, bytesPerLine, delivered, image);
    // After Escape the scanner is stopped and waited for; the rows read are kept whatever it
    // answers.
    bool readyAgain = true;
    if (read.cancelled) {
        StopScanner(s);
        readyAgain = Ready(s, kReadyPollMs);
    }
    if (!WriteRows(s, header, image, out)) return {};
    if (!readyAgain || read.failed || !Ready(s, kFinalPollMs)) return {};
    return PreScanResult{image.pixels, image.lines, image.rowBytes, g.resolution, read.linesRead, 1};
}

PreScanResult Prescan(PrescanSession& s) {
    if (!PrescanBringUp(s)) return {};
    const PrescanGeometry g =
        PlanPrescan(s.opticalResolution, static_cast<uint16_t>(s.call.sourceWord >> 16),
                    s.call.narrowBed, s.call.highResolution, s.call.prescanLength);
    if (!SetUpAndStart(s, g)) return {};
    return ScanIntoFile(s, g);
}

}  // namespace

PreScanResult RunPrescan(const PrescanCall& call) {
    PrescanSession s;
    StartSession(call, s);
    if (!BindPortLibrary(s)) return {};
    const PreScanResult result = Prescan(s);
    UnloadPortLibrary(s.port);
    return result;
}
