#include "window/prescan_store.h"

#include "engine/level_correction.h"
#include "platform/platform.h"

PrescanStore::PrescanStore() : high_(kTableBytes), low_(kTableBytes) {
    Describe(store_.high, high_);
    Describe(store_.low, low_);
}

void PrescanStore::Describe(ScanBufferTable& table, std::vector<uint8_t>& bytes) {
    const uint32_t entryBytes = kTableBytes / kTableEntries;
    for (uint16_t e = 0; e < kTableEntries; ++e) {
        table[e].size = entryBytes;
        table[e].lines = 1;
        table[e].address = bytes.data() + e * entryBytes;
    }
}

PrescanShadingStore* PrescanStore::Lend() {
    if (lent_) Release();
    for (int c = 0; c < 3; ++c)
        store_.conversion[c] =
            static_cast<const uint16_t*>(plat::MemLock(LevelCorrectionTables.table[c]));
    lent_ = true;
    return &store_;
}

void PrescanStore::Release() {
    if (!lent_) return;
    for (int c = 0; c < 3; ++c) {
        if (store_.conversion[c]) plat::MemUnlock(LevelCorrectionTables.table[c]);
        store_.conversion[c] = nullptr;
    }
    lent_ = false;
}
