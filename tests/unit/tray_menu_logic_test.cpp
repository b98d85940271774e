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
