// The prescan library's message boxes, in the caller's language from the library's own table.
#pragma once

#include <cstdint>

#include "prescan/prescan_session.h"

// String numbers of the table (within a language's block).
constexpr uint32_t kPrescanWriteError = 1;
constexpr uint32_t kPrescanDiskFull = 3;
constexpr uint32_t kPrescanNotReady = 4;
constexpr uint32_t kPrescanNotFound = 5;
constexpr uint32_t kPrescanPaperJam = 15;
constexpr uint32_t kPrescanNoPaper = 16;
constexpr uint32_t kPrescanCoverOpen = 17;

// String n of the session's language.
std::string PrescanText(const PrescanSession& s, uint32_t n);

// Shows message n: not ready and not found as the check list under the message itself with
// the information icon; the others under the brand and "Flatbed Scanner", system-modal, with
// the error icon. Owned by the caller's window.
void ShowPrescanMessage(const PrescanSession& s, uint32_t n);

// The message for a request's non-zero status: jam, no paper, cover open, else not ready.
uint32_t StatusMessage(uint16_t status);

// A status reported the way every step does: its message, then ScanRequestStop.
void ReportStatus(PrescanSession& s, uint16_t status);

// The remote client's boxes: a socket error's name over the active window under "CLIENT"
// ("SERVER" for WSAEWOULDBLOCK), and the fixed disconnect message.
void ShowPrescanSocketError(int winSockCode);
void ShowPrescanDisconnect();
