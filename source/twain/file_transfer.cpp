#include "file_transfer.h"

#include "batch_hooks.h"
#include "capability_tables.h"
#include "dispatch.h"
#include "notify.h"
#include "scan_job_state.h"
#include "source_record.h"
#include "transfer_blocks.h"
#include "transfer_end.h"
#include "transfer_outcome.h"
#include "ui_hooks.h"

void FileTransfer(TW_MEMREF) {
    TheSource.SourceReturnCode = TWRC_XFERDONE;
    // Only a negotiated file transfer has a file to write; the image stays ready for the
    // transfer the application did negotiate.
    if (CurrentXferMech() != TWSX_FILE) return FailCall(TWCC_SEQERROR);
    AbandonTransfer();  // nothing of an earlier transfer may be left over
    TransferImageBlocks(TransferKind::File, nullptr);
    if (!EndUnsuccessfulTransfer(TheSource.SourceReturnCode))
        EndFinishedTransfer(BatchScanningActive());
    TheSource.SourceState = 700;
}
