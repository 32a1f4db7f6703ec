#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "tools/twainscan/identity_text.h"

using namespace twainscan;

TEST(TwainscanIdentityText, UnterminatedFieldStopsAtItsEnd) {
    TW_IDENTITY id{};
    std::memset(id.Manufacturer, 'M', sizeof id.Manufacturer);  // no terminating zero
    std::strcpy(id.ProductFamily, "must not show");
    EXPECT_EQ(PrintableTwainText(id.Manufacturer), std::string(34, 'M'));
}

TEST(TwainscanIdentityText, ControlAndNonAsciiBytesAreEscaped) {
    TW_IDENTITY id{};
    std::strcpy(id.Version.Info, "V1.0\nrev\t2\r\\ \xE9\x01");
    EXPECT_EQ(PrintableTwainText(id.Version.Info), "V1.0\\nrev\\t2\\r\\\\ \\xE9\\x01");
}

TEST(TwainscanIdentityText, EveryFieldOnItsOwnLineWhateverTheStringsHold) {
    TW_IDENTITY id{};
    id.Id = 7;
    id.Version.MajorNum = 1;
    id.Version.Language = 13;
    id.Version.Country = 886;
    id.ProtocolMajor = 1;
    id.ProtocolMinor = 5;
    id.SupportedGroups = 3;
    std::strcpy(id.Version.Info, "FW 1.02\nKV\n");
    std::strcpy(id.Manufacturer, "SCANNER");
    std::strcpy(id.ProductFamily, "A3 Flatbed Scanner");
    std::strcpy(id.ProductName, "A3 Flatbed Scanner");

    std::istringstream lines(IdentityLines(id));
    std::vector<std::string> got;
    for (std::string line; std::getline(lines, line);) got.push_back(line);
    const std::vector<std::string> expected = {
        "Id: 7",          "Version: 1.0",        "Language: 13",
        "Country: 886",   "Info: FW 1.02\\nKV\\n", "Protocol: 1.5",
        "SupportedGroups: 3",  "Manufacturer: SCANNER", "ProductFamily: A3 Flatbed Scanner",
        "ProductName: A3 Flatbed Scanner"};
    EXPECT_EQ(got, expected);
}
