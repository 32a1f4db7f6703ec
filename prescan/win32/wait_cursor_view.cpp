// The hourglass while the scanner is set up and calibrated, the arrow once it scans. Set
// directly: the caller's window classes may have no cursor of their own to restore.
#include "prescan/win32/prescan_views.h"

void ShowWaitCursorView(bool wait) {
    SetCursor(LoadCursor(nullptr, wait ? IDC_WAIT : IDC_ARROW));
}
