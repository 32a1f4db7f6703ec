#include "dispatch.h"

#include <cstring>

#include "source_record.h"

namespace {

using Handler = void (*)(TW_MEMREF data);

// Legal states as a bit set of SourceState / 100.
constexpr uint32_t State(int s) { return 1u << (s / 100); }
constexpr uint32_t kOpenStates = State(400) | State(500) | State(600) | State(700);
constexpr uint32_t kAnyState = State(300) | kOpenStates;

struct TripletEntry {
    TW_UINT16 dat;
    TW_UINT16 msg;
    Handler handler;
    uint32_t legalStates;
    TW_UINT16 illegalCondition;
};

void GetIdentity(TW_MEMREF data) {
    if (!data) return FailCall(TWCC_BADVALUE);
    std::memcpy(data, &TheSource.SourceIdentity, sizeof(TW_IDENTITY));
}

const TripletEntry kTriplets[] = {
    {DAT_IDENTITY, MSG_GET, GetIdentity, kAnyState, TWCC_SEQERROR},
};

const TripletEntry* FindTriplet(TW_UINT16 dat, TW_UINT16 msg) {
    for (const TripletEntry& e : kTriplets)
        if (e.dat == dat && e.msg == msg) return &e;
    return nullptr;
}

}  // namespace

void FailCall(TW_UINT16 conditionCode) {
    TheSource.SourceReturnCode = TWRC_FAILURE;
    TheSource.SourceConditionCode = conditionCode;
}

void DispatchTriplet() {
    const TripletEntry* entry = FindTriplet(TheSource.CallDat, TheSource.CallMsg);
    if (!entry) return FailCall(TWCC_BADPROTOCOL);

    TheSource.SourceReturnCode = TWRC_SUCCESS;
    if (!(entry->legalStates & State(TheSource.SourceState)))
        return FailCall(entry->illegalCondition);
    TheSource.SourceConditionCode = TWCC_SUCCESS;
    entry->handler(TheSource.CallData);
}
