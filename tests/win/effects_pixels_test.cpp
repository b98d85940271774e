// Picture effects and the calendar drawn through GDI+ with real pixels:
// masks, rotation, frame, the today ring and the day colours, and the
// shipped image files as GDI+ decodes them.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "compose/calendar.h"
#include "compose/effects.h"
#include "compose/imaging_gdiplus_win.h"
#include "engine/file_io.h"
#include "engine/paths.h"
#include "support/gdiplus_test_win.h"
#include "unit/test_util.h"

namespace {

using corv::Image;
using corv::PixelFormat;
using corv::RectI;
using corvtest::TempDir;

using corvtest::IsNear;
using corvtest::Rgb;

class FixedRandom : public corv::Random {
public:
    explicit FixedRandom(int value) : value_(value) {}
    int Next() override { return value_; }

private:
    int value_;
};

// The folder of this test program; the build puts the shipped effects and
// Masks folders there, beside the program.
std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return corv::DirectoryOf(path);
}

constexpr uint32_t kBlueArgb = 0xFF0000FF;
constexpr uint32_t kRedArgb = 0xFFFF0000;
const Rgb kBlue{0, 0, 255};
const Rgb kRed{255, 0, 0};

class EffectsPixels : public corvtest::GdiplusTest {
protected:
    // A one-colour image file, for masks.
    std::string SolidFile(const std::string& name, uint32_t argb) {
        auto image = Solid(16, 16, argb, PixelFormat::Rgb24);
        const std::string path = dir.File(name);
        EXPECT_TRUE(imaging.SaveImage(*image, path, "image/png"));
        return path;
    }

    // A red w x h picture drawn at (x, y) on a blue canvas through the
    // effects the settings ask for.
    std::unique_ptr<Image> Compose(int32_t cw, int32_t ch, int32_t w, int32_t h, int32_t x,
                                   int32_t y, int randomValue = 0) {
        auto canvas = Solid(cw, ch, kBlueArgb, PixelFormat::Rgb24);
        auto picture = Solid(w, h, kRedArgb, PixelFormat::Rgb24);
        FixedRandom random(randomValue);
        corv::EffectsContext ctx{settings, imaging, random, masks, programDir};
        auto surface = imaging.SurfaceOn(*canvas);
        if (settings.ismask)
            corv::DrawMaskedPicture(ctx, *surface, *picture, w, h, x, y);
        else
            corv::DrawPictureLayer(ctx, *surface, *picture, w, h, x, y);
        return canvas;
    }

    TempDir dir;
    corv::Settings settings;
    std::vector<std::string> masks;
    std::string programDir = dir.Path();
};

TEST_F(EffectsPixels, BlackMaskShowsWhiteMaskHidesGreyMaskBlends) {
    settings.ismask = true;
    struct Case {
        uint32_t maskArgb;
        Rgb centre;
    };
    for (const Case& c :
         {Case{0xFF000000, kRed}, Case{0xFFFFFFFF, kBlue}, Case{0xFF808080, Rgb{127, 0, 128}}}) {
        SCOPED_TRACE(c.maskArgb);
        settings.maskfilename = SolidFile("mask.png", c.maskArgb);
        auto canvas = Compose(200, 150, 100, 80, 50, 35);
        EXPECT_TRUE(IsNear(At(*canvas, 100, 75), c.centre, 6));
        EXPECT_TRUE(IsNear(At(*canvas, 60, 45), c.centre, 6));
        EXPECT_TRUE(IsNear(At(*canvas, 20, 20), kBlue, 0));  // outside the picture
    }
}

TEST_F(EffectsPixels, RotatedWhiteMaskHidesTheWholeSquareLayer) {
    settings.ismask = true;
    settings.isrotate = true;
    settings.rotatevalue = 90;
    settings.maskfilename = SolidFile("white.png", 0xFFFFFFFF);
    for (int randomValue : {45, 20}) {  // 0 and -25 degrees
        auto canvas = Compose(700, 600, 260, 195, 380, 360, randomValue);
        // Not one pixel of the 325 x 325 layer at (348, 295) may show, edges
        // and corners included.
        EXPECT_EQ(Count(*canvas, RectI{0, 0, 700, 600},
                        [](const Rgb& p) { return p.r != 0 || p.g != 0 || p.b != 255; }),
                  0)
            << randomValue;
    }
}

TEST_F(EffectsPixels, MaskThatDoesNotDecodeLeavesThePictureWhole) {
    settings.ismask = true;
    settings.maskfilename = dir.File("broken.gif");
    corvtest::WriteFile(settings.maskfilename, "GIF89a but nothing after it");
    for (bool rotate : {false, true}) {
        settings.isrotate = rotate;
        settings.rotatevalue = 90;
        auto canvas = Compose(200, 150, 100, 80, 50, 35, 45);  // angle 0
        EXPECT_TRUE(IsNear(At(*canvas, 100, 75), kRed, 0)) << rotate;
        EXPECT_TRUE(IsNear(At(*canvas, 55, 40), kRed, 8)) << rotate;
    }
}

TEST_F(EffectsPixels, RotatedPictureLetsTheBackgroundShowInItsCorners) {
    settings.isrotate = true;
    settings.rotatevalue = 90;
    // 75 mod 90 - 45 = 30 degrees; the picture's centre stays at (150, 150).
    auto canvas = Compose(300, 300, 100, 60, 100, 120, 75);
    EXPECT_TRUE(IsNear(At(*canvas, 150, 150), kRed, 2));
    // The square layer (116 x 116 from (92, 92)) is transparent in its corners.
    for (auto [x, y] : {std::pair<int, int>{94, 94}, {205, 94}, {94, 205}, {205, 205}})
        EXPECT_TRUE(IsNear(At(*canvas, x, y), kBlue, 0)) << x << "," << y;
    // Of four points near the straight picture's corners, the turn moves
    // one opposite pair out of the picture and keeps the other pair in it.
    auto isRed = [&](int dx, int dy) {
        const Rgb p = At(*canvas, 150 + dx, 150 + dy);
        EXPECT_TRUE(IsNear(p, kRed, 10) || IsNear(p, kBlue, 10)) << dx << "," << dy;
        return p.r > 128;
    };
    const bool a = isRed(-40, -20), b = isRed(40, 20), c = isRed(40, -20), d = isRed(-40, 20);
    EXPECT_EQ(a, b);
    EXPECT_EQ(c, d);
    EXPECT_NE(a, c);
}

TEST_F(EffectsPixels, FrameBandHasTheFrameColourAndADarkInnerLine) {
    settings.isframe = true;
    settings.framesize = 7;
    settings.framecolor = corv::ColorRef{0x0000FF00};  // green
    auto canvas = Compose(200, 160, 100, 80, 20, 30);
    const Rgb green{0, 255, 0};
    EXPECT_TRUE(IsNear(At(*canvas, 20 + 3, 30 + 40), green, 12));
    EXPECT_TRUE(IsNear(At(*canvas, 20 + 50, 30 + 4), green, 12));
    EXPECT_TRUE(IsNear(At(*canvas, 20 + 96, 30 + 40), green, 12));
    EXPECT_TRUE(IsNear(At(*canvas, 20 + 50, 30 + 40), kRed, 4));
    // The black line along the band's inner edge.
    EXPECT_GT(Count(*canvas, RectI{20 + 6, 30 + 40, 4, 1},
                    [](const Rgb& p) { return p.r < 90 && p.g < 90 && p.b < 90; }),
              0);
    // Without a shadow the layer's extra rows (80 and 81) stay transparent.
    EXPECT_TRUE(IsNear(At(*canvas, 20 + 50, 30 + 81), kBlue, 0));
}

TEST_F(EffectsPixels, ShippedShadowDarkensRightAndBelowOnly) {
    programDir = ProgramFolder();
    if (!corv::FileExists(corv::DropShadowPath(programDir)))
        GTEST_SKIP() << "no effects folder beside the test program";
    settings.isshadow = true;
    auto canvas = Compose(600, 400, 400, 300, 50, 40);  // layer 414 x 311
    EXPECT_TRUE(IsNear(At(*canvas, 250, 190), kRed, 0));
    auto darker = [&](int x, int y) {
        const Rgb p = At(*canvas, x, y);
        return p.b < 200 && p.r < 40 && p.g < 40;
    };
    EXPECT_TRUE(darker(50 + 404, 40 + 150));  // right of the picture
    EXPECT_TRUE(darker(50 + 200, 40 + 304));  // below it
    // The layer's top row and left column, above and left of the picture,
    // stay clear.
    EXPECT_TRUE(IsNear(At(*canvas, 50 + 200, 40), kBlue, 3));
    EXPECT_TRUE(IsNear(At(*canvas, 50, 40 + 150), kBlue, 3));
}

TEST_F(EffectsPixels, ShippedMasksDecodeAsBlackShapesOnWhite) {
    const std::string folder = corv::JoinPath(ProgramFolder(), "Masks");
    int found = 0;
    for (const char* name : {"circle.gif", "heart.gif", "star.gif", "rounded-square.gif",
                             "oval.gif", "cloud.gif", "film.gif", "vignette.gif"}) {
        const std::string path = corv::JoinPath(folder, name);
        if (!corv::FileExists(path)) continue;
        ++found;
        auto mask = imaging.LoadPicture(path);
        ASSERT_EQ(mask->Width(), 256) << name;
        ASSERT_EQ(mask->Height(), 256) << name;
        auto bitmap = Solid(256, 256, 0xFF00FF00, PixelFormat::Rgb24);
        imaging.SurfaceOn(*bitmap)->DrawImage(*mask, RectI{0, 0, 256, 256});
        EXPECT_TRUE(IsNear(At(*bitmap, 128, 140), Rgb{0, 0, 0}, 2)) << name;    // shows
        EXPECT_TRUE(IsNear(At(*bitmap, 1, 1), Rgb{255, 255, 255}, 2)) << name;  // hides
    }
    if (found == 0) GTEST_SKIP() << "no Masks folder beside the test program";
    EXPECT_EQ(found, 8);
}

TEST_F(EffectsPixels, TodaysNumberCarriesTheRing) {
    programDir = ProgramFolder();
    if (!corv::FileExists(corv::TodayMarkPath(programDir)))
        GTEST_SKIP() << "no effects folder beside the test program";
    auto draw = [&](int today) {
        auto canvas = Solid(1024, 768, 0xFF808080, PixelFormat::Rgb24);
        corv::LocalDate date;
        date.year = 2007;
        date.month = 1;
        date.day = today;
        corv::DrawCalendar(*imaging.SurfaceOn(*canvas), imaging, RectI{0, 0, 1024, 738}, date,
                           settings, {}, programDir);
        return canvas;
    };
    // Day 9 ends at x 442: its ring covers (418, 688) to (450, 720).
    auto reddish = [](const Rgb& p) { return p.r > 150 && p.g < 90 && p.b < 90; };
    auto marked = draw(9);
    auto plain = draw(40);
    EXPECT_GT(Count(*marked, RectI{418, 688, 32, 32}, reddish), 60);
    EXPECT_EQ(Count(*plain, RectI{418, 688, 32, 32}, reddish), 0);
    // A ring, not a disc: its middle keeps the number's surroundings.
    EXPECT_EQ(Count(*marked, RectI{430, 700, 8, 8}, reddish), 0);
}

TEST_F(EffectsPixels, SaturdayHolidayIsDrawnInTheSundayColour) {
    settings.ddfontname = "Tahoma";
    settings.isbold2 = true;
    settings.whitedaycolor = corv::ColorRef{0x00FFFFFF};
    settings.bluedaycolor = corv::ColorRef{0x00FF0000};  // pure blue
    settings.reddaycolor = corv::ColorRef{0x0000FF00};   // pure green, easy to tell apart
    auto draw = [&](const corv::SpecialDays& days) {
        auto canvas = Solid(1024, 768, 0xFF808080, PixelFormat::Rgb24);
        corv::DrawCalendar(*imaging.SurfaceOn(*canvas), imaging, RectI{0, 0, 1024, 738},
                           corv::LocalDate{2007, 1, 40, 0}, settings, days, programDir);
        return canvas;
    };
    auto green = [](const Rgb& p) { return p.g > 140 && p.r < 90 && p.b < 90; };
    auto blue = [](const Rgb& p) { return p.b > 140 && p.r < 90 && p.g < 90; };
    // 6 January 2007 is a Saturday; its number ends at x 382.
    const RectI six{362, 690, 24, 24};
    auto listed = draw({{"1.6", "holiday\n"}});
    auto plain = draw({});
    EXPECT_GT(Count(*listed, six, green), 8);
    EXPECT_EQ(Count(*listed, six, blue), 0);
    EXPECT_GT(Count(*plain, six, blue), 8);
    EXPECT_EQ(Count(*plain, six, green), 0);
}

}  // namespace
