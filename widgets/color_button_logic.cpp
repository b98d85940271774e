#include "widgets/color_button_logic.h"

namespace corv {

ColorButtonLayout LayoutColorButton(int width, int height) {
    ColorButtonLayout layout;
    layout.swatch = {2, 2, width - 2, height - 2};
    const int w = width - 4;
    const int h = height - 4;
    layout.markFrame = {w - 10, h - 5, width - 2, height - 2};
    layout.markFace = {w - 9, h - 4, width - 2, height - 2};
    layout.triangle[0] = {h - 2, w - 6, w - 1};
    layout.triangle[1] = {h - 1, w - 5, w - 2};
    layout.triangle[2] = {h, w - 4, w - 3};
    return layout;
}

}  // namespace corv
