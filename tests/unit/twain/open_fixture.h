// A source whose port library is a fresh copy of the scanner simulator, configured through
// its WIN.INI section, with the window hooks recorded.
#pragma once

#include <string>
#include <vector>

#include "common/twain.h"
#include "tests/unit/twain/source_fixture.h"

class OpenTest : public SourceTest {
public:
    static std::vector<std::string> dialogEvents;  // "open 60", "close"

protected:
    void SetUp() override;
    void TearDown() override;

    // One key of the simulator's "Scanner Simulator" section.
    void Simulate(const char* key, const std::string& value);
    // Installs the simulator under this file name in the driver directory.
    void InstallPortLibrary(const std::string& fileName = "QASPI_SP.DLL");

    TW_UINT16 Open();   // MSG_OPENDS from `app`; the identity lands in `opened`
    TW_UINT16 Close();  // MSG_CLOSEDS from `app`

    std::vector<std::string> MessageCaptions() const;
    std::vector<std::string> MessageTexts() const;

    TW_IDENTITY app{};
    TW_IDENTITY opened{};
};
