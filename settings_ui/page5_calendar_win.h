// CPage5: the calendar page of the settings sheet (template IDD_PAGE_CALENDAR). Its
// controls come with its own work.
#pragma once

#include <windows.h>

#include "settings_ui/settings_page_win.h"

namespace corv {

class CPage5 : public CSettingsPage {
public:
    explicit CPage5(SheetHost& host);
};

}  // namespace corv
