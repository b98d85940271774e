#include "base/utf8.h"

namespace corv {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

void AppendUtf16(char32_t c, std::u16string& out) {
    if (c < 0x10000) {
        out.push_back(static_cast<char16_t>(c));
    } else {
        c -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    }
}

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// The code point of the valid sequence of `length` bytes at `at`.
char32_t DecodeAt(const std::string& text, std::size_t at, std::size_t length) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    switch (length) {
        case 1:
            return byte(0);
        case 2:
            return (char32_t(byte(0) & 0x1F) << 6) | (byte(1) & 0x3F);
        case 3:
            return (char32_t(byte(0) & 0x0F) << 12) | (char32_t(byte(1) & 0x3F) << 6) |
                   (byte(2) & 0x3F);
        default:
            return (char32_t(byte(0) & 0x07) << 18) | (char32_t(byte(1) & 0x3F) << 12) |
                   (char32_t(byte(2) & 0x3F) << 6) | (byte(3) & 0x3F);
    }
}

// Calls `take(codePoint, bytes)` for each character of `text`; an invalid
// byte is one U+FFFD of one byte.
template <typename Take>
void ForEachCodePoint(const std::string& text, Take take) {
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t length = Utf8SequenceLength(text, i);
        if (length == 0) {
            take(kReplacement, std::size_t{1});
            ++i;
        } else {
            take(DecodeAt(text, i, length), length);
            i += length;
        }
    }
}

}  // namespace

std::size_t Utf8SequenceLength(const std::string& text, std::size_t at) {
    if (at >= text.size()) return 0;
    const auto c0 = static_cast<unsigned char>(text[at]);
    if (c0 < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (c0 >= 0xC2 && c0 <= 0xDF) {
        length = 2;
    } else if (c0 >= 0xE0 && c0 <= 0xEF) {
        length = 3;
        if (c0 == 0xE0) low = 0xA0;   // no overlong forms
        if (c0 == 0xED) high = 0x9F;  // no surrogates
    } else if (c0 >= 0xF0 && c0 <= 0xF4) {
        length = 4;
        if (c0 == 0xF0) low = 0x90;
        if (c0 == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (text.size() - at < length) return 0;
    const auto c1 = static_cast<unsigned char>(text[at + 1]);
    if (c1 < low || c1 > high) return 0;
    for (std::size_t k = 2; k < length; ++k)
        if (!IsContinuation(static_cast<unsigned char>(text[at + k]))) return 0;
    return length;
}

std::u16string Utf8ToUtf16(const std::string& text) {
    std::u16string out;
    out.reserve(text.size());
    ForEachCodePoint(text, [&](char32_t c, std::size_t) { AppendUtf16(c, out); });
    return out;
}

namespace {

// UTF-8 of `text`; an unpaired surrogate becomes U+FFFD and sets `lossy`.
std::string FromUtf16(const std::u16string& text, bool& lossy) {
    std::string out;
    out.reserve(text.size());
    lossy = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = kReplacement;
            lossy = true;
        }
        AppendUtf8(c, out);
    }
    return out;
}

}  // namespace

bool Utf16ToUtf8(const std::u16string& text, std::string& out) {
    bool lossy = false;
    std::string converted = FromUtf16(text, lossy);
    if (lossy) {
        out.clear();
        return false;
    }
    out.swap(converted);
    return true;
}

std::string Utf16ToUtf8Lossy(const std::u16string& text) {
    bool lossy = false;
    return FromUtf16(text, lossy);
}

bool IsValidUtf8(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = Utf8SequenceLength(text, i);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

std::string ValidUtf8(const std::string& text) {
    if (IsValidUtf8(text)) return text;
    std::string out;
    out.reserve(text.size() + 8);
    ForEachCodePoint(text, [&](char32_t c, std::size_t) { AppendUtf8(c, out); });
    return out;
}

std::string CutToUtf16Units(const std::string& text, std::size_t maxUnits) {
    std::size_t units = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t length = Utf8SequenceLength(text, i);
        if (length == 0) length = 1;  // an invalid byte counts as one unit
        const std::size_t needed = length == 4 ? 2 : 1;
        if (units + needed > maxUnits) break;
        units += needed;
        i += length;
    }
    return text.substr(0, i);
}

}  // namespace corv
