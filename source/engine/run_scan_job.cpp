#include "engine/run_scan_job.h"

#include <cstring>

#include "common/ascii_text.h"
#include "engine/abort_scan.h"
#include "engine/cmyk_table.h"
#include "engine/color_adjust.h"
#include "engine/color_table.h"
#include "engine/descreen_reduction.h"
#include "engine/image_info.h"
#include "engine/scan_admission.h"
#include "engine/scan_job_flags.h"
#include "engine/scan_job_state.h"
#include "engine/scan_window.h"
#include "engine/scanner_wait.h"
#include "engine/shading.h"
#include "engine/slow_speed.h"
#include "engine/tone_download.h"
#include "engine/transfer_end.h"
#include "link/bring_up.h"
#include "link/request_blocks_in_use.h"
#include "link/scanner_link.h"
#include "session/call_codes.h"
#include "session/interface_language.h"
#include "session/messages.h"
#include "session/ui_hooks.h"
#include "settings/language.h"
#include "settings/profile_fields.h"
#include "settings/settings_store.h"

ScanJobState TheScanJob;

namespace {

int WarmUpDialogId(uint16_t languageIndex) {
    return (languageIndex >= 1 && languageIndex <= 7) ? 69 + languageIndex : 1091;
}

void CloseWarmUp() {
    if (TheUi.CloseWarmUpDialog) TheUi.CloseWarmUpDialog();
}

// "SlowSpeedVer" lets gray and line-art scans at up to 400 dpi run at the slow speed, with
// pauses between lines that depend on the resolution.
void SetSpeed(ScanSettings& s) {
    const bool slowAllowed =
        !EqualsIgnoreCase(ReadProfileText("KVTINFO_A3", "SlowSpeedVer", "No", 33).c_str(), "No");
    TheScanJob.slowSpeed = slowAllowed && s.ScanMode < kModeColor && s.ScanSource != 3 &&
                           s.ScanRes <= 400;
    s.Velocity = static_cast<uint8_t>((s.Velocity & 0xF0) | (TheScanJob.slowSpeed ? 2 : 0));
    if (!TheScanJob.slowSpeed) return;
    const SlowSpeedTiming timing = SlowSpeedTimingOf(s.ScanMode, s.ScanRes);
    TheScanJob.slowWaitMs = timing.waitMs;
    TheScanJob.slowLineInterval = timing.lineInterval;
}

bool CheckInquiry(plat::WindowHandle owner) {
    if (!ScannerRequest(ScanRequestInquiry, &TheRequests.inquiry)) return false;
    const uint16_t status = TheRequests.inquiry.header.status;
    if (status == 0) return true;
    ShowErrorMessage(owner, status == kScanStatusInquiryNotReady ? 608 : 609);
    return false;
}

// The set-up reply's status: jam and (with a feeder) no paper abort the TWAIN call too.
void ReportSetupStatus(uint16_t status, plat::WindowHandle owner) {
    if (status == kScanStatusPaperJam) {
        AbortScan(TWCC_OPERATIONERROR, 620);
    } else if (status == kScanStatusNoPaper) {
        // An empty feeder ends a multi-page job quietly after its first page.
        if (TheLink.optionInstalled && TheScanJob.firstPage) AbortScan(TWCC_OPERATIONERROR, 621);
    } else if (status == kScanStatusCoverOpen) {
        ShowErrorMessage(owner, 622);
    } else {
        ShowErrorMessage(owner, 608);
    }
    StopScanner();
}

bool SendSetUp(const ScanJobRequest& request) {
    if (!ScannerRequest(ScanRequestSetParameters, &TheRequests.setParameters)) return false;
    if (TheUi.OpenWarmUpDialog) TheUi.OpenWarmUpDialog(WarmUpDialogId(TheLanguage.index));
    plat::PumpMessagesCheckEscape();
    const uint16_t status = TheRequests.setParameters.header.status;
    if (status != 0) {
        CloseWarmUp();
        ReportSetupStatus(status, request.owner);
        return false;
    }
    std::memcpy(TheScanJob.setupReply, &TheRequests.setParameters.shadingNeeded, 3);
    return true;
}

bool RunShading(const ScanSettings& s) {
    if (TheLink.remote) {
        uint8_t reply[2] = {};
        if (!ScannerRequest(ScanRequestRemoteShading, reply)) return false;
        return !(reply[0] == 'N' && reply[1] == 'O');
    }
    ShadingRequest shading{};
    shading.resolution = TheScanJob.resolution.asked;
    shading.colour = s.ScanMode == kModeColor || s.ScanMode == kModeGray;
    shading.measure = TheScanJob.setupReply[0] == 1 || TheScanJob.forceShading;
    shading.resendKind = TheScanJob.setupReply[1];
    shading.defaultLibrary = TheLink.port.DefaultPortLibrary;
    return CalibrateShading(shading);
}

// The record the transfer will use, and the curves the scanner applies in hardware.
bool SendToneTables(ScanSettings& s, const ScanJobRequest& request) {
    const bool windowShown = request.windowShown;
    EnhancementRecord& committed = s.Enhancement;
    EnhancementRecord& working = TheSettings.WorkingEnhancement;
    if (windowShown && std::memcmp(&committed, &working, sizeof committed) != 0) committed = working;
    if (request.application.colourManager) {
        ResetEnhancements(s, committed, true);
        working = committed;
    }
    ToneDownload how{};
    how.scanMode = s.ScanMode;
    how.opticalResolution = TheLink.opticalResolution;
    how.windowShown = windowShown;
    how.officeApplication = request.application.office;
    how.outputMatch = s.OutputMatch != 0;
    PrepareToneDownload(committed, how, TheToneColour.tones, TheRequests.sendGamma);
    if (!ScannerRequest(ScanRequestSendGamma, &TheRequests.sendGamma)) return false;
    if (TheRequests.sendGamma.header.status != 0) {
        ShowErrorMessage(TheScanJob.owner, 628);
        return false;
    }
    TheToneColour.current = committed;
    return true;
}

bool StartScanner(plat::WindowHandle owner) {
    const bool sent = ScannerRequest(ScanRequestStartScan, &TheRequests.startScan);
    CloseWarmUp();
    if (!sent) return false;
    if (TheRequests.startScan.header.status != 0) {
        ShowErrorMessage(owner, 628);
        return false;
    }
    return PollUntilReady(owner);
}

bool TakeGeometry(const ScanSettings& s) {
    ImageGeometry& g = TheScanJob.geometry;
    g.lines = TheRequests.startScan.lines;
    g.bytesPerLine = TheRequests.startScan.bytesPerLine;
    if (g.lines == 0) return false;
    // Lines of no bytes cannot be located or stored, and more than the window holds cannot
    // be the asked image: either way the scanner's answer is unusable.
    if (g.bytesPerLine == 0 ||
        !StartReplyFitsWindow(TheRequests.setParameters, TheLink.opticalResolution, g.lines,
                              g.bytesPerLine)) {
        ShowErrorMessage(TheScanJob.owner, 628);
        if (StopScanner()) PollUntilReady(TheScanJob.owner);
        return false;
    }
    g.pixelWidth = PixelWidthOf(g.bytesPerLine, s.ScanMode);
    g.alignedLineLength = (g.bytesPerLine + 3) & ~3u;
    return true;
}

// Descreened below 300 dpi, memory and file transfers of 8-bit samples scan at 300 dpi and
// reduce the lines to the effective resolution; the image information then states the
// reduced size.
bool PrepareDescreenReduction(const ScanSettings& s) {
    FreeDescreenDropMaps(TheDescreenDropMaps);
    if (!TheScanJob.resolution.reduceDescreened) return true;
    const ImageGeometry& g = TheScanJob.geometry;
    const uint32_t sampleBytes = s.ScanMode == kModeColor ? 3 : 1;
    if (BuildDescreenDropMaps(g.bytesPerLine, g.lines, sampleBytes,
                              TheScanJob.resolution.effective, &TheDescreenDropMaps))
        return true;
    ShowErrorMessage(TheScanJob.owner, 604);
    if (StopScanner()) PollUntilReady(TheScanJob.owner);
    return false;
}

// Output matching corrects colour with the table of the scan's source: positive film has its
// own. Without it the scan goes ahead as if output matching were off (the colour adjustment
// runs, nothing is corrected by a table), and the user is told, as the window tells when the
// box is ticked; a table no scan uses is let go.
void PrepareOutputMatching(ScanSettings& s, plat::WindowHandle owner) {
    if (s.ScanMode != kModeColor || s.OutputMatch == 0) {
        FreeColorTable(TheColorTable);
        return;
    }
    if (LoadColorTableFile(s.ScanSource == 1 ? "corvA3p.tab" : "corvA3.tab") !=
        ColorTableLoad::Refused)
        return;
    ShowInformationMessage(owner, 510);
    s.OutputMatch = 0;
}

// "CMYK Color" needs its conversion table (618 when it cannot be read).
bool LoadJobTables(const ScanSettings& s, const ScanJobRequest& request) {
    if (s.ScanMode != kModeColor || s.ScanSubMode != kSubModeCmyk) return true;
    if (LoadCmykTable(TheScanJob.owner, request.application.batchPublisher)) return true;
    if (StopScanner()) PollUntilReady(TheScanJob.owner);
    return false;
}

// Rows too long for the 32-bit fields, or 16-bit samples that would have to be enlarged:
// no transfer could deliver the image.
bool AbandonUndeliverableScan() {
    ShowErrorMessage(TheScanJob.owner, 604);
    AbandonUntakenScan();
    return false;
}

bool PrepareScanner(const ScanJobRequest& request, ScanSettings& s) {
    ScanWindowInput in{};
    in.area = request.area;
    in.settings = &s;
    in.opticalResolution = TheLink.opticalResolution;
    in.descreenAtLowRes = TheScanJob.DescreenAtLowRes;
    in.memoryOrFileTransfer = request.transferMechanism != TWSX_NATIVE;
    in.lampSaverMinutes = LampSaverMinutes();
    TheScanJob.resolution = BuildScanWindow(in, TheRequests.setParameters);
    const SetParametersBlock& block = TheRequests.setParameters;
    if (block.xStart == block.xEnd || block.yStart == block.yEnd) {
        ShowErrorMessage(request.owner, 625);
        return false;
    }
    TheRequests.forceColourCalibration = TheScanJob.forceShading ? 1 : 0;
    return CheckInquiry(request.owner) && WaitUntilReady(request.owner);
}

}  // namespace

namespace {

bool RunScanJobSteps(const ScanJobRequest& request) {
    ScanSettings& s = TheSettings.settings;
    if (!AdmitScanMode(s, request.application, request.owner)) return false;
    const uint64_t image = EstimateImageBytes(request.area, s, TheLink.opticalResolution);
    if (!CheckDiskSpace(image, request.fileFormat, request.owner)) return false;
    SetSpeed(s);
    PrepareOutputMatching(s, request.owner);
    TheScanJob.DescreenAtLowRes = s.DeScreen >= kDescreenNewspaper && s.DeScreen <= kDescreenArtPrint;
    TheScanJobFlags.PostProcessing = s.OutputMatch != 0 || s.FilterMode != 0 || TheScanJob.DescreenAtLowRes;

    if (!PrepareScanner(request, s)) return false;
    if (!SendSetUp(request)) return false;
    if (!RunShading(s)) {
        CloseWarmUp();
        return false;
    }
    if (!SendToneTables(s, request)) {
        CloseWarmUp();
        return false;
    }
    if (!StartScanner(request.owner)) return false;
    if (!TakeGeometry(s) || !PrepareDescreenReduction(s) || !LoadJobTables(s, request)) return false;
    TW_IMAGEINFO& info = *request.imageInfo;
    if (!FillImageInfo({&s, &TheScanJob, TheLink.opticalResolution, request.application.fax,
                        &TheDescreenDropMaps},
                       info))
        return AbandonUndeliverableScan();
    TheScanJob.reportedResolution = uint16_t(info.XResolution.Whole);
    return true;
}

}  // namespace

// Whatever ends the job early, nothing is coming: the window and the transfers read
// ScanFailed to know it.
bool RunScanJob(const ScanJobRequest& request) {
    TheScanJob.owner = request.owner;
    TheScanJob.windowShown = request.windowShown;
    TheScanJob.application = request.application;
    TheScanJob.ScanFailed = false;
    if (RunScanJobSteps(request)) return true;
    TheScanJob.ScanFailed = true;
    return false;
}

// The source manager refused MSG_XFERREADY (none is loaded in the process, or it does not
// know this source): the application will never ask for the image.
void AbandonUnannouncedScan() {
    AbandonUntakenScan();
    FailCall(TWCC_OPERATIONERROR);
    TheScanJob.ScanFailed = true;
}
