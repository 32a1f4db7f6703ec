#include "prescan/prescan_requests.h"

#include "prescan/prescan_messages.h"

namespace {

bool RemoteRequest(PrescanSession& s, uint32_t functionCode, void* block) {
    if (s.remoteBroken) return false;
    if (RemoteSendRequest(s.connection, functionCode, block, 0, ShowPrescanSocketError) &&
        RemoteReceiveReply(s.connection, functionCode,
                           ReplyBlocksOf(s.blocks, functionCode, block),
                           ShowPrescanSocketError))
        return true;
    // Said once: the steps after a lost connection fail without asking again.
    s.remoteBroken = true;
    ShowPrescanDisconnect();
    return false;
}

}  // namespace

bool PrescanRequest(PrescanSession& s, uint32_t functionCode, void* block) {
    if (s.remote) return RemoteRequest(s, functionCode, block);
    if (!s.port.SPI_CALL || functionCode > ScanRequestGetStatus) return false;
    s.port.SPI_CALL(block, 0, functionCode);
    return true;
}

void StopScanner(PrescanSession& s) { PrescanRequest(s, ScanRequestStop, &s.blocks.stop); }

uint32_t WaitForReady(PrescanSession& s, uint32_t pauseMs) {
    const uint32_t start = plat::TickCount();
    for (;;) {
        if (!PrescanRequest(s, ScanRequestGetStatus, &s.blocks.getStatus)) return kStatusNeverReady;
        if (s.blocks.getStatus.header.status != 0) return s.blocks.getStatus.header.status;
        if (s.blocks.getStatus.ready == 1) return 0;
        if (plat::TickCount() - start >= kScannerWaitLimitMs) return kStatusNeverReady;
        plat::SleepMs(pauseMs);
        plat::PumpMessagesCheckEscape();
    }
}
