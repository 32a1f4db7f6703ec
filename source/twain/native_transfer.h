// DAT_IMAGENATIVEXFER / MSG_GET: the whole image as one device-independent bitmap.
#pragma once

#include "common/twain.h"
#include "platform/platform.h"

void NativeTransfer(TW_MEMREF data);

// Reads the started scan into a new bitmap and processes it. Returns the bitmap's handle,
// or nullptr when no image could be built (SourceReturnCode says why).
plat::MemHandle TransferNativeImage();
