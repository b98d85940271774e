#include "compose/avif_decode_win.h"

#include <dav1d/dav1d.h>

#include <algorithm>
#include <cstring>

#include "compose/decode_scale.h"
#include "compose/decode_target_win.h"
#include "compose/exif_orientation.h"
#include "compose/heif_layout.h"
#include "compose/picture_probe.h"
#include "compose/yuv_to_bgr.h"

namespace corv {

namespace {

// The bits per sample the AV1 configuration box gives; 16 when there is
// none (the most a decoder may give).
int ConfiguredBits(const uint8_t* data, const HeifCoded& coded) {
    if (coded.config.size < 3) return 16;
    const uint8_t flags = data[coded.config.offset + 2];
    if ((flags & 0x40) == 0) return 8;
    return (flags & 0x20) ? 12 : 10;
}

void KeepData(const uint8_t*, void*) {}  // the file's bytes outlive the decoder

// One dav1d decoder for the pictures of a file.
class Av1Decoder {
public:
    Av1Decoder() {
        Dav1dSettings settings;
        dav1d_default_settings(&settings);
        settings.n_threads = 1;  // the least memory; the program does one thing at a time
        settings.max_frame_delay = 1;
        settings.all_layers = 0;
        settings.frame_size_limit = static_cast<unsigned>(kMaxPicturePixels);
        if (dav1d_open(&context_, &settings) < 0) context_ = nullptr;
    }
    ~Av1Decoder() {
        if (context_) dav1d_close(&context_);
    }
    Av1Decoder(const Av1Decoder&) = delete;
    Av1Decoder& operator=(const Av1Decoder&) = delete;

    // Decodes one coded picture into `picture` (the caller unrefs it).
    bool Decode(const uint8_t* file, const HeifCoded& coded, Dav1dPicture& picture) {
        if (!context_) return false;
        Dav1dData input{};
        if (coded.data.size() == 1) {
            if (dav1d_data_wrap(&input, file + coded.data[0].offset, coded.data[0].size, KeepData,
                                nullptr) < 0)
                return false;
        } else {
            std::size_t total = 0;
            for (const HeifRange& piece : coded.data) total += piece.size;
            uint8_t* joined = dav1d_data_create(&input, total);
            if (!joined) return false;
            for (const HeifRange& piece : coded.data) {
                std::memcpy(joined, file + piece.offset, piece.size);
                joined += piece.size;
            }
        }
        std::memset(&picture, 0, sizeof picture);
        bool got = false;
        for (;;) {
            if (input.sz > 0) {
                const int sent = dav1d_send_data(context_, &input);
                if (sent < 0 && sent != DAV1D_ERR(EAGAIN)) break;
            }
            const int result = dav1d_get_picture(context_, &picture);
            if (result == 0) {
                got = true;
                break;
            }
            if (result != DAV1D_ERR(EAGAIN) || input.sz == 0) break;
        }
        if (input.sz > 0) dav1d_data_unref(&input);
        dav1d_flush(context_);
        if (got && (picture.p.w < coded.width || picture.p.h < coded.height)) {
            dav1d_picture_unref(&picture);
            got = false;
        }
        return got;
    }

private:
    Dav1dContext* context_ = nullptr;
};

// Unrefs a picture when it goes.
struct PictureHold {
    Dav1dPicture picture{};
    bool held = false;
    ~PictureHold() {
        if (held) dav1d_picture_unref(&picture);
    }
};

// The planes of a decoded picture, `width` x `height` of it.
YuvPicture PlanesOf(const Dav1dPicture& picture, int32_t width, int32_t height,
                    const HeifLayout& layout) {
    YuvPicture yuv;
    yuv.width = width;
    yuv.height = height;
    yuv.bitDepth = picture.p.bpc;
    yuv.planes[0] = static_cast<const uint8_t*>(picture.data[0]);
    yuv.strides[0] = static_cast<int32_t>(picture.stride[0]);
    if (picture.p.layout != DAV1D_PIXEL_LAYOUT_I400) {
        yuv.planes[1] = static_cast<const uint8_t*>(picture.data[1]);
        yuv.planes[2] = static_cast<const uint8_t*>(picture.data[2]);
        yuv.strides[1] = yuv.strides[2] = static_cast<int32_t>(picture.stride[1]);
    }
    yuv.chromaShiftX = picture.p.layout == DAV1D_PIXEL_LAYOUT_I444 ? 0 : 1;
    yuv.chromaShiftY = picture.p.layout == DAV1D_PIXEL_LAYOUT_I420 ? 1 : 0;
    // The file's colour description first, else the AV1 sequence header's.
    if (layout.haveColour) {
        yuv.matrix = layout.matrix;
        yuv.fullRange = layout.fullRange;
    } else if (picture.seq_hdr) {
        yuv.matrix = picture.seq_hdr->mtrx;
        yuv.fullRange = picture.seq_hdr->color_range != 0;
    }
    return yuv;
}

// The largest power of two at most `denominator` that divides both sides
// of a tile, so that reduced blocks never straddle two tiles.
int TileDenominator(int denominator, int32_t tileWidth, int32_t tileHeight) {
    while (denominator > 1 && (tileWidth % denominator != 0 || tileHeight % denominator != 0))
        denominator /= 2;
    return denominator;
}

}  // namespace

std::unique_ptr<GdiplusImage> DecodeAvif(const uint8_t* data, std::size_t size,
                                         const NeededSize& need) {
    HeifLayout layout;
    if (data == nullptr || ReadHeifLayout(data, size, layout) != HeifRead::Ok ||
        layout.codec != HeifCodec::Av1 || layout.width > kMaxPicturePixels / layout.height)
        return nullptr;
    const int32_t width = static_cast<int32_t>(layout.width);
    const int32_t height = static_cast<int32_t>(layout.height);
    const HeifCoded& first = layout.tiles[0];
    const int bits = ConfiguredBits(data, first);
    // A grid holds one decoded tile at a time.
    if (HeifWorkBytes(first.width, first.height, bits, layout.haveAlpha) > kMaxDecoderWorkBytes)
        return nullptr;
    int denominator =
        ChooseDecodeScale(width, height, need, OrientationSwapsSides(layout.orientation));
    if (layout.gridRows > 0) denominator = TileDenominator(denominator, first.width, first.height);
    if (denominator == 0) return nullptr;
    const DecodedScale scale{SizeI{width, height}, denominator};
    const SizeI pixels = scale.Pixels();
    if (int64_t{pixels.width} * pixels.height > kMaxDecodedPixels) return nullptr;

    Av1Decoder decoder;
    PictureHold alpha;
    if (layout.haveAlpha) {
        alpha.held = decoder.Decode(data, layout.alpha, alpha.picture);
        if (!alpha.held) return nullptr;
    }
    DecodeTarget target(pixels.width, pixels.height, layout.haveAlpha);
    if (!target.Ready()) return nullptr;
    const int columns = layout.gridRows > 0 ? layout.gridColumns : 1;
    int depth = 0;
    for (std::size_t i = 0; i < layout.tiles.size(); ++i) {
        const HeifCoded& tile = layout.tiles[i];
        PictureHold colour;
        colour.held = decoder.Decode(data, tile, colour.picture);
        if (!colour.held) return nullptr;
        // The tile's part of the picture (the last row and column are cut).
        const int32_t left = static_cast<int32_t>(i % columns) * first.width;
        const int32_t top = static_cast<int32_t>(i / columns) * first.height;
        const int32_t w = std::min(tile.width, width - left);
        const int32_t h = std::min(tile.height, height - top);
        YuvPicture yuv = PlanesOf(colour.picture, w, h, layout);
        if (alpha.held) {
            if (alpha.picture.p.w < w || alpha.picture.p.h < h) return nullptr;
            yuv.alpha = static_cast<const uint8_t*>(alpha.picture.data[0]);
            yuv.alphaStride = static_cast<int32_t>(alpha.picture.stride[0]);
            yuv.alphaBitDepth = alpha.picture.p.bpc;
        }
        uint8_t* at = target.Scan0() +
                      static_cast<std::ptrdiff_t>(top / denominator) * target.Stride() +
                      static_cast<std::ptrdiff_t>(left / denominator) * target.BytesPerPixel();
        ReduceYuvToBgr(yuv, denominator, at, target.Stride());
        depth = (yuv.planes[1] ? 3 : 1) * yuv.bitDepth + (yuv.alpha ? yuv.alphaBitDepth : 0);
    }
    std::unique_ptr<GdiplusImage> image = target.Finish(scale, depth);
    if (image) image->SetOrientation(layout.orientation);
    return image;
}

}  // namespace corv
