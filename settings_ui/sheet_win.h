// CSheetPage: the settings sheet, six pages in tabs and no OK, Cancel or
// Apply button: every control writes its setting at once, and the sheet is
// closed with its close box (or Alt+F4), where the values typed into the
// picture and effects pages are checked and copied. Enter and Escape do
// nothing. The host (the hidden main window) creates it, runs it modally and
// destroys it; the pages reach the host only through the SheetHost it hands
// them.
#pragma once

#include <windows.h>

#include <array>

#include "framework/property_sheet_win.h"
#include "settings_ui/page1_background_win.h"
#include "settings_ui/page2_picture_win.h"
#include "settings_ui/page3_effects_win.h"
#include "settings_ui/page4_folders_win.h"
#include "settings_ui/page5_calendar_win.h"
#include "settings_ui/page6_misc_win.h"
#include "settings_ui/settings_page_win.h"

namespace corv {

class CSheetPage : public CPropertySheet {
public:
    // Opens on page `startPage` (the one shown when the sheet last closed).
    CSheetPage(SheetHost& host, int startPage);

    Settings* settings = nullptr;  // the host's record

    // Index of the page shown when the sheet was closed by its close box.
    int ClosedOnPage() const { return closedOnPage_; }

    // One entry of a folder scan met (the folders page's progress bar).
    void StepScanProgress();
    // The program ends: the pages' own windows and every box the sheet's
    // windows opened get a cancel, and so does the sheet.
    void CancelWithChildren();

    bool IgnoresEnterAndEscape() const override { return true; }

protected:
    void OnInitSheet() override;
    bool PreTranslateMessage(MSG& message) override;
    bool RouteMessage(Message& message) override;

private:
    bool OnSysCommand(UINT command);
    void OnDestroy();
    // The six pages in tab order.
    std::array<CSettingsPage*, 6> Pages();

    SheetHost& host_;
    CPage1 page1_;
    CPage2 page2_;
    CPage3 page3_;
    CPage4 page4_;
    CPage5 page5_;
    CPage6 page6_;
    int closedOnPage_ = -1;
};

}  // namespace corv
