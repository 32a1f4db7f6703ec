// Reading the prescan library's bitmap: a file any BMP writer would make is read as it lies;
// a file whose headers disagree with each other or with its length is refused whole.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/host/host_control.h"
#include "tests/unit/preview_image/test_images.h"
#include "window/preview_image.h"

namespace {

Rgb Pattern(uint32_t x, uint32_t y) { return {uint8_t(10 * x + y), uint8_t(100 + y), uint8_t(x)}; }

class PrescanFile : public ::testing::Test {
protected:
    void SetUp() override { plat::host::Reset(); }
    void TearDown() override {
        FreePreviewImage(preview);
        EXPECT_EQ(plat::host::LiveBlocks(), 0u);
    }
    PrescanRead Read(const std::vector<uint8_t>& bytes) {
        const std::string path = scratch.path() + "/PVWC0000.BMP";
        WriteBytes(path, bytes);
        return LoadPreviewImage(path.c_str(), preview);
    }

    plat::host::ScratchDirectory scratch;
    PreviewImage preview;
};

TEST_F(PrescanFile, ReadsTheRowsAsStoredWithPaddingAndKeepsAWorkingCopy) {
    const std::vector<uint8_t> file = BmpFile(5, 3, Pattern);  // a byte of padding per row
    ASSERT_EQ(Read(file), PrescanRead::Read);
    EXPECT_EQ(preview.asRead.width, 5u);
    EXPECT_EQ(preview.asRead.height, 3u);
    for (uint32_t y = 0; y < 3; ++y)
        for (uint32_t x = 0; x < 5; ++x) {
            EXPECT_EQ(ReadPixel(preview.asRead, x, y), Pattern(x, y));
            EXPECT_EQ(ReadPixel(preview.working, x, y), Pattern(x, y));
        }
    // Header and rows in one block, exactly as the file holds them after its 14 bytes.
    const void* block = plat::MemLock(preview.asRead.block);
    EXPECT_EQ(std::memcmp(block, file.data() + 14, file.size() - 14), 0);
    plat::MemUnlock(preview.asRead.block);
    EXPECT_TRUE(preview.render.newImage);
}

TEST_F(PrescanFile, RefusesEveryDisagreementBeforeAskingForMemory) {
    const std::vector<uint8_t> good = BmpFile(7, 4, Pattern);  // 24 bytes per row
    using Spoil = void (*)(std::vector<uint8_t>&);
    const std::pair<const char*, Spoil> cases[] = {
        {"not BM", [](auto& f) { f[1] = 'A'; }},
        {"one byte short", [](auto& f) { f.pop_back(); }},
        {"one byte long", [](auto& f) { f.push_back(0); }},
        {"only the headers", [](auto& f) { f.resize(54); }},
        {"size field beyond the file", [](auto& f) { Put32(f, 2, uint32_t(f.size()) + 96); }},
        {"pixels elsewhere", [](auto& f) { Put32(f, 10, 58); }},
        {"core header", [](auto& f) { Put32(f, 14, 12); }},
        {"8 bits", [](auto& f) { Put16(f, 28, 8); }},
        {"two planes", [](auto& f) { Put16(f, 26, 2); }},
        {"RLE compression", [](auto& f) { Put32(f, 30, 1); }},
        {"a colour table", [](auto& f) { Put32(f, 46, 16); }},
        {"image size field lying", [](auto& f) { Put32(f, 34, 92); }},
        {"top-down", [](auto& f) { Put32(f, 22, uint32_t(-4)); }},
        {"longer rows", [](auto& f) { Put32(f, 18, 9); }},  // 8 would still fit 24 bytes
        {"more rows", [](auto& f) { Put32(f, 22, 5); }},
        {"absurdly wide, sizes agreeing", [](auto& f) {
             const uint32_t stride = (3 * 4097 + 3) / 4 * 4;
             f.resize(54 + stride);
             Put32(f, 2, 54 + stride), Put32(f, 18, 4097), Put32(f, 22, 1), Put32(f, 34, stride);
         }},
        {"row bytes beyond 32 bits", [](auto& f) { Put32(f, 18, 0x40000001); }},
    };
    plat::host::FailAllocationAt(1);  // a case that asked for memory would say so
    for (const auto& [what, spoil] : cases) {
        std::vector<uint8_t> file = good;
        spoil(file);
        EXPECT_EQ(Read(file), PrescanRead::Malformed) << what;
        EXPECT_TRUE(preview.asRead.Empty()) << what;
    }
    plat::host::FailAllocationAt(0);
}

TEST_F(PrescanFile, AMissingFileLeavesNoImageButShortMemoryKeepsThePreviousOne) {
    ASSERT_EQ(Read(BmpFile(4, 4, Pattern)), PrescanRead::Read);
    for (unsigned failing : {1u, 2u}) {  // the image, then its working copy
        plat::host::FailAllocationAt(failing);
        EXPECT_EQ(Read(BmpFile(6, 2, Pattern)), PrescanRead::OutOfMemory);
        EXPECT_EQ(preview.asRead.width, 4u);
        EXPECT_EQ(preview.working.width, 4u);
    }
    EXPECT_EQ(LoadPreviewImage((scratch.path() + "/absent.bmp").c_str(), preview),
              PrescanRead::NoFile);
    EXPECT_TRUE(preview.asRead.Empty());
    EXPECT_TRUE(preview.working.Empty());
}

}  // namespace
