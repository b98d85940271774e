// Thin wrappers over the standard and common controls of a dialog. Each is
// a CWindow bound to the control with CDialog::BindControl (or Attach) and
// offers only the calls the dialogs use.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "framework/window_win.h"

namespace corv {

class CStatic : public CWindow {
public:
    void SetIcon(HICON icon) { Send(STM_SETICON, reinterpret_cast<WPARAM>(icon)); }
};

class CButton : public CWindow {
public:
    bool IsChecked() const { return Send(BM_GETCHECK) == BST_CHECKED; }
    void SetCheck(bool checked) { Send(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED); }
};

class CEdit : public CWindow {
public:
    void SetLimitText(int characters) { Send(EM_SETLIMITTEXT, static_cast<WPARAM>(characters)); }
    void SetSelection(int start, int end) { Send(EM_SETSEL, start, end); }
};

class CComboBox : public CWindow {
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

class CListView : public CWindow {
public:
    void SetExtendedStyle(DWORD style) { Send(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style); }
    int InsertColumn(int index, const std::wstring& title, int width) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<wchar_t*>(title.c_str());
        column.cx = width;
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
    void SetItemText(int index, int column, const std::wstring& text) {
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = const_cast<wchar_t*>(text.c_str());
        Send(LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    }
    int GetItemCount() const { return static_cast<int>(Send(LVM_GETITEMCOUNT)); }
    void DeleteItem(int index) { Send(LVM_DELETEITEM, static_cast<WPARAM>(index)); }
    void DeleteAllItems() { Send(LVM_DELETEALLITEMS); }
    // The first selected item after `after` (-1: from the start), or -1.
    int GetNextSelected(int after = -1) const {
        return static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(after), LVNI_SELECTED));
    }
};

class CProgress : public CWindow {
public:
    void SetRange(int low, int high) { Send(PBM_SETRANGE32, static_cast<WPARAM>(low), high); }
    void SetPos(int position) { Send(PBM_SETPOS, static_cast<WPARAM>(position)); }
    void SetStep(int step) { Send(PBM_SETSTEP, static_cast<WPARAM>(step)); }
    void StepIt() { Send(PBM_STEPIT); }
};

class CUpDown : public CWindow {
public:
    void SetRange(int low, int high) { Send(UDM_SETRANGE32, static_cast<WPARAM>(low), high); }
    void SetPos(int position) { Send(UDM_SETPOS32, 0, position); }
    int GetPos() const { return static_cast<int>(Send(UDM_GETPOS32)); }
    void SetBuddy(HWND buddy) { Send(UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy)); }
};

}  // namespace corv
