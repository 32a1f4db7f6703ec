#include "twain/transfer_setup.h"

#include "session/ui_hooks.h"

#include <cstring>

#include "engine/transfer_end.h"
#include "session/call_codes.h"
#include "twain/dispatch.h"
#include "twain/negotiation.h"
#include "twain/source_record.h"

namespace {

template <typename T>
void Answer(TW_MEMREF data, const T& value) {
    std::memcpy(data, &value, sizeof value);
}

}  // namespace

// The source holds one image at a time, so it always reports one pending transfer.
void GetPendingTransfers(TW_MEMREF data) {
    TheNegotiation.PendingCount = 1;
    static_cast<TW_PENDINGXFERS*>(data)->Count = 1;
}

void EndTransfer(TW_MEMREF data) {
    if (TheSource.SourceState == 600) AbandonUntakenScan();
    else AbandonTransfer();
    TheNegotiation.PendingCount = 0;
    Answer(data, TW_PENDINGXFERS{0, 0});
    TheSource.SourceState = 500;
}

void ResetTransfers(TW_MEMREF data) {
    if (TheSource.SourceState == 600) AbandonUntakenScan();
    else AbandonTransfer();
    TheSource.SourceState = 500;
    static_cast<TW_PENDINGXFERS*>(data)->Count = 0;
}

void GetSetupMemoryTransfer(TW_MEMREF data) { Answer(data, TW_SETUPMEMXFER{65536, 65536, 65536}); }

void GetFileSetup(TW_MEMREF data) { Answer(data, TheNegotiation.CurrentFileSetup); }

void GetDefaultFileSetup(TW_MEMREF data) { Answer(data, TheNegotiation.DefaultFileSetup); }

// Only TIFF can be asked for here. The name must be a terminated, non-empty text: a file
// transfer creates exactly that file.
void SetFileSetup(TW_MEMREF data) {
    TW_SETUPFILEXFER setup;
    std::memcpy(&setup, data, sizeof setup);
    if (setup.Format != TWFF_TIFF) return FailCall(TWCC_BADVALUE);
    const size_t length = strnlen(setup.FileName, sizeof setup.FileName);
    if (length == 0 || length == sizeof setup.FileName) return FailCall(TWCC_BADVALUE);
    TheNegotiation.FileFormatIndex = 0;
    TheNegotiation.CurrentFileSetup = setup;
}

void ResetFileSetup(TW_MEMREF data) {
    TheNegotiation.CurrentFileSetup = TheNegotiation.DefaultFileSetup;
    GetFileSetup(data);
}

void GetTransferGroup(TW_MEMREF data) { Answer(data, TheNegotiation.XferGroup); }

// Reports the condition of the previous call once.
void GetStatus(TW_MEMREF data) {
    Answer(data, TW_STATUS{TheCall.SourceConditionCode, 0});
    TheCall.SourceConditionCode = TWCC_SUCCESS;
}

void GetImageInfo(TW_MEMREF data) { Answer(data, TheNegotiation.ImageInfoRecord); }

void GetImageLayout(TW_MEMREF data) { Answer(data, TheNegotiation.CurrentLayout); }

void GetDefaultImageLayout(TW_MEMREF data) { Answer(data, TheNegotiation.DefaultLayout); }

void SetImageLayout(TW_MEMREF data) { std::memcpy(&TheNegotiation.CurrentLayout, data, 28); }

void ResetImageLayout(TW_MEMREF data) {
    TheNegotiation.CurrentLayout = TheNegotiation.DefaultLayout;
    GetImageLayout(data);
}

void DisableSource(TW_MEMREF data) {
    const auto* ui = static_cast<const TW_USERINTERFACE*>(data);
    // Disabled with an image pending or half delivered: nothing will take the rest of it.
    if (TheSource.SourceState == 600) AbandonUntakenScan();
    else AbandonTransfer();
    // The scanning window is hidden, not destroyed: a later enable shows it again.
    if (!ui->ShowUI && TheSource.ScanningWindow && TheUi.HideScanningWindow)
        TheUi.HideScanningWindow();
    TheSource.SourceState = 400;
}
