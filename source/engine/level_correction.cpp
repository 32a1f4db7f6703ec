#include "engine/level_correction.h"

LevelCorrectionRecord LevelCorrectionTables;

uint16_t LevelCorrectionEntry(uint16_t v, int i) {
    if (i < 2048) return v;
    // A signed 32-bit division: below the calibration point the numerator turns negative.
    const int32_t numerator = int32_t(v) * 4095 - 1023 * i;
    const int32_t q = numerator / i;
    const int32_t r = numerator % i;
    if (q < 0) return 0;
    // Calibration values above about 33000 would need more than the 16 bits an entry holds;
    // such a curve saturates instead of wrapping round to small values.
    const int32_t entry = i < 2 * r ? q + 1 : q;
    return uint16_t(entry > 0xFFFF ? 0xFFFF : entry);
}

void FreeLevelCorrectionTables() {
    for (plat::MemHandle& h : LevelCorrectionTables.table) {
        if (h) plat::MemFree(h);
        h = nullptr;
    }
}

namespace {

bool FillTable(plat::MemHandle h, uint16_t v) {
    auto* entries = static_cast<uint16_t*>(plat::MemLock(h));
    if (!entries) return false;
    for (int i = 0; i < kLevelCorrectionEntries; ++i) entries[i] = LevelCorrectionEntry(v, i);
    plat::MemUnlock(h);
    return true;
}

}  // namespace

bool BuildLevelCorrectionTables(const uint16_t (&calibration)[kLevelCorrectionChannels]) {
    FreeLevelCorrectionTables();
    for (int k = 0; k < kLevelCorrectionChannels; ++k) {
        plat::MemHandle h = plat::MemAlloc(kLevelCorrectionEntries * sizeof(uint16_t));
        LevelCorrectionTables.table[k] = h;
        if (!h || !FillTable(h, calibration[k])) {
            FreeLevelCorrectionTables();
            return false;
        }
    }
    return true;
}
