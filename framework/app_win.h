// The application object. WinMain makes one and hands it to RunApplication:
//
//     InitInstance() -> true: Run() (the message loop), then ExitInstance()
//                       false: ExitInstance() at once
//
// A program whose main window is a modal dialog runs that dialog inside
// InitInstance and returns false, so the dialog's modal loop is the
// program's message loop.
#pragma once

#include <windows.h>

#include <string>

#include "framework/window_win.h"

namespace corv {

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // The one application object of the process, or null.
    static CWinApp* Current();

    HINSTANCE Instance() const { return instance_; }

    // The window that owns dialogs made without a parent; may be null.
    CWindow* GetMainWindow() const { return mainWindow_; }
    void SetMainWindow(CWindow* window) { mainWindow_ = window; }

    virtual bool InitInstance() { return true; }
    // The message loop; returns the exit code of WM_QUIT.
    virtual int Run();
    // Returns the process exit code.
    virtual int ExitInstance() { return exitCode_; }

protected:
    int exitCode_ = 0;

private:
    friend int RunApplication(CWinApp& app, HINSTANCE instance);

    HINSTANCE instance_ = nullptr;
    CWindow* mainWindow_ = nullptr;
};

// Runs the application's life; returns the process exit code. Nothing
// thrown inside escapes: an exception ends the program with exit code 1.
int RunApplication(CWinApp& app, HINSTANCE instance);

// The owner of a dialog or sheet: `parent` when given, else the
// application's main window when it has a window and is not `self`.
HWND OwnerFor(HWND parent, const CWindow* self);

// The module whose resources the program uses.
HINSTANCE ResourceInstance();

// A string of the string table; empty when there is none.
std::wstring LoadResourceString(UINT id);
// The same in UTF-8.
std::string LoadResourceStringUtf8(UINT id);

}  // namespace corv
