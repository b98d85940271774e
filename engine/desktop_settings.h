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

#include "engine/settings.h"

namespace corv {

constexpr const char* kRememberedWallpaperKey = "oriwallpath";
// The user's wallpaper style values, kept once the program has set the tile
// style for several monitors: "TILE,STYLE" (TileWallpaper, WallpaperStyle).
constexpr const char* kRememberedStyleKey = "oriwallstyle";
// The wallpaper paths are read with the room of the registry read, so a
// long path comes back whole from env.ini after a crash.
constexpr std::size_t kWallpaperPathBuffer = 1024;

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
