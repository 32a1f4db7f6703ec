#include "tests/fuzz/source_harness.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "engine/color_adjust.h"
#include "engine/color_table.h"
#include "engine/scan_job_state.h"
#include "engine/shading.h"
#include "link/request_blocks_in_use.h"
#include "platform/host/host_control.h"
#include "session/call_codes.h"
#include "session/ui_hooks.h"
#include "simulator/portlib/power_switch.h"
#include "twain/capability_kept.h"
#include "twain/capability_tables.h"
#include "twain/ds_entry.h"
#include "twain/initialise.h"
#include "twain/negotiation.h"
#include "twain/source_record.h"

namespace fs = std::filesystem;

namespace {

void* FakeWindow() {
    static int window;
    return &window;
}

// What the loaded library keeps from one open to the next (the calibration it may re-send,
// the pixel flavour, the last job, the request blocks and their replies) starts as at
// process attach: otherwise an input's requests, and so which reply bytes each one takes,
// depend on the inputs run before it, and a campaign's findings do not reproduce alone.
void ForgetWhatTheLibraryKept() {
    TheShadingStore = ShadingStore{};
    TheKeptCapabilities = KeptCapabilityRecord{};
    TheScanJob = ScanJobState{};
    TheRequests = SourceRequestBlocks{};
    ResetToneColourState();
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

// Empties the folder (creating it when absent): fewer system calls than removing it and
// creating it again, for every input.
void EmptyFolder(const fs::path& dir) {
    std::error_code ec;
    std::vector<fs::path> entries;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        entries.push_back(it->path());
    if (ec) return void(fs::create_directories(dir, ec));
    for (const fs::path& entry : entries) fs::remove_all(entry, ec);
}

// WIN.INI for the input: plain descriptor writes, several times cheaper than a stream.
void WriteWinIni(const std::string& path, const std::string& text) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) Finding("cannot write WIN.INI", 0);
    for (size_t done = 0; done < text.size();) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n <= 0 && errno != EINTR) Finding("cannot write WIN.INI", done);
        if (n > 0) done += size_t(n);
    }
    close(fd);
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
    // A link, not a copy: the loader sees one file, the library this harness holds.
    for (const std::string& name : libraryNames) fs::create_symlink(portLibrary, driver / name);
    // Loading the library (and its sanitizer and relocation work) for every input would cost
    // more than the input itself. Held here, the source's load and unload at open and close
    // only count references; Begin switches the scanner off instead, so every input still
    // starts with a scanner just switched on.
    library_ = dlopen(portLibrary.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library_) Finding(dlerror(), 0);
    powerOff_ = reinterpret_cast<SimPowerOffProc>(dlsym(library_, kSimPowerOffName));
    if (!powerOff_) Finding("the port library cannot switch the scanner off", 0);
}

SourceHarness::~SourceHarness() {
    dlclose(library_);
    std::error_code ignored;
    fs::remove_all(windowsDir_, ignored);
}

void SourceHarness::Begin(const std::string& winIni) {
    powerOff_();  // already off after End; this is the guarantee for the input to come
    plat::host::Reset();
    plat::host::SetTickStep(1);  // polling loops on the clock end even without a sleep
    plat::host::SetWindowsDirectory(windowsDir_);
    plat::host::SetTempDirectory(windowsDir_ + "/temp");
    EmptyFolder(windowsDir_ + "/temp");
    EmptyFolder(FilesDir());
    WriteWinIni(plat::host::WinIniPath(), winIni);
    // From here on files change only through the seam, which tells the cache when they do;
    // without it WIN.INI is parsed again for each of the hundreds of keys an input reads.
    plat::host::CacheProfileReads(true);

    ResetSourceRecord();
    ForgetWhatTheLibraryKept();
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
    // Off with the close, as an unloaded library would be: an input ends with what it
    // allocated freed, and libFuzzer's leak check (which re-runs an input whose allocations
    // outnumber its frees) stays quiet.
    powerOff_();
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
    // What Begin would free for the next input goes now: libFuzzer takes an input that ends
    // with more allocations than frees for a possible leak and runs it a second time.
    ResetSourceRecord();
    ForgetWhatTheLibraryKept();
    TheUi = UiHooks{};
    ResetFileFormatTable();
    plat::host::Reset();
}

TW_UINT16 SourceHarness::Call(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data) {
    const TW_UINT16 rc = DS_Entry(&app, dg, dat, msg, data);
    // KV_FUZZ_TRACE=1 prints every call of an input run by hand, for triage.
    static const bool trace = std::getenv("KV_FUZZ_TRACE") != nullptr;
    if (trace)
        std::fprintf(stderr, "call dg=%u dat=0x%04x msg=0x%04x -> rc=%u cc=%u state=%u\n", dg, dat,
                     msg, rc, TheCall.SourceConditionCode, TheSource.SourceState);
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
    const TW_FRAME& f = TheNegotiation.CurrentLayout.Frame;
    double width = 8.5, height = 11.7;  // the whole page when no frame is set
    if (f.Right.Whole != 0 && f.Bottom.Whole != 0) {
        width = std::abs(Inches(f.Right) - Inches(f.Left));
        height = std::abs(Inches(f.Bottom) - Inches(f.Top));
    }
    // The asked resolution, which interpolation reaches from a coarser scan: the pixels
    // delivered, not the pixels scanned.
    const double dpi = CurrentResolution();
    return width * dpi * height * dpi <= kBudgetPixels;
}

std::string SimulatorIni(const std::string& model, bool transparency, bool feeder) {
    return "[Scanner Simulator]\nModel=" + model + "\nTransparency=" + (transparency ? "1" : "0") +
           "\nFeeder=" + (feeder ? "1" : "0") + "\nFeederPages=2\n";
}
