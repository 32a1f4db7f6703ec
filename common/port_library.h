// Loading the scanner maker's port library and binding its three exports: the data source at
// every open, the prescan library at every prescan.
#pragma once

#include <string>

#include "common/port_library_api.h"
#include "platform/platform.h"

struct PortLibrary {
    plat::LibHandle module = nullptr;
    AddrChkProc ADDR_CHK = nullptr;
    SpiCallProc SPI_CALL = nullptr;
    BufAddrProc BUF_ADDR = nullptr;
    // The standard library (file name exactly "QASPI_SP.DLL"): scanner and shading buffers
    // are sized in whole lines; any other library gets them in whole 128 KiB units.
    bool DefaultPortLibrary = false;
};

// The "DRIVER" value of "KVTINFO_A3" (default "QASPI_SP.DLL"), at most 255 characters.
std::string PortLibraryName();

// Windows directory + "\TWAIN_32\KVTC_A3\" + the library's file name.
std::string PortLibraryPath(const std::string& windowsDirectory, const std::string& fileName);

// The standard library (file name exactly "QASPI_SP.DLL") takes buffers sized to the data;
// any other library gets buffers in whole 128 KiB units.
bool IsDefaultPortLibrary(const std::string& path);

// Loads the library and binds its exports, and says whether it is the standard one. A library
// that cannot be loaded or lacks one of the exports is not kept (it is freed again) and the
// result is false.
bool LoadPortLibrary(const std::string& path, PortLibrary& library);
void UnloadPortLibrary(PortLibrary& library);
