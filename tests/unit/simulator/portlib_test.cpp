// The port library through its three exports, loaded like the data source loads it, with its
// configuration in WIN.INI. Built for the host (the shared object) and for Windows (the DLL,
// run under Wine). Each test loads a private copy of the library, so it powers on a device of
// its own with the profile seeded by that test.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>

#include "common/port_library_api.h"
#include "platform/platform.h"
#include "simulator/device/reference.h"
#include "simulator_tests/portlib_path.h"  // generated: the library's path in this tree
#include "tests/unit/simulator/sim_fixture.h"
#ifndef _WIN32
#include "platform/host/host_control.h"
#endif

namespace {

using Keys = std::map<std::string, std::string>;

struct PortLibrary {
    plat::LibHandle handle = nullptr;
    AddrChkProc addrChk = nullptr;
    SpiCallProc spiCall = nullptr;
    BufAddrProc bufAddr = nullptr;
    ~PortLibrary() { plat::LibraryFree(handle); }
};

class PortLibraryTest : public testing::Test {
protected:
    void SetUp() override {
#ifndef _WIN32
        plat::host::Reset();
        plat::host::SetWindowsDirectory(scratch_.path());
        plat::host::SetTempDirectory(scratch_.Subdirectory("temp"));
#endif
    }

    // Seeds the section, then loads a fresh copy of the library.
    bool Load(const Keys& keys, PortLibrary& lib) {
        plat::WriteProfileString(kSimulatorSection, nullptr, nullptr);
        for (const auto& [key, value] : keys)
            plat::WriteProfileString(kSimulatorSection, key.c_str(), value.c_str());
        static std::atomic<int> copies{0};
        char temp[260] = {};
        if (plat::TempPath(temp, sizeof temp) == 0) return false;
        const std::string copy = std::string(temp) + "qaspi_copy" + std::to_string(++copies) +
                                 std::filesystem::path(KV_QASPI_SP_PATH).extension().string();
        std::filesystem::copy_file(KV_QASPI_SP_PATH, copy,
                                   std::filesystem::copy_options::overwrite_existing);
        lib.handle = plat::LibraryLoad(copy.c_str());
        if (!lib.handle) return false;
        lib.addrChk = reinterpret_cast<AddrChkProc>(plat::LibrarySymbol(lib.handle, kAddrChkName));
        lib.spiCall = reinterpret_cast<SpiCallProc>(plat::LibrarySymbol(lib.handle, kSpiCallName));
        lib.bufAddr = reinterpret_cast<BufAddrProc>(plat::LibrarySymbol(lib.handle, kBufAddrName));
        return lib.addrChk && lib.spiCall && lib.bufAddr;
    }

    static ScanCaller CallerFor(const PortLibrary& lib, uint32_t handle) {
        ScanCaller c;
        c.issue = [&lib, handle](void* block, uint32_t code) { lib.spiCall(block, handle, code); };
        c.divide = [&lib](void* area, uint32_t bytes, ScanBufferEntry* table, uint32_t unit) {
            return lib.bufAddr(area, bytes, table, unit);
        };
        return c;
    }

#ifndef _WIN32
    plat::host::ScratchDirectory scratch_;
#endif
};

TEST_F(PortLibraryTest, CallingOrderDeliversTheReferenceImage) {
    const Keys keys = {{"Model", "800"}, {"Bed", "narrow"}, {"WarmupPolls", "3"}};
    PortLibrary lib;
    ASSERT_TRUE(Load(keys, lib));
    const uint32_t handle = lib.addrChk();
    ASSERT_NE(handle, 0u);
    ScanCaller caller = CallerFor(lib, handle);
    const SimulatorConfig config = ConfigFrom(keys);
    for (uint8_t mode : {kColourTypeLineArt, kColourTypeGray, kColourTypeColour, kColourTypeColour36}) {
        const ScanWindow w = WindowInches(config.profile, 0.2, 2.3, 8.3, 7.2, 150, mode);
        ASSERT_TRUE(RunScan(caller, w)) << int(mode) << ": code " << caller.failedCode
                                        << " status " << caller.failedStatus;
        ReferenceImage ref;
        std::string error;
        ASSERT_TRUE(RenderScannerLines(config, {w, nullptr}, ShadingUse::Correct, ref, error));
        EXPECT_EQ(caller.lines, ref.lines);
        EXPECT_EQ(caller.bytesPerLine, ref.bytesPerLine);
        EXPECT_TRUE(caller.image == ref.data) << "mode " << int(mode);
    }
}

TEST_F(PortLibraryTest, PrescanOfTheBedMatchesTheReference) {
    PortLibrary lib;
    ASSERT_TRUE(Load({}, lib));
    ScanCaller caller = CallerFor(lib, 0);  // the prescan library passes handle 0
    caller.prescanReading = true;
    ScanWindow w = WindowInches(ScannerProfile{}, 0, 0, 11.7, 17, 60, kColourTypeColour);
    w.fromDataSource = false;
    ASSERT_TRUE(RunScan(caller, w));
    EXPECT_EQ(caller.lines, 1020);
    ReferenceImage ref;
    std::string error;
    ASSERT_TRUE(RenderScannerLines(SimulatorConfig{}, {w, nullptr}, ShadingUse::Correct, ref, error));
    EXPECT_TRUE(caller.image == ref.data);
}

TEST_F(PortLibraryTest, FaultsComeFromTheProfileSection) {
    PortLibrary none;
    ASSERT_TRUE(Load({{"Handle", "0"}}, none));
    EXPECT_EQ(none.addrChk(), 0u);

    PortLibrary held;
    ASSERT_TRUE(Load({{"InquiryStatus", "7"}, {"Capability", "0"}}, held));
    InquiryBlock inquiry{};
    held.spiCall(&inquiry, held.addrChk(), ScanRequestInquiry);
    EXPECT_EQ(inquiry.header.status, 7);
    EXPECT_EQ(inquiry.capability, 0);
    EXPECT_EQ(std::memcmp(inquiry.opticalResolution, "1200", 4), 0);
}

TEST_F(PortLibraryTest, ExportsSurviveNonsense) {
    PortLibrary lib;
    ASSERT_TRUE(Load({}, lib));
    lib.spiCall(nullptr, 1, ScanRequestGetStatus);
    GetStatusBlock block{};
    lib.spiCall(&block, 1, 42);
    EXPECT_NE(block.header.status, 0);
    ScanBufferTable table = {};
    EXPECT_EQ(lib.bufAddr(nullptr, 1000, table, 10), 0);
    uint8_t area[64];
    EXPECT_EQ(lib.bufAddr(area, sizeof area, table, 65), 0);
    EXPECT_EQ(lib.bufAddr(area, sizeof area, table, 16), 1);
    const uint8_t* address = table[0].address;  // a packed field: read it by value
    EXPECT_EQ(address, area);
    EXPECT_EQ(table[0].size, 64u);
}

}  // namespace
