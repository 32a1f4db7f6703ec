// The scan log: the set-ups, tone-table downloads and scan starts the scanner accepted, kept as
// the caller's own blocks so that a program outside the caller's process can work out what
// every scan delivered (window, mode, tone tables) and render the image a correct caller must
// have ended up with.
//
// A log is a sequence of records: the request code (1 byte), the block's length (4 bytes,
// little-endian), then the block's bytes exactly as the layout gives them, written field by
// field. Only the set-up (32 bytes), tone-table (16404 bytes) and start (16 bytes) blocks are
// logged; none of them holds an address.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/request_blocks.h"
#include "simulator/device/profile.h"
#include "simulator/device/scan_geometry.h"
#include "simulator/device/tone.h"

constexpr size_t kScanLogRecordHead = 5;

// The record for an accepted request, empty for the codes the log does not keep and for a
// set-up that only stores the lamp-saver delay.
std::vector<uint8_t> ScanLogRecord(uint32_t code, const void* block);

// The block's bytes in its layout, and back.
void EncodeSetParameters(const SetParametersBlock& block, uint8_t (&out)[32]);
void DecodeSetParameters(const uint8_t (&in)[32], SetParametersBlock& block);
void EncodeSendGamma(const SendGammaBlock& block, uint8_t* out);  // 16404 bytes
void DecodeSendGamma(const uint8_t* in, SendGammaBlock& block);
void EncodeStartScan(const StartScanBlock& block, uint8_t (&out)[16]);
void DecodeStartScan(const uint8_t (&in)[16], StartScanBlock& block);

// One started scan: the set-up in force and the tone tables the scanner held at its start.
struct LoggedScan {
    ScanWindow window;
    uint32_t lines = 0;          // from the start reply
    uint32_t bytesPerLine = 0;
    ToneState tones;
};

// Replays a whole log on a scanner of `profile` just powered on. Fails on a truncated or
// malformed record, and on a start with no set-up before it.
bool ReplayScanLog(const uint8_t* data, size_t size, const ScannerProfile& profile,
                   std::vector<LoggedScan>& scans, std::string& error);
