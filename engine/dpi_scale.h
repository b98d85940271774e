// Screen sizes at the display's scale. Every size the program gives in
// pixels is the size at 96 dots per inch (100 %); at another DPI it grows
// by dpi / 96, rounded as the system's MulDiv rounds, so that 96 DPI keeps
// every number exactly.
#pragma once

#include <cstdint>

namespace corv {

constexpr int32_t kBaseDpi = 96;

// a x b / c rounded to the nearest integer, halves away from zero, as the
// system's MulDiv; -1 when c is 0.
int32_t MulDivRound(int32_t a, int32_t b, int32_t c);

// `dpi` when the system's answer is usable, else 96: a failed query (0 or
// less) or a value no display has.
int32_t UsableDpi(int32_t dpi);

// `pixels` at 96 DPI as pixels at `dpi` (negative sizes and offsets too).
int32_t ScaleForDpi(int32_t pixels, int32_t dpi);
// The same for a size in fractions of a pixel; exact at 96 DPI.
float ScaleForDpi(float pixels, int32_t dpi);

// The DPI at which something `pixels` wide at 96 DPI is drawn in `room`
// pixels: `dpi` where it fits, else the largest DPI at which it still
// fits, but never less than 96 (nothing is drawn smaller than at 100 %).
int32_t DpiToFit(int32_t pixels, int32_t room, int32_t dpi);

}  // namespace corv
