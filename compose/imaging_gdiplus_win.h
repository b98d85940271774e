// The imaging interface over the GDI+ flat API.
//
// Pictures are read whole into memory and checked (compose/picture_probe.h)
// before GDI+ sees them, so a file is never held open by a loaded picture and
// a picture too large for the process loads as width 0 instead of failing
// somewhere inside the decoder.
//
// Every image and surface must be gone before the GdiplusSession ends.
#pragma once

#include <windows.h>

#include <objbase.h>

#include <gdiplus.h>

#include <memory>
#include <string>

#include "compose/decode_scale.h"
#include "compose/imaging.h"

namespace corv {

// Starts GDI+ (version 1) for the object's lifetime. Sessions nest: GDI+
// counts its starts.
class GdiplusSession {
public:
    GdiplusSession();
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

    bool Started() const { return started_; }

private:
    ULONG_PTR token_ = 0;
    bool started_ = false;
};

// A GDI+ bitmap; width 0 when there is none. Picture files loaded from disk
// keep their bytes in the stream that GDI+ decodes from, released with the
// image. A JPEG may be decoded smaller than it is: Width() and Height() are
// its full size, the bitmap has Scale().Pixels().
class GdiplusImage : public Image {
public:
    GdiplusImage() = default;
    // Takes ownership of both; `source` may be null.
    GdiplusImage(Gdiplus::GpBitmap* bitmap, IStream* source);
    // Takes ownership of a bitmap decoded at `scale` from a picture of
    // `bitsPerPixel` (as stored in its file).
    GdiplusImage(Gdiplus::GpBitmap* bitmap, const DecodedScale& scale, int bitsPerPixel);
    ~GdiplusImage() override;
    GdiplusImage(const GdiplusImage&) = delete;
    GdiplusImage& operator=(const GdiplusImage&) = delete;

    int32_t Width() const override { return scale_.logical.width; }
    int32_t Height() const override { return scale_.logical.height; }
    int BitsPerPixel() const override;
    int Orientation() const override { return orientation_; }

    Gdiplus::GpBitmap* Bitmap() const { return bitmap_; }
    const DecodedScale& Scale() const { return scale_; }
    // The bitmap's own size; the full size unless decoded smaller.
    int32_t PixelWidth() const { return pixelWidth_; }
    int32_t PixelHeight() const { return pixelHeight_; }
    void SetOrientation(int orientation) { orientation_ = orientation; }
    // Takes the size from the bitmap again after turning it; `quarter` says
    // the turn swapped its sides.
    void ReadTurnedSize(bool quarter);

private:
    bool ReadPixelSize();

    Gdiplus::GpBitmap* bitmap_ = nullptr;
    IStream* source_ = nullptr;
    DecodedScale scale_;
    int32_t pixelWidth_ = 0;
    int32_t pixelHeight_ = 0;
    int storedBitsPerPixel_ = 0;  // 0: as GDI+ reports the bitmap's format
    int orientation_ = 1;
};

// Drawing on a bitmap or a device context. The target must outlive the
// surface.
class GdiplusSurface : public Surface {
public:
    // Takes ownership of `graphics`; `target` is the bitmap it draws on, if
    // it draws on one.
    explicit GdiplusSurface(Gdiplus::GpGraphics* graphics, Gdiplus::GpBitmap* target = nullptr);
    ~GdiplusSurface() override;
    GdiplusSurface(const GdiplusSurface&) = delete;
    GdiplusSurface& operator=(const GdiplusSurface&) = delete;

    void Clear(uint32_t argb) override;
    void DrawImage(Image& image, const RectI& dest) override;
    void DrawImage(Image& image, const RectF& dest) override;
    void DrawImage(Image& image, const RectI& dest, const RectI& source) override;
    void DrawImage(Image& image, const RectF& dest, const RectF& source) override;
    Interpolation GetInterpolation() const override;
    void SetInterpolation(Interpolation mode) override;
    void RotateTransform(float degrees, MatrixOrder order) override;
    void TranslateTransform(float dx, float dy, MatrixOrder order) override;
    void FillRect(const RectI& rect, uint32_t argb) override;
    void FillGradient(const RectI& rect, uint32_t fromArgb, uint32_t toArgb, float angle) override;
    void DrawRectOutline(const RectI& rect, uint32_t argb) override;
    void DrawString(const std::string& text, const FontSpec& font, const RectF& layout,
                    uint32_t argb, TextAlign horizontal, TextAlign vertical) override;

    Gdiplus::GpGraphics* Graphics() const { return graphics_; }

private:
    Gdiplus::GpImageAttributes* OutsideTransparent();
    bool FillTarget(uint32_t argb);
    bool CopyOnto(Image& image, const RectI& dest);

    Gdiplus::GpGraphics* graphics_;
    Gdiplus::GpBitmap* target_;
    bool transformed_ = false;  // a world transform was set
    Gdiplus::GpImageAttributes* outsideTransparent_ = nullptr;
};

class GdiplusImaging : public Imaging {
public:
    using Imaging::LoadPicture;
    // The content decides the decoder, not the name: JPEG is decoded by
    // libjpeg-turbo and WebP by libwebp at the scale `need` allows, AVIF by
    // dav1d and HEIC by libheif reduced after decoding (compose/*_decode_win.h),
    // every other format by GDI+.
    std::unique_ptr<Image> LoadPicture(const std::string& path, const NeededSize& need) override;
    std::unique_ptr<Image> NewBitmap(int32_t width, int32_t height, PixelFormat format) override;
    std::unique_ptr<Surface> SurfaceOn(Image& bitmap) override;
    bool LockBits(Image& bitmap, const RectI& rect, PixelFormat format, bool forWriting,
                  PixelBuffer& out) override;
    void UnlockBits(Image& bitmap, PixelBuffer& buffer) override;
    bool Orient(Image& picture, int orientation) override;
    bool SaveImage(Image& image, const std::string& path, const std::string& mimeType) override;

    // A surface on a window's device context (previews); null on failure.
    std::unique_ptr<Surface> SurfaceOnDc(HDC dc);
};

// The position of the first installed encoder whose MIME type is exactly
// `mimeType` (case-sensitive), its class identifier in `clsid`; -1 when
// there is none or no encoder at all.
int FindEncoder(const std::wstring& mimeType, CLSID* clsid);

// A device bitmap of `image` over `background` (0xAARRGGBB), for image lists;
// null on failure. The caller deletes it with DeleteObject.
HBITMAP CreateDeviceBitmap(Image& image, Gdiplus::ARGB background);

}  // namespace corv
