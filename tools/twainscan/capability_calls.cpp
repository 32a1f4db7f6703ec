#include "tools/twainscan/capability_calls.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "tools/twainscan/twain_names.h"

namespace twainscan {
namespace {

// The value of an item as its type defines it, so that a 16-bit item compares equal to
// what was set whatever the source left in the upper bytes.
TW_UINT32 Narrowed(TW_UINT16 itemType, TW_UINT32 item) {
    switch (itemType) {
        case TWTY_INT8:
        case TWTY_UINT8: return item & 0xFF;
        case TWTY_INT16:
        case TWTY_UINT16:
        case TWTY_BOOL: return item & 0xFFFF;
        case TWTY_FIX32: return static_cast<TW_UINT16>(Fix32OfItem(item).Whole);
        default: return item;
    }
}

std::string ItemText(TW_UINT16 itemType, TW_UINT32 item) {
    if (itemType == TWTY_FIX32) {
        char text[32];
        std::snprintf(text, sizeof text, "%g", FromFix32(Fix32OfItem(item)));
        return text;
    }
    return std::to_string(Narrowed(itemType, item));
}

}  // namespace

TW_FIX32 ToFix32(double value) {
    const auto scaled = static_cast<int32_t>(std::lround(value * 65536.0));
    TW_FIX32 fix;
    fix.Whole = static_cast<TW_INT16>(scaled >> 16);
    fix.Frac = static_cast<TW_UINT16>(scaled & 0xFFFF);
    return fix;
}

double FromFix32(TW_FIX32 value) { return value.Whole + value.Frac / 65536.0; }

TW_UINT32 Fix32Item(TW_FIX32 value) {
    TW_UINT32 item = 0;
    std::memcpy(&item, &value, sizeof value);
    return item;
}

TW_FIX32 Fix32OfItem(TW_UINT32 item) {
    TW_FIX32 value;
    std::memcpy(&value, &item, sizeof value);
    return value;
}

bool SetOneValue(SourceLink& link, MemoryBlocks& blocks, TW_UINT16 cap, TW_UINT16 itemType,
                 TW_UINT32 item, std::string& error) {
    const std::string what = "MSG_SET of " + CapabilityName(cap);
    TW_HANDLE container = blocks.Alloc(sizeof(TW_ONEVALUE));
    void* locked = container ? blocks.Lock(container) : nullptr;
    if (!locked) {
        if (container) blocks.Free(container);
        error = what + ": no memory for the container";
        return false;
    }
    const TW_ONEVALUE one{itemType, item};
    std::memcpy(locked, &one, sizeof one);
    blocks.Unlock(container);
    TW_CAPABILITY capability{cap, TWON_ONEVALUE, container};
    const TW_UINT16 rc = CallSource(link, DG_CONTROL, DAT_CAPABILITY, MSG_SET, &capability);
    blocks.Free(container);
    if (rc == TWRC_SUCCESS) return true;
    error = SourceFailure(link, what, rc);
    return false;
}

bool GetCurrentOneValue(SourceLink& link, MemoryBlocks& blocks, TW_UINT16 cap,
                        TW_ONEVALUE& value, std::string& error) {
    const std::string what = "MSG_GETCURRENT of " + CapabilityName(cap);
    TW_CAPABILITY capability{cap, TWON_DONTCARE16, nullptr};
    const TW_UINT16 rc = CallSource(link, DG_CONTROL, DAT_CAPABILITY, MSG_GETCURRENT, &capability);
    if (rc != TWRC_SUCCESS) {
        error = SourceFailure(link, what, rc);
        return false;
    }
    if (!capability.hContainer) {
        error = what + ": the source answered without a container";
        return false;
    }
    const void* locked = blocks.Lock(capability.hContainer);
    const size_t size = blocks.Size(capability.hContainer);
    const bool readable = locked && capability.ConType == TWON_ONEVALUE && size >= sizeof value;
    if (readable) std::memcpy(&value, locked, sizeof value);
    if (locked) blocks.Unlock(capability.hContainer);
    blocks.Free(capability.hContainer);
    if (!readable) {
        error = what + ": the answer is not a readable TW_ONEVALUE (container type " +
                std::to_string(capability.ConType) + ", " + std::to_string(size) + " bytes)";
    }
    return readable;
}

bool SetAndVerify(SourceLink& link, MemoryBlocks& blocks, TW_UINT16 cap, TW_UINT16 itemType,
                  TW_UINT32 item, std::string& error) {
    TW_ONEVALUE now{};
    if (!SetOneValue(link, blocks, cap, itemType, item, error) ||
        !GetCurrentOneValue(link, blocks, cap, now, error))
        return false;
    if (Narrowed(now.ItemType, now.Item) == Narrowed(itemType, item)) return true;
    error = CapabilityName(cap) + " is " + ItemText(now.ItemType, now.Item) + " after setting " +
            ItemText(itemType, item);
    return false;
}

}  // namespace twainscan
