#include "settings_ui/page2_picture_win.h"

#include "res/resource.h"

namespace corv {

CPage2::CPage2(SheetHost& host) : CSettingsPage(IDD_PAGE_PICTURE, host) {}

bool CPage2::HasTypedFields() const {
    return IsWindow() && GetDlgItem(kIntervalField) != nullptr &&
           GetDlgItem(kSizeField) != nullptr && GetDlgItem(kClearCountField) != nullptr;
}

}  // namespace corv
