#include "link/scanner_link.h"

#include <cstring>

#include "common/request_clearing.h"
#include "link/remote_client.h"
#include "link/request_blocks_in_use.h"

ScannerLink TheLink;
SourceRequestBlocks TheRequests;

bool ScannerRequest(uint32_t functionCode, void* block) {
    ClearRequestBlock(functionCode, block);
    if (TheLink.remote)
        return RemoteExchange(functionCode, block, TheRequests.forceColourCalibration);
    // No port library bound (the source is not open on a scanner): nothing can be asked.
    if (!TheLink.port.SPI_CALL) return false;
    TheLink.port.SPI_CALL(block, TheLink.scannerHandle, functionCode);
    return true;
}

void DisconnectRemoteScanner() {
    RemoteStop();
    TheLink.remote = false;
}

std::string IdentificationText(const InquiryBlock& inquiry, const std::string& cardText) {
    std::string text = "1";
    text += inquiry.firmwareMajor;
    text += inquiry.firmwareMinor[0];
    text += inquiry.firmwareMinor[1];
    text += inquiry.hardwareVariant == 1 ? "1" : "0";
    text += std::string("kvtc_a3.ds").substr(0, 9);
    text += "\n" + cardText + "\n";
    return text.substr(0, 33);
}

uint16_t InquiryOpticalResolution(const InquiryBlock& inquiry) {
    char digits[5] = {};
    std::memcpy(digits, inquiry.opticalResolution, 4);
    int value = 0;
    const char* p = digits;
    while (*p == ' ') ++p;
    for (; *p >= '0' && *p <= '9'; ++p) value = value * 10 + (*p - '0');
    switch (value) {
        case 600: case 606: case 800: case 1200: return static_cast<uint16_t>(value);
        default: return 0;
    }
}
