#include "common/remote_frames.h"

#include <cstring>

#include "common/le_fields.h"

namespace {

// One field of a block on the wire: where it starts (the same offset in the block), how many
// bytes it takes, and whether it is a 2- or 4-byte number (word) or a run of single bytes.
struct FieldLayout {
    uint16_t offset;
    uint16_t bytes;
    uint8_t word;  // 1: bytes as they are; 2 or 4: one little-endian number
};

struct BlockLayout {
    const FieldLayout* fields;
    size_t count;
    bool addressSlot;  // ReadData: bytes 28-35 hold the buffer table's address
};

constexpr FieldLayout kInquiry[] = {{0, 2, 2}, {2, 2, 2}, {4, 2, 2}, {6, 128, 1}};
constexpr FieldLayout kSetParameters[] = {
    {0, 2, 2},  {2, 2, 2},  {4, 2, 2},  {6, 2, 2},  {8, 2, 2},  {10, 2, 2},
    {12, 2, 2}, {14, 4, 1}, {18, 2, 2}, {20, 4, 1}, {24, 2, 2}, {26, 2, 1}, {28, 4, 4}};
constexpr FieldLayout kSendGamma[] = {
    {0, 2, 2},     {2, 2, 2},        {4, 2, 2},     {6, 2, 1},        {8, 2, 2},
    {10, 4096, 1}, {4106, 2, 2},     {4108, 4096, 1}, {8204, 2, 2},   {8206, 4096, 1},
    {12302, 2, 2}, {12304, 4096, 1}, {16400, 4, 1}};
constexpr FieldLayout kStartScan[] = {{0, 2, 2}, {2, 2, 2}, {4, 2, 2},
                                    {6, 2, 2}, {8, 2, 2}, {10, 2, 2}, {12, 4, 1}};
constexpr FieldLayout kStop[] = {{0, 2, 2}, {2, 2, 2}, {4, 2, 2}};
constexpr FieldLayout kReadData[] = {{0, 2, 2},  {2, 2, 2},  {4, 2, 2},  {6, 2, 2},
                                   {8, 2, 2},  {10, 2, 2}, {12, 4, 4}, {16, 2, 2},
                                   {18, 2, 2}, {20, 6, 1}, {26, 2, 2}};
constexpr FieldLayout kGetStatus[] = {{0, 2, 2}, {2, 2, 2}, {4, 2, 2}, {6, 2, 2}, {8, 4, 1}};

constexpr size_t kAddressSlot = 28;
constexpr size_t kAddressSlotBytes = 8;

static_assert(offsetof(ReadDataBlock, table) == kAddressSlot);
static_assert(offsetof(SendGammaBlock, reserved16400) == 16400);
static_assert(offsetof(GetStatusBlock, reserved8) == 8);
static_assert(offsetof(StartScanBlock, reserved12) == 12);
static_assert(offsetof(ShadingInfoBlock, reserved12) == 12);
static_assert(offsetof(ReadDataBlock, reserved20) == 20);

template <size_t N>
constexpr BlockLayout Layout(const FieldLayout (&fields)[N], bool addressSlot = false) {
    return {fields, N, addressSlot};
}

// Start scan and shading info share their layout: a word, two reply words, four bytes.
BlockLayout LayoutOf(uint32_t code) {
    switch (code) {
        case ScanRequestInquiry: return Layout(kInquiry);
        case ScanRequestSetParameters: return Layout(kSetParameters);
        case ScanRequestSendGamma: return Layout(kSendGamma);
        case ScanRequestStartScan: return Layout(kStartScan);
        case ScanRequestStop: return Layout(kStop);
        case ScanRequestShadingInfo: return Layout(kStartScan);
        case ScanRequestReadData: return Layout(kReadData, true);
        case ScanRequestGetStatus: return Layout(kGetStatus);
        default: return {nullptr, 0, false};
    }
}

void WriteFields(const BlockLayout& layout, const uint8_t* block, uint8_t* wire) {
    for (size_t i = 0; i < layout.count; ++i) {
        const FieldLayout& f = layout.fields[i];
        if (f.word == 2) {
            uint16_t v;
            std::memcpy(&v, block + f.offset, 2);
            StoreLe16(wire + f.offset, v);
        } else if (f.word == 4) {
            uint32_t v;
            std::memcpy(&v, block + f.offset, 4);
            StoreLe32(wire + f.offset, v);
        } else {
            std::memcpy(wire + f.offset, block + f.offset, f.bytes);
        }
    }
}

void ReadFields(const BlockLayout& layout, const uint8_t* wire, uint8_t* block) {
    for (size_t i = 0; i < layout.count; ++i) {
        const FieldLayout& f = layout.fields[i];
        if (f.word == 2) {
            const uint16_t v = LoadLe16(wire + f.offset);
            std::memcpy(block + f.offset, &v, 2);
        } else if (f.word == 4) {
            const uint32_t v = LoadLe32(wire + f.offset);
            std::memcpy(block + f.offset, &v, 4);
        } else {
            std::memcpy(block + f.offset, wire + f.offset, f.bytes);
        }
    }
}

// The table's address as the classic 32-bit build sends it; nothing of a wider address.
void WriteAddressSlot(const uint8_t* block, uint8_t* wire) {
    std::memset(wire + kAddressSlot, 0, kAddressSlotBytes);
    if constexpr (sizeof(void*) == 4) {
        uint32_t address;
        std::memcpy(&address, block + kAddressSlot, 4);
        StoreLe32(wire + kAddressSlot, address);
    }
}

}  // namespace

size_t RequestFrameBytes(uint32_t code) {
    if (code == ScanRequestSetParameters) return 1 + sizeof(SetParametersBlock) + 1;
    if (code == ScanRequestRemoteShading) return 1;
    const size_t block = RequestBlockBytes(code);
    return block ? 1 + block : 0;
}

size_t ReplyFrameBytes(uint32_t code) {
    if (code == ScanRequestRemoteShading) return 4;
    const size_t block = RequestBlockBytes(code);
    return block ? 1 + block : 0;
}

size_t EncodeRequestFrame(uint32_t code, const void* block, uint8_t forceCalibration,
                          uint8_t* frame) {
    const size_t bytes = RequestFrameBytes(code);
    if (bytes == 0) return 0;
    frame[0] = static_cast<uint8_t>(code);
    if (code == ScanRequestRemoteShading) return bytes;
    const BlockLayout layout = LayoutOf(code);
    uint8_t* wire = frame + 1;
    WriteFields(layout, static_cast<const uint8_t*>(block), wire);
    if (layout.addressSlot) WriteAddressSlot(static_cast<const uint8_t*>(block), wire);
    if (code == ScanRequestSetParameters) frame[bytes - 1] = forceCalibration;
    return bytes;
}

void DecodeReplyFrame(const uint8_t* frame, void* block) {
    const uint32_t code = frame[0];
    if (code == ScanRequestRemoteShading) {
        std::memcpy(block, frame + 1, 2);
        return;
    }
    if (ReplyFrameBytes(code) == 0) return;
    ReadFields(LayoutOf(code), frame + 1, static_cast<uint8_t*>(block));
}

void DecodeRequestFrame(const uint8_t* frame, void* block, uint8_t* forceCalibration) {
    const uint32_t code = frame[0];
    if (RequestFrameBytes(code) == 0 || code == ScanRequestRemoteShading) return;
    ReadFields(LayoutOf(code), frame + 1, static_cast<uint8_t*>(block));
    if (code == ScanRequestSetParameters && forceCalibration)
        *forceCalibration = frame[1 + sizeof(SetParametersBlock)];
}

size_t EncodeReplyFrame(uint32_t code, const void* block, uint8_t* frame) {
    const size_t bytes = ReplyFrameBytes(code);
    if (bytes == 0) return 0;
    frame[0] = static_cast<uint8_t>(code);
    if (code == ScanRequestRemoteShading) {
        std::memcpy(frame + 1, block, 2);
        frame[3] = 0;
        return bytes;
    }
    const BlockLayout layout = LayoutOf(code);
    WriteFields(layout, static_cast<const uint8_t*>(block), frame + 1);
    // A reply never carries an address: the client keeps its own.
    if (layout.addressSlot) std::memset(frame + 1 + kAddressSlot, 0, kAddressSlotBytes);
    return bytes;
}
