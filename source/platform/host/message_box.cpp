// Message boxes are recorded, not shown, and answered with the answer the test chose.
#include <mutex>
#include <vector>

#include "platform/host/host_control.h"
#include "platform/host/host_internal.h"
#include "platform/platform.h"

namespace plat {
namespace {

std::mutex gMutex;
std::vector<host::MessageBoxRecord> gBoxes;
int gAnswer = kIdOk;

}  // namespace

int MessageBox(WindowHandle owner, const char* text, const char* caption, uint32_t flags) {
    std::lock_guard lock(gMutex);
    // MessageBoxA shows "Error" for a NULL caption.
    gBoxes.push_back({owner, caption ? caption : "Error", text ? text : "", flags});
    return gAnswer;
}

namespace host {

std::vector<MessageBoxRecord> MessageBoxes() {
    std::lock_guard lock(gMutex);
    return gBoxes;
}

void ClearMessageBoxes() {
    std::lock_guard lock(gMutex);
    gBoxes.clear();
}

void SetMessageBoxAnswer(int answer) {
    std::lock_guard lock(gMutex);
    gAnswer = answer;
}

namespace internal {

void ResetMessageBoxes() {
    std::lock_guard lock(gMutex);
    gBoxes.clear();
    gAnswer = kIdOk;
}

}  // namespace internal
}  // namespace host
}  // namespace plat
