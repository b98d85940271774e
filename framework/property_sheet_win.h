// CPropertySheet and CPropertyPage: a tabbed sheet of pages made from dialog
// templates.
//
// To build a sheet: derive from CPropertySheet, hold the pages as members,
// AddPage them in tab order in the constructor and call DoModal. Each page
// derives from CPropertyPage with its template id; the tab shows the
// template's caption. A page's window is made the first time the page is
// shown and lives until the sheet closes.
//
// The sheet runs its own modal loop, so a derived sheet can look at
// keyboard messages before the sheet does (PreTranslateMessage); the loop
// drops Enter and Escape first when the sheet ignores them
// (IgnoresEnterAndEscape). The sheet's window is subclassed, so its
// messages pass through its message map (RouteMessage) before the system's
// handling of a sheet.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "framework/dialog_win.h"

namespace corv {

class CPropertySheet;

class CPropertyPage : public CDialog {
public:
    explicit CPropertyPage(UINT templateId);

    CPropertySheet* GetSheet() const { return sheet_; }

protected:
    // The page is about to be shown; false shows another page instead.
    virtual bool OnSetActive() { return true; }
    // The page is about to be left; false keeps it shown.
    virtual bool OnKillActive() { return true; }
    // The sheet's OK or Apply button was pressed.
    virtual void OnApply() {}
    // The page's notifications; a derived page lists its own messages and
    // then hands the rest here.
    bool RouteMessage(Message& message) override;

private:
    friend class CPropertySheet;
    LRESULT OnSetActiveNotify(NMHDR& header);
    LRESULT OnKillActiveNotify(NMHDR& header);
    LRESULT OnApplyNotify(NMHDR& header);
    static INT_PTR CALLBACK PageProc(HWND window, UINT id, WPARAM wParam, LPARAM lParam);

    CPropertySheet* sheet_ = nullptr;
};

class CPropertySheet : public CWindow {
public:
    // `parent` may be null: the sheet is then owned by the application's
    // main window, when it has one.
    explicit CPropertySheet(std::wstring caption, HWND parent = nullptr, UINT startPage = 0);
    ~CPropertySheet() override;
    CPropertySheet(const CPropertySheet&) = delete;
    CPropertySheet& operator=(const CPropertySheet&) = delete;

    // Pages are shown as tabs in the order they are added.
    void AddPage(CPropertyPage& page);
    int GetPageCount() const { return static_cast<int>(pages_.size()); }
    CPropertyPage* GetPage(int index) const;

    // Runs the sheet until it is closed (close box, Escape, a cancel
    // command); returns IDOK when a page was applied, else IDCANCEL, or -1
    // when the sheet could not be made.
    INT_PTR DoModal();

    // The index of the page on show, or -1 while the sheet has no window.
    int GetActiveIndex() const;
    // Shows page `index`; before DoModal, chooses the page shown first.
    void SetActivePage(int index);

protected:
    // The sheet's window exists and its first page is made.
    virtual void OnInitSheet() {}
    // A message of the sheet's loop before the sheet sees it; true takes it.
    virtual bool PreTranslateMessage(MSG& message);

private:
    friend class CPropertyPage;
    static int CALLBACK SheetCallback(HWND window, UINT event, LPARAM lParam);
    void RunModalLoop();

    std::wstring caption_;
    HWND parent_;
    UINT startPage_;
    std::vector<CPropertyPage*> pages_;
    bool applied_ = false;
};

}  // namespace corv
