// Setting and reading one capability value the way an application does: a TW_ONEVALUE in a
// block the application allocates for MSG_SET, and the source's container, checked before
// it is read, for MSG_GETCURRENT.
#pragma once

#include <string>

#include "common/twain.h"
#include "tools/twainscan/memory_blocks.h"
#include "tools/twainscan/source_link.h"

namespace twainscan {

// TWAIN's fixed-point number: round(x * 65536), whole part signed.
TW_FIX32 ToFix32(double value);
double FromFix32(TW_FIX32 value);
// The 32-bit item of a TW_ONEVALUE holding a TW_FIX32, in the structure's own byte order.
TW_UINT32 Fix32Item(TW_FIX32 value);
TW_FIX32 Fix32OfItem(TW_UINT32 item);

bool SetOneValue(SourceLink& link, MemoryBlocks& blocks, TW_UINT16 cap, TW_UINT16 itemType,
                 TW_UINT32 item, std::string& error);

// MSG_GETCURRENT, answered as a TW_ONEVALUE. The container is freed here.
bool GetCurrentOneValue(SourceLink& link, MemoryBlocks& blocks, TW_UINT16 cap,
                        TW_ONEVALUE& value, std::string& error);

// Sets the value, then reads it back: a source may answer TWRC_SUCCESS and keep another
// value. FIX32 values compare by whole part, which is all this application ever asks.
bool SetAndVerify(SourceLink& link, MemoryBlocks& blocks, TW_UINT16 cap, TW_UINT16 itemType,
                  TW_UINT32 item, std::string& error);

}  // namespace twainscan
