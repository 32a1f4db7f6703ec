#include "source_harness.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "color_table.h"
#include "capability_tables.h"
#include "ds_entry.h"
#include "host_control.h"
#include "initialise.h"
#include "negotiation.h"
#include "source_record.h"
#include "ui_hooks.h"

namespace fs = std::filesystem;

namespace {

void* FakeWindow() {
    static int window;
    return &window;
}

[[noreturn]] void Finding(const char* what, size_t n) {
    std::fprintf(stderr, "==FUZZ HARNESS== %s (%zu)\n", what, n);
    std::fflush(stderr);
    std::abort();
}

double Inches(const TW_FIX32& v) { return v.Whole + v.Frac / 65536.0; }

// A run that ends in a finding aborts without destructors; the folders of runs whose process
// is gone are removed by the next run. Folder names carry the process id.
constexpr const char* kFolderPrefix = "kvtc-fuzz-";

void RemoveStaleFolders() {
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(fs::temp_directory_path(), ec)) {
        const std::string name = e.path().filename().string();
        if (name.rfind(kFolderPrefix, 0) != 0) continue;
        const long pid = std::strtol(name.c_str() + std::strlen(kFolderPrefix), nullptr, 10);
        if (pid > 0 && kill(pid_t(pid), 0) != 0 && errno == ESRCH) fs::remove_all(e.path(), ec);
    }
}

void CopyTables(const fs::path& windowsDir) {
    const fs::path tables = fs::path(KV_TABLES_DIR) / "TWAIN_32";
    fs::copy(tables, windowsDir / "TWAIN_32",
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

}  // namespace

SourceHarness::SourceHarness(const std::string& portLibrary,
                             const std::vector<std::string>& libraryNames) {
    RemoveStaleFolders();
    std::string pattern = (fs::temp_directory_path() /
                           (kFolderPrefix + std::to_string(getpid()) + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data())) Finding("cannot create the Windows directory", 0);
    windowsDir_ = pattern;
    CopyTables(windowsDir_);
    const fs::path driver = fs::path(windowsDir_) / "TWAIN_32" / "KVTC_A3";
    fs::create_directories(driver);
    // A link, not a copy: the loader sees one file, and unloading at close powers the
    // scanner off, so every input starts with a scanner just switched on.
    for (const std::string& name : libraryNames) fs::create_symlink(portLibrary, driver / name);
}

SourceHarness::~SourceHarness() {
    std::error_code ignored;
    fs::remove_all(windowsDir_, ignored);
}

void SourceHarness::Begin(const std::string& winIni) {
    plat::host::Reset();
    plat::host::SetTickStep(1);  // polling loops on the clock end even without a sleep
    std::error_code ignored;
    fs::remove_all(windowsDir_ + "/temp", ignored);
    fs::remove_all(FilesDir(), ignored);
    fs::create_directories(windowsDir_ + "/temp");
    fs::create_directories(FilesDir());
    plat::host::SetWindowsDirectory(windowsDir_);
    plat::host::SetTempDirectory(windowsDir_ + "/temp");
    std::ofstream(plat::host::WinIniPath(), std::ios::binary | std::ios::trunc) << winIni;

    ResetSourceRecord();
    TheUi = UiHooks{};
    TheUi.CreateScanningWindow = FakeWindow;
    ResetFileFormatTable();
    InitialiseSource();

    app = TW_IDENTITY{};
    app.Id = 11;
    app.ProtocolMajor = 1;
    app.ProtocolMinor = 9;
    std::strcpy(app.ProductName, "Fuzz Application");
    owned_.clear();
    received_.clear();
}

void SourceHarness::End() {
    if (std::getenv("KV_FUZZ_TRACE"))
        for (const auto& box : plat::host::MessageBoxes())
            std::fprintf(stderr, "message box: %s: %s\n", box.caption.c_str(), box.text.c_str());
    if (TheSource.SourceState >= 400) Close();
    if (TheSource.SourceState >= 400) Finding("the source stays open after MSG_CLOSEDS", 0);
    // The colour table is the source's for the life of the process.
    const size_t kept = TheColorTable.block ? 1 : 0;
    for (plat::MemHandle h : received_)
        if (std::find(owned_.begin(), owned_.end(), h) == owned_.end()) plat::MemFree(h);
    for (plat::MemHandle h : owned_)
        if (!plat::MemFree(h)) Finding("the source freed a block the application owns", 0);
    if (plat::host::LiveBlocks() != kept)
        Finding("memory blocks left after MSG_CLOSEDS", plat::host::LiveBlocks() - kept);
    FreeColorTable(TheColorTable);
    owned_.clear();
    received_.clear();
}

TW_UINT16 SourceHarness::Call(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data) {
    const TW_UINT16 rc = DS_Entry(&app, dg, dat, msg, data);
    // KV_FUZZ_TRACE=1 prints every call of an input run by hand, for triage.
    static const bool trace = std::getenv("KV_FUZZ_TRACE") != nullptr;
    if (trace)
        std::fprintf(stderr, "call dg=%u dat=0x%04x msg=0x%04x -> rc=%u cc=%u state=%u\n", dg, dat,
                     msg, rc, TheSource.SourceConditionCode, TheSource.SourceState);
    return rc;
}

TW_UINT16 SourceHarness::Open() {
    TW_IDENTITY opened = TheSource.SourceIdentity;
    opened.Id = 42;  // as the source manager assigns it
    return Call(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &opened);
}

TW_UINT16 SourceHarness::Close() { return Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, nullptr); }

TW_UINT16 SourceHarness::State() const { return TheSource.SourceState; }

plat::MemHandle SourceHarness::AppAlloc(size_t bytes) {
    plat::MemHandle h = plat::MemAlloc(bytes);
    if (h) owned_.push_back(h);
    return h;
}

void SourceHarness::Receive(plat::MemHandle handle) {
    if (handle && plat::MemSize(handle) != 0) received_.push_back(handle);
}

bool SourceHarness::ScanWithinBudget() const {
    constexpr double kBudgetPixels = 300000;
    static const double kResolutions[] = {75, 100, 150, 200, 300, 400, 500, 600};
    const TW_FRAME& f = TheNegotiation.CurrentLayout.Frame;
    double width = 8.5, height = 11.7;  // the whole page when no frame is set
    if (f.Right.Whole != 0 && f.Bottom.Whole != 0) {
        width = std::abs(Inches(f.Right) - Inches(f.Left));
        height = std::abs(Inches(f.Bottom) - Inches(f.Top));
    }
    const uint8_t index = TheNegotiation.ResolutionIndex;
    const double dpi = index < 8 ? kResolutions[index] : 300;
    return width * dpi * height * dpi <= kBudgetPixels;
}

std::string SimulatorIni(const std::string& model, bool transparency, bool feeder) {
    return "[Scanner Simulator]\nModel=" + model + "\nTransparency=" + (transparency ? "1" : "0") +
           "\nFeeder=" + (feeder ? "1" : "0") + "\nFeederPages=2\n";
}
