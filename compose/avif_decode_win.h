// AVIF pictures read by our own HEIF reader (compose/heif_layout.h) and
// decoded by dav1d: the planes dav1d gives are turned into the bitmap's rows
// and reduced on the way (compose/yuv_to_bgr.h), a grid tile by tile, so no
// full-size copy of the picture is ever made.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "compose/imaging_gdiplus_win.h"

namespace corv {

// Decodes the AVIF file in `data` for `need`. Null when it cannot be
// decoded: broken, more than kMaxPicturePixels, more than kMaxDecodedPixels
// even at 1/8, or decoded planes of more than kMaxDecoderWorkBytes at once.
// The image carries the turn the file asks for (its Orientation()).
std::unique_ptr<GdiplusImage> DecodeAvif(const uint8_t* data, std::size_t size,
                                         const NeededSize& need);

}  // namespace corv
