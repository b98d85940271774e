#include "framework/window_win.h"

namespace corv {

namespace {

const wchar_t kObjectProperty[] = L"corv.object";

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

}  // namespace corv
