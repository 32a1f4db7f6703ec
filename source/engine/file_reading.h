// Reading the whole image band by band into a file: the output file of a file transfer, or
// the spool of a transfer that is processed afterwards. Each band goes out with one write;
// only the scanner buffers and one band block are held, whatever the image size.
#pragma once

#include "common/scan_buffers.h"

// True when the port library laid its buffers out one after the other: a band then lies in
// one piece in the scanner block and can be written from there.
bool BuffersFollowEachOther(const ScanBuffers& buffers);

// Whether the bands must be gathered into a band block (widened or interpolated lines, band
// filters, buffers not in one piece); the band block's rows when they must.
bool BandsNeedBlock(const ScanBuffers& buffers);
uint32_t BandBlockRows(const ScanBuffers& buffers);
uint64_t BandBlockRowBytes();

// Reads every line. True with TWRC_XFERDONE; false after a cancel (TWRC_CANCEL), a read
// error or a failed write (AbortScan with TWCC_OPERATIONERROR and 619).
bool ReadImageToFile();
