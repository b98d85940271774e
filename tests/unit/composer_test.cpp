#include "compose/composer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "compose/effects.h"
#include "engine/cycle.h"
#include "engine/paths.h"
#include "support/composer_fixture.h"

using corv::AppState;
using corv::JoinPath;
using corvtest::Composer;
using corvtest::CountPrefix;
using corvtest::Has;
using corvtest::PictureOnCanvas;
using corvtest::RecordingImaging;

TEST(ComposerGeometry, SmallPictureIsNotEnlargedWithNotStretch) {
    Composer c;
    const std::string p = c.AddPicture("small.jpg", 300, 200);
    c.Change();
    EXPECT_EQ(PictureOnCanvas(c.imaging.log, "bmp1", p), "(363,285,299,199) from (0,0,300,200)");
    c.state.settings.notstrech = false;
    c.Change();
    EXPECT_EQ(PictureOnCanvas(c.imaging.log, "bmp2", p), "(313,252,399,265) from (0,0,300,200)");
}

TEST(ComposerGeometry, FitPictureSizeKeepsAspectAndHandlesBadLimits) {
    EXPECT_EQ(corv::FitPictureSize(300, 200, 400, false).height, 266);
    EXPECT_EQ(corv::FitPictureSize(200, 300, 400, false).width, 266);
    EXPECT_EQ(corv::FitPictureSize(200, 300, 400, true).width, 200);
    EXPECT_EQ(corv::FitPictureSize(4000, 3000, -5, false).width, 400);  // default limit
    EXPECT_EQ(corv::FitPictureSize(0, 300, 400, false).width, 0);
}

TEST(ComposerGeometry, SlotsAlternateAndLimitBySlotWidth) {
    Composer c;
    c.state.settings.imagepos = corv::ImagePos::Slots;
    c.state.settings.notstrech = false;
    c.state.placementSlots = {{10, 20, 510, 420}, {600, 100, 800, 700}};
    const std::string p = c.AddPicture("wide.jpg", 400, 300);
    c.Change();
    EXPECT_EQ(PictureOnCanvas(c.imaging.log, "bmp1", p), "(11,33,499,374) from (0,0,400,300)");
    c.Change();
    EXPECT_EQ(PictureOnCanvas(c.imaging.log, "bmp2", p), "(601,326,199,149) from (0,0,400,300)");
    c.Change();
    EXPECT_EQ(PictureOnCanvas(c.imaging.log, "bmp3", p), "(11,33,499,374) from (0,0,400,300)");
}

TEST(ComposerGeometry, SlotIndexOffAShortenedListStartsAtTheFirstSlot) {
    // The slot editor shortened the list below the index the composer kept.
    for (const int32_t index : {2, 5, -1}) {
        SCOPED_TRACE(index);
        Composer c;
        c.state.settings.imagepos = corv::ImagePos::Slots;
        c.state.settings.notstrech = false;
        c.state.placementSlots = {{10, 20, 510, 420}, {600, 100, 800, 700}};
        c.state.slotIndex = index;
        const std::string p = c.AddPicture("wide.jpg", 400, 300);
        c.Change();
        EXPECT_EQ(PictureOnCanvas(c.imaging.log, "bmp1", p), "(11,33,499,374) from (0,0,400,300)");
        EXPECT_EQ(c.state.slotIndex, 1);
    }
}

TEST(ComposerGeometry, DegenerateSlotsTakeTheNearestAllowedSize) {
    // An empty line of poslist.txt gives 0,0,0,0; a slot drawn backwards has
    // a negative width. They hold pictures at the nearest allowed size.
    const struct {
        const char* name;
        corv::SlotRect slot;
        const char* placed;
    } cases[] = {
        {"empty line", {0, 0, 0, 0}, "(1,26,199,149) from (0,0,400,300)"},
        {"backwards", {300, 300, 100, 250}, "(301,326,199,149) from (0,0,400,300)"},
        {"no height", {40, 40, 340, 40}, "(41,29,299,224) from (0,0,400,300)"},
        // A slot with a size, however small, is used as it is.
        {"small", {40, 40, 140, 640}, "(41,303,99,74) from (0,0,400,300)"},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(t.name);
        Composer c;
        c.state.settings.imagepos = corv::ImagePos::Slots;
        c.state.settings.notstrech = false;
        c.state.placementSlots = {t.slot};
        const std::string p = c.AddPicture("wide.jpg", 400, 300);
        c.Change();
        EXPECT_EQ(PictureOnCanvas(c.imaging.log, "bmp1", p), t.placed);
    }
}

TEST(ComposerGeometry, NoSlotsMeansCentredWithPictureLimit) {
    Composer c;
    c.state.settings.imagepos = corv::ImagePos::Slots;
    const std::string p = c.AddPicture("a.jpg", 800, 600);
    c.Change();
    EXPECT_EQ(PictureOnCanvas(c.imaging.log, "bmp1", p), "(313,235,399,299) from (0,0,800,600)");
}

TEST(ComposerGeometry, BackgroundImageFitsWithoutStretch) {
    Composer c;
    c.state.settings.isbackimg = true;
    c.state.settings.isstretch = false;
    c.state.settings.backimagename = "back.jpg";
    c.imaging.AddPicture("back.jpg", 1920, 1080);
    c.Change();
    EXPECT_TRUE(Has(c.imaging.log, "bmp1: draw back.jpg (0,96,1024,576)"));
    c.state.settings.isstretch = true;
    c.Change();
    EXPECT_TRUE(Has(c.imaging.log, "bmp2: draw back.jpg (0,0,1024,768)"));
}

// Every load says how large the composer will draw it, so a big photo can be
// decoded smaller; the kept wallpaper and the effect images are read whole.
TEST(ComposerGeometry, LoadsAskForTheSizeTheyAreDrawnAt) {
    auto need = [](const RecordingImaging& imaging, const std::string& path) {
        const auto it = imaging.needs.find(path);
        if (it == imaging.needs.end()) return std::string("not loaded");
        return std::to_string(it->second.width) + "x" + std::to_string(it->second.height) +
               (it->second.stretched ? " stretched" : " fitted");
    };
    Composer c;
    c.state.settings.isbackimg = true;
    c.state.settings.isstretch = false;
    c.state.settings.backimagename = "back.jpg";
    c.state.settings.isshadow = true;
    c.imaging.AddPicture("back.jpg", 6000, 4000);
    const std::string p = c.AddPicture("photo.jpg", 6000, 4000);
    c.Change();
    EXPECT_EQ(need(c.imaging, "back.jpg"), "1024x768 fitted");
    EXPECT_EQ(need(c.imaging, p), "400x400 fitted");
    EXPECT_EQ(need(c.imaging, corv::DropShadowPath("prog")), "0x0 fitted");
    c.state.settings.isstretch = true;
    c.state.settings.picmaxsize = -3;  // the default limit
    c.Change();
    EXPECT_EQ(need(c.imaging, "back.jpg"), "1024x768 stretched");
    EXPECT_EQ(need(c.imaging, p), "400x400 fitted");

    // Slots: the next slot's width, as the picture is sized.
    c.state.settings.imagepos = corv::ImagePos::Slots;
    c.state.placementSlots = {{10, 20, 510, 420}, {600, 100, 800, 700}};
    c.Change();
    EXPECT_EQ(need(c.imaging, p), "500x500 fitted");
    c.Change();
    EXPECT_EQ(need(c.imaging, p), "200x200 fitted");

    // The collage's kept wallpaper is locked and greyed: always whole.
    c.state.settings.isoverlap = true;
    c.state.settings.isbackgray = true;
    c.imaging.AddPicture(c.Wallpaper(), 1024, 768);
    c.Change();
    EXPECT_EQ(need(c.imaging, c.Wallpaper()), "0x0 fitted");
}

TEST(ComposerGeometry, FitBackgroundRectCases) {
    auto s = [](corv::RectF r) { return corvtest::Str(r); };
    EXPECT_EQ(s(corv::FitBackgroundRect(1920, 1080, 1024, 768)), "(0,96,1024,576)");
    EXPECT_EQ(s(corv::FitBackgroundRect(800, 600, 1024, 768)), "(112,84,800,600)");
    EXPECT_EQ(s(corv::FitBackgroundRect(1000, 2000, 1024, 768)), "(320,0,384,768)");
    EXPECT_EQ(s(corv::FitBackgroundRect(2048, 1536, 1024, 768)), "(0,0,1024,768)");
}

TEST(ComposerBase, FreshCanvasUsesBackColourOrDesktopColour) {
    Composer c;
    c.state.settings.backcolor = corv::Argb{0xFF112233u};
    c.state.settings.desktopColor = corv::Argb{0xFF445566u};
    c.Change();
    EXPECT_TRUE(Has(c.imaging.log, "bmp1: clear ff112233"));
    c.state.settings.isbackcolor = false;
    c.Change();
    EXPECT_TRUE(Has(c.imaging.log, "bmp2: clear ff445566"));
}

TEST(ComposerBase, CollageKeepsCountPicturesThenStartsFresh) {
    // With two monitors a change adds one picture to each monitor's collage.
    for (const bool twoMonitors : {false, true}) {
        SCOPED_TRACE(twoMonitors);
        Composer c;
        if (twoMonitors) c.UseTwoMonitors();
        c.state.settings.isoverlap = true;
        c.state.settings.imagepos = corv::ImagePos::Random;
        c.state.settings.piccleartotalcnt = 3;
        c.imaging.AddPicture(c.Wallpaper(), twoMonitors ? 1824 : 1024, 768);
        c.AddPicture("a.jpg", 100, 100);
        std::vector<bool> fresh;
        for (int i = 0; i < 5; ++i) {
            c.Change();
            fresh.push_back(CountPrefix(c.imaging.log, "load " + c.Wallpaper()) == 0);
            EXPECT_EQ(c.state.overlapCount, i < 3 ? i + 1 : i - 2) << i;
        }
        EXPECT_EQ(fresh, (std::vector<bool>{true, false, false, true, false}));
    }
}

TEST(ComposerBase, CollageNeverWithCentredPlacement) {
    Composer c;
    c.state.settings.isoverlap = true;
    c.state.settings.imagepos = corv::ImagePos::Centred;
    c.imaging.AddPicture(c.Wallpaper(), 1024, 768);
    c.AddPicture("a.jpg", 100, 100);
    c.Change();
    c.Change();
    EXPECT_EQ(CountPrefix(c.imaging.log, "load " + c.Wallpaper()), 0);
}

TEST(ComposerBase, CollageGreysTheKeptWallpaper) {
    Composer c;
    c.state.settings.isoverlap = true;
    c.state.settings.isbackgray = true;
    c.state.settings.imagepos = corv::ImagePos::Random;
    c.state.freshCanvasRequested = 0;
    c.state.overlapCount = 1;
    c.imaging.AddPicture(c.Wallpaper(), 1024, 768);
    c.Change();
    const std::vector<std::string> expected = {
        "load " + c.Wallpaper() + " 1024x768",
        "lock " + c.Wallpaper() + " (0,0,1024,768) rgb24 write", "unlock " + c.Wallpaper(),
        "bmp1: draw " + c.Wallpaper() + " (0,0,1024,768)"};
    auto first = std::find(c.imaging.log.begin(), c.imaging.log.end(), expected[0]);
    ASSERT_NE(first, c.imaging.log.end());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), first));
}

TEST(ComposerBase, MissingKeptWallpaperStartsAFreshCanvas) {
    Composer c;
    c.state.settings.isoverlap = true;
    c.state.settings.imagepos = corv::ImagePos::Random;
    c.state.settings.backcolor = corv::Argb{0xFF485573u};
    c.state.freshCanvasRequested = 0;
    c.state.overlapCount = 2;
    c.Change();
    EXPECT_TRUE(Has(c.imaging.log, "load " + c.Wallpaper() + " failed"));
    EXPECT_TRUE(Has(c.imaging.log, "bmp1: clear ff485573"));
    EXPECT_EQ(c.state.overlapCount, 0);
}

TEST(ComposerPicture, RandomPlacementMirrorsWhenLastCentreIsCovered) {
    Composer c;
    c.state.settings.imagepos = corv::ImagePos::Random;
    c.random = corvtest::ScriptedRandom({100, 50, 100, 50});
    c.clock.tick = 1;
    const std::string p = c.AddPicture("a.jpg", 200, 100);  // 200 x 100 (not enlarged)
    // x = 100 % (1024-200-20) + 10 = 110, y = 50 % (768-100-20) + 10 = 60.
    c.state.lastCentre = {-5000, -5000};
    c.Change();
    EXPECT_EQ(PictureOnCanvas(c.imaging.log, "bmp1", p), "(111,61,199,99) from (0,0,200,100)");
    EXPECT_EQ(c.state.lastCentre.x, 210);
    EXPECT_EQ(c.state.lastCentre.y, 110);
    // Same numbers again: the old centre lies inside, so the new centre is
    // mirrored through the screen centre: (1024-210, 768-110).
    c.Change();
    EXPECT_EQ(PictureOnCanvas(c.imaging.log, "bmp2", p), "(715,609,199,99) from (0,0,200,100)");
    EXPECT_EQ(c.state.lastCentre.x, 814);
    EXPECT_EQ(c.state.lastCentre.y, 658);
}

TEST(ComposerPicture, RandomPlacementCentresWhenNoRoomIsLeft) {
    AppState state;
    state.settings.imagepos = corv::ImagePos::Random;
    corvtest::ScriptedRandom random({1234});
    corvtest::FixedClock clock;
    const corv::PointI at = corv::PlacePicture(state, 1024, 768, 300, 760, random, clock);
    EXPECT_EQ(at.y, 4);  // centred: (768 - 760) / 2
    EXPECT_EQ(at.x, 1234 % (1024 - 300 - 20) + 10);
    const corv::PointI other = corv::PlacePicture(state, 1024, 768, 1100, 100, random, clock);
    EXPECT_EQ(other.x, -38);
}

TEST(ComposerPicture, UnknownPlacementModeIsTopLeft) {
    AppState state;
    state.settings.imagepos = static_cast<corv::ImagePos>(7);
    corvtest::ScriptedRandom random;
    corvtest::FixedClock clock;
    const corv::PointI at = corv::PlacePicture(state, 1024, 768, 100, 100, random, clock);
    EXPECT_EQ(at.x, 0);
    EXPECT_EQ(at.y, 0);
}

TEST(ComposerPicture, UndecodablePictureKeepsCountButCaptionStays) {
    Composer c;
    c.fs.AddFile("P", "broken.jpg");
    c.state.pictureList = {JoinPath("P", "broken.jpg"), "other"};
    c.state.overlapCount = 0;
    c.Change();
    EXPECT_EQ(c.state.overlapCount, 0);
    EXPECT_EQ(CountPrefix(c.imaging.log, "bmp1: draw"), 0);
    EXPECT_EQ(CountPrefix(c.imaging.log, "bmp1: text"), 2);
}

TEST(ComposerPicture, NoPictureLayerWhenSwitchedOff) {
    Composer c;
    c.AddPicture("a.jpg", 100, 100);
    c.state.settings.isforeimg = false;
    c.Change();
    EXPECT_EQ(c.state.currentPicture, "");
    EXPECT_EQ(CountPrefix(c.imaging.log, "bmp1: text"), 0);
    EXPECT_EQ(CountPrefix(c.imaging.log, "bmp1: draw"), 0);
}

// The start's own change shows a picture; a previous right after it has
// nothing to go back to.
TEST(ComposerPicture, PreviousRightAfterStartDrawsNothing) {
    Composer c;
    const std::string a = c.AddPicture("a.jpg", 100, 100);
    c.Change(0);
    ASSERT_EQ(c.state.currentPicture, a);
    ASSERT_EQ(CountPrefix(c.imaging.log, "load " + a), 1);
    c.Change(-1);
    EXPECT_EQ(c.state.currentPicture, "");
    EXPECT_EQ(CountPrefix(c.imaging.log, "load " + a), 0);
    EXPECT_EQ(CountPrefix(c.imaging.log, "bmp2: draw"), 0);
}

TEST(ComposerCaption, BarAndShadowedTextAtWorkAreaCorner) {
    Composer c;
    c.desktop.workArea = {0, 0, 1000, 700};
    const std::string p = c.AddPicture("a.jpg", 100, 100);
    c.Change();
    const std::vector<std::string> expected = {
        "bmp1: gradient (400,680,600,12) 00000000 dc000000 0",
        "bmp1: text \"" + p + "\" Tahoma 10 0 (400,680,590,12) ff000000 far center",
        "bmp1: text \"" + p + "\" Tahoma 10 0 (399,680,590,12) ffffffff far center"};
    auto first = std::find(c.imaging.log.begin(), c.imaging.log.end(), expected[0]);
    ASSERT_NE(first, c.imaging.log.end());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), first));
}

// The display's DPI, as the program reads it at start, sizes the caption
// and the calendar of every composition; on a work area too narrow for
// them at that scale they shrink until they fit, and no further than 100 %.
TEST(ComposerCaption, CaptionAndCalendarFollowTheDisplayScale) {
    struct Case {
        int dpi;
        int32_t workWidth;
        std::string bar, shadow, text, strip;  // no text checked where empty
    };
    const Case cases[] = {
        {144, 2000, "(1100,670,900,18)", "Tahoma 15 0 (1100,670,885,18) ff000000",
         "Tahoma 15 0 (1098.5,670,885,18) ffffffff", "(800,634,1200,24)"},
        {192, 2000, "(800,660,1200,24)", "Tahoma 20 0 (800,660,1180,24) ff000000",
         "Tahoma 20 0 (798,660,1180,24) ffffffff", "(400,612,1600,32)"},
        // 1000 pixels: the caption at 160 DPI, the day strip at 120.
        {192, 1000, "(0,667,1000,20)", "", "", "(0,645,1000,20)"},
        // 700 pixels: the caption at 112 DPI; the strip as at 96 DPI, past
        // the edge as ever.
        {144, 700, "(0,677,700,14)", "", "", "(-100,656,800,16)"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::to_string(k.dpi) + " DPI, " + std::to_string(k.workWidth));
        Composer c;
        c.desktop.workArea = {0, 0, k.workWidth, 700};
        c.state.screenDpi = k.dpi;
        c.state.settings.iscalender = true;
        const std::string p = c.AddPicture("a.jpg", 100, 100);
        c.Change();
        std::vector<std::string> expected = {"bmp1: gradient " + k.bar + " 00000000 dc000000 0"};
        if (!k.shadow.empty()) {
            expected.push_back("bmp1: text \"" + p + "\" " + k.shadow + " far center");
            expected.push_back("bmp1: text \"" + p + "\" " + k.text + " far center");
        }
        auto first = std::find(c.imaging.log.begin(), c.imaging.log.end(), expected[0]);
        ASSERT_NE(first, c.imaging.log.end());
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), first));
        EXPECT_EQ(CountPrefix(c.imaging.log, "bmp1: gradient " + k.strip), 1);
    }
}

// The caption follows the picture shown, not the list: the last picture of
// a random round has one, a rescan that finds nothing draws no bar.
TEST(ComposerCaption, FollowsThePathShown) {
    Composer c;
    c.state.settings.israndum = true;
    c.AddPicture("a.jpg", 100, 100);
    c.Change();  // the only picture leaves the list
    EXPECT_TRUE(c.state.pictureList.empty());
    EXPECT_EQ(CountPrefix(c.imaging.log, "bmp1: gradient"), 1);
    EXPECT_EQ(CountPrefix(c.imaging.log, "bmp1: text"), 2);
    c.state.folderList = corvtest::Folders({"empty,0"});  // the rescan finds nothing
    c.Change();
    EXPECT_EQ(c.state.currentPicture, "");
    EXPECT_EQ(CountPrefix(c.imaging.log, "bmp2: gradient"), 0);
    EXPECT_EQ(CountPrefix(c.imaging.log, "bmp2: text"), 0);
}

// A new date in collage mode: the recompose starts on a fresh canvas, so
// the old calendar is not kept beside the new one.
TEST(ComposerBase, NewDateStartsAFreshCollage) {
    Composer c;
    c.state.settings.isoverlap = true;
    c.state.settings.imagepos = corv::ImagePos::Random;
    c.state.settings.iscalender = true;
    c.imaging.AddPicture(c.Wallpaper(), 1024, 768);
    c.AddPicture("a.jpg", 100, 100);
    c.Change();
    c.state.lastDateText = corv::FormatDateText(c.clock.today);
    c.Change();
    EXPECT_EQ(CountPrefix(c.imaging.log, "load " + c.Wallpaper()), 1);  // kept
    c.clock.today = corv::LocalDate{2007, 6, 1, 5};
    ASSERT_TRUE(corv::CheckDate(c.state, c.clock.today).recompose);
    c.Change();
    EXPECT_EQ(CountPrefix(c.imaging.log, "load " + c.Wallpaper()), 0);
    EXPECT_EQ(c.state.overlapCount, 1);
}

TEST(ComposerOutput, SavesInPlaceThenSetsTheWallpaper) {
    Composer c;
    c.Change();
    // The save itself replaces the file in one step.
    EXPECT_TRUE(Has(c.imaging.log, "save bmp1 " + c.Wallpaper() + " image/bmp"));
    EXPECT_EQ(c.desktop.wallpapers, std::vector<std::string>{c.Wallpaper()});
    EXPECT_EQ(c.state.screenWidth, 1024);
}

TEST(ComposerOutput, NoScreenNoComposition) {
    Composer c;
    c.desktop.screen = {0, 0};
    c.Change();
    EXPECT_TRUE(c.imaging.log.empty());
    EXPECT_TRUE(c.desktop.wallpapers.empty());
}

TEST(ComposerGray, WeightsAndOddStrides) {
    // Two rows of 3 pixels with 5 padding bytes per row.
    std::vector<uint8_t> bytes(2 * 14, 0xEE);
    const uint8_t pixels[6][3] = {{255, 0, 0},  {0, 255, 0},     {0, 0, 255},
                                  {10, 20, 30}, {255, 255, 255}, {1, 2, 3}};
    for (int i = 0; i < 6; ++i)
        std::copy(pixels[i], pixels[i] + 3, bytes.begin() + (i / 3) * 14 + (i % 3) * 3);
    corv::PixelBuffer buffer;
    buffer.scan0 = bytes.data();
    buffer.stride = 14;
    buffer.width = 3;
    buffer.height = 2;
    corv::MakeGray(buffer);
    // Bytes are B, G, R: g = (11 B + 30 R + 59 G) / 100.
    const int expected[6] = {28, 150, 76, 21, 255, 2};
    for (int i = 0; i < 6; ++i)
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(bytes[(i / 3) * 14 + (i % 3) * 3 + k], expected[i]) << i;
    for (int row = 0; row < 2; ++row)
        for (int pad = 9; pad < 14; ++pad) EXPECT_EQ(bytes[row * 14 + pad], 0xEE);
}

TEST(ComposerLayers, CalendarComesLastAtTheWorkAreaCorner) {
    Composer c;
    c.state.settings.iscalender = true;
    c.desktop.workArea = {0, 0, 1000, 700};
    c.AddPicture("a.jpg", 100, 100);
    c.Change();
    const auto title = std::find(c.imaging.log.begin(), c.imaging.log.end(),
                                 "bmp1: gradient (800,618,200,30) 01010000 d2000000 0");
    const auto caption = std::find(c.imaging.log.begin(), c.imaging.log.end(),
                                   "bmp1: gradient (400,680,600,12) 00000000 dc000000 0");
    ASSERT_NE(title, c.imaging.log.end());
    ASSERT_NE(caption, c.imaging.log.end());
    EXPECT_LT(caption, title);
}

TEST(ComposerLayers, MaskModeDrawsThroughTheMask) {
    Composer c;
    c.state.settings.ismask = true;
    c.state.settings.isshadow = true;  // never drawn with a mask
    c.state.settings.maskfilename = "heart.gif";
    c.imaging.AddPicture("heart.gif", 256, 256);
    const std::string p = c.AddPicture("a.jpg", 400, 300);
    c.Change();
    EXPECT_TRUE(Has(c.imaging.log, "load heart.gif 256x256"));
    EXPECT_TRUE(Has(c.imaging.log, "bmp2: draw " + p + " (0,0,400,300) from (0,0,400,300)"));
    EXPECT_EQ(CountPrefix(c.imaging.log,
                          "load " + JoinPath(JoinPath("prog", "effects"), "dropshadow.png")),
              0);
}

// A photo whose camera recorded a quarter turn is turned before it is
// measured: its sides change places for sizing and placing. One without the
// tag is not touched.
TEST(ComposerPicture, PhotosStandAsTakenBeforeSizing) {
    for (int orientation = 1; orientation <= 8; ++orientation) {
        Composer c;
        c.fs.AddFile("P", "phone.jpg");
        const std::string path = JoinPath("P", "phone.jpg");
        c.imaging.AddPicture(path, 400, 300, 24, orientation);
        c.state.pictureList = {path};
        c.Change();
        const auto orients = c.imaging.Lines("orient ");
        if (orientation == 1) {
            EXPECT_TRUE(orients.empty());
        } else {
            EXPECT_EQ(orients, std::vector<std::string>{"orient " + path + " " +
                                                        std::to_string(orientation)});
        }
        // 400 x 300 stored; the picture limit is 400 on the longer side.
        const std::string drawn = PictureOnCanvas(c.imaging.log, "bmp1", path);
        const bool turned = orientation >= 5;
        EXPECT_EQ(drawn, turned ? "(363,185,299,399) from (0,0,300,400)"
                                : "(313,235,399,299) from (0,0,400,300)")
            << orientation;
    }
}
