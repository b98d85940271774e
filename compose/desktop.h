// What the composition needs of the desktop: the screen and work area, the
// monitors, and setting the wallpaper. The Windows implementation is
// desktop_win.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "compose/imaging.h"

namespace corv {

struct SizeI {
    int32_t width = 0;
    int32_t height = 0;
};

// One monitor in virtual-screen coordinates (the primary's top-left is 0,0).
struct MonitorArea {
    RectI area;
    RectI work;  // the part not covered by task bars
    bool primary = false;
};

// One monitor's own wallpaper file, for a system that sets each monitor's.
struct MonitorFile {
    RectI area;  // the monitor, in virtual-screen coordinates
    std::string path;
};

class Desktop {
public:
    virtual ~Desktop() = default;
    // The primary screen in pixels.
    virtual SizeI ScreenSize() = 0;
    // The desktop not covered by task bars, as (left, top, width, height).
    virtual RectI WorkArea() = 0;
    // Makes `path` the desktop wallpaper, saved in the user's profile.
    virtual void SetWallpaper(const std::string& path) = 0;
    // Every monitor as the system lists it; empty when the list cannot be
    // read. The base gives the primary screen alone.
    virtual std::vector<MonitorArea> Monitors() {
        const SizeI screen = ScreenSize();
        return {MonitorArea{RectI{0, 0, screen.width, screen.height}, WorkArea(), true}};
    }
    // Makes `path` the wallpaper tiled from the primary monitor's top-left
    // at its own pixel size, so one file covers every monitor.
    virtual void SetTiledWallpaper(const std::string& path) { SetWallpaper(path); }
    // Whether the system sets a wallpaper of its own on every monitor; the
    // tiled file is for a system that does not.
    virtual bool SetsEachMonitor() { return false; }
    // Makes each file the wallpaper of the monitor at its area, shown at its
    // own pixel size.
    virtual void SetMonitorWallpapers(const std::vector<MonitorFile>& files) { (void)files; }
};

}  // namespace corv
