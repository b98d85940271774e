#include "compose/decode_scale.h"

#include <algorithm>

namespace corv {

namespace {

// The size a logical lw x lh picture is drawn at for `need`, on each axis
// never more than the picture has.
SizeI DrawnSize(int64_t lw, int64_t lh, const NeededSize& need) {
    int64_t w = need.width;
    int64_t h = need.height;
    if (!need.stretched) {
        // Fitted with its own proportions, as the picture limit and the
        // background's fitting both do (truncated).
        if (lw * h >= lh * w) {
            h = lh * w / lw;
        } else {
            w = lw * h / lh;
        }
    }
    return SizeI{static_cast<int32_t>(std::min(w, lw)), static_cast<int32_t>(std::min(h, lh))};
}

}  // namespace

int32_t ScaledLength(int32_t length, int denominator) {
    if (length <= 0 || denominator <= 0) return 0;
    return static_cast<int32_t>((int64_t{length} + denominator - 1) / denominator);
}

int ChooseDecodeScale(int32_t storedWidth, int32_t storedHeight, const NeededSize& need,
                      bool swapAxes) {
    if (storedWidth <= 0 || storedHeight <= 0) return 0;
    // Compare on the axes the picture is drawn on.
    const int32_t lw = swapAxes ? storedHeight : storedWidth;
    const int32_t lh = swapAxes ? storedWidth : storedHeight;
    const bool whole = need.width <= 0 || need.height <= 0;
    const SizeI drawn = whole ? SizeI{lw, lh} : DrawnSize(lw, lh, need);
    for (int d = kMaxDecodeDenominator; d >= 1; d /= 2) {
        if (ScaledLength(lw, d) >= drawn.width && ScaledLength(lh, d) >= drawn.height) {
            // The largest reduction that keeps enough pixels; a smaller
            // one when that would not fit the decode buffer.
            for (int fit = d; fit <= kMaxDecodeDenominator; fit *= 2) {
                const int64_t pixels =
                    int64_t{ScaledLength(lw, fit)} * int64_t{ScaledLength(lh, fit)};
                if (pixels <= kMaxDecodedPixels) return fit;
            }
            return 0;
        }
    }
    return 0;  // not reached: 1/1 always keeps enough
}

SizeI DecodedScale::Pixels() const {
    return SizeI{ScaledLength(logical.width, denominator),
                 ScaledLength(logical.height, denominator)};
}

RectF DecodedScale::ToPixels(const RectF& r) const {
    const float d = static_cast<float>(denominator > 0 ? denominator : 1);
    return RectF{r.x / d, r.y / d, r.width / d, r.height / d};
}

RectF DecodedScale::ToPixels(const RectI& r) const {
    return ToPixels(RectF{static_cast<float>(r.x), static_cast<float>(r.y),
                          static_cast<float>(r.width), static_cast<float>(r.height)});
}

DecodedScale DecodedScale::Turned() const {
    return DecodedScale{SizeI{logical.height, logical.width}, denominator};
}

}  // namespace corv
