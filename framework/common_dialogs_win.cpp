#include "framework/common_dialogs_win.h"

#include <commdlg.h>
#include <shlobj.h>

#include <vector>

#include "base/text_win.h"
#include "framework/app_win.h"

namespace corv {

namespace {

int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM, LPARAM data) {
    const auto* initial = reinterpret_cast<const std::wstring*>(data);
    if (message == BFFM_INITIALIZED && initial != nullptr && !initial->empty())
        SendMessageW(window, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(initial->c_str()));
    return 0;
}

}  // namespace

int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT style) {
    std::wstring title = caption;
    if (title.empty()) title = L"Corvalendrine";
    return MessageBoxW(owner, text.c_str(), title.c_str(), style);
}

bool ChooseColour(HWND owner, COLORREF& colour) {
    static COLORREF customColours[16] = {};
    CHOOSECOLORW choice{};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = owner;
    choice.rgbResult = colour;
    choice.lpCustColors = customColours;
    choice.Flags = CC_FULLOPEN | CC_RGBINIT;
    if (!ChooseColorW(&choice)) return false;
    colour = choice.rgbResult;
    return true;
}

bool ChooseOpenFile(HWND owner, const std::string& filter, std::string& path) {
    std::wstring pattern = Wide(filter);
    for (wchar_t& c : pattern)
        if (c == L'|') c = L'\0';
    pattern.push_back(L'\0');
    std::vector<wchar_t> name(32768, L'\0');
    OPENFILENAMEW open{};
    open.lStructSize = sizeof open;
    open.hwndOwner = owner;
    open.lpstrFilter = pattern.c_str();
    open.lpstrFile = name.data();
    open.nMaxFile = static_cast<DWORD>(name.size());
    open.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
    if (!GetOpenFileNameW(&open)) return false;
    return Utf8Exact(name.data(), path);
}

bool BrowseForFolder(HWND owner, const std::wstring& title, const std::string& initial,
                     std::string& folder) {
    const std::wstring start = Wide(initial);
    BROWSEINFOW browse{};
    browse.hwndOwner = owner;
    browse.lpszTitle = title.c_str();
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    browse.lpfn = BrowseCallback;
    browse.lParam = reinterpret_cast<LPARAM>(&start);
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&browse);
    if (chosen == nullptr) return false;
    std::vector<wchar_t> path(MAX_PATH * 4, L'\0');
    const bool got = SHGetPathFromIDListW(chosen, path.data()) != FALSE;
    CoTaskMemFree(chosen);
    return got && Utf8Exact(path.data(), folder) && !folder.empty();
}

}  // namespace corv
