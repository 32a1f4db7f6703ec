// What an application does to the source, decoded from fuzz input: each call reads the
// values it needs (triplet, message, data block) from the input and makes one DS_Entry call
// or a short run of them. Data blocks the source reads are as hostile as an application can
// make them without breaking the rules a caller cannot be checked for: a pointer the
// application passes is real and as long as it says, while handles, counts, sizes, flags and
// strings are whatever the input says.
#pragma once

#include "tests/fuzz/fuzz_input.h"
#include "tests/fuzz/source_harness.h"

// Opens the source for an application whose product name is picked by the input (a plain
// name or one of the names the source serves differently) with the input's protocol version.
TW_UINT16 OpenAsApplication(SourceHarness& h, FuzzInput& in);

TW_UINT16 CapabilityCall(SourceHarness& h, FuzzInput& in);
// MSG_SET of a TW_UINT16 capability as one value, in a container the application owns.
TW_UINT16 SetOneValue(SourceHarness& h, TW_UINT16 capability, TW_UINT16 value);
TW_UINT16 LayoutCall(SourceHarness& h, FuzzInput& in);
TW_UINT16 FileSetupCall(SourceHarness& h, FuzzInput& in);
// MSG_ENABLEDS (not when the scan it would start is over the budget) or MSG_DISABLEDS.
TW_UINT16 UserInterfaceCall(SourceHarness& h, FuzzInput& in);
// Up to a few hundred DAT_IMAGEMEMXFER calls with one buffer, until the transfer ends.
TW_UINT16 MemoryTransfer(SourceHarness& h, FuzzInput& in);
TW_UINT16 NativeTransfer(SourceHarness& h);
TW_UINT16 FileTransfer(SourceHarness& h);
TW_UINT16 PendingTransfersCall(SourceHarness& h, FuzzInput& in);
// One of the plain getters (image info, memory set-up, status, transfer group, identity).
TW_UINT16 GetterCall(SourceHarness& h, FuzzInput& in);
// Any DG/DAT/MSG with a block of input bytes (or none), except the triplets whose data
// holds a pointer the source writes through or a path it creates.
TW_UINT16 RawTriplet(SourceHarness& h, FuzzInput& in);
// The scanning window's Scan (the source enabled with its window): the scan job with the
// mode, resolution, filters, descreen, output matching and scaling a user can choose there,
// on a small frame.
bool WindowScan(SourceHarness& h, FuzzInput& in);
// MSG_PROCESSEVENT, a call from a foreign origin, and the user's answers and Escape key (or
// a disk that fills up).
TW_UINT16 EventCall(SourceHarness& h, FuzzInput& in);
TW_UINT16 ForeignCall(SourceHarness& h, FuzzInput& in);
void UserAction(FuzzInput& in);
