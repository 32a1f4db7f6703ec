#include "ds_entry.h"

#include <new>

#include "dispatch.h"
#include "source_record.h"

namespace {

// While an application has the source open, calls from any other origin are ignored and
// see the previous call's return code. The source manager lists sources with a NULL or
// uninitialised origin, so the origin is only read when there is an owner to compare with.
bool IsForeignOrigin(pTW_IDENTITY origin) {
    if (TheSource.AppIdentity.Id == 0) return false;
    return origin == nullptr || origin->Id != TheSource.AppIdentity.Id;
}

void ProcessEvent() {
    TheSource.SourceReturnCode = TWRC_NOTDSEVENT;
    TheSource.SourceConditionCode = TWCC_SUCCESS;
    // The scanning window's dialog filter joins here once the window exists.
}

}  // namespace

extern "C" TW_UINT16 TW_CALLINGSTYLE DS_Entry(pTW_IDENTITY pOrigin, TW_UINT32 DG, TW_UINT16 DAT,
                                              TW_UINT16 MSG, TW_MEMREF pData) {
    if (IsForeignOrigin(pOrigin)) return TheSource.SourceReturnCode;

    TheSource.CallOrigin = pOrigin;
    TheSource.CallGroup = DG;
    TheSource.CallDat = DAT;
    TheSource.CallMsg = MSG;
    TheSource.CallData = pData;

    // Nothing may escape into the application: a failure inside a handler becomes a failed call.
    try {
        if (MSG == MSG_PROCESSEVENT)
            ProcessEvent();
        else
            DispatchTriplet();
    } catch (const std::bad_alloc&) {
        FailCall(TWCC_LOWMEMORY);
    } catch (...) {
        FailCall(TWCC_BUMMER);
    }
    return TheSource.SourceReturnCode;
}
