// Issuing the prescan's requests: through the port library (handle 0) or, when the data
// source lent its connection, as frames to the sharing server. The steps do not know which.
#pragma once

#include <cstdint>

#include "prescan/prescan_session.h"

// Sends the request and leaves the reply in the block. False when nothing could be asked:
// no port library, or the exchange with the server failed (the disconnect message is then
// shown once, and every later request fails at once).
bool PrescanRequest(PrescanSession& s, uint32_t functionCode, void* block);

// ScanRequestStop; its status is not read.
void StopScanner(PrescanSession& s);

// Polls ScanRequestGetStatus until the scanner reports ready, pausing pauseMs between polls
// and keeping the caller's windows alive, at most kScannerWaitLimitMs. Returns the status of
// the last poll when it is not 0, kStatusNeverReady when the wait ran out or a request could
// not be sent, 0 when ready.
constexpr uint32_t kScannerWaitLimitMs = 60000;
constexpr uint32_t kStatusNeverReady = 0xFFFFFFFFu;
uint32_t WaitForReady(PrescanSession& s, uint32_t pauseMs);
