#include "widgets/tray_menu_logic.h"

namespace corv {

std::array<uint32_t, 256> GradientPalette(uint32_t first, uint32_t last) {
    std::array<uint32_t, 256> palette{};
    for (int k = 0; k < 256; ++k) {
        uint32_t color = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
            const int32_t a = static_cast<int32_t>((first >> shift) & 0xFF);
            const int32_t b = static_cast<int32_t>((last >> shift) & 0xFF);
            const int32_t value = a + MulDivRound(b - a, k, 255);
            color |= static_cast<uint32_t>(value & 0xFF) << shift;
        }
        palette[static_cast<std::size_t>(k)] = color;
    }
    return palette;
}

int GradientEntryForRow(int32_t rowFromBottom, int32_t height) {
    if (height <= 0) return 0;
    const int32_t entry = MulDivRound(256, rowFromBottom, height);
    return entry > 255 ? 255 : (entry < 0 ? 0 : entry);
}

MenuItemSize MeasureMenuItem(const std::string& text, int32_t averageCharWidth) {
    MenuItemSize size;
    size.height = text.empty() ? 4 : 22;
    size.width = static_cast<int32_t>(text.size()) * averageCharWidth + 10;
    return size;
}

TrayMenuMetrics TrayMenuMetricsFor(int32_t dpi) {
    TrayMenuMetrics m;
    for (int32_t* size :
         {&m.rowHeight,      &m.separatorHeight,  &m.widthPad,       &m.bannerWidth,
          &m.bannerOverhang, &m.bannerFontHeight, &m.bannerTextLeft, &m.bannerTextBottom,
          &m.bannerTopRow,   &m.bannerRightStrip, &m.line,           &m.outlineLeft,
          &m.outlineRight,   &m.textLeft,         &m.textTop,        &m.textRight,
          &m.textBottom,     &m.separatorEnd,     &m.markSize,       &m.markLeft,
          &m.markTop})
        *size = ScaleForDpi(*size, dpi);
    return m;
}

TrayItemLayout LayoutTrayItem(const MenuBox& item, const TrayMenuMetrics& m) {
    TrayItemLayout layout;
    layout.outline = {item.left + m.outlineLeft, item.top + m.line, item.right - m.outlineRight,
                      item.bottom};
    const MenuBox& o = layout.outline;
    layout.fill = {o.left + m.line, o.top + m.line, o.right - m.line, o.bottom - m.line};
    layout.text = {item.left + m.textLeft, item.top + m.textTop, item.right - m.textRight,
                   item.bottom - m.textBottom};
    const MenuBox& t = layout.text;
    layout.separator = {t.left, t.top, t.right - m.separatorEnd, t.top + m.line};
    layout.mark = {item.left + m.markLeft, item.top + m.markTop,
                   item.left + m.markLeft + m.markSize, item.top + m.markTop + m.markSize};
    return layout;
}

MenuItemSize MeasureMenuItemAt(int32_t byteCount, int32_t averageCharWidth, const DrawnText& drawn,
                               const TrayMenuMetrics& m) {
    MenuItemSize size;
    if (byteCount <= 0) {
        size.height = m.separatorHeight;
        size.width = m.widthPad;
        return size;
    }
    const int32_t textRows = drawn.height + m.textTop + m.textBottom;
    size.height = textRows > m.rowHeight ? textRows : m.rowHeight;
    const int32_t measured = byteCount * averageCharWidth + m.widthPad;
    const int32_t needed = m.textLeft + drawn.width + m.textRight - drawn.systemPad;
    size.width = needed > measured ? needed : measured;
    return size;
}

}  // namespace corv
