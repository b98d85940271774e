// Moving the current picture's file to the recycle bin, after asking.
#pragma once

#include <windows.h>

#include <functional>

#include "engine/app_state.h"

namespace corv {

// Asks whether to delete state.currentPicture; on yes moves the file to the
// recycle bin and calls `changeWallpaper`. The automatic change is held while
// the question is open. With no current picture nothing is asked.
void DeleteCurrentPicture(HWND owner, AppState& state,
                          const std::function<void()>& changeWallpaper);

}  // namespace corv
