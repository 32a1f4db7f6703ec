#include "twain/capability_container.h"

#include <cmath>
#include <cstring>

#include "platform/platform.h"
#include "session/call_codes.h"
#include "twain/dispatch.h"

namespace {

// Field offsets of the packed container layouts; the blocks are written and read byte-wise
// because a block from the application need not be aligned for any field.
constexpr size_t kItemTypeBytes = 2;
constexpr size_t kOneValueBytes = sizeof(TW_ONEVALUE);        // 6
constexpr size_t kRangeBytes = sizeof(TW_RANGE);              // 22
constexpr size_t kEnumerationHeader = sizeof(TW_ENUMERATION);  // 14
constexpr size_t kNumItemsOffset = 2;

template <typename T>
void Put(unsigned char* block, size_t offset, T value) {
    std::memcpy(block + offset, &value, sizeof value);
}

template <typename T>
T Take(const unsigned char* block, size_t offset) {
    T value;
    std::memcpy(&value, block + offset, sizeof value);
    return value;
}

// A locked, zero-filled block of the given size, or nullptr after TWCC_LOWMEMORY.
unsigned char* NewContainer(size_t bytes, plat::MemHandle& handle) {
    handle = plat::MemAlloc(bytes);
    if (!handle) {
        FailCall(TWCC_LOWMEMORY);
        return nullptr;
    }
    auto* block = static_cast<unsigned char*>(plat::MemLock(handle));
    if (!block) {
        plat::MemFree(handle);
        FailCall(TWCC_LOWMEMORY);
    }
    return block;
}

bool Deliver(TW_CAPABILITY& cap, TW_UINT16 conType, plat::MemHandle handle) {
    plat::MemUnlock(handle);
    cap.ConType = conType;
    cap.hContainer = handle;
    return true;
}

void PutItem(unsigned char* at, uint32_t itemSize, TW_UINT32 item) {
    switch (itemSize) {
        case 1: *at = static_cast<uint8_t>(item); break;
        case 2: Put(at, 0, static_cast<uint16_t>(item)); break;
        default: Put(at, 0, item); break;
    }
}

TW_UINT32 TakeItem(const unsigned char* at, uint32_t itemSize) {
    switch (itemSize) {
        case 1: return *at;
        case 2: return Take<uint16_t>(at, 0);
        default: return Take<uint32_t>(at, 0);
    }
}

uint32_t StringTypeBytes(TW_UINT16 stringType) {
    switch (stringType) {
        case TWTY_STR32: return sizeof(TW_STR32);
        case TWTY_STR64: return sizeof(TW_STR64);
        case TWTY_STR128: return sizeof(TW_STR128);
        default: return sizeof(TW_STR255);
    }
}

// The application's block, locked, when it really holds `needed` bytes; nullptr otherwise.
// The size comes from the memory manager, never from the container's own fields.
const unsigned char* LockApplicationBlock(TW_HANDLE handle, uint64_t needed) {
    if (!handle || plat::MemSize(handle) < needed) return nullptr;
    return static_cast<const unsigned char*>(plat::MemLock(handle));
}

bool Refuse() {
    FailCall(TWCC_BADVALUE);
    return false;
}

}  // namespace

uint32_t ItemSize(TW_UINT16 itemType) {
    switch (itemType) {
        case TWTY_INT8:
        case TWTY_UINT8: return 1;
        case TWTY_INT16:
        case TWTY_UINT16: return 2;
        case TWTY_INT32:
        case TWTY_UINT32: return 4;
        default: return 0;
    }
}

bool MakeOneValue(TW_CAPABILITY& cap, TW_UINT16 itemType, TW_UINT32 item) {
    plat::MemHandle handle;
    unsigned char* block = NewContainer(kOneValueBytes, handle);
    if (!block) return false;
    Put(block, 0, itemType);
    Put(block, kItemTypeBytes, item);
    return Deliver(cap, TWON_ONEVALUE, handle);
}

bool MakeOneValueText(TW_CAPABILITY& cap, TW_UINT16 stringType, const char* text) {
    const uint32_t capacity = StringTypeBytes(stringType);
    plat::MemHandle handle;
    unsigned char* block = NewContainer(kItemTypeBytes + capacity, handle);
    if (!block) return false;
    Put(block, 0, stringType);
    // The block is zero-filled, so copying at most capacity - 1 bytes leaves the terminator.
    std::strncpy(reinterpret_cast<char*>(block + kItemTypeBytes), text, capacity - 1);
    return Deliver(cap, TWON_ONEVALUE, handle);
}

bool MakeRange(TW_CAPABILITY& cap, TW_UINT16 itemType, const RangeValues& values) {
    plat::MemHandle handle;
    unsigned char* block = NewContainer(kRangeBytes, handle);
    if (!block) return false;
    Put(block, 0, itemType);
    const TW_UINT32 fields[] = {values.minimum, values.maximum, values.step, values.defaultValue,
                                values.current};
    std::memcpy(block + kItemTypeBytes, fields, sizeof fields);
    return Deliver(cap, TWON_RANGE, handle);
}

bool MakeEnumeration(TW_CAPABILITY& cap, const TW_ENUMERATION& header, const TW_UINT32* items) {
    const uint32_t itemSize = ItemSize(header.ItemType);
    if (itemSize == 0) return Refuse();
    plat::MemHandle handle;
    // One byte more than the list needs, as every enumeration of this source has.
    unsigned char* block =
        NewContainer(kEnumerationHeader + size_t{itemSize} * header.NumItems + 1, handle);
    if (!block) return false;
    std::memcpy(block, &header, kEnumerationHeader);
    for (uint32_t i = 0; i < header.NumItems; ++i)
        PutItem(block + kEnumerationHeader + i * itemSize, itemSize, items[i]);
    return Deliver(cap, TWON_ENUMERATION, handle);
}

bool ReadOneValue(const TW_CAPABILITY& cap, CapabilityValue& value) {
    const unsigned char* block = LockApplicationBlock(cap.hContainer, kOneValueBytes);
    if (!block) return Refuse();
    const TW_UINT16 itemType = Take<TW_UINT16>(block, 0);
    // TWTY_BOOL is refused: the source takes flags only as integers.
    const uint32_t itemSize = itemType == TWTY_FIX32 ? 4 : ItemSize(itemType);
    if (itemSize != 0) value = {itemType, TakeItem(block + kItemTypeBytes, itemSize)};
    plat::MemUnlock(cap.hContainer);
    return itemSize != 0 || Refuse();
}

bool ReadFirstEnumItem(const TW_CAPABILITY& cap, CapabilityValue& value) {
    const TW_HANDLE handle = cap.hContainer;
    const unsigned char* block = LockApplicationBlock(handle, kEnumerationHeader);
    if (!block) return Refuse();
    const TW_UINT16 itemType = Take<TW_UINT16>(block, 0);
    const uint32_t numItems = Take<TW_UINT32>(block, kNumItemsOffset);
    const uint64_t itemSize = ItemSize(itemType);
    // The whole list the header claims must lie inside the block, not only the first item.
    const bool readable = itemSize != 0 && numItems >= 1 &&
                          kEnumerationHeader + itemSize * numItems <= plat::MemSize(handle);
    if (readable) value = {itemType, TakeItem(block + kEnumerationHeader, uint32_t(itemSize))};
    plat::MemUnlock(handle);
    return readable || Refuse();
}

int64_t WholeValue(const CapabilityValue& value) {
    switch (value.itemType) {
        case TWTY_INT8: return static_cast<int8_t>(value.raw);
        case TWTY_INT16: return static_cast<int16_t>(value.raw);
        case TWTY_INT32: return static_cast<int32_t>(value.raw);
        case TWTY_FIX32: return Fix32Whole(value.raw);
        default: return value.raw;
    }
}

TW_UINT32 Fix32Item(TW_INT16 whole, TW_UINT16 fraction) {
    return static_cast<TW_UINT16>(whole) | (TW_UINT32{fraction} << 16);
}

TW_UINT32 Fix32ItemFromReal(double x) {
    const auto v = static_cast<int32_t>(std::lround(x * 65536.0));
    return Fix32Item(static_cast<TW_INT16>(v >> 16), static_cast<TW_UINT16>(v & 0xFFFF));
}

TW_INT16 Fix32Whole(TW_UINT32 item) { return static_cast<TW_INT16>(item & 0xFFFF); }
