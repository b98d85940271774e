// The first start of the program in its folder: the one start that tells the
// user where the program went, since its only face is an icon that the
// notification area may hide.
#pragma once

#include <string>

namespace corv {

// True when the program starts in `programDir` for the first time: no
// env.ini there yet (nothing by that name at all), and a folder that takes
// files, so that the exit writes env.ini and no later start counts as first.
// A folder that takes no files has already been told about in its own
// message, and every start there would otherwise count as first. Asked
// before anything of the start writes env.ini.
bool IsFirstStart(const std::string& programDir, bool folderTakesFiles);

}  // namespace corv
