#include "twain/capability_tables.h"

#include <algorithm>
#include <iterator>

#include "twain/negotiation.h"

namespace {

constexpr TW_UINT32 kPixelTypes[] = {TWPT_BW, TWPT_GRAY, TWPT_RGB, TWPT_PALETTE};
constexpr TW_UINT32 kUnits[] = {TWUN_INCHES, TWUN_CENTIMETERS, TWUN_PICAS,
                                TWUN_POINTS, TWUN_TWIPS,       TWUN_PIXELS};
constexpr TW_UINT32 kXferMechs[] = {TWSX_NATIVE, TWSX_FILE, TWSX_MEMORY};
// Not const: a transfer that post-processes writes TIFF only and turns its entry into TIFF.
TW_UINT32 kFileFormats[] = {TWFF_TIFF, TWFF_PICT, TWFF_BMP, TWFF_XBM};
constexpr TW_UINT32 kLoadedFileFormats[] = {TWFF_TIFF, TWFF_PICT, TWFF_BMP, TWFF_XBM};
// 32-bit items whose low half is the resolution: read as TW_FIX32 they are the same numbers
// with fraction 0, so one list serves both readings.
constexpr TW_UINT32 kResolutions[] = {75, 100, 150, 200, 300, 400, 500, 600};
constexpr TW_UINT32 kSupportedSizes[] = {0, 1, 2, 3, 4, 5, 6, 7, 8};

template <size_t N>
constexpr ValueTable Table(TW_UINT16 itemType, const TW_UINT32 (&values)[N], uint32_t def) {
    return {{itemType, N, 0, def}, values};
}

}  // namespace

const ValueTable kPixelTypeTable = Table(TWTY_UINT16, kPixelTypes, 0);
const ValueTable kUnitsTable = Table(TWTY_UINT16, kUnits, 0);
const ValueTable kXferMechTable = Table(TWTY_UINT16, kXferMechs, 2);
const ValueTable kFileFormatTable = Table(TWTY_UINT16, kFileFormats, 0);
const ValueTable kResolutionTable = Table(TWTY_UINT32, kResolutions, 4);
const ValueTable kSupportedSizeTable = Table(TWTY_UINT16, kSupportedSizes, 0);

void MakeFileFormatEntryTiff(uint32_t index) {
    if (index < std::size(kFileFormats)) kFileFormats[index] = TWFF_TIFF;
}

void ResetFileFormatTable() {
    std::copy(std::begin(kLoadedFileFormats), std::end(kLoadedFileFormats), kFileFormats);
}

TW_UINT32 TableValue(const ValueTable& table, uint32_t index) {
    return table.values[index < table.header.NumItems ? index : table.header.DefaultIndex];
}

int TableIndexOf(const ValueTable& table, int64_t value) {
    for (uint32_t i = 0; i < table.header.NumItems; ++i)
        if (table.values[i] == value) return static_cast<int>(i);
    return -1;
}

TW_ENUMERATION TableHeader(const ValueTable& table, uint32_t currentIndex) {
    TW_ENUMERATION header = table.header;
    header.CurrentIndex = currentIndex;
    return header;
}

TW_UINT16 CurrentPixelType() {
    return static_cast<TW_UINT16>(TableValue(kPixelTypeTable, TheNegotiation.PixelTypeIndex));
}
TW_UINT16 CurrentUnits() {
    return static_cast<TW_UINT16>(TableValue(kUnitsTable, TheNegotiation.UnitsIndex));
}
TW_UINT16 CurrentXferMech() {
    return static_cast<TW_UINT16>(TableValue(kXferMechTable, TheNegotiation.XferMechIndex));
}
TW_UINT16 CurrentFileFormat() {
    return static_cast<TW_UINT16>(TableValue(kFileFormatTable, TheNegotiation.FileFormatIndex));
}
TW_UINT16 CurrentResolution() {
    return static_cast<TW_UINT16>(TableValue(kResolutionTable, TheNegotiation.ResolutionIndex));
}
TW_UINT16 CurrentSupportedSize() {
    return static_cast<TW_UINT16>(
        TableValue(kSupportedSizeTable, TheNegotiation.SupportedSizeIndex));
}
