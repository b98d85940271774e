// The imaging interface: everything the composition asks of a picture
// library. The program's implementation wraps GDI+ (imaging_gdiplus_win);
// tests use a recording double (tests/support/recording_imaging.h).
//
// Paths, font names and drawn texts are UTF-8; the implementation converts
// them to UTF-16 at its edge.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace corv {

struct RectI {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};

struct RectF {
    float x = 0;
    float y = 0;
    float width = 0;
    float height = 0;
};

inline bool operator==(const RectI& a, const RectI& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

enum class PixelFormat { Rgb24, Argb32 };
enum class Interpolation { Default, HighQualityBicubic };
enum class MatrixOrder { Prepend, Append };
enum class TextAlign { Near, Center, Far };

// Font style bits, as the settings combine them.
enum FontStyleBits : int { kFontRegular = 0, kFontBold = 1, kFontItalic = 2 };

struct FontSpec {
    std::string family;  // a family that is not installed falls back to sans-serif
    float pixelSize = 10;
    int style = kFontRegular;
};

// The most a picture will be drawn at, so that a loader may decode it
// smaller (a JPEG at 1/2, 1/4 or 1/8) while keeping at least as many pixels
// as are drawn. A width or height of 0 asks for the whole picture.
struct NeededSize {
    int32_t width = 0;
    int32_t height = 0;
    // false: drawn with its own proportions inside width x height (the
    // picture limit or slot, a background fitted to the screen); true:
    // stretched over all of it.
    bool stretched = false;
};

// A decoded picture, or a bitmap made in memory.
class Image {
public:
    virtual ~Image() = default;
    // The picture's full size, also when it was decoded smaller (drawing
    // maps the smaller bitmap onto it). 0 for a file that could not be
    // decoded.
    virtual int32_t Width() const = 0;
    virtual int32_t Height() const = 0;
    virtual int BitsPerPixel() const = 0;
    // How the stored rows must be turned to stand as taken (the EXIF
    // orientation, 1 to 8; 1 when the file says nothing).
    virtual int Orientation() const { return 1; }
};

// Rows of a locked bitmap. 24-bit pixels are bytes B, G, R; 32-bit pixels
// B, G, R, A (straight alpha). Rows are `stride` bytes apart.
struct PixelBuffer {
    uint8_t* scan0 = nullptr;
    int32_t stride = 0;
    int32_t width = 0;
    int32_t height = 0;
    PixelFormat format = PixelFormat::Rgb24;
    void* token = nullptr;  // the implementation's own
};

// A drawing surface on a bitmap. Colours are 0xAARRGGBB.
class Surface {
public:
    virtual ~Surface() = default;
    virtual void Clear(uint32_t argb) = 0;

    // Draw scaled into `dest`; with `source`, from that part of the image
    // (in pixels; a part outside the image counts as transparent).
    virtual void DrawImage(Image& image, const RectI& dest) = 0;
    virtual void DrawImage(Image& image, const RectF& dest) = 0;
    virtual void DrawImage(Image& image, const RectI& dest, const RectI& source) = 0;
    virtual void DrawImage(Image& image, const RectF& dest, const RectF& source) = 0;

    virtual Interpolation GetInterpolation() const = 0;
    virtual void SetInterpolation(Interpolation mode) = 0;
    // Rotation in degrees about the origin.
    virtual void RotateTransform(float degrees, MatrixOrder order) = 0;
    virtual void TranslateTransform(float dx, float dy, MatrixOrder order) = 0;

    virtual void FillRect(const RectI& rect, uint32_t argb) = 0;
    // Linear gradient over `rect` at `angle` degrees (0: left to right).
    virtual void FillGradient(const RectI& rect, uint32_t fromArgb, uint32_t toArgb,
                              float angle) = 0;
    // One-pixel outline.
    virtual void DrawRectOutline(const RectI& rect, uint32_t argb) = 0;
    // One line of text in the layout rectangle with the given alignments.
    virtual void DrawString(const std::string& text, const FontSpec& font, const RectF& layout,
                            uint32_t argb, TextAlign horizontal, TextAlign vertical) = 0;
};

class Imaging {
public:
    virtual ~Imaging() = default;
    // Never null: a file that cannot be decoded gives an image of width 0.
    // With a need, the picture may be decoded smaller than it is (its
    // Width() and Height() stay the full size); such a picture is for
    // drawing only, not for LockBits or SaveImage.
    virtual std::unique_ptr<Image> LoadPicture(const std::string& path, const NeededSize& need) = 0;
    // The whole picture, every pixel of it.
    std::unique_ptr<Image> LoadPicture(const std::string& path) {
        return LoadPicture(path, NeededSize{});
    }
    // A new bitmap; a 32-bit one starts fully transparent. Never null (width
    // 0 when it could not be made).
    virtual std::unique_ptr<Image> NewBitmap(int32_t width, int32_t height, PixelFormat format) = 0;
    // A drawing surface on `bitmap`; null when none can be made.
    virtual std::unique_ptr<Surface> SurfaceOn(Image& bitmap) = 0;
    // Locks `rect` of `bitmap` in `format`; false when it cannot.
    virtual bool LockBits(Image& bitmap, const RectI& rect, PixelFormat format, bool forWriting,
                          PixelBuffer& out) = 0;
    virtual void UnlockBits(Image& bitmap, PixelBuffer& buffer) = 0;
    // Turns or mirrors `picture` in place as `orientation` (1 to 8) says;
    // its width and height change places for 5 to 8, and its own
    // orientation is 1 afterwards. False when it could not be done.
    virtual bool Orient(Image& picture, int orientation) = 0;
    // Saves with the first encoder whose MIME type is exactly `mimeType`
    // ("image/bmp"). False when there is none or the write fails.
    virtual bool SaveImage(Image& image, const std::string& path, const std::string& mimeType) = 0;
};

// Locks a bitmap for the lifetime of the object.
class ScopedBits {
public:
    ScopedBits(Imaging& imaging, Image& bitmap, const RectI& rect, PixelFormat format,
               bool forWriting)
        : imaging_(imaging), bitmap_(bitmap) {
        locked_ = imaging_.LockBits(bitmap_, rect, format, forWriting, buffer_);
    }
    ~ScopedBits() {
        if (locked_) imaging_.UnlockBits(bitmap_, buffer_);
    }
    ScopedBits(const ScopedBits&) = delete;
    ScopedBits& operator=(const ScopedBits&) = delete;

    bool Locked() const { return locked_; }
    const PixelBuffer& Buffer() const { return buffer_; }

private:
    Imaging& imaging_;
    Image& bitmap_;
    PixelBuffer buffer_;
    bool locked_ = false;
};

}  // namespace corv
