// The wallpaper composer: turns the settings and the next picture into one
// screen-sized bitmap, saves it as Corvalendrine.bmp beside the program and
// makes it the desktop wallpaper.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "compose/desktop.h"
#include "compose/imaging.h"
#include "engine/app_state.h"
#include "engine/dpi_scale.h"
#include "engine/platform.h"

namespace corv {

struct ComposeServices {
    Imaging& imaging;
    Desktop& desktop;
    Random& random;
    Clock& clock;
    FileSystem& fs;
    std::function<void()> scanStep;  // progress of a catalogue rescan, may be empty
    // The catalogue was just read from the folders: an empty list is not
    // read again by this change.
    bool listScanned = false;
    // The picture of a path at a size, prepared ahead or decoded now (and
    // kept for a later change); null, or empty, to load the file here.
    std::function<std::unique_ptr<Image>(const std::string& path, const NeededSize& need)>
        preparedPicture{};
};

constexpr const char* kWallpaperFileName = "Corvalendrine.bmp";

// programDir + "\Corvalendrine.bmp".
std::string WallpaperFilePath(const std::string& programDir);

// One change of the wallpaper: step 0 or more takes the next picture, a
// negative step the previous one.
void ChangeWallpaper(AppState& state, int step, ComposeServices& services);

// The pieces of a change, for the settings pages and the tests.

// The size the picture of a change is decoded for: a square of its size
// limit (the slot's width in slot mode, else picmaxsize). `later` counts
// the changes before that one from now: 0 is the next change, whose slot
// is the one at slotIndex.
NeededSize PictureNeed(const AppState& state, std::size_t later = 0);

// The sizes the next change decodes its pictures for, one for each picture
// it takes, in that order: the primary's, then each other monitor's when
// every monitor gets a picture of its own.
std::vector<NeededSize> NextPictureNeeds(const AppState& state, Desktop& desktop);

// Where a background image of iw x ih goes on a W x H target without
// stretching: centred at its own size when it fits, else fitted.
RectF FitBackgroundRect(int32_t iw, int32_t ih, int32_t W, int32_t H);

// Stands a photo upright as its camera recorded, before anything measures
// it (the background page's preview too).
void StandUpright(Imaging& imaging, Image& picture);

// Turns 24-bit pixels grey in place: g = (11 B + 30 R + 59 G) / 100.
void MakeGray(const PixelBuffer& pixels);

// The picture's size for the limit L (its longer side), not enlarged when
// `notStretch` is set.
SizeI FitPictureSize(int32_t iw, int32_t ih, int32_t limit, bool notStretch);

// The picture's top-left corner by the placement mode, moving slotIndex
// and lastCentre as the mode does.
PointI PlacePicture(AppState& state, int32_t W, int32_t H, int32_t w, int32_t h, Random& random,
                    Clock& clock);

// The picture's path in a small bar at the bottom right of the work area,
// in proportion to the screen's `dpi` as far as the work area is wide
// enough; nothing for an empty path.
void DrawPathCaption(Surface& canvas, const std::string& path, const RectI& workArea,
                     int32_t dpi = kBaseDpi);

}  // namespace corv
