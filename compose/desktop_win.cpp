#include "compose/desktop_win.h"

#include <windows.h>

#include <vector>

#include "base/text_win.h"

namespace corv {

SizeI SystemDesktop::ScreenSize() {
    return SizeI{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

RectI SystemDesktop::WorkArea() {
    RECT area{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0)) {
        SizeI screen = ScreenSize();
        return RectI{0, 0, screen.width, screen.height};
    }
    return RectI{area.left, area.top, area.right - area.left, area.bottom - area.top};
}

void SystemDesktop::SetWallpaper(const std::string& path) {
    SetDesktopWallpaper(path);
}

void SetDesktopWallpaper(const std::string& path) {
    // The call takes a writable buffer.
    std::wstring buffer = Wide(path);
    buffer.push_back(L'\0');
    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, buffer.data(),
                          SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
}

}  // namespace corv
