// CPage5: the calendar page of the settings sheet (template
// IDD_PAGE_CALENDAR): the calendar switch, the title and date fonts with
// their samples and styles, and the four calendar colours.
#pragma once

#include <windows.h>

#include "res/page5_calendar_ids.h"
#include "settings_ui/settings_page_win.h"
#include "widgets/color_button_win.h"
#include "widgets/link_static_win.h"

namespace corv {

class CPage5 : public CSettingsPage {
public:
    explicit CPage5(SheetHost& host);

protected:
    BOOL OnInitDialog() override;
    bool RouteMessage(Message& message) override;

private:
    void FillFontLists();
    void SelectStoredFace(int list, const std::string& face);
    // A face chosen in font list `list`: its sample and its setting.
    void ShowFace(int list);
    void OnStyle(int id);
    void OnSwitch();
    void BindColour(CColorButton& button, int id);

    CLinkStatic* SampleOf(int id);

    CLinkStatic titleSample_;
    CLinkStatic dateSample_;
    int logPixelsY_ = 96;
    CColorButton titleColour_;
    CColorButton weekdayColour_;
    CColorButton saturdayColour_;
    CColorButton sundayColour_;
};

}  // namespace corv
