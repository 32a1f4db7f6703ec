// Loading the TWAIN source manager library (Windows builds only).
#pragma once

#include <string>

#include "common/twain.h"

namespace twainscan {

struct ManagerLibrary {
    void* module = nullptr;
    DSMENTRYPROC entry = nullptr;
};

// The manager library by file name (twain_32.dll or TWAINDSM.dll) from the system search
// path, and its "DSM_Entry".
bool LoadManagerLibrary(ManagerLibrary& library, const std::string& name, std::string& error);
void FreeManagerLibrary(ManagerLibrary& library);

}  // namespace twainscan
