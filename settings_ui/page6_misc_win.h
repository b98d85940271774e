// CPage6: the miscellaneous page of the settings sheet (template IDD_PAGE_MISC). Its
// controls come with its own work.
#pragma once

#include <windows.h>

#include "settings_ui/settings_page_win.h"

namespace corv {

class CPage6 : public CSettingsPage {
public:
    explicit CPage6(SheetHost& host);
};

}  // namespace corv
