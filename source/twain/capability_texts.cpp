#include "twain/capability_texts.h"

#include <cstdio>
#include <cstring>

#include "session/interface_language.h"
#include "settings/profile_fields.h"
#include "twain/capability_container.h"

namespace {

// Only the 32-bit source answers texts through a handle.
[[maybe_unused]] void AnswerWithHandle(TW_CAPABILITY& cap, const std::string& text, uint32_t blockBytes) {
    plat::MemHandle block = plat::MemAlloc(blockBytes);
    if (!block) return;
    auto* chars = static_cast<char*>(plat::MemLock(block));
    if (!chars) {
        plat::MemFree(block);
        return;
    }
    std::strncpy(chars, text.c_str(), blockBytes - 1);
    plat::MemUnlock(block);
    const auto item = static_cast<TW_UINT32>(reinterpret_cast<uintptr_t>(block));
    if (!MakeOneValue(cap, TWTY_UINT32, item)) plat::MemFree(block);
}

}  // namespace

std::string AuthorText() { return LanguageString(4); }

std::string CaptionText() {
    return ReadProfileText("KVTINFO_A3", "BRAND", "SCANNER", 255) + " Scanners";
}

std::string TimeDateText(const plat::LocalTime& time) {
    static const char kDays[7][4] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char kMonths[12][4] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    // The clock is the system's, but a field out of range must not index past a table.
    const char* day = time.dayOfWeek < 7 ? kDays[time.dayOfWeek] : "???";
    const char* month = time.month >= 1 && time.month <= 12 ? kMonths[time.month - 1] : "???";
    char text[64];
    std::snprintf(text, sizeof text, "%.3s %.3s%3u %.2u:%.2u:%.2u %u\n", day, month,
                  unsigned{time.day}, unsigned{time.hour}, unsigned{time.minute},
                  unsigned{time.second}, unsigned{time.year});
    return text;
}

void AnswerTextCapability(TW_CAPABILITY& cap, const std::string& text, uint32_t blockBytes,
                          TW_UINT16 inlineType) {
    if constexpr (kTwain64)
        MakeOneValueText(cap, inlineType, text.c_str());
    else
        AnswerWithHandle(cap, text, blockBytes);
}
