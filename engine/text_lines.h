// Reading small text files the way the C runtime's text mode and a
// fixed-size line buffer read them, from bytes already in memory.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "base/stored_text.h"

namespace corv {

// Splits `data` into the pieces that repeated fgets calls with a buffer of
// `bufferSize` bytes return in text mode: "\r\n" reads as "\n"; a piece ends
// after a "\n" or when it holds bufferSize - 1 bytes, so a longer line comes
// back as several pieces. Pieces keep their "\n".
std::vector<std::string> SplitTextLines(const std::string& data, std::size_t bufferSize);

// The lines of a stored file's bytes in UTF-8. A file in the ANSI code page
// is split as SplitTextLines splits it, as earlier versions read it, and
// each piece converted; a UTF-8 file (it has the mark) was never read by a
// line buffer, so its lines come whole. Pieces keep their "\n".
std::vector<std::string> StoredTextLines(const std::string& bytes, std::size_t bufferSize,
                                         const AnsiCodePage& codePage);

// Text-mode output: every "\n" written as "\r\n".
std::string ToTextMode(const std::string& text);

}  // namespace corv
