// Where the colour button draws its parts: two 3-D frames, the swatch, the
// drop-down mark's box and its triangle.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/dpi_scale.h"

namespace corv {

struct Box {
    int left = 0;
    int top = 0;
    int right = 0;  // exclusive
    int bottom = 0;
};

// A horizontal line from x0 to x1, x1 excluded.
struct HLine {
    int y = 0;
    int x0 = 0;
    int x1 = 0;
};

struct ColorButtonLayout {
    int line = 1;                 // the frames' thickness
    Box swatch;                   // filled with the colour, inside the outer frame
    Box markFrame;                // filled white: the mark's light top and left edge
    Box markFace;                 // filled with the button face colour
    std::vector<HLine> triangle;  // rows from the widest (top) to the tip
};

// The layout for a button of `width` x `height` pixels at `dpi`: at 96 DPI
// one-pixel frames, a 2-pixel inset and a three-row triangle; the frames,
// insets and the mark grow with the DPI.
ColorButtonLayout LayoutColorButton(int width, int height, int32_t dpi = kBaseDpi);

}  // namespace corv
