// Where the colour button draws its parts: two 3-D frames, the swatch, the
// drop-down mark's box and its three-row triangle.
#pragma once

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
    Box swatch;     // filled with the colour, inside the outer frame
    Box markFrame;  // filled white: the mark's light top and left edge
    Box markFace;   // filled with the button face colour
    HLine triangle[3];
};

// The layout for a button of `width` x `height` pixels.
ColorButtonLayout LayoutColorButton(int width, int height);

}  // namespace corv
