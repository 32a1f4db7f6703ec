#include "engine/scanner_wait.h"

#include "link/request_blocks_in_use.h"
#include "link/scanner_link.h"
#include "session/messages.h"

namespace {

constexpr uint32_t kPollPauseMs = 20;

}  // namespace

bool StopScanner() { return ScannerRequest(ScanRequestStop, &TheRequests.stop); }

bool PollUntilReady(plat::WindowHandle owner) {
    const uint32_t start = plat::TickCount();
    for (;;) {
        if (!ScannerRequest(ScanRequestGetStatus, &TheRequests.getStatus)) return false;
        if (TheRequests.getStatus.header.status != 0) break;
        if (TheRequests.getStatus.ready == 1) return true;
        if (plat::TickCount() - start >= kScannerBusyLimitMs) break;
        plat::SleepMs(kPollPauseMs);
    }
    ShowErrorMessage(owner, 629);
    return false;
}
