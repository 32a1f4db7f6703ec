#include "common/remote_exchange.h"

#include <algorithm>

#include "common/remote_frames.h"

namespace {

constexpr int kConnectionReset = 10054;  // WSAECONNRESET

// A receive that failed: the error is named (a reset connection only by the caller's
// disconnect message) and the connection is closed. `named` false for a quiet failure.
bool Broken(RemoteConnection& c, ShowSocketError showError, bool named) {
    if (named) {
        const int code = plat::SocketLastError();
        if (code != kConnectionReset && showError) showError(code);
    }
    RemoteClose(c);
    return false;
}

// One receive of at most `bytes`: >0 received, else the connection is already closed.
int64_t ReceiveSome(RemoteConnection& c, uint8_t* into, size_t bytes, ShowSocketError showError) {
    const int64_t n = plat::SocketReceive(c.socket, into, bytes, c.replyWaitMs);
    if (n > 0) return n;
    Broken(c, showError, n < 0);  // 0: the server closed the connection
    return -1;
}

bool ReceiveExactly(RemoteConnection& c, uint8_t* into, uint32_t bytes, ShowSocketError showError) {
    for (uint32_t done = 0; done < bytes;) {
        const size_t ask = std::min<uint32_t>(bytes - done, kRemoteFrameBufferBytes);
        const int64_t n = ReceiveSome(c, into + done, ask, showError);
        if (n < 0) return false;
        done += static_cast<uint32_t>(n);
    }
    return true;
}

// Bytes the server sent that no request asked for mean the stream has lost its frames; a
// close that arrived since the last reply means the server has gone.
bool NothingPending(RemoteConnection& c, ShowSocketError showError) {
    if (plat::SocketWaitReadable(c.socket, 0) <= 0) return true;
    uint8_t stray[64];
    const int64_t n = plat::SocketReceive(c.socket, stray, sizeof stray, 0);
    return Broken(c, showError, n < 0);
}

// The read's image data: its byte count, spread over the entries in table order. A table that
// cannot hold it is refused before anything is sent.
bool TableHolds(const ReadDataBlock& read) {
    if (!read.table || read.entryCount == 0 || read.entryCount > kScanBufferTableEntries)
        return false;
    uint64_t room = 0;
    for (uint16_t i = 0; i < read.entryCount; ++i) {
        if (!read.table[i].address && read.table[i].size) return false;
        room += read.table[i].size;
    }
    return read.bytes <= room;
}

bool ReceiveImageData(RemoteConnection& c, const ReadDataBlock& read, ShowSocketError showError) {
    uint32_t left = read.bytes;
    for (uint16_t i = 0; i < read.entryCount && left > 0; ++i) {
        const ScanBufferEntry& entry = read.table[i];
        const uint32_t take = std::min(entry.size, left);
        if (!ReceiveExactly(c, entry.address, take, showError)) return false;
        left -= take;
    }
    return true;
}

}  // namespace

ReplyBlocks ReplyBlocksOf(RequestBlockSet& b, uint32_t functionCode, void* block) {
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
    if (functionCode <= ScanRequestRemoteShading && block) blocks.byCode[functionCode] = block;
    return blocks;
}

void RemoteClose(RemoteConnection& connection) {
    if (connection.socket != plat::kNoSocket) {
        if (connection.borrowed) plat::SocketShutdown(connection.socket);
        else plat::SocketClose(connection.socket);
    }
    connection.socket = plat::kNoSocket;
}

bool RemoteSendRequest(RemoteConnection& c, uint32_t code, const void* block,
                       uint8_t forceCalibration, ShowSocketError showError) {
    if (RequestFrameBytes(code) == 0 || c.socket == plat::kNoSocket) return false;
    if (code != ScanRequestRemoteShading && !block) return false;
    const auto* read = code == ScanRequestReadData ? static_cast<const ReadDataBlock*>(block)
                                                   : nullptr;
    if (read && !TableHolds(*read)) return false;
    if (!NothingPending(c, showError)) return false;

    uint8_t frame[kRemoteLargestFrame];
    const size_t bytes = EncodeRequestFrame(code, block, forceCalibration, frame);
    if (plat::SocketSend(c.socket, frame, bytes) != static_cast<int64_t>(bytes)) {
        if (showError) showError(plat::SocketLastError());
        RemoteClose(c);  // part of a frame may have left: the server can no longer follow
        return false;
    }
    return !read || ReceiveImageData(c, *read, showError);
}

bool RemoteReceiveReply(RemoteConnection& c, uint32_t requestCode, const ReplyBlocks& blocks,
                        ShowSocketError showError) {
    if (c.socket == plat::kNoSocket) return false;
    uint8_t frame[kRemoteFrameBufferBytes];
    int64_t arrived = ReceiveSome(c, frame, sizeof frame, showError);
    if (arrived < 0) return false;
    const size_t total = ReplyFrameBytes(frame[0]);
    if (total == 0 || static_cast<size_t>(arrived) > total) return Broken(c, showError, false);
    if (!ReceiveExactly(c, frame + arrived, static_cast<uint32_t>(total - arrived), showError))
        return false;
    if (void* block = blocks.byCode[frame[0]]) DecodeReplyFrame(frame, block);
    // A reply of another code went into its own block; the request itself has no answer.
    if (frame[0] != requestCode) return Broken(c, showError, false);
    return true;
}
