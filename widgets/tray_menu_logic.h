// The arithmetic of the owner-drawn tray menu: the banner gradient and the
// item sizes.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace corv {

// a x b / c rounded to the nearest integer, halves away from zero, as the
// system's MulDiv; -1 when c is 0.
int32_t MulDivRound(int32_t a, int32_t b, int32_t c);

// 256 colours (0x00BBGGRR) from `first` to `last`, channel by channel:
// first + MulDiv(last - first, k, 255).
std::array<uint32_t, 256> GradientPalette(uint32_t first, uint32_t last);

// The palette entry of pixel row `rowFromBottom` of a banner `height` rows
// high: MulDiv(256, row, height), never past 255.
int GradientEntryForRow(int32_t rowFromBottom, int32_t height);

struct MenuItemSize {
    int32_t width = 0;
    int32_t height = 0;
};

// A text item is 22 pixels high, a separator (empty text) 4; the width is
// the text's byte count times the average character width, plus 10.
MenuItemSize MeasureMenuItem(const std::string& text, int32_t averageCharWidth);

// The banner's colours (bottom to top), its caption, and the item colours.
constexpr uint32_t kBannerBottomColor = 2293830;  // 70, 0, 35
constexpr uint32_t kBannerTopColor = 8852991;     // 255, 21, 135
constexpr uint32_t kHighlightOutline = 6956042;   // 10, 36, 106
constexpr uint32_t kHighlightFill = 14011110;     // 230, 202, 213
constexpr const char* kBannerText = " Corvalendrine 1.4";

}  // namespace corv
