#include "twain/identity.h"

#include <cstring>
#include <string>

#include "common/ascii_text.h"
#include "common/product_version.h"
#include "platform/platform.h"

namespace {

constexpr const char* kSection = "KVTINFO_A3";

std::string ReadProfile(const char* key, const char* def, uint32_t readChars) {
    std::string value(readChars + 1, '\0');
    uint32_t n = plat::GetProfileString(kSection, key, def, value.data(), readChars + 1);
    value.resize(n);
    return value;
}

}  // namespace

void CopyTwainString(char (&field)[34], const char* text) {
    std::memset(field, 0, sizeof field);
    std::strncpy(field, text, sizeof field - 1);
}

void FillSourceIdentity(TW_IDENTITY& identity) {
    identity = TW_IDENTITY{};
    identity.Version.MajorNum = KV_VERSION_MAJOR;
    identity.Version.MinorNum = KV_VERSION_MINOR;
    identity.Version.Language = TWLG_USA;
    identity.Version.Country = TWCY_TAIWAN;
    identity.ProtocolMajor = 1;
    identity.ProtocolMinor = 5;
    identity.SupportedGroups = DG_CONTROL | DG_IMAGE;

    const std::string brand = ReadProfile("BRAND", "SCANNER", 255);
    const std::string model = ReadProfile("1200", "A3 Flatbed Scanner", 129);
    const std::string version = ReadProfile("SWVERSION", KV_VERSION_INFO, 129);

    // One brand puts its own name in front of the model text, spelled as the profile has it.
    std::string product;
    if (EqualsIgnoreCase(brand.c_str(), "Solenne")) product = brand + " ";
    product += model;

    CopyTwainString(identity.Manufacturer, brand.c_str());
    CopyTwainString(identity.ProductFamily, product.c_str());
    CopyTwainString(identity.ProductName, product.c_str());
    CopyTwainString(identity.Version.Info, version.c_str());
}
