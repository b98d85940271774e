// The arithmetic of the owner-drawn tray menu: the banner gradient and the
// item sizes.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/dpi_scale.h"

namespace corv {

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

// The menu's pixel sizes at a DPI; at 96 DPI exactly those of the menu's
// look, at any other scaled by dpi / 96.
struct TrayMenuMetrics {
    int32_t rowHeight = 22;
    int32_t separatorHeight = 4;
    int32_t widthPad = 10;       // added to the measured text width
    int32_t bannerWidth = 23;    // the strip left of the items
    int32_t bannerOverhang = 3;  // the gradient is this much wider than the menu
    int32_t bannerFontHeight = 16;
    int32_t bannerTextLeft = 2;    // the caption's start, from the left
    int32_t bannerTextBottom = 4;  // and from the bottom
    int32_t bannerTopRow = 1;      // gradient rows left along the top
    int32_t bannerRightStrip = 4;  // gradient columns left on the right
    int32_t line = 1;              // outline and separator thickness
    int32_t outlineLeft = 24;
    int32_t outlineRight = 5;
    int32_t textLeft = 42;
    int32_t textTop = 2;
    int32_t textRight = 6;
    int32_t textBottom = 1;
    int32_t separatorEnd = 3;  // the separator stops this far before the text's end
    int32_t markSize = 16;     // the pause mark
    int32_t markLeft = 23;
    int32_t markTop = 3;
};

TrayMenuMetrics TrayMenuMetricsFor(int32_t dpi);

struct MenuBox {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// Where the parts of an item go in its rectangle `item`.
struct TrayItemLayout {
    MenuBox outline;  // the highlight's outline colour
    MenuBox fill;     // the highlight's fill, one line inside the outline
    MenuBox text;     // the text, vertically centred; its top edge is the separator's line
    MenuBox separator;
    MenuBox mark;  // the pause mark
};

TrayItemLayout LayoutTrayItem(const MenuBox& item, const TrayMenuMetrics& metrics);

// The text as the menu draws it, in the menu's font.
struct DrawnText {
    int32_t width = 0;
    int32_t height = 0;
    // What the system adds to the width of every owner-drawn item (twice
    // the menu font's average character width).
    int32_t systemPad = 0;
};

// An item's size at the metrics' DPI: the rule of MeasureMenuItem with the
// scaled row heights and margin, grown where the text drawn in the menu
// font would not fit between the text's margins (a system font that does
// not grow with the DPI).
MenuItemSize MeasureMenuItemAt(int32_t byteCount, int32_t averageCharWidth, const DrawnText& drawn,
                               const TrayMenuMetrics& metrics);

// The banner's colours (bottom to top), its caption, and the item colours.
constexpr uint32_t kBannerBottomColor = 2293830;  // 70, 0, 35
constexpr uint32_t kBannerTopColor = 8852991;     // 255, 21, 135
constexpr uint32_t kHighlightOutline = 6956042;   // 10, 36, 106
constexpr uint32_t kHighlightFill = 14011110;     // 230, 202, 213
constexpr const char* kBannerText = " Corvalendrine 1.4";

}  // namespace corv
