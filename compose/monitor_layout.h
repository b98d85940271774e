// How the wallpaper covers several monitors: which monitors count, the one
// file's rectangle, where each composition goes in it, and how the file is
// laid out for the tile style (tiles start at the primary monitor's
// top-left, so the parts left of or above it wrap to the far side).
#pragma once

#include <cstdint>
#include <vector>

#include "compose/desktop.h"
#include "compose/imaging.h"
#include "engine/app_state.h"

namespace corv {

// env.ini multimonitor: 0 a picture per monitor, 1 one composition of the
// primary's size for every monitor, 2 one picture across the whole
// desktop. Any other number counts as 0.
enum class MonitorMode : int32_t { PerMonitor = 0, Shared = 1, Spanning = 2 };
MonitorMode MonitorModeOf(int32_t multimonitor);

// The largest file the composition makes; a layout whose bounding box is
// larger is composed for the primary monitor alone.
constexpr int64_t kMaxCanvasPixels = int64_t{1} << 25;

// The monitors the composition uses: monitors without width or height
// dropped, every rectangle within the 16-bit coordinates a monitor may
// have, the primary first (the one at 0,0 when none or several are
// marked). An empty or useless list counts as one primary screen of
// `screen` with `work`.
std::vector<MonitorArea> UsableMonitors(const std::vector<MonitorArea>& listed, SizeI screen,
                                        const RectI& work);

// The smallest rectangle holding every monitor.
RectI BoundingBox(const std::vector<MonitorArea>& monitors);

// The wallpaper file of one change.
struct WallpaperPlan {
    RectI canvas;                 // the file's rectangle on the virtual screen
    std::vector<RectI> regions;   // each composition's rectangle, in file pixels
    std::vector<RectI> monitors;  // the same in virtual-screen coordinates
    RectI workArea;               // the primary's work area, in file pixels
    bool tiled = false;           // set for the tile style (several monitors)
    PointI tileShift;             // where file pixel 0,0 of the canvas moves
};

// The plan for `monitors` (as UsableMonitors gives them) in `mode`. One
// monitor, or the shared mode, gives today's single primary-sized file.
WallpaperPlan PlanWallpaper(const std::vector<MonitorArea>& monitors, MonitorMode mode);

// The tile style shows file pixel ((x - px) mod W, (y - py) mod H) at
// virtual-screen point x, y, with px, py the primary's top-left: the canvas
// pixel at box.x + cx moves by ((box.x - px) mod W).
PointI TileShift(const RectI& box, const RectI& primary);

// Moves every pixel of `pixels` (bytesPerPixel each) cyclically by
// (dx, dy); a negative or too large shift wraps.
void ShiftCyclically(const PixelBuffer& pixels, int32_t dx, int32_t dy, int32_t bytesPerPixel);

// The first slot from index `from` on (going round the list once) whose
// centre lies on `monitor`; -1 when none does.
int32_t NextSlotOnMonitor(const std::vector<SlotRect>& slots, int32_t from, const RectI& monitor);

// The picture size limit on a monitor `monitorWidth` wide: the limit, at
// most three quarters of that width (the largest size the picture page
// allows for the screen).
int32_t MonitorPictureLimit(int32_t limit, int32_t monitorWidth);

// The width whose three quarters bound the picture size and the slots'
// sides in the settings: the widest monitor for a picture per monitor (each
// monitor brings the limit down to its own), the whole desktop's for one
// picture across it, and the primary's otherwise (one monitor, the shared
// mode, a layout too large for one file).
int32_t SizeLimitWidth(const std::vector<MonitorArea>& monitors, MonitorMode mode);

}  // namespace corv
