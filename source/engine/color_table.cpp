#include "engine/color_table.h"

#include <cmath>
#include <cstring>

#include "common/le_fields.h"
#include "engine/lattice_interpolation.h"
#include "engine/scratch_block.h"
#include "engine/table_file.h"

ColorTable TheColorTable;

namespace {

constexpr uint32_t kCurveBytes = 3 * 256;
constexpr uint32_t kProductBytes = 3 * 256 * 4 * sizeof(int32_t);

bool Allocate(ColorTable& t, uint32_t bytes) {
    t.block = plat::MemAlloc(bytes);
    uint8_t* base = t.block ? static_cast<uint8_t*>(plat::MemLock(t.block)) : nullptr;
    if (!base) {
        if (t.block) plat::MemFree(t.block);
        t.block = nullptr;
        return false;
    }
    t.curves = base;
    return true;
}

// The matrix in 64ths, row by row (offset, w0, w1, w2); false for a value no table holds.
bool ReadMatrix(const uint8_t* data, int32_t* fixed) {
    for (uint32_t i = 0; i < 12; ++i) {
        const uint32_t bits = LoadLe32(data + kCurveBytes + 4 * i);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        if (!std::isfinite(value) || std::fabs(value) > kLargestMatrixValue) return false;
        fixed[i] = int32_t(double(value) * 64.0);
    }
    return true;
}

// One lookup per input feeds all three outputs: lane k of products[j][v] is w_kj x v, and
// input 0's lanes carry the offsets too.
bool LoadSmall(ColorTable& t, const uint8_t* data) {
    int32_t fixed[12];
    if (!ReadMatrix(data, fixed) || !Allocate(t, kCurveBytes + kProductBytes)) return false;
    std::memcpy(t.curves, data, kCurveBytes);
    t.products = reinterpret_cast<int32_t*>(t.curves + kCurveBytes);
    for (uint32_t j = 0; j < 3; ++j)
        for (uint32_t v = 0; v < 256; ++v) {
            int32_t* lanes = t.products + (j * 256 + v) * 4;
            for (uint32_t k = 0; k < 3; ++k)
                lanes[k] = fixed[k * 4 + 1 + j] * int32_t(v) + (j == 0 ? fixed[k * 4] : 0);
            lanes[3] = 0;
        }
    t.layout = ColorTableLayout::Small;
    return true;
}

bool LoadLarge(ColorTable& t, const uint8_t* data) {
    if (!Allocate(t, kCurveBytes + kLatticePairBytes)) return false;
    std::memcpy(t.curves, data, kCurveBytes);
    t.pairs = t.curves + kCurveBytes;
    BuildLatticePairs(data + kCurveBytes, 3, t.pairs);
    t.layout = ColorTableLayout::Large;
    return true;
}

}  // namespace

void FreeColorTable(ColorTable& table) {
    if (table.block) {
        plat::MemUnlock(table.block);
        plat::MemFree(table.block);
    }
    table = ColorTable{};
}

ColorTableLoad LoadColorTable(ColorTable& table, const uint8_t* data, uint64_t size) {
    if (table.layout != ColorTableLayout::None) return ColorTableLoad::AlreadyHeld;
    if (!data || size > kTableFileLimit) return ColorTableLoad::Refused;
    ColorTable t;
    bool loaded = false;
    if (size < kLargeColorLayoutFrom)
        loaded = size >= kSmallColorTableBytes && LoadSmall(t, data);
    else
        loaded = size >= kLargeColorTableBytes && LoadLarge(t, data);
    if (!loaded) return ColorTableLoad::Refused;
    table = t;
    return ColorTableLoad::Loaded;
}

ColorTableLoad LoadColorTable(const uint8_t* data, uint64_t size) {
    return LoadColorTable(TheColorTable, data, size);
}

ColorTableLoad LoadColorTableFile(const char* name) {
    ColorTable& held = TheColorTable;
    if (held.layout != ColorTableLayout::None && std::strncmp(held.file, name, sizeof held.file) == 0)
        return ColorTableLoad::AlreadyHeld;
    FreeColorTable(held);
    char path[300];
    if (std::strlen(name) >= sizeof held.file || !TableFilePath("COLOR", name, path, sizeof path))
        return ColorTableLoad::Refused;
    ScratchBlock buffer(kTableFileLimit + 1);
    if (!buffer.ok()) return ColorTableLoad::Refused;
    const int64_t size = ReadTableFile(path, buffer.data());
    if (size < 0) return ColorTableLoad::Refused;
    const ColorTableLoad load = LoadColorTable(buffer.data(), uint64_t(size));
    if (load == ColorTableLoad::Loaded) std::strcpy(held.file, name);
    return load;
}
