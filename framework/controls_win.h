// Thin wrappers over the standard and common controls of a dialog, on the
// control base CControl. Each offers only the calls the dialogs use.
//
// A wrapper is either only attached to a control (Attach: a handle, nothing
// more) or bound to it (CDialog::BindControl, or Bind). A bound control is
// the control's object: the notifications the control sends its dialog
// (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR*) are
// handed back to it first, through OnReflected, and only what it leaves
// reaches the dialog's message map. Binding runs OnBound, where a control
// can set its styles before it is first drawn.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "framework/message_map_win.h"
#include "framework/window_win.h"

namespace corv {

class CControl : public CWindow {
public:
    CControl() = default;
    ~CControl() override { Unbind(); }
    CControl(const CControl&) = delete;
    CControl& operator=(const CControl&) = delete;

    // Makes this object the control's object; false when `control` is not a
    // window or this object is already bound.
    bool Bind(HWND control);
    // Lets go of the control (the control itself stays).
    void Unbind();
    bool IsBound() const { return bound_; }

    // The bound control object of `control`, or null.
    static CControl* FromHandle(HWND control);

    // A notification of this control handed back by its dialog; true when
    // taken (then message.result is the answer).
    virtual bool OnReflected(Message&) { return false; }

protected:
    // The control has just been bound.
    virtual void OnBound() {}
    // The control's window is going away; the object lets go of it.
    void OnControlGone() {
        hwnd_ = nullptr;
        bound_ = false;
    }

private:
    bool bound_ = false;
};

inline bool CControl::Bind(HWND control) {
    if (bound_ || control == nullptr || !::IsWindow(control)) return false;
    hwnd_ = control;
    bound_ = true;
    SetWindowObject(control, this);
    OnBound();
    return true;
}

inline void CControl::Unbind() {
    if (!bound_) return;
    if (hwnd_ != nullptr && ::IsWindow(hwnd_)) ClearWindowObject(hwnd_, this);
    bound_ = false;
    hwnd_ = nullptr;
}

inline CControl* CControl::FromHandle(HWND control) {
    return dynamic_cast<CControl*>(GetWindowObject(control));
}

class CStatic : public CControl {
public:
    void SetIcon(HICON icon) { Send(STM_SETICON, reinterpret_cast<WPARAM>(icon)); }
};

class CButton : public CControl {
public:
    bool IsChecked() const { return Send(BM_GETCHECK) == BST_CHECKED; }
    void SetCheck(bool checked) { Send(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED); }
};

class CEdit : public CControl {
public:
    void SetLimitText(int characters) { Send(EM_SETLIMITTEXT, static_cast<WPARAM>(characters)); }
    void SetSelection(int start, int end) { Send(EM_SETSEL, start, end); }
};

class CComboBox : public CControl {
public:
    int AddString(const std::wstring& text) {
        return static_cast<int>(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
    }
    void ResetContent() { Send(CB_RESETCONTENT); }
    int GetCount() const { return static_cast<int>(Send(CB_GETCOUNT)); }
    // -1 when nothing is selected.
    int GetCurSel() const { return static_cast<int>(Send(CB_GETCURSEL)); }
    void SetCurSel(int index) { Send(CB_SETCURSEL, static_cast<WPARAM>(index)); }
    // The index of the item whose text is exactly `text`, or -1.
    int FindExact(const std::wstring& text) const {
        return static_cast<int>(Send(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(text.c_str())));
    }
    std::wstring GetItemText(int index) const {
        LRESULT length = Send(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
        if (length == CB_ERR || length <= 0) return std::wstring();
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        Send(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
        text.resize(static_cast<size_t>(length));
        return text;
    }
};

class CListCtrl : public CControl {
public:
    void SetExtendedStyle(DWORD style) { Send(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style); }
    // The new column's index, or -1 when the system refuses it.
    int InsertColumn(int index, const std::wstring& title, int width, int format = LVCFMT_LEFT,
                     int subItem = -1) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.pszText = const_cast<wchar_t*>(title.c_str());
        column.cx = width;
        column.fmt = format;
        if (subItem >= 0) {
            column.mask |= LVCF_SUBITEM;
            column.iSubItem = subItem;
        }
        return static_cast<int>(
            Send(LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column)));
    }
    int InsertItem(int index, const std::wstring& text) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = index;
        item.pszText = const_cast<wchar_t*>(text.c_str());
        return static_cast<int>(Send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    }
    bool SetItemText(int index, int column, const std::wstring& text) {
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = const_cast<wchar_t*>(text.c_str());
        return Send(LVM_SETITEMTEXTW, static_cast<WPARAM>(index),
                    reinterpret_cast<LPARAM>(&item)) != FALSE;
    }
    std::wstring GetItemText(int index, int column) const {
        std::vector<wchar_t> buffer(1024, L'\0');
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        const LRESULT length =
            Send(LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        return std::wstring(buffer.data(), length > 0 ? static_cast<size_t>(length) : 0);
    }
    int GetColumnWidth(int column) const {
        return static_cast<int>(Send(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column)));
    }
    // The item under `point` (client coordinates), or -1.
    int HitTest(POINT point) const {
        LVHITTESTINFO info{};
        info.pt = point;
        return static_cast<int>(Send(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    }
    void SetImageList(HIMAGELIST list, int kind) {
        Send(LVM_SETIMAGELIST, static_cast<WPARAM>(kind), reinterpret_cast<LPARAM>(list));
    }
    int GetItemCount() const { return static_cast<int>(Send(LVM_GETITEMCOUNT)); }
    void DeleteItem(int index) { Send(LVM_DELETEITEM, static_cast<WPARAM>(index)); }
    void DeleteAllItems() { Send(LVM_DELETEALLITEMS); }
    // The first selected item after `after` (-1: from the start), or -1.
    int GetNextSelected(int after = -1) const {
        return static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(after), LVNI_SELECTED));
    }
};

class CProgressCtrl : public CControl {
public:
    void SetRange(int low, int high) { Send(PBM_SETRANGE32, static_cast<WPARAM>(low), high); }
    void SetPos(int position) { Send(PBM_SETPOS, static_cast<WPARAM>(position)); }
    int GetPos() const { return static_cast<int>(Send(PBM_GETPOS)); }
    void SetStep(int step) { Send(PBM_SETSTEP, static_cast<WPARAM>(step)); }
    void StepIt() { Send(PBM_STEPIT); }
};

class CUpDown : public CControl {
public:
    void SetRange(int low, int high) { Send(UDM_SETRANGE32, static_cast<WPARAM>(low), high); }
    void SetPos(int position) { Send(UDM_SETPOS32, 0, position); }
    int GetPos() const { return static_cast<int>(Send(UDM_GETPOS32)); }
    void SetBuddy(HWND buddy) { Send(UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy)); }
};

}  // namespace corv
