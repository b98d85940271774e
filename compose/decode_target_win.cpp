#include "compose/decode_target_win.h"

#include <cstring>

namespace corv {

namespace gp = Gdiplus::DllExports;
using Gdiplus::Ok;

DecodeTarget::DecodeTarget(int32_t width, int32_t height, bool alpha)
    : alpha_(alpha), width_(width), height_(height) {
    if (width <= 0 || height <= 0 || width > kMaxDecodedPixels / height) return;
    const Gdiplus::PixelFormat format = alpha ? PixelFormat32bppPARGB : PixelFormat24bppRGB;
    if (gp::GdipCreateBitmapFromScan0(width, height, 0, format, nullptr, &bitmap_) != Ok ||
        !bitmap_) {
        bitmap_ = nullptr;
        return;
    }
    const Gdiplus::GpRect area(0, 0, width, height);
    locked_ =
        gp::GdipBitmapLockBits(bitmap_, &area, Gdiplus::ImageLockModeWrite, format, &rows_) == Ok &&
        rows_.Scan0 != nullptr;
    if (locked_ && rows_.Stride < width * BytesPerPixel()) Unlock();
    // GDI+ does not promise cleared memory.
    for (int32_t y = 0; locked_ && y < height; ++y)
        std::memset(Scan0() + static_cast<std::ptrdiff_t>(y) * rows_.Stride, 0,
                    static_cast<std::size_t>(width) * BytesPerPixel());
}

DecodeTarget::~DecodeTarget() {
    Unlock();
    if (bitmap_) gp::GdipDisposeImage(bitmap_);
}

void DecodeTarget::Unlock() {
    if (locked_) gp::GdipBitmapUnlockBits(bitmap_, &rows_);
    locked_ = false;
}

std::size_t DecodeTarget::Bytes() const {
    if (!locked_) return 0;
    return static_cast<std::size_t>(rows_.Stride) * static_cast<std::size_t>(height_ - 1) +
           static_cast<std::size_t>(width_) * BytesPerPixel();
}

std::unique_ptr<GdiplusImage> DecodeTarget::Finish(const DecodedScale& scale, int bitsPerPixel) {
    if (!locked_) return nullptr;
    Unlock();
    auto image = std::make_unique<GdiplusImage>(bitmap_, scale, bitsPerPixel);
    bitmap_ = nullptr;  // the image owns it now
    if (image->Width() == 0) return nullptr;
    return image;
}

}  // namespace corv
