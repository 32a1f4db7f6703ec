#include "prescan/prescan_bring_up.h"

#include <cstring>
#include <string>

#include "common/profile_text.h"
#include "prescan/prescan_messages.h"
#include "prescan/prescan_requests.h"
#include "prescan/prescan_ui.h"

namespace {

constexpr uint32_t kPollPauseMs = 100;

int NotReadyDialogId(uint16_t language) { return language >= 1 ? 303 + language : 302; }

bool Inquire(PrescanSession& s) {
    InquiryBlock& inquiry = s.blocks.inquiry;
    std::memset(reinterpret_cast<uint8_t*>(&inquiry) + kInquiryDataFirst, 0, kInquiryDataBytes);
    if (!PrescanRequest(s, ScanRequestInquiry, &inquiry)) return false;
    const uint16_t status = inquiry.header.status;
    if (status == 0) return true;
    ShowPrescanMessage(s, status == kScanStatusInquiryNotReady ? kPrescanNotReady : kPrescanNotFound);
    return false;
}

// Polls until ready, the not-ready dialog up while the scanner says busy without an error.
// A scanner that never becomes ready is given up after the wait limit, as not ready.
bool WaitUntilReady(PrescanSession& s) {
    const uint32_t start = plat::TickCount();
    bool dialogUp = false;
    bool ready = false, sent = true;
    for (;;) {
        plat::SleepMs(kPollPauseMs);
        plat::PumpMessagesCheckEscape();
        sent = PrescanRequest(s, ScanRequestGetStatus, &s.blocks.getStatus);
        if (!sent) break;
        ready = s.blocks.getStatus.ready == 1;
        if (ready) break;
        if (s.blocks.getStatus.header.status == 0 && !dialogUp) {
            if (ThePrescanUi.OpenNotReadyDialog)
                ThePrescanUi.OpenNotReadyDialog(NotReadyDialogId(s.language), s.language);
            dialogUp = true;
        }
        if (plat::TickCount() - start >= kScannerWaitLimitMs) break;
    }
    if (dialogUp && ThePrescanUi.CloseNotReadyDialog) ThePrescanUi.CloseNotReadyDialog();
    if (!ready && sent) ShowPrescanMessage(s, kPrescanNotReady);
    return ready;
}

}  // namespace

uint16_t PrescanOpticalResolution(const InquiryBlock& inquiry) {
    const std::string digits(inquiry.opticalResolution, sizeof inquiry.opticalResolution);
    switch (DecimalValue(digits)) {
        case 6000: case 600: return 600;
        case 6060: case 606: return 606;
        case 8000: case 800: return 800;
        case 1200: return 1200;
        default: return 0;
    }
}

bool PrescanBringUp(PrescanSession& s) {
    // The port library is asked even for a scanner behind the server: the data source only
    // reaches the server when a scanner answered on this port.
    if (s.port.ADDR_CHK() == 0) {
        ShowPrescanMessage(s, kPrescanNotReady);
        return false;
    }
    if (!Inquire(s) || !WaitUntilReady(s)) return false;
    s.opticalResolution = PrescanOpticalResolution(s.blocks.inquiry);
    if (s.opticalResolution == 0) return false;
    s.optionInstalled = s.blocks.inquiry.optionInstalled == 1;
    return true;
}
