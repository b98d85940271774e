// Right-aligned, vertically centred text with a one-pixel black shadow: the
// picture path caption and the calendar.
#pragma once

#include <string>

#include "compose/imaging.h"
#include "engine/dpi_scale.h"

namespace corv {

// Narrows `layout` by 10 pixels (the caller keeps the narrowed rectangle),
// draws `text` in opaque black in it, then again in `argb` one pixel to the
// left. Both distances are pixels at 96 DPI, scaled to `dpi`.
void DrawShadowText(Surface& surface, const std::string& text, const FontSpec& font, RectF& layout,
                    uint32_t argb, int32_t dpi = kBaseDpi);

}  // namespace corv
