// The driver's commands for the program's other windows: its dialogs and
// message boxes, its tray menu, and windows of another program for the
// busy stop. Included by driver.cpp only.
//
//   e2e_driver post MSG WPARAM LPARAM    post a message to the main window
//   e2e_driver wait-title TITLE MS       wait for a visible window titled TITLE
//   e2e_driver wait-no-title TITLE MS    wait until none is left
//   e2e_driver text TITLE [ID]           the text of that window or of its
//                                        control ID (UTF-8)
//   e2e_driver rect TITLE [ID]           its screen rectangle "L T R B"
//   e2e_driver style TITLE ID            the control's style, in hex
//   e2e_driver click TITLE ID            press button ID of that window
//   e2e_driver close TITLE               the window's close box (WM_CLOSE)
//   e2e_driver dialogs                   the program's visible windows other
//                                        than the main one: "CLASS|TITLE"
//   e2e_driver answer yes|no|ok MS       wait for a question of the program
//                                        (a dialog with Yes and No, or a
//                                        message with OK), print its title
//                                        and text, answer it
//   e2e_driver open-window TITLE SECONDS [minimized]
//                                        a visible window of another program,
//                                        open for SECONDS
//   e2e_driver menu-wait MS              wait for an open pop-up menu; print
//                                        its client area on the screen
//                                        "L T R B"
//   e2e_driver menu-gone MS              wait until no pop-up menu is open
//   e2e_driver menu-keys KEY...          keys for the open menu: down, up,
//                                        enter, escape
//   e2e_driver key TITLE KEY             a key press (enter, escape, up, down,
//                                        home, end) for the focused control
//                                        of that window's thread
//   e2e_driver syscommand-close TITLE    the close box's command (SC_CLOSE)
//   e2e_driver message-box MS            wait for a message box of the
//                                        program, print its title and text,
//                                        press its OK button
//   e2e_driver wait-control ID MS        wait for a window of the program
//                                        holding control ID; print its title
//   e2e_driver set-text TITLE ID TEXT    the text of control ID (WM_SETTEXT)
//   e2e_driver sheet-tabs TITLE          every page of a property sheet in
//                                        turn: "INDEX|PAGE TITLE" per line
//   e2e_driver sheet-page TITLE [INDEX]  select page INDEX; print the index
//                                        of the page on show
//   e2e_driver page-text TITLE ID        text of control ID of the page on
//                                        show
//   e2e_driver page-click TITLE ID       press button ID of the page on show
//   e2e_driver page-enabled TITLE ID     1 when that control is enabled
//   e2e_driver page-rows TITLE ID        the rows of list view ID
//   e2e_driver page-cells TITLE ID       its rows' texts: "COLUMN 1|COLUMN 2"
//   e2e_driver page-rect TITLE ID        that control's screen rectangle
//                                        "L T R B"
//   e2e_driver slot-windows              the program's half-transparent
//                                        (layered) windows, "L T R B" each,
//                                        by left, then top
//   e2e_driver slot-context N            the context menu of the N-th of them
//   e2e_driver slot-drag N EDGE PIXELS   drag its right or bottom edge
//                                        (EDGE right|bottom) by PIXELS with
//                                        the mouse
//   e2e_driver page-field TITLE ID       the text of control ID of the page on
//                                        show, asked of the control itself
//                                        (WM_GETTEXT: edit fields)
//   e2e_driver page-press TITLE ID       a click of button ID of the page on
//                                        show, as the mouse makes it (BM_CLICK):
//                                        check boxes change their state
//   e2e_driver page-set-text TITLE ID TEXT
//                                        the text of control ID of the page
//                                        on show (WM_SETTEXT)
//   e2e_driver list-items TITLE ID       the items of list view ID of that
//                                        window: "TEXT|X,Y" (its position)
//   e2e_driver list-click TITLE ID INDEX [double]
//                                        a click (or a double-click) of the
//                                        left button on the icon of item INDEX
//   e2e_driver page-checked TITLE ID     1 when check box ID of the page on
//                                        show is set
//   e2e_driver page-toggle TITLE ID      flip check box ID of the page on show
//                                        and report the click, as the mouse does
//   e2e_driver page-items TITLE ID       the items of drop-down list ID of the
//                                        page on show, one a line
//   e2e_driver page-selected TITLE ID    its selected item
//   e2e_driver list-rows TITLE ID        the rows of list view ID of window
//                                        TITLE: "CHECKED|TEXT OF COLUMN 1"
//   e2e_driver list-check TITLE ID ROW   check row ROW of that list view
//   e2e_driver run-value                 the autostart value "Corvalendrine"
//                                        of the user's Run key, or "missing"
//   e2e_driver run-value-delete          removes it, as another program would
//
// Titles come in the ANSI code page, as the command line gives them, and
// are compared as wide text.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace e2eui {

using MainWindowFinder = HWND (*)();

inline std::wstring Wide(const char* text) {
    const int size = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (size <= 1) return std::wstring();
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], size);
    wide.resize(static_cast<size_t>(size) - 1);
    return wide;
}

inline std::string Utf8(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int length = static_cast<int>(text.size());
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), length, &bytes[0], size, nullptr, nullptr);
    return bytes;
}

inline std::wstring WindowText(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
}

inline std::wstring ClassName(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

struct Search {
    std::wstring title;  // match by title, or
    std::wstring className;
    DWORD processId = 0;  // when not 0: only windows of this process
    HWND skip = nullptr;
    std::vector<HWND> found;
};

inline BOOL CALLBACK CollectVisible(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    if (!IsWindowVisible(window) || window == search->skip) return TRUE;
    if (!search->title.empty() && WindowText(window) != search->title) return TRUE;
    if (!search->className.empty() && ClassName(window) != search->className) return TRUE;
    if (search->processId != 0) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        if (processId != search->processId) return TRUE;
    }
    search->found.push_back(window);
    return TRUE;
}

inline std::vector<HWND> Find(Search search) {
    EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline HWND FindTitled(const char* title) {
    Search search;
    search.title = Wide(title);
    std::vector<HWND> found = Find(search);
    return found.empty() ? nullptr : found.front();
}

inline HWND FindMenu() {
    Search search;
    search.className = L"#32768";
    std::vector<HWND> found = Find(search);
    return found.empty() ? nullptr : found.front();
}

// Polls `found` every 50 ms until it answers or `timeout` ms have passed.
template <class F>
bool WaitFor(DWORD timeout, F found) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (found()) return true;
        if (GetTickCount() - start > timeout) return false;
        Sleep(50);
    }
}

inline HWND Target(int argc, char** argv) {
    HWND window = FindTitled(argv[2]);
    if (window != nullptr && argc >= 4) window = GetDlgItem(window, std::atoi(argv[3]));
    return window;
}

inline int PrintRect(HWND window) {
    RECT r{};
    if (window == nullptr || !GetWindowRect(window, &r)) return 1;
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    return 0;
}

// The client area in screen coordinates: what the program paints.
inline int PrintClientRect(HWND window) {
    RECT r{};
    if (window == nullptr || !GetClientRect(window, &r)) return 1;
    POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
    MapWindowPoints(window, nullptr, corners, 2);
    std::printf("%ld %ld %ld %ld\n", corners[0].x, corners[0].y, corners[1].x, corners[1].y);
    return 0;
}

inline int Click(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    return PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                        reinterpret_cast<LPARAM>(button))
               ? 0
               : 1;
}

// The program's visible windows besides its main window.
inline std::vector<HWND> ProgramWindows(MainWindowFinder mainWindow) {
    HWND main = mainWindow();
    if (main == nullptr) return {};
    Search search;
    GetWindowThreadProcessId(main, &search.processId);
    search.skip = main;
    return Find(search);
}

inline BOOL CALLBACK CollectTexts(HWND child, LPARAM param) {
    if (ClassName(child) == L"Static" && GetDlgCtrlID(child) == 0xFFFF)
        *reinterpret_cast<std::wstring*>(param) += WindowText(child);
    return TRUE;
}

// Prints a box's title and text, then presses its button `id`.
inline int PrintAndClick(HWND box, int id) {
    std::wstring text;
    EnumChildWindows(box, CollectTexts, reinterpret_cast<LPARAM>(&text));
    std::printf("%s\n%s\n", Utf8(WindowText(box)).c_str(), Utf8(text).c_str());
    return Click(box, id);
}

// Waits for a window of the program besides its main window that `match`
// accepts; null when none came within `timeout`.
template <typename Match>
HWND WaitForProgramWindow(DWORD timeout, MainWindowFinder mainWindow, Match match) {
    HWND found = nullptr;
    WaitFor(timeout, [&] {
        for (HWND window : ProgramWindows(mainWindow))
            if (match(window)) {
                found = window;
                return true;
            }
        return false;
    });
    return found;
}

inline int Answer(int button, DWORD timeout, MainWindowFinder mainWindow) {
    HWND question = WaitForProgramWindow(timeout, mainWindow, [button](HWND window) {
        if (button == IDOK) return GetDlgItem(window, IDOK) != nullptr;
        return GetDlgItem(window, IDYES) != nullptr && GetDlgItem(window, IDNO) != nullptr;
    });
    if (question == nullptr) {
        std::printf("no question\n");
        return 1;
    }
    return PrintAndClick(question, button);
}

inline LRESULT CALLBACK OtherProgramProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER || message == WM_CLOSE) {
        DestroyWindow(window);
        return 0;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

inline int OpenWindow(const char* title, UINT seconds, bool minimized) {
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

inline int MenuKeys(int argc, char** argv) {
    HWND menu = FindMenu();
    if (menu == nullptr) {
        std::printf("no menu\n");
        return 1;
    }
    for (int i = 2; i < argc; ++i) {
        const std::string key = argv[i];
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

inline WPARAM KeyCode(const std::string& key) {
    return key == "enter"    ? VK_RETURN
           : key == "escape" ? VK_ESCAPE
           : key == "up"     ? VK_UP
           : key == "down"   ? VK_DOWN
           : key == "home"   ? VK_HOME
           : key == "end"    ? VK_END
                             : 0;
}

inline int PressKey(HWND window, const std::string& key) {
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

inline BOOL CALLBACK HasMessageText(HWND child, LPARAM param) {
    if (ClassName(child) == L"Static" && GetDlgCtrlID(child) == 0xFFFF &&
        !WindowText(child).empty()) {
        *reinterpret_cast<bool*>(param) = true;
        return FALSE;
    }
    return TRUE;
}

// A message box of the program: a dialog with an OK button and a text.
inline int AnswerMessageBox(DWORD timeout, MainWindowFinder mainWindow) {
    HWND box = WaitForProgramWindow(timeout, mainWindow, [](HWND window) {
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

inline HWND CurrentPage(HWND sheet) {
    if (sheet == nullptr) return nullptr;
    return reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

inline int PageIndex(HWND sheet) {
    return static_cast<int>(
        SendMessageW(sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(CurrentPage(sheet)), 0));
}

// The program's visible layered windows (the slot editor's slots), by
// left, then top.
inline std::vector<HWND> SlotWindows(MainWindowFinder mainWindow) {
    std::vector<HWND> slots;
    for (HWND window : ProgramWindows(mainWindow))
        if (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED) slots.push_back(window);
    std::sort(slots.begin(), slots.end(), [](HWND a, HWND b) {
        RECT ra{}, rb{};
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.left != rb.left ? ra.left < rb.left : ra.top < rb.top;
    });
    return slots;
}

inline void MouseTo(int x, int y, DWORD buttons) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
    SendInput(1, &input, sizeof input);
    Sleep(60);  // input pacing, so the sizing loop sees every step
}

// Drags the right or bottom edge of `window` by `pixels`, in steps.
inline int DragEdge(HWND window, const std::string& edge, int pixels) {
    RECT r{};
    if (window == nullptr || !GetWindowRect(window, &r)) return 1;
    const bool right = edge == "right";
    if (!right && edge != "bottom") return 2;
    int x = right ? r.right - 2 : (r.left + r.right) / 2;
    int y = right ? (r.top + r.bottom) / 2 : r.bottom - 2;
    SetForegroundWindow(window);
    MouseTo(x, y, 0);
    MouseTo(x, y, MOUSEEVENTF_LEFTDOWN);
    const int steps = 5;
    for (int i = 1; i <= steps; ++i)
        MouseTo(right ? x + pixels * i / steps : x, right ? y : y + pixels * i / steps, 0);
    MouseTo(right ? x + pixels : x, right ? y : y + pixels, MOUSEEVENTF_LEFTUP);
    return 0;
}

// Memory in the process of a list view, for the list messages that read or
// write through a pointer.
class RemoteMemory {
public:
    RemoteMemory(HWND window, SIZE_T size) : size_(size) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                               processId);
        if (process_ != nullptr)
            at_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    }
    ~RemoteMemory() {
        if (at_ != nullptr) VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
        if (process_ != nullptr) CloseHandle(process_);
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    bool Ok() const { return at_ != nullptr; }
    char* At() const { return static_cast<char*>(at_); }
    bool Write(const void* data, SIZE_T size, SIZE_T offset = 0) {
        return offset + size <= size_ &&
               WriteProcessMemory(process_, At() + offset, data, size, nullptr) != FALSE;
    }
    bool Read(void* data, SIZE_T size, SIZE_T offset = 0) {
        return offset + size <= size_ &&
               ReadProcessMemory(process_, At() + offset, data, size, nullptr) != FALSE;
    }

private:
    HANDLE process_ = nullptr;
    void* at_ = nullptr;
    SIZE_T size_;
};

inline int PrintListItems(HWND list) {
    constexpr int kChars = 260;
    RemoteMemory remote(list, sizeof(LVITEMW) + sizeof(POINT) + kChars * sizeof(wchar_t));
    if (!remote.Ok()) return 1;
    const SIZE_T pointAt = sizeof(LVITEMW);
    const SIZE_T textAt = pointAt + sizeof(POINT);
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        LVITEMW item{};
        item.pszText = reinterpret_cast<wchar_t*>(remote.At() + textAt);
        item.cchTextMax = kChars;
        wchar_t text[kChars] = {};
        POINT at{};
        if (!remote.Write(&item, sizeof item) ||
            SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(remote.At())) < 0 ||
            !remote.Read(text, sizeof text - sizeof(wchar_t), textAt) ||
            !SendMessageW(list, LVM_GETITEMPOSITION, static_cast<WPARAM>(i),
                          reinterpret_cast<LPARAM>(remote.At() + pointAt)) ||
            !remote.Read(&at, sizeof at, pointAt))
            return 1;
        std::printf("%s|%ld,%ld\n", Utf8(text).c_str(), at.x, at.y);
    }
    return 0;
}

inline int ClickListItem(HWND list, int index, bool twice) {
    SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
    RemoteMemory remote(list, sizeof(RECT));
    RECT box{};
    box.left = LVIR_ICON;
    if (!remote.Ok() || !remote.Write(&box, sizeof box) ||
        !SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(index),
                      reinterpret_cast<LPARAM>(remote.At())) ||
        !remote.Read(&box, sizeof box))
        return 1;
    const LPARAM at = MAKELPARAM((box.left + box.right) / 2, (box.top + box.bottom) / 2);
    const UINT sequence[] = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP};
    for (int i = 0; i < (twice ? 4 : 2); ++i)
        PostMessageW(list, sequence[i], sequence[i] == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
    return 0;
}

// --- list views and drop-down lists of the program, and its Run value ------

// The text of one cell of a list view of another process, through memory
// in that process (`block`, an LVITEMW and room for the text).
inline bool ListCellText(HWND list, RemoteMemory& block, int row, int column, std::string& text) {
    const size_t textChars = 512;
    LVITEMW item{};
    item.iSubItem = column;
    item.cchTextMax = static_cast<int>(textChars);
    item.pszText = reinterpret_cast<wchar_t*>(block.At() + sizeof(LVITEMW));
    std::vector<wchar_t> chars(textChars, L'\0');
    if (!block.Write(&item, sizeof item)) return false;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(block.At()));
    if (!block.Read(chars.data(), textChars * sizeof(wchar_t), sizeof(LVITEMW))) return false;
    chars.back() = L'\0';
    text = Utf8(chars.data());
    return true;
}

inline int ListRows(HWND list) {
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    RemoteMemory block(list, sizeof(LVITEMW) + 512 * sizeof(wchar_t));
    if (!block.Ok()) return 1;
    for (int row = 0; row < count; ++row) {
        std::string text;
        if (!ListCellText(list, block, row, 1, text)) return 1;
        const UINT state = static_cast<UINT>(
            SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK));
        std::printf("%d|%s\n", ((state & LVIS_STATEIMAGEMASK) >> 12) == 2 ? 1 : 0, text.c_str());
    }
    return 0;
}

// Every row of a two-column list view: "COLUMN 1|COLUMN 2".
inline int ListCells(HWND list) {
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    RemoteMemory block(list, sizeof(LVITEMW) + 512 * sizeof(wchar_t));
    if (!block.Ok()) return 1;
    for (int row = 0; row < count; ++row) {
        std::string first, second;
        if (!ListCellText(list, block, row, 0, first) || !ListCellText(list, block, row, 1, second))
            return 1;
        std::printf("%s|%s\n", first.c_str(), second.c_str());
    }
    return 0;
}

inline int CheckListRow(HWND list, int row) {
    RemoteMemory block(list, sizeof(LVITEMW));
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(2);
    if (!block.Ok() || !block.Write(&item, sizeof item)) return 1;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(block.At()));
    return 0;
}

inline int ComboItems(HWND combo, bool selectedOnly) {
    const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    const int selected = static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
    for (int i = 0; i < count; ++i) {
        if (selectedOnly && i != selected) continue;
        const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length <= 0 || length > 1000) continue;
        std::vector<wchar_t> text(static_cast<size_t>(length) + 1, L'\0');
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(text.data()));
        std::printf("%s\n", Utf8(text.data()).c_str());
    }
    return 0;
}

inline const wchar_t* RunKey() {
    return L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
}

inline int RunValue(bool remove) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, RunKey(), 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key) !=
        ERROR_SUCCESS) {
        std::printf("missing\n");
        return remove ? 1 : 0;
    }
    LONG result = ERROR_SUCCESS;
    if (remove) {
        result = RegDeleteValueW(key, L"Corvalendrine");
    } else {
        std::vector<wchar_t> value(4096, L'\0');
        DWORD bytes = static_cast<DWORD>((value.size() - 1) * sizeof(wchar_t));
        result = RegQueryValueExW(key, L"Corvalendrine", nullptr, nullptr,
                                  reinterpret_cast<BYTE*>(value.data()), &bytes);
        std::printf("%s\n", result == ERROR_SUCCESS ? Utf8(value.data()).c_str() : "missing");
        result = ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? 0 : 1;
}

// Runs a command of this file; -1 when the command is not one of them.
inline int Run(int argc, char** argv, MainWindowFinder mainWindow) {
    if (argc < 2) return -1;
    const std::string command = argv[1];
    const auto number = [](const char* text) { return std::strtoul(text, nullptr, 0); };

    if (command == "post" && argc == 5) {
        HWND main = mainWindow();
        return main != nullptr &&
                       PostMessageW(main, static_cast<UINT>(number(argv[2])), number(argv[3]),
                                    static_cast<LPARAM>(number(argv[4])))
                   ? 0
                   : 1;
    }
    if ((command == "wait-title" || command == "wait-no-title") && argc == 4) {
        const bool present = command == "wait-title";
        const bool ok =
            WaitFor(number(argv[3]), [&] { return (FindTitled(argv[2]) != nullptr) == present; });
        std::printf(ok ? "ok\n" : "timed out\n");
        return ok ? 0 : 1;
    }
    if (command == "text" && (argc == 3 || argc == 4)) {
        HWND window = Target(argc, argv);
        if (window == nullptr) return 1;
        std::printf("%s\n", Utf8(WindowText(window)).c_str());
        return 0;
    }
    if (command == "rect" && (argc == 3 || argc == 4)) return PrintRect(Target(argc, argv));
    if (command == "style" && argc == 4) {
        HWND window = Target(argc, argv);
        if (window == nullptr) return 1;
        std::printf("0x%08lx 0x%08lx\n",
                    static_cast<unsigned long>(GetWindowLongW(window, GWL_STYLE)),
                    static_cast<unsigned long>(GetWindowLongW(window, GWL_EXSTYLE)));
        return 0;
    }
    if (command == "click" && argc == 4) {
        HWND window = FindTitled(argv[2]);
        return window != nullptr ? Click(window, std::atoi(argv[3])) : 1;
    }
    if (command == "close" && argc == 3) {
        HWND window = FindTitled(argv[2]);
        return window != nullptr && PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    if (command == "dialogs") {
        for (HWND window : ProgramWindows(mainWindow))
            std::printf("%s|%s\n", Utf8(ClassName(window)).c_str(),
                        Utf8(WindowText(window)).c_str());
        return 0;
    }
    if (command == "answer" && argc == 4) {
        const std::string choice = argv[2];
        const int button = choice == "yes" ? IDYES : choice == "no" ? IDNO : IDOK;
        if (choice != "yes" && choice != "no" && choice != "ok") return 2;
        return Answer(button, number(argv[3]), mainWindow);
    }
    if (command == "open-window" && (argc == 4 || argc == 5))
        return OpenWindow(argv[2], number(argv[3]),
                          argc == 5 && std::strcmp(argv[4], "minimized") == 0);
    if (command == "menu-wait" && argc == 3) {
        HWND menu = nullptr;
        if (!WaitFor(number(argv[2]), [&] { return (menu = FindMenu()) != nullptr; })) {
            std::printf("no menu\n");
            return 1;
        }
        return PrintClientRect(menu);
    }
    if (command == "menu-gone" && argc == 3) {
        const bool gone = WaitFor(number(argv[2]), [] { return FindMenu() == nullptr; });
        std::printf(gone ? "gone\n" : "still open\n");
        return gone ? 0 : 1;
    }
    if (command == "menu-keys" && argc >= 3) return MenuKeys(argc, argv);
    if (command == "key" && argc == 4) return PressKey(FindTitled(argv[2]), argv[3]);
    if (command == "syscommand-close" && argc == 3) {
        HWND window = FindTitled(argv[2]);
        return window != nullptr && PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0) ? 0 : 1;
    }
    if (command == "message-box" && argc == 3) return AnswerMessageBox(number(argv[2]), mainWindow);
    if (command == "wait-control" && argc == 4) {
        const int id = std::atoi(argv[2]);
        HWND holder = nullptr;
        const bool found = WaitFor(number(argv[3]), [&] {
            for (HWND window : ProgramWindows(mainWindow))
                if (GetDlgItem(window, id) != nullptr) {
                    holder = window;
                    return true;
                }
            return false;
        });
        if (!found) {
            std::printf("no such window\n");
            return 1;
        }
        std::printf("%s\n", Utf8(WindowText(holder)).c_str());
        return 0;
    }
    if (command == "set-text" && argc == 5) {
        HWND window = FindTitled(argv[2]);
        HWND control = window != nullptr ? GetDlgItem(window, std::atoi(argv[3])) : nullptr;
        if (control == nullptr) return 1;
        const std::wstring text = Wide(argv[4]);
        DWORD_PTR answer = 0;
        return SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                                   SMTO_ABORTIFHUNG, 5000, &answer)
                   ? 0
                   : 1;
    }
    if (command == "sheet-tabs" && argc == 3) {
        HWND sheet = FindTitled(argv[2]);
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
    if (command == "sheet-page" && (argc == 3 || argc == 4)) {
        HWND sheet = FindTitled(argv[2]);
        if (sheet == nullptr) return 1;
        if (argc == 4) SendMessageW(sheet, PSM_SETCURSEL, number(argv[3]), 0);
        std::printf("%d\n", PageIndex(sheet));
        return 0;
    }
    if ((command == "page-text" || command == "page-click" || command == "page-enabled" ||
         command == "page-rows" || command == "page-rect" || command == "page-cells") &&
        argc == 4) {
        HWND page = CurrentPage(FindTitled(argv[2]));
        const int id = std::atoi(argv[3]);
        HWND control = page != nullptr ? GetDlgItem(page, id) : nullptr;
        if (control == nullptr) return 1;
        if (command == "page-click") return Click(page, id);
        if (command == "page-rect") return PrintRect(control);
        if (command == "page-cells") return ListCells(control);
        if (command == "page-text")
            std::printf("%s\n", Utf8(WindowText(control)).c_str());
        else if (command == "page-enabled")
            std::printf("%d\n", IsWindowEnabled(control) ? 1 : 0);
        else
            std::printf("%d\n", static_cast<int>(SendMessageW(control, LVM_GETITEMCOUNT, 0, 0)));
        return 0;
    }
    if (command == "slot-windows" && argc == 2) {
        for (HWND window : SlotWindows(mainWindow)) PrintRect(window);
        return 0;
    }
    if ((command == "page-field" || command == "page-press") && argc == 4) {
        HWND page = CurrentPage(FindTitled(argv[2]));
        HWND control = page != nullptr ? GetDlgItem(page, std::atoi(argv[3])) : nullptr;
        if (control == nullptr) return 1;
        if (command == "page-press") return PostMessageW(control, BM_CLICK, 0, 0) ? 0 : 1;
        wchar_t text[512] = {};
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutW(control, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text),
                                 SMTO_ABORTIFHUNG, 5000, &answer))
            return 1;
        std::printf("%s\n", Utf8(text).c_str());
        return 0;
    }
    if (command == "page-set-text" && argc == 5) {
        HWND page = CurrentPage(FindTitled(argv[2]));
        HWND control = page != nullptr ? GetDlgItem(page, std::atoi(argv[3])) : nullptr;
        if (control == nullptr) return 1;
        const std::wstring text = Wide(argv[4]);
        DWORD_PTR answer = 0;
        return SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                                   SMTO_ABORTIFHUNG, 5000, &answer)
                   ? 0
                   : 1;
    }
    if ((command == "slot-context" && argc == 3) || (command == "slot-drag" && argc == 5)) {
        const std::vector<HWND> slots = SlotWindows(mainWindow);
        const int n = std::atoi(argv[2]);
        if (n < 1 || n > static_cast<int>(slots.size())) return 1;
        HWND slot = slots[static_cast<std::size_t>(n - 1)];
        if (command == "slot-drag") return DragEdge(slot, argv[3], std::atoi(argv[4]));
        RECT r{};
        GetWindowRect(slot, &r);
        return PostMessageW(slot, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(slot),
                            MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2))
                   ? 0
                   : 1;
    }
    if ((command == "list-items" && argc == 4) ||
        (command == "list-click" && (argc == 5 || argc == 6))) {
        HWND window = FindTitled(argv[2]);
        HWND list = window != nullptr ? GetDlgItem(window, std::atoi(argv[3])) : nullptr;
        if (list == nullptr) return 1;
        return command == "list-items"
                   ? PrintListItems(list)
                   : ClickListItem(list, std::atoi(argv[4]),
                                   argc == 6 && std::strcmp(argv[5], "double") == 0);
    }
    if ((command == "page-checked" || command == "page-items" || command == "page-toggle" ||
         command == "page-selected") &&
        argc == 4) {
        HWND page = CurrentPage(FindTitled(argv[2]));
        HWND control = page != nullptr ? GetDlgItem(page, std::atoi(argv[3])) : nullptr;
        if (control == nullptr) return 1;
        if (command == "page-items" || command == "page-selected")
            return ComboItems(control, command == "page-selected");
        if (command == "page-toggle") {
            const bool checked = SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
            SendMessageW(control, BM_SETCHECK, checked ? BST_UNCHECKED : BST_CHECKED, 0);
            return Click(page, std::atoi(argv[3]));
        }
        std::printf("%d\n", SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
        return 0;
    }
    if ((command == "list-rows" && argc == 4) || (command == "list-check" && argc == 5)) {
        HWND window = FindTitled(argv[2]);
        HWND list = window != nullptr ? GetDlgItem(window, std::atoi(argv[3])) : nullptr;
        if (list == nullptr) return 1;
        return command == "list-rows" ? ListRows(list) : CheckListRow(list, std::atoi(argv[4]));
    }
    if (command == "run-value" || command == "run-value-delete")
        return RunValue(command == "run-value-delete");
    return -1;
}

}  // namespace e2eui
