#include "compose/shadow_text.h"

namespace corv {

void DrawShadowText(Surface& surface, const std::string& text, const FontSpec& font, RectF& layout,
                    uint32_t argb) {
    layout.width -= 10;
    surface.DrawString(text, font, layout, 0xFF000000u, TextAlign::Far, TextAlign::Center);
    RectF moved = layout;
    moved.x -= 1;
    surface.DrawString(text, font, moved, argb, TextAlign::Far, TextAlign::Center);
}

}  // namespace corv
