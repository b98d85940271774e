// CPage1: the background page of the settings sheet (template 104): the
// background colour and image, stretched or fitted, with a preview in the
// screen's proportions and a description of the image file.
#pragma once

#include <windows.h>

#include "settings_ui/settings_page_win.h"
#include "widgets/color_button_win.h"

namespace corv {

class CPage1 : public CSettingsPage {
public:
    explicit CPage1(SheetHost& host);

protected:
    BOOL OnInitDialog() override;
    bool RouteMessage(Message& message) override;

private:
    // The colour, image and stretch switches.
    void OnSwitch(int id);
    void OnChooseImage();

    void ShowImageFile();
    void DrawPreview(HDC dc, const RECT& area);

    CColorButton colorButton_;
    CPreview preview_;
};

}  // namespace corv
