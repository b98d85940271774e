// The driver's entry point: the command tables, their dispatch and help,
// and what the tables share (driver_win.h).
#include "driver_win.h"

#include <commctrl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

#include "app/program_names.h"
#include "base/text_win.h"

namespace e2e {

namespace {

// The system's class of dialogs, the main window's class.
const char kDialogClass[] = "#32770";

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
    wchar_t title[64] = {};
    GetClassNameA(window, className, sizeof className);
    GetWindowTextW(window, title, 64);
    if (std::strcmp(className, kDialogClass) != 0 ||
        std::wcscmp(title, corv::kMainWindowTitle) != 0)
        return TRUE;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (EndsWithFileName(ProcessFileName(processId), CORV_PROGRAM_FILE))
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

struct Search {
    std::wstring title;      // when not empty: only windows of this title
    std::wstring className;  // the same for the class
    DWORD processId = 0;     // when not 0: only windows of this process
    HWND skip = nullptr;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectVisible(HWND window, LPARAM param) {
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

std::vector<HWND> Find(Search search) {
    EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// --- the tables -----------------------------------------------------------

Commands AllCommands() {
    Commands all;
    for (Commands (*table)() : {ProgramCommands, DialogCommands, ListCommands, DesktopCommands}) {
        const Commands part = table();
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

// How many arguments the synopsis takes: "[X]" is optional, "X..." one or
// more.
void ArgumentCounts(const char* synopsis, int& least, int& most) {
    least = most = 0;
    bool open = false;
    const std::string text = synopsis;
    size_t at = 0;
    while ((at = text.find_first_not_of(' ', at)) != std::string::npos) {
        const size_t end = std::min(text.find(' ', at), text.size());
        const std::string word = text.substr(at, end - at);
        if (word[0] != '[') ++least;
        ++most;
        open = open || (word.size() > 3 && word.compare(word.size() - 3, 3, "...") == 0);
        at = end;
    }
    if (open) most = INT_MAX;
}

// Finds what the command acts on; false when it is missing.
bool FindTarget(Needs needs, Call& call) {
    switch (needs) {
        case Needs::Nothing:
            return true;
        case Needs::MainWindow:
            call.main = MainWindow();
            if (call.main == nullptr) std::printf("no main window\n");
            return call.main != nullptr;
        case Needs::PageControl:
            call.page = CurrentPage(FindTitled(call.Text(0)));
            call.control = call.page != nullptr ? GetDlgItem(call.page, call.Int(1)) : nullptr;
            return call.control != nullptr;
        case Needs::WindowControl:
            if (HWND window = FindTitled(call.Text(0)))
                call.control = GetDlgItem(window, call.Int(1));
            return call.control != nullptr;
    }
    return false;
}

void PrintHelp(std::FILE* out, const Commands& commands) {
    std::fprintf(out, "usage: e2e_driver COMMAND [ARGS]\n");
    for (const Command& command : commands)
        std::fprintf(out, "  %s%s%s\n      %s\n", command.name, *command.args ? " " : "",
                     command.args, command.help);
}

int Run(int argc, char** argv) {
    const Commands commands = AllCommands();
    const std::string name = argc >= 2 ? argv[1] : "";
    if (name == "help") {
        PrintHelp(stdout, commands);
        return 0;
    }
    for (const Command& command : commands) {
        if (name != command.name) continue;
        Call call;
        call.args = argv + 2;
        call.count = argc - 2;
        int least = 0, most = 0;
        ArgumentCounts(command.args, least, most);
        if (call.count < least || call.count > most) break;
        return FindTarget(command.needs, call) ? command.run(call) : 1;
    }
    PrintHelp(stderr, commands);
    return 2;
}

}  // namespace

// --- shared by the tables ---------------------------------------------------

std::vector<HWND> MainWindows() {
    std::vector<HWND> found;
    EnumWindows(CollectMainWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND MainWindow() {
    std::vector<HWND> found = MainWindows();
    return found.empty() ? nullptr : found.front();
}

bool Sync(HWND window) {
    DWORD_PTR answer = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kSendTimeout, &answer) != 0;
}

std::wstring Wide(const char* text) {
    return corv::Wide(corv::AnsiToUtf8(text != nullptr ? text : ""));
}

std::string Utf8(const std::wstring& text) {
    return corv::Utf8(text);
}

std::wstring WindowText(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
}

std::wstring ClassName(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

HWND FindTitled(const char* title) {
    Search search;
    search.title = Wide(title);
    std::vector<HWND> found = Find(search);
    return found.empty() ? nullptr : found.front();
}

std::vector<HWND> ProgramWindows() {
    HWND main = MainWindow();
    if (main == nullptr) return {};
    Search search;
    GetWindowThreadProcessId(main, &search.processId);
    search.skip = main;
    return Find(search);
}

HWND CurrentPage(HWND sheet) {
    if (sheet == nullptr) return nullptr;
    return reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

HWND FindMenu() {
    Search search;
    search.className = L"#32768";  // the system's class of pop-up menus
    std::vector<HWND> found = Find(search);
    return found.empty() ? nullptr : found.front();
}

int Click(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    return PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                        reinterpret_cast<LPARAM>(button))
               ? 0
               : 1;
}

int PrintRect(HWND window) {
    RECT r{};
    if (window == nullptr || !GetWindowRect(window, &r)) return 1;
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    return 0;
}

int SetControlText(HWND control, const char* text) {
    if (control == nullptr) return 1;
    const std::wstring wide = Wide(text);
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()),
                               SMTO_ABORTIFHUNG, kSendTimeout, &answer)
               ? 0
               : 1;
}

}  // namespace e2e

int main(int argc, char** argv) {
    // The driver sees real pixels, as the DPI-aware program does, not the
    // coordinates the system scales for programs that are not.
    if (HMODULE user = GetModuleHandleW(L"user32.dll")) {
        using SetAware = BOOL(WINAPI*)();
        auto setAware = reinterpret_cast<SetAware>(
            reinterpret_cast<void*>(GetProcAddress(user, "SetProcessDPIAware")));
        if (setAware != nullptr) setAware();
    }
    const int code = e2e::Run(argc, argv);
    std::fflush(stdout);
    return code;
}
