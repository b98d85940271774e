// The desktop seen through the system parameters.
#pragma once

#include <vector>

#include "compose/desktop.h"

namespace corv {

class SystemDesktop : public Desktop {
public:
    SizeI ScreenSize() override;
    RectI WorkArea() override;
    void SetWallpaper(const std::string& path) override;
    std::vector<MonitorArea> Monitors() override;
    void SetTiledWallpaper(const std::string& path) override;
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
