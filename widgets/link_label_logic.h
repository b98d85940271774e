// The arithmetic of the link label, apart from its window: the style flags,
// the font they give, and what a click on a link may open.
#pragma once

#include <cstdint>
#include <string>

namespace corv {

// Style flags of a label.
constexpr uint32_t kLabelBold = 1;
constexpr uint32_t kLabelItalic = 2;
constexpr uint32_t kLabelUnderline = 4;
constexpr uint32_t kLabelStrikeOut = 8;
constexpr uint32_t kLabelBorder = 16;
constexpr uint32_t kLabelSunken = 32;

// The text colour of a link: pure blue (0x00BBGGRR).
constexpr uint32_t kLinkColor = 16711680;

// New flags after a change: (old OR add) AND NOT remove, so a bit named in
// both is removed.
uint32_t ChangeLabelStyle(uint32_t flags, uint32_t remove, uint32_t add);

// The font parts the flags decide.
struct LabelFontLook {
    int32_t weight = 400;  // 700 when bold
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};
LabelFontLook FontLookForFlags(uint32_t flags);

// What a click on a link label opens, from the text it shows: a web
// address (http://, https://, or one starting with "www.") or a mail
// address (mailto:, or a bare name@domain, which gets "mailto:" in front).
// Anything else, a file or program path above all, gives an empty string:
// a label never starts a program or opens a file.
std::string LinkTarget(const std::string& shownText);

}  // namespace corv
