// What every transfer does when it ends, whatever the outcome.
#pragma once

// Frees what the transfer still holds (scanner and work buffers), closes and deletes the
// spool files, closes the output file (deleting it unless the image was completed in it),
// closes the progress window and returns the colour adjustment to bitmap order;
// HalfResolutionScan is cleared and the next transfer call prepares a new transfer.
void EndOfScanCleanUp();

// The application ends or resets the transfers, or closes the source, while a memory
// transfer is still delivering blocks: a scanner still reading is stopped and waited for,
// then the transfer ends as after a cancel. Nothing happens when no transfer is in progress.
void AbandonTransfer();

// The application ends or resets the transfers in state 6, before taking the image: the
// scanner, which started the scan and holds its lines, is stopped and waited for, and what
// the scan job prepared for the transfer is freed. Without this the scanner would stay busy
// and the next scan would find it not ready.
void AbandonUntakenScan();
