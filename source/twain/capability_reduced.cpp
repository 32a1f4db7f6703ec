#include "twain/capability_reduced.h"

#include "session/call_codes.h"
#include "twain/capability_container.h"
#include "twain/capability_tables.h"
#include "twain/capability_texts.h"
#include "twain/dispatch.h"
#include "twain/negotiation.h"
#include "twain/source_record.h"

namespace {

constexpr TW_UINT32 kMinusOne = 0xFFFFFFFF;

// Capabilities answered the same way whatever the MSG. False when cap is not one of them.
bool AnswerFixed(TW_CAPABILITY& cap) {
    switch (cap.Cap) {
        case ICAP_COMPRESSION: MakeOneValue(cap, TWTY_UINT16, TWCP_NONE); return true;
        case CAP_XFERCOUNT: MakeOneValue(cap, TWTY_INT16, kMinusOne); return true;
        case ICAP_FILTER: MakeOneValue(cap, TWTY_UINT16, TWFT_NONE); return true;
        case ICAP_LIGHTSOURCE: MakeOneValue(cap, TWTY_UINT16, TWLS_WHITE); return true;
        case ICAP_PIXELFLAVOR: MakeOneValue(cap, TWTY_BOOL, 0); return true;
        case CAP_AUTHOR: AnswerTextCapability(cap, AuthorText(), 130, TWTY_STR128); return true;
        case CAP_CAPTION: AnswerTextCapability(cap, CaptionText(), 256, TWTY_STR255); return true;
        case CAP_TIMEDATE:
            AnswerTextCapability(cap, TimeDateText(plat::GetLocalTime()), 66, TWTY_STR32);
            return true;
        default: return false;
    }
}

// The image capabilities this application may not touch: brightness and the block from
// contrast to ICAP_TIMEFILL, except those answered here and the unassigned numbers.
bool IsRefused(TW_UINT16 capId) {
    if (capId == ICAP_AUTOBRIGHT || capId == ICAP_BRIGHTNESS) return true;
    if (capId < ICAP_CONTRAST || capId > ICAP_TIMEFILL) return false;
    switch (capId) {
        case ICAP_FILTER:
        case ICAP_IMAGEFILEFORMAT:
        case ICAP_LIGHTSOURCE:
        case ICAP_XRESOLUTION:
        case ICAP_YRESOLUTION:
        case ICAP_PIXELFLAVOR:
        case 0x110B:
        case 0x110F:
        case 0x1115:
        case 0x1129: return false;
        default: return true;
    }
}

struct ListedCapability {
    const ValueTable* table;
    uint32_t currentIndex;
};

// The capabilities answered from a value table; table nullptr for every other one.
ListedCapability Listed(TW_UINT16 capId) {
    const NegotiationRecord& n = TheNegotiation;
    switch (capId) {
        case ICAP_PIXELTYPE: return {&kPixelTypeTable, n.PixelTypeIndex};
        case ICAP_UNITS: return {&kUnitsTable, n.UnitsIndex};
        case ICAP_XFERMECH: return {&kXferMechTable, n.XferMechIndex};
        case ICAP_IMAGEFILEFORMAT: return {&kFileFormatTable, n.FileFormatIndex};
        case ICAP_XRESOLUTION:
        case ICAP_YRESOLUTION: return {&kResolutionTable, n.ResolutionIndex};
        default: return {nullptr, 0};
    }
}

void AnswerListed(TW_CAPABILITY& cap, TW_UINT16 msg, const ListedCapability& listed) {
    const ValueTable& table = *listed.table;
    const bool resolution = &table == &kResolutionTable;
    const TW_UINT16 itemType = resolution ? TWTY_UINT32 : TWTY_UINT16;
    if (msg == MSG_GET) {
        MakeEnumeration(cap, TableHeader(table, listed.currentIndex), table.values);
    } else if (msg == MSG_GETCURRENT || resolution) {
        // The default resolution is answered with the current one.
        MakeOneValue(cap, itemType, TableValue(table, listed.currentIndex));
    } else {
        MakeOneValue(cap, itemType, TableValue(table, table.header.DefaultIndex));
    }
}

}  // namespace

void CapabilityRequestReduced() {
    TheCall.SourceReturnCode = TWRC_SUCCESS;
    if (TheSource.SourceState < 400) return FailCall(TWCC_SEQERROR);
    TheCall.SourceConditionCode = TWCC_SUCCESS;
    auto* cap = static_cast<TW_CAPABILITY*>(TheSource.CallData);
    if (!cap) return FailCall(TWCC_BADVALUE);

    if (AnswerFixed(*cap)) return;
    if (IsRefused(cap->Cap)) return FailCall(TWCC_BADVALUE);

    const TW_UINT16 msg = TheSource.CallMsg;
    // Settings, resets and every other message are accepted and change nothing.
    if (msg != MSG_GET && msg != MSG_GETCURRENT && msg != MSG_GETDEFAULT) return;
    const ListedCapability listed = Listed(cap->Cap);
    if (!listed.table) return FailCall(TWCC_BADCAP);
    AnswerListed(*cap, msg, listed);
}
