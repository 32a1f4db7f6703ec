#include "capability_request.h"

#include "capability_answers.h"
#include "capability_container.h"
#include "capability_settings.h"
#include "dispatch.h"
#include "source_record.h"

namespace {

bool ReadSetValue(const TW_CAPABILITY& cap, CapabilityValue& value) {
    if (cap.ConType == TWON_ONEVALUE) return ReadOneValue(cap, value);
    if (cap.ConType == TWON_ENUMERATION) return ReadFirstEnumItem(cap, value);
    FailCall(TWCC_BADVALUE);
    return false;
}

}  // namespace

void CapabilityRequest(TW_UINT16 msg) {
    TheSource.SourceReturnCode = TWRC_SUCCESS;
    TheSource.SourceConditionCode = TWCC_SUCCESS;
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
