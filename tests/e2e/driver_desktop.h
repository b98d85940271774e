// The driver's commands for the desktop's monitors and wallpaper style.
// Included by driver.cpp only.
//
//   e2e_driver monitors                  one line a monitor, "L T R B WL WT WR
//                                        WB P": its rectangle, its work area
//                                        and 1 for the primary
//   e2e_driver get-desktop-value NAME    a "Control Panel\Desktop" value, or
//                                        "missing"
//   e2e_driver set-desktop-value NAME V  sets it (V "-" removes it)
#pragma once

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace e2edesktop {

constexpr const char* kDesktopValuesKey = "Control Panel\\Desktop";

inline BOOL CALLBACK PrintMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(monitor, &info)) return TRUE;
    const RECT& a = info.rcMonitor;
    const RECT& w = info.rcWork;
    std::printf("%ld %ld %ld %ld %ld %ld %ld %ld %d\n", a.left, a.top, a.right, a.bottom, w.left,
                w.top, w.right, w.bottom, (info.dwFlags & MONITORINFOF_PRIMARY) ? 1 : 0);
    return TRUE;
}

inline int GetDesktopValue(const char* name) {
    HKEY key = nullptr;
    char value[1024] = {};
    DWORD size = sizeof value - 1;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kDesktopValuesKey, 0, KEY_QUERY_VALUE, &key) !=
            ERROR_SUCCESS ||
        RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) !=
            ERROR_SUCCESS)
        std::strcpy(value, "missing");
    if (key != nullptr) RegCloseKey(key);
    std::printf("%s\n", value);
    return 0;
}

inline int SetDesktopValue(const char* name, const char* value) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kDesktopValuesKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return 1;
    LONG result;
    if (std::strcmp(value, "-") == 0)
        result = RegDeleteValueA(key, name);
    else
        result = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                                static_cast<DWORD>(std::strlen(value) + 1));
    RegCloseKey(key);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND ? 0 : 1;
}

// -1 when the command is not one of these.
inline int Run(int argc, char** argv) {
    const std::string command = argv[1];
    if (command == "monitors")
        return EnumDisplayMonitors(nullptr, nullptr, PrintMonitor, 0) ? 0 : 1;
    if (command == "get-desktop-value" && argc == 3) return GetDesktopValue(argv[2]);
    if (command == "set-desktop-value" && argc == 4) return SetDesktopValue(argv[2], argv[3]);
    return -1;
}

}  // namespace e2edesktop
