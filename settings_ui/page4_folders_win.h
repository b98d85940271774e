// CPage4: the folders page of the settings sheet (template 103): the listed
// picture folders with their counts and total, and the commands to add a
// folder, delete the clicked one and read every folder again, with the
// scan's progress bar.
#pragma once

#include <windows.h>

#include <string>

#include "settings_ui/page4_folders.h"
#include "settings_ui/settings_page_win.h"
#include "widgets/striped_list_win.h"

namespace corv {

class CPage4 : public CSettingsPage {
public:
    explicit CPage4(SheetHost& host);

    // One entry of a scan met: the progress bar moves on, and the sheet
    // keeps being painted.
    void StepProgress();

    bool PreTranslateKey(const MSG& message) override;

protected:
    BOOL OnInitDialog() override;
    bool RouteMessage(Message& message) override;

private:
    void OnAdd();
    void OnDelete();
    LRESULT OnListClick(NMHDR& header);

    void Refill();
    void AppendRows();
    void ForgetClickedRow();
    void ShowTotal();
    // What a scan tells the page: a folder begins, an entry is met.
    ScanProgress Progress();
    void BeginFolder(int32_t entries);
    // Reads every listed folder again.
    void Rescan();
    void Tell(const std::wstring& text, const std::wstring& caption = std::wstring(),
              UINT icon = 0);

    CStripedListCtrl list_;
    CProgressCtrl progress_;
    FolderRows rows_;
    std::string lastFolder_;
    DWORD lastPump_ = 0;
};

}  // namespace corv
