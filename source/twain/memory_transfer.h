// DAT_IMAGEMEMXFER / MSG_GET: the image in blocks of whole rows, one block per call, into
// buffers the application owns.
#pragma once

#include "common/twain.h"

void MemoryTransfer(TW_MEMREF data);
