#include "compose/shadow_text.h"

namespace corv {

void DrawShadowText(Surface& surface, const std::string& text, const FontSpec& font, RectF& layout,
                    uint32_t argb, int32_t dpi) {
    layout.width -= ScaleForDpi(10.0f, dpi);
    surface.DrawString(text, font, layout, 0xFF000000u, TextAlign::Far, TextAlign::Center);
    RectF moved = layout;
    moved.x -= ScaleForDpi(1.0f, dpi);
    surface.DrawString(text, font, moved, argb, TextAlign::Far, TextAlign::Center);
}

}  // namespace corv
