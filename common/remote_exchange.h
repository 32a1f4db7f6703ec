// One request to the sharing server over an open connection: the request frame, the image
// data of a read, and the reply frame. The data source and the prescan library both use it;
// they differ only in how they word a socket error, which they pass in.
//
// Every receive waits at most the connection's bound, so that a silent server cannot hang the
// application. A failed exchange closes the connection for good (the stream cannot be followed
// any more); every later request then fails at once. Nothing here shows the disconnect
// message: the caller does, after a false result.
#pragma once

#include <cstdint>

#include "common/request_blocks.h"
#include "platform/platform.h"

// The same bound as the waits for the scanner itself.
constexpr uint32_t kRemoteReplyWaitMs = 60000;

struct RemoteConnection {
    plat::Socket socket = plat::kNoSocket;  // kNoSocket once closed: requests fail at once
    uint32_t replyWaitMs = kRemoteReplyWaitMs;
    // A connection lent by its owner (the prescan library uses the data source's) is never
    // closed by the borrower: a failed exchange shuts it down instead, so that the owner finds
    // it ended at its next request and closes it then, and the borrower lets go of it.
    bool borrowed = false;
};

// Shows a WinSock error code to the user (its name, in the caller's words).
using ShowSocketError = void (*)(int winSockCode);

// Where a reply of each code is copied, indexed by code: a reply goes into the block of its
// own code, whichever request it answers. Code 10 names the two bytes of the shading reply.
struct ReplyBlocks {
    void* byCode[ScanRequestRemoteShading + 1] = {};
};

// Every code's reply lands in the set's block of that code; `block`, the one the request was
// made with, takes the reply of the request's own code.
ReplyBlocks ReplyBlocksOf(RequestBlockSet& blocks, uint32_t functionCode, void* block);

// Sends the request frame (code 1 carries the force-calibration flag). For a read it then
// receives the image data: the request's byte count, entry after entry of its buffer table,
// in receives of at most 32767 bytes. False when nothing could be sent or received; codes that
// are never sent (2, 3, above 10) return false at once without a word.
bool RemoteSendRequest(RemoteConnection& connection, uint32_t code, const void* block,
                       uint8_t forceCalibration, ShowSocketError showError);

// Receives the reply frame and copies it into its block. False on a receive error (its name
// shown, except for a reset connection), when the server closed the connection, when it
// stayed silent past the bound, and when the frame cannot be the answer to this request (an
// unknown code, a reply of another code, bytes past the frame's end).
bool RemoteReceiveReply(RemoteConnection& connection, uint32_t requestCode,
                        const ReplyBlocks& blocks, ShowSocketError showError);

// Closes the connection, or shuts a borrowed one down (nothing happens when it is closed
// already).
void RemoteClose(RemoteConnection& connection);
