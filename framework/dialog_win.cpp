#include "framework/dialog_win.h"

#include "framework/app_win.h"

namespace corv {

namespace {

// Messages whose answer is the dialog procedure's own return value; every
// other answer travels in DWLP_MSGRESULT.
bool AnswersDirectly(UINT id) {
    return (id >= WM_CTLCOLORMSGBOX && id <= WM_CTLCOLORSTATIC) || id == WM_COMPAREITEM ||
           id == WM_VKEYTOITEM || id == WM_CHARTOITEM || id == WM_QUERYDRAGICON ||
           id == WM_INITDIALOG;
}

}  // namespace

CDialog::CDialog(UINT templateId, HWND parent) : templateId_(templateId), parent_(parent) {}

CDialog::~CDialog() {
    if (!modal_ && IsWindow()) ::DestroyWindow(hwnd_);
}

INT_PTR CDialog::DoModal() {
    if (IsWindow()) return -1;
    modal_ = true;
    INT_PTR result = DialogBoxParamW(ResourceInstance(), MAKEINTRESOURCEW(templateId_),
                                     ResolveOwner(), DialogProc, reinterpret_cast<LPARAM>(this));
    modal_ = false;
    return result;
}

bool CDialog::Create() {
    if (IsWindow()) return true;
    modal_ = false;
    HWND window = CreateDialogParamW(ResourceInstance(), MAKEINTRESOURCEW(templateId_),
                                     ResolveOwner(), DialogProc, reinterpret_cast<LPARAM>(this));
    return window != nullptr;
}

void CDialog::EndDialog(INT_PTR result) {
    if (!IsWindow()) return;
    if (modal_)
        ::EndDialog(hwnd_, result);
    else
        ::DestroyWindow(hwnd_);
}

CDialog* CDialog::FromHandle(HWND window) {
    if (window == nullptr) return nullptr;
    return reinterpret_cast<CDialog*>(GetWindowLongPtrW(window, DWLP_USER));
}

HWND CDialog::ResolveOwner() const {
    return OwnerFor(parent_, this);
}

bool CDialog::RouteMessage(Message& message) {
    using Map = MessageMap<CDialog>;
    static const Map map = {
        Map::OnCommand(IDOK, &CDialog::OnOK),
        Map::OnCommand(IDCANCEL, &CDialog::OnCancel),
    };
    return map.Dispatch(*this, message);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT id, WPARAM wParam, LPARAM lParam) {
    CDialog* dialog = id == WM_INITDIALOG ? reinterpret_cast<CDialog*>(lParam) : nullptr;
    return HandleDialogMessage(dialog, window, id, wParam, lParam);
}

INT_PTR CDialog::HandleDialogMessage(CDialog* dialog, HWND window, UINT id, WPARAM wParam,
                                     LPARAM lParam) {
    if (id == WM_INITDIALOG) {
        if (dialog == nullptr) return FALSE;
        dialog->hwnd_ = window;
        SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(dialog));
    } else {
        // Messages that come before WM_INITDIALOG (WM_SETFONT) find no
        // object and get the default handling.
        dialog = FromHandle(window);
        if (dialog == nullptr) return FALSE;
    }
    INT_PTR answer = dialog->Dispatch(id, wParam, lParam);
    if (id == WM_NCDESTROY) {
        SetWindowLongPtrW(window, DWLP_USER, 0);
        dialog->hwnd_ = nullptr;
        try {
            dialog->OnWindowGone();
        } catch (...) {
        }
    }
    return answer;
}

INT_PTR CDialog::Dispatch(UINT id, WPARAM wParam, LPARAM lParam) {
    try {
        if (id == WM_INITDIALOG) return OnInitDialog();
        Message message{hwnd_, id, wParam, lParam, 0};
        if (!RouteMessage(message)) return FALSE;
        if (AnswersDirectly(id)) return message.result;
        SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, message.result);
        return TRUE;
    } catch (...) {
        // A handler that fails leaves its message to the default handling;
        // a dialog that cannot initialise ends before it is shown.
        if (id == WM_INITDIALOG) EndDialog(-1);
        return FALSE;
    }
}

}  // namespace corv
