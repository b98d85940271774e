// What the composition needs of the desktop: the screen and work area, and
// setting the wallpaper. The Windows implementation is desktop_win.
#pragma once

#include <cstdint>
#include <string>

#include "compose/imaging.h"

namespace corv {

struct SizeI {
    int32_t width = 0;
    int32_t height = 0;
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
};

}  // namespace corv
