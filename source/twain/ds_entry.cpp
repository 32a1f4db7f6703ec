#include "twain/ds_entry.h"

#include <new>

#include "session/call_codes.h"
#include "session/ui_hooks.h"
#include "twain/dispatch.h"
#include "twain/source_record.h"

namespace {

// While an application has the source open, calls from any other origin are ignored and
// see the previous call's return code. The source manager lists sources with a NULL or
// uninitialised origin, so the origin is only read when there is an owner to compare with.
bool IsForeignOrigin(pTW_IDENTITY origin) {
    if (TheSource.AppIdentity.Id == 0) return false;
    return origin == nullptr || origin->Id != TheSource.AppIdentity.Id;
}

// Every message of the application's loop passes here while the source is enabled; the
// scanning window takes the ones meant for its controls.
void ProcessEvent(TW_MEMREF data) {
    TheCall.SourceReturnCode = TWRC_NOTDSEVENT;
    TheCall.SourceConditionCode = TWCC_SUCCESS;
    auto* event = static_cast<TW_EVENT*>(data);
    if (!TheSource.ScanningWindow || !event || !event->pEvent || !TheUi.FilterWindowMessage) return;
    if (TheUi.FilterWindowMessage(event->pEvent)) {
        TheCall.SourceReturnCode = TWRC_DSEVENT;
        event->TWMessage = MSG_NULL;
    }
}

}  // namespace

extern "C" TW_UINT16 TW_CALLINGSTYLE DS_Entry(pTW_IDENTITY pOrigin, TW_UINT32 DG, TW_UINT16 DAT,
                                              TW_UINT16 MSG, TW_MEMREF pData) {
    if (IsForeignOrigin(pOrigin)) return TheCall.SourceReturnCode;

    TheSource.CallOrigin = pOrigin;
    TheSource.CallGroup = DG;
    TheSource.CallDat = DAT;
    TheSource.CallMsg = MSG;
    TheSource.CallData = pData;

    // Nothing may escape into the application: a failure inside a handler becomes a failed call.
    try {
        if (MSG == MSG_PROCESSEVENT)
            ProcessEvent(pData);
        else
            DispatchTriplet();
    } catch (const std::bad_alloc&) {
        FailCall(TWCC_LOWMEMORY);
    } catch (...) {
        FailCall(TWCC_BUMMER);
    }
    return TheCall.SourceReturnCode;
}
