// CLinkStatic on real static controls of a dialog (template 100): its
// defaults, style flags and frame, link mode, the colour, cursor and click
// messages it takes from its parent, painting, and letting go; and the
// About box run modally.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "framework/dialog_win.h"
#include "res/resource.h"
#include "widgets/about_dlg_win.h"
#include "widgets/link_label_logic.h"
#include "widgets/link_static_win.h"

namespace {

using corv::CLinkStatic;
using corv::Message;

LOGFONTW DefaultGuiFont() {
    LOGFONTW font{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    return font;
}

LOGFONTW FontOf(HFONT font) {
    LOGFONTW description{};
    GetObjectW(font, sizeof description, &description);
    return description;
}

// A modeless dialog on the About box's template whose labels are bound but
// left as they are; it notes what reaches its own message map.
class Host : public corv::CDialog {
public:
    Host() : CDialog(IDD_ABOUTBOX) {}
    CLinkStatic home;
    CLinkStatic mail;
    std::vector<HWND> seen;  // controls whose colour or command messages reached the map

protected:
    BOOL OnInitDialog() override {
        BindControl(home, IDC_HOMEPAGE);
        BindControl(mail, IDC_EMAIL);
        return TRUE;
    }
    bool RouteMessage(Message& message) override {
        if (message.id == WM_CTLCOLORSTATIC || message.id == WM_COMMAND)
            seen.push_back(reinterpret_cast<HWND>(message.lParam));
        return CDialog::RouteMessage(message);
    }
};

class LinkStaticTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Hidden: only the painting test shows it (hiding a shown window
        // costs two seconds under Wine).
        ASSERT_TRUE(host.Create());
        host.home.SetOpenCall([this](const std::string& t) { opened.push_back(t); });
        host.mail.SetOpenCall([this](const std::string& t) { opened.push_back(t); });
    }
    LONG Style(const CLinkStatic& label) const { return GetWindowLongW(label.Handle(), GWL_STYLE); }
    int Seen(const CLinkStatic& label) const {
        return static_cast<int>(std::count(host.seen.begin(), host.seen.end(), label.Handle()));
    }
    LRESULT Clicked(const CLinkStatic& label, int id) {
        return SendMessageW(host.Handle(), WM_COMMAND, MAKEWPARAM(id, STN_CLICKED),
                            reinterpret_cast<LPARAM>(label.Handle()));
    }

    Host host;
    std::vector<std::string> opened;
};

TEST(LinkStatic, ANewLabelUsesTheSystemsDefaults) {
    CLinkStatic label;
    EXPECT_EQ(0u, label.StyleFlags());
    EXPECT_FALSE(label.IsLink());
    EXPECT_EQ(nullptr, label.Cursor());
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), label.TextColor());
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), label.BackColor());
    ASSERT_NE(nullptr, label.Font());
    ASSERT_NE(nullptr, label.BackBrush());
    const LOGFONTW expected = DefaultGuiFont();
    EXPECT_EQ(0, std::memcmp(&expected, &label.FontDescription(), sizeof expected));
    EXPECT_EQ(expected.lfHeight, FontOf(label.Font()).lfHeight);
    EXPECT_STREQ(expected.lfFaceName, FontOf(label.Font()).lfFaceName);
}

TEST(LinkStatic, StyleFlagsMakeTheFont) {
    CLinkStatic label;
    label.SetLabelStyle(0, corv::kLabelBold);
    EXPECT_EQ(700, FontOf(label.Font()).lfWeight);
    label.SetLabelStyle(0, corv::kLabelItalic | corv::kLabelUnderline);
    label.SetLabelStyle(corv::kLabelBold, 0);
    const LOGFONTW font = FontOf(label.Font());
    EXPECT_EQ(400, font.lfWeight);
    EXPECT_EQ(1, font.lfItalic);
    EXPECT_EQ(1, font.lfUnderline);
    EXPECT_EQ(0, font.lfStrikeOut);
    EXPECT_EQ(corv::kLabelItalic | corv::kLabelUnderline, label.StyleFlags());
    // A bit both added and removed ends up removed.
    label.SetLabelStyle(corv::kLabelStrikeOut, corv::kLabelStrikeOut);
    EXPECT_EQ(0, FontOf(label.Font()).lfStrikeOut);
    // The face stays the one described.
    EXPECT_STREQ(DefaultGuiFont().lfFaceName, FontOf(label.Font()).lfFaceName);
}

TEST_F(LinkStaticTest, BorderAndSunkenEdgeComeAndGoAtOnce) {
    CLinkStatic& label = host.home;
    const RECT before = label.GetClientRect();
    label.SetLabelStyle(0, corv::kLabelBorder);
    EXPECT_NE(0, Style(label) & WS_BORDER);
    EXPECT_EQ(before.right - 2, label.GetClientRect().right);  // the frame takes its pixels
    label.SetLabelStyle(corv::kLabelBorder, corv::kLabelSunken);
    EXPECT_EQ(0, Style(label) & WS_BORDER);
    EXPECT_NE(0, GetWindowLongW(label.Handle(), GWL_EXSTYLE) & WS_EX_STATICEDGE);
    label.SetLabelStyle(corv::kLabelSunken, 0);
    EXPECT_EQ(0, GetWindowLongW(label.Handle(), GWL_EXSTYLE) & WS_EX_STATICEDGE);
    EXPECT_EQ(before.right, label.GetClientRect().right);
}

TEST_F(LinkStaticTest, LinkModeAddsNotifyHandBlueAndUnderline) {
    CLinkStatic& label = host.home;
    EXPECT_EQ(0, Style(label) & SS_NOTIFY);
    label.SetLink(true);
    EXPECT_TRUE(label.IsLink());
    EXPECT_NE(0, Style(label) & SS_NOTIFY);
    EXPECT_EQ(LoadCursor(nullptr, IDC_HAND), label.Cursor());
    EXPECT_EQ(static_cast<COLORREF>(16711680), label.TextColor());
    EXPECT_NE(0u, label.StyleFlags() & corv::kLabelUnderline);
    EXPECT_EQ(1, FontOf(label.Font()).lfUnderline);
    // The control draws with the label's font.
    EXPECT_EQ(reinterpret_cast<LRESULT>(label.Font()), label.Send(WM_GETFONT));

    label.SetLink(false);
    EXPECT_EQ(0, Style(label) & SS_NOTIFY);
    EXPECT_EQ(static_cast<COLORREF>(16711680), label.TextColor());
    EXPECT_EQ(1, FontOf(label.Font()).lfUnderline);
}

TEST_F(LinkStaticTest, ColourMessageOfItsOwnControlIsAnsweredByTheLabel) {
    host.home.SetLabelTextColor(RGB(1, 2, 3));
    HDC dc = CreateCompatibleDC(nullptr);
    const LRESULT brush =
        SendMessageW(host.Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(host.home.Handle()));
    EXPECT_EQ(reinterpret_cast<LRESULT>(host.home.BackBrush()), brush);
    EXPECT_EQ(RGB(1, 2, 3), GetTextColor(dc));
    EXPECT_EQ(TRANSPARENT, GetBkMode(dc));
    EXPECT_EQ(static_cast<HGDIOBJ>(host.home.Font()), GetCurrentObject(dc, OBJ_FONT));
    EXPECT_EQ(0, Seen(host.home));

    // The second label answers for its control with its own brush.
    host.mail.SetLabelBackColor(RGB(0, 0, 255));
    const LRESULT other =
        SendMessageW(host.Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(host.mail.Handle()));
    EXPECT_EQ(reinterpret_cast<LRESULT>(host.mail.BackBrush()), other);
    EXPECT_NE(brush, other);

    EXPECT_EQ(0, Seen(host.mail));

    // Another static goes to the dialog as before.
    HWND version = host.GetDlgItem(IDC_VERSION_TEXT);
    host.seen.clear();
    SendMessageW(host.Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(version));
    EXPECT_EQ(std::vector<HWND>{version}, host.seen);
    DeleteDC(dc);
}

// Counts the label's pixels of `color`, and gives its bottom-right one.
int CountPixels(HWND control, COLORREF color, COLORREF* corner) {
    RECT client{};
    GetClientRect(control, &client);
    HDC dc = GetDC(control);
    int count = 0;
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x)
            if (GetPixel(dc, x, y) == color) ++count;
    *corner = GetPixel(dc, client.right - 1, client.bottom - 1);
    ReleaseDC(control, dc);
    return count;
}

TEST_F(LinkStaticTest, PaintsInItsColoursOnScreen) {
    host.Show(SW_SHOWNOACTIVATE);
    host.home.SetLabelBackColor(RGB(0, 255, 0));
    host.home.SetLink(true);
    UpdateWindow(host.Handle());
    COLORREF corner = 0;
    // Blue text, with its underline, on green; the last column is past the
    // end of the short text.
    EXPECT_GT(CountPixels(host.home.Handle(), RGB(0, 0, 255), &corner), 30);
    EXPECT_EQ(RGB(0, 255, 0), corner);
    // The other label keeps the window-text colour on the button face.
    EXPECT_EQ(0, CountPixels(host.mail.Handle(), RGB(0, 0, 255), &corner));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), corner);
}

TEST_F(LinkStaticTest, HandCursorOnlyWithACursor) {
    const LPARAM overClient = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    const WPARAM control = reinterpret_cast<WPARAM>(host.home.Handle());
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    host.home.Send(WM_SETCURSOR, control, overClient);
    EXPECT_NE(LoadCursor(nullptr, IDC_HAND), GetCursor());
    host.home.SetLink(true);
    EXPECT_EQ(TRUE, host.home.Send(WM_SETCURSOR, control, overClient));
    EXPECT_EQ(LoadCursor(nullptr, IDC_HAND), GetCursor());
}

TEST_F(LinkStaticTest, ClicksOpenTheShownAddressOnlyInLinkMode) {
    // A new label reports no clicks, and a click report is ignored.
    host.home.Send(WM_LBUTTONDOWN, MK_LBUTTON, 0);
    host.home.Send(WM_LBUTTONUP, 0, 0);
    Clicked(host.home, IDC_HOMEPAGE);
    EXPECT_TRUE(opened.empty());

    host.home.SetLink(true);
    host.mail.SetLink(true);
    host.home.Send(WM_LBUTTONDOWN, MK_LBUTTON, 0);
    host.home.Send(WM_LBUTTONUP, 0, 0);
    Clicked(host.mail, IDC_EMAIL);
    const std::vector<std::string> expected = {"http://corv.example.org",
                                               "mailto:corv@example.org"};
    EXPECT_EQ(expected, opened);
    // The dialog never saw the clicks.
    EXPECT_EQ(0, Seen(host.home));
    EXPECT_EQ(0, Seen(host.mail));

    // A label that shows a program's path never starts it.
    host.home.SetTextUtf8("C:\\windows\\notepad.exe");
    Clicked(host.home, IDC_HOMEPAGE);
    EXPECT_EQ(2u, opened.size());

    host.mail.SetLink(false);
    host.mail.Send(WM_LBUTTONDOWN, MK_LBUTTON, 0);
    Clicked(host.mail, IDC_EMAIL);
    EXPECT_EQ(2u, opened.size());
}

TEST(LinkStatic, WhatWasSetBeforeBindingTakesEffectThen) {
    Host host;
    ASSERT_TRUE(host.Create());
    CLinkStatic late;
    late.SetLink(true);
    late.SetLabelStyle(0, corv::kLabelBorder);
    ASSERT_TRUE(host.BindControl(late, IDC_VERSION_TEXT));
    EXPECT_FALSE(late.Bind(host.GetDlgItem(IDC_VERSION_TEXT)));  // bound once
    const LONG style = GetWindowLongW(late.Handle(), GWL_STYLE);
    EXPECT_NE(0, style & SS_NOTIFY);
    EXPECT_NE(0, style & WS_BORDER);
    EXPECT_EQ(reinterpret_cast<LRESULT>(late.Font()), late.Send(WM_GETFONT));
    CLinkStatic nothing;
    EXPECT_FALSE(nothing.Bind(nullptr));
}

TEST(LinkStatic, LetsGoOfItsControlAndOfItsParent) {
    Host host;
    ASSERT_TRUE(host.Create());
    HWND control = host.GetDlgItem(IDC_VERSION_TEXT);
    {
        CLinkStatic label;
        ASSERT_TRUE(label.Bind(control));
        label.SetLabelStyle(0, corv::kLabelBold);
    }
    // The control lives on with a font that still exists, and its colour
    // message reaches the dialog again.
    EXPECT_EQ(reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT)),
              SendMessageW(control, WM_GETFONT, 0, 0));
    HDC dc = CreateCompatibleDC(nullptr);
    host.seen.clear();
    SendMessageW(host.Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(control));
    DeleteDC(dc);
    EXPECT_EQ(1, std::count(host.seen.begin(), host.seen.end(), control));

    // A window that goes first leaves the label unbound, not dangling.
    HWND window = host.Handle();
    host.EndDialog(0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(nullptr, host.home.Handle());
    EXPECT_EQ(nullptr, host.mail.Handle());
}

// --- the About box -------------------------------------------------------------

// Notes what the About box shows once it is initialised, then ends the run
// as the user would: with "확인" or with the close box.
class AboutProbe : public corv::CAboutDlg {
public:
    explicit AboutProbe(bool useCloseBox) : closeBox_(useCloseBox) {}
    std::wstring title;
    std::wstring version;
    bool linksNotify = false;
    bool linksBlue = false;
    RECT box{};

protected:
    BOOL OnInitDialog() override {
        const BOOL result = CAboutDlg::OnInitDialog();
        title = GetText();
        version = CWindow(GetDlgItem(IDC_VERSION_TEXT)).GetText();
        linksNotify = (GetWindowLongW(GetDlgItem(IDC_HOMEPAGE), GWL_STYLE) & SS_NOTIFY) != 0 &&
                      (GetWindowLongW(GetDlgItem(IDC_EMAIL), GWL_STYLE) & SS_NOTIFY) != 0;
        box = GetWindowRect();
        linksBlue = homePage.IsLink() && email.IsLink() && homePage.TextColor() == 16711680 &&
                    email.TextColor() == 16711680;
        if (closeBox_)
            Post(WM_SYSCOMMAND, SC_CLOSE, 0);
        else
            Post(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(IDOK)));
        return result;
    }

private:
    bool closeBox_;
};

TEST(AboutBox, ShowsTheVersionAndTwoLinksAndEndsWithOk) {
    AboutProbe about(false);
    EXPECT_EQ(1, about.DoModal());
    EXPECT_EQ(L"Corvalendrine v1.51 정보", about.title);
    EXPECT_EQ(L"Corvalendrine v1.51", about.version);
    EXPECT_TRUE(about.linksNotify);
    EXPECT_TRUE(about.linksBlue);
    // Centred on the work area, to a pixel.
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_LE(std::abs((about.box.left + about.box.right) - (area.left + area.right)), 1);
    EXPECT_LE(std::abs((about.box.top + about.box.bottom) - (area.top + area.bottom)), 1);
}

TEST(AboutBox, TheCloseBoxAnswersTwo) {
    AboutProbe about(true);
    EXPECT_EQ(2, about.DoModal());
    EXPECT_FALSE(about.IsWindow());
}

}  // namespace
