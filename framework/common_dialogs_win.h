// The system's standard boxes, as the program's windows use them: a message
// box, the colour chooser, the open-file dialog and the folder browser.
//
// Paths are UTF-8; a path no UTF-8 text can name (a lone surrogate in it)
// is treated like a cancelled choice, never cut or mangled.
#pragma once

#include <windows.h>

#include <string>

namespace corv {

// A message box with `style`: an icon (MB_ICONEXCLAMATION, ...) and the
// buttons (MB_OK when none is named, MB_YESNO...); `caption` empty takes the
// program's name. The id of the button pressed.
int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption,
                   UINT style = 0);

// The colour chooser, fully open, starting at `colour` (0x00BBGGRR); true
// and the chosen colour in `colour` when the user confirms.
bool ChooseColour(HWND owner, COLORREF& colour);

// The open-file dialog for an existing file, the read-only box hidden.
// `filter` pairs names and patterns with "|" between them
// ("Images|*.bmp;*.png||"). True and the full path in `path` on confirm.
bool ChooseOpenFile(HWND owner, const std::string& filter, std::string& path);

// The folder browser for file-system folders, titled `title`, starting on
// `initial` (may be empty). True and the folder in `folder` on confirm.
bool BrowseForFolder(HWND owner, const std::wstring& title, const std::string& initial,
                     std::string& folder);

}  // namespace corv
