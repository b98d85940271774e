// UTF-8, the program's one encoding for paths and texts, and UTF-16, the
// encoding of the system's wide calls and of GDI+.
#pragma once

#include <cstddef>
#include <string>

namespace corv {

// The UTF-16 form of `text`. A byte that does not begin a valid sequence
// (a stray continuation byte, a cut or overlong sequence, a surrogate's or a
// too-large code point's bytes) becomes U+FFFD, and decoding goes on after
// it, so the valid rest always comes through.
std::u16string Utf8ToUtf16(const std::string& text);

// The UTF-8 form of `text`; false (and `out` empty) when `text` holds a
// surrogate without its partner, which no file name on disk can be named
// by in UTF-8.
bool Utf16ToUtf8(const std::u16string& text, std::string& out);
// The same, each unpaired surrogate written as U+FFFD.
std::string Utf16ToUtf8Lossy(const std::u16string& text);

// True when `text` is well-formed UTF-8 throughout.
bool IsValidUtf8(const std::string& text);
// `text` with every invalid byte replaced by U+FFFD (valid text unchanged).
std::string ValidUtf8(const std::string& text);

// The length of the UTF-8 sequence that starts at `text[at]` when it is
// valid, else 0.
std::size_t Utf8SequenceLength(const std::string& text, std::size_t at);

// `text` cut to at most `maxUnits` UTF-16 units, never inside a character:
// the measure of the system's wide text buffers.
std::string CutToUtf16Units(const std::string& text, std::size_t maxUnits);

}  // namespace corv
