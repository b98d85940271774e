#include "engine/dpi_win.h"

#include "engine/dpi_scale.h"

namespace corv {

namespace {

int32_t QuerySystemDpi() {
    // Older systems (and some Wine versions) lack GetDpiForSystem.
    using DpiForSystem = UINT(WINAPI*)();
    if (HMODULE user = GetModuleHandleW(L"user32.dll")) {
        auto query = reinterpret_cast<DpiForSystem>(
            reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForSystem")));
        if (query != nullptr) {
            const UINT dpi = query();
            if (dpi > 0) return UsableDpi(static_cast<int32_t>(dpi));
        }
    }
    int32_t dpi = 0;
    if (HDC screen = GetDC(nullptr)) {
        dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    }
    return UsableDpi(dpi);
}

}  // namespace

int32_t SystemDpi() {
    // The system DPI does not change while a process runs: read it once.
    static const int32_t dpi = QuerySystemDpi();
    return dpi;
}

int ScaledPixels(int pixels) {
    return ScaleForDpi(pixels, SystemDpi());
}

}  // namespace corv
