#include "twain/notify.h"

#include "platform/platform.h"
#include "twain/source_record.h"

namespace {

TW_UINT16 SendToApplication(TW_UINT16 msg) {
    return plat::NotifySourceManager(&TheSource.SourceIdentity, &TheSource.AppIdentity,
                                     DG_CONTROL, DAT_NULL, msg, nullptr);
}

}  // namespace

bool NotifyXferReady() {
    const uint16_t before = TheSource.SourceState;
    TheSource.SourceState = 600;
    if (SendToApplication(MSG_XFERREADY) == TWRC_SUCCESS) return true;
    TheSource.SourceState = before;
    return false;
}

void NotifyCloseRequest() { SendToApplication(MSG_CLOSEDSREQ); }
