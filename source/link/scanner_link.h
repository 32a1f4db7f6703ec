// What the bring-up learns about the scanner and how it is reached, kept while the source is
// open, and the issuing of requests through the port library or the sharing server.
#pragma once

#include <cstdint>
#include <string>

#include "common/request_blocks.h"
#include "common/port_library.h"

struct ScannerLink {
    PortLibrary port;
    uint32_t scannerHandle = 0;  // ADDR_CHK's value, passed to every SPI_CALL
    bool remote = false;         // every request goes to the sharing server
    bool optionInstalled = false;
    uint16_t narrowBed = 0;
    float maxWidthInches = 11.7f;
    float maxLengthInches = 17.0f;
    uint16_t calibration[4] = {};
    uint16_t opticalResolution = 0;  // 0 until a scanner reported one we know
};

extern ScannerLink TheLink;

// Sends one request, to the port library or to the sharing server as the bring-up decided,
// and leaves the reply in the block; the caller cannot tell the two apart. False when no
// port library is bound, or when the remote transfer failed: the disconnect message has then
// been shown and the caller fails its operation.
bool ScannerRequest(uint32_t functionCode, void* block);

// Ends the link to the sharing server, if there is one: the connection is closed and WinSock
// stopped. The source does so when it closes, so that the server, which serves one client at
// a time, is free for the next one.
void DisconnectRemoteScanner();

// Builds the identification text from an inquiry reply: "1", the firmware characters at
// bytes 42 and 44-45, the hardware-variant digit, "kvtc_a3.d", a line feed, the card text
// and a line feed; at most 33 characters.
std::string IdentificationText(const InquiryBlock& inquiry, const std::string& cardText);

// The optical resolution in inquiry bytes 57-60 when it is one this source knows, else 0.
uint16_t InquiryOpticalResolution(const InquiryBlock& inquiry);
