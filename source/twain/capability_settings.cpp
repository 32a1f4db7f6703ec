#include "twain/capability_settings.h"

#include "engine/scan_job_flags.h"
#include "session/call_codes.h"
#include "twain/capability_applications.h"
#include "twain/capability_kept.h"
#include "twain/capability_tables.h"
#include "twain/dispatch.h"
#include "twain/negotiation.h"
#include "twain/source_record.h"

namespace {

template <typename Index>
void SetIndex(const ValueTable& table, int64_t value, Index& index) {
    const int found = TableIndexOf(table, value);
    if (found < 0) return FailCall(TWCC_BADVALUE);
    index = static_cast<Index>(found);
}

void SetLevel(int64_t whole, TW_INT16& level) {
    if (whole < -1000 || whole > 1000) return FailCall(TWCC_BADVALUE);
    level = static_cast<TW_INT16>(whole);
}

// PICT and XBM stay in the list, but no writer of this source produces them: a scan asked to
// write one would end at the disk check without a word to the user.
void SetFileFormat(int64_t value) {
    if (value == TWFF_PICT || value == TWFF_XBM) return FailCall(TWCC_BADVALUE);
    SetIndex(kFileFormatTable, value, TheNegotiation.FileFormatIndex);
}

void SetSupportedSize(int64_t value) {
    const int found = TableIndexOf(kSupportedSizeTable, value);
    if (found >= 0) TheNegotiation.SupportedSizeIndex = static_cast<TW_UINT16>(found);
}

}  // namespace

void SetCapability(TW_UINT16 capId, const CapabilityValue& value) {
    NegotiationRecord& n = TheNegotiation;
    const int64_t v = WholeValue(value);
    switch (capId) {
        case CAP_XFERCOUNT: n.PendingCount = static_cast<TW_UINT16>(v); return;
        case ICAP_PIXELTYPE: return SetIndex(kPixelTypeTable, v, n.PixelTypeIndex);
        case ICAP_UNITS: return SetIndex(kUnitsTable, v, n.UnitsIndex);
        case ICAP_XFERMECH: return SetTransferMechanism(v);
        case ICAP_IMAGEFILEFORMAT: return SetFileFormat(v);
        case CAP_FEEDERENABLED: return SetFeederEnabled(v);
        case CAP_AUTOFEED: return SetAutoFeed(v);
        case CAP_CLEARPAGE:
        case CAP_FEEDPAGE: return FailCall(TWCC_BADCAP);
        case ICAP_BRIGHTNESS: return SetLevel(v, n.Brightness);
        case ICAP_CONTRAST: return SetLevel(v, n.Contrast);
        case ICAP_XRESOLUTION:
        case ICAP_YRESOLUTION: return SetIndex(kResolutionTable, v, n.ResolutionIndex);
        case ICAP_PIXELFLAVOR: TheKeptCapabilities.PixelFlavorFlag = v != 0; return;
        // The scan job recomputes the flag, so the image does not change; the flag is set
        // all the same for whatever runs before the next job.
        case ICAP_PLANARCHUNKY: TheScanJobFlags.PostProcessing = v == TWPC_CHUNKY; return;
        case ICAP_SUPPORTEDSIZES: return SetSupportedSize(v);
        default:
            // Fixed values (compression, filter, light source, bed size, indicators, feeder
            // loaded) and unknown capabilities: the call succeeds, DAT_STATUS tells.
            TheCall.SourceConditionCode = TWCC_BADVALUE;
            return;
    }
}

void ResetCapability(TW_UINT16 capId) {
    NegotiationRecord& n = TheNegotiation;
    switch (capId) {
        case ICAP_PIXELTYPE: n.PixelTypeIndex = 0; return;
        case ICAP_UNITS: n.UnitsIndex = 0; return;
        case ICAP_XFERMECH: n.XferMechIndex = 2; return;
        case ICAP_IMAGEFILEFORMAT: n.FileFormatIndex = 0; return;
        case ICAP_BRIGHTNESS: n.Brightness = 0; return;
        case ICAP_CONTRAST: n.Contrast = 0; return;
        case ICAP_XRESOLUTION:
        case ICAP_YRESOLUTION: n.ResolutionIndex = 4; return;
        case ICAP_SUPPORTEDSIZES: n.SupportedSizeIndex = 0; return;
        default: return;
    }
}

void SetFeederEnabled(int64_t value) {
    KeptCapabilityRecord& kept = TheKeptCapabilities;
    if (!FeederInstalled()) {
        kept.FeederEnabled = 0;
        kept.FeederCode = 0;
        return FailCall(TWCC_BADCAP);
    }
    if (TheSource.SourceState == 300) return;
    if (TheSource.SourceState != 400) return FailCall(TWCC_SEQERROR);
    kept.FeederEnabled = value != 0;
    kept.FeederCode = value != 0 ? 3 : 0;
}

void SetAutoFeed(int64_t value) {
    if (!FeederInstalled() || !TheKeptCapabilities.FeederEnabled) {
        TheNegotiation.AutoFeed = 0;
        return FailCall(TWCC_BADCAP);
    }
    if (TheSource.SourceState == 300) return;
    if (TheSource.SourceState != 400) return FailCall(TWCC_SEQERROR);
    TheNegotiation.AutoFeed = value != 0;
}
