// HEIC pictures decoded by libheif with libde265: libheif joins a grid's
// tiles, applies the file's turns and hands out planes of R, G and B, which
// are turned into the bitmap's rows and reduced on the way
// (compose/yuv_to_bgr.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "compose/imaging_gdiplus_win.h"

namespace corv {

// Decodes the HEIC file in `data` for `need`, standing as the file says.
// Null when it cannot be decoded: broken, more than kMaxPicturePixels, more
// than kMaxDecodedPixels even at 1/8, or planes of more than
// kMaxDecoderWorkBytes.
std::unique_ptr<GdiplusImage> DecodeHeic(const uint8_t* data, std::size_t size,
                                         const NeededSize& need);

}  // namespace corv
