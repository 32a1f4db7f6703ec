#include "twain/capability_request.h"

#include "session/call_codes.h"
#include "twain/capability_answers.h"
#include "twain/capability_container.h"
#include "twain/capability_settings.h"
#include "twain/dispatch.h"
#include "twain/source_record.h"

namespace {

bool ReadSetValue(const TW_CAPABILITY& cap, CapabilityValue& value) {
    if (cap.ConType == TWON_ONEVALUE) return ReadOneValue(cap, value);
    if (cap.ConType == TWON_ENUMERATION) return ReadFirstEnumItem(cap, value);
    FailCall(TWCC_BADVALUE);
    return false;
}

}  // namespace

void CapabilityRequest(TW_UINT16 msg) {
    TheCall.SourceReturnCode = TWRC_SUCCESS;
    TheCall.SourceConditionCode = TWCC_SUCCESS;
    switch (msg) {
        case MSG_GET:
        case MSG_GETCURRENT:
        case MSG_GETDEFAULT:
        case MSG_SET:
        case MSG_RESET: break;
        default: return FailCall(TWCC_BADPROTOCOL);
    }
    auto* cap = static_cast<TW_CAPABILITY*>(TheSource.CallData);
    if (!cap) return FailCall(TWCC_BADVALUE);

    if (msg == MSG_SET) {
        CapabilityValue value;
        if (ReadSetValue(*cap, value)) SetCapability(cap->Cap, value);
        return;
    }
    if (msg == MSG_RESET) ResetCapability(cap->Cap);
    // The default is answered with the current value, as the source has always done.
    AnswerCapability(*cap, msg == MSG_GET);
}
