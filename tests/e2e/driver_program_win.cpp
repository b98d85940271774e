// The driver's commands for the program's main window and its icon, the
// desktop and task bar it expects from the shell, and the user's settings
// it reads and writes: the wallpaper and the autostart value.
#include <windows.h>

#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

#include "driver_win.h"
#include "res/resource.h"
#include "settings_ui/page6_misc.h"

namespace e2e {

namespace {

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

// --- stand-ins of the shell's windows --------------------------------------

// A stand-in ends its message loop when it is closed or when its end timer
// fires.
const UINT_PTR kEndTimer = 1;

LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE || message == WM_TIMER) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterStandIn(const char* className, WNDPROC proc) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = proc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
}

// Runs the stand-in's message loop for at most `seconds`, then destroys it.
int RunStandIn(HWND window, UINT seconds) {
    SetTimer(window, kEndTimer, seconds * 1000, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    DestroyWindow(window);
    return 0;
}

// A hidden "Progman" window holding a visible icon view, as the shell has
// them; it lives until closed or for `seconds`.
int FakeDesktop(UINT seconds) {
    RegisterStandIn("Progman", StandInProc);
    RegisterStandIn("SHELLDLL_DefView", DefWindowProcA);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HWND desktop = CreateWindowExA(0, "Progman", "Program Manager", WS_POPUP, 0, 0, 10, 10, nullptr,
                                   nullptr, instance, nullptr);
    HWND view = CreateWindowExA(0, "SHELLDLL_DefView", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10,
                                desktop, nullptr, instance, nullptr);
    if (desktop == nullptr || view == nullptr) return 1;
    return RunStandIn(desktop, seconds);
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

const char kTrayClass[] = "Shell_TrayWnd";
const char kFakeTrayTitle[] = "corv fake task bar";
const UINT_PTR kFakeTrayRaise = 2;

LRESULT CALLBACK FakeTrayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) return FALSE;  // every icon call is refused
    if (message == WM_TIMER && wParam == kFakeTrayRaise) {
        // The real task bar raises itself now and then: stay above it.
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return 0;
    }
    return StandInProc(window, message, wParam, lParam);
}

// --- a notification area that records ----------------------------------------
// Wine's shell hands each icon call to the task bar as WM_COPYDATA: the call
// (NIM_ADD, NIM_MODIFY, ...) in dwData and a record whose first three 32-bit
// words are the owner window, the icon id and the flags; its texts (tooltip,
// balloon text and title) follow as zero-terminated UTF-16. A call that sets
// the icon also carries its pixels, which would read as text: its texts are
// not written.

FILE* trayLog = nullptr;
std::vector<std::pair<DWORD, DWORD>> trayIcons;  // owner and id of each icon taken

// The texts of a record: runs of two or more printable UTF-16 characters
// at even offsets, joined by " | ".
std::string RecordTexts(const BYTE* data, DWORD end) {
    std::string texts;
    std::wstring run;
    const auto endRun = [&] {
        if (run.size() >= 2) texts += (texts.empty() ? "" : " | ") + Utf8(run);
        run.clear();
    };
    for (DWORD at = 12; at + 1 < end; at += 2) {
        const unsigned c = data[at] | (data[at + 1] << 8);
        if ((c >= 0x20 && c < 0xD800) || (c >= 0xE000 && c < 0xFFFE))
            run += static_cast<wchar_t>(c);
        else
            endRun();
    }
    endRun();
    return texts;
}

LRESULT CALLBACK RecordingTrayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_COPYDATA) return FakeTrayProc(window, message, wParam, lParam);
    const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (copy == nullptr || copy->lpData == nullptr || copy->cbData < 12) return FALSE;
    const BYTE* data = static_cast<const BYTE*>(copy->lpData);
    DWORD words[3];
    std::memcpy(words, data, sizeof words);
    const std::pair<DWORD, DWORD> icon(words[0], words[1]);
    auto found = std::find(trayIcons.begin(), trayIcons.end(), icon);
    const bool known = found != trayIcons.end();
    // As a task bar answers: an icon is added once, and only an added one
    // can be changed or removed.
    BOOL answer = known;
    if (copy->dwData == NIM_ADD) {
        answer = !known;
        if (!known) trayIcons.push_back(icon);
    } else if (copy->dwData == NIM_DELETE && known) {
        trayIcons.erase(found);
    }
    std::fprintf(trayLog, "%lu 0x%lx %s\n", static_cast<unsigned long>(copy->dwData),
                 static_cast<unsigned long>(words[2]),
                 (words[2] & NIF_ICON) != 0 ? "" : RecordTexts(data, copy->cbData).c_str());
    std::fflush(trayLog);
    return answer;
}

// A top-most window of the task bar's class, as the shell's own before it
// has started: the icon calls find it first, and it refuses them (or, with
// the recording procedure, takes them).
int FakeTray(UINT seconds, WNDPROC procedure = FakeTrayProc) {
    RegisterStandIn(kTrayClass, procedure);
    HWND tray =
        CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kTrayClass, kFakeTrayTitle, WS_POPUP, 0,
                        0, 1, 1, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (tray == nullptr) return 1;
    SetTimer(tray, kFakeTrayRaise, 50, nullptr);
    return RunStandIn(tray, seconds);
}

int RecordTray(UINT seconds, const char* file) {
    trayLog = std::fopen(file, "w");
    if (trayLog == nullptr) return 1;
    const int code = FakeTray(seconds, RecordingTrayProc);
    std::fclose(trayLog);
    return code;
}

int FakeTrayUp() {
    HWND first = FindWindowExA(nullptr, nullptr, kTrayClass, nullptr);
    char title[64] = {};
    if (first != nullptr) GetWindowTextA(first, title, sizeof title);
    return std::strcmp(title, kFakeTrayTitle) == 0 ? 0 : 1;
}

// --- the notification area -----------------------------------------------

NOTIFYICONDATAA IconRecord(HWND window) {
    NOTIFYICONDATAA record{};
    // The record's first form, as the program gives it.
    record.cbSize = NOTIFYICONDATAA_V1_SIZE;
    record.hWnd = window;
    record.uID = ID_TRAY_ICON;
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
        if (!SendMessageTimeoutA(window, WM_COMMAND, ID_NEXT_PICTURE, 0, SMTO_ABORTIFHUNG, 60000,
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

int RegValue(const char* keyName, const char* valueName) {
    HKEY key = nullptr;
    const std::wstring keyText = Wide(keyName), nameText = Wide(valueName);
    DWORD type = 0;
    std::vector<BYTE> value(8192, 0);
    DWORD size = static_cast<DWORD>(value.size() - sizeof(wchar_t));
    LONG result = RegOpenKeyExW(HKEY_CURRENT_USER, keyText.c_str(), 0, KEY_QUERY_VALUE, &key);
    if (result == ERROR_SUCCESS) {
        result = RegQueryValueExW(key, nameText.c_str(), nullptr, &type, value.data(), &size);
        RegCloseKey(key);
    }
    if (result != ERROR_SUCCESS) {
        std::printf("missing\n");
        return 1;
    }
    if (type == REG_DWORD) {
        DWORD number = 0;
        std::memcpy(&number, value.data(), sizeof number);
        std::printf("%lu\n", static_cast<unsigned long>(number));
    } else {
        std::printf("%s\n", Utf8(reinterpret_cast<const wchar_t*>(value.data())).c_str());
    }
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

// --- the autostart value ---------------------------------------------------

// The program's value of the user's Run key, or "missing"; with `remove`,
// deletes it instead.
int RunValue(bool remove) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(corv::kAutostartKey).c_str(), 0,
                      KEY_QUERY_VALUE | KEY_SET_VALUE, &key) != ERROR_SUCCESS) {
        std::printf("missing\n");
        return remove ? 1 : 0;
    }
    const std::wstring name = Wide(corv::kAutostartValue);
    LONG result = ERROR_SUCCESS;
    if (remove) {
        result = RegDeleteValueW(key, name.c_str());
    } else {
        std::vector<wchar_t> value(4096, L'\0');
        DWORD bytes = static_cast<DWORD>((value.size() - 1) * sizeof(wchar_t));
        result = RegQueryValueExW(key, name.c_str(), nullptr, nullptr,
                                  reinterpret_cast<BYTE*>(value.data()), &bytes);
        std::printf("%s\n", result == ERROR_SUCCESS ? Utf8(value.data()).c_str() : "missing");
        result = ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? 0 : 1;
}

int SendAndWait(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR answer = 0;
    return SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeout,
                               &answer)
               ? 0
               : 1;
}

}  // namespace

Commands ProgramCommands() {
    const Needs any = Needs::Nothing, main = Needs::MainWindow;
    return {
        {"wait-window", "MS", "wait for the main window and its start (idle); it answers", any,
         [](const Call& c) { return WaitWindow(c.Number(0)); }},
        {"wait-gone", "MS", "wait until no main window is left", any,
         [](const Call& c) { return WaitGone(c.Number(0)); }},
        {"count-windows", "", "how many main windows there are", any,
         [](const Call&) {
             std::printf("%u\n", static_cast<unsigned>(MainWindows().size()));
             return 0;
         }},
        {"post-command", "ID", "post WM_COMMAND ID to the main window", main,
         [](const Call& c) { return PostMessageA(c.main, WM_COMMAND, c.Number(0), 0) ? 0 : 1; }},
        {"send-command", "ID", "send WM_COMMAND ID: done on return", main,
         [](const Call& c) { return SendAndWait(c.main, WM_COMMAND, c.Number(0), 0); }},
        {"send", "MSG WPARAM LPARAM", "send a message to the main window, print the answer", main,
         [](const Call& c) {
             DWORD_PTR answer = 0;
             if (!SendMessageTimeoutA(c.main, c.Number(0), c.Number(1),
                                      static_cast<LPARAM>(c.Number(2)), SMTO_ABORTIFHUNG,
                                      kSendTimeout, &answer))
                 return 1;
             std::printf("%ld\n", static_cast<long>(answer));
             return 0;
         }},
        {"post", "MSG WPARAM LPARAM", "post a message to the main window", any,
         [](const Call& c) {
             HWND window = MainWindow();
             return window != nullptr && PostMessageW(window, static_cast<UINT>(c.Number(0)),
                                                      c.Number(1), static_cast<LPARAM>(c.Number(2)))
                        ? 0
                        : 1;
         }},
        {"visible", "", "1 when the main window is visible", main,
         [](const Call& c) {
             std::printf("%d\n", IsWindowVisible(c.main) ? 1 : 0);
             return 0;
         }},
        {"try-show", "", "show the main window every usual way: \"hidden\" or \"shown by ...\"",
         main, [](const Call& c) { return TryShow(c.main); }},
        {"kill", "", "end the program's process at once", main,
         [](const Call& c) { return Kill(c.main); }},
        {"icon-state", "",
         "\"present\" or \"absent\": whether the notification area has the program's icon "
         "(a modify call that changes nothing)",
         main, [](const Call& c) { return IconState(c.main); }},
        {"drop-icon", "", "remove the program's icon, as a crashing shell loses it", main,
         [](const Call& c) { return DropIcon(c.main); }},
        {"taskbar-created", "", "send \"TaskbarCreated\" to the program", main,
         [](const Call& c) {
             return SendAndWait(c.main, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
         }},
        {"soak", "COUNT EVERY",
         "COUNT next-picture commands, one after the other; the program's memory after every "
         "EVERY, its GDI and USER objects at the start and the end",
         main,
         [](const Call& c) {
             return Soak(c.main, static_cast<unsigned>(c.Number(0)),
                         static_cast<unsigned>(c.Number(1)));
         }},
        {"fake-desktop", "SECONDS", "a \"Progman\" window with an icon view, for SECONDS", any,
         [](const Call& c) { return FakeDesktop(c.Number(0)); }},
        {"desktop-icons", "", "the icon view: \"shown\", \"hidden\" or \"missing\"", any,
         [](const Call&) { return DesktopIcons(); }},
        {"fake-tray", "SECONDS",
         "a task bar window that refuses every icon, found before the real one", any,
         [](const Call& c) { return FakeTray(c.Number(0)); }},
        {"record-tray", "SECONDS FILE",
         "a task bar window, found before the real one, that takes every icon and writes each "
         "icon call to FILE as a line \"CALL FLAGS TEXTS\" (UTF-8)",
         any, [](const Call& c) { return RecordTray(c.Number(0), c.Text(1)); }},
        {"fake-tray-up", "", "exit code 0 once a fake task bar (either of the two) exists", any,
         [](const Call&) { return FakeTrayUp(); }},
        {"set-wallpaper-reg", "PATH", "the user's wallpaper in the registry", any,
         [](const Call& c) { return SetWallpaperReg(c.Text(0)); }},
        {"get-wallpaper-reg", "", "print the user's wallpaper in the registry", any,
         [](const Call&) { return GetWallpaperReg(); }},
        {"reg-value", "KEY NAME",
         "a value of the user's KEY: the text (UTF-8) or the number, or \"missing\"", any,
         [](const Call& c) { return RegValue(c.Text(0), c.Text(1)); }},
        {"screen", "",
         "\"WIDTH HEIGHT LEFT TOP RIGHT BOTTOM\": the screen's size and the work area", any,
         [](const Call&) { return Screen(); }},
        {"dpi", "", "the display's DPI (LOGPIXELSY)", any,
         [](const Call&) {
             HDC screen = GetDC(nullptr);
             std::printf("%d\n", screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0);
             if (screen != nullptr) ReleaseDC(nullptr, screen);
             return 0;
         }},
        {"run-value", "", "the program's autostart value of the user's Run key, or \"missing\"",
         any, [](const Call&) { return RunValue(false); }},
        {"run-value-delete", "", "remove that value, as another program would", any,
         [](const Call&) { return RunValue(true); }},
    };
}

}  // namespace e2e
