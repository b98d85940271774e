#include "compose/monitor_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using corv::MonitorArea;
using corv::MonitorMode;
using corv::RectI;

namespace {

MonitorArea Screen(int x, int y, int w, int h, bool primary = false) {
    return MonitorArea{RectI{x, y, w, h}, RectI{x, y, w, h - 28}, primary};
}

std::string Text(const RectI& r) {
    return std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.width) + "x" +
           std::to_string(r.height);
}

std::string Regions(const corv::WallpaperPlan& plan) {
    std::string out;
    for (const RectI& r : plan.regions) out += (out.empty() ? "" : " | ") + Text(r);
    return out;
}

}  // namespace

TEST(MonitorLayout, PlansOfLayouts) {
    struct Case {
        const char* name;
        std::vector<MonitorArea> monitors;
        MonitorMode mode;
        const char* canvas;
        const char* regions;
        const char* work;
        bool tiled;
        int shiftX, shiftY;
    };
    const Case cases[] = {
        {"one monitor",
         {Screen(0, 0, 1024, 768, true)},
         MonitorMode::PerMonitor,
         "0,0 1024x768",
         "0,0 1024x768",
         "0,0 1024x740",
         false,
         0,
         0},
        {"primary on the right, the other at negative x",
         {Screen(-800, 0, 800, 600), Screen(0, 0, 1024, 768, true)},
         MonitorMode::PerMonitor,
         "-800,0 1824x768",
         "800,0 1024x768 | 0,0 800x600",
         "800,0 1024x740",
         true,
         1024,
         0},
        {"stacked, the other above",
         {Screen(0, 0, 1024, 768, true), Screen(0, -600, 800, 600)},
         MonitorMode::PerMonitor,
         "0,-600 1024x1368",
         "0,600 1024x768 | 0,0 800x600",
         "0,600 1024x740",
         true,
         0,
         768},
        {"portrait beside landscape",
         {Screen(0, 0, 1920, 1080, true), Screen(1920, -420, 1080, 1920)},
         MonitorMode::PerMonitor,
         "0,-420 3000x1920",
         "0,420 1920x1080 | 1920,0 1080x1920",
         "0,420 1920x1052",
         true,
         0,
         1500},
        {"three monitors of different sizes",
         {Screen(-1280, 0, 1280, 1024), Screen(0, 0, 1920, 1080, true),
          Screen(1920, 0, 1080, 1920)},
         MonitorMode::PerMonitor,
         "-1280,0 4280x1920",
         "1280,0 1920x1080 | 0,0 1280x1024 | 3200,0 1080x1920",
         "1280,0 1920x1052",
         true,
         3000,
         0},
        {"one composition for every monitor",
         {Screen(-800, 0, 800, 600), Screen(0, 0, 1024, 768, true)},
         MonitorMode::Shared,
         "0,0 1024x768",
         "0,0 1024x768",
         "0,0 1024x740",
         false,
         0,
         0},
        {"one picture across the desktop",
         {Screen(-800, 0, 800, 600), Screen(0, 0, 1024, 768, true)},
         MonitorMode::Spanning,
         "-800,0 1824x768",
         "0,0 1824x768",
         "800,0 1024x740",
         true,
         1024,
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto monitors = corv::UsableMonitors(c.monitors, {1024, 768}, RectI{0, 0, 1024, 740});
        const corv::WallpaperPlan plan = corv::PlanWallpaper(monitors, c.mode);
        EXPECT_EQ(Text(plan.canvas), c.canvas);
        EXPECT_EQ(Regions(plan), c.regions);
        EXPECT_EQ(Text(plan.workArea), c.work);
        EXPECT_EQ(plan.tiled, c.tiled);
        EXPECT_EQ(plan.tileShift.x, c.shiftX);
        EXPECT_EQ(plan.tileShift.y, c.shiftY);
    }
}

TEST(MonitorLayout, BadListsGiveUsableMonitors) {
    const corv::SizeI screen{1024, 768};
    const RectI work{0, 0, 1024, 740};
    // Nothing listed, or only monitors of zero size: the primary screen.
    for (const auto& listed :
         {std::vector<MonitorArea>{},
          std::vector<MonitorArea>{Screen(0, 0, 0, 768, true), Screen(5, 5, 100, 0)}}) {
        const auto m = corv::UsableMonitors(listed, screen, work);
        ASSERT_EQ(m.size(), 1u);
        EXPECT_EQ(Text(m[0].area), "0,0 1024x768");
        EXPECT_EQ(Text(m[0].work), "0,0 1024x740");
        EXPECT_TRUE(m[0].primary);
    }
    // No primary marked, or two: the monitor at 0,0 is primary and first.
    for (bool marked : {false, true}) {
        const auto m = corv::UsableMonitors(
            {Screen(-800, 0, 800, 600, marked), Screen(0, 0, 1024, 768, marked)}, screen, work);
        ASSERT_EQ(m.size(), 2u);
        EXPECT_EQ(Text(m[0].area), "0,0 1024x768");
        EXPECT_TRUE(m[0].primary);
        EXPECT_FALSE(m[1].primary);
    }
    // A work area without size is the whole monitor.
    const auto m =
        corv::UsableMonitors({MonitorArea{RectI{0, 0, 640, 480}, RectI{}, true}}, screen, work);
    EXPECT_EQ(Text(m[0].work), "0,0 640x480");
}

TEST(MonitorLayout, SixteenBitExtremesStayInRangeAndFallBackToThePrimary) {
    const auto m =
        corv::UsableMonitors({Screen(0, 0, 1024, 768, true), Screen(-32768, -32768, 1000, 1000),
                              Screen(32000, 32000, 2147483647, 2147483647)},
                             {1024, 768}, RectI{0, 0, 1024, 740});
    ASSERT_EQ(m.size(), 3u);
    EXPECT_EQ(Text(m[2].area), "32000,32000 767x767");
    EXPECT_EQ(Text(corv::BoundingBox(m)), "-32768,-32768 65535x65535");
    // Far too large for one file: the primary alone, as with one monitor.
    const corv::WallpaperPlan plan = corv::PlanWallpaper(m, MonitorMode::PerMonitor);
    EXPECT_EQ(Text(plan.canvas), "0,0 1024x768");
    EXPECT_FALSE(plan.tiled);
}

TEST(MonitorLayout, TileShiftShowsEveryMonitorPixelForPixel) {
    // A 6 x 2 desktop of one-byte pixels: a 2-wide monitor at x -2 beside a
    // 4-wide primary at 0. The tile style shows file pixel (x mod 6) at x.
    const RectI box{-2, 0, 6, 2};
    const corv::PointI shift = corv::TileShift(box, RectI{0, 0, 4, 2});
    EXPECT_EQ(shift.x, 4);
    EXPECT_EQ(shift.y, 0);
    std::vector<uint8_t> canvas = {10, 11, 12, 13, 14, 15, 20, 21, 22, 23, 24, 25};
    corv::PixelBuffer buffer{canvas.data(), 6, 6, 2, corv::PixelFormat::Rgb24, nullptr};
    corv::ShiftCyclically(buffer, shift.x, shift.y, 1);
    for (int y = 0; y < 2; ++y)
        for (int x = -2; x < 4; ++x) {
            const int file = ((x % 6) + 6) % 6;
            EXPECT_EQ(canvas[static_cast<size_t>(y * 6 + file)], 10 * (y + 1) + (x + 2))
                << x << "," << y;
        }
    // Back again, for the kept wallpaper of a collage.
    corv::ShiftCyclically(buffer, -shift.x, -shift.y, 1);
    EXPECT_EQ(canvas, (std::vector<uint8_t>{10, 11, 12, 13, 14, 15, 20, 21, 22, 23, 24, 25}));
}

TEST(MonitorLayout, ShiftMovesRowsAndWholePixelsWithAnyStride) {
    // 2 x 3 pixels of 3 bytes in rows of 8 bytes: the padding stays.
    std::vector<uint8_t> rows = {1, 1, 1, 2, 2, 2, 0, 0, 3, 3, 3, 4,
                                 4, 4, 0, 0, 5, 5, 5, 6, 6, 6, 0, 0};
    corv::PixelBuffer down{rows.data(), 8, 2, 3, corv::PixelFormat::Rgb24, nullptr};
    corv::ShiftCyclically(down, 1, 1, 3);
    EXPECT_EQ(rows, (std::vector<uint8_t>{6, 6, 6, 5, 5, 5, 0, 0, 2, 2, 2, 1,
                                          1, 1, 0, 0, 4, 4, 4, 3, 3, 3, 0, 0}));
    // A bottom-up buffer (negative stride) moves the same way on screen.
    std::vector<uint8_t> up = {5, 6, 3, 4, 1, 2};
    corv::PixelBuffer bottomUp{up.data() + 4, -2, 2, 3, corv::PixelFormat::Rgb24, nullptr};
    corv::ShiftCyclically(bottomUp, 0, 4, 1);  // 4 wraps to 1
    EXPECT_EQ(up, (std::vector<uint8_t>{3, 4, 1, 2, 5, 6}));
    corv::ShiftCyclically(corv::PixelBuffer{}, 1, 1, 3);  // nothing to move
}

TEST(MonitorLayout, NextSlotOnAMonitor) {
    const std::vector<corv::SlotRect> slots = {
        {10, 10, 300, 300}, {-700, 10, -400, 300}, {5000, 5000, 5300, 5300}, {400, 10, 700, 300}};
    const RectI primary{0, 0, 1024, 768};
    const RectI left{-800, 0, 800, 600};
    struct Case {
        int from;
        RectI monitor;
        int expected;
    };
    for (const Case& c :
         {Case{0, primary, 0}, Case{1, primary, 3}, Case{4, primary, 0}, Case{-3, primary, 0},
          Case{0, left, 1}, Case{2, left, 1}, Case{0, RectI{2000, 0, 100, 100}, -1}}) {
        SCOPED_TRACE(c.from);
        EXPECT_EQ(corv::NextSlotOnMonitor(slots, c.from, c.monitor), c.expected);
    }
    EXPECT_EQ(corv::NextSlotOnMonitor({}, 0, primary), -1);
}

TEST(MonitorLayout, ModeAndPerMonitorLimit) {
    EXPECT_EQ(corv::MonitorModeOf(0), MonitorMode::PerMonitor);
    EXPECT_EQ(corv::MonitorModeOf(1), MonitorMode::Shared);
    EXPECT_EQ(corv::MonitorModeOf(2), MonitorMode::Spanning);
    EXPECT_EQ(corv::MonitorModeOf(-1), MonitorMode::PerMonitor);
    EXPECT_EQ(corv::MonitorModeOf(7), MonitorMode::PerMonitor);
    EXPECT_EQ(corv::MonitorPictureLimit(700, 800), 600);
    EXPECT_EQ(corv::MonitorPictureLimit(400, 800), 400);
    EXPECT_EQ(corv::MonitorPictureLimit(400, 100), 200);  // never below the least side
}

TEST(MonitorLayout, SizeLimitWidthFollowsTheMode) {
    const std::vector<MonitorArea> portrait = {Screen(0, 0, 1024, 768, true),
                                               Screen(-1200, 0, 1200, 1920)};
    const std::vector<MonitorArea> huge = {Screen(0, 0, 1024, 768, true),
                                           Screen(-32768, 0, 30000, 30000)};
    struct Case {
        std::vector<MonitorArea> monitors;
        MonitorMode mode;
        int32_t expected;
    };
    for (const Case& c : {
             Case{{Screen(0, 0, 1280, 1024, true)}, MonitorMode::PerMonitor, 1280},
             Case{portrait, MonitorMode::PerMonitor, 1200},  // the widest, not the primary
             Case{portrait, MonitorMode::Shared, 1024},
             Case{portrait, MonitorMode::Spanning, 2224},
             Case{huge, MonitorMode::PerMonitor, 1024},  // composed for the primary alone
             Case{{}, MonitorMode::PerMonitor, 0},
         }) {
        SCOPED_TRACE(static_cast<int>(c.mode));
        EXPECT_EQ(corv::SizeLimitWidth(c.monitors, c.mode), c.expected);
    }
}
