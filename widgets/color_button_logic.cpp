#include "widgets/color_button_logic.h"

namespace corv {

ColorButtonLayout LayoutColorButton(int width, int height, int32_t dpi) {
    auto px = [dpi](int pixels) { return ScaleForDpi(pixels, dpi); };
    ColorButtonLayout layout;
    layout.line = px(1);
    layout.swatch = {px(2), px(2), width - px(2), height - px(2)};
    const int w = width - px(4);
    const int h = height - px(4);
    layout.markFrame = {w - px(10), h - px(5), width - px(2), height - px(2)};
    layout.markFace = {layout.markFrame.left + layout.line, layout.markFrame.top + layout.line,
                       width - px(2), height - px(2)};
    // A triangle pointing down: each row one pixel narrower on both sides.
    const int rows = px(3);
    for (int i = 0; i < rows; ++i) {
        const int x0 = w - px(6) + i;
        layout.triangle.push_back(HLine{h - px(2) + i, x0, x0 + 2 * (rows - i) - 1});
    }
    return layout;
}

}  // namespace corv
