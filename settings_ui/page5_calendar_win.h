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
    void ShowFace(int list);
    void OnTitleFont() { ShowFace(IDC_CAL_TITLE_FONT); }
    void OnDateFont() { ShowFace(IDC_CAL_DATE_FONT); }
    void Style(int id);
    void OnTitleBold() { Style(IDC_CAL_TITLE_BOLD); }
    void OnTitleItalic() { Style(IDC_CAL_TITLE_ITALIC); }
    void OnDateBold() { Style(IDC_CAL_DATE_BOLD); }
    void OnDateItalic() { Style(IDC_CAL_DATE_ITALIC); }
    void OnSwitch();
    void Colour(int id);
    void OnTitleColour() { Colour(IDC_CAL_TITLE_COLOR); }
    void OnWeekdayColour() { Colour(IDC_CAL_WEEKDAY_COLOR); }
    void OnSaturdayColour() { Colour(IDC_CAL_SATURDAY_COLOR); }
    void OnSundayColour() { Colour(IDC_CAL_SUNDAY_COLOR); }
    // Enter and Escape.
    void OnNothing() {}

    CLinkStatic* SampleOf(int id);
    CColorButton* ButtonOf(int id);

    CLinkStatic titleSample_;
    CLinkStatic dateSample_;
    int logPixelsY_ = 96;
    CColorButton titleColour_;
    CColorButton weekdayColour_;
    CColorButton saturdayColour_;
    CColorButton sundayColour_;
};

}  // namespace corv
