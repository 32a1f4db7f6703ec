#include "ui/main_page_lists_view.h"

#include <string>

#include "platform/platform.h"
#include "session/interface_language.h"
#include "settings/settings_store.h"
#include "ui/window_texts.h"
#include "window/scaling_choices.h"
#include "resources/window_ids.h"

namespace {

constexpr int32_t kCustomEntry = 0;  // the "Custom" entry's item data

void AddEntry(HWND list, const std::string& text, int32_t value) {
    const LRESULT at = SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
    if (at >= 0) SendMessageA(list, CB_SETITEMDATA, at, value);
}

// The scaling entries 25, 50 and 75 are numbers in every language; 100 to 600 are strings
// 217-222.
std::string ScalingText(uint16_t value) {
    switch (value) {
    case 100: return UiText(217);
    case 200: return UiText(218);
    case 300: return UiText(219);
    case 400: return UiText(220);
    case 500: return UiText(221);
    case 600: return UiText(222);
    default: return std::to_string(value);
    }
}

// "Custom" is loaded without the language's base: it reads the same in every language.
std::string CustomText() {
    return UiTextWithoutBase(154);
}

bool Colour36(const ScanSettings& s) {
    return s.ScanMode == kModeColor && s.ScanSubMode == kSubMode36Bit;
}

bool Listed(const std::vector<uint16_t>& values, uint16_t v) {
    for (uint16_t x : values)
        if (x == v) return true;
    return false;
}

}  // namespace

void FillList(HWND page, int control, const std::vector<ListEntry>& entries) {
    HWND list = GetDlgItem(page, control);
    SendMessageA(list, CB_RESETCONTENT, 0, 0);
    for (const ListEntry& e : entries) AddEntry(list, UiText(e.text), e.value);
}

bool SelectValue(HWND page, int control, int32_t value) {
    HWND list = GetDlgItem(page, control);
    const LRESULT count = SendMessageA(list, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        if (static_cast<int32_t>(SendMessageA(list, CB_GETITEMDATA, i, 0)) == value) {
            SendMessageA(list, CB_SETCURSEL, i, 0);
            return true;
        }
    }
    return false;
}

int32_t SelectedValue(HWND page, int control, int32_t fallback) {
    HWND list = GetDlgItem(page, control);
    const LRESULT at = SendMessageA(list, CB_GETCURSEL, 0, 0);
    return at < 0 ? fallback : static_cast<int32_t>(SendMessageA(list, CB_GETITEMDATA, at, 0));
}

void RebuildScalingList(HWND page) {
    ScanSettings& s = TheSettings.settings;
    const bool colour36 = Colour36(s);
    const ScalingOffer offer =
        colour36 ? Offered36BitScalings(s.Destination == kDestinationHalftone, s.QualityFactor,
                                        s.ScanRes)
                 : OfferedScalings(s.QualityFactor, s.ScanRes);
    HWND list = GetDlgItem(page, IDC_SCALING);
    SendMessageA(list, CB_RESETCONTENT, 0, 0);
    for (uint16_t v : offer.values) AddEntry(list, ScalingText(v), v);
    if (!colour36) {
        AddEntry(list, CustomText(), kCustomEntry);
        // A custom value the user chose earlier stays listed while it fits.
        if (!Listed(offer.values, s.Scaling) &&
            CustomScalingFits(s.QualityFactor, s.ScanRes, s.Scaling) && offer.enabled)
            AddEntry(list, std::to_string(s.Scaling), s.Scaling);
    }
    EnableWindow(list, offer.enabled);
    if (offer.forceHundred || !offer.enabled || !SelectValue(page, IDC_SCALING, s.Scaling)) {
        s.Scaling = 100;
        SelectValue(page, IDC_SCALING, 100);
    }
}

void RebuildQualityList(HWND page) {
    ScanSettings& s = TheSettings.settings;
    HWND list = GetDlgItem(page, IDC_QUALITY);
    std::vector<uint32_t> tenths;
    bool enabled = s.Destination == kDestinationHalftone;
    if (enabled && Colour36(s)) {
        tenths = Offered36BitQualities(s.Scaling, s.ScanRes);
    } else if (enabled) {
        const QualityOffer offer = OfferedQualities(s.ScanRes);
        tenths = offer.tenths;
        enabled = offer.enabled;
    } else {
        for (const ListEntry& e : QualityFactorEntries()) tenths.push_back(e.value);
    }
    SendMessageA(list, CB_RESETCONTENT, 0, 0);
    for (uint32_t t : tenths) AddEntry(list, UiText(212 + (t - 10) / 5), t);
    const uint32_t kept = KeepIfOffered(tenths, QualityTenths(s.QualityFactor));
    s.QualityFactor = static_cast<int32_t>(kept);
    SelectValue(page, IDC_QUALITY, s.QualityFactor);
    EnableWindow(list, enabled);
}
