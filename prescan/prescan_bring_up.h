// The prescan's own bring-up: the scanner checked, asked what it is and waited for.
#pragma once

#include "prescan/prescan_session.h"

// ADDR_CHK, the inquiry, the wait until ready (with the not-ready dialog) and the optical
// resolution. False after the failure was shown (or, for a resolution this library does not
// know, without a message).
bool PrescanBringUp(PrescanSession& s);

// The optical resolution spelt in inquiry bytes 57-60, 0 when it is none this library knows.
// Scanners spell it either way: "6000", "6060", "8000" or "0600", "0606", "0800"; "1200".
uint16_t PrescanOpticalResolution(const InquiryBlock& inquiry);
