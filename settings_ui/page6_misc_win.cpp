#include "settings_ui/page6_misc_win.h"

#include "res/resource.h"

namespace corv {

CPage6::CPage6(SheetHost& host) : CSettingsPage(IDD_PAGE_MISC, host) {}

}  // namespace corv
