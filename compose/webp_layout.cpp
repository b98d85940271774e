#include "compose/webp_layout.h"

#include <cstring>

namespace corv {

namespace {

uint32_t Le16(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8;
}
uint32_t Le24(const uint8_t* p) {
    return Le16(p) | uint32_t{p[2]} << 16;
}
uint32_t Le32(const uint8_t* p) {
    return Le24(p) | uint32_t{p[3]} << 24;
}

struct Chunk {
    const uint8_t* tag = nullptr;
    std::size_t payload = 0;  // offset of its data
    std::size_t size = 0;
    std::size_t next = 0;  // offset of the chunk after it (data padded to even)

    bool Is(const char* name) const { return std::memcmp(tag, name, 4) == 0; }
};

// The chunk whose header starts at `at`, inside [at, end).
WebpRead ReadChunk(const uint8_t* data, std::size_t at, std::size_t end, Chunk& chunk) {
    if (at > end || end - at < 8) return WebpRead::Truncated;
    const std::size_t size = Le32(data + at + 4);
    if (size > end - at - 8) return WebpRead::Truncated;
    chunk.tag = data + at;
    chunk.payload = at + 8;
    chunk.size = size;
    chunk.next = chunk.payload + size + (size & 1);
    return WebpRead::Ok;
}

// The picture size a VP8 (lossy key frame) or VP8L (lossless) chunk's own
// header gives.
bool ReadImageHeader(const uint8_t* data, const Chunk& chunk, int32_t& width, int32_t& height,
                     bool& alpha, bool& lossless) {
    const uint8_t* p = data + chunk.payload;
    if (chunk.Is("VP8 ")) {
        if (chunk.size < 10 || (p[0] & 1) != 0 || p[3] != 0x9D || p[4] != 0x01 || p[5] != 0x2A)
            return false;
        width = static_cast<int32_t>(Le16(p + 6) & 0x3FFF);
        height = static_cast<int32_t>(Le16(p + 8) & 0x3FFF);
        lossless = false;
        return width > 0 && height > 0;
    }
    if (chunk.Is("VP8L")) {
        if (chunk.size < 5 || p[0] != 0x2F) return false;
        const uint32_t bits = Le32(p + 1);
        if ((bits >> 29) != 0) return false;  // version
        width = static_cast<int32_t>((bits & 0x3FFF) + 1);
        height = static_cast<int32_t>(((bits >> 14) & 0x3FFF) + 1);
        alpha = alpha || ((bits >> 28) & 1) != 0;
        lossless = true;
        return true;
    }
    return false;
}

// The image chunks in [from, end): an optional ALPH, then VP8 or VP8L (other
// chunks before them are passed over). Malformed when there is no image.
WebpRead ReadImageChunks(const uint8_t* data, std::size_t from, std::size_t end, int32_t& width,
                         int32_t& height, bool& alpha, bool& lossless) {
    for (std::size_t at = from; at < end;) {
        Chunk chunk;
        const WebpRead read = ReadChunk(data, at, end, chunk);
        if (read != WebpRead::Ok) return read;
        if (chunk.Is("ALPH")) alpha = true;
        if (chunk.Is("VP8 ") || chunk.Is("VP8L"))
            return ReadImageHeader(data, chunk, width, height, alpha, lossless)
                       ? WebpRead::Ok
                       : WebpRead::Malformed;
        at = chunk.next;
    }
    return WebpRead::Malformed;
}

// An ANMF chunk: its frame header, then the frame's image chunks.
WebpRead ReadFirstFrame(const uint8_t* data, const Chunk& frame, WebpLayout& out) {
    if (frame.size < 16) return WebpRead::Malformed;
    const uint8_t* p = data + frame.payload;
    out.frameX = static_cast<int32_t>(Le24(p) * 2);
    out.frameY = static_cast<int32_t>(Le24(p + 3) * 2);
    out.frameWidth = static_cast<int32_t>(Le24(p + 6) + 1);
    out.frameHeight = static_cast<int32_t>(Le24(p + 9) + 1);
    int32_t width = 0;
    int32_t height = 0;
    bool alpha = false;
    const WebpRead read = ReadImageChunks(data, frame.payload + 16, frame.payload + frame.size,
                                          width, height, alpha, out.lossless);
    if (read != WebpRead::Ok) return read;
    if (width != out.frameWidth || height != out.frameHeight ||
        int64_t{out.frameX} + out.frameWidth > out.width ||
        int64_t{out.frameY} + out.frameHeight > out.height)
        return WebpRead::Malformed;
    out.imageOffset = frame.payload + 16;
    out.imageSize = frame.size - 16;
    // Canvas the first frame leaves uncovered is transparent.
    out.alpha = out.alpha || alpha || out.frameWidth != out.width || out.frameHeight != out.height;
    return WebpRead::Ok;
}

// A file that starts with VP8X: the canvas, then every chunk up to the
// end of the RIFF data (all of them must be whole).
WebpRead ReadExtended(const uint8_t* data, const Chunk& header, std::size_t end, WebpLayout& out) {
    if (header.size < 10) return WebpRead::Malformed;
    const uint8_t* p = data + header.payload;
    out.animated = (p[0] & 0x02) != 0;
    out.alpha = (p[0] & 0x10) != 0;
    out.width = static_cast<int32_t>(Le24(p + 4) + 1);
    out.height = static_cast<int32_t>(Le24(p + 7) + 1);
    bool haveImage = false;
    bool alpha = false;
    for (std::size_t at = header.next; at < end;) {
        Chunk chunk;
        const WebpRead read = ReadChunk(data, at, end, chunk);
        if (read != WebpRead::Ok) return read;
        if (chunk.Is("EXIF") && out.exifSize == 0 && chunk.size > 0) {
            out.exifOffset = chunk.payload;
            out.exifSize = chunk.size;
        }
        if (!haveImage && out.animated && chunk.Is("ANMF")) {
            const WebpRead frame = ReadFirstFrame(data, chunk, out);
            if (frame != WebpRead::Ok) return frame;
            haveImage = true;
        }
        if (!haveImage && !out.animated) {
            if (chunk.Is("ALPH")) alpha = true;
            if (chunk.Is("VP8 ") || chunk.Is("VP8L")) {
                int32_t width = 0;
                int32_t height = 0;
                if (!ReadImageHeader(data, chunk, width, height, alpha, out.lossless) ||
                    width != out.width || height != out.height)
                    return WebpRead::Malformed;
                haveImage = true;
            }
        }
        at = chunk.next;
    }
    if (!haveImage) return WebpRead::Malformed;
    if (!out.animated) {
        out.alpha = out.alpha || alpha;
        out.imageOffset = 0;
        out.imageSize = end;
        out.frameWidth = out.width;
        out.frameHeight = out.height;
    }
    return WebpRead::Ok;
}

}  // namespace

WebpRead ReadWebpLayout(const uint8_t* data, std::size_t size, WebpLayout& out) {
    if (data == nullptr || size < 12 || std::memcmp(data, "RIFF", 4) != 0 ||
        std::memcmp(data + 8, "WEBP", 4) != 0)
        return WebpRead::NotWebp;
    const std::size_t riffSize = Le32(data + 4);
    if (riffSize < 4 + 8) return WebpRead::Malformed;
    if (riffSize > size - 8) return WebpRead::Truncated;
    const std::size_t end = 8 + riffSize;  // bytes after the RIFF data do not count
    Chunk first;
    const WebpRead read = ReadChunk(data, 12, end, first);
    if (read != WebpRead::Ok) return read;
    WebpLayout layout;
    if (first.Is("VP8X")) {
        const WebpRead extended = ReadExtended(data, first, end, layout);
        if (extended != WebpRead::Ok) return extended;
    } else {
        if (!ReadImageHeader(data, first, layout.width, layout.height, layout.alpha,
                             layout.lossless))
            return WebpRead::Malformed;
        layout.imageOffset = 0;
        layout.imageSize = end;
        layout.frameWidth = layout.width;
        layout.frameHeight = layout.height;
    }
    out = layout;
    return WebpRead::Ok;
}

int64_t WebpWorkBytes(const WebpLayout& layout) {
    const int64_t pixels = int64_t{layout.frameWidth} * layout.frameHeight;
    if (layout.lossless) return pixels * 4;
    return layout.alpha ? pixels : 0;
}

}  // namespace corv
