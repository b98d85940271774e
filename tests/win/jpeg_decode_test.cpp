// JPEG pictures through libjpeg-turbo: every kind of JPEG file in colour, at
// full and reduced scale; broken files load as width 0 without harm or
// leaks; a photo drawn from a reduced decode looks as drawn from a full one.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "compose/jpeg_decode_win.h"
#include "support/gdiplus_test_win.h"
#include "unit/test_util.h"

namespace {

using corv::GdiplusImage;
using corv::Image;
using corv::NeededSize;
using corv::PixelFormat;
using corv::RectI;
using corvtest::IsNear;
using corvtest::Rgb;
using corvtest::TempDir;
using corvtest::WriteFile;

// A file of tests/data/jpeg (made by its make-jpegs), through the Z: drive.
std::string DataFile(const std::string& name) {
    return corvtest::TestDataFile("jpeg", name);
}

// The bytes of `jpeg` with the frame header's height and width replaced.
std::string WithFrameSize(std::string jpeg, uint16_t width, uint16_t height) {
    const std::size_t sof = jpeg.find("\xFF\xC0");
    if (sof == std::string::npos || sof + 9 > jpeg.size()) return std::string();
    jpeg[sof + 5] = static_cast<char>(height >> 8);
    jpeg[sof + 6] = static_cast<char>(height & 0xFF);
    jpeg[sof + 7] = static_cast<char>(width >> 8);
    jpeg[sof + 8] = static_cast<char>(width & 0xFF);
    return jpeg;
}

using corvtest::PixelSize;
using corvtest::PrivateBytes;

class JpegDecodeTest : public corvtest::GdiplusTest {
protected:
    // Mean absolute difference per channel of two equally large bitmaps
    // over `rect`.
    double MeanDifference(Image& a, Image& b, const RectI& rect) {
        corv::ScopedBits pa(imaging, a, rect, PixelFormat::Rgb24, false);
        corv::ScopedBits pb(imaging, b, rect, PixelFormat::Rgb24, false);
        if (!pa.Locked() || !pb.Locked()) return 1e9;
        double sum = 0;
        for (int32_t y = 0; y < rect.height; ++y) {
            const uint8_t* ra = pa.Buffer().scan0 + y * pa.Buffer().stride;
            const uint8_t* rb = pb.Buffer().scan0 + y * pb.Buffer().stride;
            for (int32_t x = 0; x < rect.width * 3; ++x) sum += std::abs(ra[x] - rb[x]);
        }
        return sum / (3.0 * rect.width * rect.height);
    }
};

TEST_F(JpegDecodeTest, EveryKindOfJpegDecodesInColourAtEveryScale) {
    struct Kind {
        const char* file;
        int bitsPerPixel;
        bool grey;
    };
    const Kind kinds[] = {{"photo.jpg", 24, false},
                          {"progressive.jpg", 24, false},
                          {"arithmetic.jpg", 24, false},
                          {"cmyk.jpg", 32, false},
                          {"grey.jpg", 8, true}};
    // The whole picture; a need that 1/8 covers; one that needs 1/2.
    const NeededSize needs[] = {NeededSize{}, NeededSize{32, 32}, NeededSize{120, 80}};
    const char* pixelSizes[] = {"250x166", "32x21", "125x83"};
    for (const Kind& kind : kinds) {
        for (int n = 0; n < 3; ++n) {
            SCOPED_TRACE(std::string(kind.file) + " need " + std::to_string(needs[n].width));
            auto picture = imaging.LoadPicture(DataFile(kind.file), needs[n]);
            ASSERT_EQ(picture->Width(), 250);  // the full size, however decoded
            ASSERT_EQ(picture->Height(), 166);
            EXPECT_EQ(picture->BitsPerPixel(), kind.bitsPerPixel);
            EXPECT_EQ(PixelSize(*picture), pixelSizes[n]);
            // Drawn as the composer draws a picture: a source rectangle in
            // the full size's pixels.
            auto canvas = Solid(100, 66, 0xFF808080);
            imaging.SurfaceOn(*canvas)->DrawImage(*picture, RectI{0, 0, 100, 66},
                                                  RectI{0, 0, 250, 166});
            const Rgb red = At(*canvas, 20, 15), green = At(*canvas, 80, 15);
            const Rgb blue = At(*canvas, 20, 50), yellow = At(*canvas, 80, 50);
            if (kind.grey) {
                for (const Rgb& px : {red, green, blue, yellow}) {
                    EXPECT_EQ(px.r, px.g);
                    EXPECT_EQ(px.g, px.b);
                }
                EXPECT_LT(blue.g, red.g);
                EXPECT_LT(red.g, green.g);
                EXPECT_LT(green.g, yellow.g);
            } else {
                EXPECT_TRUE(IsNear(red, {255, 0, 0}, 24));
                EXPECT_TRUE(IsNear(green, {0, 255, 0}, 24));
                EXPECT_TRUE(IsNear(blue, {0, 0, 255}, 24));
                EXPECT_TRUE(IsNear(yellow, {255, 255, 0}, 24));
            }
        }
    }
}

TEST_F(JpegDecodeTest, BrokenJpegsLoadWithWidthZeroAndDoNoHarm) {
    TempDir dir;
    const std::string photo = corvtest::ReadFile(DataFile("photo.jpg"));
    ASSERT_GT(photo.size(), 500u);
    std::string twelveBit = photo;
    const std::size_t sof = twelveBit.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    twelveBit[sof + 4] = 12;  // sample precision: not what this decoder reads
    const std::pair<const char*, std::string> broken[] = {
        {"empty.jpg", ""},
        {"text.jpg", "This is not a picture.\r\n"},
        {"cut.jpg", photo.substr(0, photo.size() / 2)},
        {"huge.jpg", WithFrameSize(photo, 65535, 65535)},
        {"no-rows.jpg", WithFrameSize(photo, 250, 0)},
        {"twelve-bit.jpg", twelveBit},
        {"soi-only.jpg", "\xFF\xD8\xFF\xD9"},
    };
    auto canvas = Solid(40, 40, 0xFF336699);
    for (const auto& [name, bytes] : broken) {
        WriteFile(dir.File(name), bytes);
        for (const NeededSize& need : {NeededSize{}, NeededSize{400, 400}}) {
            auto image = imaging.LoadPicture(dir.File(name), need);
            EXPECT_EQ(image->Width(), 0) << name;
            EXPECT_EQ(image->Height(), 0) << name;
            imaging.SurfaceOn(*canvas)->DrawImage(*image, RectI{0, 0, 40, 40}, RectI{0, 0, 10, 10});
        }
    }
    EXPECT_TRUE(IsNear(At(*canvas, 20, 20), {0x33, 0x66, 0x99}, 0));

    // Damage the decoder can step over (a warning, never the end of the
    // process) still gives a picture: scan data overwritten, and the end
    // marker missing.
    const std::size_t scan = photo.find("\xFF\xDA");
    ASSERT_NE(scan, std::string::npos);
    std::string damaged = photo;
    for (std::size_t i = scan + 40; i < scan + 80 && i + 2 < damaged.size(); ++i) damaged[i] = 0x55;
    const std::string noEnd = photo.substr(0, photo.size() - 2);
    ASSERT_EQ(photo.substr(photo.size() - 2), "\xFF\xD9");
    for (const std::string& bytes : {damaged, noEnd}) {
        auto image = corv::DecodeJpeg(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                                      NeededSize{60, 60});
        ASSERT_TRUE(image);
        EXPECT_EQ(image->Width(), 250);
        EXPECT_EQ(PixelSize(*image), "63x42");
    }
    // The last quarter of the picture is still there without its end marker.
    auto kept = corv::DecodeJpeg(reinterpret_cast<const uint8_t*>(noEnd.data()), noEnd.size(),
                                 NeededSize{});
    ASSERT_TRUE(kept);
    auto small = Solid(100, 66, 0xFF000000);
    imaging.SurfaceOn(*small)->DrawImage(*kept, RectI{0, 0, 100, 66}, RectI{0, 0, 250, 166});
    EXPECT_TRUE(IsNear(At(*small, 80, 50), {255, 255, 0}, 24));
}

// Other formats stop at 64 megapixels; a JPEG is taken at any size whose
// reduced decode fits 16 megapixels. (The picture's data is that of a small
// one: the decoder fills the missing rows and goes on.)
TEST_F(JpegDecodeTest, LargeJpegsPastTheOtherFormatsLimitDecodeReduced) {
    TempDir dir;
    const std::string photo = corvtest::ReadFile(DataFile("photo.jpg"));
    WriteFile(dir.File("80mp.jpg"), WithFrameSize(photo, 10000, 8000));
    auto drawn = imaging.LoadPicture(dir.File("80mp.jpg"), NeededSize{400, 400});
    EXPECT_EQ(drawn->Width(), 10000);
    EXPECT_EQ(drawn->Height(), 8000);
    EXPECT_EQ(PixelSize(*drawn), "1250x1000");
    auto whole = imaging.LoadPicture(dir.File("80mp.jpg"));
    EXPECT_EQ(whole->Width(), 10000);
    EXPECT_EQ(PixelSize(*whole), "2500x2000");  // 1/2 would be 20 megapixels
    // Pixel access works on the bitmap's own pixels only.
    corv::PixelBuffer out;
    EXPECT_FALSE(
        imaging.LockBits(*whole, RectI{0, 0, 10000, 8000}, PixelFormat::Rgb24, false, out));
    EXPECT_TRUE(imaging.LockBits(*whole, RectI{0, 0, 2500, 2000}, PixelFormat::Rgb24, false, out));
    imaging.UnlockBits(*whole, out);
}

TEST_F(JpegDecodeTest, DecoderErrorsLeakNothing) {
    TempDir dir;
    const std::string photo = corvtest::ReadFile(DataFile("photo.jpg"));
    std::string twelveBit = photo;
    twelveBit[twelveBit.find("\xFF\xC0") + 4] = 12;
    WriteFile(dir.File("twelve-bit.jpg"), twelveBit);                     // fails inside the header
    WriteFile(dir.File("huge.jpg"), WithFrameSize(photo, 65535, 65535));  // after it
    auto round = [&] {
        for (const char* name : {"twelve-bit.jpg", "huge.jpg"})
            EXPECT_EQ(imaging.LoadPicture(dir.File(name), NeededSize{400, 400})->Width(), 0);
        // And a good one, decoded and released.
        EXPECT_EQ(imaging.LoadPicture(DataFile("progressive.jpg"), NeededSize{64, 64})->Width(),
                  250);
    };
    for (int i = 0; i < 20; ++i) round();
    const std::size_t before = PrivateBytes();
    for (int i = 0; i < 400; ++i) round();
    const std::size_t after = PrivateBytes();
    // libjpeg takes tens of kilobytes per decode: 400 leaked would be many MB.
    EXPECT_LT(after, before + 1024 * 1024) << before << " -> " << after;
}

TEST_F(JpegDecodeTest, ReducedDecodeDrawsLikeTheFullOne) {
    TempDir dir;
    const std::string path = dir.File("photo.jpg");
    {
        // A photo-like picture: smooth gradients, hard edges off the 8-pixel
        // grid and a bright band along every edge.
        auto photo = Solid(2400, 1600, 0xFF000000);
        auto surface = imaging.SurfaceOn(*photo);
        surface->FillGradient(RectI{0, 0, 2400, 1600}, 0xFF2040A0, 0xFFE0C040, 30);
        surface->FillRect(RectI{603, 411, 517, 389}, 0xFF102010);
        surface->FillRect(RectI{1333, 901, 611, 301}, 0xFFF0F0F0);
        surface->FillGradient(RectI{1701, 101, 499, 601}, 0xFFFF0000, 0xFF00FFFF, 90);
        surface->FillRect(RectI{0, 0, 2400, 48}, 0xFFFFFF00);
        surface->FillRect(RectI{0, 1552, 2400, 48}, 0xFF00FFFF);
        surface->FillRect(RectI{0, 0, 48, 1600}, 0xFFFF00FF);
        surface->FillRect(RectI{2352, 0, 48, 1600}, 0xFF00FF00);
        surface.reset();
        ASSERT_TRUE(imaging.SaveImage(*photo, path, "image/jpeg"));
    }
    auto full = imaging.LoadPicture(path);  // 3.8 megapixels: decoded whole
    auto reduced = imaging.LoadPicture(path, NeededSize{300, 300});
    ASSERT_EQ(PixelSize(*full), "2400x1600");
    ASSERT_EQ(PixelSize(*reduced), "300x200");
    ASSERT_EQ(reduced->Width(), 2400);

    // As the picture layer draws it (one pixel left free at the top and
    // left), and as a rotated picture is drawn (bicubic, from two pixels
    // beyond the picture).
    for (bool rotated : {false, true}) {
        SCOPED_TRACE(rotated ? "rotated draw" : "plain draw");
        auto a = Solid(302, 202, 0xFF000000);
        auto b = Solid(302, 202, 0xFF000000);
        for (auto [canvas, picture] : {std::pair{a.get(), full.get()}, {b.get(), reduced.get()}}) {
            auto surface = imaging.SurfaceOn(*canvas);
            if (rotated) {
                surface->SetInterpolation(corv::Interpolation::HighQualityBicubic);
                surface->DrawImage(*picture, RectI{1, 1, 299, 199}, RectI{-2, -2, 2402, 1602});
            } else {
                surface->DrawImage(*picture, RectI{1, 1, 299, 199}, RectI{0, 0, 2400, 1600});
            }
        }
        // Within a couple of levels; the first drawn row and column aside,
        // which Wine's bicubic drawing of the full picture leaves uncovered
        // although three quarters of them lie on the picture.
        EXPECT_LT(MeanDifference(*a, *b, RectI{2, 2, 300, 200}), 3.0);
        // No shift at the edges: the outer rows and columns agree as well.
        for (const RectI& edge : {RectI{2, 2, 298, 2}, RectI{2, 198, 298, 2}, RectI{2, 2, 2, 198},
                                  RectI{298, 2, 2, 198}})
            EXPECT_LT(MeanDifference(*a, *b, edge), 3.0)
                << edge.x << "," << edge.y << "," << edge.width << "," << edge.height;
        if (!rotated) {
            EXPECT_LT(MeanDifference(*a, *b, RectI{0, 0, 302, 202}), 3.0);
        }
        EXPECT_TRUE(IsNear(At(*b, 0, 100), {0, 0, 0}, 0));
        EXPECT_TRUE(IsNear(At(*b, 150, 0), {0, 0, 0}, 0));
        EXPECT_TRUE(IsNear(At(*b, 3, 100), {255, 0, 255}, 40));  // the left band
        EXPECT_TRUE(IsNear(At(*b, 298, 100), {0, 255, 0}, 40));  // the right band
    }
}

}  // namespace

namespace {

// `jpeg` with an EXIF block recording `orientation` put after its start.
std::string WithOrientation(const std::string& jpeg, char orientation) {
    const std::string exif(
        "\xFF\xE1\x00\x22"
        "Exif\x00\x00"
        "MM\x00\x2A\x00\x00\x00\x08"
        "\x00\x01"
        "\x01\x12\x00\x03\x00\x00\x00\x01\x00",
        29);
    return jpeg.substr(0, 2) + exif + orientation + std::string(6, '\0') + jpeg.substr(2);
}

TEST_F(JpegDecodeTest, TurnedPhotoIsReducedOnItsTurnedSidesAndStandsUpright) {
    TempDir dir;
    {
        // Red, green / blue, yellow quarters, as stored.
        auto photo = Solid(2400, 1600, 0xFFFF0000);
        auto surface = imaging.SurfaceOn(*photo);
        surface->FillRect(RectI{1200, 0, 1200, 800}, 0xFF00FF00);
        surface->FillRect(RectI{0, 800, 1200, 800}, 0xFF0000FF);
        surface->FillRect(RectI{1200, 800, 1200, 800}, 0xFFFFFF00);
        surface.reset();
        ASSERT_TRUE(imaging.SaveImage(*photo, dir.File("plain.jpg"), "image/jpeg"));
    }
    const std::string plain = corvtest::ReadFile(dir.File("plain.jpg"));
    WriteFile(dir.File("turned.jpg"), WithOrientation(plain, 6));

    // Shown a quarter turned clockwise, 1600 x 2400 stretched over 200 x 300
    // needs only 1/8; on its stored sides it would need 1/4.
    auto picture = imaging.LoadPicture(dir.File("turned.jpg"), NeededSize{200, 300, true});
    ASSERT_EQ(picture->Orientation(), 6);
    EXPECT_EQ(PixelSize(*picture), "300x200");
    ASSERT_TRUE(imaging.Orient(*picture, 6));
    EXPECT_EQ(picture->Width(), 1600);
    EXPECT_EQ(picture->Height(), 2400);
    EXPECT_EQ(PixelSize(*picture), "200x300");
    EXPECT_EQ(picture->Orientation(), 1);

    auto canvas = Solid(200, 300, 0xFF000000);
    imaging.SurfaceOn(*canvas)->DrawImage(*picture, RectI{0, 0, 200, 300}, RectI{0, 0, 1600, 2400});
    EXPECT_TRUE(IsNear(At(*canvas, 50, 75), {0, 0, 255}, 40));     // blue, top left
    EXPECT_TRUE(IsNear(At(*canvas, 150, 75), {255, 0, 0}, 40));    // red, top right
    EXPECT_TRUE(IsNear(At(*canvas, 50, 225), {255, 255, 0}, 40));  // yellow, bottom left
    EXPECT_TRUE(IsNear(At(*canvas, 150, 225), {0, 255, 0}, 40));   // green, bottom right

    // A picture that stays as stored is reduced on its stored sides.
    auto upright = imaging.LoadPicture(dir.File("plain.jpg"), NeededSize{200, 300, true});
    EXPECT_EQ(PixelSize(*upright), "600x400");
}

}  // namespace
