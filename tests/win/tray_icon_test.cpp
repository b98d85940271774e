// CTrayIcon's states and shell calls, with a recording shell and a real
// hidden owner window; one test with the real shell of the notification
// area.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "widgets/tray_icon_win.h"

namespace {

using corv::CTrayIcon;

constexpr UINT kCallback = WM_USER + 10;
constexpr UINT kIconId = 129;

struct ShellCall {
    DWORD message;
    NOTIFYICONDATAW record;
};

struct WideShellCall {
    DWORD message;
    NOTIFYICONDATAW record;
};

// A hidden window that keeps the WM_COMMAND ids it receives.
class OwnerWindow {
public:
    OwnerWindow() {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = Proc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "CorvTrayTestOwner";
        RegisterClassA(&windowClass);
        window = CreateWindowExA(0, windowClass.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr,
                                 nullptr, windowClass.hInstance, nullptr);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~OwnerWindow() { DestroyWindow(window); }

    HWND window = nullptr;
    std::vector<WPARAM> commands;

private:
    static LRESULT CALLBACK Proc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<OwnerWindow*>(GetWindowLongPtrA(w, GWLP_USERDATA));
        if (message == WM_COMMAND && self != nullptr) self->commands.push_back(wParam);
        return DefWindowProcA(w, message, wParam, lParam);
    }
};

class TrayIcon : public ::testing::Test {
protected:
    CTrayIcon::ShellCall Recorder() {
        return [this](DWORD message, NOTIFYICONDATAW* record) {
            calls.push_back({message, *record});
            return shellAnswer;
        };
    }
    CTrayIcon::WideShellCall WideRecorder() {
        return [this](DWORD message, NOTIFYICONDATAW* record) {
            wideCalls.push_back({message, *record});
            return shellAnswer;
        };
    }
    int Add(CTrayIcon& icon, const char* tip = "") {
        return icon.AddIcon(owner.window, kCallback, tip, nullptr, kIconId);
    }

    OwnerWindow owner;
    std::vector<ShellCall> calls;
    std::vector<WideShellCall> wideCalls;
    BOOL shellAnswer = TRUE;
};

TEST_F(TrayIcon, AbsentIconMakesNoShellCall) {
    CTrayIcon icon(Recorder());
    EXPECT_EQ(0, icon.SetTipText("x"));
    EXPECT_EQ(0, icon.SetIconResource(156));
    icon.DeleteIcon();
    EXPECT_EQ(0, icon.OnIconNotify(kIconId, WM_LBUTTONDBLCLK));
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(owner.commands.empty());
}

TEST_F(TrayIcon, AddFillsTheFirstFormOfTheRecord) {
    CTrayIcon icon(Recorder());
    ASSERT_EQ(1, Add(icon, "hello"));
    EXPECT_TRUE(icon.IsShown());
    ASSERT_EQ(1u, calls.size());
    const NOTIFYICONDATAW& r = calls[0].record;
    EXPECT_EQ(static_cast<DWORD>(NIM_ADD), calls[0].message);
    EXPECT_EQ(CTrayIcon::kRecordSize, r.cbSize);
    EXPECT_EQ(owner.window, r.hWnd);
    EXPECT_EQ(kIconId, r.uID);
    EXPECT_EQ(static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP), r.uFlags);
    EXPECT_EQ(kCallback, r.uCallbackMessage);
    EXPECT_STREQ(L"hello", r.szTip);
}

TEST_F(TrayIcon, AddNeedsALiveOwnerAndTheShellsConsent) {
    CTrayIcon icon(Recorder());
    EXPECT_EQ(0, icon.AddIcon(nullptr, kCallback, "", nullptr, kIconId));
    HWND gone =
        CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    EXPECT_EQ(0, icon.AddIcon(gone, kCallback, "", nullptr, kIconId));
    EXPECT_TRUE(calls.empty());

    shellAnswer = FALSE;
    EXPECT_EQ(0, Add(icon));
    EXPECT_FALSE(icon.IsShown());
    EXPECT_EQ(0, icon.SetTipText("after a refusal"));
    EXPECT_EQ(1u, calls.size());  // the refused NIM_ADD only
}

TEST_F(TrayIcon, ModifyCallsCarryOnlyTheirPart) {
    CTrayIcon icon(Recorder());
    ASSERT_EQ(1, Add(icon));
    EXPECT_EQ(1, icon.SetTipText("Corvalendrine v1.51\r\nMY IP: "));
    EXPECT_EQ(1, icon.SetIconResource(156));
    ASSERT_EQ(3u, calls.size());
    EXPECT_EQ(static_cast<DWORD>(NIM_MODIFY), calls[1].message);
    EXPECT_EQ(static_cast<UINT>(NIF_TIP), calls[1].record.uFlags);
    EXPECT_STREQ(L"Corvalendrine v1.51\r\nMY IP: ", calls[1].record.szTip);
    EXPECT_EQ(static_cast<UINT>(NIF_ICON), calls[2].record.uFlags);
    EXPECT_NE(nullptr, calls[2].record.hIcon);

    // A refused modify reports 0 and leaves the icon shown.
    shellAnswer = FALSE;
    EXPECT_EQ(0, icon.SetTipText("refused"));
    EXPECT_TRUE(icon.IsShown());
}

// After a shell restart the icon comes back as it was last shown: its
// current image and tooltip, with the callback; a shell that still has it
// brings it up to date instead; without an earlier add nothing happens.
TEST_F(TrayIcon, ReAddBringsBackTheCurrentImageAndTooltip) {
    CTrayIcon icon(Recorder());
    EXPECT_EQ(0, icon.ReAddIcon());
    EXPECT_TRUE(calls.empty());
    ASSERT_EQ(1, Add(icon, "first"));
    ASSERT_EQ(1, icon.SetIconResource(140));
    ASSERT_EQ(1, icon.SetTipText("Corvalendrine v1.51"));
    const HICON shown = calls.back().record.hIcon;
    calls.clear();
    EXPECT_EQ(1, icon.ReAddIcon());
    ASSERT_EQ(1u, calls.size());
    EXPECT_EQ(static_cast<DWORD>(NIM_ADD), calls[0].message);
    const NOTIFYICONDATAW& r = calls[0].record;
    EXPECT_EQ(static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP), r.uFlags);
    EXPECT_EQ(kCallback, r.uCallbackMessage);
    EXPECT_EQ(owner.window, r.hWnd);
    EXPECT_EQ(kIconId, r.uID);
    EXPECT_NE(nullptr, shown);
    EXPECT_EQ(shown, r.hIcon);
    EXPECT_STREQ(L"Corvalendrine v1.51", r.szTip);
}

TEST_F(TrayIcon, ReAddUpdatesAnIconTheShellStillHolds) {
    std::vector<DWORD> messages;
    CTrayIcon icon([&](DWORD message, NOTIFYICONDATAW*) {
        messages.push_back(message);
        return message == NIM_MODIFY ? TRUE : static_cast<BOOL>(messages.size() == 1);
    });
    ASSERT_EQ(1, Add(icon));
    EXPECT_EQ(1, icon.ReAddIcon());
    EXPECT_TRUE(icon.IsShown());
    EXPECT_EQ(messages, (std::vector<DWORD>{NIM_ADD, NIM_ADD, NIM_MODIFY}));
}

TEST_F(TrayIcon, IconResourcesAreLoadedAtTheSmallSize) {
    CTrayIcon icon(Recorder());
    ASSERT_EQ(1, Add(icon));
    for (UINT id : {156u, 137u, 138u, 139u, 140u, 141u, 142u, 143u}) {
        ASSERT_EQ(1, icon.SetIconResource(id)) << id;
        HICON handle = calls.back().record.hIcon;
        ASSERT_NE(nullptr, handle) << id;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(handle, &info)) << id;
        BITMAP bitmap{};
        GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
        EXPECT_EQ(GetSystemMetrics(SM_CXSMICON), bitmap.bmWidth) << id;
        if (info.hbmColor) DeleteObject(info.hbmColor);
        if (info.hbmMask) DeleteObject(info.hbmMask);
    }
}

TEST_F(TrayIcon, TheIconIsRemovedOnce) {
    {
        CTrayIcon icon(Recorder());
        ASSERT_EQ(1, Add(icon));
        icon.DeleteIcon();
        icon.DeleteIcon();
        EXPECT_FALSE(icon.IsShown());
    }
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ(static_cast<DWORD>(NIM_DELETE), calls[1].message);
    EXPECT_EQ(0u, calls[1].record.uFlags);

    calls.clear();
    {
        CTrayIcon icon(Recorder());
        ASSERT_EQ(1, Add(icon));
    }
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ(static_cast<DWORD>(NIM_DELETE), calls[1].message);
}

TEST_F(TrayIcon, OnlyALeftDoubleClickSendsTheFirstMenuCommand) {
    CTrayIcon icon(Recorder());
    ASSERT_EQ(1, Add(icon));
    EXPECT_EQ(0, icon.OnIconNotify(kIconId + 1, WM_LBUTTONDBLCLK));
    for (UINT mouse : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_MOUSEMOVE})
        EXPECT_EQ(1, icon.OnIconNotify(kIconId, mouse)) << mouse;
    EXPECT_TRUE(owner.commands.empty());

    // Only the low word of the event counts.
    EXPECT_EQ(1, icon.OnIconNotify(kIconId, MAKELPARAM(WM_LBUTTONDBLCLK, 7)));
    ASSERT_EQ(1u, owner.commands.size());
    EXPECT_EQ(32778u, owner.commands[0]);
}

TEST_F(TrayIcon, WithoutTheMenuADoubleClickDoesNothing) {
    CTrayIcon icon(Recorder());
    ASSERT_EQ(1, icon.AddIcon(owner.window, kCallback, "", nullptr, 4321));
    EXPECT_EQ(0, icon.OnIconNotify(4321, WM_LBUTTONDBLCLK));
    EXPECT_TRUE(owner.commands.empty());
}

// The balloon is a modify of the shown icon through the wide call, with
// only the balloon's part; Korean texts arrive as they were given.
TEST_F(TrayIcon, TheBalloonIsAWideModifyOfTheShownIcon) {
    CTrayIcon icon(Recorder(), WideRecorder());
    EXPECT_EQ(0, icon.ShowBalloon(L"title", L"text"));
    EXPECT_TRUE(wideCalls.empty());

    ASSERT_EQ(1, Add(icon, "tip"));
    EXPECT_EQ(1, icon.ShowBalloon(L"실행 중", L"알림 영역에서 실행됩니다"));
    ASSERT_EQ(1u, wideCalls.size());
    EXPECT_EQ(1u, calls.size());  // the add alone
    EXPECT_EQ(static_cast<DWORD>(NIM_MODIFY), wideCalls[0].message);
    const NOTIFYICONDATAW& r = wideCalls[0].record;
    EXPECT_EQ(CTrayIcon::kBalloonRecordSize, r.cbSize);
    EXPECT_EQ(owner.window, r.hWnd);
    EXPECT_EQ(kIconId, r.uID);
    EXPECT_EQ(static_cast<UINT>(NIF_INFO), r.uFlags);
    EXPECT_EQ(static_cast<DWORD>(NIIF_INFO), r.dwInfoFlags);
    EXPECT_EQ(std::wstring(L"실행 중"), r.szInfoTitle);
    EXPECT_EQ(std::wstring(L"알림 영역에서 실행됩니다"), r.szInfo);

    // A refused balloon reports 0 and leaves the icon shown.
    shellAnswer = FALSE;
    EXPECT_EQ(0, icon.ShowBalloon(L"title", L"text"));
    EXPECT_TRUE(icon.IsShown());
    icon.DeleteIcon();
    wideCalls.clear();
    EXPECT_EQ(0, icon.ShowBalloon(L"title", L"text"));
    EXPECT_TRUE(wideCalls.empty());
}

TEST_F(TrayIcon, BalloonTextsAreCutToTheirMembers) {
    CTrayIcon icon(Recorder(), WideRecorder());
    ASSERT_EQ(1, Add(icon));
    const std::wstring title(100, L'가');
    const std::wstring text(300, L'나');
    ASSERT_EQ(1, icon.ShowBalloon(title.c_str(), text.c_str()));
    ASSERT_EQ(1u, wideCalls.size());
    EXPECT_EQ(std::wstring(63, L'가'), wideCalls[0].record.szInfoTitle);
    EXPECT_EQ(std::wstring(255, L'나'), wideCalls[0].record.szInfo);
    ASSERT_EQ(1, icon.ShowBalloon(nullptr, nullptr));
    EXPECT_EQ(std::wstring(), wideCalls[1].record.szInfo);
}

TEST(TrayTipText, NeverRunsPastSixtyFourUnits) {
    wchar_t buffer[80];
    std::wmemset(buffer, L'#', 80);
    const std::string longText(200, 'a');
    corv::CopyTipText(buffer, CTrayIcon::kTipUnits, longText.c_str());
    EXPECT_EQ(std::wstring(63, L'a'), std::wstring(buffer));
    for (size_t i = CTrayIcon::kTipUnits; i < 80; ++i) ASSERT_EQ(L'#', buffer[i]) << i;

    corv::CopyTipText(buffer, CTrayIcon::kTipUnits, nullptr);
    EXPECT_STREQ(L"", buffer);
}

TEST(TrayTipText, ShowsEveryScriptAndKeepsPairsWhole) {
    wchar_t buffer[64];
    // Thai, Vietnamese and Japanese in one tip, whatever the code page.
    corv::CopyTipText(buffer, 64, "\xE0\xB8\x97\xE0\xB8\xB0 H\xE1\xBB\x93 \xE5\x86\x99");
    EXPECT_STREQ(L"\u0E17\u0E30 H\u1ED3 \u5199", buffer);
    // 62 letters and an emoji (two units) make 64: the emoji goes whole.
    const std::string sunrise = "\xF0\x9F\x8C\x85";
    corv::CopyTipText(buffer, 64, (std::string(62, 'a') + sunrise).c_str());
    EXPECT_EQ(std::wstring(62, L'a'), std::wstring(buffer));
    corv::CopyTipText(buffer, 64, (std::string(61, 'a') + sunrise).c_str());
    EXPECT_EQ(std::wstring(61, L'a') + L"\U0001F305", std::wstring(buffer));
}

TEST(TrayIconShell, TheRealShellTakesAndDropsTheIcon) {
    if (FindWindowA("Shell_TrayWnd", nullptr) == nullptr)
        GTEST_SKIP() << "no notification area on this desktop";
    OwnerWindow owner;
    CTrayIcon icon;
    ASSERT_EQ(1, icon.AddIcon(owner.window, kCallback, "", nullptr, kIconId));
    EXPECT_EQ(1, icon.SetIconResource(156));
    EXPECT_EQ(1, icon.SetTipText("Corvalendrine v1.51"));
    icon.DeleteIcon();
    EXPECT_FALSE(icon.IsShown());
}

}  // namespace
