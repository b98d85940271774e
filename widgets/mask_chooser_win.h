// CMaskDlg: the mask chooser (template 147, "Select Mask"). It shows every
// mask of the list as a 40 x 40 thumbnail with its name, two to a row, and
// returns the one chosen: 1 after "선 택" or a double-click in the list,
// 0 after "취 소", 2 after the close box. Enter and Escape do nothing.
// The thumbnails are made anew, synchronously, at every opening.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "compose/imaging_gdiplus_win.h"
#include "framework/dialog_win.h"
#include "widgets/mask_chooser_logic.h"

namespace corv {

class CMaskDlg : public CDialog {
public:
    // `masks`: full paths, in the order shown. `parent` may be null.
    CMaskDlg(const std::vector<std::string>& masks, GdiplusImaging& imaging, HWND parent = nullptr);

    // The chosen mask's name (no ".gif"); empty until one is chosen.
    const std::string& ChosenMask() const { return choice_.Chosen(); }

    static constexpr INT_PTR kChosen = 1;
    static constexpr INT_PTR kCancelled = 0;
    static constexpr INT_PTR kClosed = 2;

    bool IgnoresEnterAndEscape() const override { return true; }

protected:
    BOOL OnInitDialog() override;
    bool RouteMessage(Message& message) override;
    // Only "선 택" and a double-click choose; a cancel sent to the window
    // from outside (the program ending) closes it.
    void OnOK() override {}
    void OnCancel() override { EndDialog(kClosed); }

private:
    LRESULT OnItemChanged(NMHDR& header);
    LRESULT OnDoubleClick(NMHDR& header);
    void OnSelect();
    void OnCancelButton();
    void OnCloseBox();

    void MakeThumbnail(int index, const std::string& path);

    const std::vector<std::string>& masks_;
    GdiplusImaging& imaging_;
    CListCtrl view_;
    HIMAGELIST thumbnails_ = nullptr;
    MaskChoice choice_;
};

}  // namespace corv
