// Movable memory blocks: handles that are not pointers, lock counts, failure injection.
#include <cstring>

#include "tests/unit/platform/platform_fixture.h"

namespace {

using Memory = PlatformTest;

TEST_F(Memory, BlocksAreZeroFilledAndTheHandleIsNotThePointer) {
    plat::MemHandle h = plat::MemAlloc(1000);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(plat::MemSize(h), 1000u);
    auto* p = static_cast<unsigned char*>(plat::MemLock(h));
    ASSERT_NE(p, nullptr);
    EXPECT_NE(static_cast<void*>(p), h);
    for (size_t i = 0; i < 1000; ++i) ASSERT_EQ(p[i], 0) << i;
    std::memset(p, 0xAB, 1000);
    EXPECT_TRUE(plat::MemUnlock(h));
    // Locking again finds the same bytes.
    EXPECT_EQ(static_cast<unsigned char*>(plat::MemLock(h))[999], 0xAB);
    EXPECT_TRUE(plat::MemUnlock(h));
    EXPECT_TRUE(plat::MemFree(h));
}

TEST_F(Memory, LockCountsNestAndUnlockingAnUnlockedBlockFails) {
    plat::MemHandle h = plat::MemAlloc(16);
    EXPECT_EQ(plat::host::LockCount(h), 0);
    EXPECT_FALSE(plat::MemUnlock(h));
    plat::MemLock(h);
    plat::MemLock(h);
    EXPECT_EQ(plat::host::LockCount(h), 2);
    EXPECT_TRUE(plat::MemUnlock(h));
    EXPECT_TRUE(plat::MemUnlock(h));
    EXPECT_FALSE(plat::MemUnlock(h));
    EXPECT_EQ(plat::host::LockCount(h), 0);
    plat::MemFree(h);
}

TEST_F(Memory, FreedAndUnknownHandlesAreRefused) {
    plat::MemHandle h = plat::MemAlloc(16);
    EXPECT_TRUE(plat::MemFree(h));
    EXPECT_FALSE(plat::MemFree(h));
    EXPECT_EQ(plat::MemLock(h), nullptr);
    EXPECT_EQ(plat::MemSize(h), 0u);
    EXPECT_EQ(plat::host::LockCount(h), -1);
    EXPECT_FALSE(plat::MemFree(nullptr));
    EXPECT_EQ(plat::MemLock(nullptr), nullptr);
    // A freed handle is never handed out again, so a stale copy cannot reach a new block.
    plat::MemHandle next = plat::MemAlloc(16);
    EXPECT_NE(next, h);
    plat::MemFree(next);
}

TEST_F(Memory, EmptyBlockHasAHandleButNothingToLock) {
    plat::MemHandle h = plat::MemAlloc(0);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(plat::MemLock(h), nullptr);
    EXPECT_EQ(plat::MemSize(h), 0u);
    EXPECT_TRUE(plat::MemFree(h));
}

TEST_F(Memory, TheArmedAllocationFailsOnce) {
    plat::host::FailAllocationAt(3);
    plat::MemHandle a = plat::MemAlloc(8);
    plat::MemHandle b = plat::MemAlloc(8);
    plat::MemHandle c = plat::MemAlloc(8);
    plat::MemHandle d = plat::MemAlloc(8);
    EXPECT_NE(a, nullptr);
    EXPECT_NE(b, nullptr);
    EXPECT_EQ(c, nullptr);
    EXPECT_NE(d, nullptr);
    EXPECT_EQ(plat::host::LiveBlocks(), 3u);
    plat::MemFree(a);
    plat::MemFree(b);
    plat::MemFree(d);
    EXPECT_EQ(plat::host::LiveBlocks(), 0u);
}

TEST_F(Memory, AbsurdSizesFailInsteadOfExhaustingTheMachine) {
    EXPECT_EQ(plat::MemAlloc(size_t(1) << 40), nullptr);
}

TEST_F(Memory, ResetFreesEveryLiveBlock) {
    plat::MemAlloc(8);
    plat::MemAlloc(8);
    EXPECT_EQ(plat::host::LiveBlocks(), 2u);
    plat::host::Reset();
    EXPECT_EQ(plat::host::LiveBlocks(), 0u);
}

}  // namespace
