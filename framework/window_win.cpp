#include "framework/window_win.h"

#include <commctrl.h>

namespace corv {

namespace {

const wchar_t kObjectProperty[] = L"corv.object";

// The framework's one subclass of a window.
constexpr UINT_PTR kSubclassId = 1;

}  // namespace

void SetWindowObject(HWND window, CWindow* object) {
    if (window == nullptr) return;
    if (object == nullptr)
        ::RemovePropW(window, kObjectProperty);
    else
        ::SetPropW(window, kObjectProperty, object);
}

CWindow* GetWindowObject(HWND window) {
    if (window == nullptr) return nullptr;
    return static_cast<CWindow*>(::GetPropW(window, kObjectProperty));
}

void ClearWindowObject(HWND window, const CWindow* object) {
    if (window != nullptr && GetWindowObject(window) == object)
        ::RemovePropW(window, kObjectProperty);
}

bool IsIgnoredKey(const MSG& message) {
    if (message.message != WM_KEYDOWN || message.hwnd == nullptr) return false;
    if (message.wParam != VK_RETURN && message.wParam != VK_ESCAPE) return false;
    const CWindow* top = GetWindowObject(::GetAncestor(message.hwnd, GA_ROOT));
    return top != nullptr && top->IgnoresEnterAndEscape();
}

bool CWindow::SubclassWindow(HWND window) {
    if (window == nullptr || !::IsWindow(window)) return false;
    hwnd_ = window;
    SetWindowObject(window, this);
    return ::SetWindowSubclass(window, SubclassProc, kSubclassId, 0) != FALSE;
}

void CWindow::UnsubclassWindow() {
    if (hwnd_ != nullptr && ::IsWindow(hwnd_))
        ::RemoveWindowSubclass(hwnd_, SubclassProc, kSubclassId);
}

LRESULT CALLBACK CWindow::SubclassProc(HWND window, UINT id, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR) {
    CWindow* object = GetWindowObject(window);
    if (id == WM_NCDESTROY) {
        ::RemoveWindowSubclass(window, SubclassProc, kSubclassId);
        if (object != nullptr) {
            ClearWindowObject(window, object);
            object->hwnd_ = nullptr;
            try {
                object->OnWindowGone();
            } catch (...) {
            }
        }
        return ::DefSubclassProc(window, id, wParam, lParam);
    }
    if (object != nullptr) {
        Message message{window, id, wParam, lParam, 0};
        bool handled = false;
        try {
            handled = object->RouteMessage(message);
        } catch (...) {
            handled = false;
        }
        if (handled) return message.result;
    }
    return ::DefSubclassProc(window, id, wParam, lParam);
}

}  // namespace corv
