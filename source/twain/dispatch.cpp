#include "twain/dispatch.h"

#include <cstring>

#include "session/call_codes.h"
#include "session/ui_hooks.h"
#include "twain/capability_applications.h"
#include "twain/capability_reduced.h"
#include "twain/capability_request.h"
#include "twain/enable_source.h"
#include "twain/file_transfer.h"
#include "twain/memory_transfer.h"
#include "twain/native_transfer.h"
#include "twain/negotiation.h"
#include "twain/open_source.h"
#include "twain/source_record.h"
#include "twain/start_without_ui.h"
#include "twain/transfer_setup.h"

namespace {

using Handler = void (*)(TW_MEMREF data);

// Legal states as a bit set of SourceState / 100.
constexpr uint32_t State(int s) { return 1u << (s / 100); }
constexpr uint32_t k300 = State(300), k400 = State(400), k500 = State(500), k600 = State(600),
                   k700 = State(700);
constexpr uint32_t kOpen = k400 | k500 | k600 | k700;
constexpr uint32_t kAny = k300 | kOpen;
constexpr uint32_t kBeforeTransfer = k400 | k500 | k600;

enum Flags : uint8_t {
    kNone = 0,
    kNullDataAllowed = 1,  // the handler does not touch pData
    kKeepsCondition = 2,   // the handler reads the previous call's condition code
    kEnablesControls = 4,  // a transfer refused for its state still re-enables the window
};

struct TripletEntry {
    TW_UINT16 dat;
    TW_UINT16 msg;
    Handler handler;
    uint32_t legalStates;
    TW_UINT16 illegalCondition;
    uint8_t flags;
};

void GetIdentity(TW_MEMREF data) { std::memcpy(data, &TheSource.SourceIdentity, sizeof(TW_IDENTITY)); }

const TripletEntry kTriplets[] = {
    {DAT_IDENTITY, MSG_GET, GetIdentity, kAny, TWCC_SEQERROR, kNone},
    {DAT_IDENTITY, MSG_OPENDS, OpenSource, k300, TWCC_MAXCONNECTIONS, kNone},
    {DAT_IDENTITY, MSG_CLOSEDS, CloseSource, kOpen, TWCC_SEQERROR, kNullDataAllowed},
    {DAT_PENDINGXFERS, MSG_GET, GetPendingTransfers, kOpen, TWCC_SEQERROR, kNone},
    {DAT_PENDINGXFERS, MSG_ENDXFER, EndTransfer, k600 | k700, TWCC_SEQERROR, kNone},
    {DAT_PENDINGXFERS, MSG_RESET, ResetTransfers, k600 | k700, TWCC_SEQERROR, kNone},
    {DAT_SETUPMEMXFER, MSG_GET, GetSetupMemoryTransfer, kBeforeTransfer, TWCC_SEQERROR, kNone},
    {DAT_SETUPFILEXFER, MSG_GET, GetFileSetup, kBeforeTransfer, TWCC_SEQERROR, kNone},
    {DAT_SETUPFILEXFER, MSG_GETDEFAULT, GetDefaultFileSetup, kBeforeTransfer, TWCC_SEQERROR, kNone},
    {DAT_SETUPFILEXFER, MSG_SET, SetFileSetup, kBeforeTransfer, TWCC_SEQERROR, kNone},
    {DAT_SETUPFILEXFER, MSG_RESET, ResetFileSetup, k400, TWCC_SEQERROR, kNone},
    {DAT_STATUS, MSG_GET, GetStatus, kOpen, TWCC_SEQERROR, kKeepsCondition},
    {DAT_USERINTERFACE, MSG_ENABLEDS, EnableSource, k400, TWCC_SEQERROR, kNone},
    {DAT_USERINTERFACE, MSG_DISABLEDS, DisableSource, k500 | k600 | k700, TWCC_SEQERROR, kNone},
    {DAT_XFERGROUP, MSG_GET, GetTransferGroup, kBeforeTransfer, TWCC_SEQERROR, kNone},
    {DAT_IMAGEINFO, MSG_GET, GetImageInfo, k600, TWCC_SEQERROR, kNone},
    {DAT_IMAGELAYOUT, MSG_GET, GetImageLayout, kBeforeTransfer, TWCC_SEQERROR, kNone},
    {DAT_IMAGELAYOUT, MSG_GETDEFAULT, GetDefaultImageLayout, kBeforeTransfer, TWCC_SEQERROR, kNone},
    {DAT_IMAGELAYOUT, MSG_SET, SetImageLayout, k400, TWCC_SEQERROR, kNone},
    {DAT_IMAGELAYOUT, MSG_RESET, ResetImageLayout, k400, TWCC_SEQERROR, kNone},
    {DAT_IMAGENATIVEXFER, MSG_GET, NativeTransfer, k600, TWCC_SEQERROR, kEnablesControls},
    {DAT_IMAGEMEMXFER, MSG_GET, MemoryTransfer, k600 | k700, TWCC_SEQERROR, kEnablesControls},
    {DAT_IMAGEFILEXFER, MSG_GET, FileTransfer, k600, TWCC_SEQERROR,
     uint8_t(kEnablesControls | kNullDataAllowed)},
};

const TripletEntry* FindTriplet(TW_UINT16 dat, TW_UINT16 msg) {
    for (const TripletEntry& e : kTriplets)
        if (e.dat == dat && e.msg == msg) return &e;
    return nullptr;
}

}  // namespace

namespace {

void RunTriplet() {
    // Capabilities take any MSG and test the state themselves; one application is served
    // by the reduced handler.
    if (TheSource.CallDat == DAT_CAPABILITY) {
        if (AppUsesReducedCapabilities()) return CapabilityRequestReduced();
        return CapabilityRequest(TheSource.CallMsg);
    }
    const TripletEntry* entry = FindTriplet(TheSource.CallDat, TheSource.CallMsg);
    if (!entry) return FailCall(TWCC_BADPROTOCOL);

    TheCall.SourceReturnCode = TWRC_SUCCESS;
    if (!(entry->legalStates & State(TheSource.SourceState))) {
        if (entry->flags & kEnablesControls) EnableScanControls();
        return FailCall(entry->illegalCondition);
    }
    // A missing data block is the application's error; it is refused, never dereferenced.
    if (!TheSource.CallData && !(entry->flags & kNullDataAllowed))
        return FailCall(TWCC_BADVALUE);
    if (!(entry->flags & kKeepsCondition)) TheCall.SourceConditionCode = TWCC_SUCCESS;
    entry->handler(TheSource.CallData);
}

}  // namespace

void DispatchTriplet() {
    RunTriplet();
    // With auto-feed on, asking for the pending transfers starts the next feeder page; never
    // over a page that is waiting to be taken (state 600) or being transferred (state 700),
    // and never after a reset.
    const bool feedMessage = TheSource.CallMsg == MSG_GET || TheSource.CallMsg == MSG_ENDXFER;
    const bool pageHeld = TheSource.SourceState == 600 || TheSource.SourceState == 700;
    if (TheSource.CallDat == DAT_PENDINGXFERS && feedMessage && !pageHeld &&
        TheNegotiation.AutoFeed && TheNegotiation.PendingCount != 0)
        StartScanWithoutUI();
}
