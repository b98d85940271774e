#include "widgets/tray_menu_logic.h"

#include <gtest/gtest.h>

TEST(TrayMenuMath, MulDivRoundsHalvesAwayFromZero) {
    EXPECT_EQ(corv::MulDivRound(1, 1, 2), 1);
    EXPECT_EQ(corv::MulDivRound(-1, 1, 2), -1);
    EXPECT_EQ(corv::MulDivRound(1, 1, 3), 0);
    EXPECT_EQ(corv::MulDivRound(185, 128, 255), 93);   // 92.86
    EXPECT_EQ(corv::MulDivRound(-35, 128, 255), -18);  // -17.57
    EXPECT_EQ(corv::MulDivRound(5, 5, 0), -1);
    EXPECT_EQ(corv::MulDivRound(2000000000, 3, 3), 2000000000);  // no overflow inside
}

TEST(TrayMenuMath, PaletteRunsFromFirstToLastColour) {
    const auto palette = corv::GradientPalette(corv::kBannerBottomColor, corv::kBannerTopColor);
    EXPECT_EQ(palette[0], corv::kBannerBottomColor);
    EXPECT_EQ(palette[255], corv::kBannerTopColor);
    // Entry 128: red 70 + MulDiv(185,128,255) = 163, green 0 + MulDiv(21,128,255) = 11,
    // blue 35 + MulDiv(100,128,255) = 85.
    EXPECT_EQ(palette[128], 163u | (11u << 8) | (85u << 16));
    // A falling channel rounds away from zero too.
    const auto down = corv::GradientPalette(0x0000FF, 0x000000);
    EXPECT_EQ(down[128] & 0xFF, 255u - 128u);
}

TEST(TrayMenuMath, RowsMapToEntriesNeverPastTheLast) {
    EXPECT_EQ(corv::GradientEntryForRow(0, 300), 0);
    EXPECT_EQ(corv::GradientEntryForRow(150, 300), 128);
    EXPECT_EQ(corv::GradientEntryForRow(299, 300), 255);  // 255.15
    EXPECT_EQ(corv::GradientEntryForRow(9, 10), 230);
    EXPECT_EQ(corv::GradientEntryForRow(5, 0), 0);
}

TEST(TrayMenuMath, ItemSizes) {
    EXPECT_EQ(corv::MeasureMenuItem("0123456789", 7).width, 80);
    EXPECT_EQ(corv::MeasureMenuItem("0123456789", 7).height, 22);
    EXPECT_EQ(corv::MeasureMenuItem("", 7).height, 4);
    // Korean text counts bytes: "종료" is four bytes in code page 949.
    EXPECT_EQ(corv::MeasureMenuItem("\xC1\xBE\xB7\xE1", 6).width, 34);
}

namespace {

// Is `inner` inside `outer` (edges may touch)?
bool Inside(const corv::MenuBox& inner, const corv::MenuBox& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

}  // namespace

TEST(TrayMenuScale, At96TheLayoutIsTheOriginal) {
    const corv::TrayMenuMetrics m = corv::TrayMenuMetricsFor(96);
    const corv::TrayItemLayout l = corv::LayoutTrayItem({0, 100, 200, 122}, m);
    auto expectBox = [](const corv::MenuBox& b, int left, int top, int right, int bottom) {
        EXPECT_EQ(b.left, left);
        EXPECT_EQ(b.top, top);
        EXPECT_EQ(b.right, right);
        EXPECT_EQ(b.bottom, bottom);
    };
    expectBox(l.outline, 24, 101, 195, 122);
    expectBox(l.fill, 25, 102, 194, 121);
    expectBox(l.text, 42, 102, 194, 121);
    expectBox(l.separator, 42, 102, 191, 103);  // one line, 2 below the top
    expectBox(l.mark, 23, 103, 39, 119);
    // The item sizes are those of the unscaled rule, whatever the menu
    // font: the drawn text fits the measured width.
    const corv::DrawnText drawn{95, 15, 12};
    const corv::MenuItemSize size = corv::MeasureMenuItemAt(17, 8, drawn, m);
    EXPECT_EQ(size.width, 146);
    EXPECT_EQ(size.height, 22);
    EXPECT_EQ(corv::MeasureMenuItemAt(0, 8, {}, m).height, 4);
}

// At every scale the highlight, text and mark stay inside their row, the
// fill is one line inside the outline and the text begins right of the
// banner and the mark.
TEST(TrayMenuScale, PartsStayInTheirRowAtEveryScale) {
    for (int dpi : {96, 120, 144, 168, 192, 288}) {
        const corv::TrayMenuMetrics m = corv::TrayMenuMetricsFor(dpi);
        const corv::MenuBox row{10, 40, 10 + corv::ScaleForDpi(180, dpi), 40 + m.rowHeight};
        const corv::TrayItemLayout l = corv::LayoutTrayItem(row, m);
        SCOPED_TRACE(dpi);
        EXPECT_TRUE(Inside(l.outline, row));
        EXPECT_TRUE(Inside(l.fill, l.outline));
        EXPECT_EQ(l.fill.left - l.outline.left, m.line);
        EXPECT_EQ(l.outline.bottom - l.fill.bottom, m.line);
        EXPECT_TRUE(Inside(l.text, row));
        EXPECT_TRUE(Inside(l.mark, row));
        EXPECT_GE(l.text.left, l.mark.right);
        EXPECT_GE(l.mark.left, row.left + m.bannerWidth);
        EXPECT_GE(l.outline.left, row.left + m.bannerWidth);
        // A separator's line lies inside a separator's row.
        const corv::MenuBox gap{row.left, row.top, row.right, row.top + m.separatorHeight};
        EXPECT_TRUE(Inside(corv::LayoutTrayItem(gap, m).separator, gap));
    }
}

// The menu at 150 % and 200 %: a system font that keeps its 96-DPI
// width must not cut the text, which the menu draws in a larger font.
TEST(TrayMenuScale, ItemsGrowToHoldTheTextAsDrawn) {
    struct Case {
        int dpi;
        int32_t bytes, averageCharWidth;
        corv::DrawnText drawn;
        int32_t width, height;
    };
    const Case cases[] = {
        // 17 bytes (연결프로그램 실행) in an 8-pixel system font.
        {96, 17, 8, {95, 15, 12}, 146, 22},    // the measured width holds it
        {144, 17, 8, {143, 22, 16}, 199, 33},  // 63 + 143 + 9 - 16
        {192, 17, 8, {190, 30, 22}, 264, 44},  // 84 + 190 + 12 - 22
        // A system font that does grow: the measured width holds it again.
        {144, 17, 12, {143, 22, 16}, 219, 33},
        // A font taller than the row makes the row taller.
        {120, 4, 8, {30, 40, 10}, 81, 44},
    };
    for (const Case& c : cases) {
        const corv::TrayMenuMetrics m = corv::TrayMenuMetricsFor(c.dpi);
        const corv::MenuItemSize size =
            corv::MeasureMenuItemAt(c.bytes, c.averageCharWidth, c.drawn, m);
        EXPECT_EQ(size.width, c.width) << c.dpi;
        EXPECT_EQ(size.height, c.height) << c.dpi;
        // The text box of an item of that size (with what the system adds)
        // holds the drawn text.
        const corv::TrayItemLayout l =
            corv::LayoutTrayItem({0, 0, size.width + c.drawn.systemPad, size.height}, m);
        EXPECT_GE(l.text.right - l.text.left, c.drawn.width) << c.dpi;
        EXPECT_GE(l.text.bottom - l.text.top, c.drawn.height) << c.dpi;
    }
    EXPECT_EQ(corv::MeasureMenuItemAt(0, 8, {}, corv::TrayMenuMetricsFor(144)).height, 6);
}
