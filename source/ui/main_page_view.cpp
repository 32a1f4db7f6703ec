#include "ui/main_page_view.h"

#include "engine/color_table.h"
#include "link/scanner_link.h"
#include "session/interface_language.h"
#include "session/messages.h"
#include "settings/settings_store.h"
#include "ui/custom_dialogs_view.h"
#include "ui/main_page_lists_view.h"
#include "ui/page_icons_view.h"
#include "ui/preview_window.h"
#include "ui/resolution_box_view.h"
#include "ui/scanning_window.h"
#include "ui/tab_strip_view.h"
#include "ui/window_texts.h"
#include "window/image_size.h"
#include "window/resolution_menu.h"
#include "resources/window_ids.h"

namespace {

HWND Page() { return TheWindow.pages[kPageMain]; }

bool ColourManagementApplication() { return ApplicationIs(707); }

bool Colour36(const ScanSettings& s) {
    return s.ScanMode == kModeColor && s.ScanSubMode == kSubMode36Bit;
}

// What the mode and destination allow: enabled states, the unit label and the menu.
void ApplyControlStates() {
    HWND page = Page();
    ScanSettings& s = TheSettings.settings;
    const MainPageControls c = ControlsFor(s, ColourManagementApplication());
    EnableWindow(GetDlgItem(page, IDC_QUALITY), c.qualityFactorEnabled);
    EnableWindow(GetDlgItem(page, IDC_DESCREEN), c.descreenEnabled && s.ScanSource == 0);
    const bool matching = c.outputMatchingEnabled && s.ScanSource != 2;
    EnableWindow(GetDlgItem(page, IDC_OUTPUT_MATCH), matching);
    if (!matching && s.OutputMatch) {
        s.OutputMatch = 0;
        FreeColorTable(TheColorTable);
    }
    CheckDlgButton(page, IDC_OUTPUT_MATCH, s.OutputMatch ? BST_CHECKED : BST_UNCHECKED);
    SetText(page, IDC_RES_UNIT, UiText(c.resolutionUnitText));
    TheWindow.menuBase = c.resolutionMenu;
    if (TheWindow.main)
        EnableWindow(GetDlgItem(TheWindow.main, IDC_SCAN),
                     c.scanEnabled && IsWindowEnabled(GetDlgItem(TheWindow.main, IDC_CLOSE)));
}

void AfterResolutionChange() {
    HWND page = Page();
    RebuildQualityList(page);
    RebuildScalingList(page);
    InvalidateRect(GetDlgItem(page, IDC_RES_BOX), nullptr, TRUE);
    RunSizeRoutine();
}

void ChooseMode() {
    ScanSettings& s = TheSettings.settings;
    const int index = static_cast<int>(SelectedValue(Page(), IDC_MODE, 3));
    ChooseScanMode(s, index);
    ApplyControlStates();
    AfterResolutionChange();
    RedrawTabStrip();
    RepaintPreview(true, false);
}

// Reflective keeps descreen; film disables it. Negative film inverts, and the filter chosen
// before comes back with the other sources.
void ChooseSource() {
    ScanSettings& s = TheSettings.settings;
    static uint16_t savedFilter = 0;
    const uint8_t before = s.ScanSource;
    const uint8_t source = static_cast<uint8_t>(SelectedValue(Page(), IDC_SOURCE, 0));
    if (source == 2 && before != 2) {
        savedFilter = s.FilterMode;
        s.FilterMode = 1;
    } else if (source != 2 && before == 2) {
        s.FilterMode = source == 1 ? 0 : savedFilter;
    }
    s.ScanSource = source;
    ApplyControlStates();
    RunSizeRoutine();
    RedrawTabStrip();
}

void ChooseDestinationEntry() {
    ScanSettings& s = TheSettings.settings;
    ChooseDestination(s, SelectedValue(Page(), IDC_DEST, kDestinationMonitor));
    ApplyControlStates();
    AfterResolutionChange();
}

// Ticked: the source's colour table must be there; without it the user is told to run the
// calibrator and the box is cleared.
void ToggleOutputMatching() {
    ScanSettings& s = TheSettings.settings;
    const bool ticked = IsDlgButtonChecked(Page(), IDC_OUTPUT_MATCH) == BST_CHECKED;
    if (!ticked) {
        s.OutputMatch = 0;
        FreeColorTable(TheColorTable);
    } else if (LoadColorTableFile(s.ScanSource == 1 ? "corvA3p.tab" : "corvA3.tab") ==
               ColorTableLoad::Refused) {
        ShowInformationMessage(TheWindow.main, 510);
        CheckDlgButton(Page(), IDC_OUTPUT_MATCH, BST_UNCHECKED);
        s.OutputMatch = 0;
    } else {
        s.OutputMatch = 1;
    }
    RedrawTabStrip();
    RepaintPreview(false, true);
}

void ChooseScaling() {
    ScanSettings& s = TheSettings.settings;
    const int32_t value = SelectedValue(Page(), IDC_SCALING, 100);
    if (value == 0) {
        // "Custom": the custom scaling dialog gives the value.
        const uint16_t chosen = AskCustomScalingDialog(s.Scaling);
        s.Scaling = chosen;
        RebuildScalingList(Page());
    } else {
        s.Scaling = static_cast<uint16_t>(value);
    }
    if (Colour36(s)) RebuildQualityList(Page());
    RunSizeRoutine();
}

bool OnListChange(WORD control) {
    ScanSettings& s = TheSettings.settings;
    switch (control) {
    case IDC_MODE: ChooseMode(); return true;
    case IDC_SOURCE: ChooseSource(); return true;
    case IDC_DEST: ChooseDestinationEntry(); return true;
    case IDC_QUALITY:
        s.QualityFactor = SelectedValue(Page(), IDC_QUALITY, 10);
        if (Colour36(s)) RebuildScalingList(Page());
        RunSizeRoutine();
        return true;
    case IDC_DESCREEN: s.DeScreen = SelectedValue(Page(), IDC_DESCREEN, kDescreenNone); return true;
    case IDC_UNITS:
        s.UnitFlag = static_cast<uint16_t>(SelectedValue(Page(), IDC_UNITS, 0));
        RunSizeRoutine();
        return true;
    case IDC_SCALING: ChooseScaling(); return true;
    default: return false;
    }
}

bool OnCommand(WORD control, WORD code) {
    if (!TheWindow.interfaceEnabled) return true;
    if (code == CBN_SELCHANGE) return OnListChange(control);
    if (control == IDC_RES_BOX && code == STN_CLICKED) {
        if (OpenResolutionMenu(Page())) AfterResolutionChange();
        return true;
    }
    if (code != BN_CLICKED) return false;
    switch (control) {
    case IDC_OUTPUT_MATCH: ToggleOutputMatching(); return true;
    case IDC_CALIBRATOR: StartCalibrator(); return true;
    case IDC_LANGUAGE: ChooseLanguage(); return true;
    case IDC_SAVER: return true;  // the lamp-saver dialog joins here
    default: return false;
    }
}

}  // namespace

INT_PTR CALLBACK MainPageProcedure(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
        return GrayBackground(reinterpret_cast<HDC>(wParam));
    switch (message) {
    case WM_INITDIALOG: return TRUE;
    case WM_COMMAND: return OnCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlID == IDC_RES_BOX) DrawResolutionBox(*item, false);
        else DrawPageIcon(*item);
        return TRUE;
    }
    default: return FALSE;
    }
}

void SetMainPageTexts() {
    HWND page = Page();
    if (!page) return;
    static const struct { int control; uint32_t text; } kLabels[] = {
        {IDC_MODE_LABEL, 315}, {IDC_SOURCE_LABEL, 322}, {IDC_RES_LABEL, 316},
        {IDC_DEST_LABEL, 323}, {IDC_QUALITY_LABEL, 706}, {IDC_DESCREEN_LABEL, 326},
        {IDC_WIDTH_LABEL, 318}, {IDC_LENGTH_LABEL, 319}, {IDC_SCALING_LABEL, 327},
        {IDC_IMAGE_SIZE_LABEL, 320}, {IDC_OUTPUT_MATCH, 325}};
    for (const auto& l : kLabels) SetText(page, l.control, UiText(l.text));
}

void RefreshMainPage() {
    HWND page = Page();
    if (!page) return;
    ScanSettings& s = TheSettings.settings;
    FillList(page, IDC_MODE, ScanModeEntries());
    FillList(page, IDC_SOURCE, ScanSourceEntries(TheLink.optionInstalled && !TheWindow.feeder));
    FillList(page, IDC_DEST, DestinationEntries());
    FillList(page, IDC_DESCREEN, DescreenEntries());
    FillList(page, IDC_UNITS, UnitEntries());
    SelectValue(page, IDC_MODE, EntryOfScanMode(s.ScanMode, s.ScanSubMode));
    if (!SelectValue(page, IDC_SOURCE, s.ScanSource)) SelectValue(page, IDC_SOURCE, 0);
    SelectValue(page, IDC_DEST, s.Destination);
    SelectValue(page, IDC_DESCREEN, s.DeScreen);
    SelectValue(page, IDC_UNITS, s.UnitFlag);
    ApplyControlStates();
    // The window opens with the model's own menu; later changes pick by destination and mode.
    if (s.Destination != kDestinationHalftone && !Colour36(s))
        TheWindow.menuBase = OpeningMenu(TheLink.opticalResolution);
    AfterResolutionChange();
    EnableWindow(GetDlgItem(page, IDC_CALIBRATOR), CalibratorAvailable());
    InvalidateRect(page, nullptr, TRUE);
}

void RunSizeRoutine() {
    HWND page = Page();
    if (!page) return;
    ImageSize size;
    if (!ComputeImageSize(TheSettings.settings, TheWindow.size, TheWindow.region, TheWindow.client,
                          size))
        return;
    TheWindow.shown = size;
    SetText(page, IDC_WIDTH, size.width);
    SetText(page, IDC_LENGTH, size.length);
    SetText(page, IDC_IMAGE_SIZE, size.kilobytes);
}
