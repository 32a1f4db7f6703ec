#include "tests/fuzz/app_calls.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/host/host_control.h"
#include "twain/ds_entry.h"
#include "twain/negotiation.h"

namespace {

constexpr TW_UINT16 kCaps[] = {
    CAP_XFERCOUNT,       CAP_AUTHOR,           CAP_CAPTION,          CAP_TIMEDATE,
    CAP_AUTOFEED,        CAP_CLEARPAGE,        CAP_FEEDERENABLED,    CAP_FEEDERLOADED,
    CAP_FEEDPAGE,        CAP_INDICATORS,       CAP_SUPPORTEDCAPS,    CAP_UICONTROLLABLE,
    ICAP_AUTOBRIGHT,     ICAP_BRIGHTNESS,      ICAP_COMPRESSION,     ICAP_CONTRAST,
    ICAP_FILTER,         ICAP_IMAGEFILEFORMAT, ICAP_LIGHTSOURCE,     ICAP_PHYSICALHEIGHT,
    ICAP_PHYSICALWIDTH,  ICAP_PIXELFLAVOR,     ICAP_PIXELTYPE,       ICAP_PLANARCHUNKY,
    ICAP_SUPPORTEDSIZES, ICAP_TIMEFILL,        ICAP_UNITS,           ICAP_XFERMECH,
    ICAP_XRESOLUTION,    ICAP_YRESOLUTION,     ICAP_BITDEPTH};
constexpr TW_UINT16 kCapMessages[] = {MSG_GET,   MSG_GETCURRENT, MSG_GETDEFAULT,
                                      MSG_SET,   MSG_RESET,      MSG_QUERYSUPPORT};
constexpr TW_UINT16 kConTypes[] = {TWON_ONEVALUE, TWON_ENUMERATION, TWON_ARRAY, TWON_RANGE,
                                   TWON_DONTCARE16};
// Bytes of one item of TWTY_INT8 ... TWTY_HANDLE (TWTY_STR1024 is 0x0d, TWTY_UNI512 0x0e).
constexpr uint32_t kItemBytes[] = {1, 2, 4, 1, 2, 4, 2, 4, 16, 34, 66, 130, 256, 1026, 512, 8};

// Names the source serves differently: string ids of the current and the English block.
constexpr uint32_t kAppNameIds[] = {55, 56, 60, 62, 64, 66, 707};

void Put16(std::vector<uint8_t>& b, uint16_t v) { b.push_back(uint8_t(v)), b.push_back(uint8_t(v >> 8)); }
void Put32(std::vector<uint8_t>& b, uint32_t v) { Put16(b, uint16_t(v)), Put16(b, uint16_t(v >> 16)); }

// A container as an application could write it: header fields as the container type lays
// them out, a claimed item count and a number of items really written that may differ, and
// a block a few bytes longer or shorter than the items.
std::vector<uint8_t> ContainerBytes(FuzzInput& in, TW_UINT16 conType) {
    std::vector<uint8_t> b;
    const TW_UINT16 itemType = in.Bit() ? in.U16() : TW_UINT16(in.Pick(16));
    const uint32_t itemBytes = itemType < 16 ? kItemBytes[itemType] : 4;
    Put16(b, itemType);
    uint32_t items = 1;
    if (conType == TWON_ENUMERATION || conType == TWON_ARRAY) {
        const uint32_t claimed = in.Bit() ? in.U32() : in.U8() % 16;
        items = in.Bit() ? claimed % 16 : in.U8() % 16;
        Put32(b, claimed);
        if (conType == TWON_ENUMERATION) Put32(b, in.Bit() ? in.U32() : in.U8() % 16), Put32(b, in.U8() % 16);
    } else if (conType == TWON_RANGE) {
        for (int i = 0; i < 5; ++i) Put32(b, in.U32());
        items = 0;
    } else if (itemBytes < 4) {
        items = 0, Put32(b, in.U32());  // a small item still takes the 32-bit slot
    }
    const size_t start = b.size();
    b.resize(start + size_t(items) * itemBytes);
    in.Fill(b.data() + start, b.size() - start);
    const int slack = int(in.Pick(9)) - 4;
    b.resize(size_t(std::max<int>(0, int(b.size()) + slack)));
    return b;
}

plat::MemHandle ContainerHandle(SourceHarness& h, FuzzInput& in, TW_UINT16 conType) {
    switch (in.Pick(4)) {
    case 0: return nullptr;
    case 1: return reinterpret_cast<plat::MemHandle>(uintptr_t(0x10000) + in.U16());  // no block
    case 2: {  // whatever bytes
        const size_t bytes = in.U16() % 600;
        plat::MemHandle block = h.AppAlloc(bytes);
        if (void* p = plat::MemLock(block)) in.Fill(p, bytes), plat::MemUnlock(block);
        return block;
    }
    default: {
        const std::vector<uint8_t> bytes = ContainerBytes(in, conType);
        plat::MemHandle block = h.AppAlloc(bytes.size());
        if (void* p = plat::MemLock(block)) std::memcpy(p, bytes.data(), bytes.size()), plat::MemUnlock(block);
        return block;
    }
    }
}

TW_FIX32 Fix32(FuzzInput& in) {
    if (in.Bit()) return TW_FIX32{TW_INT16(in.U16()), in.U16()};
    return TW_FIX32{TW_INT16(in.Pick(4)), in.U16()};  // mostly small frames
}

// Over-budget scans are left out: the input's cost, not the source's behaviour. A scan
// starts from MSG_ENABLEDS without the window, and from the pending-transfer messages that
// start the next feeder page with auto-feed on.
bool MayStartScan(SourceHarness& h, TW_UINT16 dat, TW_UINT16 msg, bool showUI) {
    const bool starts = (dat == DAT_USERINTERFACE && msg == MSG_ENABLEDS && !showUI) ||
                        (dat == DAT_PENDINGXFERS && msg != MSG_RESET && TheNegotiation.AutoFeed);
    return !starts || h.ScanWithinBudget();
}

}  // namespace

TW_UINT16 OpenAsApplication(SourceHarness& h, FuzzInput& in) {
    const uint8_t choice = in.U8();
    std::memset(h.app.ProductName, 0, sizeof h.app.ProductName);
    if (choice < 128) {
        std::strcpy(h.app.ProductName, "Fuzz Application");
    } else if (choice < 224) {
        plat::LoadResourceString(kAppNameIds[choice % 7], h.app.ProductName, sizeof h.app.ProductName);
    } else {
        in.Fill(h.app.ProductName, sizeof h.app.ProductName);  // may lack its terminator
    }
    h.app.ProtocolMajor = 1 + in.Pick(2);
    h.app.ProtocolMinor = in.Pick(10);
    return h.Open();
}

TW_UINT16 CapabilityCall(SourceHarness& h, FuzzInput& in) {
    TW_CAPABILITY cap{};
    cap.Cap = in.Bit() ? in.U16() : in.PickFrom(kCaps);
    cap.ConType = in.Bit() ? in.U16() : in.PickFrom(kConTypes);
    const TW_UINT16 msg = in.Pick(8) == 0 ? in.U16() : in.PickFrom(kCapMessages);
    cap.hContainer = ContainerHandle(h, in, cap.ConType);
    const plat::MemHandle given = cap.hContainer;
    const TW_UINT16 rc = h.Call(DG_CONTROL, DAT_CAPABILITY, msg, &cap);
    if (cap.hContainer != given) h.Receive(cap.hContainer);
    return rc;
}

TW_UINT16 LayoutCall(SourceHarness& h, FuzzInput& in) {
    static constexpr TW_UINT16 kMessages[] = {MSG_SET, MSG_GET, MSG_GETDEFAULT, MSG_RESET};
    TW_IMAGELAYOUT layout{};
    const TW_UINT16 msg = in.PickFrom(kMessages);
    layout.Frame = {Fix32(in), Fix32(in), Fix32(in), Fix32(in)};
    layout.DocumentNumber = in.U8(), layout.PageNumber = in.U8(), layout.FrameNumber = in.U8();
    return h.Call(DG_IMAGE, DAT_IMAGELAYOUT, msg, &layout);
}

TW_UINT16 FileSetupCall(SourceHarness& h, FuzzInput& in) {
    static constexpr TW_UINT16 kMessages[] = {MSG_SET, MSG_GET, MSG_GETDEFAULT, MSG_RESET};
    static constexpr TW_UINT16 kFormats[] = {TWFF_TIFF, TWFF_BMP, TWFF_PICT, TWFF_JFIF};
    TW_SETUPFILEXFER setup{};
    const TW_UINT16 msg = in.PickFrom(kMessages);
    // The file lands in the fuzz directory whatever the name says: separators are replaced.
    const std::string prefix = h.FilesDir() + "\\";
    std::memcpy(setup.FileName, prefix.data(), std::min(prefix.size(), sizeof setup.FileName - 1));
    const size_t room = sizeof setup.FileName - prefix.size();
    std::string name = in.Bit() ? std::string(room, 'n') : in.Text(room - 1);  // full: no terminator
    for (char& c : name)
        if (c == '/' || c == '\\') c = '_';
    std::memcpy(setup.FileName + prefix.size(), name.data(), name.size());
    setup.Format = in.Bit() ? in.U16() : in.PickFrom(kFormats);
    setup.VRefNum = TW_INT16(in.U16());
    return h.Call(DG_CONTROL, DAT_SETUPFILEXFER, msg, &setup);
}

TW_UINT16 UserInterfaceCall(SourceHarness& h, FuzzInput& in) {
    TW_USERINTERFACE ui{};
    const bool enable = in.Bit();
    ui.ShowUI = in.Pick(4) == 0;
    ui.ModalUI = in.Bit();
    if (!enable) return h.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui);
    if (!MayStartScan(h, DAT_USERINTERFACE, MSG_ENABLEDS, ui.ShowUI)) return TWRC_FAILURE;
    return h.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui);
}

TW_UINT16 MemoryTransfer(SourceHarness& h, FuzzInput& in) {
    TW_IMAGEMEMXFER mem{};
    std::vector<uint8_t> pointerBuffer;
    const uint32_t length = in.Bit() ? in.U16() : in.U32();
    switch (in.Pick(4)) {
    case 0:  // an address and its true length
        pointerBuffer.resize(std::min<uint32_t>(length, 1u << 20));
        mem.Memory = {TWMF_APPOWNS | TWMF_POINTER, uint32_t(pointerBuffer.size()), pointerBuffer.data()};
        break;
    case 1:  // a handle whose block may be shorter or longer than the length claimed
        mem.Memory = {TWMF_APPOWNS | 0x10, length, h.AppAlloc(in.U16() % 70000)};
        break;
    case 2:  // a handle that is no block
        mem.Memory = {TWMF_APPOWNS | 0x10, length, reinterpret_cast<void*>(uintptr_t(0x10000) + in.U16())};
        break;
    default: {  // any flags with a real block; flags that say "pointer" get a true pointer
        const uint32_t flags = in.U32();
        if (flags == (TWMF_APPOWNS | TWMF_POINTER)) {
            // An application that calls a handle a pointer is beyond any source's checks.
            pointerBuffer.resize(std::min<uint32_t>(length, 1u << 20));
            mem.Memory = {flags, uint32_t(pointerBuffer.size()), pointerBuffer.data()};
        } else {
            mem.Memory = {flags, length, h.AppAlloc(in.U16() % 70000)};
        }
        break;
    }
    }
    const TW_MEMORY memory = mem.Memory;
    const unsigned calls = 1 + in.U8() * 2;
    TW_UINT16 rc = TWRC_SUCCESS;
    for (unsigned i = 0; i < calls && rc == TWRC_SUCCESS; ++i) {
        mem.Memory = memory;
        rc = h.Call(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &mem);
    }
    return rc;
}

TW_UINT16 SetOneValue(SourceHarness& h, TW_UINT16 capability, TW_UINT16 value) {
    TW_CAPABILITY cap{capability, TWON_ONEVALUE, h.AppAlloc(sizeof(TW_ONEVALUE))};
    const TW_ONEVALUE one{TWTY_UINT16, value};
    std::memcpy(plat::MemLock(cap.hContainer), &one, sizeof one);
    plat::MemUnlock(cap.hContainer);
    return h.Call(DG_CONTROL, DAT_CAPABILITY, MSG_SET, &cap);
}

TW_UINT16 NativeTransfer(SourceHarness& h) {
    TW_HANDLE bitmap = nullptr;
    const TW_UINT16 rc = h.Call(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &bitmap);
    h.Receive(bitmap);
    return rc;
}

TW_UINT16 FileTransfer(SourceHarness& h) {
    return h.Call(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr);
}

TW_UINT16 PendingTransfersCall(SourceHarness& h, FuzzInput& in) {
    static constexpr TW_UINT16 kMessages[] = {MSG_ENDXFER, MSG_GET, MSG_RESET};
    const TW_UINT16 msg = in.PickFrom(kMessages);
    TW_PENDINGXFERS pending{TW_UINT16(in.U16()), in.U32()};
    if (!MayStartScan(h, DAT_PENDINGXFERS, msg, false)) return TWRC_FAILURE;
    return h.Call(DG_CONTROL, DAT_PENDINGXFERS, msg, &pending);
}

TW_UINT16 GetterCall(SourceHarness& h, FuzzInput& in) {
    struct Getter {
        TW_UINT32 dg;
        TW_UINT16 dat;
    };
    static constexpr Getter kGetters[] = {{DG_IMAGE, DAT_IMAGEINFO},     {DG_CONTROL, DAT_SETUPMEMXFER},
                                          {DG_CONTROL, DAT_STATUS},      {DG_CONTROL, DAT_XFERGROUP},
                                          {DG_CONTROL, DAT_IDENTITY},    {DG_IMAGE, DAT_IMAGELAYOUT}};
    const Getter g = in.PickFrom(kGetters);
    alignas(8) uint8_t block[1024] = {};
    return h.Call(g.dg, g.dat, MSG_GET, block);
}

TW_UINT16 RawTriplet(SourceHarness& h, FuzzInput& in) {
    static constexpr TW_UINT16 kDats[] = {
        DAT_CAPABILITY,   DAT_EVENT,        DAT_IDENTITY,     DAT_PARENT,       DAT_PENDINGXFERS,
        DAT_SETUPMEMXFER, DAT_SETUPFILEXFER, DAT_STATUS,      DAT_USERINTERFACE, DAT_XFERGROUP,
        DAT_CUSTOMDSDATA, DAT_DEVICEEVENT,  DAT_PASSTHRU,     DAT_IMAGEINFO,    DAT_IMAGELAYOUT,
        DAT_IMAGENATIVEXFER, DAT_IMAGEFILEXFER, DAT_GRAYRESPONSE, DAT_RGBRESPONSE,
        DAT_EXTIMAGEINFO, DAT_ICCPROFILE,   DAT_IMAGEMEMFILEXFER, DAT_ENTRYPOINT};
    const TW_UINT32 dg = in.Pick(4) == 0 ? in.U32() : (in.Bit() ? DG_CONTROL : DG_IMAGE);
    const TW_UINT16 dat = in.Pick(8) == 0 ? in.U16() : in.PickFrom(kDats);
    const TW_UINT16 msg = in.Pick(4) == 0 ? in.U16() : TW_UINT16(in.Pick(12));
    // Pointers written through and paths created stay under the harness's control.
    if (dat == DAT_IMAGEMEMXFER || (dat == DAT_SETUPFILEXFER && msg == MSG_SET)) return TWRC_FAILURE;
    alignas(8) uint8_t block[1024] = {};
    in.Fill(block, in.U8() * 4u);
    if (!MayStartScan(h, dat, msg, block[0] | block[1])) return TWRC_FAILURE;  // ShowUI
    TW_MEMREF data = in.Pick(8) == 0 ? nullptr : block;
    if (dat == DAT_CAPABILITY && data) {  // the container handle is looked up, never trusted
        TW_CAPABILITY cap;
        std::memcpy(&cap, block, sizeof cap);
        const TW_UINT16 rc = h.Call(dg, dat, msg, &cap);
        h.Receive(cap.hContainer);
        return rc;
    }
    const TW_UINT16 rc = h.Call(dg, dat, msg, data);
    if (dat == DAT_IMAGENATIVEXFER && data) {
        TW_HANDLE bitmap;
        std::memcpy(&bitmap, block, sizeof bitmap);
        h.Receive(bitmap);
    }
    return rc;
}

TW_UINT16 EventCall(SourceHarness& h, FuzzInput& in) {
    static int windowsMessage;
    TW_EVENT event{in.Bit() ? &windowsMessage : nullptr, in.U16()};
    return h.Call(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, in.Pick(8) ? &event : nullptr);
}

TW_UINT16 ForeignCall(SourceHarness& h, FuzzInput& in) {
    TW_IDENTITY other = h.app;
    other.Id = in.U8() + 1000;
    alignas(8) uint8_t block[1024] = {};
    return DS_Entry(in.Bit() ? &other : nullptr, DG_CONTROL, DAT_IDENTITY,
                    in.Bit() ? MSG_CLOSEDS : MSG_GET, block);
}

void UserAction(FuzzInput& in) {
    static constexpr int kAnswers[] = {plat::kIdOk, plat::kIdCancel, plat::kIdYes, plat::kIdNo};
    switch (in.Pick(3)) {
    case 0: plat::host::SetMessageBoxAnswer(in.PickFrom(kAnswers)); break;
    case 1: plat::host::PressEscapeAtPump(1 + in.Pick(16)); break;
    // A disk that fills up or empties (or cannot be asked) before the next scan.
    default: plat::host::SetFreeDiskBytes(in.Bit() ? int64_t(in.U32()) : -1); break;
    }
}
