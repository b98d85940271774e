#include "widgets/tray_icon_win.h"

#include <cstring>

#include "base/text_win.h"
#include "framework/app_win.h"

namespace corv {

void CopyTipText(wchar_t* buffer, size_t size, const char* text) {
    if (size == 0) return;
    const std::wstring wide = Wide(text != nullptr ? text : "");
    size_t used = wide.size() < size - 1 ? wide.size() : size - 1;
    // A surrogate pair goes whole or not at all.
    if (used > 0 && used < wide.size() && wide[used - 1] >= 0xD800 && wide[used - 1] <= 0xDBFF)
        --used;
    std::memcpy(buffer, wide.data(), used * sizeof(wchar_t));
    buffer[used] = L'\0';
}

CTrayIcon::CTrayIcon() : CTrayIcon(ShellCall()) {}

CTrayIcon::CTrayIcon(ShellCall shell) : CTrayIcon(std::move(shell), WideShellCall()) {}

CTrayIcon::CTrayIcon(ShellCall shell, WideShellCall wideShell)
    : shell_(std::move(shell)), wideShell_(std::move(wideShell)) {
    std::memset(&record_, 0, sizeof record_);
    if (!shell_)
        shell_ = [](DWORD message, NOTIFYICONDATAW* record) {
            return Shell_NotifyIconW(message, record);
        };
    if (!wideShell_)
        wideShell_ = [](DWORD message, NOTIFYICONDATAW* record) {
            return Shell_NotifyIconW(message, record);
        };
}

CTrayIcon::~CTrayIcon() {
    DeleteIcon();
}

BOOL CTrayIcon::CallShell(DWORD message) {
    try {
        return shell_(message, &record_);
    } catch (...) {
        return FALSE;
    }
}

int CTrayIcon::AddIcon(HWND owner, UINT callbackMessage, const char* tip, HICON icon, UINT iconId) {
    if (LOBYTE(LOWORD(GetVersion())) < 4 || owner == nullptr || !IsWindow(owner)) {
        enabled_ = 0;
        return 0;
    }
    record_.cbSize = kRecordSize;
    record_.hWnd = owner;
    record_.uID = iconId;
    record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record_.uCallbackMessage = callbackMessage;
    record_.hIcon = icon;
    CopyTipText(record_.szTip, kTipUnits, tip);
    enabled_ = CallShell(NIM_ADD) ? 1 : 0;
    return enabled_;
}

int CTrayIcon::SetIconResource(UINT resourceId) {
    // The small-icon size, so that a drawing made for 16 x 16 is shown as
    // it is instead of a larger one scaled down. Shared icons need no
    // release.
    HICON icon = static_cast<HICON>(LoadImageW(ResourceInstance(), MAKEINTRESOURCEW(resourceId),
                                               IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    if (enabled_ == 0) return 0;
    record_.uFlags = NIF_ICON;
    record_.hIcon = icon;
    return CallShell(NIM_MODIFY) ? 1 : 0;
}

int CTrayIcon::SetTipText(const char* text) {
    if (enabled_ == 0) return 0;
    record_.uFlags = NIF_TIP;
    CopyTipText(record_.szTip, kTipUnits, text);
    return CallShell(NIM_MODIFY) ? 1 : 0;
}

int CTrayIcon::ReAddIcon() {
    if (record_.hWnd == nullptr || !IsWindow(record_.hWnd)) return 0;
    record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    enabled_ = CallShell(NIM_ADD) || CallShell(NIM_MODIFY) ? 1 : 0;
    return enabled_;
}

int CTrayIcon::ShowBalloon(const wchar_t* title, const wchar_t* text) {
    if (enabled_ == 0) return 0;
    NOTIFYICONDATAW balloon;
    std::memset(&balloon, 0, sizeof balloon);
    balloon.cbSize = kBalloonRecordSize;
    balloon.hWnd = record_.hWnd;
    balloon.uID = record_.uID;
    balloon.uFlags = NIF_INFO;
    balloon.dwInfoFlags = NIIF_INFO;
    // The longest the shell allows; newer systems take their own.
    balloon.uTimeout = 30000;
    lstrcpynW(balloon.szInfoTitle, title != nullptr ? title : L"",
              static_cast<int>(sizeof balloon.szInfoTitle / sizeof(wchar_t)));
    lstrcpynW(balloon.szInfo, text != nullptr ? text : L"",
              static_cast<int>(sizeof balloon.szInfo / sizeof(wchar_t)));
    try {
        return wideShell_(NIM_MODIFY, &balloon) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

void CTrayIcon::DeleteIcon() {
    if (enabled_ == 0) return;
    record_.uFlags = 0;
    CallShell(NIM_DELETE);
    enabled_ = 0;
}

LRESULT CTrayIcon::OnIconNotify(WPARAM wParam, LPARAM lParam) {
    if (enabled_ == 0 || wParam != record_.uID) return 0;
    if (LOWORD(lParam) != WM_LBUTTONDBLCLK) return 1;

    HMENU menu = LoadMenuW(ResourceInstance(), MAKEINTRESOURCEW(record_.uID));
    if (menu == nullptr) return 0;
    HMENU popup = GetSubMenu(menu, 0);
    // The first item must be a command: a sub-menu or separator sends nothing.
    const UINT command = popup != nullptr ? GetMenuItemID(popup, 0) : static_cast<UINT>(-1);
    if (command == static_cast<UINT>(-1) || command == 0) {
        DestroyMenu(menu);
        return 0;
    }
    SetForegroundWindow(record_.hWnd);
    SendMessageW(record_.hWnd, WM_COMMAND, command, 0);
    DestroyMenu(menu);
    return 1;
}

}  // namespace corv
