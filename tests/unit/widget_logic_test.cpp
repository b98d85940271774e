#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "widgets/color_button_logic.h"
#include "widgets/striped_list_logic.h"

TEST(ColorButtonLayout, FortyByTwentyFour) {
    const corv::ColorButtonLayout layout = corv::LayoutColorButton(40, 24);
    EXPECT_EQ(layout.swatch.left, 2);
    EXPECT_EQ(layout.swatch.top, 2);
    EXPECT_EQ(layout.swatch.right, 38);
    EXPECT_EQ(layout.swatch.bottom, 22);
    EXPECT_EQ(layout.markFrame.left, 26);
    EXPECT_EQ(layout.markFrame.top, 15);
    EXPECT_EQ(layout.markFrame.right, 38);
    EXPECT_EQ(layout.markFrame.bottom, 22);
    EXPECT_EQ(layout.markFace.left, 27);
    EXPECT_EQ(layout.markFace.top, 16);
    const int rows[3][3] = {{18, 30, 5}, {19, 31, 3}, {20, 32, 1}};  // y, x, width
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(layout.triangle[i].y, rows[i][0]);
        EXPECT_EQ(layout.triangle[i].x0, rows[i][1]);
        EXPECT_EQ(layout.triangle[i].x1 - layout.triangle[i].x0, rows[i][2]);
    }
}

TEST(StripedList, HeaderTokens) {
    const struct {
        std::wstring text, delimiters;
        std::vector<std::wstring> tokens;
    } cases[] = {
        {L"이미지 경로,갯수", L",", {L"이미지 경로", L"갯수"}},
        {L" ,program name,", L",", {L" ", L"program name"}},
        {L",,,", L",", {}},
        {L"", L",", {}},
        {L"a;b,,c", L",;", {L"a", L"b", L"c"}},
    };
    for (const auto& c : cases) EXPECT_EQ(corv::SplitTokens(c.text, c.delimiters), c.tokens);
}

TEST(StripedList, OddRowsGetTheirColours) {
    EXPECT_EQ(corv::PaintStripedRow(corv::kDrawStagePrePaint, 0).answer, corv::kDrawNotifyItems);
    for (long long row = 0; row < 5; ++row) {
        const corv::RowPaint paint = corv::PaintStripedRow(corv::kDrawStageItemPrePaint, row);
        EXPECT_EQ(paint.setColors, row % 2 == 1) << row;
        EXPECT_EQ(paint.answer, row % 2 == 1 ? corv::kDrawNewFont : corv::kDrawDefault);
        if (paint.setColors) {
            EXPECT_EQ(paint.textColor, 0x004F15E6u);  // red 230, green 21, blue 79
            EXPECT_EQ(paint.backColor, 0x00EBF0F0u);  // red 240, green 240, blue 235
        }
    }
    EXPECT_EQ(corv::PaintStripedRow(0x2 /* post-paint */, 1).answer, corv::kDrawDefault);
}
