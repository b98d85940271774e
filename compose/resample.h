// The program's own resampling of an opaque picture: a separable bicubic
// filter (Keys, a = -0.5) that widens with the reduction, so that every
// source pixel counts when a picture is drawn much smaller, as a
// high-quality bicubic draw does. It writes straight into the rows of a
// 24-bit bitmap, with no 32-bit copy and no blending.
#pragma once

#include <cstdint>

namespace corv {

// Rows of pixels to read: 3 (B, G, R) or 4 (B, G, R, unused) bytes each.
struct SourceRows {
    const uint8_t* scan0 = nullptr;
    int32_t stride = 0;
    int32_t width = 0;
    int32_t height = 0;
    int bytesPerPixel = 3;
    // How much of the rows the picture covers, in their pixels: a picture
    // decoded at a reduced scale may cover a little less than its bitmap.
    // 0 takes the whole width or height.
    double extentWidth = 0;
    double extentHeight = 0;
};

// Where the resampled picture goes: it is `width` x `height` pixels in
// all, and the rows at `scan0` hold its part from (visibleX, visibleY) of
// visibleWidth x visibleHeight pixels, 3 bytes (B, G, R) each.
struct TargetRows {
    uint8_t* scan0 = nullptr;
    int32_t stride = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t visibleX = 0;
    int32_t visibleY = 0;
    int32_t visibleWidth = 0;
    int32_t visibleHeight = 0;
};

// The filter's weight at a distance of `x` source pixels, for a reduction
// to `scale` (destination over source; 1 or more draws it unwidened).
double BicubicWeight(double x, double scale);

// Resamples the whole source onto the target. False, with nothing
// written, when a size is not positive, the visible part does not lie
// inside the picture or the work buffer cannot be had.
bool ResampleBicubic(const SourceRows& source, const TargetRows& target);

}  // namespace corv
