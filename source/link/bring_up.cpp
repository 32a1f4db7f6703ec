#include "link/bring_up.h"

#include <cstring>

#include "link/remote_client.h"
#include "link/remote_discovery.h"
#include "link/request_blocks_in_use.h"
#include "link/scanner_link.h"
#include "session/interface_language.h"
#include "session/messages.h"
#include "session/ui_hooks.h"
#include "settings/profile_fields.h"

namespace {

constexpr uint32_t kPollPauseMs = 100;

int NotReadyDialogId(uint16_t languageIndex) {
    return (languageIndex >= 1 && languageIndex <= 7) ? 61 + languageIndex : 60;
}

bool SharingServerOwnsScanner() {
    if (!plat::TopLevelWindowExists("Relaynor")) return false;
    ShowPlainMessage(nullptr, LanguageString(833) + LanguageString(834) + "\n" + LanguageString(835));
    return true;
}

// The scanner on the local port is busy with the sharing server: use the server instead.
bool BringUpRemote(std::string& identification, plat::WindowHandle owner) {
    if (!RemoteStart()) return false;
    uint32_t target = 0;
    if (!DiscoveryTarget(target) || !RemoteDiscoverAndConnect(target, TheRemote.connection)) {
        ShowPlainMessage(nullptr, LanguageString(836));
        ShowErrorMessage(owner, 609);
        RemoteStop();
        identification = "0";
        return false;
    }
    TheLink.remote = true;
    if (!ScannerRequest(ScanRequestInquiry, &TheRequests.inquiry)) return false;
    if (RequestStatus(TheRequests.inquiry) != 0) {
        ShowPlainMessage(nullptr, LanguageString(837));
        RemoteStop();
        return false;
    }
    return true;
}

bool SendLampSaver() {
    SetParametersBlock& block = TheRequests.setParameters;
    block.lampSaverMinutes = LampSaverMinutes();
    block.lampSaverOnly = 1;
    return ScannerRequest(ScanRequestSetParameters, &block);
}

// Each value is taken like two characters of text: a zero first byte ends it at once.
uint16_t CalibrationValue(const uint8_t pair[2]) {
    return pair[0] == 0 ? 0 : static_cast<uint16_t>(pair[0] | (pair[1] << 8));
}

void TakeScannerFacts(const InquiryBlock& inquiry) {
    TheLink.optionInstalled = inquiry.optionInstalled == 1;
    TheLink.narrowBed = std::memcmp(inquiry.modelPrefix, "KVC-", 4) == 0 ? 1 : 0;
    TheLink.maxWidthInches = TheLink.narrowBed ? 8.5f : 11.7f;
    TheLink.maxLengthInches = TheLink.narrowBed ? 11.5f : 17.0f;
    for (int i = 0; i < 4; ++i) TheLink.calibration[i] = CalibrationValue(inquiry.calibration[i]);
    if (uint16_t optical = InquiryOpticalResolution(inquiry)) TheLink.opticalResolution = optical;
}

// Everything the previous open learnt is forgotten but the bound port library and the optical
// resolution: a scanner whose inquiry spells no resolution this source knows keeps the one
// learnt before.
void ForgetPreviousScanner() {
    RemoteStop();
    const PortLibrary port = TheLink.port;
    const uint16_t optical = TheLink.opticalResolution;
    TheLink = ScannerLink{};
    TheLink.port = port;
    TheLink.opticalResolution = optical;
}

}  // namespace

bool WaitUntilReady(plat::WindowHandle owner) {
    const uint32_t start = plat::TickCount();
    bool dialogUp = false;
    for (;;) {
        plat::SleepMs(kPollPauseMs);
        plat::PumpMessagesCheckEscape();
        if (!ScannerRequest(ScanRequestGetStatus, &TheRequests.getStatus)) break;
        const uint16_t status = RequestStatus(TheRequests.getStatus);
        const bool ready = TheRequests.getStatus.ready == 1;
        if (ready) {
            if (dialogUp && TheUi.CloseNotReadyDialog) TheUi.CloseNotReadyDialog();
            return true;
        }
        if (status == 0 && !dialogUp) {
            if (TheUi.OpenNotReadyDialog) TheUi.OpenNotReadyDialog(NotReadyDialogId(TheLanguage.index));
            dialogUp = true;
        }
        if (plat::TickCount() - start >= kReadyWaitLimitMs) {
            if (dialogUp && TheUi.CloseNotReadyDialog) TheUi.CloseNotReadyDialog();
            ShowErrorMessage(owner, 608);
            return false;
        }
    }
    if (dialogUp && TheUi.CloseNotReadyDialog) TheUi.CloseNotReadyDialog();
    return false;
}

bool BringUpScanner(std::string& identification, plat::WindowHandle owner) {
    ForgetPreviousScanner();
    if (SharingServerOwnsScanner()) return false;

    TheLink.scannerHandle = TheLink.port.ADDR_CHK();
    if (TheLink.scannerHandle == 0) {
        ShowErrorMessage(owner, 608);
        return false;
    }
    InquiryBlock& inquiry = TheRequests.inquiry;
    std::memset(reinterpret_cast<uint8_t*>(&inquiry) + kInquiryDataFirst, 0, kInquiryDataBytes);
    ScannerRequest(ScanRequestInquiry, &inquiry);
    const uint16_t status = RequestStatus(inquiry);
    if (status == kScanStatusInquiryNotReady) {
        ShowErrorMessage(owner, 608);
    } else if (status != 0) {
        if (!BringUpRemote(identification, owner)) return false;
    } else if (!WaitUntilReady(owner)) {
        return false;
    }
    if (!SendLampSaver()) return false;

    identification = IdentificationText(inquiry, LanguageString(65));
    if (!(inquiry.capability & kCapabilityOurScanner)) {
        ShowErrorMessage(owner, 623);
        return false;
    }
    TakeScannerFacts(inquiry);
    return true;
}
