// Test control of the host platform backend: what a unit test arranges before it calls the
// code under test (directories, failures, the clock, answers to message boxes) and what it
// inspects afterwards (message boxes shown, timers armed, notifications sent, live memory).
// Only the host build has this header.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace plat::host {

// Everything back to a fresh state: no directories, empty logs, no failures armed, all memory
// blocks freed, virtual clock 0, message-box answer IDOK, no windows, no timers.
void Reset();

// ---- Directories ----------------------------------------------------------------------------
// Until set, WindowsDirectory and TempPath fail (return 0) and WIN.INI cannot be found.
// The strings the seam returns are these Linux paths themselves.
void SetWindowsDirectory(const std::string& linuxDir);
void SetTempDirectory(const std::string& linuxDir);
std::string WinIniPath();  // <windows dir>/win.ini, "" while no Windows directory is set
// The Linux path a Windows-style path names here: every '\' becomes '/'.
std::string MapPath(const char* windowsPath);

// A fresh directory under the system's temporary directory, removed with its contents when
// the object goes away.
class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;
    const std::string& path() const { return path_; }
    // path()/name, with the folders on the way created.
    std::string Subdirectory(const std::string& name) const;
    // Writes text to path()/name (folders created) and returns the file's path.
    std::string WriteFile(const std::string& name, const std::string& text) const;
    std::string ReadFile(const std::string& name) const;  // "" when absent

private:
    std::string path_;
};

// ---- Profile reads --------------------------------------------------------------------------
// Off after Reset: every profile read parses its file afresh, so a test may edit profile files
// by any means at any time. On, each file is parsed once and answered from memory; after the
// seam changes any file (write, create, delete, move, profile write) its bytes are read again
// and parsed again when they differ. A caller that turns it on must not change profile files
// behind the seam's back. Turning it on or off empties it.
void CacheProfileReads(bool on);

// ---- Memory blocks --------------------------------------------------------------------------
// The n-th MemAlloc from now fails (1 = the next one); 0 disarms.
void FailAllocationAt(unsigned n);
// Every MemAlloc of more than `bytes` fails, as on a machine short of memory; 0 disarms.
void FailAllocationsAbove(size_t bytes);
size_t LiveBlocks();
int LockCount(MemHandle h);  // -1 for a null or unknown handle

// ---- Files ----------------------------------------------------------------------------------
// The n-th FileWrite from now fails and writes nothing (1 = the next one); 0 disarms.
void FailWriteAt(unsigned n);
// What FreeDiskBytes answers for every path; kRealFreeDiskBytes asks the file system.
constexpr int64_t kRealFreeDiskBytes = -2;
void SetFreeDiskBytes(int64_t bytes);

// ---- Time -----------------------------------------------------------------------------------
// TickCount is a virtual clock: it starts at 0, SleepMs and AdvanceTicks move it at once, and
// each TickCount call adds the tick step (0 unless set) after reading, so polling loops end.
void AdvanceTicks(uint32_t ms);
void SetTickStep(uint32_t ms);
void SetLocalTime(const LocalTime& time);  // GetLocalTime answers this until Reset

// ---- Message boxes --------------------------------------------------------------------------
struct MessageBoxRecord {
    WindowHandle owner;
    std::string caption;
    std::string text;
    uint32_t flags;
};
std::vector<MessageBoxRecord> MessageBoxes();
void ClearMessageBoxes();
void SetMessageBoxAnswer(int answer);  // for every later box; kIdOk after Reset

// ---- Windows, the message pump and timers ---------------------------------------------------
void SetTopLevelWindow(const std::string& windowClass, bool exists);  // class compared without case
void SetActiveWindow(WindowHandle window);  // what ActiveWindow answers; none after Reset
// The n-th PumpMessagesCheckEscape call from now reports Escape, once (1 = the next call).
void PressEscapeAtPump(unsigned n);
unsigned PumpCount();  // PumpMessagesCheckEscape calls since Reset
// Called by every pump after the counting; returning true reports Escape.
void SetPumpHook(std::function<bool()> hook);
struct TimerRecord {
    WindowHandle window;
    uintptr_t id;
    uint32_t ms;
};
std::vector<TimerRecord> ActiveTimers();  // in the order they were first started

// ---- The source manager ---------------------------------------------------------------------
struct Notification {
    TW_UINT32 originId;  // 0 for a null identity
    TW_UINT32 destId;
    TW_UINT32 dg;
    TW_UINT16 dat;
    TW_UINT16 msg;
    TW_MEMREF data;
};
std::vector<Notification> Notifications();
void SetSourceManagerResult(TW_UINT16 rc);  // TWRC_SUCCESS after Reset

}  // namespace plat::host
