#include "compose/yuv_to_bgr.h"

#include <algorithm>
#include <vector>

#include "compose/decode_scale.h"

namespace corv {

namespace {

enum class Rule { Weighted, Identity, Ycgco };

// How samples become R, G, B in 0..1: offsets and scales of the range, and
// the matrix's weights of red and blue.
struct Conversion {
    Rule rule = Rule::Weighted;
    float lumaOffset = 0;
    float lumaScale = 1;
    float chromaOffset = 0;
    float chromaScale = 1;
    float crToR = 0, cbToG = 0, crToG = 0, cbToB = 0;
};

Conversion ConversionFor(const YuvPicture& picture) {
    Conversion c;
    const float unit = static_cast<float>(1 << (picture.bitDepth - 8));
    const float top = static_cast<float>((1 << picture.bitDepth) - 1);
    if (picture.fullRange) {
        c.lumaScale = 1 / top;
        c.chromaOffset = 128 * unit;
        c.chromaScale = 1 / top;
    } else {
        c.lumaOffset = 16 * unit;
        c.lumaScale = 1 / (219 * unit);
        c.chromaOffset = 128 * unit;
        c.chromaScale = 1 / (224 * unit);
    }
    float kr = 0.299f;
    float kb = 0.114f;
    switch (picture.matrix) {
        case kMatrixIdentity:
            c.rule = Rule::Identity;
            return c;
        case kMatrixYcgco:
            c.rule = Rule::Ycgco;
            return c;
        case kMatrixBt709:
            kr = 0.2126f;
            kb = 0.0722f;
            break;
        case kMatrixFcc:
            kr = 0.30f;
            kb = 0.11f;
            break;
        case kMatrixSmpte240:
            kr = 0.212f;
            kb = 0.087f;
            break;
        case kMatrixBt2020:
        case kMatrixBt2020Constant:
            kr = 0.2627f;
            kb = 0.0593f;
            break;
        default:
            break;
    }
    const float kg = 1 - kr - kb;
    c.crToR = 2 * (1 - kr);
    c.cbToB = 2 * (1 - kb);
    c.cbToG = 2 * kb * (1 - kb) / kg;
    c.crToG = 2 * kr * (1 - kr) / kg;
    return c;
}

inline uint32_t Sample(const uint8_t* row, int32_t x, bool wide) {
    if (!wide) return row[x];
    return static_cast<uint32_t>(reinterpret_cast<const uint16_t*>(row)[x]);
}

inline uint32_t ToByte(float v) {
    const float scaled = v * 255.0f + 0.5f;
    if (scaled <= 0) return 0;
    if (scaled >= 255) return 255;
    return static_cast<uint32_t>(scaled);
}

// One pixel's R, G, B (0..255) from its three samples.
inline void ToRgb(const Conversion& c, uint32_t y, uint32_t cb, uint32_t cr, uint32_t rgb[3]) {
    const float luma = (static_cast<float>(y) - c.lumaOffset) * c.lumaScale;
    if (c.rule == Rule::Identity) {
        rgb[0] = ToByte((static_cast<float>(cr) - c.lumaOffset) * c.lumaScale);
        rgb[1] = ToByte(luma);
        rgb[2] = ToByte((static_cast<float>(cb) - c.lumaOffset) * c.lumaScale);
        return;
    }
    const float u = (static_cast<float>(cb) - c.chromaOffset) * c.chromaScale;
    const float v = (static_cast<float>(cr) - c.chromaOffset) * c.chromaScale;
    if (c.rule == Rule::Ycgco) {
        const float t = luma - u;
        rgb[0] = ToByte(t + v);
        rgb[1] = ToByte(luma + u);
        rgb[2] = ToByte(t - v);
        return;
    }
    rgb[0] = ToByte(luma + c.crToR * v);
    rgb[1] = ToByte(luma - c.cbToG * u - c.crToG * v);
    rgb[2] = ToByte(luma + c.cbToB * u);
}

}  // namespace

void ReduceYuvToBgr(const YuvPicture& picture, int denominator, uint8_t* out, int32_t outStride) {
    const int32_t width = picture.width;
    const int32_t height = picture.height;
    if (width <= 0 || height <= 0 || denominator < 1 || out == nullptr || !picture.planes[0] ||
        picture.bitDepth < 8 || picture.bitDepth > 16 || picture.alphaBitDepth < 1 ||
        picture.alphaBitDepth > 16)
        return;
    const int32_t outWidth = ScaledLength(width, denominator);
    const int32_t outHeight = ScaledLength(height, denominator);
    const bool grey = picture.planes[1] == nullptr || picture.planes[2] == nullptr;
    const bool wide = picture.bitDepth > 8;
    const bool alpha = picture.alpha != nullptr;
    const bool wideAlpha = picture.alphaBitDepth > 8;
    const uint32_t alphaTop = (1u << picture.alphaBitDepth) - 1;
    const Conversion conversion = ConversionFor(picture);
    const int channels = alpha ? 4 : 3;
    std::vector<uint32_t> sums(static_cast<std::size_t>(outWidth) * 4);

    for (int32_t oy = 0; oy < outHeight; ++oy) {
        std::fill(sums.begin(), sums.end(), 0u);
        const int32_t y0 = oy * denominator;
        const int32_t y1 = std::min(y0 + denominator, height);
        for (int32_t y = y0; y < y1; ++y) {
            const uint8_t* rowY =
                picture.planes[0] + static_cast<std::ptrdiff_t>(y) * picture.strides[0];
            const int32_t cy = y >> picture.chromaShiftY;
            const uint8_t* rowCb =
                grey ? nullptr
                     : picture.planes[1] + static_cast<std::ptrdiff_t>(cy) * picture.strides[1];
            const uint8_t* rowCr =
                grey ? nullptr
                     : picture.planes[2] + static_cast<std::ptrdiff_t>(cy) * picture.strides[2];
            const uint8_t* rowA =
                alpha ? picture.alpha + static_cast<std::ptrdiff_t>(y) * picture.alphaStride
                      : nullptr;
            for (int32_t ox = 0; ox < outWidth; ++ox) {
                uint32_t* sum = &sums[static_cast<std::size_t>(ox) * 4];
                const int32_t x1 = std::min((ox + 1) * denominator, width);
                for (int32_t x = ox * denominator; x < x1; ++x) {
                    uint32_t rgb[3];
                    const uint32_t luma = Sample(rowY, x, wide);
                    if (grey) {
                        const uint32_t middle = 1u << (picture.bitDepth - 1);
                        ToRgb(conversion, luma, middle, middle, rgb);
                        if (conversion.rule == Rule::Identity) rgb[0] = rgb[2] = rgb[1];
                    } else {
                        const int32_t cx = x >> picture.chromaShiftX;
                        ToRgb(conversion, luma, Sample(rowCb, cx, wide), Sample(rowCr, cx, wide),
                              rgb);
                    }
                    if (alpha) {
                        const uint32_t a = std::min<uint32_t>(
                            (Sample(rowA, x, wideAlpha) * 255 + alphaTop / 2) / alphaTop, 255);
                        for (uint32_t& v : rgb) v = (v * a + 127) / 255;
                        sum[3] += a;
                    }
                    sum[0] += rgb[2];  // B, G, R in the row
                    sum[1] += rgb[1];
                    sum[2] += rgb[0];
                }
            }
        }
        uint8_t* row = out + static_cast<std::ptrdiff_t>(oy) * outStride;
        for (int32_t ox = 0; ox < outWidth; ++ox) {
            const uint32_t count = static_cast<uint32_t>(
                (y1 - y0) * (std::min((ox + 1) * denominator, width) - ox * denominator));
            const uint32_t* sum = &sums[static_cast<std::size_t>(ox) * 4];
            for (int k = 0; k < channels; ++k)
                row[ox * channels + k] = static_cast<uint8_t>((sum[k] + count / 2) / count);
        }
    }
}

}  // namespace corv
