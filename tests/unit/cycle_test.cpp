#include "engine/cycle.h"

#include <gtest/gtest.h>

using corv::AppState;
using corv::TopWindow;

namespace {

TopWindow Window(const std::string& title, bool minimized = false, bool owned = false) {
    TopWindow w;
    w.visible = true;
    w.title = title;
    w.minimized = minimized;
    w.hasOwner = owned;
    return w;
}

const std::string kEditor = "\xB8\xDE\xB8\xF0\xC0\xE5 - a.txt";  // "메모장 - a.txt"

}  // namespace

TEST(CycleTick, DecisionTableInTestingOrder) {
    AppState s;
    s.settings.maxwinstop = true;
    int busyAsked = 0;
    bool busy = false;
    auto isBusy = [&] {
        ++busyAsked;
        return busy;
    };
    s.cycleReady = 1;
    EXPECT_TRUE(corv::TickShouldChange(s, isBusy));
    busy = true;
    EXPECT_FALSE(corv::TickShouldChange(s, isBusy));
    s.settings.maxwinstop = false;
    EXPECT_TRUE(corv::TickShouldChange(s, isBusy));
    s.cycleReady = 0;
    EXPECT_FALSE(corv::TickShouldChange(s, isBusy));
    s.cycleReady = 1;
    s.settings.paused = true;
    s.settings.maxwinstop = true;
    busyAsked = 0;
    EXPECT_FALSE(corv::TickShouldChange(s, isBusy));
    EXPECT_EQ(busyAsked, 0);  // paused is tested first
}

TEST(CycleTick, PeriodNeverSpinsOrOverflows) {
    corv::Settings s;
    s.changetime = 15;
    s.min_sec = 1000;
    EXPECT_EQ(corv::ChangePeriodMs(s), 15000u);
    s.changetime = 0;
    EXPECT_EQ(corv::ChangePeriodMs(s), corv::kMinChangePeriodMs);
    s.changetime = -4;
    EXPECT_EQ(corv::ChangePeriodMs(s), corv::kMinChangePeriodMs);
    s.changetime = 99999;
    s.min_sec = 60000;
    EXPECT_EQ(corv::ChangePeriodMs(s), corv::kMaxChangePeriodMs);
}

TEST(CycleDate, TextFormatAndRollover) {
    EXPECT_EQ(corv::FormatDateText({2007, 5, 9, 3}), "May-09-2007");
    EXPECT_EQ(corv::FormatDateText({2026, 12, 31, 4}), "December-31-2026");
    AppState s;
    s.settings.isweekday = true;
    s.settings.iscalender = true;
    s.settings.paused = true;  // the date check ignores pause
    s.lastDateText = "May-09-2007";
    corv::DateCheckResult same = corv::CheckDate(s, {2007, 5, 9, 3});
    EXPECT_FALSE(same.changed);
    EXPECT_FALSE(same.recompose);
    corv::DateCheckResult next = corv::CheckDate(s, {2007, 5, 10, 4});
    EXPECT_TRUE(next.changed);
    EXPECT_TRUE(next.recompose);
    EXPECT_EQ(next.weekdayIcon, 141);
    EXPECT_EQ(s.lastDateText, "May-10-2007");
    EXPECT_EQ(s.freshCanvasRequested, 1);  // yesterday's calendar goes
    s.freshCanvasRequested = 0;
    s.settings.iscalender = false;
    s.settings.isweekday = false;
    corv::DateCheckResult quiet = corv::CheckDate(s, {2007, 5, 13, 0});
    EXPECT_TRUE(quiet.changed);
    EXPECT_FALSE(quiet.recompose);
    EXPECT_EQ(quiet.weekdayIcon, 0);
    EXPECT_EQ(s.freshCanvasRequested, 0);  // no recompose, the collage stays
}

TEST(CycleBusy, EditorOpenHoldsUntilMinimised) {
    std::vector<TopWindow> windows = {Window(kEditor), Window("Program Manager")};
    EXPECT_TRUE(corv::IsBusy(windows, {}));
    windows[0].minimized = true;
    EXPECT_FALSE(corv::IsBusy(windows, {}));
}

TEST(CycleBusy, ExceptionTitleReleasesUnlessAnotherWindowHolds) {
    std::vector<TopWindow> windows = {Window(kEditor), Window("Program Manager")};
    EXPECT_FALSE(corv::IsBusy(windows, {kEditor}));
    EXPECT_TRUE(corv::IsBusy(windows, {"\xB8\xDE\xB8\xF0\xC0\xE5"}));  // exact titles only
    windows.push_back(Window("Other"));
    EXPECT_TRUE(corv::IsBusy(windows, {kEditor}));
}

TEST(CycleBusy, OwnedWindowsCountOnlyAsStartMenu) {
    std::vector<TopWindow> windows = {Window("Tool palette", false, true)};
    EXPECT_FALSE(corv::IsBusy(windows, {}));
    windows.push_back(Window(corv::kStartMenuTitle, false, true));
    EXPECT_TRUE(corv::IsBusy(windows, {"anything"}));
}

TEST(CycleBusy, ShellWindowsKnownByClassDoNotHold) {
    TopWindow taskBar = Window("Taskbar");
    taskBar.className = "Shell_TrayWnd";
    TopWindow desktop = Window("Desktop");
    desktop.className = "Progman";
    EXPECT_FALSE(corv::IsBusy({taskBar, desktop}, {}));
    TopWindow startMenu = Window("Start", false, true);
    startMenu.className = "DV2ControlHost";
    EXPECT_TRUE(corv::IsBusy({startMenu}, {}));
}

TEST(CycleBusy, InvisibleAndUntitledWindowsAreIgnored) {
    TopWindow hidden = Window(kEditor);
    hidden.visible = false;
    std::vector<TopWindow> windows = {hidden, Window("")};
    EXPECT_FALSE(corv::IsBusy(windows, {}));
}
