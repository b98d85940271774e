#include "widgets/about_dlg_win.h"

#include "framework/app_win.h"
#include "res/resource.h"

namespace corv {

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    BindControl(homePage, IDC_HOMEPAGE);
    BindControl(email, IDC_EMAIL);

    const std::wstring version = LoadResourceString(IDS_VERSION);
    SetDlgItemTextW(hwnd_, IDC_VERSION_TEXT, version.c_str());
    SetText(version + L" 정보");

    homePage.SetLink(true);
    email.SetLink(true);
    // The owner is the hidden main window, which gives no useful place.
    CentreOnWorkArea();
    return TRUE;
}

}  // namespace corv
