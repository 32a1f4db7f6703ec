#include "notify.h"

#include "platform.h"
#include "source_record.h"

namespace {

void SendToApplication(TW_UINT16 msg) {
    plat::NotifySourceManager(&TheSource.SourceIdentity, &TheSource.AppIdentity, DG_CONTROL,
                              DAT_NULL, msg, nullptr);
}

}  // namespace

void NotifyXferReady() {
    TheSource.SourceState = 600;
    SendToApplication(MSG_XFERREADY);
}

void NotifyCloseRequest() { SendToApplication(MSG_CLOSEDSREQ); }
