// CWindow: a thin handle to a window that someone else owns. Copying it
// copies the handle; it never destroys the window.
//
// Texts come in two forms: wide strings, as the system takes them, and
// UTF-8 strings (paths and stored texts), converted by base/text_win.h.
//
// An object of the framework is attached to its window in one way: a window
// property holding the object's address (SetWindowObject). A window whose
// procedure is the system's (a property sheet, a standard control) hands its
// messages to its object through SubclassWindow, which finds the object the
// same way.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "base/text_win.h"

namespace corv {

// One message as the framework hands it to an object.
struct Message {
    HWND window = nullptr;
    UINT id = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    LRESULT result = 0;  // the answer, when a handler takes the message
};

class CWindow {
public:
    CWindow() = default;
    explicit CWindow(HWND window) : hwnd_(window) {}
    virtual ~CWindow() = default;

    HWND Handle() const { return hwnd_; }
    void Attach(HWND window) { hwnd_ = window; }
    HWND Detach() {
        HWND window = hwnd_;
        hwnd_ = nullptr;
        return window;
    }
    // True while the handle names a live window.
    bool IsWindow() const { return hwnd_ != nullptr && ::IsWindow(hwnd_) != FALSE; }

    HWND GetDlgItem(int id) const { return ::GetDlgItem(hwnd_, id); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(hwnd_); }
    HWND GetParent() const { return ::GetParent(hwnd_); }

    std::wstring GetText() const {
        int length = ::GetWindowTextLengthW(hwnd_);
        if (length <= 0) return std::wstring();
        std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
        int got = ::GetWindowTextW(hwnd_, buffer.data(), length + 1);
        return std::wstring(buffer.data(), got > 0 ? static_cast<size_t>(got) : 0);
    }
    void SetText(const std::wstring& text) { ::SetWindowTextW(hwnd_, text.c_str()); }
    // The same in UTF-8.
    std::string GetTextUtf8() const { return Utf8(GetText()); }
    void SetTextUtf8(const std::string& text) { SetText(Wide(text)); }

    bool Show(int command) { return ::ShowWindow(hwnd_, command) != FALSE; }
    void Enable(bool enable) { ::EnableWindow(hwnd_, enable ? TRUE : FALSE); }
    bool IsEnabled() const { return ::IsWindowEnabled(hwnd_) != FALSE; }
    void SetFocus() { ::SetFocus(hwnd_); }
    bool SetForeground() { return ::SetForegroundWindow(hwnd_) != FALSE; }
    void Invalidate(bool erase = true) { ::InvalidateRect(hwnd_, nullptr, erase ? TRUE : FALSE); }
    // Invalidates and erases the whole window and paints it at once.
    void RedrawNow() {
        ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }

    RECT GetWindowRect() const {
        RECT r{};
        ::GetWindowRect(hwnd_, &r);
        return r;
    }
    RECT GetClientRect() const {
        RECT r{};
        ::GetClientRect(hwnd_, &r);
        return r;
    }
    bool SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags) {
        return ::SetWindowPos(hwnd_, after, x, y, cx, cy, flags) != FALSE;
    }

    LONG_PTR GetStyle() const { return ::GetWindowLongPtrW(hwnd_, GWL_STYLE); }
    LONG_PTR GetExStyle() const { return ::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE); }
    // Style bits: new = (old & ~remove) | add.
    void ModifyStyle(LONG_PTR remove, LONG_PTR add) {
        ::SetWindowLongPtrW(hwnd_, GWL_STYLE, (GetStyle() & ~remove) | add);
    }
    void ModifyExStyle(LONG_PTR remove, LONG_PTR add) {
        ::SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, (GetExStyle() & ~remove) | add);
    }

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageW(hwnd_, message, wParam, lParam);
    }
    bool Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::PostMessageW(hwnd_, message, wParam, lParam) != FALSE;
    }

    void SetIcon(HICON icon, bool big) {
        Send(WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
    bool SetTimer(UINT_PTR id, UINT milliseconds) {
        return ::SetTimer(hwnd_, id, milliseconds, nullptr) != 0;
    }
    void KillTimer(UINT_PTR id) { ::KillTimer(hwnd_, id); }

    // Moves the window to the middle of the screen's work area (the screen
    // less the task bar), keeping its size.
    void CentreOnWorkArea() {
        RECT area{};
        if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0)) return;
        const RECT box = GetWindowRect();
        const int x = area.left + ((area.right - area.left) - (box.right - box.left)) / 2;
        const int y = area.top + ((area.bottom - area.top) - (box.bottom - box.top)) / 2;
        SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    // True when Enter and Escape do nothing in this window and its child
    // windows: a modal loop drops their key-downs before the dialog manager
    // turns them into button presses (see IsIgnoredKey).
    virtual bool IgnoresEnterAndEscape() const { return false; }

protected:
    // The window's own messages: a dialog's message map, or a subclassed
    // window's handling before the window's own procedure. True when taken
    // (message.result is then the answer).
    virtual bool RouteMessage(Message&) { return false; }
    // After the window is gone (WM_NCDESTROY), the handle already let go.
    // A modeless window that owns its object may delete it here; nothing
    // may touch the object after.
    virtual void OnWindowGone() {}

    // Attaches this object to `window` (SetWindowObject) and hands every
    // message of the window to RouteMessage before the window's own
    // procedure, until the window is gone. Doing it again changes nothing.
    bool SubclassWindow(HWND window);
    // Gives the window its own procedure back (nothing when not subclassed).
    void UnsubclassWindow();

    HWND hwnd_ = nullptr;

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT id, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR subclassId, DWORD_PTR);
};

// The one way an object of the framework is attached to its window: a
// window property holding the object's address. Dialogs, pages, sheets and
// bound controls all use it, so any window of the program can be asked for
// its object.
void SetWindowObject(HWND window, CWindow* object);
// The object attached to `window`, or null.
CWindow* GetWindowObject(HWND window);
// Lets go of the attachment, but only when `object` is the one attached.
void ClearWindowObject(HWND window, const CWindow* object);

// The wait cursor while the object lives; the cursor shown before it comes
// back afterwards.
class CWaitCursor {
public:
    CWaitCursor() : previous_(::SetCursor(::LoadCursor(nullptr, IDC_WAIT))) {}
    ~CWaitCursor() { ::SetCursor(previous_); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    HCURSOR previous_;
};

// True for a key-down of Enter or Escape in a window whose top-level window
// ignores them (IgnoresEnterAndEscape): every modal loop of the framework
// drops such a message.
bool IsIgnoredKey(const MSG& message);

}  // namespace corv
