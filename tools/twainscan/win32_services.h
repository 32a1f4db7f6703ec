// The Windows side of an acquisition: the thread's message queue and global memory
// (Windows builds only; the header itself needs no Windows header).
#pragma once

#include <memory>

#include "tools/twainscan/event_wait.h"
#include "tools/twainscan/memory_blocks.h"

namespace twainscan {

std::unique_ptr<MessagePump> MakeThreadMessagePump();
std::unique_ptr<MemoryBlocks> MakeGlobalMemoryBlocks();

}  // namespace twainscan
