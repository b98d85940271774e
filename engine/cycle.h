// The change cycle's decisions, apart from the window that carries them out:
// whether a change-timer tick composes, what a date check does, and whether
// another program's window holds the cycle (busy stop).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/app_state.h"
#include "engine/platform.h"

namespace corv {

// The shortest change period the program runs with: the settings sheet
// accepts nothing below 3 seconds, and a hand-edited env.ini must not make
// the timer fire continuously.
constexpr uint32_t kMinChangePeriodMs = 3000;
// The longest period a window timer takes.
constexpr uint32_t kMaxChangePeriodMs = 0x7FFFFFFF;

// changetime x min_sec milliseconds, kept between the two limits above.
uint32_t ChangePeriodMs(const Settings& settings);

// A change-timer tick composes only when the cycle is not paused, the busy
// stop (asked only when it is on) does not hold it, and no modal window of
// the program is open. `isBusy` is called only when needed.
bool TickShouldChange(const AppState& state, const std::function<bool()>& isBusy);

// The date as the date check compares it: "%B-%d-%Y" in the C locale, for
// example "May-09-2007".
std::string FormatDateText(const LocalDate& date);

struct DateCheckResult {
    bool changed = false;    // the date differs from the last check
    int weekdayIcon = 0;     // icon to show (137 + weekday), 0 for none
    bool recompose = false;  // the calendar needs a new wallpaper
};

// Compares `today` with state.lastDateText, stores the new text and says
// what the window must do. A recompose for a new date starts a fresh canvas.
DateCheckResult CheckDate(AppState& state, const LocalDate& today);

// One top-level window as the busy stop sees it, in z-order.
struct TopWindow {
    bool visible = false;
    bool minimized = false;
    bool hasOwner = false;  // GetParent is not null
    std::string title;
    std::string className;
};

constexpr const char* kDesktopWindowTitle = "Program Manager";
constexpr const char* kStartMenuTitle = "\xBD\xC3\xC0\xDB \xB8\xDE\xB4\xBA";  // 시작 메뉴

// True when a visible, titled, unowned, non-minimised window other than the
// desktop and the exception programs is open, or the start menu is. The
// desktop and task bar are known by title and by window class, since not
// every shell gives them the usual titles.
bool IsBusy(const std::vector<TopWindow>& windows, const std::vector<std::string>& exceptions);

}  // namespace corv
