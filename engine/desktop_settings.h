// The user's desktop as the program finds it at start: the wallpaper to put
// back at the end, and the desktop colour used when no background colour is
// chosen.
//
// The wallpaper path also goes into env.ini (key oriwallpath) at every
// start. If a run ends without putting the user's wallpaper back (a crash,
// a forced end), the desktop still shows the program's own file at the next
// start; the remembered path is then the user's wallpaper.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/settings.h"

namespace corv {

constexpr const char* kRememberedWallpaperKey = "oriwallpath";
// The user's wallpaper style values, kept once the program has set the tile
// style for several monitors: "TILE,STYLE" (TileWallpaper, WallpaperStyle).
constexpr const char* kRememberedStyleKey = "oriwallstyle";
constexpr const char* kRememberedMonitorsKey = "oriwallpaths";
// The wallpaper paths are read with the room of the registry read, so a
// long path comes back whole from env.ini after a crash.
constexpr std::size_t kWallpaperPathBuffer = 1024;

// The wallpaper of one monitor as the system's per-monitor wallpaper
// interface names them: the monitor's device path and the picture's path.
struct MonitorWallpaper {
    std::string monitor;
    std::string path;
};

// Every monitor's wallpaper and the one position (centred, tiled,
// stretched...) the system lays them out with; -1 when it is unknown.
struct MonitorWallpapers {
    int32_t position = -1;
    std::vector<MonitorWallpaper> monitors;
};

// The program's file for the monitor at `index` of the composition's list
// (the primary first): Corvalendrine.bmp for the primary, then
// Corvalendrine-2.bmp, Corvalendrine-3.bmp...
std::string OwnMonitorWallpaperPath(const std::string& programDir, std::size_t index);

// True when `path` is one of the program's wallpaper files in programDir.
bool IsOwnWallpaperFile(const std::string& path, const std::string& programDir);

// env.ini oriwallpaths: "POSITION|MONITOR|PATH|MONITOR|PATH...", '|' being
// a character no path and no device path holds. Line breaks and '|' inside
// a text are dropped, so the value always splits as it was joined.
std::string JoinMonitorWallpapers(const MonitorWallpapers& wallpapers);
// The value split; a malformed one gives what can be read of it (a position
// that is no number is -1, a monitor without a name or without a path
// field is dropped).
MonitorWallpapers SplitMonitorWallpapers(const std::string& text);

// The user's wallpapers to put back at the end, from what the system shows
// at start (`current`). A monitor that shows one of the program's own files
// was left so by a run that did not end well: its picture is the one
// remembered for it in `remembered` (env.ini oriwallpaths), or, with none,
// settings.userWallpaper; the position is the remembered one then.
MonitorWallpapers UsersMonitorWallpapers(const MonitorWallpapers& current,
                                         const std::string& remembered, const Settings& settings);

// Whether the program's files are on some monitor of `current`.
bool ShowsOwnWallpaper(const MonitorWallpapers& current, const std::string& programDir);

// Writes settings.userMonitorWallpapers to env.ini under oriwallpaths. False
// when the file could not be written.
bool SaveUserMonitorWallpapers(const Settings& settings);

// What the system's registry holds; a value that could not be read is
// marked missing.
struct DesktopValues {
    bool hasWallpaper = false;
    std::string wallpaper;  // "Control Panel\Desktop", "Wallpaper"
    bool hasBackground = false;
    std::string background;      // "Control Panel\Colors", "Background": "R G B"
    bool hasStyle = false;       // both values below were read
    std::string tileWallpaper;   // "Control Panel\Desktop", "TileWallpaper"
    std::string wallpaperStyle;  // "Control Panel\Desktop", "WallpaperStyle"
};

// The program's own wallpaper file: programDir + "Corvalendrine.bmp".
std::string OwnWallpaperPath(const std::string& programDir);

// True when two paths (UTF-8) name the same file by their text: letters
// compared without regard to ASCII case, '\' and '/' alike. Characters
// beyond ASCII are compared exactly.
bool SamePathText(const std::string& a, const std::string& b);

// Sets settings.userWallpaper, userWallpaperStyle and desktopColor from the
// registry values, reading env.ini beside settings.programDir when the
// wallpaper is the program's own file (the style too, when one was kept). A missing wallpaper value
// gives an empty path; a missing or short colour value keeps desktopColor as it is.
void ApplyDesktopValues(Settings& settings, const DesktopValues& values);

// "TILE,STYLE" split in its two values; false, both untouched, when the text
// has no comma or a value that is not a whole number.
bool SplitWallpaperStyle(const std::string& text, std::string& tile, std::string& style);

// Parses "R G B" (decimal numbers separated by blanks; only the low 8 bits
// of each count) into an opaque ARGB colour. False, and `argb` untouched,
// when there are fewer than three numbers.
bool ParseDesktopColor(const std::string& text, Argb& argb);

// Writes settings.userWallpaper to env.ini under oriwallpath. False when the
// file could not be written.
bool SaveUserWallpaperPath(const Settings& settings);

// Writes settings.userWallpaperStyle to env.ini under oriwallstyle. False
// when the file could not be written.
bool SaveUserWallpaperStyle(const Settings& settings);

}  // namespace corv
