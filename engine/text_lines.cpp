#include "engine/text_lines.h"

namespace corv {

std::vector<std::string> SplitTextLines(const std::string& data, std::size_t bufferSize) {
    std::vector<std::string> pieces;
    if (bufferSize < 2) return pieces;
    const std::size_t maxBytes = bufferSize - 1;
    std::string piece;
    for (std::size_t i = 0; i < data.size(); ++i) {
        char c = data[i];
        if (c == '\r' && i + 1 < data.size() && data[i + 1] == '\n') continue;
        piece += c;
        if (c == '\n' || piece.size() == maxBytes) {
            pieces.push_back(std::move(piece));
            piece.clear();
        }
    }
    if (!piece.empty()) pieces.push_back(std::move(piece));
    return pieces;
}

std::vector<std::string> StoredTextLines(const std::string& bytes, std::size_t bufferSize,
                                         const AnsiCodePage& codePage) {
    if (EncodingOf(bytes) == TextEncoding::Utf8) {
        const std::string text = DecodeStoredText(bytes, codePage);
        return SplitTextLines(text, text.size() + 2);
    }
    std::vector<std::string> pieces = SplitTextLines(bytes, bufferSize);
    for (std::string& piece : pieces) piece = codePage.ToUtf8(piece);
    return pieces;
}

std::string ToTextMode(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

}  // namespace corv
