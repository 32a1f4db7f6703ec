// The values a negotiated index stands for, each table with the enumeration header that
// lists it. The negotiation record keeps indices; these tables give them meaning.
#pragma once

#include <cstdint>

#include "common/twain.h"

struct ValueTable {
    TW_ENUMERATION header;  // ItemType, NumItems, CurrentIndex (0: filled at use), DefaultIndex
    const TW_UINT32* values;
};

extern const ValueTable kPixelTypeTable;     // TWPT_BW, GRAY, RGB, PALETTE
extern const ValueTable kUnitsTable;         // TWUN_INCHES ... TWUN_PIXELS
extern const ValueTable kXferMechTable;      // TWSX_NATIVE, FILE, MEMORY; default memory
extern const ValueTable kFileFormatTable;    // TWFF_TIFF, PICT, BMP, XBM
// A transfer that post-processes overwrites the file-format entry it uses with TWFF_TIFF;
// the entry stays so until the library is unloaded (or the table is reset, for tests).
void MakeFileFormatEntryTiff(uint32_t index);
void ResetFileFormatTable();
extern const ValueTable kResolutionTable;    // 75 ... 600 dots per inch; default 300
extern const ValueTable kSupportedSizeTable;  // TWSS values 0 ... 8

// The value at index; an index outside the table gives the table's default value.
TW_UINT32 TableValue(const ValueTable& table, uint32_t index);
// The index of value in the table, or -1.
int TableIndexOf(const ValueTable& table, int64_t value);
// The table's header with CurrentIndex set, ready for MakeEnumeration.
TW_ENUMERATION TableHeader(const ValueTable& table, uint32_t currentIndex);

// The negotiated values themselves, as the scan and the transfers read them.
TW_UINT16 CurrentPixelType();
TW_UINT16 CurrentUnits();
TW_UINT16 CurrentXferMech();
TW_UINT16 CurrentFileFormat();
TW_UINT16 CurrentResolution();  // dots per inch, for both axes
TW_UINT16 CurrentSupportedSize();
