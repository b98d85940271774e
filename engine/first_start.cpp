#include "engine/first_start.h"

#include "engine/file_io.h"
#include "engine/settings.h"

namespace corv {

bool IsFirstStart(const std::string& programDir, bool folderTakesFiles) {
    return folderTakesFiles && !FileExists(SettingsFilePath(programDir));
}

}  // namespace corv
