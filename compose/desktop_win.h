// The desktop seen through the system parameters.
#pragma once

#include <vector>

#include "compose/desktop.h"
#include "engine/desktop_settings.h"

namespace corv {

struct IMonitorWallpapers;

class SystemDesktop : public Desktop {
public:
    SystemDesktop() = default;
    ~SystemDesktop() override;
    SystemDesktop(const SystemDesktop&) = delete;
    SystemDesktop& operator=(const SystemDesktop&) = delete;

    SizeI ScreenSize() override;
    RectI WorkArea() override;
    void SetWallpaper(const std::string& path) override;
    std::vector<MonitorArea> Monitors() override;
    void SetTiledWallpaper(const std::string& path) override;
    // Through the system's per-monitor wallpapers (Windows 8 and later),
    // made on first use; where it cannot be made (Windows 7, Wine) the
    // tiled file is used.
    bool SetsEachMonitor() override;
    void SetMonitorWallpapers(const std::vector<MonitorFile>& files) override;

    // Every monitor's wallpaper and the position; false where there are no
    // per-monitor wallpapers.
    bool ReadMonitorWallpapers(MonitorWallpapers& wallpapers);
    // Puts `wallpapers` back on their monitors (those still there), with
    // their position.
    void PutBackMonitorWallpapers(const MonitorWallpapers& wallpapers);

private:
    IMonitorWallpapers* perMonitor_ = nullptr;
    bool perMonitorTried_ = false;
    bool positionSet_ = false;
};

// The monitors as the composition uses them (UsableMonitors of the
// system's list): the primary first, one primary screen when the list
// cannot be read.
std::vector<MonitorArea> SystemMonitors();

// Writes "Control Panel\Desktop" TileWallpaper and WallpaperStyle (the
// system reads them when the wallpaper is set next).
void SetWallpaperStyleValues(const std::string& tile, const std::string& style);
// Removes both values, for a user who had none.
void DeleteWallpaperStyleValues();

// Sets `path` as the desktop wallpaper, saved in the profile and announced
// to every window. An empty path leaves the desktop without an image.
void SetDesktopWallpaper(const std::string& path);

}  // namespace corv
