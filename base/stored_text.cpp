#include "base/stored_text.h"

#include "base/utf8.h"

namespace corv {

const char kUtf8Mark[] = "\xEF\xBB\xBF";

namespace {

constexpr std::size_t kMarkSize = 3;

bool LinesFit(const std::string& text, std::size_t longest) {
    if (longest == std::string::npos) return true;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::size_t length = end - start;
        if (length > 0 && text[end - 1] == '\r') --length;
        if (length > longest) return false;
        start = end + 1;
    }
    return true;
}

}  // namespace

TextEncoding EncodingOf(const std::string& bytes) {
    return bytes.compare(0, kMarkSize, kUtf8Mark) == 0 ? TextEncoding::Utf8 : TextEncoding::Ansi;
}

std::string DecodeStoredText(const std::string& bytes, const AnsiCodePage& codePage) {
    if (EncodingOf(bytes) == TextEncoding::Utf8) return ValidUtf8(bytes.substr(kMarkSize));
    return codePage.ToUtf8(bytes);
}

std::string WithoutUtf8Mark(const std::string& bytes) {
    return EncodingOf(bytes) == TextEncoding::Utf8 ? bytes.substr(kMarkSize) : bytes;
}

std::string EncodeStoredText(const std::string& utf8, const AnsiCodePage& codePage,
                             std::size_t longestAnsiLine) {
    std::string ansi;
    if (codePage.FromUtf8(utf8, ansi) && LinesFit(ansi, longestAnsiLine) &&
        EncodingOf(ansi) == TextEncoding::Ansi)
        return ansi;
    return kUtf8Mark + utf8;
}

}  // namespace corv
