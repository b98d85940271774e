// The end-to-end tests' hands: a small console program, run under Wine in
// the same prefix (and virtual desktop) as the program under test. It finds
// the program's hidden main window and sends it messages, plays a desktop
// with an icon view, and reads and writes the user's wallpaper setting.
//
//   e2e_driver wait-window MS          wait for the main window; it answers
//   e2e_driver wait-gone MS            wait until no main window is left
//   e2e_driver count-windows           how many main windows there are
//   e2e_driver post-command ID         post WM_COMMAND ID
//   e2e_driver send-command ID         send WM_COMMAND ID: done on return
//   e2e_driver send MSG WPARAM LPARAM  send a message, print the answer
//   e2e_driver visible                 1 when the main window is visible
//   e2e_driver try-show                show it every usual way; "hidden" or
//                                      "shown by ..."
//   e2e_driver kill                    end the program's process at once
//   e2e_driver fake-desktop SECONDS    a "Progman" window with an icon view
//   e2e_driver desktop-icons           "shown", "hidden" or "missing"
//   e2e_driver set-wallpaper-reg PATH  the user's registry wallpaper
//   e2e_driver get-wallpaper-reg
//   e2e_driver screen                  "WIDTH HEIGHT LEFT TOP RIGHT BOTTOM":
//                                      the screen's size and the work area
//   e2e_driver dpi                     the display's DPI (LOGPIXELSY)
//   e2e_driver fake-tray SECONDS       a task bar window that refuses every
//                                      icon, found before the real one
//   e2e_driver fake-tray-up            0 once the fake task bar exists
//   e2e_driver icon-state              "present" or "absent": whether the
//                                      notification area has the program's
//                                      icon (a modify call that changes nothing)
//   e2e_driver drop-icon               removes the program's icon, as a
//                                      crashing shell loses it
//   e2e_driver taskbar-created         sends "TaskbarCreated" to the program
//   e2e_driver soak COUNT EVERY        COUNT next-picture commands, one after
//                                      the other; the program's memory after
//                                      every EVERY, its GDI and USER objects
//                                      at the start and the end
//
// The commands for the program's dialogs, its tray menu and other
// programs' windows are in driver_ui.h.
//
// Numbers may be decimal or 0x hex. Exit code 0 on success, 1 when the
// awaited state did not come, 2 for a usage error.
#include <windows.h>

#include <psapi.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "driver_desktop.h"
#include "driver_ui.h"

namespace {

const char kProgramFile[] = "corvalendrine.exe";
const char kMainTitle[] = "Corvalendrine";
const char kDialogClass[] = "#32770";
const UINT kSendTimeout = 5000;

std::string ProcessFileName(DWORD processId) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return std::string();
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof entry;
    std::string name;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (entry.th32ProcessID == processId) {
            name = entry.szExeFile;
            break;
        }
    CloseHandle(snapshot);
    return name;
}

bool EndsWithFileName(const std::string& path, const char* name) {
    const size_t n = std::strlen(name);
    if (path.size() < n) return false;
    if (path.size() > n && path[path.size() - n - 1] != '\\' && path[path.size() - n - 1] != '/')
        return false;
    return lstrcmpiA(path.c_str() + path.size() - n, name) == 0;
}

BOOL CALLBACK CollectMainWindow(HWND window, LPARAM param) {
    char className[64] = {};
    char title[64] = {};
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, title, sizeof title);
    if (std::strcmp(className, kDialogClass) != 0 || std::strcmp(title, kMainTitle) != 0)
        return TRUE;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (EndsWithFileName(ProcessFileName(processId), kProgramFile))
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

// The program's main windows: top-level dialogs titled "Corvalendrine" of
// a process running corvalendrine.exe.
std::vector<HWND> MainWindows() {
    std::vector<HWND> found;
    EnumWindows(CollectMainWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND MainWindow() {
    std::vector<HWND> found = MainWindows();
    return found.empty() ? nullptr : found.front();
}

// Waits until the window's thread has handled everything sent before.
bool Sync(HWND window) {
    DWORD_PTR answer = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kSendTimeout, &answer) != 0;
}

unsigned long Number(const char* text) {
    return std::strtoul(text, nullptr, 0);
}

// True once the window's process has gone idle in its message loop: its
// start-up is done. A thread that waits for the answer to a message it
// sent (as the icon calls do) does not count as idle.
bool WaitIdle(HWND window, DWORD timeout) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId);
    if (process == nullptr) return false;
    const DWORD result = WaitForInputIdle(process, timeout);
    CloseHandle(process);
    return result == 0;
}

int WaitWindow(DWORD timeout) {
    const DWORD start = GetTickCount();
    for (;;) {
        HWND window = MainWindow();
        if (window != nullptr && WaitIdle(window, timeout) && Sync(window)) {
            std::printf("found\n");
            return 0;
        }
        if (GetTickCount() - start > timeout) break;
        Sleep(50);
    }
    std::printf("no main window\n");
    return 1;
}

int WaitGone(DWORD timeout) {
    const DWORD start = GetTickCount();
    while (!MainWindows().empty()) {
        if (GetTickCount() - start > timeout) {
            std::printf("main window still there\n");
            return 1;
        }
        Sleep(50);
    }
    std::printf("gone\n");
    return 0;
}

int TryShow(HWND window) {
    struct Attempt {
        const char* name;
        int command;  // a show command, or -1 for SetWindowPos
    };
    const Attempt attempts[] = {{"SW_SHOWNORMAL", SW_SHOWNORMAL},
                                {"SW_SHOW", SW_SHOW},
                                {"SW_RESTORE", SW_RESTORE},
                                {"SW_SHOWNOACTIVATE", SW_SHOWNOACTIVATE},
                                {"SetWindowPos", -1}};
    for (const Attempt& attempt : attempts) {
        if (attempt.command >= 0)
            ShowWindow(window, attempt.command);
        else
            SetWindowPos(window, HWND_TOP, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
        Sync(window);
        if (IsWindowVisible(window)) {
            std::printf("shown by %s\n", attempt.name);
            return 0;
        }
    }
    std::printf("hidden\n");
    return 0;
}

int Kill(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
    if (process == nullptr) return 1;
    const bool ended = TerminateProcess(process, 9) != FALSE &&
                       WaitForSingleObject(process, 10000) == WAIT_OBJECT_0;
    CloseHandle(process);
    std::printf(ended ? "killed\n" : "still running\n");
    return ended ? 0 : 1;
}

// --- a stand-in desktop -----------------------------------------------------

LRESULT CALLBACK DesktopProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE || message == WM_TIMER) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// A hidden "Progman" window holding a visible icon view, as the shell has
// them; it lives until closed or for `seconds`.
int FakeDesktop(UINT seconds) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DesktopProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "Progman";
    RegisterClassA(&windowClass);
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "SHELLDLL_DefView";
    RegisterClassA(&windowClass);
    HWND desktop = CreateWindowExA(0, "Progman", "Program Manager", WS_POPUP, 0, 0, 10, 10, nullptr,
                                   nullptr, windowClass.hInstance, nullptr);
    HWND view = CreateWindowExA(0, "SHELLDLL_DefView", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10,
                                desktop, nullptr, windowClass.hInstance, nullptr);
    if (desktop == nullptr || view == nullptr) return 1;
    SetTimer(desktop, 1, seconds * 1000, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    DestroyWindow(desktop);
    return 0;
}

int DesktopIcons() {
    HWND desktop = FindWindowA("Progman", nullptr);
    HWND view = desktop ? FindWindowExA(desktop, nullptr, "SHELLDLL_DefView", nullptr) : nullptr;
    if (view == nullptr) {
        std::printf("missing\n");
        return 1;
    }
    // The view's own flag: its parent is hidden, so IsWindowVisible says no.
    const bool shown = (GetWindowLongA(view, GWL_STYLE) & WS_VISIBLE) != 0;
    std::printf(shown ? "shown\n" : "hidden\n");
    return 0;
}

// --- the notification area -----------------------------------------------

const char kTrayClass[] = "Shell_TrayWnd";
const char kFakeTrayTitle[] = "corv fake task bar";
const UINT kIconId = 129;

const UINT_PTR kFakeTrayEnd = 1;
const UINT_PTR kFakeTrayRaise = 2;

LRESULT CALLBACK FakeTrayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) return FALSE;  // every icon call is refused
    if (message == WM_TIMER && wParam == kFakeTrayRaise) {
        // The real task bar raises itself now and then: stay above it.
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return 0;
    }
    if (message == WM_CLOSE || message == WM_TIMER) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// A top-most window of the task bar's class, as the shell's own before it
// has started: the icon calls find it first and it refuses them.
int FakeTray(UINT seconds) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = FakeTrayProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kTrayClass;
    RegisterClassA(&windowClass);
    HWND tray =
        CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kTrayClass, kFakeTrayTitle, WS_POPUP, 0,
                        0, 1, 1, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (tray == nullptr) return 1;
    SetTimer(tray, kFakeTrayEnd, seconds * 1000, nullptr);
    SetTimer(tray, kFakeTrayRaise, 50, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    DestroyWindow(tray);
    return 0;
}

int FakeTrayUp() {
    HWND first = FindWindowExA(nullptr, nullptr, kTrayClass, nullptr);
    char title[64] = {};
    if (first != nullptr) GetWindowTextA(first, title, sizeof title);
    return std::strcmp(title, kFakeTrayTitle) == 0 ? 0 : 1;
}

NOTIFYICONDATAA IconRecord(HWND window) {
    NOTIFYICONDATAA record{};
    record.cbSize = 88;
    record.hWnd = window;
    record.uID = kIconId;
    return record;
}

int IconState(HWND window) {
    NOTIFYICONDATAA record = IconRecord(window);
    std::printf(Shell_NotifyIconA(NIM_MODIFY, &record) ? "present\n" : "absent\n");
    return 0;
}

int DropIcon(HWND window) {
    NOTIFYICONDATAA record = IconRecord(window);
    return Shell_NotifyIconA(NIM_DELETE, &record) ? 0 : 1;
}

// --- a long run ------------------------------------------------------------

const UINT kNextPicture = 32778;

// The working set, its peak so far, the private bytes and the handles of a
// process.
void PrintMemory(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(process, &counters, sizeof counters);
    DWORD handles = 0;
    GetProcessHandleCount(process, &handles);
    std::printf("working set %6lu KiB (peak %6lu KiB)  private %6lu KiB  handles %lu",
                static_cast<unsigned long>(counters.WorkingSetSize / 1024),
                static_cast<unsigned long>(counters.PeakWorkingSetSize / 1024),
                static_cast<unsigned long>(counters.PagefileUsage / 1024),
                static_cast<unsigned long>(handles));
}

// GDI and USER objects of a process; "n/a" where the system does not count.
void PrintObjects(const char* when, HANDLE process) {
    SetLastError(0);
    const DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS);
    const DWORD gdiError = GetLastError();
    const DWORD user = GetGuiResources(process, GR_USEROBJECTS);
    if (gdi == 0 && gdiError == ERROR_CALL_NOT_IMPLEMENTED)
        std::printf(
            "%s: GDI objects n/a, USER objects n/a (GetGuiResources not implemented here)\n", when);
    else
        std::printf("%s: GDI objects %lu, USER objects %lu\n", when,
                    static_cast<unsigned long>(gdi), static_cast<unsigned long>(user));
}

int Soak(HWND window, unsigned count, unsigned every) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (process == nullptr || every == 0) return 1;
    PrintObjects("start", process);
    std::printf("changes %5u  ", 0u);
    PrintMemory(process);
    std::printf("\n");
    std::fflush(stdout);
    const DWORD started = GetTickCount();
    for (unsigned i = 1; i <= count; ++i) {
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutA(window, WM_COMMAND, kNextPicture, 0, SMTO_ABORTIFHUNG, 60000,
                                 &answer)) {
            std::printf("change %u: no answer\n", i);
            CloseHandle(process);
            return 1;
        }
        if (i % every == 0) {
            std::printf("changes %5u  ", i);
            PrintMemory(process);
            std::printf("\n");
            std::fflush(stdout);
        }
    }
    std::printf("%u changes in %lu s\n", count,
                static_cast<unsigned long>((GetTickCount() - started) / 1000));
    PrintObjects("end", process);
    CloseHandle(process);
    return 0;
}

// --- the user's wallpaper -------------------------------------------------

const char kDesktopKey[] = "Control Panel\\Desktop";

int SetWallpaperReg(const char* path) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return 1;
    const LONG result =
        RegSetValueExA(key, "Wallpaper", 0, REG_SZ, reinterpret_cast<const BYTE*>(path),
                       static_cast<DWORD>(std::strlen(path) + 1));
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? 0 : 1;
}

int GetWallpaperReg() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return 1;
    char value[1024] = {};
    DWORD size = sizeof value - 1;
    const LONG result =
        RegQueryValueExA(key, "Wallpaper", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) return 1;
    std::printf("%s\n", value);
    return 0;
}

// --- the screen ----------------------------------------------------------

// What the program measures before each change: the primary screen's size
// and the work area (the desktop less the task bar).
int Screen() {
    RECT area{};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0)) return 1;
    std::printf("%d %d %ld %ld %ld %ld\n", GetSystemMetrics(SM_CXSCREEN),
                GetSystemMetrics(SM_CYSCREEN), area.left, area.top, area.right, area.bottom);
    return 0;
}

int Usage() {
    std::fprintf(stderr, "usage: e2e_driver COMMAND [ARGS] (see driver.cpp)\n");
    return 2;
}

int Run(int argc, char** argv) {
    if (argc < 2) return Usage();
    const std::string command = argv[1];
    if (command == "wait-window" && argc == 3) return WaitWindow(Number(argv[2]));
    if (command == "wait-gone" && argc == 3) return WaitGone(Number(argv[2]));
    if (command == "count-windows") {
        std::printf("%u\n", static_cast<unsigned>(MainWindows().size()));
        return 0;
    }
    if (command == "fake-desktop" && argc == 3) return FakeDesktop(Number(argv[2]));
    if (command == "desktop-icons") return DesktopIcons();
    if (command == "set-wallpaper-reg" && argc == 3) return SetWallpaperReg(argv[2]);
    if (command == "get-wallpaper-reg") return GetWallpaperReg();
    if (command == "screen") return Screen();
    if (command == "dpi") {
        HDC screen = GetDC(nullptr);
        std::printf("%d\n", screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0);
        if (screen != nullptr) ReleaseDC(nullptr, screen);
        return 0;
    }
    if (command == "fake-tray" && argc == 3) return FakeTray(Number(argv[2]));
    if (command == "fake-tray-up") return FakeTrayUp();

    const int ui = e2eui::Run(argc, argv, MainWindow);
    if (ui >= 0) return ui;
    const int desktop = e2edesktop::Run(argc, argv);
    if (desktop >= 0) return desktop;

    HWND window = MainWindow();
    if (window == nullptr) {
        std::printf("no main window\n");
        return 1;
    }
    if (command == "post-command" && argc == 3)
        return PostMessageA(window, WM_COMMAND, Number(argv[2]), 0) ? 0 : 1;
    if (command == "send-command" && argc == 3) {
        DWORD_PTR answer = 0;
        return SendMessageTimeoutA(window, WM_COMMAND, Number(argv[2]), 0, SMTO_ABORTIFHUNG,
                                   kSendTimeout, &answer)
                   ? 0
                   : 1;
    }
    if (command == "send" && argc == 5) {
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutA(window, Number(argv[2]), Number(argv[3]),
                                 static_cast<LPARAM>(Number(argv[4])), SMTO_ABORTIFHUNG,
                                 kSendTimeout, &answer))
            return 1;
        std::printf("%ld\n", static_cast<long>(answer));
        return 0;
    }
    if (command == "visible") {
        std::printf("%d\n", IsWindowVisible(window) ? 1 : 0);
        return 0;
    }
    if (command == "try-show") return TryShow(window);
    if (command == "kill") return Kill(window);
    if (command == "icon-state") return IconState(window);
    if (command == "soak" && argc == 4)
        return Soak(window, static_cast<unsigned>(Number(argv[2])),
                    static_cast<unsigned>(Number(argv[3])));
    if (command == "drop-icon") return DropIcon(window);
    if (command == "taskbar-created") {
        DWORD_PTR answer = 0;
        return SendMessageTimeoutA(window, RegisterWindowMessageA("TaskbarCreated"), 0, 0,
                                   SMTO_ABORTIFHUNG, kSendTimeout, &answer)
                   ? 0
                   : 1;
    }
    return Usage();
}

}  // namespace

int main(int argc, char** argv) {
    // The driver sees real pixels, as the DPI-aware program does, not the
    // coordinates the system scales for programs that are not.
    if (HMODULE user = GetModuleHandleW(L"user32.dll")) {
        using SetAware = BOOL(WINAPI*)();
        auto setAware = reinterpret_cast<SetAware>(
            reinterpret_cast<void*>(GetProcAddress(user, "SetProcessDPIAware")));
        if (setAware != nullptr) setAware();
    }
    const int code = Run(argc, argv);
    std::fflush(stdout);
    return code;
}
