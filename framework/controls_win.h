// Thin wrappers over the standard and common controls of a dialog, on the
// control base CControl. Each offers only the calls the dialogs use.
//
// A wrapper is either only attached to a control (Attach: a handle, nothing
// more) or bound to it (CDialog::BindControl, or Bind). A bound control is
// the control's object: the notifications the control sends its dialog
// (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR*) are
// handed back to it first, through OnReflected, and only what it leaves
// reaches the dialog's message map; so are the changes a decision makes to
// it (CDialog::ApplyChanges, TakeChange). Binding runs OnBound, where a
// control can set its styles before it is first drawn. A control that must
// answer messages of its own window (the cursor over it) subclasses it
// (SubclassWindow) and lists them in RouteMessage.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/control_change.h"
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

    // The bound control object of `control`, or null.
    static CControl* FromHandle(HWND control);

    // A notification of this control handed back by its dialog; true when
    // taken (then message.result is the answer).
    virtual bool OnReflected(Message&) { return false; }
    // A change the dialog applies to this control; true when the control
    // made it itself (the dialog makes the others: enabling, ticks, text).
    virtual bool TakeChange(const ControlChange&) { return false; }

protected:
    // The control has just been bound.
    virtual void OnBound() {}
    // A subclassed control's window is gone.
    void OnWindowGone() override { bound_ = false; }

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
    UnsubclassWindow();
    if (hwnd_ != nullptr && ::IsWindow(hwnd_)) ClearWindowObject(hwnd_, this);
    bound_ = false;
    hwnd_ = nullptr;
}

inline CControl* CControl::FromHandle(HWND control) {
    return dynamic_cast<CControl*>(GetWindowObject(control));
}

class CStatic : public CControl {};

class CButton : public CControl {};

// CPreview: a static control whose picture its dialog draws. Binding makes
// it owner-drawn; its draw-item notice calls the draw function with the
// control's device context and rectangle.
class CPreview : public CStatic {
public:
    using DrawCall = std::function<void(HDC dc, const RECT& area)>;

    void SetDraw(DrawCall draw) { draw_ = std::move(draw); }
    // Invalidates the whole control, erasing it: the next paint draws it.
    void Repaint() {
        if (IsWindow()) Invalidate(true);
    }

    bool OnReflected(Message& message) override {
        if (message.id != WM_DRAWITEM) return false;
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(message.lParam);
        if (draw_) draw_(item.hDC, item.rcItem);
        message.result = TRUE;
        return true;
    }

protected:
    void OnBound() override { ModifyStyle(SS_TYPEMASK, SS_OWNERDRAW); }

private:
    DrawCall draw_;
};

class CComboBox : public CControl {
public:
    int AddString(const std::wstring& text) {
        return static_cast<int>(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
    }
    // -1 when nothing is selected.
    int GetCurSel() const { return static_cast<int>(Send(CB_GETCURSEL)); }
    void SetCurSel(int index) { Send(CB_SETCURSEL, static_cast<WPARAM>(index)); }
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
    void DeleteAllItems() { Send(LVM_DELETEALLITEMS); }
};

class CProgressCtrl : public CControl {
public:
    void SetRange(int low, int high) { Send(PBM_SETRANGE32, static_cast<WPARAM>(low), high); }
    void SetPos(int position) { Send(PBM_SETPOS, static_cast<WPARAM>(position)); }
    void SetStep(int step) { Send(PBM_SETSTEP, static_cast<WPARAM>(step)); }
    void StepIt() { Send(PBM_STEPIT); }
};

class CUpDown : public CControl {
public:
    void SetRange(int low, int high) { Send(UDM_SETRANGE32, static_cast<WPARAM>(low), high); }
};

}  // namespace corv
