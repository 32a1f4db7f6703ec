// Every platform test starts from a fresh host backend with its own Windows and temporary
// directories.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/host/host_control.h"
#include "platform/platform.h"

class PlatformTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::host::Reset();
        windowsDir = scratch.Subdirectory("windows");
        tempDir = scratch.Subdirectory("temp");
        plat::host::SetWindowsDirectory(windowsDir);
        plat::host::SetTempDirectory(tempDir);
    }
    void TearDown() override { plat::host::Reset(); }

    void WriteWinIni(const std::string& text) { scratch.WriteFile("windows/win.ini", text); }
    std::string WinIni() const { return scratch.ReadFile("windows/win.ini"); }

    plat::host::ScratchDirectory scratch;
    std::string windowsDir;
    std::string tempDir;
};
