// CPage3: the effects page of the settings sheet (template IDD_PAGE_EFFECTS):
// the frame with its thickness and colour, the shadow, the mask (chosen in
// the mask chooser or picked at random) with its preview, and the random
// rotation with its largest angle. The sheet's close check reads the
// thickness through TypedFields; everything else is written at once.
#pragma once

#include <windows.h>

#include <string>

#include "settings_ui/page3_effects.h"
#include "settings_ui/settings_page_win.h"
#include "settings_ui/sheet_logic.h"
#include "widgets/color_button_win.h"
#include "widgets/mask_chooser_win.h"

namespace corv {

class CPage3 : public CSettingsPage, public TypedFields {
public:
    explicit CPage3(SheetHost& host);

    bool HasTypedFields() const override;
    std::string FieldText(int id) const override { return GetItemTextUtf8(id); }
    void SetFieldText(int id, const std::string& text) override { SetItemTextUtf8(id, text); }

    void CancelOwnWindows() override;

protected:
    BOOL OnInitDialog() override;
    bool RouteMessage(Message& message) override;

private:
    // The frame, mask, shadow, random-mask and rotation switches.
    void OnSwitch(int id);
    void OnAngleChanged();
    void OnChooseMask();

    void FillAngles();
    void DrawMaskPreview(HDC dc, const RECT& area);

    CColorButton colorButton_;
    CPreview maskPreview_;
    CMaskDlg* maskChooser_ = nullptr;  // the chooser while it runs
};

}  // namespace corv
