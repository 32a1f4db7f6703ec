#include "common/port_library.h"

#include "common/profile_text.h"

std::string PortLibraryName() {
    return ReadProfileText("KVTINFO_A3", "DRIVER", "QASPI_SP.DLL", 255);
}

std::string PortLibraryPath(const std::string& windowsDirectory, const std::string& fileName) {
    return windowsDirectory + "\\TWAIN_32\\KVTC_A3\\" + fileName;
}

bool IsDefaultPortLibrary(const std::string& path) {
    const size_t slash = path.rfind('\\');
    return path.substr(slash == std::string::npos ? 0 : slash + 1) == "QASPI_SP.DLL";
}

bool LoadPortLibrary(const std::string& path, PortLibrary& library) {
    library = PortLibrary{};
    plat::LibHandle module = plat::LibraryLoad(path.c_str());
    if (!module) return false;
    library.module = module;
    library.DefaultPortLibrary = IsDefaultPortLibrary(path);
    library.ADDR_CHK = reinterpret_cast<AddrChkProc>(plat::LibrarySymbol(module, kAddrChkName));
    library.SPI_CALL = reinterpret_cast<SpiCallProc>(plat::LibrarySymbol(module, kSpiCallName));
    library.BUF_ADDR = reinterpret_cast<BufAddrProc>(plat::LibrarySymbol(module, kBufAddrName));
    if (library.ADDR_CHK && library.SPI_CALL && library.BUF_ADDR) return true;
    UnloadPortLibrary(library);
    return false;
}

void UnloadPortLibrary(PortLibrary& library) {
    if (library.module) plat::LibraryFree(library.module);
    library = PortLibrary{};
}
