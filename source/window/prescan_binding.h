// The main window's side of a prescan: the prescan library loaded by path for one call to
// PreScan_Image and freed again, as the Prescan button does it.
#pragma once

#include <cstdint>
#include <string>

#include "common/prescan_api.h"
#include "platform/platform.h"

// What the main window hands over (the rest of the call's arguments are unused by the
// library and passed as nothing).
struct PrescanArguments {
    plat::WindowHandle owner = nullptr;
    uint32_t sourceWord = 0;  // the speed-and-source word: scan source in the high 16 bits
    uint16_t language = 0;
    uint16_t narrowBed = 0;
    bool highDensity = false;    // the preview's Hi/Low Resolution toggle
    uint32_t besideDensity = 0;  // the value kept beside that flag
    float scanLength = 0.0f;     // the scan-length strip's inches; 0 until it was moved
    PrescanShadingStore* store = nullptr;
    const void* enhancement = nullptr;
    uintptr_t socket = 0;  // the connection to the sharing server, 0 for a local scanner
};

enum class PrescanCallOutcome : uint8_t {
    LibraryMissing,  // not loadable or without PreScan_Image: condition code 5, no message
    Called,          // the library ran; whether it succeeded shows in the bitmap file
};

// Windows directory + "\TWAIN_32\KVTC_A3\PRESCAN.DLL".
std::string PrescanLibraryPath(const std::string& windowsDirectory);

PrescanCallOutcome CallPrescanLibrary(const std::string& windowsDirectory,
                                      const PrescanArguments& arguments, PreScanResult& result);
