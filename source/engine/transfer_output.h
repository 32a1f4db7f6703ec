// The output file of a file transfer: created in the negotiated format for the started
// scan, written band by band, closed once every row is in it. Until then it is not the
// image: the end of an unfinished transfer deletes it.
#pragma once

#include <cstdint>

#include "imagefile/output_file.h"

// The writer's request for the image of the started scan.
bool TransferOutputRequest(const char* path, uint16_t fileFormat, OutputFileRequest* request);

// Creates the file with its header. False after the scan was ended: message 619 with
// TWCC_OPERATIONERROR when the file cannot be made, 604 with TWCC_LOWMEMORY when the
// writer's work block cannot be had.
bool OpenTransferOutput(const char* path, uint16_t fileFormat);

// Length of the rows WriteTransferOutput takes (the interpolated rows of a half-resolution
// scan are twice a line).
uint32_t TransferOutputRowBytes();
uint32_t TransferOutputRowsPerLine();

// Writes the next rows; a failed write ends the scan with 619.
bool WriteTransferOutput(const uint8_t* rows, uint32_t count);

// Every row written: the file is closed and is the transfer's image. Otherwise 619.
bool CompleteTransferOutput();
