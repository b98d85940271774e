// The driver's commands for the desktop's monitors and the user's wallpaper
// style values ("Control Panel\Desktop"; reg-value reads them).
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "driver_win.h"

namespace e2e {

namespace {

constexpr const wchar_t* kDesktopValuesKey = L"Control Panel\\Desktop";

BOOL CALLBACK PrintMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info)) return TRUE;
    const RECT& a = info.rcMonitor;
    const RECT& w = info.rcWork;
    std::printf("%ld %ld %ld %ld %ld %ld %ld %ld %d\n", static_cast<long>(a.left),
                static_cast<long>(a.top), static_cast<long>(a.right), static_cast<long>(a.bottom),
                static_cast<long>(w.left), static_cast<long>(w.top), static_cast<long>(w.right),
                static_cast<long>(w.bottom), (info.dwFlags & MONITORINFOF_PRIMARY) ? 1 : 0);
    return TRUE;
}

// Sets the value (VALUE "-" removes it).
int SetDesktopValue(const char* name, const char* value) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopValuesKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return 1;
    const std::wstring nameText = Wide(name);
    LONG result;
    if (std::strcmp(value, "-") == 0) {
        result = RegDeleteValueW(key, nameText.c_str());
    } else {
        const std::wstring text = Wide(value);
        result = RegSetValueExW(key, nameText.c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(text.c_str()),
                                static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    RegCloseKey(key);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND ? 0 : 1;
}

}  // namespace

Commands DesktopCommands() {
    const Needs any = Needs::Nothing;
    return {
        {"monitors", "",
         "one line a monitor, \"L T R B WL WT WR WB P\": its rectangle, its work area and 1 for "
         "the primary",
         any,
         [](const Call&) {
             return EnumDisplayMonitors(nullptr, nullptr, PrintMonitor, 0) ? 0 : 1;
         }},
        {"set-desktop-value", "NAME VALUE",
         "a value of the user's \"Control Panel\\Desktop\" (VALUE \"-\" removes it)", any,
         [](const Call& c) { return SetDesktopValue(c.Text(0), c.Text(1)); }},
    };
}

}  // namespace e2e
