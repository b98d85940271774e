// The desktop seen through the system parameters.
#pragma once

#include "compose/desktop.h"

namespace corv {

class SystemDesktop : public Desktop {
public:
    SizeI ScreenSize() override;
    RectI WorkArea() override;
    void SetWallpaper(const std::string& path) override;
};

// Sets `path` as the desktop wallpaper, saved in the profile and announced
// to every window. An empty path leaves the desktop without an image.
void SetDesktopWallpaper(const std::string& path);

}  // namespace corv
