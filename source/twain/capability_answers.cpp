#include "twain/capability_answers.h"

#include "session/call_codes.h"
#include "twain/capability_container.h"
#include "twain/capability_kept.h"
#include "twain/capability_tables.h"
#include "twain/dispatch.h"
#include "twain/negotiation.h"

namespace {

constexpr TW_UINT32 kMinusOne = 0xFFFFFFFF;  // -1 sign-extended into the 32-bit item

// The physical bed: 11.6 by 17.0 inches.
const TW_UINT32 kPhysicalWidth = Fix32ItemFromReal(11.6);
const TW_UINT32 kPhysicalHeight = Fix32Item(17);

void AnswerLevel(TW_CAPABILITY& cap, TW_INT16 current, bool listAll) {
    if (!listAll) {
        MakeOneValue(cap, TWTY_FIX32, Fix32Item(current));
        return;
    }
    MakeRange(cap, TWTY_FIX32,
              {Fix32Item(-1000), Fix32Item(1000), Fix32Item(80), Fix32Item(0), Fix32Item(current)});
}

void AnswerResolution(TW_CAPABILITY& cap, bool listAll) {
    const uint32_t index = TheNegotiation.ResolutionIndex;
    if (listAll)
        MakeEnumeration(cap, TableHeader(kResolutionTable, index), kResolutionTable.values);
    else
        MakeOneValue(cap, TWTY_FIX32, Fix32Item(static_cast<TW_INT16>(CurrentResolution())));
}

void AnswerSupportedSize(TW_CAPABILITY& cap, bool listAll) {
    const uint32_t index = TheNegotiation.SupportedSizeIndex;
    if (listAll)
        MakeEnumeration(cap, TableHeader(kSupportedSizeTable, index), kSupportedSizeTable.values);
    else
        MakeOneValue(cap, TWTY_UINT16, CurrentSupportedSize());
}

// Whether paper is present is not known without asking the scanner: the call succeeds without
// a container, and the handle is cleared so that the application never takes an old block
// of its own for the answer.
void AnswerFeederLoaded(TW_CAPABILITY& cap) {
    if (!FeederInstalled()) return FailCall(TWCC_BADCAP);
    cap.hContainer = nullptr;
}

}  // namespace

void AnswerCapability(TW_CAPABILITY& cap, bool listAll) {
    switch (cap.Cap) {
        case CAP_XFERCOUNT: MakeOneValue(cap, TWTY_INT16, kMinusOne); return;
        case ICAP_COMPRESSION: MakeOneValue(cap, TWTY_UINT16, TWCP_NONE); return;
        case ICAP_PIXELTYPE: MakeOneValue(cap, TWTY_UINT16, CurrentPixelType()); return;
        case ICAP_UNITS: MakeOneValue(cap, TWTY_UINT16, CurrentUnits()); return;
        case ICAP_XFERMECH: MakeOneValue(cap, TWTY_UINT16, CurrentXferMech()); return;
        case ICAP_IMAGEFILEFORMAT: MakeOneValue(cap, TWTY_UINT16, CurrentFileFormat()); return;
        case CAP_FEEDERENABLED: MakeOneValue(cap, TWTY_BOOL, FeederInstalled()); return;
        case CAP_FEEDERLOADED: return AnswerFeederLoaded(cap);
        case CAP_AUTOFEED:
            // Asking is enough to switch auto-feed off: only a setting right before enabling
            // keeps it on.
            TheNegotiation.AutoFeed = 0;
            MakeOneValue(cap, TWTY_BOOL, 0);
            return;
        case CAP_INDICATORS: MakeOneValue(cap, TWTY_BOOL, 0); return;
        case ICAP_BRIGHTNESS: return AnswerLevel(cap, TheNegotiation.Brightness, listAll);
        case ICAP_CONTRAST: return AnswerLevel(cap, TheNegotiation.Contrast, listAll);
        case ICAP_FILTER: MakeOneValue(cap, TWTY_UINT16, TWFT_NONE); return;
        case ICAP_LIGHTSOURCE: MakeOneValue(cap, TWTY_UINT16, TWLS_WHITE); return;
        case ICAP_PHYSICALWIDTH: MakeOneValue(cap, TWTY_FIX32, kPhysicalWidth); return;
        case ICAP_PHYSICALHEIGHT: MakeOneValue(cap, TWTY_FIX32, kPhysicalHeight); return;
        case ICAP_XRESOLUTION:
        case ICAP_YRESOLUTION: return AnswerResolution(cap, listAll);
        case ICAP_PIXELFLAVOR: MakeOneValue(cap, TWTY_BOOL, 0); return;
        case ICAP_PLANARCHUNKY: MakeOneValue(cap, TWTY_UINT16, TWPC_PLANAR); return;
        case ICAP_SUPPORTEDSIZES: return AnswerSupportedSize(cap, listAll);
        default: return FailCall(TWCC_BADCAP);  // CAP_CLEARPAGE and CAP_FEEDPAGE among them
    }
}
