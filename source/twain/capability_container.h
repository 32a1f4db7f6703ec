// Capability containers: building the ones the source hands out and reading the ones the
// application sends. Every container is a movable global block; one the source builds belongs
// to the application from then on. Failures set the call's return and condition codes.
#pragma once

#include <cstdint>

#include "common/twain.h"

// Bytes one list item takes: 1, 2 or 4 for TWTY_INT8 ... TWTY_UINT32; 0 for every other type,
// which no enumeration of this source holds.
uint32_t ItemSize(TW_UINT16 itemType);

// TW_ONEVALUE of itemType with the 32-bit item. False (TWCC_LOWMEMORY) when the block cannot
// be had; cap is changed only on success.
bool MakeOneValue(TW_CAPABILITY& cap, TW_UINT16 itemType, TW_UINT32 item);

// TW_ONEVALUE whose item is a string of the given TWTY_STR type stored in place of the
// 32-bit item, cut to fit and zero-terminated.
bool MakeOneValueText(TW_CAPABILITY& cap, TW_UINT16 stringType, const char* text);

struct RangeValues {
    TW_UINT32 minimum, maximum, step, defaultValue, current;
};
bool MakeRange(TW_CAPABILITY& cap, TW_UINT16 itemType, const RangeValues& values);

// TW_ENUMERATION with the header as given (its CurrentIndex already filled in) and
// header.NumItems items taken from the table. Item types without a list size are refused
// with TWCC_BADVALUE.
bool MakeEnumeration(TW_CAPABILITY& cap, const TW_ENUMERATION& header, const TW_UINT32* items);

// A value read from the application's container.
struct CapabilityValue {
    TW_UINT16 itemType;
    TW_UINT32 raw;  // the item's bytes, zero-extended
};

// The item of a TW_ONEVALUE of an integer type or TWTY_FIX32. False (TWCC_BADVALUE) for any
// other item type, TWTY_BOOL included, and for a missing, foreign or too small block.
bool ReadOneValue(const TW_CAPABILITY& cap, CapabilityValue& value);

// The item at position 0 of a TW_ENUMERATION of an integer type, whatever its CurrentIndex
// says. False (TWCC_BADVALUE) for other item types, an empty list, or a list that claims more
// items than its block holds.
bool ReadFirstEnumItem(const TW_CAPABILITY& cap, CapabilityValue& value);

// The number a value stands for: integers with their sign, TWTY_FIX32 by its whole part only.
int64_t WholeValue(const CapabilityValue& value);

// TW_FIX32 as the 32-bit item word: the whole part in the low half, the fraction in the high
// half, which is how the structure lies in memory.
TW_UINT32 Fix32Item(TW_INT16 whole, TW_UINT16 fraction = 0);
// A real number as TW_FIX32: round(x * 65536), split into whole and fraction.
TW_UINT32 Fix32ItemFromReal(double x);
TW_INT16 Fix32Whole(TW_UINT32 item);
