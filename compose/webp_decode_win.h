// WebP pictures (lossy, lossless, with alpha, and the first frame of an
// animation) decoded by libwebp straight into a GDI+ bitmap, scaled by the
// decoder to the largest reduction (1/1, 1/2, 1/4 or 1/8) that still gives
// as many pixels as the picture is drawn with (compose/decode_scale.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "compose/imaging_gdiplus_win.h"

namespace corv {

// Decodes the WebP file in `data` for `need`; `swapAxes` says it will be
// turned a quarter before drawing. Null when it cannot be decoded: broken,
// more than kMaxDecodedPixels even at 1/8, or more decoder memory than
// kMaxDecoderWorkBytes. A picture with transparency is a premultiplied
// 32-bit bitmap, uncovered canvas of an animation transparent.
std::unique_ptr<GdiplusImage> DecodeWebp(const uint8_t* data, std::size_t size,
                                         const NeededSize& need, bool swapAxes = false);

}  // namespace corv
