// A fresh process for every test: empty Windows directory, profiles and records as at load.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

class SourceTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes one key of WIN.INI in the test's Windows directory.
    void SetProfile(const char* section, const char* key, const std::string& value);

    std::filesystem::path windowsDir;
};
