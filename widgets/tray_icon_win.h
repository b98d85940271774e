// CTrayIcon: the program's icon in the notification area.
//
// It is not a window: the icon's mouse events arrive at the owner window as
// its callback message, and the owner hands them to OnIconNotify. The icon
// is either absent or shown; while it is absent every call but AddIcon does
// nothing and answers 0, and no shell call is made.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <functional>
#include <string>

namespace corv {

class CTrayIcon {
public:
    // The shell's notification call (wide: the tooltip shows every
    // character whatever the code page); tests put their own in its place.
    using ShellCall = std::function<BOOL(DWORD message, NOTIFYICONDATAW* record)>;
    // The same, for the balloon.
    using WideShellCall = std::function<BOOL(DWORD message, NOTIFYICONDATAW* record)>;

    // The size of the record in its first form (tooltip of 64 characters):
    // 152 bytes in the 32-bit program, the system's own constant in a 64-bit
    // build.
    static constexpr DWORD kRecordSize = NOTIFYICONDATAW_V1_SIZE;
#ifndef _WIN64
    static_assert(kRecordSize == 152, "the 32-bit notification record is 152 bytes");
#endif
    static constexpr size_t kTipUnits = 64;
    // The wide record of the balloon: its second form, up to the balloon's
    // flags (936 bytes in the 32-bit program).
    static constexpr DWORD kBalloonRecordSize = NOTIFYICONDATAW_V2_SIZE;
#ifndef _WIN64
    static_assert(kBalloonRecordSize == 936, "the 32-bit balloon record is 936 bytes");
#endif

    CTrayIcon();
    explicit CTrayIcon(ShellCall shell);
    CTrayIcon(ShellCall shell, WideShellCall wideShell);
    virtual ~CTrayIcon();
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    // Adds the icon: its events arrive at `owner` as `callbackMessage`.
    // Non-zero when the shell took it.
    int AddIcon(HWND owner, UINT callbackMessage, const char* tip, HICON icon, UINT iconId);
    // Shows the icon resource `resourceId` of the program at the small-icon
    // size.
    int SetIconResource(UINT resourceId);
    // The tooltip, UTF-8; cut to 63 UTF-16 units, never inside a character.
    int SetTipText(const char* text);
    // Shows a balloon with an information sign from the icon: `title` (cut
    // to 63 characters) over `text` (cut to 255). Non-zero when the shell
    // took it; the icon itself does not change.
    int ShowBalloon(const wchar_t* title, const wchar_t* text);
    // Removes the icon; does nothing when it is absent.
    void DeleteIcon();
    // Adds the icon again as it was last shown, with its image and tooltip
    // (after the shell restarted and lost it). Needs an earlier AddIcon with
    // a live owner. When the shell still has the icon it is brought up to
    // date instead. Non-zero when the icon is shown afterwards.
    int ReAddIcon();

    // The owner's callback message: `wParam` carries the icon id, the low
    // word of `lParam` the mouse message. A left double-click sends the
    // first command of the menu whose id is the icon id to the owner.
    // Non-zero when the event was for this icon and handled.
    virtual LRESULT OnIconNotify(WPARAM wParam, LPARAM lParam);

    bool IsShown() const {
        return enabled_ != 0;
    }

private:
    BOOL CallShell(DWORD message);

    int enabled_ = 0;
    NOTIFYICONDATAW record_;
    ShellCall shell_;
    WideShellCall wideShell_;
};

// Copies UTF-8 `text` into `buffer` of `size` UTF-16 units, cut so that it
// ends on a whole character and is always zero-terminated.
void CopyTipText(wchar_t* buffer, size_t size, const char* text);

}  // namespace corv
