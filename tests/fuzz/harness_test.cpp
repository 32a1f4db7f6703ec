// What makes the source-driving fuzz targets fast must not change what an input sees: each
// input starts with a scanner just powered on with that input's WIN.INI, in empty folders,
// although the port library stays loaded, WIN.INI reads are cached and a power-on reuses the
// sensor model built before.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/scan_job_state.h"
#include "engine/shading.h"
#include "link/request_blocks_in_use.h"
#include "platform/host/host_control.h"
#include "platform/platform.h"
#include "simulator/device/sensor.h"
#include "simulator/portlib/power_switch.h"
#include "tests/fuzz/app_calls.h"
#include "tests/fuzz/source_harness.h"
#include "twain/capability_kept.h"
#include "twain/negotiation.h"

namespace {

std::string Profile(const char* section, const char* key) {
    char out[256];
    plat::GetProfileString(section, key, "<default>", out, sizeof out);
    return out;
}

class ProfileCacheTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::host::Reset();
        plat::host::SetWindowsDirectory(scratch.Subdirectory("windows"));
    }
    void TearDown() override { plat::host::Reset(); }
    // Written behind the seam's back, as the fuzz harness writes WIN.INI.
    void WriteWinIni(const std::string& text) {
        std::ofstream(plat::host::WinIniPath(), std::ios::binary | std::ios::trunc) << text;
    }
    plat::host::ScratchDirectory scratch;
};

TEST_F(ProfileCacheTest, CachedReadsAnswerAsFreshReads) {
    // Keys before any section, a repeated section and key, case, blanks, a key without '=',
    // an empty value, a header with text after ']', CRLF and a byte-order mark.
    WriteWinIni("\xEF\xBB\xBForphan=1\r\n[Alpha]\r\n  Key = one  \r\nkey=shadowed\r\nBare\r\n"
                "Bare=late\r\nEmpty=\r\n[ alpha ]\r\nOther=2\r\n[Beta] trailing\r\nX=y=z\r\n"
                "[Gamma\r\nG=3\r\n");
    const char* sections[] = {"Alpha", "ALPHA", " alpha ", "Beta", "Gamma", "[Gamma", "None"};
    const char* keys[] = {"Key", "KEY", " key ", "Bare", "Empty", "Other", "X", "orphan", "G"};
    std::vector<std::string> fresh;
    for (const char* s : sections)
        for (const char* k : keys) fresh.push_back(Profile(s, k));
    plat::host::CacheProfileReads(true);
    size_t i = 0;
    for (const char* s : sections)
        for (const char* k : keys) EXPECT_EQ(Profile(s, k), fresh[i++]) << s << " / " << k;
}

TEST_F(ProfileCacheTest, ChangesThroughTheSeamAreSeen) {
    WriteWinIni("[S]\nK=old\n");
    plat::host::CacheProfileReads(true);
    ASSERT_EQ(Profile("S", "K"), "old");

    ASSERT_TRUE(plat::WriteProfileString("S", "K", "written"));
    EXPECT_EQ(Profile("S", "K"), "written");

    const std::string path = plat::host::WinIniPath();
    plat::FileHandle f = plat::FileOpen(path.c_str(), plat::FileAccess::ReadWrite);
    ASSERT_NE(f, plat::kNoFile);
    EXPECT_EQ(Profile("S", "K"), "written");  // read between the open and the write
    const std::string text = "[S]\nK=by handle\n";
    ASSERT_EQ(plat::FileWrite(f, text.data(), text.size()), int64_t(text.size()));
    plat::FileClose(f);
    EXPECT_EQ(Profile("S", "K"), "by handle");

    const std::string other = scratch.Subdirectory("windows") + "/other.ini";
    f = plat::FileCreate(other.c_str());
    const std::string moved = "[S]\nK=moved in\n";
    plat::FileWrite(f, moved.data(), moved.size());
    plat::FileClose(f);
    ASSERT_TRUE(plat::FileDelete(path.c_str()));
    EXPECT_EQ(Profile("S", "K"), "<default>");
    ASSERT_TRUE(plat::FileMove(other.c_str(), path.c_str()));
    EXPECT_EQ(Profile("S", "K"), "moved in");

    plat::host::SetWindowsDirectory(scratch.Subdirectory("second"));
    EXPECT_EQ(Profile("S", "K"), "<default>");  // another Windows directory, no WIN.INI
}

TEST_F(ProfileCacheTest, OffAfterResetSoEditsBehindTheSeamAreSeen) {
    WriteWinIni("[S]\nK=old\n");
    plat::host::CacheProfileReads(true);
    ASSERT_EQ(Profile("S", "K"), "old");
    plat::host::Reset();
    plat::host::SetWindowsDirectory(scratch.Subdirectory("windows"));
    WriteWinIni("[S]\nK=new\n");
    EXPECT_EQ(Profile("S", "K"), "new");
}

TEST(SensorMemo, EveryInputOfTheModelIsPartOfWhatIsReused) {
    ScannerProfile base;
    base.opticalResolution = 600;
    SensorModel first;
    BuildSensor(base, 7, first);

    ScannerProfile wider = base;
    wider.opticalResolution = 800;
    SensorModel other;
    BuildSensor(wider, 7, other);
    EXPECT_NE(other.elements, first.elements);
    for (int c = 0; c < 3; ++c) {
        ScannerProfile changed = base;
        changed.calibration[c] = 28665;
        BuildSensor(changed, 7, other);
        EXPECT_NE(other.white[c], first.white[c]) << "channel " << c;
    }
    BuildSensor(base, 8, other);
    EXPECT_NE(other.white[1], first.white[1]);

    // More models than are kept, then the first again: the same model, rebuilt or not.
    for (uint32_t seed = 100; seed < 120; ++seed) BuildSensor(base, seed, other);
    SensorModel again;
    BuildSensor(base, 7, again);
    EXPECT_EQ(again.elements, first.elements);
    for (int c = 0; c < 3; ++c) EXPECT_EQ(again.white[c], first.white[c]);
}

// The port libraries answer ADDR_CHK with the Handle key of the profile at power-on.
class PowerSwitchTest : public ::testing::TestWithParam<const char*> {};

TEST_P(PowerSwitchTest, ScannerReadsTheProfileAgainOnlyAfterPowerOff) {
    plat::host::Reset();
    plat::host::ScratchDirectory scratch;
    plat::host::SetWindowsDirectory(scratch.path());
    auto handleIs = [&](const char* value) {
        scratch.WriteFile("win.ini", std::string("[Scanner Simulator]\nHandle=") + value + "\n");
    };
    void* lib = dlopen(GetParam(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(lib, nullptr) << dlerror();
    auto addrChk = reinterpret_cast<uint32_t (*)()>(dlsym(lib, "ADDR_CHK"));
    auto powerOff = reinterpret_cast<SimPowerOffProc>(dlsym(lib, kSimPowerOffName));
    ASSERT_TRUE(addrChk && powerOff);

    powerOff();
    handleIs("5");
    EXPECT_EQ(addrChk(), 5u);
    handleIs("7");
    EXPECT_EQ(addrChk(), 5u);  // the scanner that is on keeps its configuration
    powerOff();
    EXPECT_EQ(addrChk(), 7u);
    powerOff();
    dlclose(lib);
    plat::host::Reset();
}

INSTANTIATE_TEST_SUITE_P(PortLibraries, PowerSwitchTest,
                         ::testing::Values(KV_SIMULATOR_PORTLIB, KV_HOSTILE_PORTLIB));

// The harness as the fuzz targets use it, one input after another.
class HarnessTest : public ::testing::Test {
protected:
    static SourceHarness& Harness() {
        static SourceHarness harness(KV_SIMULATOR_PORTLIB, {"QASPI_SP.DLL"});
        return harness;
    }
    static std::string Ini(bool answers) {
        return SimulatorIni("600", false, false) + (answers ? "" : "Handle=0\n");
    }
    // One input: open (the scanner answers or not as its WIN.INI says), then close.
    static TW_UINT16 OpenInput(bool answers) {
        SourceHarness& h = Harness();
        h.Begin(Ini(answers));
        const TW_UINT16 rc = h.Open();
        h.End();
        return rc;
    }
};

TEST_F(HarnessTest, EveryInputPowersOnWithItsOwnProfile) {
    EXPECT_EQ(OpenInput(true), TWRC_SUCCESS);
    EXPECT_NE(OpenInput(false), TWRC_SUCCESS);
    EXPECT_EQ(OpenInput(true), TWRC_SUCCESS);
    // The source unloaded the library at close; the harness still holds it.
    void* held = dlopen(KV_SIMULATOR_PORTLIB, RTLD_NOW | RTLD_NOLOAD);
    EXPECT_NE(held, nullptr);
    if (held) dlclose(held);
}

TEST_F(HarnessTest, EveryInputStartsInEmptyFoldersWithItsWinIni) {
    SourceHarness& h = Harness();
    h.Begin(Ini(true));
    const std::string left = h.FilesDir() + "/left.tif";
    plat::FileClose(plat::FileCreate(left.c_str()));
    ASSERT_TRUE(plat::WriteProfileString("Scanner Simulator", "Model", "1200"));
    h.End();

    h.Begin(Ini(true));
    EXPECT_FALSE(std::filesystem::exists(left));
    char model[16];
    plat::GetProfileString("Scanner Simulator", "Model", "", model, sizeof model);
    EXPECT_STREQ(model, "600");
    h.End();
}

// A scan leaves a calibration, a pixel flavour, a job and request replies in the library;
// none of it may reach the next input, whose requests would then differ.
TEST_F(HarnessTest, NothingTheLibraryKeptReachesTheNextInput) {
    SourceHarness& h = Harness();
    h.Begin(Ini(true));
    ASSERT_EQ(h.Open(), TWRC_SUCCESS);
    SetOneValue(h, ICAP_PIXELFLAVOR, TWPF_VANILLA);
    TW_IMAGELAYOUT layout{};
    layout.Frame = {{0, 0}, {0, 0}, {1, 0}, {1, 0}};
    h.Call(DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET, &layout);
    TheNegotiation.ResolutionIndex = 0;
    TW_USERINTERFACE ui{0, 0, nullptr};
    ASSERT_EQ(h.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui), TWRC_SUCCESS);
    EXPECT_EQ(NativeTransfer(h), TWRC_XFERDONE);
    ASSERT_FALSE(TheShadingStore.high.empty());
    ASSERT_TRUE(TheKeptCapabilities.PixelFlavorFlag);
    ASSERT_NE(TheRequests.startScan.lines, 0);
    h.End();

    h.Begin(Ini(true));
    EXPECT_TRUE(TheShadingStore.high.empty());
    EXPECT_FALSE(TheKeptCapabilities.PixelFlavorFlag);
    EXPECT_EQ(TheScanJob.geometry.lines, 0);
    EXPECT_EQ(TheRequests.startScan.lines, 0);
    h.End();
}

}  // namespace
