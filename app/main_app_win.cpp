#include "app/main_app_win.h"

#include <commctrl.h>
#include <ole2.h>

#include "app/main_dlg_win.h"
#include "compose/imaging_gdiplus_win.h"
#include "framework/common_dialogs_win.h"
#include "res/resource.h"

namespace corv {

CMainApp::CMainApp() = default;

CMainApp::~CMainApp() {
    if (mutex_ != nullptr) CloseHandle(mutex_);
}

bool CMainApp::InitInstance() {
    // One instance per session: a second start ends here, silently, before
    // anything is read or written.
    mutex_ = CreateMutexA(nullptr, TRUE, kInstanceMutexName);
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        if (mutex_ != nullptr) CloseHandle(mutex_);
        mutex_ = nullptr;
        return false;
    }

    gdiplus_ = std::make_unique<GdiplusSession>();

    if (FAILED(OleInitialize(nullptr))) {
        const std::wstring text = LoadResourceString(IDS_OLE_INIT_FAILED);
        ShowMessageBox(nullptr, text, L"Corvalendrine", MB_ICONSTOP);
        return false;
    }
    oleStarted_ = true;

    InitCommonControls();
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES;
    InitCommonControlsEx(&controls);

    {
        CMainDlg mainDlg;
        SetMainWindow(&mainDlg);
        mainDlg.DoModal();
        SetMainWindow(nullptr);
    }
    // The main window and its icon are gone before another instance may
    // start.
    CloseHandle(mutex_);
    mutex_ = nullptr;
    return false;
}

int CMainApp::ExitInstance() {
    gdiplus_.reset();
    if (oleStarted_) OleUninitialize();
    oleStarted_ = false;
    return CWinApp::ExitInstance();
}

}  // namespace corv
