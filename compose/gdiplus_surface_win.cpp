// GdiplusSurface: drawing, fills and text on a GDI+ graphics object.
#include "compose/imaging_gdiplus_win.h"

#include <algorithm>
#include <cstring>

#include "base/text_win.h"
#include "compose/font_family_win.h"
#include "compose/resample.h"

namespace corv {

namespace gp = Gdiplus::DllExports;
using Gdiplus::Ok;

namespace {

struct BrushDeleter {
    void operator()(Gdiplus::GpBrush* p) const { gp::GdipDeleteBrush(p); }
};
struct PenDeleter {
    void operator()(Gdiplus::GpPen* p) const { gp::GdipDeletePen(p); }
};
struct FontDeleter {
    void operator()(Gdiplus::GpFont* p) const { gp::GdipDeleteFont(p); }
};
struct FamilyDeleter {
    void operator()(Gdiplus::GpFontFamily* p) const { gp::GdipDeleteFontFamily(p); }
};
struct FormatDeleter {
    void operator()(Gdiplus::GpStringFormat* p) const { gp::GdipDeleteStringFormat(p); }
};
using BrushPtr = std::unique_ptr<Gdiplus::GpBrush, BrushDeleter>;
using PenPtr = std::unique_ptr<Gdiplus::GpPen, PenDeleter>;
using FontPtr = std::unique_ptr<Gdiplus::GpFont, FontDeleter>;
using FamilyPtr = std::unique_ptr<Gdiplus::GpFontFamily, FamilyDeleter>;
using FormatPtr = std::unique_ptr<Gdiplus::GpStringFormat, FormatDeleter>;

Gdiplus::GpImage* Native(Image& image) {
    auto* own = dynamic_cast<GdiplusImage*>(&image);
    return own && own->Width() > 0 ? own->Bitmap() : nullptr;
}

// The denominator a picture was decoded at; 1 for every other image.
int Denominator(Image& image) {
    auto* own = dynamic_cast<GdiplusImage*>(&image);
    return own ? own->Scale().denominator : 1;
}

Gdiplus::MatrixOrder ToGdiplus(MatrixOrder order) {
    return order == MatrixOrder::Append ? Gdiplus::MatrixOrderAppend : Gdiplus::MatrixOrderPrepend;
}

Gdiplus::StringAlignment ToGdiplus(TextAlign align) {
    switch (align) {
        case TextAlign::Center:
            return Gdiplus::StringAlignmentCenter;
        case TextAlign::Far:
            return Gdiplus::StringAlignmentFar;
        default:
            return Gdiplus::StringAlignmentNear;
    }
}

BrushPtr SolidBrush(uint32_t argb) {
    Gdiplus::GpSolidFill* brush = nullptr;
    if (gp::GdipCreateSolidFill(argb, &brush) != Ok) brush = nullptr;
    return BrushPtr(brush);
}

// The pixel format and size of a bitmap; false when GDI+ cannot tell them
// or the bitmap is empty.
bool BitmapLayout(Gdiplus::GpBitmap* bitmap, Gdiplus::PixelFormat& format, UINT& width,
                  UINT& height) {
    return bitmap != nullptr && gp::GdipGetImagePixelFormat(bitmap, &format) == Ok &&
           gp::GdipGetImageWidth(bitmap, &width) == Ok &&
           gp::GdipGetImageHeight(bitmap, &height) == Ok && width > 0 && height > 0 &&
           width <= 0x7FFFFFFF && height <= 0x7FFFFFFF;
}

}  // namespace

GdiplusSurface::GdiplusSurface(Gdiplus::GpGraphics* graphics, Gdiplus::GpBitmap* target)
    : graphics_(graphics), target_(target) {}

GdiplusSurface::~GdiplusSurface() {
    if (outsideTransparent_) gp::GdipDisposeImageAttributes(outsideTransparent_);
    if (graphics_) gp::GdipDeleteGraphics(graphics_);
}

// Clearing a whole bitmap in its own pixels: GDI+'s clear of a screen-sized
// canvas goes through a 32-bit copy of all of it (33 MB at 3840 x 2160).
bool GdiplusSurface::FillTarget(uint32_t argb) {
    Gdiplus::PixelFormat format = 0;
    UINT width = 0;
    UINT height = 0;
    if (!BitmapLayout(target_, format, width, height) ||
        (format != PixelFormat24bppRGB && format != PixelFormat32bppARGB))
        return false;
    gp::GdipFlush(graphics_, Gdiplus::FlushIntentionSync);
    const Gdiplus::GpRect all(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    Gdiplus::BitmapData data{};
    if (gp::GdipBitmapLockBits(target_, &all, Gdiplus::ImageLockModeWrite, format, &data) != Ok)
        return false;
    const uint8_t pixel[4] = {static_cast<uint8_t>(argb), static_cast<uint8_t>(argb >> 8),
                              static_cast<uint8_t>(argb >> 16), static_cast<uint8_t>(argb >> 24)};
    const std::size_t bytes = format == PixelFormat24bppRGB ? 3 : 4;
    auto* first = static_cast<uint8_t*>(data.Scan0);
    for (UINT x = 0; x < width; ++x) std::memcpy(first + x * bytes, pixel, bytes);
    for (UINT y = 1; y < height; ++y)
        std::memcpy(first + static_cast<std::ptrdiff_t>(y) * data.Stride, first, width * bytes);
    gp::GdipBitmapUnlockBits(target_, &data);
    return true;
}

void GdiplusSurface::Clear(uint32_t argb) {
    if (!FillTarget(argb)) gp::GdipGraphicsClear(graphics_, argb);
}

// The part of `dest` that lies on a bitmap of width x height (empty when
// none does).
static Gdiplus::GpRect PartOnBitmap(const RectI& dest, UINT width, UINT height) {
    const int64_t left = std::max<int64_t>(dest.x, 0);
    const int64_t top = std::max<int64_t>(dest.y, 0);
    const int64_t right = std::min<int64_t>(int64_t{dest.x} + dest.width, width);
    const int64_t bottom = std::min<int64_t>(int64_t{dest.y} + dest.height, height);
    if (left >= right || top >= bottom) return Gdiplus::GpRect(0, 0, 0, 0);
    return Gdiplus::GpRect(static_cast<INT>(left), static_cast<INT>(top),
                           static_cast<INT>(right - left), static_cast<INT>(bottom - top));
}

// An opaque 24-bit picture drawn at its own size onto a 24-bit bitmap is a
// copy of rows (the kept wallpaper of a collage): GDI+ would go through a
// 32-bit copy of all of it and blend pixel by pixel.
bool GdiplusSurface::CopyOnto(Image& image, const RectI& dest) {
    auto* own = dynamic_cast<GdiplusImage*>(&image);
    Gdiplus::PixelFormat sourceFormat = 0;
    Gdiplus::PixelFormat targetFormat = 0;
    UINT sourceWidth = 0;
    UINT sourceHeight = 0;
    UINT targetWidth = 0;
    UINT targetHeight = 0;
    if (transformed_ || !own || own->Scale().denominator != 1 ||
        !BitmapLayout(own->Bitmap(), sourceFormat, sourceWidth, sourceHeight) ||
        !BitmapLayout(target_, targetFormat, targetWidth, targetHeight) ||
        sourceFormat != PixelFormat24bppRGB || targetFormat != PixelFormat24bppRGB ||
        dest.width != static_cast<int32_t>(sourceWidth) ||
        dest.height != static_cast<int32_t>(sourceHeight))
        return false;
    const Gdiplus::GpRect to = PartOnBitmap(dest, targetWidth, targetHeight);
    if (to.Width <= 0 || to.Height <= 0) return true;
    const INT width = to.Width;
    const INT height = to.Height;
    gp::GdipFlush(graphics_, Gdiplus::FlushIntentionSync);
    const Gdiplus::GpRect from(to.X - dest.x, to.Y - dest.y, width, height);
    Gdiplus::BitmapData source{};
    Gdiplus::BitmapData target{};
    if (gp::GdipBitmapLockBits(own->Bitmap(), &from, Gdiplus::ImageLockModeRead,
                               PixelFormat24bppRGB, &source) != Ok)
        return false;
    if (gp::GdipBitmapLockBits(target_, &to, Gdiplus::ImageLockModeWrite, PixelFormat24bppRGB,
                               &target) != Ok) {
        gp::GdipBitmapUnlockBits(own->Bitmap(), &source);
        return false;
    }
    for (INT y = 0; y < height; ++y)
        std::memcpy(
            static_cast<uint8_t*>(target.Scan0) + static_cast<std::ptrdiff_t>(y) * target.Stride,
            static_cast<const uint8_t*>(source.Scan0) +
                static_cast<std::ptrdiff_t>(y) * source.Stride,
            static_cast<std::size_t>(width) * 3);
    gp::GdipBitmapUnlockBits(target_, &target);
    gp::GdipBitmapUnlockBits(own->Bitmap(), &source);
    return true;
}

// An opaque picture drawn whole onto a 24-bit bitmap without a transform
// is resampled by the program straight into the bitmap's rows: GDI+ would
// go through a 32-bit copy of the picture and blend every pixel of it.
bool GdiplusSurface::ResampleOnto(Image& image, const RectI& dest, const RectI& source) {
    auto* own = dynamic_cast<GdiplusImage*>(&image);
    Gdiplus::PixelFormat sourceFormat = 0;
    Gdiplus::PixelFormat targetFormat = 0;
    UINT sourceWidth = 0;
    UINT sourceHeight = 0;
    UINT targetWidth = 0;
    UINT targetHeight = 0;
    if (transformed_ || !own || !(source == RectI{0, 0, own->Width(), own->Height()}) ||
        !BitmapLayout(own->Bitmap(), sourceFormat, sourceWidth, sourceHeight) ||
        !BitmapLayout(target_, targetFormat, targetWidth, targetHeight) ||
        (sourceFormat != PixelFormat24bppRGB && sourceFormat != PixelFormat32bppRGB) ||
        targetFormat != PixelFormat24bppRGB)
        return false;
    const Gdiplus::GpRect to = PartOnBitmap(dest, targetWidth, targetHeight);
    if (to.Width <= 0 || to.Height <= 0) return true;
    gp::GdipFlush(graphics_, Gdiplus::FlushIntentionSync);
    const Gdiplus::GpRect all(0, 0, static_cast<INT>(sourceWidth), static_cast<INT>(sourceHeight));
    Gdiplus::BitmapData from{};
    Gdiplus::BitmapData into{};
    if (gp::GdipBitmapLockBits(own->Bitmap(), &all, Gdiplus::ImageLockModeRead, PixelFormat24bppRGB,
                               &from) != Ok)
        return false;
    if (gp::GdipBitmapLockBits(target_, &to, Gdiplus::ImageLockModeWrite, PixelFormat24bppRGB,
                               &into) != Ok) {
        gp::GdipBitmapUnlockBits(own->Bitmap(), &from);
        return false;
    }
    const RectF extent = own->Scale().ToPixels(source);
    const SourceRows rows{static_cast<const uint8_t*>(from.Scan0),
                          from.Stride,
                          static_cast<int32_t>(sourceWidth),
                          static_cast<int32_t>(sourceHeight),
                          3,
                          extent.width,
                          extent.height};
    const TargetRows target{static_cast<uint8_t*>(into.Scan0),
                            into.Stride,
                            dest.width,
                            dest.height,
                            to.X - dest.x,
                            to.Y - dest.y,
                            to.Width,
                            to.Height};
    const bool done = ResampleBicubic(rows, target);
    gp::GdipBitmapUnlockBits(target_, &into);
    gp::GdipBitmapUnlockBits(own->Bitmap(), &from);
    return done;
}

void GdiplusSurface::DrawImage(Image& image, const RectI& dest) {
    Gdiplus::GpImage* native = Native(image);
    if (!native || dest.width <= 0 || dest.height <= 0) return;
    if (CopyOnto(image, dest)) return;
    gp::GdipDrawImageRectI(graphics_, native, dest.x, dest.y, dest.width, dest.height);
}

void GdiplusSurface::DrawImage(Image& image, const RectF& dest) {
    Gdiplus::GpImage* native = Native(image);
    if (!native || !(dest.width > 0) || !(dest.height > 0)) return;
    gp::GdipDrawImageRect(graphics_, native, dest.x, dest.y, dest.width, dest.height);
}

// Source rectangles may reach past the picture (the effects draw from
// (-2, -2, w + 2, h + 2)); GDI+ then samples with the image attributes'
// wrap mode, which here makes everything outside the picture transparent.
Gdiplus::GpImageAttributes* GdiplusSurface::OutsideTransparent() {
    if (!outsideTransparent_ &&
        (gp::GdipCreateImageAttributes(&outsideTransparent_) != Ok ||
         gp::GdipSetImageAttributesWrapMode(outsideTransparent_, Gdiplus::WrapModeClamp, 0x00000000,
                                            FALSE) != Ok)) {
        if (outsideTransparent_) gp::GdipDisposeImageAttributes(outsideTransparent_);
        outsideTransparent_ = nullptr;
    }
    return outsideTransparent_;
}

void GdiplusSurface::DrawImage(Image& image, const RectI& dest, const RectI& source) {
    Gdiplus::GpImage* native = Native(image);
    if (!native || dest.width <= 0 || dest.height <= 0 || source.width <= 0 || source.height <= 0)
        return;
    if (ResampleOnto(image, dest, source)) return;
    if (Denominator(image) > 1) {
        // A picture decoded smaller: the source, in its full size's pixels,
        // falls between the bitmap's pixels.
        DrawImage(image,
                  RectF{static_cast<float>(dest.x), static_cast<float>(dest.y),
                        static_cast<float>(dest.width), static_cast<float>(dest.height)},
                  RectF{static_cast<float>(source.x), static_cast<float>(source.y),
                        static_cast<float>(source.width), static_cast<float>(source.height)});
        return;
    }
    gp::GdipDrawImageRectRectI(graphics_, native, dest.x, dest.y, dest.width, dest.height, source.x,
                               source.y, source.width, source.height, Gdiplus::UnitPixel,
                               OutsideTransparent(), nullptr, nullptr);
}

void GdiplusSurface::DrawImage(Image& image, const RectF& dest, const RectF& source) {
    Gdiplus::GpImage* native = Native(image);
    if (!native || !(dest.width > 0) || !(dest.height > 0) || !(source.width > 0) ||
        !(source.height > 0))
        return;
    auto* own = dynamic_cast<GdiplusImage*>(&image);
    const RectF pixels = own ? own->Scale().ToPixels(source) : source;
    gp::GdipDrawImageRectRect(graphics_, native, dest.x, dest.y, dest.width, dest.height, pixels.x,
                              pixels.y, pixels.width, pixels.height, Gdiplus::UnitPixel,
                              OutsideTransparent(), nullptr, nullptr);
}

Interpolation GdiplusSurface::GetInterpolation() const {
    Gdiplus::InterpolationMode mode = Gdiplus::InterpolationModeDefault;
    if (gp::GdipGetInterpolationMode(graphics_, &mode) == Ok &&
        mode == Gdiplus::InterpolationModeHighQualityBicubic)
        return Interpolation::HighQualityBicubic;
    return Interpolation::Default;
}

void GdiplusSurface::SetInterpolation(Interpolation mode) {
    gp::GdipSetInterpolationMode(graphics_, mode == Interpolation::HighQualityBicubic
                                                ? Gdiplus::InterpolationModeHighQualityBicubic
                                                : Gdiplus::InterpolationModeDefault);
}

void GdiplusSurface::RotateTransform(float degrees, MatrixOrder order) {
    transformed_ = true;
    gp::GdipRotateWorldTransform(graphics_, degrees, ToGdiplus(order));
}

void GdiplusSurface::TranslateTransform(float dx, float dy, MatrixOrder order) {
    transformed_ = true;
    gp::GdipTranslateWorldTransform(graphics_, dx, dy, ToGdiplus(order));
}

void GdiplusSurface::FillRect(const RectI& rect, uint32_t argb) {
    if (rect.width <= 0 || rect.height <= 0) return;
    if (BrushPtr brush = SolidBrush(argb))
        gp::GdipFillRectangleI(graphics_, brush.get(), rect.x, rect.y, rect.width, rect.height);
}

void GdiplusSurface::FillGradient(const RectI& rect, uint32_t fromArgb, uint32_t toArgb,
                                  float angle) {
    if (rect.width <= 0 || rect.height <= 0) return;
    // The integer variant of this call ignores the angle under Wine (it
    // always makes a diagonal gradient); the float one behaves everywhere.
    const Gdiplus::GpRectF area(static_cast<float>(rect.x), static_cast<float>(rect.y),
                                static_cast<float>(rect.width), static_cast<float>(rect.height));
    Gdiplus::GpLineGradient* gradient = nullptr;
    // Flipped tiling: a pixel whose centre falls just outside the gradient's
    // span takes the nearer end colour instead of wrapping to the far one.
    if (gp::GdipCreateLineBrushFromRectWithAngle(&area, fromArgb, toArgb, angle, FALSE,
                                                 Gdiplus::WrapModeTileFlipXY, &gradient) != Ok ||
        !gradient)
        return;
    BrushPtr brush(gradient);
    gp::GdipFillRectangleI(graphics_, brush.get(), rect.x, rect.y, rect.width, rect.height);
}

void GdiplusSurface::DrawRectOutline(const RectI& rect, uint32_t argb) {
    Gdiplus::GpPen* pen = nullptr;
    if (gp::GdipCreatePen1(argb, 1.0f, Gdiplus::UnitWorld, &pen) != Ok || !pen) return;
    PenPtr owned(pen);
    gp::GdipDrawRectangleI(graphics_, pen, rect.x, rect.y, rect.width, rect.height);
}

void GdiplusSurface::DrawString(const std::string& text, const FontSpec& font, const RectF& layout,
                                uint32_t argb, TextAlign horizontal, TextAlign vertical) {
    if (text.empty() || !(font.pixelSize > 0)) return;
    const std::wstring wide = Wide(text);
    FamilyPtr family(CreateFontFamilyFor(font.family, wide));
    if (!family) return;
    const int style = font.style & (kFontBold | kFontItalic);
    Gdiplus::GpFont* rawFont = nullptr;
    if (gp::GdipCreateFont(family.get(), font.pixelSize, style, Gdiplus::UnitPixel, &rawFont) !=
            Ok ||
        !rawFont)
        return;
    FontPtr gpFont(rawFont);
    Gdiplus::GpStringFormat* rawFormat = nullptr;
    if (gp::GdipCreateStringFormat(0, LANG_NEUTRAL, &rawFormat) != Ok || !rawFormat) return;
    FormatPtr format(rawFormat);
    gp::GdipSetStringFormatAlign(rawFormat, ToGdiplus(horizontal));
    gp::GdipSetStringFormatLineAlign(rawFormat, ToGdiplus(vertical));
    BrushPtr brush = SolidBrush(argb);
    if (!brush) return;
    const Gdiplus::RectF box(layout.x, layout.y, layout.width, layout.height);
    gp::GdipDrawString(graphics_, wide.c_str(), static_cast<INT>(wide.size()), rawFont, &box,
                       rawFormat, brush.get());
}

}  // namespace corv
