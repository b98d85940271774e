// The encoding of the program's text files (list.txt, env.ini, poslist.txt,
// xdaylist.txt). A file that begins with the UTF-8 byte-order mark is UTF-8;
// any other is in the system's ANSI code page, as every earlier version of
// the program wrote them. Texts in memory are UTF-8.
#pragma once

#include <cstddef>
#include <string>

namespace corv {

// The system's ANSI code page (949 on Korean Windows). Windows builds
// convert with the system (ansi_code_page_win.cpp); other builds have no
// such code page and pass bytes through (ansi_code_page_posix.cpp); tests
// use their own small tables.
class AnsiCodePage {
public:
    virtual ~AnsiCodePage() = default;
    // The UTF-8 form of `ansi`; bytes the code page does not define become
    // U+FFFD.
    virtual std::string ToUtf8(const std::string& ansi) const = 0;
    // The code page's bytes for `utf8`; false when a character has no exact
    // place in the code page (no look-alike is taken instead).
    virtual bool FromUtf8(const std::string& utf8, std::string& ansi) const = 0;
};

const AnsiCodePage& SystemAnsiCodePage();

enum class TextEncoding { Ansi, Utf8 };

// The UTF-8 byte-order mark.
extern const char kUtf8Mark[];

TextEncoding EncodingOf(const std::string& bytes);
// The text of a file's bytes in UTF-8, the mark left out. Invalid UTF-8
// after the mark reads as U+FFFD for each bad byte; the rest reads as
// written.
std::string DecodeStoredText(const std::string& bytes, const AnsiCodePage& codePage);

// `bytes` without the mark when they begin with it: for files of numbers
// alone, whose bytes are the same in either encoding.
std::string WithoutUtf8Mark(const std::string& bytes);

// The bytes to write for `utf8`: its ANSI form, exactly as earlier versions
// wrote it, when every character fits the code page and no line is longer
// than `longestAnsiLine` bytes (what an ANSI reader takes as one line);
// else the mark and the UTF-8 text.
std::string EncodeStoredText(const std::string& utf8, const AnsiCodePage& codePage,
                             std::size_t longestAnsiLine = std::string::npos);

}  // namespace corv
