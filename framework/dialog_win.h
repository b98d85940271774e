// CDialog: a window made from a dialog template of the resources, run
// modally (DoModal) or modelessly (Create).
//
// To add a dialog: derive from CDialog, pass the template id to the
// constructor, override OnInitDialog to bind controls and fill them, and
// list the messages and commands the dialog handles in RouteMessage (see
// message_map_win.h). OnOK and OnCancel end a modal run with IDOK and
// IDCANCEL; override them to check or to refuse. A dialog on which Enter
// and Escape do nothing says so with IgnoresEnterAndEscape: its modal run
// then drops their key-downs before the dialog manager presses a button.
//
// The one dialog procedure of the framework attaches the object to its
// window at WM_INITDIALOG (SetWindowObject) and sends every later message
// through the object's message map; an exception thrown by a handler never
// leaves the procedure. A notification of a bound control (BindControl) goes
// to that control first (see CControl).
#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "framework/control_change.h"
#include "framework/controls_win.h"
#include "framework/message_map_win.h"
#include "framework/window_win.h"

namespace corv {

class CDialog : public CWindow {
public:
    // `parent` may be null: a modal or modeless dialog is then owned by the
    // application's main window, when it has one.
    explicit CDialog(UINT templateId, HWND parent = nullptr);
    // A modeless window still open is destroyed.
    ~CDialog() override;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog until EndDialog; returns its result, or -1 when the
    // window could not be made.
    INT_PTR DoModal();
    // Makes the modeless window (hidden unless the template says visible).
    bool Create();
    // Ends a modal run with `result`; destroys a modeless window.
    void EndDialog(INT_PTR result);

    UINT TemplateId() const { return templateId_; }
    // Binds a control object to the dialog's control `id` (see CControl).
    bool BindControl(CControl& control, int id) { return control.Bind(GetDlgItem(id)); }

    // --- items of the dialog -------------------------------------------
    void CheckItem(int id, bool checked);
    bool IsItemChecked(int id) const;
    // Checks `id` and clears the other radio buttons first..last.
    void CheckRadio(int first, int last, int id);
    void EnableItem(int id, bool enable);
    void EnableItems(std::initializer_list<int> ids, bool enable);
    bool IsItemEnabled(int id) const;
    void SetItemInt(int id, int32_t value);
    std::wstring GetItemText(int id) const;
    void SetItemText(int id, const std::wstring& text);
    // The same in UTF-8.
    std::string GetItemTextUtf8(int id) const;
    void SetItemTextUtf8(int id, const std::string& text);
    // Applies a decision's changes in order; a bound control is offered
    // each of its changes first (CControl::TakeChange).
    void ApplyChanges(const std::vector<ControlChange>& changes);

    // True while the dialog fills its controls (see FillGuard): handlers of
    // change notifications (EN_CHANGE) then do nothing.
    bool IsFilling() const { return filling_ > 0; }
    class FillGuard {
    public:
        explicit FillGuard(CDialog& dialog) : dialog_(dialog) { ++dialog_.filling_; }
        ~FillGuard() { --dialog_.filling_; }
        FillGuard(const FillGuard&) = delete;
        FillGuard& operator=(const FillGuard&) = delete;

    private:
        CDialog& dialog_;
    };

    // The dialog object of a window made by this framework, or null.
    static CDialog* FromHandle(HWND window);

protected:
    // WM_INITDIALOG; true lets the system put the focus on the first control.
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // The class's message map, then its base class's; true when handled.
    bool RouteMessage(Message& message) override;

    // The owner the window gets: the parent given, else the main window.
    HWND ResolveOwner() const;

    // Shared by the procedures of dialogs and property pages: binds the
    // object at WM_INITDIALOG and dispatches everything else.
    static INT_PTR HandleDialogMessage(CDialog* dialog, HWND window, UINT id, WPARAM wParam,
                                       LPARAM lParam);

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT id, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT id, WPARAM wParam, LPARAM lParam);
    // Hands a control's notification to its bound object; true when taken.
    bool ReflectToControl(Message& message);

    UINT templateId_;
    HWND parent_;
    bool modal_ = false;
    int filling_ = 0;
};

}  // namespace corv
