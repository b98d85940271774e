// How much smaller than stored a JPEG may be decoded, and how a picture
// decoded smaller maps onto its full size.
//
// A JPEG decoder can give 1/1, 1/2, 1/4 or 1/8 of the stored size at a
// fraction of the cost. A picture decoded so keeps reporting its full
// ("logical") size to every layout rule; only drawing sees the smaller
// bitmap, whose pixel (x, y) covers the logical pixels from d x to d x + d.
#pragma once

#include <cstdint>

#include "compose/desktop.h"
#include "compose/imaging.h"

namespace corv {

// The most pixels a JPEG is decoded to: 16 megapixels, 48 MB at 24 bits.
// Larger pictures are decoded at a smaller scale, and refused when even
// 1/8 is larger.
constexpr int64_t kMaxDecodedPixels = int64_t{16} * 1024 * 1024;

// The most memory a decoder may take for one picture besides the bitmap it
// fills (a progressive JPEG's coefficients, a lossless WebP's pixels, the
// planes of an AVIF or HEIC picture); a picture that needs more is refused.
constexpr int64_t kMaxDecoderWorkBytes = int64_t{256} * 1024 * 1024;

// The largest reduction a JPEG decoder offers.
constexpr int kMaxDecodeDenominator = 8;

// Pixels along an axis of `length` stored pixels decoded at
// 1/`denominator`: rounded up, as the decoder does.
int32_t ScaledLength(int32_t length, int denominator);

// The denominator (1, 2, 4 or 8) to decode a storedWidth x storedHeight
// JPEG at for `need`: the largest whose output still has at least as many
// pixels on each axis as the picture is drawn with (never more than it
// has), and at most kMaxDecodedPixels. `swapAxes` says the picture is
// turned a quarter before it is drawn (its stored width becomes its drawn
// height), so the need is compared on the turned axes. 0 when even 1/8 is
// too large, or the size is not positive.
int ChooseDecodeScale(int32_t storedWidth, int32_t storedHeight, const NeededSize& need,
                      bool swapAxes);

// A picture's full size and the denominator it was decoded at.
struct DecodedScale {
    SizeI logical;
    int denominator = 1;

    // The decoded bitmap's size.
    SizeI Pixels() const;
    // A rectangle in logical pixels, in the decoded bitmap's pixels.
    RectF ToPixels(const RectF& logical) const;
    RectF ToPixels(const RectI& logical) const;
    // After the picture is turned a quarter: both sizes change axes.
    DecodedScale Turned() const;
};

}  // namespace corv
