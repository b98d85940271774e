#include "widgets/link_label_logic.h"

#include <algorithm>
#include <cctype>

namespace corv {

namespace {

std::string Trim(const std::string& text) {
    const char* blanks = " \t";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return std::string();
    const size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

// True when `text` starts with `prefix` (ASCII, any case) and has more after it.
bool HasPrefix(const std::string& text, const std::string& prefix) {
    if (text.size() <= prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
    return true;
}

// name@domain.tld with nothing that could make it a path or another scheme.
bool IsMailAddress(const std::string& text) {
    const size_t at = text.find('@');
    if (at == std::string::npos || at == 0 || text.find('@', at + 1) != std::string::npos)
        return false;
    if (text.find_first_of(" :/\\") != std::string::npos) return false;
    const std::string domain = text.substr(at + 1);
    const size_t dot = domain.find('.');
    return dot != std::string::npos && dot > 0 && dot + 1 < domain.size();
}

}  // namespace

uint32_t ChangeLabelStyle(uint32_t flags, uint32_t remove, uint32_t add) {
    return (flags | add) & ~remove;
}

LabelFontLook FontLookForFlags(uint32_t flags) {
    LabelFontLook look;
    look.weight = (flags & kLabelBold) != 0 ? 700 : 400;
    look.italic = (flags & kLabelItalic) != 0;
    look.underline = (flags & kLabelUnderline) != 0;
    look.strikeOut = (flags & kLabelStrikeOut) != 0;
    return look;
}

std::string LinkTarget(const std::string& shownText) {
    const std::string text = Trim(shownText);
    const bool control = std::any_of(text.begin(), text.end(),
                                     [](char c) { return static_cast<unsigned char>(c) < 0x20; });
    if (text.empty() || control) return std::string();
    if (HasPrefix(text, "http://") || HasPrefix(text, "https://") || HasPrefix(text, "mailto:"))
        return text;
    if (HasPrefix(text, "www."))
        return text.find_first_of(" \\") == std::string::npos ? "http://" + text : std::string();
    if (IsMailAddress(text)) return "mailto:" + text;
    return std::string();
}

}  // namespace corv
