#include "settings_ui/page5_calendar_win.h"

#include "res/resource.h"

namespace corv {

CPage5::CPage5(SheetHost& host) : CSettingsPage(IDD_PAGE_CALENDAR, host) {}

}  // namespace corv
