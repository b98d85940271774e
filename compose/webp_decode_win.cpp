#include "compose/webp_decode_win.h"

#include <webp/decode.h>

#include "compose/decode_scale.h"
#include "compose/decode_target_win.h"
#include "compose/webp_layout.h"

namespace corv {

namespace {

// The part of a canvas of `canvas` pixels that [start, start + length) of
// `logical` pixels covers, scaled as the bitmap is.
void ScaleSpan(int32_t start, int32_t length, int32_t logical, int32_t canvas, int32_t& from,
               int32_t& count) {
    from = static_cast<int32_t>(int64_t{start} * canvas / logical);
    const int32_t to = static_cast<int32_t>((int64_t{start} + length) * canvas / logical);
    count = to > from ? to - from : 1;
    if (from + count > canvas) from = canvas - count;
}

}  // namespace

std::unique_ptr<GdiplusImage> DecodeWebp(const uint8_t* data, std::size_t size,
                                         const NeededSize& need, bool swapAxes) {
    WebpLayout layout;
    if (data == nullptr || ReadWebpLayout(data, size, layout) != WebpRead::Ok ||
        WebpWorkBytes(layout) > kMaxDecoderWorkBytes)
        return nullptr;
    const int denominator = ChooseDecodeScale(layout.width, layout.height, need, swapAxes);
    if (denominator == 0) return nullptr;
    const DecodedScale scale{SizeI{layout.width, layout.height}, denominator};
    const SizeI pixels = scale.Pixels();

    const uint8_t* image = data + layout.imageOffset;
    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config) ||
        WebPGetFeatures(image, layout.imageSize, &config.input) != VP8_STATUS_OK ||
        config.input.width != layout.frameWidth || config.input.height != layout.frameHeight)
        return nullptr;
    const bool alpha = layout.alpha || config.input.has_alpha;
    DecodeTarget target(pixels.width, pixels.height, alpha);
    if (!target.Ready()) return nullptr;

    // The first frame's place in the bitmap (all of it for a still).
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    ScaleSpan(layout.frameX, layout.frameWidth, layout.width, pixels.width, x, width);
    ScaleSpan(layout.frameY, layout.frameHeight, layout.height, pixels.height, y, height);
    if (width != layout.frameWidth || height != layout.frameHeight) {
        config.options.use_scaling = 1;
        config.options.scaled_width = width;
        config.options.scaled_height = height;
    }
    // A reduced picture is resampled smaller still when drawn: plain chroma
    // upsampling then looks the same and is faster.
    if (denominator > 1) config.options.no_fancy_upsampling = 1;
    config.output.colorspace = alpha ? MODE_bgrA : MODE_BGR;
    config.output.is_external_memory = 1;
    const std::ptrdiff_t start = static_cast<std::ptrdiff_t>(y) * target.Stride() +
                                 std::ptrdiff_t{x} * target.BytesPerPixel();
    config.output.u.RGBA.rgba = target.Scan0() + start;
    config.output.u.RGBA.stride = target.Stride();
    config.output.u.RGBA.size = target.Bytes() - static_cast<std::size_t>(start);
    const VP8StatusCode status = WebPDecode(image, layout.imageSize, &config);
    WebPFreeDecBuffer(&config.output);
    if (status != VP8_STATUS_OK) return nullptr;
    return target.Finish(scale, alpha ? 32 : 24);
}

}  // namespace corv
