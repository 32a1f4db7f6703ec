#include "twain/memory_transfer.h"

#include <cstddef>
#include <cstring>

#include "engine/memory_blocks.h"
#include "engine/scan_job_state.h"
#include "engine/transfer_end.h"
#include "engine/transfer_rows.h"
#include "session/call_codes.h"
#include "session/ui_hooks.h"
#include "twain/batch_hooks.h"
#include "twain/capability_applications.h"
#include "twain/dispatch.h"
#include "twain/negotiation.h"
#include "twain/notify.h"
#include "twain/source_record.h"
#include "twain/transfer_blocks.h"
#include "twain/transfer_outcome.h"

namespace {

constexpr TW_UINT32 kPointerFlags = TWMF_APPOWNS | TWMF_POINTER;  // 9
constexpr TW_UINT32 kHandleFlags = TWMF_APPOWNS | TWMF_HANDLE;    // 17

// The fields of TW_IMAGEMEMXFER before Memory: what the answer fills.
constexpr size_t kAnswerBytes = offsetof(TW_IMAGEMEMXFER, Memory);

// The application's buffer for this call. Flags 9 give the address, flags 17 a handle that
// stays locked until the call ends. Anything else, no buffer, or a buffer that holds no block
// (shorter than a row, or than the rows of one line, or without the rows line art keeps free)
// is refused before anything is read or written: the transfer can go on with a larger one.
struct AppBuffer {
    AppBlock block;
    plat::MemHandle lockedHandle = nullptr;
};

bool TakeAppBuffer(const TW_MEMORY& memory, AppBuffer* buffer) {
    StepContext step;
    if (!CurrentStepContext(&step)) {
        FailCall(TWCC_BADVALUE);
        return false;
    }
    const auto holdsABlock = [&step](uint32_t bytes) {
        return RowsPerBlock(step.shape, step.scanMode, bytes) > 0;
    };
    if ((memory.Flags != kPointerFlags && memory.Flags != kHandleFlags) || !memory.TheMem ||
        !holdsABlock(memory.Length)) {
        FailCall(TWCC_BADVALUE);
        return false;
    }
    buffer->block.bytes = memory.Length;
    if (memory.Flags == kPointerFlags) {
        buffer->block.data = static_cast<uint8_t*>(memory.TheMem);
        return true;
    }
    buffer->lockedHandle = memory.TheMem;
    buffer->block.data = static_cast<uint8_t*>(plat::MemLock(buffer->lockedHandle));
    if (!buffer->block.data) {
        FailCall(TWCC_SEQERROR);
        return false;
    }
    // A handle says how much it holds: never write past it, whatever Length claims.
    const size_t held = plat::MemSize(buffer->lockedHandle);
    if (held < buffer->block.bytes) buffer->block.bytes = uint32_t(held);
    if (holdsABlock(buffer->block.bytes)) return true;
    plat::MemUnlock(buffer->lockedHandle);
    FailCall(TWCC_BADVALUE);
    return false;
}

// The one application that takes its next batch job at MSG_ENDXFER.
bool AppTakesBatchTimerAtEndTransfer() {
    return AppIsBatchPublisher() && TheSource.AppIdentity.ProtocolMinor == 5;
}

void EndBlockCall() {
    const TW_UINT16 rc = TheCall.SourceReturnCode;
    if (EndUnsuccessfulTransfer(rc) || rc != TWRC_XFERDONE) return;  // more blocks to come
    EndFinishedTransfer(BatchScanningActive() && !BatchWritesFiles() &&
                        !AppTakesBatchTimerAtEndTransfer());
}

}  // namespace

void MemoryTransfer(TW_MEMREF data) {
    auto* answer = static_cast<TW_IMAGEMEMXFER*>(data);
    // In state 700 a memory transfer only goes on; one that has ended has nothing more.
    if (TheSource.SourceState == 700 && TheTransfer.NewTransfer) return FailCall(TWCC_SEQERROR);
    if (TheSource.SourceState == 600) AbandonTransfer();  // nothing may be left over
    TW_IMAGEMEMXFER request;
    std::memcpy(&request, answer, sizeof request);
    AppBuffer buffer;
    if (!TakeAppBuffer(request.Memory, &buffer)) return;

    TheNegotiation.MemXferRecord = request;
    TransferImageBlocks(TransferKind::Memory, &buffer.block);
    if (BatchScanningActive() && BatchWritesFiles()) ScanRemainingBatchJobs();
    const TW_UINT16 rc = TheCall.SourceReturnCode;
    if (rc != TWRC_SUCCESS && rc != TWRC_XFERDONE)
        AnswerMemoryBlock(TheNegotiation.MemXferRecord,
                          uint32_t(TheNegotiation.ImageInfoRecord.ImageWidth));
    std::memcpy(answer, &TheNegotiation.MemXferRecord, kAnswerBytes);
    if (buffer.lockedHandle) plat::MemUnlock(buffer.lockedHandle);
    EndBlockCall();
    TheSource.SourceState = 700;
}
