// The modal "LANGUAGEDLG": the languages the edition offers; a choice applies at once, OK
// writes it to the profile.
#pragma once

#include <windows.h>

// True on OK; on Cancel or close the caller restores the language it had.
bool RunLanguageDialog(HWND owner);
