// Every image-file test starts from a fresh host backend and source record, with a scratch
// folder for the files it writes.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/host/host_control.h"
#include "platform/platform.h"
#include "twain/source_record.h"

class ImageFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::host::Reset();
        ResetSourceRecord();
        plat::host::SetWindowsDirectory(scratch.Subdirectory("windows"));
        plat::host::SetTempDirectory(scratch.Subdirectory("temp"));
    }
    void TearDown() override { plat::host::Reset(); }

    std::string PathOf(const std::string& name) const { return scratch.path() + "/" + name; }

    static std::vector<uint8_t> ReadBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }

    plat::host::ScratchDirectory scratch;
};
