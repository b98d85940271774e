// WebP, AVIF and HEIC pictures and the old formats by their other names,
// through the real imaging layer: every flavour shown by its pixels, at
// full and reduced size; transparency drawn over what lies under it; the
// first frame of an animation; the turns the files ask for; and broken,
// cut, empty and huge files of each format refused without harm or leaks.
// The files are tests/data/formats (made by its make-formats).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "support/gdiplus_test_win.h"
#include "unit/test_util.h"

namespace {

using corv::Image;
using corv::NeededSize;
using corv::RectI;
using corvtest::IsNear;
using corvtest::PixelSize;
using corvtest::PrivateBytes;
using corvtest::Rgb;
using corvtest::TempDir;
using corvtest::WriteFile;

std::string DataFile(const std::string& name) {
    return corvtest::TestDataFile("formats", name);
}

// `bytes` with the 8 bytes after the first "ispe" box's version (its width
// and height) replaced.
std::string WithHeifSize(std::string bytes, uint32_t width, uint32_t height) {
    const std::size_t at = bytes.find("ispe");
    if (at == std::string::npos || at + 16 > bytes.size()) return std::string();
    for (int i = 0; i < 4; ++i) {
        bytes[at + 8 + i] = static_cast<char>(width >> (24 - 8 * i));
        bytes[at + 12 + i] = static_cast<char>(height >> (24 - 8 * i));
    }
    return bytes;
}

class FormatsTest : public corvtest::GdiplusTest {
protected:
    // The picture drawn as the composer draws one: scaled into a canvas of
    // `argb`, from a source rectangle in its full size's pixels.
    std::unique_ptr<Image> Drawn(Image& picture, int32_t w, int32_t h, uint32_t argb) {
        auto canvas = Solid(w, h, argb);
        imaging.SurfaceOn(*canvas)->DrawImage(picture, RectI{0, 0, w, h},
                                              RectI{0, 0, picture.Width(), picture.Height()});
        return canvas;
    }

    // The four quarters of a 100 x 66 drawing: top left, top right, bottom
    // left, bottom right.
    void ExpectQuarters(Image& canvas, const Rgb& tl, const Rgb& tr, const Rgb& bl, const Rgb& br,
                        int tolerance = 24) {
        EXPECT_TRUE(IsNear(At(canvas, 20, 15), tl, tolerance));
        EXPECT_TRUE(IsNear(At(canvas, 80, 15), tr, tolerance));
        EXPECT_TRUE(IsNear(At(canvas, 20, 50), bl, tolerance));
        EXPECT_TRUE(IsNear(At(canvas, 80, 50), br, tolerance));
    }
};

const Rgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kYellow{255, 255, 0};

TEST_F(FormatsTest, EveryFormatAndFlavourShowsItsQuartersAtEveryScale) {
    struct Kind {
        const char* file;
        int width, height, bitsPerPixel;
    };
    const Kind kinds[] = {
        {"lossy.webp", 250, 166, 24},     {"lossless.webp", 250, 166, 24},
        {"animated.webp", 250, 166, 32},  {"8bit.avif", 250, 166, 24},
        {"10bit.avif", 250, 166, 30},     {"lossless.avif", 250, 166, 24},
        {"grid.avif", 256, 160, 24},      {"photo.heic", 250, 166, 24},
        {"10bit.heic", 250, 166, 30},     {"photo.jpeg", 250, 166, 24},
        {"photo.jfif", 250, 166, 24},     {"photo.tiff", 250, 166, 24},
        {"not-a-jpeg.jpg", 250, 166, 24}, {"not-a-webp.webp", 250, 166, 24},
        {"animated.gif", 250, 166, 0},  // its depth as GDI+ gives the frame: not checked
    };
    for (const Kind& kind : kinds) {
        // The whole picture, then one that 1/8 covers and one that needs 1/2.
        for (const NeededSize& need : {NeededSize{}, NeededSize{32, 32}, NeededSize{120, 80}}) {
            SCOPED_TRACE(std::string(kind.file) + " need " + std::to_string(need.width));
            auto picture = imaging.LoadPicture(DataFile(kind.file), need);
            ASSERT_EQ(picture->Width(), kind.width);  // the full size, however decoded
            ASSERT_EQ(picture->Height(), kind.height);
            if (kind.bitsPerPixel > 0) {
                EXPECT_EQ(picture->BitsPerPixel(), kind.bitsPerPixel);
            }
            // The first frame of an animation: the quarters, not the red
            // frame after them.
            ExpectQuarters(*Drawn(*picture, 100, 66, 0xFF808080), kRed, kGreen, kBlue, kYellow);
        }
    }
    // Our own decoders reduce as the need allows.
    for (const char* file : {"lossy.webp", "8bit.avif", "photo.heic"}) {
        SCOPED_TRACE(file);
        EXPECT_EQ(PixelSize(*imaging.LoadPicture(DataFile(file), NeededSize{32, 32})), "32x21");
        EXPECT_EQ(PixelSize(*imaging.LoadPicture(DataFile(file), NeededSize{120, 80})), "125x83");
        EXPECT_EQ(PixelSize(*imaging.LoadPicture(DataFile(file))), "250x166");
    }
    // A grid's tiles stay whole blocks when reduced (128 x 80 tiles, 1/8).
    EXPECT_EQ(PixelSize(*imaging.LoadPicture(DataFile("grid.avif"), NeededSize{32, 32})), "32x20");

    // A grey AVIF: grey levels in the quarters' order of brightness.
    auto grey = Drawn(*imaging.LoadPicture(DataFile("grey.avif")), 100, 66, 0xFF000000);
    const Rgb red = At(*grey, 20, 15), green = At(*grey, 80, 15);
    const Rgb blue = At(*grey, 20, 50), yellow = At(*grey, 80, 50);
    for (const Rgb& px : {red, green, blue, yellow}) {
        EXPECT_EQ(px.r, px.g);
        EXPECT_EQ(px.g, px.b);
    }
    EXPECT_LT(blue.g, red.g);
    EXPECT_LT(red.g, green.g);
    EXPECT_LT(green.g, yellow.g);
    EXPECT_EQ(imaging.LoadPicture(DataFile("grey.avif"))->BitsPerPixel(), 8);
}

TEST_F(FormatsTest, TransparencyIsDrawnOverWhatLiesUnder) {
    // Red opaque, green gone, blue opaque, yellow half: over the canvas.
    const uint32_t under = 0xFF336699;
    const Rgb canvas{0x33, 0x66, 0x99};
    const Rgb halfYellow{(255 + 0x33) / 2, (255 + 0x66) / 2, (0 + 0x99) / 2};
    for (const char* file : {"alpha.webp", "alpha.avif", "alpha.heic"}) {
        for (const NeededSize& need : {NeededSize{}, NeededSize{60, 60}}) {
            SCOPED_TRACE(std::string(file) + " need " + std::to_string(need.width));
            auto picture = imaging.LoadPicture(DataFile(file), need);
            ASSERT_EQ(picture->Width(), 250);
            EXPECT_EQ(picture->BitsPerPixel(), 32);
            ExpectQuarters(*Drawn(*picture, 100, 66, under), kRed, canvas, kBlue, halfYellow, 30);
        }
    }
    // An animation's first frame that covers only part of its canvas: the
    // rest is transparent.
    auto frame = imaging.LoadPicture(DataFile("offset-frame.webp"));
    ASSERT_EQ(frame->Width(), 250);
    auto drawn = Drawn(*frame, 250, 166, under);
    EXPECT_TRUE(IsNear(At(*drawn, 100, 70), kGreen, 8));  // inside the box at (50, 40) 100 x 60
    EXPECT_TRUE(IsNear(At(*drawn, 20, 20), canvas, 8));
    EXPECT_TRUE(IsNear(At(*drawn, 200, 140), canvas, 8));
}

TEST_F(FormatsTest, PicturesStandAsTheirFilesSay) {
    struct Case {
        const char* file;
        int orientation;
        Rgb tl, tr, bl, br;
    };
    const Case cases[] = {
        {"rotated.webp", 6, kRed, kGreen, kBlue, kYellow},   // EXIF: a quarter clockwise
        {"rotated.avif", 8, kRed, kGreen, kBlue, kYellow},   // a quarter anticlockwise
        {"mirrored.avif", 7, kGreen, kRed, kYellow, kBlue},  // and mirrored left to right
    };
    for (const Case& c : cases) {
        for (const NeededSize& need : {NeededSize{}, NeededSize{100, 100}}) {
            SCOPED_TRACE(std::string(c.file) + " need " + std::to_string(need.width));
            auto picture = imaging.LoadPicture(DataFile(c.file), need);
            ASSERT_EQ(picture->Width(), 166);  // as stored
            ASSERT_EQ(picture->Orientation(), c.orientation);
            ASSERT_TRUE(imaging.Orient(*picture, c.orientation));
            EXPECT_EQ(picture->Width(), 250);
            EXPECT_EQ(picture->Height(), 166);
            ExpectQuarters(*Drawn(*picture, 100, 66, 0xFF808080), c.tl, c.tr, c.bl, c.br);
        }
    }
}

TEST_F(FormatsTest, BrokenFilesOfEachFormatLoadWithWidthZeroWithoutHarm) {
    TempDir dir;
    const std::string webp = corvtest::ReadFile(DataFile("lossy.webp"));
    const std::string lossless = corvtest::ReadFile(DataFile("lossless.webp"));
    const std::string animated = corvtest::ReadFile(DataFile("animated.webp"));
    const std::string avif = corvtest::ReadFile(DataFile("8bit.avif"));
    const std::string alphaAvif = corvtest::ReadFile(DataFile("alpha.avif"));
    const std::string heic = corvtest::ReadFile(DataFile("photo.heic"));
    ASSERT_GT(webp.size(), 200u);
    ASSERT_GT(avif.size(), 200u);
    ASSERT_GT(heic.size(), 200u);
    // A lossy WebP header claiming 16383 x 16383 (its largest) and a
    // lossless one whose whole-picture decode would take 1 GB.
    std::string hugeWebp = webp;
    const std::size_t vp8 = hugeWebp.find("VP8 ");
    ASSERT_NE(vp8, std::string::npos);
    hugeWebp[vp8 + 14] = hugeWebp[vp8 + 16] = '\xFF';
    hugeWebp[vp8 + 15] = hugeWebp[vp8 + 17] = '\x3F';
    std::string hugeLossless = lossless;
    const std::size_t vp8l = hugeLossless.find("VP8L");
    ASSERT_NE(vp8l, std::string::npos);
    hugeLossless[vp8l + 9] = '\xFF';
    hugeLossless[vp8l + 10] = '\xFF';
    hugeLossless[vp8l + 11] = '\xFF';
    hugeLossless[vp8l + 12] = static_cast<char>(hugeLossless[vp8l + 12] | 0x0F);
    // AVIF data that is not AV1.
    std::string garbled = avif;
    for (std::size_t i = avif.size() - 200; i < avif.size(); ++i) garbled[i] = '\x5A';
    const std::pair<const char*, std::string> broken[] = {
        {"empty.webp", ""},
        {"empty.avif", ""},
        {"empty.heic", ""},
        {"cut.webp", webp.substr(0, webp.size() / 2)},
        {"cut-animation.webp", animated.substr(0, animated.size() - 20)},
        {"cut.avif", avif.substr(0, avif.size() / 2)},
        {"cut-alpha.avif", alphaAvif.substr(0, alphaAvif.size() - 30)},
        {"cut.heic", heic.substr(0, heic.size() / 2)},
        {"huge.webp", hugeWebp},
        {"huge-lossless.webp", hugeLossless},
        {"huge.avif", WithHeifSize(avif, 65535, 65535)},
        {"huge.heic", WithHeifSize(heic, 65535, 65535)},
        {"garbled.avif", garbled},
        {"text.webp", "RIFF, but text: not a picture at all."},
        {"webp-named.heic", std::string("RIFF\x10\0\0\0WEBPVP8 \x04\0\0\0\x01\x02\x03\x04", 24)},
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
}

TEST_F(FormatsTest, DecodersLeakNothing) {
    TempDir dir;
    const std::string avif = corvtest::ReadFile(DataFile("8bit.avif"));
    const std::string heic = corvtest::ReadFile(DataFile("photo.heic"));
    WriteFile(dir.File("cut.avif"), avif.substr(0, avif.size() - 40));  // fails in the decoder
    WriteFile(dir.File("cut.heic"), heic.substr(0, heic.size() - 40));
    auto round = [&] {
        for (const char* file : {"lossy.webp", "alpha.webp", "animated.webp", "alpha.avif",
                                 "grid.avif", "photo.heic", "alpha.heic"})
            EXPECT_GT(imaging.LoadPicture(DataFile(file), NeededSize{64, 64})->Width(), 0) << file;
        for (const char* name : {"cut.avif", "cut.heic"})
            EXPECT_EQ(imaging.LoadPicture(dir.File(name), NeededSize{64, 64})->Width(), 0) << name;
    };
    for (int i = 0; i < 5; ++i) round();
    const std::size_t before = PrivateBytes();
    for (int i = 0; i < 40; ++i) round();
    const std::size_t after = PrivateBytes();
    // Each round decodes nine pictures, and each decoder takes hundreds of
    // kilobytes: 40 rounds leaked would be many MB.
    EXPECT_LT(after, before + 1024 * 1024) << before << " -> " << after;
}

}  // namespace
