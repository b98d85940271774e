#include "settings_ui/page3_effects_win.h"

#include "res/resource.h"

namespace corv {

CPage3::CPage3(SheetHost& host) : CSettingsPage(IDD_PAGE_EFFECTS, host) {}

bool CPage3::HasTypedFields() const {
    return IsWindow() && GetDlgItem(kFrameSizeField) != nullptr;
}

}  // namespace corv
