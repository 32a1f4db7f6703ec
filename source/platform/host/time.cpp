// A virtual tick count that tests move by hand, and the local time (real unless set).
#include <sys/time.h>

#include <ctime>
#include <mutex>
#include <optional>

#include "platform/host/host_control.h"
#include "platform/host/host_internal.h"
#include "platform/platform.h"

namespace plat {
namespace {

std::mutex gMutex;
uint32_t gTicks = 0;
uint32_t gTickStep = 0;
std::optional<LocalTime> gLocalTime;

LocalTime RealLocalTime() {
    timeval now {};
    gettimeofday(&now, nullptr);
    std::tm parts {};
    time_t seconds = now.tv_sec;
    localtime_r(&seconds, &parts);
    LocalTime t {};
    t.year = static_cast<uint16_t>(parts.tm_year + 1900);
    t.month = static_cast<uint16_t>(parts.tm_mon + 1);
    t.dayOfWeek = static_cast<uint16_t>(parts.tm_wday);
    t.day = static_cast<uint16_t>(parts.tm_mday);
    t.hour = static_cast<uint16_t>(parts.tm_hour);
    t.minute = static_cast<uint16_t>(parts.tm_min);
    t.second = static_cast<uint16_t>(parts.tm_sec > 59 ? 59 : parts.tm_sec);  // no leap second
    t.milliseconds = static_cast<uint16_t>(now.tv_usec / 1000);
    return t;
}

}  // namespace

uint32_t TickCount() {
    std::lock_guard lock(gMutex);
    uint32_t now = gTicks;
    gTicks += gTickStep;  // wraps like GetTickCount
    return now;
}

void SleepMs(uint32_t ms) {
    std::lock_guard lock(gMutex);
    gTicks += ms;
}

LocalTime GetLocalTime() {
    {
        std::lock_guard lock(gMutex);
        if (gLocalTime) return *gLocalTime;
    }
    return RealLocalTime();
}

namespace host {

void AdvanceTicks(uint32_t ms) {
    std::lock_guard lock(gMutex);
    gTicks += ms;
}

void SetTickStep(uint32_t ms) {
    std::lock_guard lock(gMutex);
    gTickStep = ms;
}

void SetLocalTime(const LocalTime& time) {
    std::lock_guard lock(gMutex);
    gLocalTime = time;
}

namespace internal {

void ResetTime() {
    std::lock_guard lock(gMutex);
    gTicks = 0;
    gTickStep = 0;
    gLocalTime.reset();
}

}  // namespace internal
}  // namespace host
}  // namespace plat
