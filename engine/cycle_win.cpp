#include "engine/cycle_win.h"

#include <winsock2.h>

#include <windows.h>

#include "base/text_win.h"

namespace corv {

std::vector<TopWindow> ListTopWindows() {
    std::vector<TopWindow> windows;
    // Bounded, in case the z-order changes while it is walked.
    for (HWND w = GetTopWindow(nullptr); w != nullptr && windows.size() < 100000;
         w = GetWindow(w, GW_HWNDNEXT)) {
        TopWindow info;
        info.visible = IsWindowVisible(w) != FALSE;
        info.minimized = (GetWindowLongW(w, GWL_STYLE) & WS_MINIMIZE) != 0;
        info.hasOwner = GetParent(w) != nullptr;
        wchar_t text[512] = {};
        GetWindowTextW(w, text, 512);
        info.title = Utf8(text);
        wchar_t className[256] = {};
        GetClassNameW(w, className, 256);
        info.className = Utf8(className);
        windows.push_back(std::move(info));
    }
    return windows;
}

std::string GetAddressText() {
    std::string text = "MY IP: ";
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return text;
    char host[256] = {};
    if (gethostname(host, sizeof host) == 0) {
        if (hostent* entry = gethostbyname(host)) {
            if (entry->h_addrtype == AF_INET && entry->h_addr_list != nullptr) {
                const char* last = nullptr;
                for (char** a = entry->h_addr_list; *a != nullptr; ++a) {
                    in_addr address;
                    memcpy(&address, *a, sizeof address);
                    last = inet_ntoa(address);
                    if (last != nullptr) text = std::string("MY IP: ") + last;
                }
            }
        }
    }
    WSACleanup();
    return text;
}

}  // namespace corv
