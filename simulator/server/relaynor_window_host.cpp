#include "simulator/server/relaynor_window.h"

bool OpenRelaynorWindow(std::string& error) {
    error = "--window needs the Windows build";
    return false;
}
