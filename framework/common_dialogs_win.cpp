#include "framework/common_dialogs_win.h"

#include <commdlg.h>
#include <shlobj.h>

#include <vector>

#include "framework/app_win.h"

namespace corv {

namespace {

std::wstring WideFromAnsi(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int length = static_cast<int>(text.size());
    const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    if (size <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), length, &wide[0], size);
    return wide;
}

// False when the code page cannot hold every character of `wide`.
bool AnsiFromWide(const std::wstring& wide, std::string& text) {
    text.clear();
    if (wide.empty()) return true;
    const int length = static_cast<int>(wide.size());
    BOOL lossy = FALSE;
    const int size =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), length, nullptr, 0, nullptr, &lossy);
    if (size <= 0 || lossy) return false;
    text.assign(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), length, &text[0], size, nullptr, &lossy);
    return lossy == FALSE;
}

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
    std::wstring pattern = WideFromAnsi(filter);
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
    return AnsiFromWide(name.data(), path);
}

bool BrowseForFolder(HWND owner, const std::wstring& title, const std::string& initial,
                     std::string& folder) {
    const std::wstring start = WideFromAnsi(initial);
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
    return got && AnsiFromWide(path.data(), folder) && !folder.empty();
}

}  // namespace corv
