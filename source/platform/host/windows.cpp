// Windows the source does not own, the message pump and window timers: what the test set up
// or what the code armed, with no real window system behind them.
#include <algorithm>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/host/host_control.h"
#include "platform/host/host_internal.h"
#include "platform/platform.h"

namespace plat {
namespace {

std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return text;
}

std::mutex gMutex;
std::set<std::string> gWindowClasses;  // upper case: FindWindow compares without case
unsigned gPumpCount = 0;
unsigned gEscapeAt = 0;  // counts down; the pump that brings it to 0 reports Escape
std::function<bool()> gPumpHook;
std::vector<host::TimerRecord> gTimers;
WindowHandle gActiveWindow = nullptr;

std::vector<host::TimerRecord>::iterator FindTimer(WindowHandle window, uintptr_t id) {
    return std::find_if(gTimers.begin(), gTimers.end(), [&](const host::TimerRecord& t) {
        return t.window == window && t.id == id;
    });
}

}  // namespace

bool TopLevelWindowExists(const char* windowClass) {
    if (!windowClass) return false;
    std::lock_guard lock(gMutex);
    return gWindowClasses.count(Upper(windowClass)) != 0;
}

WindowHandle ActiveWindow() {
    std::lock_guard lock(gMutex);
    return gActiveWindow;
}

bool PumpMessagesCheckEscape() {
    std::function<bool()> hook;
    bool escape = false;
    {
        std::lock_guard lock(gMutex);
        ++gPumpCount;
        escape = gEscapeAt != 0 && --gEscapeAt == 0;
        hook = gPumpHook;
    }
    // The hook runs unlocked: it may call back into the seam.
    if (hook && hook()) escape = true;
    return escape;
}

bool StartTimer(WindowHandle window, uintptr_t id, uint32_t ms) {
    // SetTimer needs a window here: the source always arms its timers on one.
    if (!window) return false;
    std::lock_guard lock(gMutex);
    auto it = FindTimer(window, id);
    if (it != gTimers.end())
        it->ms = ms;  // SetTimer on an armed id restarts it with the new period
    else
        gTimers.push_back({window, id, ms});
    return true;
}

bool StopTimer(WindowHandle window, uintptr_t id) {
    std::lock_guard lock(gMutex);
    auto it = FindTimer(window, id);
    if (it == gTimers.end()) return false;
    gTimers.erase(it);
    return true;
}

namespace host {

void SetTopLevelWindow(const std::string& windowClass, bool exists) {
    std::lock_guard lock(gMutex);
    if (exists)
        gWindowClasses.insert(Upper(windowClass));
    else
        gWindowClasses.erase(Upper(windowClass));
}

void SetActiveWindow(WindowHandle window) {
    std::lock_guard lock(gMutex);
    gActiveWindow = window;
}

void PressEscapeAtPump(unsigned n) {
    std::lock_guard lock(gMutex);
    gEscapeAt = n;
}

unsigned PumpCount() {
    std::lock_guard lock(gMutex);
    return gPumpCount;
}

void SetPumpHook(std::function<bool()> hook) {
    std::lock_guard lock(gMutex);
    gPumpHook = std::move(hook);
}

std::vector<TimerRecord> ActiveTimers() {
    std::lock_guard lock(gMutex);
    return gTimers;
}

namespace internal {

void ResetWindows() {
    std::lock_guard lock(gMutex);
    gWindowClasses.clear();
    gActiveWindow = nullptr;
    gPumpCount = 0;
    gEscapeAt = 0;
    gPumpHook = nullptr;
    gTimers.clear();
}

}  // namespace internal
}  // namespace host
}  // namespace plat
