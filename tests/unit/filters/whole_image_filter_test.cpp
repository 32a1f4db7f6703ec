// The whole-image filters of the native transfer against their reference formulas, their
// edge cases, stopping with Escape, and bitmaps whose header does not fit the block.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>

#include "engine/image_filters.h"
#include "engine/native_filters.h"
#include "platform/host/host_control.h"
#include "tests/unit/filters/filter_oracle.h"
#include "tests/unit/filters/test_images.h"

namespace {

const FilterProgress kNoProgress{};

using Filter = std::function<FilterResult(Bitmap&, const FilterProgress&)>;
struct Case {
    const char* name;
    Filter run;
    std::function<Grid(const Grid&)> oracle;
    int passes;
};

const std::vector<Case>& ByteFilters() {
    static const std::vector<Case> cases = {
        {"blur", [](Bitmap& b, const FilterProgress& p) { return BlurImage(b.block.data(), b.block.size(), 1, p); },
         [](const Grid& g) { return OracleBlur(g, 1); }, 1},
        {"blur more", [](Bitmap& b, const FilterProgress& p) { return BlurImage(b.block.data(), b.block.size(), 2, p); },
         [](const Grid& g) { return OracleBlur(g, 2); }, 2},
        {"sharpen", [](Bitmap& b, const FilterProgress& p) { return SharpenImage(b.block.data(), b.block.size(), 1, p); },
         [](const Grid& g) { return OracleSharpen(g, 1); }, 1},
        {"sharpen more", [](Bitmap& b, const FilterProgress& p) { return SharpenImage(b.block.data(), b.block.size(), 2, p); },
         [](const Grid& g) { return OracleSharpen(g, 2); }, 2},
        {"unsharp", [](Bitmap& b, const FilterProgress& p) { return UnsharpImage(b.block.data(), b.block.size(), p); },
         OracleUnsharp, 1},
        {"emboss", [](Bitmap& b, const FilterProgress& p) { return EmbossImage(b.block.data(), b.block.size(), p); },
         OracleEmboss, 1},
        {"flip", [](Bitmap& b, const FilterProgress& p) { return FlipImage(b.block.data(), b.block.size(), p); },
         OracleFlip, 1},
    };
    return cases;
}

// Widths and heights with odd sizes, single rows and columns, and rows too short for a
// vector register as well as long ones.
const std::vector<std::pair<int, int>> kShapes = {{1, 1},  {1, 6},  {6, 1},  {2, 2},  {2, 5},
                                                  {5, 2},  {3, 3},  {4, 4},  {13, 11}, {37, 3},
                                                  {3, 37}, {101, 9}, {257, 5}};

std::vector<uint8_t> HeaderAndPalette(const Bitmap& b) {
    return {b.block.begin(), b.block.begin() + long(b.pixelOffset())};
}

bool PaddingIntact(const Bitmap& b) {
    const size_t used = (size_t(b.bitCount) * b.width + 7) / 8;
    for (int r = 0; r < b.height; ++r)
        for (size_t i = used; i < b.stride(); ++i)
            if (b.row(r)[i] != kPaddingMarker) return false;
    return true;
}

TEST(WholeImageFilters, MatchTheirFormulasOnGrayAndColour) {
    std::mt19937 rng(7);
    for (const Case& c : ByteFilters())
        for (int s : {1, 3})
            for (auto [w, h] : kShapes) {
                SCOPED_TRACE(testing::Message() << c.name << " s=" << s << " " << w << "x" << h);
                const Grid g = RandomGrid(w, h, s, rng);
                Bitmap b = BitmapOf(g);
                const auto header = HeaderAndPalette(b);
                ASSERT_EQ(c.run(b, kNoProgress), FilterResult::Done);
                EXPECT_EQ(GridOf(b), c.oracle(g));
                EXPECT_EQ(HeaderAndPalette(b), header);
                EXPECT_TRUE(PaddingIntact(b));
            }
}

TEST(WholeImageFilters, InvertComplementsEveryRowBytePaddingIncludedButNotThePalette) {
    std::mt19937 rng(8);
    for (int bits : {1, 8, 24}) {
        Bitmap b = RandomBitmap(11, 3, bits, rng);
        const Bitmap before = b;
        ASSERT_EQ(InvertImage(b.block.data(), b.block.size(), kNoProgress), FilterResult::Done);
        EXPECT_EQ(HeaderAndPalette(b), HeaderAndPalette(before));
        for (int r = 0; r < b.height; ++r)
            for (size_t i = 0; i < b.stride(); ++i)
                ASSERT_EQ(b.row(r)[i], uint8_t(~before.row(r)[i])) << bits << " bits, row " << r;
    }
}

TEST(WholeImageFilters, FlipMirrorsOneBitRowsPixelByPixelAndKeepsTheirPadding) {
    std::mt19937 rng(9);
    for (int w : {1, 5, 8, 9, 31, 32, 33, 64, 70}) {
        SCOPED_TRACE(w);
        Bitmap b = RandomBitmap(w, 3, 1, rng);
        const Bitmap before = b;
        ASSERT_EQ(FlipImage(b.block.data(), b.block.size(), kNoProgress), FilterResult::Done);
        for (int r = 0; r < 3; ++r) {
            for (int x = 0; x < w; ++x) ASSERT_EQ(BitAt(b, r, x), BitAt(before, r, w - 1 - x));
            for (int x = w; x < int(b.stride()) * 8; ++x) ASSERT_EQ(BitAt(b, r, x), BitAt(before, r, x));
        }
    }
}

TEST(WholeImageFilters, OneBitImagesAreLeftAloneByTheSampleFilters) {
    std::mt19937 rng(10);
    for (const Case& c : ByteFilters()) {
        if (std::string(c.name) == "flip") continue;
        Bitmap b = RandomBitmap(40, 6, 1, rng);
        const auto before = b.block;
        EXPECT_EQ(c.run(b, kNoProgress), FilterResult::Done) << c.name;
        EXPECT_EQ(b.block, before) << c.name;
    }
}

TEST(WholeImageFilters, EdgeCases) {
    for (int s : {1, 3}) {
        // A uniform image: 9p / 9 and 5p - 4p are p.
        for (const char* name : {"blur", "blur more", "sharpen", "sharpen more"}) {
            for (const Case& c : ByteFilters()) {
                if (std::string(c.name) != name) continue;
                Bitmap b = BitmapOf(FlatGrid(9, 7, s, 77));
                c.run(b, kNoProgress);
                EXPECT_EQ(GridOf(b), FlatGrid(9, 7, s, 77)) << name;
            }
        }
        // Unsharp of a flat 100: (1790 - 400) / 9 = 154 inside, the border unchanged.
        Bitmap u = BitmapOf(FlatGrid(5, 4, s, 100));
        UnsharpImage(u.block.data(), u.block.size(), kNoProgress);
        const Grid ug = GridOf(u);
        for (int r = 0; r < 4; ++r)
            for (int x = 0; x < 5; ++x)
                EXPECT_EQ(ug.at(r, x, 0), (r == 0 || r == 3 || x == 0 || x == 4) ? 100 : 154);
        // Emboss of a single row has nothing two rows further: every sample becomes 128.
        std::mt19937 rng(11);
        Bitmap e = BitmapOf(RandomGrid(6, 1, s, rng));
        EmbossImage(e.block.data(), e.block.size(), kNoProgress);
        EXPECT_EQ(GridOf(e), FlatGrid(6, 1, s, 128));
    }
}

TEST(WholeImageFilters, FlipTwiceRestoresEveryBitCount) {
    std::mt19937 rng(12);
    for (int bits : {1, 8, 24})
        for (int w : {1, 2, 7, 13, 64}) {
            Bitmap b = RandomBitmap(w, 5, bits, rng);
            const auto before = b.block;
            FlipImage(b.block.data(), b.block.size(), kNoProgress);
            FlipImage(b.block.data(), b.block.size(), kNoProgress);
            EXPECT_EQ(b.block, before) << bits << " bits, width " << w;
        }
}

struct StopAfter {
    uint32_t stopAt;
    uint32_t calls = 0, lastDone = 0, total = 0;
    bool monotonic = true;
    static bool Call(void* ctx, uint32_t done, uint32_t total) {
        auto* self = static_cast<StopAfter*>(ctx);
        self->monotonic &= done == self->lastDone + 1;
        self->lastDone = done;
        self->total = total;
        ++self->calls;
        return done == self->stopAt;
    }
    FilterProgress progress() { return {&StopAfter::Call, this}; }
};

TEST(WholeImageFilters, EscapeStopsAfterTheRowItArrivesOnAndLeavesLaterRowsUntouched) {
    std::mt19937 rng(13);
    const int h = 9, stopRow = 4;
    for (const Case& c : ByteFilters())
        for (int s : {1, 3}) {
            SCOPED_TRACE(testing::Message() << c.name << " s=" << s);
            const Grid g = RandomGrid(8, h, s, rng);
            // Stop in the last pass: earlier passes are complete, the last one reached stopRow.
            const uint32_t stopAt = uint32_t((c.passes - 1) * h + stopRow);
            Bitmap b = BitmapOf(g);
            StopAfter stop{stopAt};
            ASSERT_EQ(c.run(b, stop.progress()), FilterResult::Stopped);
            EXPECT_EQ(stop.calls, stopAt);
            EXPECT_TRUE(stop.monotonic);
            EXPECT_EQ(stop.total, uint32_t(c.passes * h));
            const Grid done = c.oracle(g);
            // The rows before the last pass, as the pass started.
            Grid start = g;
            if (c.passes == 2) start = std::string(c.name) == "blur more" ? OracleBlur(g, 1) : OracleSharpen(g, 1);
            const Grid got = GridOf(b);
            for (int r = 0; r < h; ++r)
                for (int x = 0; x < g.w; ++x)
                    for (int k = 0; k < s; ++k)
                        ASSERT_EQ(got.at(r, x, k), r < stopRow ? done.at(r, x, k) : start.at(r, x, k))
                            << "row " << r;
        }
}

TEST(WholeImageFilters, AProgressThatNeverStopsSeesEveryRow) {
    Bitmap b = BitmapOf(FlatGrid(4, 6, 1, 50));
    StopAfter never{0};
    EXPECT_EQ(BlurImage(b.block.data(), b.block.size(), 2, never.progress()), FilterResult::Done);
    EXPECT_EQ(never.calls, 12u);
    EXPECT_TRUE(never.monotonic);
}

void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    ASSERT_LE(at + 4, b.size());
    for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}

TEST(WholeImageFilters, AHeaderThatDoesNotFitTheBlockLeavesItUntouched) {
    std::mt19937 rng(14);
    const Bitmap good = RandomBitmap(10, 6, 24, rng);
    std::vector<std::pair<const char*, std::vector<uint8_t>>> bad;
    auto corrupt = [&](const char* why, auto change) {
        std::vector<uint8_t> block = good.block;
        change(block);
        bad.emplace_back(why, block);
    };
    corrupt("one row too many", [](auto& b) { Put32(b, 8, 7); });
    corrupt("negative height of too many rows", [](auto& b) { Put32(b, 8, uint32_t(-7)); });
    corrupt("wider than the block", [](auto& b) { Put32(b, 4, 11); });
    corrupt("width near 2^31", [](auto& b) { Put32(b, 4, 0x7FFFFFFF); });
    corrupt("negative width", [](auto& b) { Put32(b, 4, uint32_t(-10)); });
    corrupt("height near -2^31", [](auto& b) { Put32(b, 8, 0x80000000u); });
    corrupt("zero width", [](auto& b) { Put32(b, 4, 0); });
    corrupt("zero height", [](auto& b) { Put32(b, 8, 0); });
    corrupt("16 bits", [](auto& b) { b[14] = 16; });
    corrupt("two planes", [](auto& b) { b[12] = 2; });
    corrupt("compressed", [](auto& b) { Put32(b, 16, 1); });
    corrupt("palette beyond the block", [](auto& b) { Put32(b, 32, 200); });
    corrupt("header size beyond the block", [](auto& b) { Put32(b, 0, 0x7FFFFFF0); });
    corrupt("header size too small", [](auto& b) { Put32(b, 0, 12); });
    corrupt("cut short", [](auto& b) { b.resize(b.size() - 1); });
    corrupt("shorter than a header", [](auto& b) { b.resize(39); });
    std::vector<uint8_t> gray = RandomBitmap(10, 6, 8, rng).block;
    Put32(gray, 32, 257);
    bad.emplace_back("more colours than 8 bits hold", gray);

    for (auto& [why, block] : bad)
        for (const Case& c : ByteFilters()) {
            Bitmap b = good;
            b.block = block;
            EXPECT_EQ(c.run(b, kNoProgress), FilterResult::Unchanged) << why << ", " << c.name;
            EXPECT_EQ(b.block, block) << why << ", " << c.name;
            EXPECT_EQ(InvertImage(b.block.data(), b.block.size(), kNoProgress), FilterResult::Unchanged);
            EXPECT_EQ(b.block, block) << why << ", invert";
        }
    EXPECT_EQ(InvertImage(nullptr, 100, kNoProgress), FilterResult::Unchanged);
}

TEST(WholeImageFilters, AWorkCopyThatCannotBeAllocatedLeavesTheImageUnchanged) {
    std::mt19937 rng(15);
    plat::host::Reset();
    for (const Case& c : ByteFilters()) {
        if (std::string(c.name) == "emboss" || std::string(c.name) == "flip") continue;  // no copy
        Bitmap b = RandomBitmap(9, 5, 8, rng);
        const auto before = b.block;
        plat::host::FailAllocationAt(1);
        EXPECT_EQ(c.run(b, kNoProgress), FilterResult::Unchanged) << c.name;
        EXPECT_EQ(b.block, before) << c.name;
    }
    Bitmap lineArt = RandomBitmap(20, 3, 1, rng);
    const auto before = lineArt.block;
    plat::host::FailAllocationAt(1);
    EXPECT_EQ(FlipImage(lineArt.block.data(), lineArt.block.size(), kNoProgress), FilterResult::Unchanged);
    EXPECT_EQ(lineArt.block, before);
    plat::host::FailAllocationAt(0);
    EXPECT_EQ(plat::host::LiveBlocks(), 0u);
}

// The native transfer's entry: a movable block, locked only for the pass.
plat::MemHandle HandleOf(const Bitmap& b) {
    plat::MemHandle h = plat::MemAlloc(b.block.size());
    std::memcpy(plat::MemLock(h), b.block.data(), b.block.size());
    plat::MemUnlock(h);
    return h;
}

std::vector<uint8_t> BytesOf(plat::MemHandle h) {
    auto* p = static_cast<uint8_t*>(plat::MemLock(h));
    std::vector<uint8_t> bytes(p, p + plat::MemSize(h));
    plat::MemUnlock(h);
    return bytes;
}

TEST(NativeFilters, FilterModeChoosesThePassAndDescreenIsOneBlurPass) {
    plat::host::Reset();
    std::mt19937 rng(16);
    const Bitmap source = RandomBitmap(12, 7, 24, rng);
    auto direct = [&](std::function<FilterResult(uint8_t*, size_t)> f) {
        Bitmap b = source;
        f(b.block.data(), b.block.size());
        return b.block;
    };
    const std::vector<std::vector<uint8_t>> expected = {
        source.block,
        direct([](uint8_t* p, size_t n) { return InvertImage(p, n, kNoProgress); }),
        direct([](uint8_t* p, size_t n) { return FlipImage(p, n, kNoProgress); }),
        direct([](uint8_t* p, size_t n) { return BlurImage(p, n, 1, kNoProgress); }),
        direct([](uint8_t* p, size_t n) { return BlurImage(p, n, 2, kNoProgress); }),
        direct([](uint8_t* p, size_t n) { return SharpenImage(p, n, 1, kNoProgress); }),
        direct([](uint8_t* p, size_t n) { return SharpenImage(p, n, 2, kNoProgress); }),
        direct([](uint8_t* p, size_t n) { return EmbossImage(p, n, kNoProgress); }),
        direct([](uint8_t* p, size_t n) { return UnsharpImage(p, n, kNoProgress); }),
        source.block,
    };
    for (uint16_t mode = 0; mode < expected.size(); ++mode) {
        plat::MemHandle h = HandleOf(source);
        EXPECT_EQ(FilterNativeImage(h, mode, kNoProgress), FilterResult::Done);
        EXPECT_EQ(BytesOf(h), expected[mode]) << "FilterMode " << mode;
        EXPECT_EQ(plat::host::LockCount(h), 0);
        plat::MemFree(h);
    }
    plat::MemHandle h = HandleOf(source);
    EXPECT_EQ(DescreenNativeImage(h, kNoProgress), FilterResult::Done);
    EXPECT_EQ(BytesOf(h), expected[3]);
    plat::MemFree(h);
    EXPECT_EQ(FilterNativeImage(nullptr, 3, kNoProgress), FilterResult::Unchanged);
}

}  // namespace
