// The program's one bridge between its UTF-8 texts and the system's wide
// calls: conversions, paths in the form the file calls need, the program's
// own path and string values of the registry.
#pragma once

#include <windows.h>

#include <string>

namespace corv {

// UTF-16 of UTF-8 text; invalid bytes become U+FFFD.
std::wstring Wide(const std::string& utf8);
// UTF-8 of UTF-16 text; an unpaired surrogate becomes U+FFFD.
std::string Utf8(const std::wstring& wide);
std::string Utf8(const wchar_t* wide);
// The same, false for a text with an unpaired surrogate (a file name that
// no UTF-8 path can name again).
bool Utf8Exact(const wchar_t* wide, std::string& utf8);

// `path` for the wide file calls: a path too long for the classic limit
// (MAX_PATH) becomes its "\\?\" form ("\\?\UNC\" for a share), which the
// file calls accept at any length; other paths stay as they are.
std::wstring WidePath(const std::string& path);

// Conversions with the system's ANSI code page.
std::string AnsiToUtf8(const std::string& ansi);
// False when a character has no exact place in the code page.
bool Utf8ToAnsi(const std::string& utf8, std::string& ansi);

// `text` in the code page `codePage`, a character it lacks as its default
// character; false when the system has no such code page.
bool CodePageText(const std::wstring& text, UINT codePage, std::string& bytes);

// The running program's full path; empty when the system cannot say.
std::string ProgramFilePath();

// A string value (REG_SZ or REG_EXPAND_SZ, unexpanded) of `root`\`key`;
// false when there is none.
bool ReadRegistryString(HKEY root, const std::string& key, const std::string& value,
                        std::string& data);

}  // namespace corv
