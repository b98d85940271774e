// An opaque picture drawn whole onto the 24-bit canvas goes through the
// program's own resampling; its pixels stay within a small tolerance of
// GDI+'s own high-quality bicubic draw of the same picture, reduced and
// enlarged, and a picture that hangs over the canvas edge is cut there.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "compose/imaging_gdiplus_win.h"
#include "support/gdiplus_test_win.h"

namespace {

namespace gp = Gdiplus::DllExports;
using corv::PixelFormat;
using corv::RectI;

class ResamplePixelsTest : public corvtest::GdiplusTest {
protected:
    // Smooth waves in each channel, `stretch` times longer for a larger
    // reduction: fine enough to show a misplaced pixel, smooth enough that
    // two good filters agree (Wine's GDI+ samples without averaging).
    std::unique_ptr<corv::Image> Waves(int32_t w, int32_t h, double stretch = 1) {
        auto bitmap = imaging.NewBitmap(w, h, PixelFormat::Rgb24);
        corv::ScopedBits bits(imaging, *bitmap, RectI{0, 0, w, h}, PixelFormat::Rgb24, true);
        EXPECT_TRUE(bits.Locked());
        if (!bits.Locked()) return bitmap;
        for (int32_t y = 0; y < h; ++y) {
            uint8_t* row = bits.Buffer().scan0 + y * bits.Buffer().stride;
            for (int32_t x = 0; x < w; ++x) {
                const double u = x / stretch;
                const double v = y / stretch;
                row[3 * x] = static_cast<uint8_t>(128 + 100 * std::sin(u / 13.0 + v / 21.0));
                row[3 * x + 1] = static_cast<uint8_t>(128 + 100 * std::cos(u / 19.0 - v / 11.0));
                row[3 * x + 2] = static_cast<uint8_t>(x * 255 / w);
            }
        }
        return bitmap;
    }

    // GDI+'s own draw, high-quality bicubic, pixel centres at half pixels and
    // the edges mirrored, so that only the filters differ.
    void DrawWithGdiplus(corv::Image& canvas, corv::Image& picture, const RectI& dest) {
        auto surface = imaging.SurfaceOn(canvas);
        auto* own = dynamic_cast<corv::GdiplusSurface*>(surface.get());
        auto* source = dynamic_cast<corv::GdiplusImage*>(&picture);
        ASSERT_TRUE(own && source);
        Gdiplus::GpImageAttributes* attributes = nullptr;
        gp::GdipCreateImageAttributes(&attributes);
        gp::GdipSetImageAttributesWrapMode(attributes, Gdiplus::WrapModeTileFlipXY, 0, FALSE);
        gp::GdipSetInterpolationMode(own->Graphics(), Gdiplus::InterpolationModeHighQualityBicubic);
        gp::GdipSetPixelOffsetMode(own->Graphics(), Gdiplus::PixelOffsetModeHalf);
        gp::GdipDrawImageRectRectI(own->Graphics(), source->Bitmap(), dest.x, dest.y, dest.width,
                                   dest.height, 0, 0, picture.Width(), picture.Height(),
                                   Gdiplus::UnitPixel, attributes, nullptr, nullptr);
        gp::GdipDisposeImageAttributes(attributes);
    }

    // The largest difference of a channel inside `rect`, leaving out a
    // border of `inset` pixels where edge rules differ.
    int WorstDifference(corv::Image& a, corv::Image& b, const RectI& rect, int32_t inset) {
        int worst = 0;
        for (int32_t y = rect.y + inset; y < rect.y + rect.height - inset; ++y)
            for (int32_t x = rect.x + inset; x < rect.x + rect.width - inset; ++x) {
                const corvtest::Rgb p = At(a, x, y);
                const corvtest::Rgb q = At(b, x, y);
                worst = std::max(
                    {worst, std::abs(p.r - q.r), std::abs(p.g - q.g), std::abs(p.b - q.b)});
            }
        return worst;
    }
};

TEST_F(ResamplePixelsTest, OwnResamplingStaysCloseToGdiplusHighQualityBicubic) {
    struct Case {
        const char* name;
        int32_t sw, sh;
        double stretch;
        RectI dest;
    };
    const Case cases[] = {
        {"reduced 2.5 times", 300, 200, 1, RectI{10, 8, 120, 80}},
        {"reduced 6 times", 600, 420, 4, RectI{3, 4, 100, 70}},
        {"enlarged", 60, 40, 1, RectI{5, 5, 150, 100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto picture = Waves(c.sw, c.sh, c.stretch);
        auto ours = Solid(170, 120, 0xFF102030);
        auto theirs = Solid(170, 120, 0xFF102030);
        {
            auto surface = imaging.SurfaceOn(*ours);
            ASSERT_TRUE(surface);
            surface->DrawImage(*picture, c.dest, RectI{0, 0, c.sw, c.sh});
        }
        DrawWithGdiplus(*theirs, *picture, c.dest);
        const int worst = WorstDifference(*ours, *theirs, c.dest, 3);
        EXPECT_LE(worst, 12);
        std::printf("%s: largest difference %d\n", c.name, worst);
        // Nothing outside the picture's rectangle is touched.
        EXPECT_TRUE(
            corvtest::IsNear(At(*ours, c.dest.x - 1, c.dest.y + 10), {0x10, 0x20, 0x30}, 0));
        EXPECT_TRUE(corvtest::IsNear(At(*ours, c.dest.x + c.dest.width, c.dest.y + 10),
                                     {0x10, 0x20, 0x30}, 0));
    }
}

TEST_F(ResamplePixelsTest, PictureOverTheCanvasEdgeIsCutThere) {
    auto picture = Waves(200, 100);
    auto whole = Solid(300, 200, 0xFF000000);
    auto cut = Solid(80, 60, 0xFF000000);
    {
        auto surface = imaging.SurfaceOn(*whole);
        surface->DrawImage(*picture, RectI{100, 50, 100, 50}, RectI{0, 0, 200, 100});
    }
    {
        // The same picture with its top-left corner off the canvas.
        auto surface = imaging.SurfaceOn(*cut);
        surface->DrawImage(*picture, RectI{-20, -10, 100, 50}, RectI{0, 0, 200, 100});
    }
    for (int32_t y = 0; y < 40; y += 3)
        for (int32_t x = 0; x < 80; x += 3) {
            ASSERT_TRUE(corvtest::IsNear(At(*cut, x, y), At(*whole, 120 + x, 60 + y), 0))
                << x << "," << y;
        }
    EXPECT_TRUE(corvtest::IsNear(At(*cut, 79, 45), {0, 0, 0}, 0));
}

}  // namespace
