#include "session/messages.h"

#include "common/ascii_text.h"
#include "session/interface_language.h"
#include "session/ui_hooks.h"
#include "settings/profile_fields.h"

namespace {

std::string Brand() { return ReadProfileText("KVTINFO_A3", "BRAND", "SCANNER", 255); }
std::string ModelName() {
    return ReadProfileText("KVTINFO_A3", "1200", "A3 Flatbed Scanner", 255);
}

std::string CaptionStart() {
    std::string brand = Brand();
    if (EqualsIgnoreCase(brand.c_str(), "Solenne")) brand += ' ';
    return brand;
}

std::string SpacedCaption() { return Brand() + " " + ModelName(); }

bool IsCheckList(uint32_t id) { return id == 608 || id == 609; }

}  // namespace

std::string ScannerCaption() { return CaptionStart() + ModelName(); }

void ShowErrorMessage(plat::WindowHandle owner, uint32_t messageId) {
    if (IsCheckList(messageId)) {
        const std::string text = LanguageString(610) + LanguageString(611) +
                                 LanguageString(612) + LanguageString(613);
        const std::string caption = CaptionStart() + LanguageString(messageId);
        plat::MessageBox(owner, text.c_str(), caption.c_str(), plat::kMbOk | plat::kMbIconAsterisk);
    } else {
        plat::MessageBox(owner, LanguageString(messageId).c_str(), ScannerCaption().c_str(),
                         plat::kMbOk | plat::kMbIconHand);
    }
    EnableScanControls();
}

std::string SizeMessageAmount(uint32_t bytes, uint32_t largestInBytes) {
    if (bytes > largestInBytes) return std::to_string(bytes >> 10) + "K";
    return std::to_string(bytes);
}

void ShowSizeMessage(plat::WindowHandle owner, uint32_t freeBytes, uint32_t neededBytes) {
    // The needed amount is a signed count: a negative one is also shown in KiB.
    const std::string needed = static_cast<int32_t>(neededBytes) < 0
                                   ? std::to_string(neededBytes >> 10) + "K"
                                   : SizeMessageAmount(neededBytes, 1024);
    const std::string text = LanguageString(605) + needed + LanguageString(606) +
                             SizeMessageAmount(freeBytes, 1024) + LanguageString(607);
    plat::MessageBox(owner, text.c_str(), SpacedCaption().c_str(),
                     plat::kMbOk | plat::kMbIconAsterisk);
    EnableScanControls();
}

void ShowInformationMessage(plat::WindowHandle owner, uint32_t messageId) {
    plat::MessageBox(owner, LanguageString(messageId).c_str(), LanguageString(406).c_str(),
                     plat::kMbOk | plat::kMbIconAsterisk);
}

void ShowBufferMessage(plat::WindowHandle owner) {
    const std::string text = LanguageString(630) + LanguageString(631) + LanguageString(632);
    plat::MessageBox(owner, text.c_str(), SpacedCaption().c_str(),
                     plat::kMbOk | plat::kMbIconAsterisk);
    EnableScanControls();
}

void ShowPlainMessage(plat::WindowHandle owner, const std::string& text) {
    plat::MessageBox(owner, text.c_str(), ScannerCaption().c_str(), plat::kMbOk);
}
