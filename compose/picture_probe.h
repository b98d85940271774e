// Checks a picture file's bytes before they go to the decoder: the format,
// the size the header announces, and whether the file is cut short.
//
// A 32-bit process cannot decode every picture a header may announce (a
// 30000 x 30000 PNG needs 3.6 GB decoded, and a tiny file can claim that), and
// decoders differ in how they treat a file that ends early. The loader
// therefore decodes only what passes here; everything else loads as a
// picture of width 0.
#pragma once

#include <cstddef>
#include <cstdint>

namespace corv {

enum class PictureKind { Unknown, Bmp, Gif, Jpeg, Png, Tiff, Webp, Avif, Heic };

enum class ProbeVerdict {
    Ok,
    Unrecognised,  // not a format the program decodes (text, icon, empty file)
    Malformed,     // the header is broken or announces no pixels
    Truncated,     // the file ends before its image data does
    TooLarge,      // more pixels than kMaxPicturePixels
};

struct PictureProbe {
    PictureKind kind = PictureKind::Unknown;
    ProbeVerdict verdict = ProbeVerdict::Unrecognised;
    int64_t width = 0;  // as the header says; 0 when unknown
    int64_t height = 0;
    // A whole JPEG without its end-of-image marker: decoders that stop at
    // the end of their input want the marker put back (FF D9 appended).
    bool endMarkerMissing = false;
};

// The largest picture decoded: 64 megapixels, 256 MB at 32 bits per pixel.
// A 24-megapixel camera picture (6000 x 4000) is well inside.
constexpr int64_t kMaxPicturePixels = int64_t{64} * 1024 * 1024;

// Files larger than this are not read at all.
constexpr std::size_t kMaxPictureFileBytes = std::size_t{256} * 1024 * 1024;

PictureProbe ProbePicture(const uint8_t* data, std::size_t size);

// Where the rows of an uncompressed 24-bit BMP lie in its file, so that
// they can be read straight into a bitmap (the kept wallpaper of a 4K
// screen is 24 MB; reading it whole first would double that).
struct PlainBmp {
    int32_t width = 0;
    int32_t height = 0;    // rows, always positive
    bool topDown = false;  // the first row in the file is the top one
    uint32_t dataOffset = 0;
    uint32_t rowBytes = 0;  // with the padding to 4 bytes
};

// True when `head` (the first `headSize` bytes of a file of `fileSize`
// bytes) starts a 24-bit BI_RGB BMP of at most kMaxPicturePixels whose rows
// all lie within the file. Anything else is left to the general loader.
bool ReadPlainBmp(const uint8_t* head, std::size_t headSize, uint64_t fileSize, PlainBmp& out);

}  // namespace corv
