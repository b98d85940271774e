// The GDI+ imaging layer with real pixels: fills, text, blending, saving,
// pixel access, transforms and the loader's answers to bad files.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/text_win.h"
#include "compose/imaging_gdiplus_win.h"
#include "engine/file_io.h"
#include "support/gdiplus_test_win.h"
#include "support/picture_bytes.h"
#include "unit/test_util.h"

namespace {

using corv::Image;
using corv::PixelFormat;
using corv::RectF;
using corv::RectI;
using corvtest::ReadFile;
using corvtest::TempDir;
using corvtest::WriteFile;

using corvtest::IsNear;
using corvtest::Near;
using corvtest::Rgb;

class ImagingTest : public corvtest::GdiplusTest {
protected:
    // Pixels of `rect` that differ from `background` by more than `tolerance`.
    int CountDiffering(Image& image, const RectI& rect, const Rgb& background, int tolerance) {
        return Count(image, rect, [&](const Rgb& px) { return !Near(px, background, tolerance); });
    }

    // Saves `image` in the given format and returns the file's bytes.
    std::string Encoded(Image& image, const TempDir& dir, const std::string& mime) {
        const std::string path = dir.File("encoded.tmp");
        EXPECT_TRUE(imaging.SaveImage(image, path, mime)) << mime;
        return ReadFile(path);
    }
};

TEST_F(ImagingTest, OutlineCoversItsEdgesOnePixelWide) {
    auto canvas = Solid(20, 20, 0xFF000000);
    imaging.SurfaceOn(*canvas)->DrawRectOutline(RectI{7, 7, 5, 5}, 0xFFFFFFFF);
    // GDI+ puts the right and bottom edges at x + width and y + height.
    for (int i = 7; i <= 12; ++i) {
        EXPECT_TRUE(IsNear(At(*canvas, i, 7), {255, 255, 255}, 0)) << i;
        EXPECT_TRUE(IsNear(At(*canvas, 12, i), {255, 255, 255}, 0)) << i;
        EXPECT_TRUE(IsNear(At(*canvas, 7, i), {255, 255, 255}, 0)) << i;
    }
    EXPECT_TRUE(IsNear(At(*canvas, 9, 9), {0, 0, 0}, 0));
    EXPECT_TRUE(IsNear(At(*canvas, 6, 9), {0, 0, 0}, 0));
    EXPECT_TRUE(IsNear(At(*canvas, 13, 9), {0, 0, 0}, 0));
}

TEST_F(ImagingTest, GradientRunsFromFirstColourToLast) {
    auto canvas = Solid(200, 40, 0xFFFFFFFF);
    auto surface = imaging.SurfaceOn(*canvas);
    surface->FillGradient(RectI{0, 0, 200, 20}, 0xFFFF0000, 0xFF0000FF, 0);
    EXPECT_TRUE(IsNear(At(*canvas, 0, 10), {255, 0, 0}, 12));
    EXPECT_TRUE(IsNear(At(*canvas, 199, 10), {0, 0, 255}, 12));
    EXPECT_TRUE(IsNear(At(*canvas, 100, 10), {128, 0, 128}, 16));
    // Outside the rectangle nothing changes.
    EXPECT_TRUE(IsNear(At(*canvas, 100, 25), {255, 255, 255}, 0));

    // The caption bar: transparent black to black with alpha 220 over white.
    surface->FillGradient(RectI{0, 20, 200, 20}, 0x00000000, 0xDC000000, 0);
    EXPECT_TRUE(IsNear(At(*canvas, 0, 30), {255, 255, 255}, 6));
    EXPECT_TRUE(IsNear(At(*canvas, 199, 30), {35, 35, 35}, 6));
}

TEST_F(ImagingTest, TextFromMissingFamilyFallsBackToSansSerif) {
    const Rgb black{0, 0, 0};
    constexpr int kWidth = 400;
    for (const char* family : {"Georgia", "No Such Family Corv", ""}) {
        auto canvas = Solid(kWidth, 40, 0xFF000000);
        auto surface = imaging.SurfaceOn(*canvas);
        corv::FontSpec font{family, 20, corv::kFontBold};
        surface->DrawString("Corvalendrine 2007. 5.", font, RectF{0, 0, kWidth, 40}, 0xFFFFFFFF,
                            corv::TextAlign::Far, corv::TextAlign::Center);
        // A family that cannot be made would draw nothing at all.
        EXPECT_GT(CountDiffering(*canvas, RectI{0, 0, kWidth, 40}, black, 60), 300) << family;
        // Right-aligned, whatever face the fall-back finds (their widths
        // differ): the ink ends at the right edge, and the free room is left.
        int first = kWidth, last = -1;
        for (int x = 0; x < kWidth; ++x) {
            if (CountDiffering(*canvas, RectI{x, 0, 1, 40}, black, 60) == 0) continue;
            first = std::min(first, x);
            last = x;
        }
        ASSERT_GE(last, 0) << family;
        EXPECT_GE(last, kWidth - 8) << family;
        EXPECT_GT(first, (kWidth - 1 - last) + 40) << family;
    }
}

TEST_F(ImagingTest, KoreanTextFromMissingFamilyShowsRealGlyphs) {
    ASSERT_EQ(GetACP(), 949u);
    // Two different syllables must not come out as the same box.
    std::string seen[2];
    const wchar_t* syllables[2] = {L"\uAC00", L"\uB098"};  // 가, 나
    for (int i = 0; i < 2; ++i) {
        auto canvas = Solid(40, 40, 0xFF000000);
        auto surface = imaging.SurfaceOn(*canvas);
        surface->DrawString(corv::Utf8(syllables[i]), corv::FontSpec{"Tahoma-Missing", 30, 0},
                            RectF{0, 0, 40, 40}, 0xFFFFFFFF, corv::TextAlign::Center,
                            corv::TextAlign::Center);
        EXPECT_GT(CountDiffering(*canvas, RectI{0, 0, 40, 40}, {0, 0, 0}, 60), 20);
        corv::ScopedBits bits(imaging, *canvas, RectI{0, 0, 40, 40}, PixelFormat::Rgb24, false);
        ASSERT_TRUE(bits.Locked());
        for (int y = 0; y < 40; ++y)
            seen[i].append(
                reinterpret_cast<const char*>(bits.Buffer().scan0) + y * bits.Buffer().stride,
                40 * 3);
    }
    EXPECT_TRUE(seen[0] != seen[1]) << "both syllables drew the same shape (missing glyphs)";
}

TEST_F(ImagingTest, PartlyTransparentLayerBlendsOntoCanvas) {
    auto layer = imaging.NewBitmap(20, 10, PixelFormat::Argb32);
    ASSERT_EQ(layer->Width(), 20);
    EXPECT_EQ(layer->BitsPerPixel(), 32);
    EXPECT_EQ(Argb(*layer, 13, 7), 0x00000000u);  // a new layer is fully transparent
    auto layerSurface = imaging.SurfaceOn(*layer);
    layerSurface->FillRect(RectI{0, 0, 10, 10}, 0x80FF0000);  // red, alpha 128
    layerSurface->FillRect(RectI{10, 0, 5, 10}, 0xFF00FF00);  // opaque green

    auto canvas = Solid(40, 20, 0xFF0000FF);
    EXPECT_EQ(canvas->BitsPerPixel(), 24);
    imaging.SurfaceOn(*canvas)->DrawImage(*layer, RectI{5, 5, 20, 10});
    EXPECT_TRUE(IsNear(At(*canvas, 9, 9), {128, 0, 127}, 3));
    EXPECT_TRUE(IsNear(At(*canvas, 17, 9), {0, 255, 0}, 0));
    EXPECT_TRUE(IsNear(At(*canvas, 22, 9), {0, 0, 255}, 0));  // transparent part
    EXPECT_TRUE(IsNear(At(*canvas, 2, 2), {0, 0, 255}, 0));   // outside the layer

    // Scaled into a float rectangle: twice the size.
    auto scaled = Solid(40, 20, 0xFF0000FF);
    imaging.SurfaceOn(*scaled)->DrawImage(*layer, RectF{0, 0, 40, 20});
    EXPECT_TRUE(IsNear(At(*scaled, 10, 10), {128, 0, 127}, 3));
    EXPECT_TRUE(IsNear(At(*scaled, 25, 10), {0, 255, 0}, 0));
    EXPECT_TRUE(IsNear(At(*scaled, 35, 10), {0, 0, 255}, 0));
}

TEST_F(ImagingTest, SavedBmpReadsBackPixelForPixel) {
    TempDir dir;
    const std::string path = dir.File("Corvalendrine.bmp");
    // An odd width, so that rows carry padding.
    auto canvas = imaging.NewBitmap(37, 23, PixelFormat::Rgb24);
    {
        corv::ScopedBits bits(imaging, *canvas, RectI{0, 0, 37, 23}, PixelFormat::Rgb24, true);
        ASSERT_TRUE(bits.Locked());
        for (int y = 0; y < 23; ++y)
            for (int x = 0; x < 37; ++x) {
                uint8_t* p = bits.Buffer().scan0 + y * bits.Buffer().stride + 3 * x;
                p[0] = static_cast<uint8_t>(x * 7);
                p[1] = static_cast<uint8_t>(y * 11);
                p[2] = static_cast<uint8_t>(x * y);
            }
    }
    ASSERT_TRUE(imaging.SaveImage(*canvas, path, "image/bmp"));
    const std::string file = ReadFile(path);
    ASSERT_GT(file.size(), 54u);
    EXPECT_EQ(file.substr(0, 2), "BM");
    EXPECT_EQ(static_cast<uint8_t>(file[28]), 24);  // bits per pixel in the info header
    // Rows of 37 * 3 bytes padded to 112, the last row first, padding zero.
    ASSERT_EQ(file.size(), 54u + 112u * 23u);
    EXPECT_EQ(static_cast<uint8_t>(file[54 + 3 * 5 + 1]), 22 * 11);  // green of (5, 22)
    EXPECT_EQ(file.substr(54 + 111, 1), std::string(1, '\0'));

    auto loaded = imaging.LoadPicture(path);
    ASSERT_EQ(loaded->Width(), 37);
    ASSERT_EQ(loaded->Height(), 23);
    EXPECT_EQ(loaded->BitsPerPixel(), 24);
    corv::ScopedBits a(imaging, *canvas, RectI{0, 0, 37, 23}, PixelFormat::Rgb24, false);
    corv::ScopedBits b(imaging, *loaded, RectI{0, 0, 37, 23}, PixelFormat::Rgb24, false);
    ASSERT_TRUE(a.Locked() && b.Locked());
    int differing = 0;
    for (int y = 0; y < 23; ++y)
        differing += std::memcmp(a.Buffer().scan0 + y * a.Buffer().stride,
                                 b.Buffer().scan0 + y * b.Buffer().stride, 37 * 3) != 0;
    EXPECT_EQ(differing, 0);
}

TEST_F(ImagingTest, LoadedPictureDoesNotHoldItsFile) {
    TempDir dir;
    const std::string path = dir.File("wall.bmp");
    auto red = Solid(8, 8, 0xFFFF0000);
    ASSERT_TRUE(imaging.SaveImage(*red, path, "image/bmp"));
    auto loaded = imaging.LoadPicture(path);
    ASSERT_EQ(loaded->Width(), 8);
    // The collage reads the wallpaper file and the same change rewrites it.
    auto blue = Solid(8, 8, 0xFF0000FF);
    EXPECT_TRUE(imaging.SaveImage(*blue, path, "image/bmp"));
    EXPECT_TRUE(IsNear(At(*loaded, 4, 4), {255, 0, 0}, 0));
    EXPECT_TRUE(IsNear(At(*imaging.LoadPicture(path), 4, 4), {0, 0, 255}, 0));
    loaded.reset();
    EXPECT_TRUE(DeleteFileA(path.c_str()));
}

TEST_F(ImagingTest, SaveFailuresLeaveWhatWasThere) {
    TempDir dir;
    auto canvas = Solid(4, 4, 0xFF102030);
    // No such encoder, a folder in the way, a read-only file, a missing folder.
    EXPECT_FALSE(imaging.SaveImage(*canvas, dir.File("a.bmp"), "image/none"));
    EXPECT_EQ(GetFileAttributesA(dir.File("a.bmp").c_str()), INVALID_FILE_ATTRIBUTES);
    ASSERT_TRUE(CreateDirectoryA(dir.File("folder.bmp").c_str(), nullptr));
    EXPECT_FALSE(imaging.SaveImage(*canvas, dir.File("folder.bmp"), "image/bmp"));
    WriteFile(dir.File("locked.bmp"), "old");
    corvtest::MakeReadOnly(dir.File("locked.bmp"));
    EXPECT_FALSE(imaging.SaveImage(*canvas, dir.File("locked.bmp"), "image/bmp"));
    EXPECT_EQ(ReadFile(dir.File("locked.bmp")), "old");
    EXPECT_FALSE(imaging.SaveImage(*canvas, dir.File("none\\x.bmp"), "image/bmp"));
    corv::GdiplusImage empty;
    EXPECT_FALSE(imaging.SaveImage(empty, dir.File("empty.bmp"), "image/bmp"));
}

TEST_F(ImagingTest, LockedRowsWriteAndReadBackWithStride) {
    for (PixelFormat format : {PixelFormat::Rgb24, PixelFormat::Argb32}) {
        const int bpp = format == PixelFormat::Rgb24 ? 3 : 4;
        auto bitmap = Solid(5, 4, 0x00000000, format);
        imaging.SurfaceOn(*bitmap)->FillRect(RectI{3, 2, 1, 1}, 0xFF336699);
        {
            corv::ScopedBits bits(imaging, *bitmap, RectI{1, 1, 3, 2}, format, true);
            ASSERT_TRUE(bits.Locked());
            const corv::PixelBuffer& buffer = bits.Buffer();
            // A lock for writing shows the pixels as they are (greying reads them).
            const uint8_t* drawn = buffer.scan0 + buffer.stride + 2 * bpp;
            EXPECT_EQ(drawn[0], 0x99);
            EXPECT_EQ(drawn[2], 0x33);
            EXPECT_EQ(buffer.width, 3);
            EXPECT_EQ(buffer.height, 2);
            ASSERT_GE(buffer.stride, 3 * bpp);
            for (int y = 0; y < 2; ++y)
                for (int x = 0; x < 3; ++x)
                    std::memset(buffer.scan0 + y * buffer.stride + x * bpp, 0x40 + 0x10 * y + x,
                                bpp);
        }
        corv::ScopedBits whole(imaging, *bitmap, RectI{0, 0, 5, 4}, format, false);
        ASSERT_TRUE(whole.Locked());
        const corv::PixelBuffer& buffer = whole.Buffer();
        EXPECT_GE(buffer.stride, 5 * bpp);
        EXPECT_EQ(buffer.stride % 4, 0);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 5; ++x) {
                const bool inside = x >= 1 && x <= 3 && y >= 1 && y <= 2;
                const int want = inside ? 0x40 + 0x10 * (y - 1) + (x - 1) : 0;
                EXPECT_EQ(buffer.scan0[y * buffer.stride + x * bpp], want) << x << "," << y;
            }
    }
    {
        // Also across formats: a 24-bit canvas locked as 32-bit for writing.
        auto canvas = Solid(3, 3, 0xFF336699);
        corv::ScopedBits bits(imaging, *canvas, RectI{0, 0, 3, 3}, PixelFormat::Argb32, true);
        ASSERT_TRUE(bits.Locked());
        const uint8_t* p = bits.Buffer().scan0 + bits.Buffer().stride + 4;
        EXPECT_EQ(
            uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24,
            0xFF336699u);
    }
    // Rectangles that leave the bitmap are refused.
    auto bitmap = imaging.NewBitmap(5, 4, PixelFormat::Rgb24);
    corv::PixelBuffer out;
    for (const RectI& bad : {RectI{-1, 0, 2, 2}, RectI{0, 0, 6, 4}, RectI{4, 3, 2, 1},
                             RectI{0, 0, 0, 4}, RectI{0, 0, 5, -1}}) {
        EXPECT_FALSE(imaging.LockBits(*bitmap, bad, PixelFormat::Rgb24, false, out))
            << bad.x << "," << bad.y << "," << bad.width << "," << bad.height;
    }
}

TEST_F(ImagingTest, FilesThatCannotBeDecodedLoadWithWidthZero) {
    TempDir dir;
    auto picture = Solid(64, 48, 0xFF336699);
    const std::string jpeg = Encoded(*picture, dir, "image/jpeg");
    const std::string png = Encoded(*picture, dir, "image/png");
    ASSERT_GT(jpeg.size(), 100u);
    ASSERT_GT(png.size(), 60u);
    WriteFile(dir.File("whole.jpg"), jpeg);
    ASSERT_EQ(imaging.LoadPicture(dir.File("whole.jpg"))->Width(), 64);  // the control

    WriteFile(dir.File("empty.jpg"), "");
    WriteFile(dir.File("cut.jpg"), jpeg.substr(0, jpeg.size() * 2 / 3));
    WriteFile(dir.File("cut.png"), png.substr(0, png.size() - 20));
    WriteFile(dir.File("x.jpg"), "This is not a picture.\r\n");
    ASSERT_TRUE(CreateDirectoryA(dir.File("y.png").c_str(), nullptr));
    for (const std::string& path :
         {dir.File("missing.png"), dir.File("empty.jpg"), dir.File("cut.jpg"), dir.File("cut.png"),
          dir.File("x.jpg"), dir.File("y.png"), std::string(), dir.File("\x81\xff\xfe.png")}) {
        auto image = imaging.LoadPicture(path);
        ASSERT_TRUE(image) << path;
        EXPECT_EQ(image->Width(), 0) << path;
        EXPECT_EQ(image->Height(), 0) << path;
        // Such an image can be handed on without harm.
        corv::PixelBuffer out;
        EXPECT_FALSE(imaging.LockBits(*image, RectI{0, 0, 1, 1}, PixelFormat::Rgb24, false, out));
        EXPECT_FALSE(imaging.SurfaceOn(*image));
        imaging.SurfaceOn(*picture)->DrawImage(*image, RectI{0, 0, 10, 10}, RectI{0, 0, 5, 5});
    }
    EXPECT_TRUE(IsNear(At(*picture, 5, 5), {0x33, 0x66, 0x99}, 0));
}

TEST_F(ImagingTest, PicturesUnderNamesOfEveryScriptAndLongPathsLoad) {
    ASSERT_EQ(GetACP(), 949u) << "the tests run under the Korean code page";
    TempDir dir;
    auto picture = Solid(12, 9, 0xFF00FF00);
    // Paths are UTF-8: Korean, which the code page holds, and names it
    // cannot hold (an emoji, Thai, Vietnamese).
    const std::string korean = corv::Utf8(L"\uC0AC\uC9C4 (\uAC00\uC744).png");
    ASSERT_EQ(korean.size(), 19u);  // three bytes per Hangul syllable
    for (const std::string& name :
         {korean, corv::Utf8(L"\U0001F305 \uB178\uC744.png"),
          corv::Utf8(L"\u0E17\u0E30\u0E40\u0E25.png"), corv::Utf8(L"H\u1ED3 T\u00E2y.png")}) {
        const std::string path = dir.Path() + "\\" + name;
        ASSERT_TRUE(imaging.SaveImage(*picture, path, "image/png")) << name;
        EXPECT_NE(GetFileAttributesW(corv::Wide(path).c_str()), INVALID_FILE_ATTRIBUTES) << name;
        auto loaded = imaging.LoadPicture(path);
        EXPECT_EQ(loaded->Width(), 12) << name;
        EXPECT_EQ(loaded->Height(), 9) << name;
    }
    const std::string koreanPath = dir.Path() + "\\" + korean;

    // A folder chain past MAX_PATH, made through the wide API.
    auto wide = [](const std::string& path) { return L"\\\\?\\" + corv::Wide(path); };
    std::string deep = dir.Path();
    while (deep.size() < 300) {
        deep += "\\" + std::string(60, 'd');
        ASSERT_TRUE(CreateDirectoryW(wide(deep).c_str(), nullptr)) << GetLastError();
    }
    const std::string longPath = deep + "\\" + korean;
    std::string bytes;
    ASSERT_EQ(corv::ReadWholeFile(koreanPath, bytes, 1u << 20), corv::ReadResult::Ok);
    HANDLE file = CreateFileW(wide(longPath).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << GetLastError();
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(written, bytes.size());
    EXPECT_EQ(imaging.LoadPicture(longPath)->Width(), 12);
    DeleteFileW(wide(longPath).c_str());
    while (deep.size() > dir.Path().size()) {
        RemoveDirectoryW(wide(deep).c_str());
        deep.resize(deep.find_last_of('\\'));
    }
}

TEST_F(ImagingTest, EncoderIsFoundByExactMimeType) {
    CLSID bmp{};
    const int index = corv::FindEncoder(L"image/bmp", &bmp);
    EXPECT_GE(index, 0);
    EXPECT_NE(bmp, CLSID{});
    CLSID png{};
    EXPECT_GE(corv::FindEncoder(L"image/png", &png), 0);
    EXPECT_NE(png, bmp);
    CLSID untouched{};
    EXPECT_EQ(corv::FindEncoder(L"image/BMP", &untouched), -1);
    EXPECT_EQ(corv::FindEncoder(L"image/none", &untouched), -1);
    EXPECT_EQ(corv::FindEncoder(L"image/bm", &untouched), -1);
    EXPECT_EQ(corv::FindEncoder(L"", &untouched), -1);
    EXPECT_EQ(untouched, CLSID{});
}

TEST_F(ImagingTest, SourceRectangleBeyondThePictureCountsAsTransparent) {
    // The shadow step: a 20 x 20 picture drawn into 20 x 20 from (-2, -2, 22, 22).
    auto shadow = Solid(20, 20, 0xFFFF0000, PixelFormat::Argb32);
    auto canvas = Solid(30, 30, 0xFFFFFFFF);
    auto surface = imaging.SurfaceOn(*canvas);
    surface->DrawImage(*shadow, RectI{5, 5, 20, 20}, RectI{-2, -2, 22, 22});
    EXPECT_TRUE(IsNear(At(*canvas, 5, 5), {255, 255, 255}, 40));  // from outside the picture
    EXPECT_TRUE(IsNear(At(*canvas, 15, 15), {255, 0, 0}, 0));
    EXPECT_TRUE(IsNear(At(*canvas, 24, 24), {255, 0, 0}, 40));  // the picture's last pixel
    EXPECT_TRUE(IsNear(At(*canvas, 26, 26), {255, 255, 255}, 0));

    // The float variant, as the rotated picture is drawn from (-2, -2, w + 2, h + 2).
    auto canvas2 = Solid(30, 30, 0xFFFFFFFF);
    imaging.SurfaceOn(*canvas2)->DrawImage(*shadow, RectF{5, 5, 20, 20}, RectF{-2, -2, 22, 22});
    EXPECT_TRUE(IsNear(At(*canvas2, 5, 5), {255, 255, 255}, 40));
    EXPECT_TRUE(IsNear(At(*canvas2, 15, 15), {255, 0, 0}, 0));
}

TEST_F(ImagingTest, RotationAboutTranslatedOriginMovesPixels) {
    auto canvas = Solid(100, 100, 0xFF000000);
    auto surface = imaging.SurfaceOn(*canvas);
    EXPECT_EQ(surface->GetInterpolation(), corv::Interpolation::Default);
    surface->SetInterpolation(corv::Interpolation::HighQualityBicubic);
    EXPECT_EQ(surface->GetInterpolation(), corv::Interpolation::HighQualityBicubic);
    surface->SetInterpolation(corv::Interpolation::Default);
    EXPECT_EQ(surface->GetInterpolation(), corv::Interpolation::Default);

    // As the effects set up a layer: translate in append order, then rotate
    // in prepend order, so a point is rotated first and then moved.
    surface->TranslateTransform(50, 50, corv::MatrixOrder::Append);
    surface->RotateTransform(90, corv::MatrixOrder::Prepend);
    auto bar = Solid(20, 6, 0xFFFFFFFF);
    surface->DrawImage(*bar, RectI{10, 0, 20, 6});
    // (x, y) -> (-y, x) -> (50 - y, 50 + x): the bar now runs down from
    // (44..50, 60..80).
    EXPECT_TRUE(IsNear(At(*canvas, 47, 70), {255, 255, 255}, 8));
    EXPECT_TRUE(IsNear(At(*canvas, 70, 53), {0, 0, 0}, 8));  // where it was unrotated
    EXPECT_TRUE(IsNear(At(*canvas, 53, 70), {0, 0, 0}, 8));  // mirrored side
    EXPECT_TRUE(IsNear(At(*canvas, 47, 55), {0, 0, 0}, 8));  // before its start
}

TEST_F(ImagingTest, PixelLimitKeepsCameraPicturesAndRefusesHugeOnes) {
    TempDir dir;
    // A 24-megapixel camera picture loads and draws.
    const std::string camera = dir.File("camera.jpg");
    {
        auto big = Solid(6000, 4000, 0xFF2080C0);
        ASSERT_EQ(big->Width(), 6000);
        ASSERT_TRUE(imaging.SaveImage(*big, camera, "image/jpeg"));
    }
    auto loaded = imaging.LoadPicture(camera);
    ASSERT_EQ(loaded->Width(), 6000);
    ASSERT_EQ(loaded->Height(), 4000);
    auto canvas = Solid(300, 200, 0xFF000000);
    imaging.SurfaceOn(*canvas)->DrawImage(*loaded, RectI{0, 0, 300, 200});
    EXPECT_TRUE(IsNear(At(*canvas, 150, 100), {0x20, 0x80, 0xC0}, 6));
    loaded.reset();

    // Complete, decodable PNGs: a small one loads, one just past the limit
    // (8200 x 8200, 67 megapixels) and a 30000 x 30000 one do not.
    WriteFile(dir.File("small.png"), corvtest::PngBytes(300, 200));
    EXPECT_EQ(imaging.LoadPicture(dir.File("small.png"))->Width(), 300);
    WriteFile(dir.File("over.png"), corvtest::PngBytes(8200, 8200));
    EXPECT_EQ(imaging.LoadPicture(dir.File("over.png"))->Width(), 0);
    WriteFile(dir.File("huge.png"), corvtest::PngBytes(30000, 30000));
    EXPECT_EQ(imaging.LoadPicture(dir.File("huge.png"))->Width(), 0);
    // New bitmaps obey the same limit.
    EXPECT_EQ(imaging.NewBitmap(30000, 30000, PixelFormat::Argb32)->Width(), 0);
    EXPECT_EQ(imaging.NewBitmap(0, 10, PixelFormat::Rgb24)->Width(), 0);
}

TEST_F(ImagingTest, DeviceBitmapAndDeviceContextSurface) {
    auto picture = Solid(33, 17, 0xFF808080);
    HBITMAP handle = corv::CreateDeviceBitmap(*picture, 0xFFFFFFFF);
    ASSERT_NE(handle, nullptr);
    BITMAP info{};
    ASSERT_EQ(GetObject(handle, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmWidth, 33);
    EXPECT_EQ(info.bmHeight, 17);
    // Drawing on a device context, as the previews do.
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, handle);
    EXPECT_EQ(GetPixel(dc, 20, 10), RGB(0x80, 0x80, 0x80));
    {
        auto surface = imaging.SurfaceOnDc(dc);
        ASSERT_TRUE(surface);
        surface->FillRect(RectI{0, 0, 4, 4}, 0xFFFF0000);
    }
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 20, 10), RGB(0x80, 0x80, 0x80));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(handle);
    corv::GdiplusImage empty;
    EXPECT_EQ(corv::CreateDeviceBitmap(empty, 0), nullptr);
}

}  // namespace

namespace {

// A hand-made 24-bit BMP, 3 x 2: top row red, green, blue; bottom row
// white, black, grey; rows in file order as `topDown` says.
std::string HandMadeBmp(bool topDown) {
    auto le = [](uint32_t v, int n) {
        std::string out;
        for (int i = 0; i < n; ++i) out += static_cast<char>(v >> (8 * i));
        return out;
    };
    const std::string top("\x00\x00\xFF\x00\xFF\x00\xFF\x00\x00\x00\x00\x00", 12);  // BGR + pad
    const std::string bottom("\xFF\xFF\xFF\x00\x00\x00\x80\x80\x80\x00\x00\x00", 12);
    std::string out = "BM" + le(54 + 24, 4) + le(0, 4) + le(54, 4);
    out += le(40, 4) + le(3, 4) + le(topDown ? static_cast<uint32_t>(-2) : 2, 4) + le(1, 2) +
           le(24, 2) + le(0, 4) + le(24, 4) + le(2835, 4) + le(2835, 4) + le(0, 4) + le(0, 4);
    return out + (topDown ? top + bottom : bottom + top);
}

TEST_F(ImagingTest, PlainBmpRowsLoadTheRightWayUp) {
    TempDir dir;
    for (bool topDown : {false, true}) {
        SCOPED_TRACE(topDown ? "top-down" : "bottom-up");
        WriteFile(dir.File("hand.bmp"), HandMadeBmp(topDown));
        auto picture = imaging.LoadPicture(dir.File("hand.bmp"));
        ASSERT_EQ(picture->Width(), 3);
        ASSERT_EQ(picture->Height(), 2);
        EXPECT_EQ(picture->BitsPerPixel(), 24);
        EXPECT_TRUE(IsNear(At(*picture, 0, 0), {255, 0, 0}, 0));
        EXPECT_TRUE(IsNear(At(*picture, 2, 0), {0, 0, 255}, 0));
        EXPECT_TRUE(IsNear(At(*picture, 0, 1), {255, 255, 255}, 0));
        EXPECT_TRUE(IsNear(At(*picture, 2, 1), {128, 128, 128}, 0));
    }
    // Cut inside its last row: the general loader's answer, not garbage.
    WriteFile(dir.File("cut.bmp"), HandMadeBmp(false).substr(0, 54 + 20));
    EXPECT_EQ(imaging.LoadPicture(dir.File("cut.bmp"))->Width(), 0);
}

TEST_F(ImagingTest, ClearAndSameSizeCopyGiveWhatGdiplusWouldDraw) {
    // Clearing sets every pixel, alpha included.
    auto layer = Solid(5, 3, 0x80FF8000, PixelFormat::Argb32);
    EXPECT_EQ(Argb(*layer, 4, 2), 0x80FF8000u);
    auto canvas = Solid(7, 5, 0xFF102030);
    EXPECT_TRUE(IsNear(At(*canvas, 6, 4), {0x10, 0x20, 0x30}, 0));

    // A picture at its own size, partly off the canvas: only what lands on
    // it is copied, in place.
    auto picture = Solid(4, 4, 0xFFC0C0C0);
    imaging.SurfaceOn(*picture)->FillRect(RectI{0, 0, 2, 2}, 0xFFFF0000);
    imaging.SurfaceOn(*canvas)->DrawImage(*picture, RectI{-1, 2, 4, 4});
    EXPECT_TRUE(IsNear(At(*canvas, 0, 2), {255, 0, 0}, 0));         // picture (1, 0)
    EXPECT_TRUE(IsNear(At(*canvas, 1, 3), {0xC0, 0xC0, 0xC0}, 0));  // picture (2, 1)
    EXPECT_TRUE(IsNear(At(*canvas, 2, 4), {0xC0, 0xC0, 0xC0}, 0));
    EXPECT_TRUE(IsNear(At(*canvas, 3, 2), {0x10, 0x20, 0x30}, 0));  // right of it
    EXPECT_TRUE(IsNear(At(*canvas, 0, 1), {0x10, 0x20, 0x30}, 0));  // above it

    // Turned, it is GDI+'s drawing again.
    auto turned = Solid(7, 5, 0xFF102030);
    {
        auto surface = imaging.SurfaceOn(*turned);
        surface->TranslateTransform(4, 0, corv::MatrixOrder::Prepend);
        surface->RotateTransform(90, corv::MatrixOrder::Prepend);
        surface->DrawImage(*picture, RectI{0, 0, 4, 4});
    }
    EXPECT_TRUE(IsNear(At(*turned, 3, 0), {255, 0, 0}, 40));
    EXPECT_TRUE(IsNear(At(*turned, 1, 3), {0xC0, 0xC0, 0xC0}, 40));
    EXPECT_TRUE(IsNear(At(*turned, 6, 4), {0x10, 0x20, 0x30}, 0));
}

}  // namespace
