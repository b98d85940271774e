#include "widgets/about_dlg_win.h"

#include "framework/app_win.h"
#include "res/resource.h"

namespace corv {

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    homePage.SubclassDlgItem(IDC_HOMEPAGE, hwnd_);
    email.SubclassDlgItem(IDC_EMAIL, hwnd_);

    const std::wstring version = LoadResourceString(IDS_VERSION);
    SetDlgItemTextW(hwnd_, IDC_VERSION_TEXT, version.c_str());
    SetText(version + L" 정보");

    homePage.SetLink(true);
    email.SetLink(true);
    CentreOnWorkArea();
    return TRUE;
}

void CAboutDlg::CentreOnWorkArea() {
    // The owner is the hidden main window, which gives no useful place.
    RECT area{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0)) return;
    const RECT box = GetWindowRect();
    const int x = area.left + ((area.right - area.left) - (box.right - box.left)) / 2;
    const int y = area.top + ((area.bottom - area.top) - (box.bottom - box.top)) / 2;
    SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace corv
