#include "engine/cmyk_table.h"

#include <algorithm>

#include "engine/scratch_block.h"
#include "engine/table_file.h"
#include "session/messages.h"

CmykTable TheCmykTable;

void FreeCmykTable(CmykTable& table) {
    if (table.block) {
        plat::MemUnlock(table.block);
        plat::MemFree(table.block);
    }
    table = CmykTable{};
}

bool CmykTableFromBytes(const uint8_t* data, uint64_t size, CmykTable* table) {
    FreeCmykTable(*table);
    if (!data || size < kCmykTableBytes || size > kTableFileLimit) return false;
    CmykTable t;
    t.block = plat::MemAlloc(kLatticePairBytes);
    t.pairs = t.block ? static_cast<uint8_t*>(plat::MemLock(t.block)) : nullptr;
    if (!t.pairs) {
        if (t.block) plat::MemFree(t.block);
        return false;
    }
    BuildLatticePairs(data, 4, t.pairs);
    *table = t;
    return true;
}

bool LoadCmykTableFile(const char* path, CmykTable* table) {
    FreeCmykTable(*table);
    ScratchBlock buffer(kTableFileLimit + 1);
    if (!buffer.ok()) return false;
    const int64_t size = ReadTableFile(path, buffer.data());
    return size >= 0 && CmykTableFromBytes(buffer.data(), uint64_t(size), table);
}

const char* CmykTableFileName(bool batchPublisher) {
    return batchPublisher ? "cmykpp60.tab" : "cmyk.tab";
}

bool LoadCmykTable(plat::WindowHandle owner, bool batchPublisher) {
    char path[300];
    const bool loaded =
        TableFilePath("KVTC_A3", CmykTableFileName(batchPublisher), path, sizeof path) &&
        LoadCmykTableFile(path, &TheCmykTable);
    if (!loaded) ShowErrorMessage(owner, 618);
    return loaded;
}

uint32_t CmykBlockBytes(uint32_t memoryLength) {
    return uint32_t(std::min<uint64_t>(kCmykLargestBlock, uint64_t(memoryLength) * 3 / 4));
}
