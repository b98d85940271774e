// Conversion between the narrow strings the program keeps (the ANSI code
// page, 949 on Korean Windows) and the UTF-16 that wide APIs and GDI+ take.
#pragma once

#include <string>

namespace corv {

// Bytes that are not valid in the code page become the system's replacement
// character; embedded zero bytes are kept.
std::wstring AnsiToWide(const std::string& text);
// Characters the code page cannot show become its default character ("?").
std::string WideToAnsi(const std::wstring& text);

}  // namespace corv
