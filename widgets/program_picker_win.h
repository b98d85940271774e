// CProgramList: the modal picker of the programs during whose activity the
// wallpaper holds still (template IDD_PROGRAM_PICKER). It lists the titles
// of the windows open on the desktop with check boxes; the titles chosen
// before come first, checked, even when no window of theirs is open. At
// most three rows can be checked.
//
// The caller fills `selection`, runs the dialog, and on IDOK reads the
// checked titles back from `selection`; on IDCANCEL it is as it was.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/dialog_win.h"
#include "widgets/program_picker_logic.h"
#include "widgets/striped_list_win.h"

namespace corv {

class CProgramList : public CDialog {
public:
    explicit CProgramList(HWND parent = nullptr);

    std::vector<std::string> selection;

    // The rows shown, with their check marks as the list holds them.
    std::vector<PickerRow> Rows() const;

protected:
    BOOL OnInitDialog() override;
    // Enter chooses, as "선택" does.
    void OnOK() override { OnAccept(); }
    bool RouteMessage(Message& message) override;

private:
    void OnAccept();
    void OnRescan();
    void OnCancelButton() { EndDialog(IDCANCEL); }
    LRESULT OnItemChanging(NMHDR& header);
    LRESULT OnTooMany(WPARAM, LPARAM);

    void ShowRows(const std::vector<PickerRow>& rows);
    bool IsRowChecked(int row) const;
    int CheckedCount() const;

    CStripedListCtrl list_;
    std::vector<std::string> titles_;  // row i shows titles_[i]
};

}  // namespace corv
