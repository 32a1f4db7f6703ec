// The second pass of a transfer that post-processes: the spool is read back, processed
// (output matching, the chosen filter, interpolation, CMYK) and delivered block by block
// into the application's buffers, or written into the output file.
#pragma once

#include "engine/memory_blocks.h"

// After the spool is written: reopens it for reading and, for a file transfer, takes the
// block the rows are processed in. False after the scan was ended (619 when the spool
// cannot be reopened, 604 when the block cannot be had).
bool PrepareSpooledPass();

// The next block of rows into the application's buffer (memory transfer, block given) or
// the whole image into the output file (file transfer, no block). True with TWRC_SUCCESS
// or TWRC_XFERDONE. False after ESC (TWRC_CANCEL), a buffer too small for one block (604),
// a spool that cannot be read (618 "Read File Failure.") or a failed write (619).
bool ProcessSpooledImage(const AppBlock* block);
