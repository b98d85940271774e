// CPage2: the picture page of the settings sheet (template IDD_PAGE_PICTURE). Its
// controls come with its own work; the sheet's close check already reads
// its typed fields through TypedFields once the template holds them.
#pragma once

#include <windows.h>

#include <string>

#include "settings_ui/settings_page_win.h"
#include "settings_ui/sheet_logic.h"

namespace corv {

class CPage2 : public CSettingsPage, public TypedFields {
public:
    explicit CPage2(SheetHost& host);

    bool HasTypedFields() const override;
    std::string FieldText(int id) const override { return GetItemTextA(id); }
    void SetFieldText(int id, const std::string& text) override { SetItemTextA(id, text); }
};

}  // namespace corv
