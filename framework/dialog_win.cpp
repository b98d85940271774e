#include "framework/dialog_win.h"

#include <vector>

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

// The control a notification comes from, when it is one of the dialog's
// own children; null for menus and everything else.
HWND NotifyingControl(HWND dialog, const Message& m) {
    HWND control = nullptr;
    if (m.id == WM_COMMAND) {
        control = reinterpret_cast<HWND>(m.lParam);
    } else if (m.id == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(m.lParam);
        if (header != nullptr) control = header->hwndFrom;
    } else if (m.id == WM_DRAWITEM) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(m.lParam);
        if (item != nullptr && item->CtlType != ODT_MENU) control = item->hwndItem;
    } else if (m.id == WM_MEASUREITEM) {
        const auto* item = reinterpret_cast<const MEASUREITEMSTRUCT*>(m.lParam);
        if (item != nullptr && item->CtlType != ODT_MENU)
            control = ::GetDlgItem(dialog, static_cast<int>(item->CtlID));
    } else if (m.id >= WM_CTLCOLORMSGBOX && m.id <= WM_CTLCOLORSTATIC) {
        control = reinterpret_cast<HWND>(m.lParam);
    }
    if (control == nullptr || ::GetParent(control) != dialog) return nullptr;
    return control;
}

// The message filter of a modal run whose dialog ignores Enter and Escape:
// the system's dialog loop asks it about every message before the dialog
// manager sees it.
class IgnoredKeyFilter {
public:
    explicit IgnoredKeyFilter(bool wanted) {
        if (wanted) hook_ = SetWindowsHookExW(WH_MSGFILTER, Filter, nullptr, GetCurrentThreadId());
    }
    ~IgnoredKeyFilter() {
        if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
    }
    IgnoredKeyFilter(const IgnoredKeyFilter&) = delete;
    IgnoredKeyFilter& operator=(const IgnoredKeyFilter&) = delete;

private:
    static LRESULT CALLBACK Filter(int code, WPARAM wParam, LPARAM lParam) {
        const auto* message = reinterpret_cast<const MSG*>(lParam);
        if (code >= 0 && message != nullptr && IsIgnoredKey(*message)) return 1;
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    HHOOK hook_ = nullptr;
};

}  // namespace

CDialog::CDialog(UINT templateId, HWND parent) : templateId_(templateId), parent_(parent) {}

CDialog::~CDialog() {
    if (!modal_ && IsWindow()) ::DestroyWindow(hwnd_);
}

INT_PTR CDialog::DoModal() {
    if (IsWindow()) return -1;
    modal_ = true;
    IgnoredKeyFilter filter(IgnoresEnterAndEscape());
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
    return dynamic_cast<CDialog*>(GetWindowObject(window));
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
        SetWindowObject(window, dialog);
    } else {
        // Messages that come before WM_INITDIALOG (WM_SETFONT) find no
        // object and get the default handling.
        dialog = FromHandle(window);
        if (dialog == nullptr) return FALSE;
    }
    INT_PTR answer = dialog->Dispatch(id, wParam, lParam);
    if (id == WM_NCDESTROY) {
        ClearWindowObject(window, dialog);
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
        if (!ReflectToControl(message) && !RouteMessage(message)) return FALSE;
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

bool CDialog::ReflectToControl(Message& message) {
    HWND control = NotifyingControl(hwnd_, message);
    if (control == nullptr) return false;
    CControl* object = CControl::FromHandle(control);
    return object != nullptr && object->OnReflected(message);
}

// --- items -------------------------------------------------------------------

void CDialog::CheckItem(int id, bool checked) {
    ::CheckDlgButton(hwnd_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool CDialog::IsItemChecked(int id) const {
    return ::IsDlgButtonChecked(hwnd_, id) == BST_CHECKED;
}

void CDialog::CheckRadio(int first, int last, int id) {
    ::CheckRadioButton(hwnd_, first, last, id);
}

void CDialog::EnableItem(int id, bool enable) {
    HWND item = GetDlgItem(id);
    if (item != nullptr) ::EnableWindow(item, enable ? TRUE : FALSE);
}

void CDialog::EnableItems(std::initializer_list<int> ids, bool enable) {
    for (int id : ids) EnableItem(id, enable);
}

bool CDialog::IsItemEnabled(int id) const {
    HWND item = GetDlgItem(id);
    return item != nullptr && ::IsWindowEnabled(item) != FALSE;
}

void CDialog::SetItemInt(int id, int32_t value) {
    SetItemTextUtf8(id, std::to_string(value));
}

std::wstring CDialog::GetItemText(int id) const {
    return CWindow(GetDlgItem(id)).GetText();
}

void CDialog::SetItemText(int id, const std::wstring& text) {
    ::SetDlgItemTextW(hwnd_, id, text.c_str());
}

std::string CDialog::GetItemTextUtf8(int id) const {
    return CWindow(GetDlgItem(id)).GetTextUtf8();
}

void CDialog::SetItemTextUtf8(int id, const std::string& text) {
    SetItemText(id, Wide(text));
}

void CDialog::ApplyChanges(const std::vector<ControlChange>& changes) {
    for (const ControlChange& change : changes) {
        CControl* control = CControl::FromHandle(GetDlgItem(change.id));
        if (control != nullptr && control->TakeChange(change)) continue;
        switch (change.kind) {
            case ControlChange::Kind::Enable:
                EnableItem(change.id, change.on);
                break;
            case ControlChange::Kind::Check:
                CheckItem(change.id, change.on);
                break;
            case ControlChange::Kind::Text:
                SetItemTextUtf8(change.id, change.text);
                break;
            case ControlChange::Kind::Focus:
                if (HWND item = GetDlgItem(change.id)) ::SetFocus(item);
                break;
            case ControlChange::Kind::Flags:
                break;  // only a bound control knows its flags
        }
    }
}

}  // namespace corv
