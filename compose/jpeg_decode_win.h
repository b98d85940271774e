// JPEG pictures decoded by libjpeg-turbo straight into a GDI+ bitmap, at the
// largest reduction (1/1, 1/2, 1/4 or 1/8) that still gives as many pixels
// as the picture is drawn with (compose/decode_scale.h). The image keeps
// reporting the picture's full size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "compose/imaging_gdiplus_win.h"

namespace corv {

// The most memory the decoder itself may take for one picture (a
// progressive JPEG keeps all its coefficients, 2 bytes per sample, whatever
// the scale); a picture that needs more is refused.
constexpr long kMaxJpegWorkBytes = static_cast<long>(kMaxDecoderWorkBytes);

// Decodes the JPEG in `data` for `need`; `swapAxes` says it will be turned
// a quarter before drawing. Null when it cannot be decoded: corrupt beyond
// repair, more than kMaxDecodedPixels even at 1/8, or more work memory than
// kMaxJpegWorkBytes. Damaged data that the decoder can step over (a warning)
// still gives a picture.
std::unique_ptr<GdiplusImage> DecodeJpeg(const uint8_t* data, std::size_t size,
                                         const NeededSize& need, bool swapAxes = false);

}  // namespace corv
