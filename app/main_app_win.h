// The application object: one running instance per session, the graphics
// library, OLE and the common controls around the hidden main window, whose
// modal run is the program's message loop.
#pragma once

#include <windows.h>

#include <memory>

#include "app/program_names.h"
#include "framework/app_win.h"

namespace corv {

class GdiplusSession;

class CMainApp : public CWinApp {
public:
    CMainApp();
    ~CMainApp() override;

    // Runs the whole program; always false, so no second message loop runs.
    bool InitInstance() override;
    // Shuts the graphics library and OLE down once the main window is gone.
    int ExitInstance() override;

private:
    std::unique_ptr<GdiplusSession> gdiplus_;
    HANDLE mutex_ = nullptr;
    bool oleStarted_ = false;
};

}  // namespace corv
