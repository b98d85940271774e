#include "framework/app_win.h"

namespace corv {

namespace {

CWinApp* currentApp = nullptr;

}  // namespace

CWinApp::CWinApp() {
    if (currentApp == nullptr) currentApp = this;
}

CWinApp::~CWinApp() {
    if (currentApp == this) currentApp = nullptr;
}

CWinApp* CWinApp::Current() {
    return currentApp;
}

int CWinApp::Run() {
    MSG message;
    for (;;) {
        BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(message.wParam);
        if (got == -1) return 1;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

int RunApplication(CWinApp& app, HINSTANCE instance) {
    app.instance_ = instance;
    try {
        if (app.InitInstance()) app.exitCode_ = app.Run();
        return app.ExitInstance();
    } catch (...) {
        return 1;
    }
}

HWND OwnerFor(HWND parent, const CWindow* self) {
    if (parent != nullptr) return parent;
    CWinApp* app = CWinApp::Current();
    CWindow* mainWindow = app != nullptr ? app->GetMainWindow() : nullptr;
    if (mainWindow != nullptr && mainWindow != self && mainWindow->IsWindow())
        return mainWindow->Handle();
    return nullptr;
}

HINSTANCE ResourceInstance() {
    CWinApp* app = CWinApp::Current();
    if (app != nullptr && app->Instance() != nullptr) return app->Instance();
    return GetModuleHandleW(nullptr);
}

std::wstring LoadResourceString(UINT id) {
    // With a zero buffer size the call hands out a pointer into the
    // resource itself, so any length fits.
    const wchar_t* text = nullptr;
    int length = LoadStringW(ResourceInstance(), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr) return std::wstring();
    return std::wstring(text, static_cast<size_t>(length));
}

std::string LoadResourceStringUtf8(UINT id) {
    return Utf8(LoadResourceString(id));
}

}  // namespace corv
