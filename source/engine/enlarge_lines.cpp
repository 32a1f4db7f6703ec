#include "engine/enlarge_lines.h"

#include <cstring>

namespace {

constexpr uint64_t kLargestTable = uint64_t(1) << 30;

uint32_t PixelsOf(SampleKind kind, uint32_t bytes) {
    if (kind == SampleKind::LineArt) return bytes * 8;
    return kind == SampleKind::Colour ? bytes / 3 : bytes;
}

uint32_t BytesOf(SampleKind kind, uint32_t pixels) {
    if (kind == SampleKind::LineArt) return (pixels + 7) / 8;
    return kind == SampleKind::Colour ? 3 * pixels : pixels;
}

// The delivered index j's enlarged index: the one where an accumulator that gains E per
// enlarged sample passes its (j + 1)-th multiple of kA, so n enlarged samples give
// floor(n x E / kA).
uint64_t SourceOf(uint64_t j, uint32_t base, uint32_t target) {
    return ((j + 1) * base + target - 1) / target - 1;
}

void ThinRow(const Enlargement& e, const uint8_t* enlarged, uint8_t* row) {
    const SampleKind kind = e.interpolation.kind;
    if (kind == SampleKind::LineArt) {
        const uint32_t used = (e.columns + 7) / 8;
        std::memset(row, 0xFF, used);  // the bits after the last pixel stay white
        std::memset(row + used, 0, e.rowBytes - used);
        for (uint32_t c = 0; c < e.columns; ++c) {
            const uint32_t s = e.columnSource[c];
            if (!((enlarged[s >> 3] >> (7 - (s & 7))) & 1)) row[c >> 3] &= uint8_t(~(0x80u >> (c & 7)));
        }
        return;
    }
    const uint32_t step = SampleStep(kind);
    for (uint32_t c = 0; c < e.columns; ++c)
        std::memcpy(row + c * step, enlarged + uint64_t(e.columnSource[c]) * step, step);
    const uint32_t used = e.columns * step;
    std::memset(row + used, 0, e.rowBytes - used);
}

// One enlarged row into its delivered row: cut or padded (line art with white bits), or
// thinned to the delivered columns.
void DeliverRow(const Enlargement& e, const uint8_t* enlarged, uint8_t* row) {
    if (e.thinned) return ThinRow(e, enlarged, row);
    const uint32_t have = e.interpolation.outLineBytes;
    const uint32_t used = BytesOf(e.interpolation.kind, e.columns);
    std::memcpy(row, enlarged, used < have ? used : have);
    if (e.interpolation.kind == SampleKind::LineArt && e.columns % 8 != 0)
        row[used - 1] |= uint8_t(0xFFu >> (e.columns % 8));
    if (used < e.rowBytes) std::memset(row + used, 0, e.rowBytes - used);
}

}  // namespace

void EndEnlargement(Enlargement& e) {
    EndInterpolation(e.interpolation);
    if (e.block) {
        plat::MemUnlock(e.block);
        plat::MemFree(e.block);
    }
    e = Enlargement{};
}

bool BeginEnlargement(SampleKind kind, uint32_t lineBytes, const ResolutionPlan& plan,
                      uint32_t rowBytes, Enlargement* out) {
    EndEnlargement(*out);
    if (plan.factor < 2 || plan.asked == 0 || plan.effective == 0) return false;
    Enlargement e;
    if (!BeginInterpolation(kind, lineBytes, plan.factor, &e.interpolation)) return false;
    e.base = plan.factor * plan.asked;
    e.target = plan.effective > e.base ? e.base : plan.effective;
    e.thinned = e.target != e.base;
    const uint64_t enlargedPixels = uint64_t(plan.factor) * PixelsOf(kind, lineBytes);
    e.columns = uint32_t(enlargedPixels * e.target / e.base);
    e.rowBytes = rowBytes;
    const uint64_t table = e.thinned ? uint64_t(e.columns) * sizeof(uint32_t) : 0;
    const uint64_t rows = uint64_t(plan.factor) * e.interpolation.outLineBytes;
    if (rowBytes < BytesOf(kind, e.columns) || table + rows > kLargestTable) {
        EndEnlargement(e);
        return false;
    }
    e.block = plat::MemAlloc(size_t(table + rows));
    auto* base = e.block ? static_cast<uint8_t*>(plat::MemLock(e.block)) : nullptr;
    if (!base) {
        if (e.block) plat::MemFree(e.block);
        e.block = nullptr;
        EndEnlargement(e);
        return false;
    }
    e.enlarged = base;
    e.columnSource = reinterpret_cast<uint32_t*>(base + rows);
    for (uint32_t c = 0; e.thinned && c < e.columns; ++c)
        e.columnSource[c] = uint32_t(SourceOf(c, e.base, e.target));
    *out = e;
    return true;
}

bool EnlargeLines(Enlargement& e, const uint8_t* lines, uint32_t count, uint8_t* rows,
                  int64_t stride, uint32_t* written) {
    *written = 0;
    if (!e.block || !lines || !rows || count == 0) return false;
    InterpolationState& s = e.interpolation;
    // Every enlarged row delivered, one after the other: straight into the rows.
    if (!e.thinned && stride == int64_t(e.rowBytes)) {
        if (!InterpolateBlock(s, lines, count, rows, e.rowBytes)) return false;
        *written = s.factor * count;
        e.enlargedRows += *written;
        e.deliveredRows += *written;
        return true;
    }
    uint64_t next = SourceOf(e.deliveredRows, e.base, e.target);
    for (uint32_t i = 0; i < count; ++i) {
        if (!InterpolateBlock(s, lines + uint64_t(i) * s.lineBytes, 1, e.enlarged, s.outLineBytes))
            return false;
        for (uint32_t r = 0; r < s.factor; ++r, ++e.enlargedRows) {
            if (e.enlargedRows != next) continue;
            DeliverRow(e, e.enlarged + uint64_t(r) * s.outLineBytes, rows + int64_t(*written) * stride);
            ++*written;
            next = SourceOf(++e.deliveredRows, e.base, e.target);
        }
    }
    return true;
}
