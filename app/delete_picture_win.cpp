#include "app/delete_picture_win.h"

#include <shellapi.h>

#include <string>

#include "base/text_win.h"
#include "framework/common_dialogs_win.h"

namespace corv {

namespace {

// The shell's file operations take no "\\?\" path: a path past MAX_PATH
// goes by its short (8.3) form, which fits where the folders' short names
// do.
std::wstring ShellPath(const std::string& path) {
    const std::wstring wide = Wide(path);
    if (wide.size() < MAX_PATH) return wide;
    const std::wstring extended = WidePath(path);
    const DWORD needed = GetShortPathNameW(extended.c_str(), nullptr, 0);
    if (needed == 0) return wide;
    std::wstring shortPath(needed, L'\0');
    const DWORD got = GetShortPathNameW(extended.c_str(), &shortPath[0], needed);
    if (got == 0 || got >= needed) return wide;
    shortPath.resize(got);
    if (shortPath.compare(0, 8, L"\\\\?\\UNC\\") == 0)
        shortPath = L"\\\\" + shortPath.substr(8);
    else if (shortPath.compare(0, 4, L"\\\\?\\") == 0)
        shortPath = shortPath.substr(4);
    return shortPath.size() < MAX_PATH ? shortPath : wide;
}

}  // namespace

void DeleteCurrentPicture(HWND owner, AppState& state,
                          const std::function<void()>& changeWallpaper) {
    state.cycleReady = 0;
    // The file named in the question is the one deleted, even if the
    // wallpaper changes while the question is open.
    const std::string path = state.currentPicture;
    if (!path.empty()) {
        const std::wstring question = Wide(path) + L"파일을 삭제하시겠습니까?";
        if (ShowMessageBox(owner, question, L"파일삭제?", MB_YESNO | MB_ICONQUESTION) == IDYES) {
            // A list of paths ended by two zero bytes, as long as the path
            // needs: nothing is cut or written past its end.
            std::wstring from = ShellPath(path);
            from.push_back(L'\0');
            from.push_back(L'\0');
            SHFILEOPSTRUCTW operation{};
            operation.hwnd = owner;
            operation.wFunc = FO_DELETE;
            operation.pFrom = from.c_str();
            operation.pTo = L"";
            operation.fFlags = FOF_ALLOWUNDO | FOF_FILESONLY;
            SHFileOperationW(&operation);
            changeWallpaper();
        }
    }
    state.cycleReady = 1;
}

}  // namespace corv
