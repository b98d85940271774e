// CDialog: a window made from a dialog template of the resources, run
// modally (DoModal) or modelessly (Create).
//
// To add a dialog: derive from CDialog, pass the template id to the
// constructor, override OnInitDialog to bind controls and fill them, and
// list the messages and commands the dialog handles in RouteMessage (see
// message_map_win.h). OnOK and OnCancel end a modal run with IDOK and
// IDCANCEL; override them to check or to refuse.
//
// The one dialog procedure of the framework stores the object's address at
// WM_INITDIALOG and sends every later message through the object's message
// map; an exception thrown by a handler never leaves the procedure.
#pragma once

#include <windows.h>

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
    // Binds a control wrapper to the dialog's control `id`.
    void BindControl(CWindow& control, int id) { control.Attach(GetDlgItem(id)); }

    // The dialog object of a window made by this framework, or null.
    static CDialog* FromHandle(HWND window);

protected:
    // WM_INITDIALOG; true lets the system put the focus on the first control.
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // The class's message map, then its base class's; true when handled.
    virtual bool RouteMessage(Message& message);
    // After the window is gone (WM_NCDESTROY). A modeless window that owns
    // its object may delete it here; nothing may touch the object after.
    virtual void OnWindowGone() {}

    // The owner the window gets: the parent given, else the main window.
    HWND ResolveOwner() const;

    // Shared by the procedures of dialogs and property pages: binds the
    // object at WM_INITDIALOG and dispatches everything else.
    static INT_PTR HandleDialogMessage(CDialog* dialog, HWND window, UINT id, WPARAM wParam,
                                       LPARAM lParam);

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT id, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT id, WPARAM wParam, LPARAM lParam);

    UINT templateId_;
    HWND parent_;
    bool modal_ = false;
};

}  // namespace corv
