#include "twain/file_transfer.h"

#include "engine/scan_job_state.h"
#include "engine/transfer_end.h"
#include "session/call_codes.h"
#include "session/ui_hooks.h"
#include "twain/batch_hooks.h"
#include "twain/capability_tables.h"
#include "twain/dispatch.h"
#include "twain/notify.h"
#include "twain/source_record.h"
#include "twain/transfer_blocks.h"
#include "twain/transfer_outcome.h"

void FileTransfer(TW_MEMREF) {
    TheCall.SourceReturnCode = TWRC_XFERDONE;
    // Only a negotiated file transfer has a file to write; the image stays ready for the
    // transfer the application did negotiate.
    if (CurrentXferMech() != TWSX_FILE) return FailCall(TWCC_SEQERROR);
    AbandonTransfer();  // nothing of an earlier transfer may be left over
    TransferImageBlocks(TransferKind::File, nullptr);
    if (!EndUnsuccessfulTransfer(TheCall.SourceReturnCode))
        EndFinishedTransfer(BatchScanningActive());
    TheSource.SourceState = 700;
}
