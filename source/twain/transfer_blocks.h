// The driver shared by the memory and the file transfer: it prepares a transfer on its first
// call, then either delivers the next block straight from the scanner, or reads the whole
// image into a file first (the output file, or a spool that a second pass processes and
// delivers).
#pragma once

#include "engine/memory_blocks.h"
#include "engine/transfer_state.h"

// Allocates what the transfer needs and creates its files. False after the scan was ended
// (AbortScan has set the codes and shown the message).
bool PrepareTransfer(TransferKind kind);

// One call of a transfer: a memory transfer passes the application's buffer and gets the
// answer in the negotiation's MemXferRecord; a file transfer passes none. SourceReturnCode
// tells the outcome.
void TransferImageBlocks(TransferKind kind, const AppBlock* block);
