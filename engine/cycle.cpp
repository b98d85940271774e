#include "engine/cycle.h"

#include <cstdio>

namespace corv {

uint32_t ChangePeriodMs(const Settings& settings) {
    const int64_t period = static_cast<int64_t>(settings.changetime) * settings.min_sec;
    if (period < kMinChangePeriodMs) return kMinChangePeriodMs;
    if (period > kMaxChangePeriodMs) return kMaxChangePeriodMs;
    return static_cast<uint32_t>(period);
}

bool TickShouldChange(const AppState& state, const std::function<bool()>& isBusy) {
    if (state.settings.paused) return false;
    if (state.settings.maxwinstop && isBusy()) return false;
    return state.cycleReady != 0;
}

std::string FormatDateText(const LocalDate& date) {
    static const char* const kMonths[] = {"January",   "February", "March",    "April",
                                          "May",       "June",     "July",     "August",
                                          "September", "October",  "November", "December"};
    const char* month = (date.month >= 1 && date.month <= 12) ? kMonths[date.month - 1] : "";
    char text[64];
    std::snprintf(text, sizeof text, "%s-%02d-%d", month, date.day, date.year);
    return text;
}

DateCheckResult CheckDate(AppState& state, const LocalDate& today) {
    DateCheckResult result;
    const std::string text = FormatDateText(today);
    if (text != state.lastDateText) {
        result.changed = true;
        if (state.settings.isweekday) result.weekdayIcon = 137 + today.weekday;
        result.recompose = state.settings.iscalender;
        // A kept collage carries yesterday's calendar: its today mark
        // reaches beyond the day strip, and a new month has other numbers.
        if (result.recompose) state.freshCanvasRequested = 1;
    }
    state.lastDateText = text;
    return result;
}

namespace {

bool IsShellWindowClass(const std::string& className) {
    return className == "Progman" || className == "WorkerW" || className == "Shell_TrayWnd";
}

}  // namespace

bool IsBusy(const std::vector<TopWindow>& windows, const std::vector<std::string>& exceptions) {
    for (const TopWindow& w : windows) {
        if (!w.visible || w.title.empty()) continue;
        if (w.hasOwner) {
            if (w.title == kStartMenuTitle || w.className == "DV2ControlHost") return true;
            continue;
        }
        if (w.title == kDesktopWindowTitle || IsShellWindowClass(w.className) || w.minimized)
            continue;
        if (exceptions.empty()) return true;
        bool excepted = false;
        for (const std::string& title : exceptions)
            if (w.title == title) excepted = true;
        if (!excepted) return true;
    }
    return false;
}

}  // namespace corv
