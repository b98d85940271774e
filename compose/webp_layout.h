// The chunks of a WebP file (RIFF "WEBP"): the canvas size, whether it has
// transparency or is animated, where the first frame of an animation lies,
// and the EXIF block. Read from the bytes before the decoder sees them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace corv {

enum class WebpRead {
    Ok,
    NotWebp,    // no RIFF "WEBP" header
    Malformed,  // broken chunks, no image, a frame off the canvas
    Truncated,  // the file ends inside a chunk
};

struct WebpLayout {
    int32_t width = 0;  // the canvas
    int32_t height = 0;
    bool animated = false;
    bool alpha = false;     // the file says it has transparency
    bool lossless = false;  // the (first) image is VP8L
    // Where the image chunks of the picture lie: the whole file for a still
    // picture, the first frame's chunks (ALPH, VP8 or VP8L) of an animation.
    std::size_t imageOffset = 0;
    std::size_t imageSize = 0;
    // The first frame's place on the canvas (the whole canvas for a still).
    int32_t frameX = 0;
    int32_t frameY = 0;
    int32_t frameWidth = 0;
    int32_t frameHeight = 0;
    // The EXIF chunk's payload; size 0 when there is none.
    std::size_t exifOffset = 0;
    std::size_t exifSize = 0;
};

// Reads the layout of the WebP file in `data`; `out` is filled only for Ok.
WebpRead ReadWebpLayout(const uint8_t* data, std::size_t size, WebpLayout& out);

// The memory the decoder holds for a picture besides its output, at any
// scale: a lossless picture is decoded whole, 4 bytes a pixel, and the
// alpha plane of a lossy one 1 byte a pixel; lossy colour goes by rows.
int64_t WebpWorkBytes(const WebpLayout& layout);

}  // namespace corv
