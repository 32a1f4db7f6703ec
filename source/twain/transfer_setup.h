// The triplets around a transfer that are not the transfer itself.
#pragma once

#include "common/twain.h"

void GetPendingTransfers(TW_MEMREF data);
void EndTransfer(TW_MEMREF data);
void ResetTransfers(TW_MEMREF data);
void GetSetupMemoryTransfer(TW_MEMREF data);
void GetFileSetup(TW_MEMREF data);
void GetDefaultFileSetup(TW_MEMREF data);
void SetFileSetup(TW_MEMREF data);
void ResetFileSetup(TW_MEMREF data);
void GetTransferGroup(TW_MEMREF data);
void GetStatus(TW_MEMREF data);
void GetImageInfo(TW_MEMREF data);
void GetImageLayout(TW_MEMREF data);
void GetDefaultImageLayout(TW_MEMREF data);
void SetImageLayout(TW_MEMREF data);
void ResetImageLayout(TW_MEMREF data);
void DisableSource(TW_MEMREF data);
