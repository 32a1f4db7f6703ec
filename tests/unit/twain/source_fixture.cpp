#include "tests/unit/twain/source_fixture.h"

#include <unistd.h>

#include "platform/host/host_control.h"
#include "platform/platform.h"
#include "twain/source_record.h"

void SourceTest::SetUp() {
    plat::host::Reset();
    windowsDir = std::filesystem::temp_directory_path() /
                 ("kvtc_unit_" + std::to_string(getpid()) + "_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(windowsDir);
    std::filesystem::create_directories(windowsDir / "temp");
    plat::host::SetWindowsDirectory(windowsDir.string());
    plat::host::SetTempDirectory((windowsDir / "temp").string());
    ResetSourceRecord();
}

void SourceTest::TearDown() { std::filesystem::remove_all(windowsDir); }

void SourceTest::SetProfile(const char* section, const char* key, const std::string& value) {
    ASSERT_TRUE(plat::WriteProfileString(section, key, value.c_str()));
}
