#include "engine/native_filters.h"

#include "engine/image_filters.h"

namespace {

FilterResult RunFilter(uint8_t* block, size_t bytes, uint16_t filterMode,
                       const FilterProgress& progress) {
    switch (filterMode) {
        case kFilterInvert: return InvertImage(block, bytes, progress);
        case kFilterFlip: return FlipImage(block, bytes, progress);
        case kFilterBlur: return BlurImage(block, bytes, 1, progress);
        case kFilterBlurMore: return BlurImage(block, bytes, 2, progress);
        case kFilterSharpen: return SharpenImage(block, bytes, 1, progress);
        case kFilterSharpenMore: return SharpenImage(block, bytes, 2, progress);
        case kFilterEmboss: return EmbossImage(block, bytes, progress);
        case kFilterUnsharpMask: return UnsharpImage(block, bytes, progress);
        default: return FilterResult::Done;
    }
}

template <class Pass>
FilterResult WithLockedBitmap(plat::MemHandle bitmap, Pass pass) {
    auto* block = static_cast<uint8_t*>(plat::MemLock(bitmap));
    if (!block) return FilterResult::Unchanged;
    const FilterResult result = pass(block, plat::MemSize(bitmap));
    plat::MemUnlock(bitmap);
    return result;
}

}  // namespace

FilterResult FilterNativeImage(plat::MemHandle bitmap, uint16_t filterMode,
                               const FilterProgress& progress) {
    if (filterMode == kFilterNone || filterMode > kFilterUnsharpMask) return FilterResult::Done;
    return WithLockedBitmap(bitmap, [&](uint8_t* block, size_t bytes) {
        return RunFilter(block, bytes, filterMode, progress);
    });
}

FilterResult DescreenNativeImage(plat::MemHandle bitmap, const FilterProgress& progress) {
    return WithLockedBitmap(bitmap, [&](uint8_t* block, size_t bytes) {
        return BlurImage(block, bytes, 1, progress);
    });
}
