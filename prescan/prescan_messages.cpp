#include "prescan/prescan_messages.h"

#include "common/profile_text.h"
#include "common/winsock_error_names.h"
#include "prescan/prescan_requests.h"
#include "prescan/prescan_strings.h"

namespace {

constexpr uint32_t kCaptionText = 14;  // "Flatbed Scanner"
constexpr uint32_t kCheckListFirst = 6, kCheckListLast = 11;
constexpr int kWouldBlock = 10035;

bool IsCheckList(uint32_t n) { return n == kPrescanNotReady || n == kPrescanNotFound; }

}  // namespace

std::string PrescanText(const PrescanSession& s, uint32_t n) {
    return PrescanString(50u * s.language + n);
}

void ShowPrescanMessage(const PrescanSession& s, uint32_t n) {
    if (IsCheckList(n)) {
        std::string text;
        for (uint32_t i = kCheckListFirst; i <= kCheckListLast; ++i) text += PrescanText(s, i);
        plat::MessageBox(s.call.owner, text.c_str(), PrescanText(s, n).c_str(),
                         plat::kMbOk | plat::kMbIconAsterisk);
        return;
    }
    const std::string caption = ReadProfileText("KVTINFO_A3", "BRAND", "SCANNER", 255) + " " +
                                PrescanText(s, kCaptionText);
    plat::MessageBox(s.call.owner, PrescanText(s, n).c_str(), caption.c_str(),
                     plat::kMbOk | plat::kMbIconHand | plat::kMbSystemModal);
}

uint32_t StatusMessage(uint16_t status) {
    switch (status) {
        case kScanStatusPaperJam: return kPrescanPaperJam;
        case kScanStatusNoPaper: return kPrescanNoPaper;
        case kScanStatusCoverOpen: return kPrescanCoverOpen;
        default: return kPrescanNotReady;
    }
}

void ReportStatus(PrescanSession& s, uint16_t status) {
    ShowPrescanMessage(s, StatusMessage(status));
    StopScanner(s);
}

void ShowPrescanSocketError(int winSockCode) {
    plat::MessageBox(plat::ActiveWindow(), WinSockErrorName(winSockCode),
                     winSockCode == kWouldBlock ? "SERVER" : "CLIENT", plat::kMbOk);
}

void ShowPrescanDisconnect() {
    plat::MessageBox(nullptr,
                     "A3 Flatbed Scanner disconnects from Relaynor.\nIt can't share the remote scanner.",
                     "A3 Flatbed Scanner", plat::kMbOk);
}
