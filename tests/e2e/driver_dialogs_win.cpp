// The driver's commands for the program's other windows: its dialogs and
// message boxes, its settings sheet, its tray menu, and windows of another
// program for the busy stop. Titles come in the ANSI code page, as the
// command line gives them, and are compared as wide text; texts are printed
// in UTF-8.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "driver_win.h"

namespace e2e {

namespace {

// The window titled Text(0), or its control Int(1) when there is one.
HWND Target(const Call& call) {
    HWND window = FindTitled(call.Text(0));
    if (window != nullptr && call.Has(1)) window = GetDlgItem(window, call.Int(1));
    return window;
}

int PrintText(HWND window) {
    if (window == nullptr) return 1;
    std::printf("%s\n", Utf8(WindowText(window)).c_str());
    return 0;
}

int WaitTitle(const Call& call, bool present) {
    const bool ok =
        WaitFor(call.Number(1), [&] { return (FindTitled(call.Text(0)) != nullptr) == present; });
    std::printf(ok ? "ok\n" : "timed out\n");
    return ok ? 0 : 1;
}

int PostTo(HWND window, UINT message, WPARAM wParam) {
    return window != nullptr && PostMessageW(window, message, wParam, 0) ? 0 : 1;
}

// The client area in screen coordinates: what the program paints.
int PrintClientRect(HWND window) {
    RECT r{};
    if (window == nullptr || !GetClientRect(window, &r)) return 1;
    POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
    MapWindowPoints(window, nullptr, corners, 2);
    std::printf("%ld %ld %ld %ld\n", corners[0].x, corners[0].y, corners[1].x, corners[1].y);
    return 0;
}

BOOL CALLBACK CollectTexts(HWND child, LPARAM param) {
    if (ClassName(child) == L"Static" && GetDlgCtrlID(child) == 0xFFFF)
        *reinterpret_cast<std::wstring*>(param) += WindowText(child);
    return TRUE;
}

// Prints a box's title and text, then presses its button `id`.
int PrintAndClick(HWND box, int id) {
    std::wstring text;
    EnumChildWindows(box, CollectTexts, reinterpret_cast<LPARAM>(&text));
    std::printf("%s\n%s\n", Utf8(WindowText(box)).c_str(), Utf8(text).c_str());
    return Click(box, id);
}

// Waits for a window of the program besides its main window that `match`
// accepts; null when none came within `timeout`.
template <typename Match>
HWND WaitForProgramWindow(DWORD timeout, Match match) {
    HWND found = nullptr;
    WaitFor(timeout, [&] {
        for (HWND window : ProgramWindows())
            if (match(window)) {
                found = window;
                return true;
            }
        return false;
    });
    return found;
}

int Answer(int button, DWORD timeout) {
    HWND question = WaitForProgramWindow(timeout, [button](HWND window) {
        if (button == IDOK) return GetDlgItem(window, IDOK) != nullptr;
        return GetDlgItem(window, IDYES) != nullptr && GetDlgItem(window, IDNO) != nullptr;
    });
    if (question == nullptr) {
        std::printf("no question\n");
        return 1;
    }
    return PrintAndClick(question, button);
}

LRESULT CALLBACK OtherProgramProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER || message == WM_CLOSE) {
        DestroyWindow(window);
        return 0;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

int OpenWindow(const char* title, UINT seconds, bool minimized) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = OtherProgramProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"CorvE2eOtherProgram";
    RegisterClassW(&windowClass);
    HWND window =
        CreateWindowExW(0, windowClass.lpszClassName, Wide(title).c_str(), WS_OVERLAPPEDWINDOW, 60,
                        60, 320, 200, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (window == nullptr) return 1;
    ShowWindow(window, minimized ? SW_SHOWMINNOACTIVE : SW_SHOWNORMAL);
    SetTimer(window, 1, seconds * 1000, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return 0;
}

int MenuKeys(const Call& call) {
    HWND menu = FindMenu();
    if (menu == nullptr) {
        std::printf("no menu\n");
        return 1;
    }
    for (int i = 0; i < call.count; ++i) {
        const std::string key = call.Text(i);
        // The menu's loop takes Enter as a character, the rest as key presses.
        if (key == "enter") {
            PostMessageW(menu, WM_CHAR, '\r', 1);
        } else {
            const WPARAM code = key == "down"     ? VK_DOWN
                                : key == "up"     ? VK_UP
                                : key == "escape" ? VK_ESCAPE
                                                  : 0;
            if (code == 0) return 2;
            PostMessageW(menu, WM_KEYDOWN, code, 1);
            PostMessageW(menu, WM_KEYUP, code, 0xC0000001);
        }
        Sleep(100);
    }
    return 0;
}

WPARAM KeyCode(const std::string& key) {
    return key == "enter"    ? VK_RETURN
           : key == "escape" ? VK_ESCAPE
           : key == "up"     ? VK_UP
           : key == "down"   ? VK_DOWN
           : key == "home"   ? VK_HOME
           : key == "end"    ? VK_END
                             : 0;
}

int PressKey(HWND window, const std::string& key) {
    const WPARAM code = KeyCode(key);
    if (window == nullptr || code == 0) return 2;
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    HWND target =
        GetGUIThreadInfo(thread, &info) && info.hwndFocus != nullptr ? info.hwndFocus : window;
    PostMessageW(target, WM_KEYDOWN, code, 1);
    PostMessageW(target, WM_KEYUP, code, 0xC0000001);
    return 0;
}

BOOL CALLBACK HasMessageText(HWND child, LPARAM param) {
    if (ClassName(child) == L"Static" && GetDlgCtrlID(child) == 0xFFFF &&
        !WindowText(child).empty()) {
        *reinterpret_cast<bool*>(param) = true;
        return FALSE;
    }
    return TRUE;
}

// A message box of the program: a dialog with an OK button and a text.
int AnswerMessageBox(DWORD timeout) {
    HWND box = WaitForProgramWindow(timeout, [](HWND window) {
        bool text = false;
        if (ClassName(window) != L"#32770" || GetDlgItem(window, IDOK) == nullptr) return false;
        EnumChildWindows(window, HasMessageText, reinterpret_cast<LPARAM>(&text));
        return text;
    });
    if (box == nullptr) {
        std::printf("no message box\n");
        return 1;
    }
    return PrintAndClick(box, IDOK);
}

int PageIndex(HWND sheet) {
    return static_cast<int>(
        SendMessageW(sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(CurrentPage(sheet)), 0));
}

// The window of the program that holds control `id`; prints its title.
int WaitControl(int id, DWORD timeout) {
    HWND holder = WaitForProgramWindow(
        timeout, [id](HWND window) { return GetDlgItem(window, id) != nullptr; });
    if (holder == nullptr) {
        std::printf("no such window\n");
        return 1;
    }
    std::printf("%s\n", Utf8(WindowText(holder)).c_str());
    return 0;
}

int SheetTabs(HWND sheet) {
    HWND tabs = sheet != nullptr
                    ? reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0))
                    : nullptr;
    if (tabs == nullptr) return 1;
    const int count = static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        SendMessageW(sheet, PSM_SETCURSEL, static_cast<WPARAM>(i), 0);
        std::printf("%d|%s\n", PageIndex(sheet), Utf8(WindowText(CurrentPage(sheet))).c_str());
    }
    return 0;
}

// The text of an edit field, asked of the control itself (WM_GETTEXT).
int PrintField(HWND control) {
    wchar_t text[512] = {};
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(control, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, kSendTimeout, &answer))
        return 1;
    std::printf("%s\n", Utf8(text).c_str());
    return 0;
}

// Flips a check box and reports the click to its page, as the mouse does.
int Toggle(const Call& call) {
    const bool checked = SendMessageW(call.control, BM_GETCHECK, 0, 0) == BST_CHECKED;
    SendMessageW(call.control, BM_SETCHECK, checked ? BST_UNCHECKED : BST_CHECKED, 0);
    return Click(call.page, call.Int(1));
}

}  // namespace

Commands DialogCommands() {
    const Needs any = Needs::Nothing, page = Needs::PageControl, control = Needs::WindowControl;
    return {
        {"wait-title", "TITLE MS", "wait for a visible window titled TITLE", any,
         [](const Call& c) { return WaitTitle(c, true); }},
        {"wait-no-title", "TITLE MS", "wait until none is left", any,
         [](const Call& c) { return WaitTitle(c, false); }},
        {"text", "TITLE [ID]", "the text of that window or of its control ID", any,
         [](const Call& c) { return PrintText(Target(c)); }},
        {"rect", "TITLE [ID]", "its screen rectangle \"L T R B\"", any,
         [](const Call& c) { return PrintRect(Target(c)); }},
        {"style", "TITLE ID", "the control's style and extended style, in hex", control,
         [](const Call& c) {
             std::printf("0x%08lx 0x%08lx\n",
                         static_cast<unsigned long>(GetWindowLongW(c.control, GWL_STYLE)),
                         static_cast<unsigned long>(GetWindowLongW(c.control, GWL_EXSTYLE)));
             return 0;
         }},
        {"click", "TITLE ID", "press button ID of that window", any,
         [](const Call& c) {
             HWND window = FindTitled(c.Text(0));
             return window != nullptr ? Click(window, c.Int(1)) : 1;
         }},
        {"close", "TITLE", "the window's close box (WM_CLOSE)", any,
         [](const Call& c) { return PostTo(FindTitled(c.Text(0)), WM_CLOSE, 0); }},
        {"syscommand-close", "TITLE", "the close box's command (SC_CLOSE)", any,
         [](const Call& c) { return PostTo(FindTitled(c.Text(0)), WM_SYSCOMMAND, SC_CLOSE); }},
        {"key", "TITLE KEY",
         "a key press (enter, escape, up, down, home, end) for the focused control of that "
         "window's thread",
         any, [](const Call& c) { return PressKey(FindTitled(c.Text(0)), c.Text(1)); }},
        {"set-text", "TITLE ID TEXT", "the text of control ID (WM_SETTEXT)", control,
         [](const Call& c) { return SetControlText(c.control, c.Text(2)); }},
        {"dialogs", "", "the program's visible windows other than the main one: \"CLASS|TITLE\"",
         any,
         [](const Call&) {
             for (HWND window : ProgramWindows())
                 std::printf("%s|%s\n", Utf8(ClassName(window)).c_str(),
                             Utf8(WindowText(window)).c_str());
             return 0;
         }},
        {"answer", "yes|no|ok MS",
         "wait for a question of the program (a dialog with Yes and No, or a message with OK), "
         "print its title and text, answer it",
         any,
         [](const Call& c) {
             const std::string choice = c.Text(0);
             const int button = choice == "yes" ? IDYES : choice == "no" ? IDNO : IDOK;
             if (choice != "yes" && choice != "no" && choice != "ok") return 2;
             return Answer(button, c.Number(1));
         }},
        {"message-box", "MS",
         "wait for a message box of the program, print its title and text, press its OK button",
         any, [](const Call& c) { return AnswerMessageBox(c.Number(0)); }},
        {"wait-control", "ID MS",
         "wait for a window of the program holding control ID; print "
         "its title",
         any, [](const Call& c) { return WaitControl(c.Int(0), c.Number(1)); }},
        {"open-window", "TITLE SECONDS [minimized]",
         "a visible window of another program, open for SECONDS", any,
         [](const Call& c) {
             return OpenWindow(c.Text(0), c.Number(1),
                               c.Has(2) && std::strcmp(c.Text(2), "minimized") == 0);
         }},
        {"menu-wait", "MS", "wait for an open pop-up menu; print its client area \"L T R B\"", any,
         [](const Call& c) {
             HWND menu = nullptr;
             if (!WaitFor(c.Number(0), [&] { return (menu = FindMenu()) != nullptr; })) {
                 std::printf("no menu\n");
                 return 1;
             }
             return PrintClientRect(menu);
         }},
        {"menu-gone", "MS", "wait until no pop-up menu is open", any,
         [](const Call& c) {
             const bool gone = WaitFor(c.Number(0), [] { return FindMenu() == nullptr; });
             std::printf(gone ? "gone\n" : "still open\n");
             return gone ? 0 : 1;
         }},
        {"menu-keys", "KEY...", "keys for the open menu: down, up, enter, escape", any,
         [](const Call& c) { return MenuKeys(c); }},
        {"sheet-tabs", "TITLE", "every page of a property sheet in turn: \"INDEX|PAGE TITLE\"", any,
         [](const Call& c) { return SheetTabs(FindTitled(c.Text(0))); }},
        {"sheet-page", "TITLE [INDEX]", "select page INDEX; print the index of the page on show",
         any,
         [](const Call& c) {
             HWND sheet = FindTitled(c.Text(0));
             if (sheet == nullptr) return 1;
             if (c.Has(1)) SendMessageW(sheet, PSM_SETCURSEL, c.Number(1), 0);
             std::printf("%d\n", PageIndex(sheet));
             return 0;
         }},
        {"page-text", "TITLE ID", "the text of control ID of the page on show", page,
         [](const Call& c) { return PrintText(c.control); }},
        {"page-field", "TITLE ID",
         "the text of control ID of the page on show, asked of the control itself (WM_GETTEXT: "
         "edit fields)",
         page, [](const Call& c) { return PrintField(c.control); }},
        {"page-set-text", "TITLE ID TEXT",
         "the text of control ID of the page on show (WM_SETTEXT)", page,
         [](const Call& c) { return SetControlText(c.control, c.Text(2)); }},
        {"page-enabled", "TITLE ID", "1 when that control is enabled", page,
         [](const Call& c) {
             std::printf("%d\n", IsWindowEnabled(c.control) ? 1 : 0);
             return 0;
         }},
        {"page-rect", "TITLE ID", "that control's screen rectangle \"L T R B\"", page,
         [](const Call& c) { return PrintRect(c.control); }},
        {"page-click", "TITLE ID", "press button ID of the page on show", page,
         [](const Call& c) { return Click(c.page, c.Int(1)); }},
        {"page-press", "TITLE ID",
         "a click of button ID of the page on show, as the mouse makes it (BM_CLICK): check "
         "boxes change their state",
         page, [](const Call& c) { return PostTo(c.control, BM_CLICK, 0); }},
        {"page-checked", "TITLE ID", "1 when check box ID of the page on show is set", page,
         [](const Call& c) {
             std::printf("%d\n", SendMessageW(c.control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
             return 0;
         }},
        {"page-toggle", "TITLE ID",
         "flip check box ID of the page on show and report the click, as the mouse does", page,
         [](const Call& c) { return Toggle(c); }},
    };
}

}  // namespace e2e
