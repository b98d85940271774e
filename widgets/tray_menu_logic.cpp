#include "widgets/tray_menu_logic.h"

#include <cstdlib>

namespace corv {

int32_t MulDivRound(int32_t a, int32_t b, int32_t c) {
    if (c == 0) return -1;
    const int64_t product = static_cast<int64_t>(a) * b;
    const bool negative = (product < 0) != (c < 0);
    const int64_t num = std::llabs(product);
    const int64_t den = std::llabs(static_cast<int64_t>(c));
    const int64_t rounded = (num + den / 2) / den;
    return static_cast<int32_t>(negative ? -rounded : rounded);
}

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

}  // namespace corv
