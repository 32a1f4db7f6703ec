#include "ui/about_page_view.h"

#include <cstring>

#include "common/product_version.h"
#include "common/profile_text.h"
#include "platform/win32/win32_module.h"
#include "session/interface_language.h"
#include "twain/source_record.h"
#include "ui/bitmap_drawing.h"
#include "ui/scanning_window.h"
#include "ui/window_texts.h"
#include "window/main_window_model.h"
#include "resources/window_ids.h"

namespace {

std::string Brand() { return FromProfile(ReadProfileText("KVTINFO_A3", "BRAND", "SCANNER", 255)); }

// The firmware revision: the four characters after the leading "1" of the identification.
std::string Firmware() {
    const char* info = TheSource.SourceIdentity.Version.Info;
    const size_t length = strnlen(info, sizeof TheSource.SourceIdentity.Version.Info);
    return length > 1 ? std::string(info + 1, std::min<size_t>(4, length - 1)) : std::string();
}

void DrawPicture(const DRAWITEMSTRUCT& item) {
    RECT r = item.rcItem;
    DrawBitmapStretched(item.hDC, r, BrandIsSolenne(Brand()) ? "IDB_ABOUT_BRAND" : "IDB_ABOUT_NOBRAND");
    DrawEdge(item.hDC, &r, EDGE_RAISED, BF_RECT);
}

}  // namespace

INT_PTR CALLBACK AboutPageProcedure(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
        return GrayBackground(reinterpret_cast<HDC>(wParam));
    switch (message) {
    case WM_INITDIALOG: return TRUE;
    case WM_DRAWITEM: DrawPicture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
    case WM_SETCURSOR: SetCursor(LoadCursor(nullptr, IDC_ARROW)); return TRUE;
    default: return FALSE;
    }
}

void SetAboutPageTexts() {
    HWND page = TheWindow.pages[kPageAbout];
    if (!page) return;
    AboutFacts f;
    f.brand = Brand();
    f.modelName = FromProfile(ReadProfileText("KVTINFO_A3", "1200", "A3 Flatbed Scanner", 255));
    f.swVersion = FromProfile(ReadProfileText("KVTINFO_A3", "SWVERSION", KV_VERSION_INFO, 255));
    f.firmware = Firmware();
    f.twainWord = UiText(5);
    f.firmwareWord = UiText(6);
    f.makerName = UiText(7);
    const AboutTexts t = AboutPageTexts(f);
    SetText(page, IDC_ABOUT_MODEL, t.model);
    SetText(page, IDC_ABOUT_VERSION, t.version);
    SetText(page, IDC_ABOUT_FIRMWARE, t.firmware);
    SetText(page, IDC_ABOUT_MAKER, t.maker);
}
