#include "compose/heic_decode_win.h"

#include <libheif/heif.h>

#include "compose/decode_scale.h"
#include "compose/decode_target_win.h"
#include "compose/heif_layout.h"
#include "compose/picture_probe.h"
#include "compose/yuv_to_bgr.h"

namespace corv {

namespace {

struct ContextFree {
    void operator()(heif_context* p) const { heif_context_free(p); }
};
struct HandleFree {
    void operator()(heif_image_handle* p) const { heif_image_handle_release(p); }
};
struct ImageFree {
    void operator()(heif_image* p) const { heif_image_release(p); }
};
struct OptionsFree {
    void operator()(heif_decoding_options* p) const { heif_decoding_options_free(p); }
};

bool Good(const heif_error& error) {
    return error.code == heif_error_Ok;
}

// The decoded picture's planes: R, G, B (or one grey plane) at full size,
// and alpha.
bool PlanesOf(const heif_image* image, YuvPicture& yuv) {
    const bool grey = heif_image_get_colorspace(image) == heif_colorspace_monochrome;
    const heif_channel first = grey ? heif_channel_Y : heif_channel_G;
    yuv.width = heif_image_get_width(image, first);
    yuv.height = heif_image_get_height(image, first);
    yuv.bitDepth = heif_image_get_bits_per_pixel_range(image, first);
    yuv.chromaShiftX = 0;
    yuv.chromaShiftY = 0;
    int stride = 0;
    yuv.planes[0] = heif_image_get_plane_readonly(image, first, &stride);
    yuv.strides[0] = stride;
    if (grey) {
        // Grey stays as coded: its range from the colour description.
        heif_color_profile_nclx* colour = nullptr;
        if (Good(heif_image_get_nclx_color_profile(image, &colour)) && colour) {
            yuv.fullRange = colour->full_range_flag != 0;
            heif_nclx_color_profile_free(colour);
        }
    } else {
        // Colour comes as R, G, B planes: G, B, R as an identity matrix.
        if (heif_image_get_colorspace(image) != heif_colorspace_RGB ||
            heif_image_get_chroma_format(image) != heif_chroma_444)
            return false;
        yuv.planes[1] = heif_image_get_plane_readonly(image, heif_channel_B, &stride);
        yuv.strides[1] = stride;
        yuv.planes[2] = heif_image_get_plane_readonly(image, heif_channel_R, &stride);
        yuv.strides[2] = stride;
        yuv.matrix = kMatrixIdentity;
        yuv.fullRange = true;
        if (!yuv.planes[1] || !yuv.planes[2] ||
            heif_image_get_bits_per_pixel_range(image, heif_channel_B) != yuv.bitDepth ||
            heif_image_get_bits_per_pixel_range(image, heif_channel_R) != yuv.bitDepth)
            return false;
    }
    if (heif_image_has_channel(image, heif_channel_Alpha)) {
        yuv.alpha = heif_image_get_plane_readonly(image, heif_channel_Alpha, &stride);
        yuv.alphaStride = stride;
        yuv.alphaBitDepth = heif_image_get_bits_per_pixel_range(image, heif_channel_Alpha);
        if (heif_image_get_width(image, heif_channel_Alpha) != yuv.width ||
            heif_image_get_height(image, heif_channel_Alpha) != yuv.height)
            return false;
    }
    return yuv.planes[0] != nullptr && yuv.width > 0 && yuv.height > 0;
}

std::unique_ptr<GdiplusImage> Decode(const uint8_t* data, std::size_t size,
                                     const NeededSize& need) {
    std::unique_ptr<heif_context, ContextFree> context(heif_context_alloc());
    if (!context ||
        !Good(heif_context_read_from_memory_without_copy(context.get(), data, size, nullptr)))
        return nullptr;
    heif_image_handle* primary = nullptr;
    if (!Good(heif_context_get_primary_image_handle(context.get(), &primary)) || !primary)
        return nullptr;
    std::unique_ptr<heif_image_handle, HandleFree> handle(primary);
    const int64_t width = heif_image_handle_get_width(primary);
    const int64_t height = heif_image_handle_get_height(primary);
    const int bits = heif_image_handle_get_luma_bits_per_pixel(primary);
    const bool alpha = heif_image_handle_has_alpha_channel(primary) != 0;
    // libheif holds the decoded planes twice (as decoded, then as R, G, B).
    if (width <= 0 || height <= 0 || width > kMaxPicturePixels / height || bits <= 0 ||
        2 * HeifWorkBytes(width, height, bits, alpha) > kMaxDecoderWorkBytes)
        return nullptr;
    std::unique_ptr<heif_decoding_options, OptionsFree> options(heif_decoding_options_alloc());
    if (!options) return nullptr;
    options->convert_hdr_to_8bit = 0;
    options->ignore_transformations = 0;  // the file's turns and cuts are applied
    heif_image* decoded = nullptr;
    if (!Good(heif_decode_image(primary, &decoded, heif_colorspace_undefined, heif_chroma_undefined,
                                options.get())) ||
        !decoded)
        return nullptr;
    std::unique_ptr<heif_image, ImageFree> image(decoded);
    YuvPicture yuv;
    if (!PlanesOf(decoded, yuv)) return nullptr;
    const int denominator = ChooseDecodeScale(yuv.width, yuv.height, need, false);
    if (denominator == 0) return nullptr;
    const DecodedScale scale{SizeI{yuv.width, yuv.height}, denominator};
    const SizeI pixels = scale.Pixels();
    DecodeTarget target(pixels.width, pixels.height, yuv.alpha != nullptr);
    if (!target.Ready()) return nullptr;
    ReduceYuvToBgr(yuv, denominator, target.Scan0(), target.Stride());
    const int depth = (yuv.planes[1] ? 3 : 1) * yuv.bitDepth + (yuv.alpha ? yuv.alphaBitDepth : 0);
    return target.Finish(scale, depth);
}

}  // namespace

std::unique_ptr<GdiplusImage> DecodeHeic(const uint8_t* data, std::size_t size,
                                         const NeededSize& need) {
    if (data == nullptr || size == 0) return nullptr;
    // libheif reports running out of memory by throwing.
    try {
        return Decode(data, size, need);
    } catch (...) {
        return nullptr;
    }
}

}  // namespace corv
