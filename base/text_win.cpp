#include "base/text_win.h"

#include <climits>
#include <vector>

#include "base/stored_text.h"
#include "base/utf8.h"

namespace corv {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the wide calls take UTF-16");

std::wstring Wide(const std::string& utf8) {
    const std::u16string wide = Utf8ToUtf16(utf8);
    return std::wstring(wide.begin(), wide.end());
}

std::string Utf8(const std::wstring& wide) {
    return Utf16ToUtf8Lossy(std::u16string(wide.begin(), wide.end()));
}

std::string Utf8(const wchar_t* wide) {
    return wide != nullptr ? Utf8(std::wstring(wide)) : std::string();
}

bool Utf8Exact(const wchar_t* wide, std::string& utf8) {
    const std::wstring text = wide != nullptr ? std::wstring(wide) : std::wstring();
    return Utf16ToUtf8(std::u16string(text.begin(), text.end()), utf8);
}

std::wstring WidePath(const std::string& path) {
    std::wstring wide = Wide(path);
    // Folders are limited 12 characters sooner than files (room for an 8.3
    // name inside them).
    if (wide.size() < MAX_PATH - 12 || wide.compare(0, 4, L"\\\\?\\") == 0) return wide;
    for (wchar_t& c : wide)
        if (c == L'/') c = L'\\';
    if (wide.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + wide.substr(2);
    if (wide.size() >= 3 && wide[1] == L':' && wide[2] == L'\\') return L"\\\\?\\" + wide;
    return wide;
}

std::string AnsiToUtf8(const std::string& ansi) {
    return SystemAnsiCodePage().ToUtf8(ansi);
}

bool Utf8ToAnsi(const std::string& utf8, std::string& ansi) {
    return SystemAnsiCodePage().FromUtf8(utf8, ansi);
}

bool CodePageText(const std::wstring& text, UINT codePage, std::string& bytes) {
    bytes.clear();
    if (text.empty()) return true;
    if (text.size() > static_cast<std::size_t>(INT_MAX)) return false;
    const int length = static_cast<int>(text.size());
    const int size =
        WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return false;
    bytes.assign(static_cast<std::size_t>(size), '\0');
    const int got =
        WideCharToMultiByte(codePage, 0, text.data(), length, &bytes[0], size, nullptr, nullptr);
    bytes.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return got > 0;
}

std::string ProgramFilePath() {
    // The buffer grows as needed: a cut path would put env.ini into
    // another folder.
    std::vector<wchar_t> buffer(512);
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD got = GetModuleFileNameW(nullptr, buffer.data(), size);
        if (got == 0) return std::string();
        if (got < size - 1) return Utf8(std::wstring(buffer.data(), got));
        if (buffer.size() >= 32768) return std::string();
        buffer.resize(buffer.size() * 2);
    }
}

bool ReadRegistryString(HKEY root, const std::string& key, const std::string& value,
                        std::string& data) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, Wide(key).c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
        return false;
    const std::wstring name = Wide(value);
    DWORD type = 0;
    DWORD size = 0;
    LONG result = RegQueryValueExW(opened, name.c_str(), nullptr, &type, nullptr, &size);
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 2, L'\0');
    if (result == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ)) {
        size = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
        result = RegQueryValueExW(opened, name.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(buffer.data()), &size);
    }
    RegCloseKey(opened);
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
    // The stored value need not end in a zero.
    buffer[size / sizeof(wchar_t)] = L'\0';
    data = Utf8(buffer.data());
    return true;
}

}  // namespace corv
