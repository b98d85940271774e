// CPage6: the miscellaneous page of the settings sheet (template
// IDD_PAGE_MISC): autostart with Windows, the path caption, the address in
// the tray tooltip, the weekday icon, the memory option, the busy stop with
// its exception programs, and the home-page link.
#pragma once

#include <windows.h>

#include <memory>

#include "res/page6_misc_ids.h"
#include "settings_ui/settings_page_win.h"
#include "widgets/link_static_win.h"

namespace corv {

class CProgramList;

class CPage6 : public CSettingsPage {
public:
    explicit CPage6(SheetHost& host);
    ~CPage6() override;

    void CancelOwnWindows() override;

protected:
    BOOL OnInitDialog() override;
    bool RouteMessage(Message& message) override;

private:
    void OnAutostart();
    void OnPath();
    void OnBusyStop();
    void OnAddress();
    void OnWeekday();
    void OnMemory();
    void OnPickPrograms();
    void OnClearPrograms();
    void OnMonitors();

    void ShowBusyStop(bool on);
    void ShowPrograms();

    CLinkStatic homePage_;
    CLinkStatic programs_;
    CProgramList* programPicker_ = nullptr;  // while the picker runs
};

// Whether the autostart value exists under the current user.
bool AutostartValuePresent();
// Writes (`on`) or deletes the autostart value with this program's path;
// false when the wanted state could not be reached.
bool SetAutostartValue(bool on);

}  // namespace corv
