#include "tests/unit/twainscan/fake_twain.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "common/le_fields.h"

namespace faketwain {

FakeTwain* current = nullptr;

TW_HANDLE FakeBlocks::Alloc(size_t bytes) {
    auto handle = reinterpret_cast<TW_HANDLE>(next_);
    next_ += 0x10;
    blocks_[handle].assign(bytes, 0);
    return handle;
}

void* FakeBlocks::Lock(TW_HANDLE block) {
    auto it = blocks_.find(block);
    return it == blocks_.end() ? nullptr : it->second.data();
}

size_t FakeBlocks::Size(TW_HANDLE block) {
    auto it = blocks_.find(block);
    return it == blocks_.end() ? 0 : it->second.size();
}

void FakeBlocks::Free(TW_HANDLE block) {
    if (blocks_.erase(block) == 0) ++badFrees;
}

twainscan::PumpResult FakePump::Next(uint32_t waitMs) {
    if (queue.empty()) {
        now += waitMs;
        return {twainscan::PumpStatus::Timeout, nullptr};
    }
    current = queue.front();
    queue.pop_front();
    now += 1;
    return {twainscan::PumpStatus::Message, &current};
}

std::vector<uint8_t> Image::Row(uint32_t y) const {
    std::vector<uint8_t> row(RowBytes(), 0);
    for (uint32_t x = 0; x < width; ++x) {
        if (pixelType == TWPT_BW) {
            if (Sample(x, y, 0) & 0x40) row[x / 8] |= uint8_t(0x80 >> (x % 8));
            continue;
        }
        for (uint32_t s = 0; s < Samples(); ++s) row[x * Samples() + s] = Sample(x, y, s);
    }
    return row;
}

namespace {

constexpr TW_UINT32 kSourceId = 2;

TW_UINT16 Fail(TW_UINT16 condition) {
    current->condition = condition;
    return TWRC_FAILURE;
}

// The call is legal only in states from..to; a refused call is recorded for the test.
bool InState(int from, int to, const char* what) {
    if (current->state >= from && current->state <= to) return true;
    current->refused.push_back(std::string(what) + " in state " + std::to_string(current->state));
    current->condition = TWCC_SEQERROR;
    return false;
}

TW_IDENTITY Identity(TW_UINT32 id, const char* name) {
    TW_IDENTITY identity{};
    identity.Id = id;
    std::strcpy(identity.ProductName, name);
    return identity;
}

TW_UINT16 Manager(pTW_IDENTITY origin, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data) {
    FakeTwain& f = *current;
    static int listed = 0;
    if (msg == MSG_OPENDSM) {
        origin->Id = 1;
        f.state = 3;
        return TWRC_SUCCESS;
    }
    if (msg == MSG_CLOSEDSM) return InState(3, 3, "MSG_CLOSEDSM") ? (f.state = 1, TWRC_SUCCESS) : TWRC_FAILURE;
    if (dat == DAT_STATUS) {
        static_cast<TW_STATUS*>(data)->ConditionCode = f.condition;
        return TWRC_SUCCESS;
    }
    if (msg == MSG_GETFIRST) listed = 0;
    if (msg == MSG_GETFIRST || msg == MSG_GETNEXT) {
        const TW_IDENTITY list[] = {Identity(9, "GPhoto2 Camera"), Identity(kSourceId, "A3 Flatbed Scanner")};
        if (listed == 2) return TWRC_ENDOFLIST;
        *static_cast<TW_IDENTITY*>(data) = list[listed++];
        return TWRC_SUCCESS;
    }
    f.calls.push_back(msg == MSG_OPENDS ? "MSG_OPENDS" : "MSG_CLOSEDS");
    if (msg == MSG_OPENDS) return InState(3, 3, "MSG_OPENDS") ? (f.state = 4, TWRC_SUCCESS) : TWRC_FAILURE;
    return InState(4, 4, "MSG_CLOSEDS") ? (f.state = 3, TWRC_SUCCESS) : TWRC_FAILURE;
}

TW_UINT16 Answer(TW_CAPABILITY& cap, TW_UINT16 type, TW_UINT32 item) {
    cap.ConType = TWON_ONEVALUE;
    cap.hContainer = current->blocks.Alloc(sizeof(TW_ONEVALUE));
    const TW_ONEVALUE one{type, item};
    std::memcpy(current->blocks.Lock(cap.hContainer), &one, sizeof one);
    return TWRC_SUCCESS;
}

TW_UINT16* CapabilityValue(TW_UINT16 cap) {
    FakeTwain& f = *current;
    switch (cap) {
        case ICAP_XFERMECH: return &f.xferMech;
        case ICAP_PIXELTYPE: return &f.pixelType;
        case ICAP_IMAGEFILEFORMAT: return &f.fileFormat;
        case ICAP_XRESOLUTION:
        case ICAP_YRESOLUTION: return &f.resolution;
        default: return nullptr;
    }
}

TW_UINT16 Capability(TW_UINT16 msg, TW_CAPABILITY& cap) {
    FakeTwain& f = *current;
    if (!InState(4, 7, "DAT_CAPABILITY")) return TWRC_FAILURE;
    if (msg == MSG_GETCURRENT) {
        if (cap.Cap == ICAP_PIXELFLAVOR || cap.Cap == ICAP_UNITS) return Answer(cap, TWTY_UINT16, 0);
        TW_UINT16* value = CapabilityValue(cap.Cap);
        if (!value) return Fail(TWCC_BADCAP);
        const bool fix = cap.Cap == ICAP_XRESOLUTION || cap.Cap == ICAP_YRESOLUTION;
        return Answer(cap, fix ? TWTY_FIX32 : TWTY_UINT16, *value);
    }
    if (msg != MSG_SET) return Fail(TWCC_BADPROTOCOL);
    TW_ONEVALUE one;
    if (cap.ConType != TWON_ONEVALUE || f.blocks.Size(cap.hContainer) < sizeof one) return Fail(TWCC_BADVALUE);
    std::memcpy(&one, f.blocks.Lock(cap.hContainer), sizeof one);
    TW_UINT16* value = CapabilityValue(cap.Cap);
    if (value && !(cap.Cap == ICAP_PIXELTYPE && f.fault == Fault::KeepsPixelType))
        *value = static_cast<TW_UINT16>(one.Item);  // a FIX32's whole part is its low half
    return TWRC_SUCCESS;
}

// Like a source without its window: the scan runs inside MSG_ENABLEDS and its outcome is
// posted. An unrelated message waits in the queue before it.
TW_UINT16 Enable(const TW_USERINTERFACE& ui) {
    FakeTwain& f = *current;
    if (!InState(4, 4, "MSG_ENABLEDS")) return TWRC_FAILURE;
    if (ui.ShowUI && f.showUiFails) return Fail(TWCC_LOWMEMORY);
    f.pump.queue = {kOther};
    if (f.fault == Fault::NeverReady) {
        f.state = 5;
    } else {
        f.state = f.fault == Fault::CloseRequest ? 4 : 6;
        f.pump.queue.push_back(kPosted);
    }
    return TWRC_SUCCESS;
}

TW_UINT16 ProcessEvent(TW_EVENT& event) {
    FakeTwain& f = *current;
    if (!event.pEvent || *static_cast<int*>(event.pEvent) != kPosted) return TWRC_NOTDSEVENT;
    event.TWMessage = f.fault == Fault::CloseRequest ? MSG_CLOSEDSREQ : MSG_XFERREADY;
    return TWRC_DSEVENT;
}

TW_IMAGEINFO Info() {
    const Image& im = current->image;
    TW_IMAGEINFO info{};
    info.XResolution = info.YResolution = TW_FIX32{static_cast<TW_INT16>(current->resolution), 0};
    info.ImageWidth = static_cast<TW_INT32>(im.width);
    info.ImageLength = static_cast<TW_INT32>(im.height);
    info.SamplesPerPixel = static_cast<TW_INT16>(im.Samples());
    for (uint32_t s = 0; s < im.Samples(); ++s)
        info.BitsPerSample[s] = static_cast<TW_INT16>(im.Bits() / im.Samples());
    info.BitsPerPixel = static_cast<TW_INT16>(im.Bits());
    info.PixelType = im.pixelType;
    return info;
}

// A packed DIB: header, palette, rows bottom-up in blue-green-red, padded to four bytes.
TW_UINT16 Native(TW_UINTPTR& handle) {
    FakeTwain& f = *current;
    if (!InState(6, 6, "DAT_IMAGENATIVEXFER")) return TWRC_FAILURE;
    f.state = 7;
    const Image& im = f.image;
    const uint32_t palette = im.pixelType == TWPT_BW ? 2 : im.pixelType == TWPT_GRAY ? 256 : 0;
    const uint32_t stride = (im.RowBytes() + 3) / 4 * 4;
    const uint32_t offset = 40 + palette * 4;
    TW_HANDLE block = f.blocks.Alloc(offset + stride * im.height);
    auto* dib = static_cast<uint8_t*>(f.blocks.Lock(block));
    StoreLe32(dib, 40);
    StoreLe32(dib + 4, im.width);
    StoreLe32(dib + 8, im.height);
    StoreLe16(dib + 12, 1);
    StoreLe16(dib + 14, static_cast<uint16_t>(im.Bits()));
    for (uint32_t i = 0; i < palette; ++i)
        std::memset(dib + 40 + 4 * i, palette == 2 ? int(i * 255) : int(i), 3);
    for (uint32_t y = 0; y < im.height; ++y) {
        std::vector<uint8_t> row = im.Row(y);
        if (im.pixelType == TWPT_RGB)
            for (uint32_t x = 0; x < im.width; ++x) std::swap(row[3 * x], row[3 * x + 2]);
        std::memcpy(dib + offset + stride * (im.height - 1 - y), row.data(), row.size());
    }
    handle = reinterpret_cast<TW_UINTPTR>(block);
    return TWRC_XFERDONE;
}

TW_UINT16 MemoryBlock(TW_IMAGEMEMXFER& x) {
    FakeTwain& f = *current;
    if (!InState(6, 7, "DAT_IMAGEMEMXFER")) return TWRC_FAILURE;
    f.state = 7;
    const Image& im = f.image;
    const uint32_t bytesPerRow = im.RowBytes() + im.rowPadding;
    const uint32_t pattern = im.blockRows[f.blocksSent % im.blockRows.size()];
    uint32_t rows = std::min({x.Memory.Length / bytesPerRow, pattern, im.height - f.rowsSent});
    if (f.blocksSent == 2 && f.fault == Fault::MemoryFailure) return Fail(TWCC_OPERATIONERROR);
    auto* out = static_cast<uint8_t*>(x.Memory.TheMem);
    for (uint32_t r = 0; r < rows; ++r) {
        std::vector<uint8_t> row = im.Row(f.rowsSent + r);
        std::memcpy(out + r * bytesPerRow, row.data(), row.size());
    }
    x.Compression = TWCP_NONE;
    x.BytesPerRow = bytesPerRow;
    x.Columns = im.width;
    x.Rows = rows;
    x.XOffset = 0;
    x.YOffset = f.rowsSent;
    x.BytesWritten = rows * bytesPerRow;
    if (f.fault == Fault::BytesWrittenTooBig && f.blocksSent == 1) x.BytesWritten += bytesPerRow;
    if (f.fault == Fault::YOffsetJump && f.blocksSent == 1) x.YOffset += 1;
    if (f.fault == Fault::WritePastBuffer && f.blocksSent == 1) out[x.Memory.Length] = 0;
    f.rowsSent += rows;
    ++f.blocksSent;
    const bool early = f.fault == Fault::ShortImage && f.blocksSent == 2;
    return f.rowsSent == im.height || early ? TWRC_XFERDONE : TWRC_SUCCESS;
}

TW_UINT16 FileTransfer() {
    FakeTwain& f = *current;
    if (!InState(6, 6, "DAT_IMAGEFILEXFER")) return TWRC_FAILURE;
    f.state = 7;
    if (f.fault == Fault::NoFileWritten) return TWRC_XFERDONE;
    std::FILE* file = std::fopen(f.fileName.c_str(), "wb");
    if (!file) return Fail(TWCC_OPERATIONERROR);
    std::fputs(f.fileFormat == TWFF_BMP ? "BM fake" : "II*", file);
    std::fputc(0, file);
    std::fclose(file);
    return TWRC_XFERDONE;
}

TW_UINT16 SetUpFile(const TW_SETUPFILEXFER& setup) {
    FakeTwain& f = *current;
    if (!InState(4, 6, "DAT_SETUPFILEXFER")) return TWRC_FAILURE;
    if (setup.Format != TWFF_TIFF && !f.setupTakesBmp) return Fail(TWCC_BADVALUE);
    f.fileName = setup.FileName;
    f.fileFormat = setup.Format;
    return TWRC_SUCCESS;
}

TW_UINT16 Pending(TW_UINT16 msg, TW_PENDINGXFERS& pending) {
    FakeTwain& f = *current;
    if (!InState(6, msg == MSG_ENDXFER ? 7 : 6, "DAT_PENDINGXFERS"))
        return TWRC_FAILURE;
    pending.Count = 0;
    f.state = 5;
    return TWRC_SUCCESS;
}

TW_UINT16 Source(TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data) {
    FakeTwain& f = *current;
    // The manager answers its own notification whatever state the source is in.
    if (dat == DAT_EVENT) return ProcessEvent(*static_cast<TW_EVENT*>(data));
    f.calls.push_back(std::to_string(dat) + "/" + std::to_string(msg));
    if (dat == DAT_STATUS) {
        static_cast<TW_STATUS*>(data)->ConditionCode = f.condition;
        f.condition = TWCC_SUCCESS;
        return TWRC_SUCCESS;
    }
    f.condition = TWCC_SUCCESS;
    switch (dat) {
        case DAT_CAPABILITY: return Capability(msg, *static_cast<TW_CAPABILITY*>(data));
        case DAT_IMAGELAYOUT:
            if (!InState(4, msg == MSG_SET ? 4 : 6, "DAT_IMAGELAYOUT")) return TWRC_FAILURE;
            if (msg == MSG_SET) f.layout = *static_cast<TW_IMAGELAYOUT*>(data);
            else *static_cast<TW_IMAGELAYOUT*>(data) = f.layout;
            return TWRC_SUCCESS;
        case DAT_SETUPFILEXFER: return SetUpFile(*static_cast<TW_SETUPFILEXFER*>(data));
        case DAT_SETUPMEMXFER:
            if (!InState(4, 6, "DAT_SETUPMEMXFER")) return TWRC_FAILURE;
            *static_cast<TW_SETUPMEMXFER*>(data) = TW_SETUPMEMXFER{16, 65536, 40};
            return TWRC_SUCCESS;
        case DAT_USERINTERFACE:
            if (msg == MSG_ENABLEDS) return Enable(*static_cast<TW_USERINTERFACE*>(data));
            return InState(5, 5, "MSG_DISABLEDS") ? (f.state = 4, TWRC_SUCCESS) : TWRC_FAILURE;
        case DAT_IMAGEINFO:
            if (!InState(6, 6, "DAT_IMAGEINFO")) return TWRC_FAILURE;
            *static_cast<TW_IMAGEINFO*>(data) = Info();
            return TWRC_SUCCESS;
        case DAT_IMAGENATIVEXFER: return Native(*static_cast<TW_UINTPTR*>(data));
        case DAT_IMAGEMEMXFER: return MemoryBlock(*static_cast<TW_IMAGEMEMXFER*>(data));
        case DAT_IMAGEFILEXFER: return FileTransfer();
        case DAT_PENDINGXFERS: return Pending(msg, *static_cast<TW_PENDINGXFERS*>(data));
        default: return Fail(TWCC_BADPROTOCOL);
    }
}

}  // namespace

TW_UINT16 TW_CALLINGSTYLE Entry(pTW_IDENTITY origin, pTW_IDENTITY dest, TW_UINT32, TW_UINT16 dat,
                                TW_UINT16 msg, TW_MEMREF data) {
    if (!dest) return Manager(origin, dat, msg, data);
    if (dest->Id != kSourceId || current->state < 4) return Fail(TWCC_BADDEST);
    return Source(dat, msg, data);
}

}  // namespace faketwain
