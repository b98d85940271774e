// The bitmap a decoder writes a picture into: a GDI+ bitmap locked for
// writing while the object lives, handed over as a picture when it is
// whole.
#pragma once

#include <cstdint>
#include <memory>

#include "compose/imaging_gdiplus_win.h"

namespace corv {

class DecodeTarget {
public:
    // `alpha`: 32 bits of premultiplied B, G, R, A a pixel, all transparent
    // to start; else 24 bits of B, G, R.
    DecodeTarget(int32_t width, int32_t height, bool alpha);
    ~DecodeTarget();
    DecodeTarget(const DecodeTarget&) = delete;
    DecodeTarget& operator=(const DecodeTarget&) = delete;

    bool Ready() const { return locked_; }
    uint8_t* Scan0() const { return static_cast<uint8_t*>(rows_.Scan0); }
    int32_t Stride() const { return rows_.Stride; }
    int32_t BytesPerPixel() const { return alpha_ ? 4 : 3; }
    // The bytes from the first to the last pixel (for decoders that check
    // the room they are given).
    std::size_t Bytes() const;

    // The picture, `scale` saying what the bitmap stands for and
    // `bitsPerPixel` how deep its file is; null when the bitmap was never
    // ready.
    std::unique_ptr<GdiplusImage> Finish(const DecodedScale& scale, int bitsPerPixel);

private:
    void Unlock();

    Gdiplus::GpBitmap* bitmap_ = nullptr;
    Gdiplus::BitmapData rows_{};
    bool locked_ = false;
    bool alpha_ = false;
    int32_t width_ = 0;
    int32_t height_ = 0;
};

}  // namespace corv
