// CAboutDlg: the About box (dialog 100). It shows the program icon, the
// version text, the credit line, and two links: the home page and the
// e-mail address. Run modally; "확인" ends it with 1, the close box with 2.
#pragma once

#include <windows.h>

#include "framework/dialog_win.h"
#include "widgets/link_static_win.h"

namespace corv {

class CAboutDlg : public CDialog {
public:
    CAboutDlg();

protected:
    BOOL OnInitDialog() override;

    CLinkStatic homePage;  // control 1071
    CLinkStatic email;     // control 1111
};

}  // namespace corv
