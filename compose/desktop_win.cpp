#include "compose/desktop_win.h"

#include <windows.h>

#include <vector>

#include "base/text_win.h"
#include "compose/desktop_wallpaper_win.h"
#include "compose/monitor_layout.h"

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

namespace {

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    auto* monitors = reinterpret_cast<std::vector<MonitorArea>*>(data);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(monitor, &info)) return TRUE;
    const RECT& a = info.rcMonitor;
    const RECT& w = info.rcWork;
    monitors->push_back(MonitorArea{RectI{a.left, a.top, a.right - a.left, a.bottom - a.top},
                                    RectI{w.left, w.top, w.right - w.left, w.bottom - w.top},
                                    (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
    return TRUE;
}

void SetDesktopValue(HKEY key, const char* name, const std::string& value) {
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
}

}  // namespace

std::vector<MonitorArea> SystemDesktop::Monitors() {
    std::vector<MonitorArea> monitors;
    if (!EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors)))
        monitors.clear();
    return monitors;
}

namespace {

// A text the interface gives, freed.
std::string TakeText(LPWSTR text) {
    if (text == nullptr) return std::string();
    const std::string out = Utf8(text);
    CoTaskMemFree(text);
    return out;
}

}  // namespace

SystemDesktop::~SystemDesktop() {
    if (perMonitor_ != nullptr) perMonitor_->Release();
}

bool SystemDesktop::SetsEachMonitor() {
    if (!perMonitorTried_) {
        perMonitorTried_ = true;
        void* made = nullptr;
        if (SUCCEEDED(CoCreateInstance(kDesktopWallpaperClass, nullptr, CLSCTX_ALL,
                                       kDesktopWallpaperInterface, &made)))
            perMonitor_ = static_cast<IMonitorWallpapers*>(made);
    }
    return perMonitor_ != nullptr;
}

void SystemDesktop::SetMonitorWallpapers(const std::vector<MonitorFile>& files) {
    if (!SetsEachMonitor()) return;
    UINT count = 0;
    if (FAILED(perMonitor_->GetMonitorDevicePathCount(&count))) return;
    if (!positionSet_) {
        // The files have their monitors' sizes: centred, they fill them.
        positionSet_ = SUCCEEDED(perMonitor_->SetPosition(kWallpaperCentred));
    }
    for (UINT i = 0; i < count; ++i) {
        LPWSTR id = nullptr;
        if (FAILED(perMonitor_->GetMonitorDevicePathAt(i, &id)) || id == nullptr) continue;
        RECT r{};
        if (SUCCEEDED(perMonitor_->GetMonitorRECT(id, &r))) {
            for (const MonitorFile& file : files) {
                const RectI& a = file.area;
                if (a.x != r.left || a.y != r.top || a.width != r.right - r.left ||
                    a.height != r.bottom - r.top)
                    continue;
                const std::wstring path = Wide(file.path);
                perMonitor_->SetWallpaper(id, path.c_str());
                break;
            }
        }
        CoTaskMemFree(id);
    }
}

bool SystemDesktop::ReadMonitorWallpapers(MonitorWallpapers& wallpapers) {
    wallpapers = MonitorWallpapers{};
    if (!SetsEachMonitor()) return false;
    UINT count = 0;
    if (FAILED(perMonitor_->GetMonitorDevicePathCount(&count))) return false;
    int position = -1;
    if (SUCCEEDED(perMonitor_->GetPosition(&position))) wallpapers.position = position;
    for (UINT i = 0; i < count; ++i) {
        LPWSTR id = nullptr;
        if (FAILED(perMonitor_->GetMonitorDevicePathAt(i, &id)) || id == nullptr) continue;
        LPWSTR path = nullptr;
        const bool read = SUCCEEDED(perMonitor_->GetWallpaper(id, &path));
        const std::string monitor = TakeText(id);
        const std::string picture = TakeText(path);
        if (read) wallpapers.monitors.push_back(MonitorWallpaper{monitor, picture});
    }
    return true;
}

void SystemDesktop::PutBackMonitorWallpapers(const MonitorWallpapers& wallpapers) {
    if (wallpapers.monitors.empty() || !SetsEachMonitor()) return;
    if (wallpapers.position >= 0) perMonitor_->SetPosition(wallpapers.position);
    for (const MonitorWallpaper& m : wallpapers.monitors) {
        const std::wstring monitor = Wide(m.monitor);
        const std::wstring path = Wide(m.path);
        perMonitor_->SetWallpaper(monitor.c_str(), path.c_str());
    }
}

std::vector<MonitorArea> SystemMonitors() {
    SystemDesktop desktop;
    return UsableMonitors(desktop.Monitors(), desktop.ScreenSize(), desktop.WorkArea());
}

void SystemDesktop::SetTiledWallpaper(const std::string& path) {
    SetWallpaperStyleValues("1", "0");
    SetDesktopWallpaper(path);
}

void SetWallpaperStyleValues(const std::string& tile, const std::string& style) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    SetDesktopValue(key, "TileWallpaper", tile);
    SetDesktopValue(key, "WallpaperStyle", style);
    RegCloseKey(key);
}

void DeleteWallpaperStyleValues() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_SET_VALUE, &key) !=
        ERROR_SUCCESS)
        return;
    RegDeleteValueA(key, "TileWallpaper");
    RegDeleteValueA(key, "WallpaperStyle");
    RegCloseKey(key);
}

void SetDesktopWallpaper(const std::string& path) {
    // The call takes a writable buffer.
    std::wstring buffer = Wide(path);
    buffer.push_back(L'\0');
    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, buffer.data(),
                          SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
}

}  // namespace corv
