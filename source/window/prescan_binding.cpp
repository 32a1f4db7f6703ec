#include "window/prescan_binding.h"

std::string PrescanLibraryPath(const std::string& windowsDirectory) {
    return windowsDirectory + kPrescanLibraryPath;
}

PrescanCallOutcome CallPrescanLibrary(const std::string& windowsDirectory,
                                      const PrescanArguments& a, PreScanResult& result) {
    result = PreScanResult{};
    plat::LibHandle library = plat::LibraryLoad(PrescanLibraryPath(windowsDirectory).c_str());
    if (!library) return PrescanCallOutcome::LibraryMissing;
    auto entry = reinterpret_cast<PreScanImageProc>(plat::LibrarySymbol(library, kPreScanImageName));
    if (!entry) {
        plat::LibraryFree(library);
        return PrescanCallOutcome::LibraryMissing;
    }
    result = entry(a.owner, nullptr, a.sourceWord, nullptr, nullptr, a.language, a.narrowBed,
                   a.highDensity ? 1 : 0, a.besideDensity, a.scanLength, a.store,
                   const_cast<void*>(a.enhancement), a.socket);
    plat::LibraryFree(library);
    return PrescanCallOutcome::Called;
}
