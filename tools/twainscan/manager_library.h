// Loading the TWAIN source manager library (Windows builds only).
#pragma once

#include <string>

#include "twain.h"

namespace twainscan {

struct ManagerLibrary {
    void* module = nullptr;
    DSMENTRYPROC entry = nullptr;
};

// twain_32.dll from the system search path, and its "DSM_Entry".
bool LoadManagerLibrary(ManagerLibrary& library, std::string& error);
void FreeManagerLibrary(ManagerLibrary& library);

}  // namespace twainscan
