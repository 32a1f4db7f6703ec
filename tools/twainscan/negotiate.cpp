#include "tools/twainscan/negotiate.h"

#include <cstdio>

#include "tools/twainscan/capability_calls.h"
#include "tools/twainscan/file_xfer.h"
#include "tools/twainscan/twain_names.h"

namespace twainscan {
namespace {

TW_UINT16 MechanismOf(XferKind kind) {
    return kind == XferKind::Memory ? TWSX_MEMORY : kind == XferKind::File ? TWSX_FILE : TWSX_NATIVE;
}

const char* MechanismName(TW_UINT16 mech) {
    return mech == TWSX_MEMORY ? "TWSX_MEMORY" : mech == TWSX_FILE ? "TWSX_FILE" : "TWSX_NATIVE";
}

TW_UINT16 PixelTypeOf(PixelKind kind) {
    return kind == PixelKind::BlackWhite ? TWPT_BW : kind == PixelKind::Gray ? TWPT_GRAY : TWPT_RGB;
}

std::string Inches(const FrameInches& f) {
    char text[96];
    std::snprintf(text, sizeof text, "%g,%g,%g,%g inches", f.left, f.top, f.right, f.bottom);
    return text;
}

bool Set(SourceLink& link, MemoryBlocks& blocks, TW_UINT16 cap, TW_UINT16 type, TW_UINT32 item,
         const std::string& shown, const Printer& print, std::string& error) {
    if (!SetAndVerify(link, blocks, cap, type, item, error)) return false;
    print("set " + CapabilityName(cap) + " " + shown + "\n");
    return true;
}

// The frame replaces only the frame of the source's current layout.
bool SetFrame(SourceLink& link, const FrameInches& f, const Printer& print, std::string& error) {
    TW_IMAGELAYOUT layout{};
    TW_UINT16 rc = CallSource(link, DG_IMAGE, DAT_IMAGELAYOUT, MSG_GET, &layout);
    if (rc != TWRC_SUCCESS) {
        error = SourceFailure(link, "DAT_IMAGELAYOUT MSG_GET", rc);
        return false;
    }
    layout.Frame = TW_FRAME{ToFix32(f.left), ToFix32(f.top), ToFix32(f.right), ToFix32(f.bottom)};
    rc = CallSource(link, DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET, &layout);
    if (rc != TWRC_SUCCESS) {
        error = SourceFailure(link, "DAT_IMAGELAYOUT MSG_SET", rc);
        return false;
    }
    print("set DAT_IMAGELAYOUT frame " + Inches(f) + "\n");
    return true;
}

}  // namespace

bool Negotiate(SourceLink& link, MemoryBlocks& blocks, const Options& o,
               const std::string& firstImagePath, const Printer& print, std::string& error) {
    const TW_UINT16 mech = MechanismOf(o.xfer.value_or(XferKind::Native));
    if (!Set(link, blocks, ICAP_XFERMECH, TWTY_UINT16, mech, MechanismName(mech), print, error))
        return false;
    if (o.pixel) {
        const TW_UINT16 type = PixelTypeOf(*o.pixel);
        if (!Set(link, blocks, ICAP_PIXELTYPE, TWTY_UINT16, type, PixelTypeName(type), print, error))
            return false;
    }
    // Resolutions are per unit and frames in units: both are given in inches.
    if ((o.resolution || o.frame) &&
        !Set(link, blocks, ICAP_UNITS, TWTY_UINT16, TWUN_INCHES, "TWUN_INCHES", print, error))
        return false;
    if (o.resolution) {
        const TW_UINT32 dpi = Fix32Item(ToFix32(*o.resolution));
        const std::string shown = std::to_string(*o.resolution);
        if (!Set(link, blocks, ICAP_XRESOLUTION, TWTY_FIX32, dpi, shown, print, error) ||
            !Set(link, blocks, ICAP_YRESOLUTION, TWTY_FIX32, dpi, shown, print, error))
            return false;
    }
    if (o.frame && !SetFrame(link, *o.frame, print, error)) return false;
    if (o.count) {
        // Not read back: a source may keep reporting -1 and still count what it was told.
        const auto count = static_cast<TW_UINT16>(static_cast<TW_INT16>(*o.count));
        if (!SetOneValue(link, blocks, CAP_XFERCOUNT, TWTY_INT16, count, error)) return false;
        print("set CAP_XFERCOUNT " + std::to_string(*o.count) + "\n");
    }
    if (mech == TWSX_FILE)
        return SetUpFileTransfer(link, blocks, o.format.value_or(FileFormat::Tiff), firstImagePath,
                                 print, error);
    return true;
}

}  // namespace twainscan
