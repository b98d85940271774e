// The composition on several monitors, through the recording doubles.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "compose/composer.h"
#include "engine/desktop_settings.h"
#include "support/composer_fixture.h"

using corv::MonitorArea;
using corv::RectI;
using corvtest::Composer;
using corvtest::CountPrefix;
using corvtest::Has;
using corvtest::PictureOnCanvas;

namespace {

struct TwoMonitors : Composer {
    TwoMonitors() { UseTwoMonitors(); }
};

// Where `picture` went on the canvas, without the part of it drawn.
std::string LayerAt(const Composer& c, const std::string& canvas, const std::string& picture) {
    const std::string at = PictureOnCanvas(c.imaging.log, canvas, picture);
    return at.substr(0, at.find(" from"));
}

}  // namespace

TEST(ComposerMonitors, EachMonitorGetsItsOwnPictureCentredOnIt) {
    TwoMonitors c;
    const std::string a = c.AddPicture("a.jpg", 400, 300);
    const std::string b = c.AddPicture("b.jpg", 300, 400);
    c.Change();
    EXPECT_TRUE(Has(c.imaging.log, "new bmp1 1824x768 rgb24"));
    // The primary's picture first, then the next one for the left monitor.
    EXPECT_EQ(LayerAt(c, "bmp1", a), "(1113,235,399,299)");
    EXPECT_EQ(LayerAt(c, "bmp1", b), "(251,101,299,399)");
    // The primary's picture is the current one (caption, open, delete).
    EXPECT_EQ(c.state.currentPicture, a);
}

TEST(ComposerMonitors, PreviousGoesBackOnThePrimaryAndTheOthersGoOn) {
    TwoMonitors c;
    const std::string a = c.AddPicture("a.jpg", 400, 300);
    const std::string b = c.AddPicture("b.jpg", 400, 300);
    const std::string d = c.AddPicture("d.jpg", 400, 300);
    c.Change();  // a on the primary, b on the left
    c.Change();  // d, a
    EXPECT_EQ(c.state.currentPicture, d);
    c.Change(-1);
    EXPECT_EQ(c.state.currentPicture, a);
    EXPECT_EQ(LayerAt(c, "bmp3", a), "(1113,235,399,299)");
    EXPECT_EQ(LayerAt(c, "bmp3", b), "(201,151,399,299)");  // the next after a
}

TEST(ComposerMonitors, SizeLimitIsThreeQuartersOfEachMonitor) {
    TwoMonitors c;
    c.state.settings.picmaxsize = 700;
    c.state.settings.notstrech = false;
    const std::string a = c.AddPicture("a.jpg", 1600, 1200);
    const std::string b = c.AddPicture("b.jpg", 1600, 1200);
    c.Change();
    EXPECT_EQ(c.imaging.needs[a].width, 700);  // 3/4 of 1024 is 760
    EXPECT_EQ(c.imaging.needs[b].width, 600);  // 3/4 of 800
    EXPECT_EQ(LayerAt(c, "bmp1", b).substr(0, 12), "(101,76,599,");
}

TEST(ComposerMonitors, CalendarAndCaptionAtThePrimaryWorkArea) {
    TwoMonitors c;
    const std::string a = c.AddPicture("a.jpg", 100, 100);
    c.AddPicture("b.jpg", 100, 100);
    c.state.settings.iscalender = true;
    c.Change();
    // The caption names the primary's picture, at its work area's corner.
    EXPECT_TRUE(Has(c.imaging.log, "bmp1: gradient (1224,720,600,12) 00000000 dc000000 0"));
    EXPECT_TRUE(Has(c.imaging.log, "bmp1: text \"" + a +
                                       "\" Tahoma 10 0 (1224,720,590,12) "
                                       "ff000000 far center"));
    // The calendar's day strip ends at the same corner.
    EXPECT_EQ(CountPrefix(c.imaging.log, "bmp1: gradient (1024,"), 1);
}

TEST(ComposerMonitors, FileIsLaidOutForTheTileStyleAndSetTiled) {
    TwoMonitors c;
    c.AddPicture("a.jpg", 100, 100);
    c.Change();
    const std::vector<std::string> expected = {"lock bmp1 (0,0,1824,768) rgb24 write",
                                               "unlock bmp1",
                                               "save bmp1 " + c.Wallpaper() + " image/bmp"};
    auto first = std::find(c.imaging.log.begin(), c.imaging.log.end(), expected[0]);
    ASSERT_NE(first, c.imaging.log.end());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), first));
    EXPECT_EQ(c.desktop.wallpapers, std::vector<std::string>{"tiled " + c.Wallpaper()});
    EXPECT_TRUE(c.state.tiledWallpaperSet);
}

TEST(ComposerMonitors, OneMonitorOrAnUnreadableListIsTodaysComposition) {
    Composer plain;
    Composer listed;
    listed.desktop.monitors = {MonitorArea{RectI{0, 0, 1024, 768}, RectI{0, 0, 1024, 740}, true}};
    Composer unreadable;
    unreadable.desktop.monitorListFails = true;
    for (Composer* c : {&plain, &listed, &unreadable}) {
        c->state.settings.iscalender = true;
        c->AddPicture("a.jpg", 400, 300);
        c->Change();
    }
    EXPECT_EQ(listed.imaging.log, plain.imaging.log);
    EXPECT_EQ(unreadable.imaging.log, plain.imaging.log);
    EXPECT_EQ(unreadable.desktop.wallpapers, std::vector<std::string>{plain.Wallpaper()});
    EXPECT_FALSE(unreadable.state.tiledWallpaperSet);
}

TEST(ComposerMonitors, SharedAndSpanningModes) {
    TwoMonitors shared;
    shared.state.settings.multimonitor = 1;
    const std::string a = shared.AddPicture("a.jpg", 400, 300);
    shared.Change();
    EXPECT_TRUE(Has(shared.imaging.log, "new bmp1 1024x768 rgb24"));
    EXPECT_EQ(LayerAt(shared, "bmp1", a), "(313,235,399,299)");
    EXPECT_EQ(shared.desktop.wallpapers, std::vector<std::string>{shared.Wallpaper()});

    TwoMonitors spanning;
    spanning.state.settings.multimonitor = 2;
    const std::string b = spanning.AddPicture("a.jpg", 400, 300);
    const std::string next = spanning.AddPicture("b.jpg", 400, 300);
    spanning.Change();
    EXPECT_TRUE(Has(spanning.imaging.log, "new bmp1 1824x768 rgb24"));
    EXPECT_EQ(LayerAt(spanning, "bmp1", b), "(713,235,399,299)");
    EXPECT_EQ(CountPrefix(spanning.imaging.log, "load P"), 1);  // one picture
    // Slot placement without slots centres there too, in file pixels.
    spanning.state.settings.imagepos = corv::ImagePos::Slots;
    spanning.Change();
    EXPECT_EQ(LayerAt(spanning, "bmp2", next), "(713,235,399,299)");
    EXPECT_EQ(spanning.desktop.wallpapers.back(), "tiled " + spanning.Wallpaper());
}

TEST(ComposerMonitors, SlotsAreTakenOnTheirMonitorAndSkippedWhileTheirsIsGone) {
    TwoMonitors c;
    c.state.settings.imagepos = corv::ImagePos::Slots;
    c.state.placementSlots = {{100, 100, 500, 400}, {5000, 0, 5400, 300}, {-700, 50, -300, 350}};
    const std::string a = c.AddPicture("a.jpg", 400, 300);
    const std::string b = c.AddPicture("b.jpg", 400, 300);
    c.Change();
    EXPECT_EQ(LayerAt(c, "bmp1", a), "(901,101,399,299)");
    EXPECT_EQ(LayerAt(c, "bmp1", b), "(101,51,399,299)");
    EXPECT_EQ(c.state.slotIndex, 0);  // past the last slot: round again
    EXPECT_EQ(c.state.placementSlots.size(), 3u);
    // The left monitor is gone: its slot is skipped, the others kept.
    c.desktop.monitors.erase(c.desktop.monitors.begin());
    c.state.placementSlots.push_back({-700, 400, -300, 700});
    c.Change();
    EXPECT_TRUE(Has(c.imaging.log, "new bmp2 1024x768 rgb24"));
    EXPECT_EQ(c.state.placementSlots.size(), 4u);
}

TEST(ComposerMonitors, RandomPlacementStaysInsideEachMonitor) {
    TwoMonitors c;
    c.state.settings.imagepos = corv::ImagePos::Random;
    const std::string a = c.AddPicture("a.jpg", 400, 300);
    const std::string b = c.AddPicture("b.jpg", 400, 300);
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        c.Change();
        const std::string canvas = "bmp" + std::to_string(round + 1);
        int ax = 0, ay = 0, bx = 0, by = 0;
        ASSERT_EQ(std::sscanf(LayerAt(c, canvas, a).c_str(), "(%d,%d", &ax, &ay), 2);
        ASSERT_EQ(std::sscanf(LayerAt(c, canvas, b).c_str(), "(%d,%d", &bx, &by), 2);
        EXPECT_TRUE(ax >= 800 && ax + 400 <= 1824 && ay >= 0 && ay + 300 <= 768) << ax << "," << ay;
        EXPECT_TRUE(bx >= 0 && bx + 400 <= 800 && by >= 0 && by + 300 <= 600) << bx << "," << by;
    }
}

TEST(ComposerMonitors, CollagePutsTheKeptFileBackInCanvasOrderAndALayoutChangeStartsFresh) {
    TwoMonitors c;
    c.state.settings.isoverlap = true;
    c.state.settings.imagepos = corv::ImagePos::Random;
    c.imaging.AddPicture(c.Wallpaper(), 1824, 768);
    c.AddPicture("a.jpg", 100, 100);
    c.Change();  // the first change of a run starts fresh
    c.Change();
    const std::vector<std::string> expected = {
        "load " + c.Wallpaper() + " 1824x768",
        "lock " + c.Wallpaper() + " (0,0,1824,768) rgb24 write", "unlock " + c.Wallpaper(),
        "bmp2: draw " + c.Wallpaper() + " (0,0,1824,768)"};
    auto first = std::find(c.imaging.log.begin(), c.imaging.log.end(), expected[0]);
    ASSERT_NE(first, c.imaging.log.end());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), first));
    // A monitor unplugged: the kept file no longer fits.
    c.desktop.monitors.erase(c.desktop.monitors.begin());
    c.Change();
    EXPECT_EQ(CountPrefix(c.imaging.log, "load " + c.Wallpaper()), 0);
    EXPECT_EQ(c.state.overlapCount, 1);
}

TEST(ComposerMonitors, WhereTheSystemSetsEachMonitorEachGetsAFileOfItsOwnSize) {
    for (int mode : {0, 2}) {  // a picture per monitor, one across the desktop
        SCOPED_TRACE(mode);
        TwoMonitors c;
        c.desktop.setsEachMonitor = true;
        c.state.settings.multimonitor = mode;
        c.AddPicture("a.jpg", 100, 100);
        c.AddPicture("b.jpg", 100, 100);
        c.Change();
        const std::string second = corv::OwnMonitorWallpaperPath(c.state.settings.programDir, 1);
        // The primary's part (right of the left monitor in the canvas), then
        // the left monitor's, each copied out at its own size.
        for (const std::string& line : {std::string("new bmp1 1824x768 rgb24"),
                                        std::string("lock bmp1 (800,0,1024,768) rgb24 read"),
                                        std::string("lock bmp1 (0,0,800,600) rgb24 read")})
            EXPECT_TRUE(Has(c.imaging.log, line)) << line;
        for (const std::string& file : {c.Wallpaper(), second})
            EXPECT_EQ(std::count_if(c.imaging.log.begin(), c.imaging.log.end(),
                                    [&file](const std::string& l) {
                                        return l.rfind("save bmp", 0) == 0 &&
                                               l.find(" " + file + " image/bmp") !=
                                                   std::string::npos;
                                    }),
                      1)
                << file;
        EXPECT_EQ(CountPrefix(c.imaging.log, "save bmp1"), 0);  // no tiled file
        EXPECT_EQ(c.desktop.wallpapers,
                  std::vector<std::string>{"each 0,0 1024x768 " + c.Wallpaper() +
                                           " -800,0 800x600 " + second});
        EXPECT_TRUE(c.state.eachMonitorSet);
        EXPECT_FALSE(c.state.tiledWallpaperSet);
    }
    // One monitor, or one composition for all: the one file, set as ever.
    TwoMonitors shared;
    shared.desktop.setsEachMonitor = true;
    shared.state.settings.multimonitor = 1;
    shared.AddPicture("a.jpg", 100, 100);
    shared.Change();
    EXPECT_EQ(shared.desktop.wallpapers, std::vector<std::string>{shared.Wallpaper()});
    EXPECT_FALSE(shared.state.eachMonitorSet);
}

TEST(ComposerMonitors, CollageOfEachMonitorsFileKeepsEveryFileAndStartsFreshWhenOneIsGone) {
    TwoMonitors c;
    c.desktop.setsEachMonitor = true;
    c.state.settings.isoverlap = true;
    c.state.settings.imagepos = corv::ImagePos::Random;
    const std::string second = corv::OwnMonitorWallpaperPath(c.state.settings.programDir, 1);
    c.imaging.AddPicture(c.Wallpaper(), 1024, 768);
    c.imaging.AddPicture(second, 800, 600);
    c.AddPicture("a.jpg", 100, 100);
    // The canvas of the latest change: the last bitmap of the desktop's size.
    const auto latestCanvas = [&c] {
        for (auto line = c.imaging.log.rbegin(); line != c.imaging.log.rend(); ++line)
            if (line->rfind("new bmp", 0) == 0 && line->find(" 1824x768 ") != std::string::npos)
                return line->substr(4, line->find(' ', 4) - 4);
        return std::string();
    };
    c.Change();  // the first change of a run starts fresh
    c.Change();
    const std::string canvas = latestCanvas();
    ASSERT_FALSE(canvas.empty());
    const std::vector<std::string> expected = {
        "load " + c.Wallpaper() + " 1024x768",
        canvas + ": draw " + c.Wallpaper() + " (800,0,1024,768)", "load " + second + " 800x600",
        canvas + ": draw " + second + " (0,0,800,600)"};
    for (const std::string& line : expected) EXPECT_TRUE(Has(c.imaging.log, line)) << line;
    EXPECT_EQ(CountPrefix(c.imaging.log, canvas + ": clear"), 0);
    // The left monitor's file is gone: a fresh canvas.
    c.imaging.pictures.erase(second);
    c.Change();
    const std::string fresh = latestCanvas();
    ASSERT_NE(fresh, canvas);
    EXPECT_EQ(CountPrefix(c.imaging.log, fresh + ": clear"), 1);
    EXPECT_EQ(c.state.overlapCount, 1);
}
