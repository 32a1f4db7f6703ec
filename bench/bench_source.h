// What the benchmarks that drive the whole source share: a fresh Windows folder holding a copy
// of the simulated scanner's port library, and the source initialised on it, as the source
// manager would load it.
#pragma once

#include <cstring>
#include <filesystem>

#include "common/twain.h"
#include "platform/host/host_control.h"
#include "twain/initialise.h"

// Points the host platform at `windows`, installs the simulator there and initialises the
// source; `app` becomes an application identity of this product name.
inline void PrepareBenchSource(const plat::host::ScratchDirectory& windows, const char* product,
                               TW_IDENTITY& app) {
    plat::host::Reset();
    plat::host::SetWindowsDirectory(windows.path());
    plat::host::SetTempDirectory(windows.Subdirectory("temp"));
    const auto dir = std::filesystem::path(windows.Subdirectory("TWAIN_32/KVTC_A3"));
    std::filesystem::copy_file(KV_SIMULATOR_PORTLIB, dir / "QASPI_SP.DLL",
                               std::filesystem::copy_options::overwrite_existing);
    InitialiseSource();
    app = TW_IDENTITY{};
    app.Id = 11;
    app.ProtocolMajor = 1;
    app.ProtocolMinor = 9;
    std::strncpy(app.ProductName, product, sizeof app.ProductName - 1);
}
