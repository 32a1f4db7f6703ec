#include "prescan/prescan_requests.h"

#include "prescan/prescan_messages.h"

namespace {

// Each reply lands in the library's block of its own code; the block asked with takes the
// reply of the request's code.
ReplyBlocks PrescanReplyBlocks(PrescanBlocks& b, uint32_t functionCode, void* block) {
    ReplyBlocks blocks;
    blocks.byCode[ScanRequestInquiry] = &b.inquiry;
    blocks.byCode[ScanRequestSetParameters] = &b.setParameters;
    blocks.byCode[ScanRequestSendGamma] = &b.sendGamma;
    blocks.byCode[ScanRequestStartScan] = &b.startScan;
    blocks.byCode[ScanRequestStop] = &b.stop;
    blocks.byCode[ScanRequestShadingInfo] = &b.shadingInfo;
    blocks.byCode[ScanRequestReadData] = &b.readData;
    blocks.byCode[ScanRequestGetStatus] = &b.getStatus;
    blocks.byCode[ScanRequestRemoteShading] = b.remoteShadingReply;
    if (functionCode <= ScanRequestRemoteShading) blocks.byCode[functionCode] = block;
    return blocks;
}

bool RemoteRequest(PrescanSession& s, uint32_t functionCode, void* block) {
    if (s.remoteBroken) return false;
    if (RemoteSendRequest(s.connection, functionCode, block, 0, ShowPrescanSocketError) &&
        RemoteReceiveReply(s.connection, functionCode,
                           PrescanReplyBlocks(s.blocks, functionCode, block),
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
