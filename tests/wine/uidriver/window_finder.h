// Finding the data source's windows from outside its process, as a user sees them: the
// scanning window by its controls, its pages by the controls they hold, other windows by
// their titles.
#pragma once

#include <windows.h>

#include <string>

namespace uidriver {

// The visible scanning window (a dialog with the tab strip 1004 and the quick-help 1010).
HWND FindScanningWindow();
// The visible top-level window whose title is exactly `title`.
HWND FindTitled(const std::string& title);
// A control named "<window>:<id>": main (the scanning window), page (the Main page), about
// (the About page), or a top-level window's title in brackets, e.g. "[Language Selection]:73".
HWND FindControl(const std::string& path, std::string& error);
std::string WindowText(HWND window);
// The preview frame ("ParentClass") and its children by class ("PreviewClass", "ToolBarClass",
// "ScanLengthClass"); the frame itself for an empty class.
HWND FindPreviewPart(const std::string& childClass);

}  // namespace uidriver
