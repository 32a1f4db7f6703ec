// Tick count, sleeping and the local time from the system.
#include "platform/win32/win32_api.h"

namespace plat {

uint32_t TickCount() { return ::GetTickCount(); }

void SleepMs(uint32_t ms) { ::Sleep(ms); }

LocalTime GetLocalTime() {
    SYSTEMTIME st {};
    ::GetLocalTime(&st);
    return LocalTime{st.wYear, st.wMonth, st.wDayOfWeek, st.wDay,
                     st.wHour, st.wMinute, st.wSecond,    st.wMilliseconds};
}

}  // namespace plat
