#include "twain/capability_applications.h"

#include <cstring>
#include <string>

#include "session/call_codes.h"
#include "session/interface_language.h"
#include "settings/language.h"
#include "twain/capability_kept.h"
#include "twain/capability_tables.h"
#include "twain/dispatch.h"
#include "twain/negotiation.h"
#include "twain/source_record.h"

namespace {

constexpr size_t kNameLength = sizeof(TW_STR32) - 1;

// Identity strings may arrive without a terminator: never read past the field. A missing
// table string names no application, not the one whose identity is empty.
bool FieldEquals(const TW_STR32& field, const std::string& text) {
    const std::string name(field, strnlen(field, kNameLength));
    return !text.empty() && name == text.substr(0, kNameLength);
}

bool NameIs(const char* text) { return FieldEquals(TheSource.AppIdentity.ProductName, text); }
bool FamilyIs(const char* text) { return FieldEquals(TheSource.AppIdentity.ProductFamily, text); }

// Native transfer is the one these applications must not get.
constexpr const char* kMemoryOnlyApplication = "iPhoto Plus 4";
constexpr const char* kMemoryOnlyFamily = "Adobe PageMaker";
constexpr const char* kMemoryOnlyPlugin = "Acquire Image Plugin";

}  // namespace

bool AppNameIsLanguageString(uint32_t id) {
    return FieldEquals(TheSource.AppIdentity.ProductName, LanguageString(id));
}

bool AppNameIsEnglishString(uint32_t id) {
    return FieldEquals(TheSource.AppIdentity.ProductName, LoadSourceString(id));
}

bool AppUsesReducedCapabilities() { return AppNameIsLanguageString(62); }
bool AppIsBatchPublisher() { return AppNameIsEnglishString(66); }
bool AppAdmitsDeepColour() { return AppNameIsLanguageString(56); }
bool AppIsFaxProgram() { return AppNameIsLanguageString(55) || AppNameIsLanguageString(60); }
bool AppWantsPlainToneTables() { return AppNameIsLanguageString(64); }
bool AppIsColourManager() { return AppNameIsLanguageString(707); }

bool CmykKeepsTableBytes() {
    return AppIsBatchPublisher() && TheKeptCapabilities.PixelFlavorFlag != 0;
}

ApplicationTraits TraitsOfApplication() {
    ApplicationTraits t;
    t.deepColour = AppAdmitsDeepColour();
    t.batchPublisher = AppIsBatchPublisher();
    t.cmyk = t.deepColour || (t.batchPublisher && TheSource.AppIdentity.ProtocolMinor == 5);
    t.fax = AppIsFaxProgram();
    t.office = AppWantsPlainToneTables();
    t.colourManager = AppIsColourManager();
    t.cmykTableBytes = CmykKeepsTableBytes();
    return t;
}

void SetTransferMechanism(int64_t asked) {
    if (NameIs(kMemoryOnlyApplication)) {
        // Memory whatever was asked; asking for native is answered as a refusal.
        TheNegotiation.XferMechIndex = 2;
        if (asked == TWSX_NATIVE) FailCall(TWCC_BADVALUE);
        return;
    }
    if (FamilyIs(kMemoryOnlyFamily)) {
        if (!NameIs(kMemoryOnlyPlugin)) return FailCall(TWCC_BADVALUE);
        TheNegotiation.XferMechIndex = 2;
        return;
    }
    const int index = TableIndexOf(kXferMechTable, asked);
    if (index < 0) return FailCall(TWCC_BADVALUE);
    TheNegotiation.XferMechIndex = static_cast<TW_UINT8>(index);
}
