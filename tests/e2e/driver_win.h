// The end-to-end tests' hands: a small console program, run under Wine in
// the same prefix (and virtual desktop) as the program under test. It finds
// the program's hidden main window and sends it messages, presses the
// controls of its dialogs and menus, plays a desktop and a task bar, and
// reads and writes the user's settings that the program changes.
//
// Every command is a row of a table (a name, its arguments, a help text and
// its handler); `e2e_driver help` prints them all. Exit code 0 on success,
// 1 when the awaited state did not come, 2 for a usage error.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace e2e {

// The arguments of one command, after its name.
struct Call {
    char** args = nullptr;
    int count = 0;
    // What the command's row asks for; it does not run without it.
    HWND main = nullptr;     // the program's main window
    HWND page = nullptr;     // the page on show of the sheet titled Text(0)
    HWND control = nullptr;  // control Int(1) of that page, or of the window titled Text(0)

    const char* Text(int i) const { return args[i]; }
    bool Has(int i) const { return i < count; }
    // A number: decimal or 0x hex.
    unsigned long Number(int i) const { return std::strtoul(args[i], nullptr, 0); }
    // A control id, an index or a count: decimal.
    int Int(int i) const { return std::atoi(args[i]); }
};

// What a command acts on, found before it runs: a command whose window or
// control is missing answers 1 ("no main window" for the main window).
enum class Needs {
    Nothing,
    MainWindow,
    PageControl,    // TITLE ID: control ID of the page on show of sheet TITLE
    WindowControl,  // TITLE ID: control ID of window TITLE
};

struct Command {
    const char* name;
    // The arguments as the help shows them: "TITLE [ID]" takes one or two,
    // "KEY..." one or more. The dispatch counts them from this text.
    const char* args;
    const char* help;
    Needs needs;
    int (*run)(const Call& call);
};

using Commands = std::vector<Command>;

// The tables, in the order the help lists them.
Commands ProgramCommands();  // the main window, its icon, the shell and the registry
Commands DialogCommands();   // windows by title, dialogs, message boxes, menus, keys
Commands ListCommands();     // list views, drop-down lists and the slot windows
Commands DesktopCommands();  // the desktop's monitors and the wallpaper style values

// --- shared by the tables ---------------------------------------------------

constexpr UINT kSendTimeout = 5000;

// The program's main windows: top-level dialogs with the main window's title
// of a process running the program's file.
std::vector<HWND> MainWindows();
HWND MainWindow();
// Waits until the window's thread has handled everything sent before.
bool Sync(HWND window);

std::wstring Wide(const char* text);  // from the ANSI code page
std::string Utf8(const std::wstring& text);
std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);

// The first visible top-level window titled `title` (ANSI, compared as wide
// text); null when there is none.
HWND FindTitled(const char* title);
// The program's visible windows besides its main window.
std::vector<HWND> ProgramWindows();
// The page on show of a property sheet.
HWND CurrentPage(HWND sheet);
// The open pop-up menu, or null.
HWND FindMenu();

// Presses button `id` of `dialog` (WM_COMMAND BN_CLICKED, posted).
int Click(HWND dialog, int id);
// The window's screen rectangle "L T R B".
int PrintRect(HWND window);
// Sets the control's text (WM_SETTEXT), waiting for the answer.
int SetControlText(HWND control, const char* text);

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

}  // namespace e2e
