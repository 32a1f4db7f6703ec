// prescancall: calls PRESCAN.DLL the way the data source's main window does (loaded by path
// under the Windows directory, one PreScan_Image call, unloaded) and prints what came back:
// the six result words, the bitmap file, the shading store's kept coefficients and the
// library's dialogs that came and went during the call, one key=value line each, then
// "PRESCANCALL OK" (a non-zero result, exit 0), "PRESCANCALL ZERO RESULT" or
// "PRESCANCALL FAILED: reason" (exit 1).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "common/prescan_api.h"
#include "engine/level_correction.h"

namespace {

constexpr const char* kUsage =
    "usage: prescancall [options]\n"
    "  --language N         interface language 0-7 (default 0, English)\n"
    "  --source N           scan source, high 16 bits of the source word: 0 reflective,\n"
    "                       1 positive film, 2 negative film (default 0)\n"
    "  --option-bits N      low 16 bits of the source word (default 0)\n"
    "  --narrow             narrow-bed flag\n"
    "  --high               high-resolution prescan (60 dpi instead of 30)\n"
    "  --length INCHES      prescan length (default 0: the whole bed)\n"
    "  --socket N           connection to the sharing server (default 0: local scanner)\n"
    "  --calibration V[,V,V,V]  the scanner's calibration values, red, green, blue, single\n"
    "                       (default 30624 each); the first three build the conversion tables\n"
    "  --kept N             samples the store's tables hold before the call (default 0)\n"
    "  --force              set the store's force-calibration flag\n"
    "  --no-owner           pass no owner window (default: a hidden top-level window)\n";

struct Options {
    uint16_t language = 0;
    uint16_t source = 0;
    uint16_t optionBits = 0;
    bool narrow = false;
    bool high = false;
    float length = 0.0f;
    uintptr_t socket = 0;
    uint16_t calibration[4] = {30624, 30624, 30624, 30624};
    uint16_t kept = 0;
    bool force = false;
    bool owner = true;
    bool help = false;
};

struct Failure {
    std::string reason;
};

void Print(const std::string& text) {
    std::fputs(text.c_str(), stdout);
    std::fflush(stdout);
}

unsigned long Number(const std::string& text, unsigned long max, const std::string& option) {
    char* end = nullptr;
    const unsigned long value = std::strtoul(text.c_str(), &end, 0);
    if (text.empty() || *end != '\0' || value > max)
        throw Failure{option + " takes a number from 0 to " + std::to_string(max) + ", not \"" +
                      text + "\""};
    return value;
}

Options Parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) throw Failure{arg + " needs a value"};
            return argv[++i];
        };
        if (arg == "--language") o.language = uint16_t(Number(value(), 7, arg));
        else if (arg == "--source") o.source = uint16_t(Number(value(), 0xFFFF, arg));
        else if (arg == "--option-bits") o.optionBits = uint16_t(Number(value(), 0xFFFF, arg));
        else if (arg == "--narrow") o.narrow = true;
        else if (arg == "--high") o.high = true;
        else if (arg == "--length") {
            const std::string text = value();
            char* end = nullptr;
            o.length = std::strtof(text.c_str(), &end);
            if (text.empty() || *end != '\0')
                throw Failure{"--length takes inches, not \"" + text + "\""};
        } else if (arg == "--socket") o.socket = uintptr_t(Number(value(), 0xFFFFFFFFul, arg));
        else if (arg == "--calibration") {
            std::vector<uint16_t> values;
            const std::string text = value();
            for (size_t start = 0;;) {
                const size_t comma = text.find(',', start);
                values.push_back(uint16_t(Number(text.substr(start, comma - start), 0xFFFF, arg)));
                if (comma == std::string::npos) break;
                start = comma + 1;
            }
            if (values.size() != 1 && values.size() != 4)
                throw Failure{"--calibration takes one value or four"};
            for (int k = 0; k < 4; ++k) o.calibration[k] = values[values.size() == 1 ? 0 : k];
        } else if (arg == "--kept") o.kept = uint16_t(Number(value(), 0xFFFF, arg));
        else if (arg == "--force") o.force = true;
        else if (arg == "--no-owner") o.owner = false;
        else if (arg == "--help") o.help = true;
        else throw Failure{"unknown option " + arg + "\n" + kUsage};
    }
    return o;
}

std::string WindowsPath(const char* tail) {
    char dir[MAX_PATH];
    const UINT n = GetWindowsDirectoryA(dir, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) throw Failure{"no Windows directory"};
    return std::string(dir, n) + tail;
}

// Memory the data source owns for the green coefficients the prescan keeps: each table a
// block of 16 KiB described by four entries of 4 KiB, as a data source that cut its own
// block into pieces would hand it over.
struct KeptTable {
    static constexpr uint32_t kBytes = 16384;
    static constexpr uint16_t kEntries = 4;
    std::vector<uint8_t> bytes = std::vector<uint8_t>(kBytes);

    void Describe(ScanBufferTable& table) {
        const uint32_t entryBytes = kBytes / kEntries;
        for (uint16_t e = 0; e < kEntries; ++e) {
            table[e].size = entryBytes;
            table[e].lines = 1;
            table[e].address = bytes.data() + e * entryBytes;
        }
    }
};

// The conversion tables of the shading store, as the data source builds them when it
// enables a local scanner: one per colour channel from the inquiry's calibration values.
struct ConversionTables {
    std::vector<uint16_t> channel[3];

    explicit ConversionTables(const uint16_t (&calibration)[4]) {
        for (int c = 0; c < 3; ++c) {
            channel[c].resize(kLevelCorrectionEntries);
            for (int i = 0; i < kLevelCorrectionEntries; ++i)
                channel[c][i] = LevelCorrectionEntry(calibration[c], i);
        }
    }
};

// A top-level window that is never shown: the owner the main window would be.
HWND CreateOwner() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = "PrescancallOwner";
    if (!RegisterClassA(&wc)) throw Failure{"cannot register the owner window's class"};
    HWND window = CreateWindowExA(0, wc.lpszClassName, "prescancall", WS_OVERLAPPEDWINDOW,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 480, 360, nullptr, nullptr,
                                  wc.hInstance, nullptr);
    if (!window) throw Failure{"cannot create the owner window; is DISPLAY set?"};
    return window;
}

// The library's dialogs as they were when they went away: caption, both lines, whether they
// were on the screen and whether both lines fit, the text in its control in the font the
// dialog got and the control in the dialog. Watched through a hook on this thread, the one
// the library runs its dialogs on.
struct DialogSeen {
    std::string caption, first, second;
    bool shown = false;
    bool fits = false;
};
std::vector<DialogSeen> g_dialogs;
HHOOK g_hook = nullptr;
constexpr int kFirstLine = 101, kSecondLine = 102;  // the controls of the library's dialogs

std::string Utf8(HWND window) {
    wchar_t text[512];
    const int n = GetWindowTextW(window, text, 512);
    if (n <= 0) return "";
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, n, nullptr, 0, nullptr, nullptr);
    std::string out(size_t(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, n, out.data(), bytes, nullptr, nullptr);
    return out;
}

// The control lies inside the dialog, and its text inside the control.
bool TextFits(HWND dialog, HWND control) {
    RECT inside, area;
    GetClientRect(dialog, &inside);
    GetWindowRect(control, &area);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&area), 2);
    if (area.left < 0 || area.top < 0 || area.right > inside.right || area.bottom > inside.bottom)
        return false;

    wchar_t text[512];
    const int n = GetWindowTextW(control, text, 512);
    RECT box;
    GetClientRect(control, &box);
    HDC dc = GetDC(control);
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
    SIZE extent{};
    const bool measured = GetTextExtentPoint32W(dc, text, n > 0 ? n : 0, &extent);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return measured && extent.cx <= box.right && extent.cy <= box.bottom;
}

LRESULT CALLBACK WatchDialogs(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_DESTROYWND) {
        HWND window = reinterpret_cast<HWND>(wParam);
        HWND first = GetDlgItem(window, kFirstLine), second = GetDlgItem(window, kSecondLine);
        if (first && second) {
            g_dialogs.push_back({Utf8(window), Utf8(first), Utf8(second),
                                 IsWindowVisible(window) != FALSE,
                                 TextFits(window, first) && TextFits(window, second)});
        }
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

void PrintBitmap() {
    const std::string path = WindowsPath(kPrescanBitmapPath);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        Print("bitmap=absent\n");
        return;
    }
    const uint64_t bytes = (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    Print("bitmap=present\nbitmap_bytes=" + std::to_string(bytes) + "\n");
}

int Run(int argc, char** argv) {
    const Options o = Parse(argc, argv);
    if (o.help) {
        Print(kUsage);
        return 0;
    }
    HWND owner = o.owner ? CreateOwner() : nullptr;
    const std::string libraryPath = WindowsPath(kPrescanLibraryPath);
    HMODULE library = LoadLibraryA(libraryPath.c_str());
    if (!library) {
        const DWORD error = GetLastError();
        throw Failure{"cannot load " + libraryPath + " (error " + std::to_string(error) + ")"};
    }
    auto preScan = reinterpret_cast<PreScanImageProc>(
        reinterpret_cast<void*>(GetProcAddress(library, kPreScanImageName)));
    if (!preScan) {
        FreeLibrary(library);
        throw Failure{std::string(kPreScanImageName) + " is not exported by " + libraryPath};
    }

    ConversionTables conversion(o.calibration);
    KeptTable high, low;
    PrescanShadingStore store{};
    store.forceCalibration = o.force ? 1 : 0;
    store.keptSamples = o.kept;
    for (int c = 0; c < 3; ++c) store.conversion[c] = conversion.channel[c].data();
    high.Describe(store.high);
    low.Describe(store.low);

    g_hook = SetWindowsHookExA(WH_CBT, WatchDialogs, nullptr, GetCurrentThreadId());
    const uint32_t sourceWord = uint32_t(o.source) << 16 | o.optionBits;
    const PreScanResult r =
        preScan(owner, nullptr, sourceWord, nullptr, nullptr, o.language, o.narrow ? 1 : 0,
                o.high ? 1 : 0, 0, o.length, &store, nullptr, o.socket);
    // Counted before the library goes: unloading it closes whatever it left open.
    const size_t closedByLibrary = g_dialogs.size();
    FreeLibrary(library);
    if (g_hook) UnhookWindowsHookEx(g_hook);
    if (owner) DestroyWindow(owner);

    Print("pixels=" + std::to_string(r.pixels) + "\nlines=" + std::to_string(r.lines) +
          "\nrow_bytes=" + std::to_string(r.rowBytes) + "\nresolution=" +
          std::to_string(r.resolution) + "\nlines_read=" + std::to_string(r.linesRead) +
          "\nfile_written=" + std::to_string(r.fileWritten) + "\n");
    PrintBitmap();
    Print("kept_samples=" + std::to_string(store.keptSamples) + "\nforce_calibration=" +
          std::to_string(store.forceCalibration) + "\n");
    if (!g_hook) Print("dialogs=not watched\n");
    for (size_t i = 0; i < g_dialogs.size(); ++i) {
        const DialogSeen& d = g_dialogs[i];
        Print("dialog=" + d.caption + "\t" + d.first + "\t" + d.second + "\tshown=" +
              (d.shown ? "1" : "0") + "\tfits=" + (d.fits ? "1" : "0") + "\tclosed_by=" +
              (i < closedByLibrary ? "prescan" : "unload") + "\n");
    }
    const bool nonZero =
        r.pixels || r.lines || r.rowBytes || r.resolution || r.linesRead || r.fileWritten;
    Print(nonZero ? "PRESCANCALL OK\n" : "PRESCANCALL ZERO RESULT\n");
    return nonZero ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const Failure& f) {
        Print("PRESCANCALL FAILED: " + f.reason + "\n");
    } catch (const std::exception& e) {
        Print(std::string("PRESCANCALL FAILED: internal error: ") + e.what() + "\n");
    }
    return 1;
}
