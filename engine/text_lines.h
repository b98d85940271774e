// Reading small text files the way the C runtime's text mode and a
// fixed-size line buffer read them, from bytes already in memory.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace corv {

// Splits `data` into the pieces that repeated fgets calls with a buffer of
// `bufferSize` bytes return in text mode: "\r\n" reads as "\n"; a piece ends
// after a "\n" or when it holds bufferSize - 1 bytes, so a longer line comes
// back as several pieces. Pieces keep their "\n".
std::vector<std::string> SplitTextLines(const std::string& data, std::size_t bufferSize);

// Text-mode output: every "\n" written as "\r\n".
std::string ToTextMode(const std::string& text);

}  // namespace corv
