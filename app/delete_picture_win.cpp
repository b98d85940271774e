#include "app/delete_picture_win.h"

#include <shellapi.h>

#include <string>

#include "compose/text_encoding_win.h"
#include "framework/common_dialogs_win.h"

namespace corv {

void DeleteCurrentPicture(HWND owner, AppState& state,
                          const std::function<void()>& changeWallpaper) {
    state.cycleReady = 0;
    // The file named in the question is the one deleted, even if the
    // wallpaper changes while the question is open.
    const std::string path = state.currentPicture;
    if (!path.empty()) {
        const std::wstring question = AnsiToWide(path) + L"파일을 삭제하시겠습니까?";
        if (ShowMessageBox(owner, question, L"파일삭제?", MB_YESNO | MB_ICONQUESTION) == IDYES) {
            // A list of paths ended by two zero bytes, as long as the path
            // needs: nothing is cut or written past its end.
            std::string from = path;
            from.push_back('\0');
            from.push_back('\0');
            SHFILEOPSTRUCTA operation{};
            operation.hwnd = owner;
            operation.wFunc = FO_DELETE;
            operation.pFrom = from.c_str();
            operation.pTo = "";
            operation.fFlags = FOF_ALLOWUNDO | FOF_FILESONLY;
            SHFileOperationA(&operation);
            changeWallpaper();
        }
    }
    state.cycleReady = 1;
}

}  // namespace corv
