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
    ASSERT_EQ(layout.triangle.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(layout.triangle[i].y, rows[i][0]);
        EXPECT_EQ(layout.triangle[i].x0, rows[i][1]);
        EXPECT_EQ(layout.triangle[i].x1 - layout.triangle[i].x0, rows[i][2]);
    }
}

// At a larger scale the frames thicken and the mark grows, but everything
// stays inside the button and the triangle stays a centred triangle.
TEST(ColorButtonLayout, GrowsWithTheDisplayScale) {
    struct Case {
        int dpi, line;
        corv::Box swatch, markFrame;
        size_t rows;
    };
    const Case cases[] = {
        {120, 1, {3, 3, 57, 33}, {42, 25, 57, 33}, 4},  // 60 x 36
        {144, 2, {3, 3, 57, 33}, {39, 22, 57, 33}, 5},
        {192, 2, {4, 4, 56, 32}, {32, 18, 56, 32}, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        const corv::ColorButtonLayout l = corv::LayoutColorButton(60, 36, c.dpi);
        EXPECT_EQ(l.line, c.line);
        for (auto [got, want] : {std::pair{l.swatch, c.swatch}, {l.markFrame, c.markFrame}}) {
            EXPECT_EQ(got.left, want.left);
            EXPECT_EQ(got.top, want.top);
            EXPECT_EQ(got.right, want.right);
            EXPECT_EQ(got.bottom, want.bottom);
        }
        EXPECT_EQ(l.markFace.left - l.markFrame.left, l.line);
        EXPECT_EQ(l.markFace.top - l.markFrame.top, l.line);
        ASSERT_EQ(l.triangle.size(), c.rows);
        const double centre = (l.triangle[0].x0 + l.triangle[0].x1) / 2.0;
        for (size_t i = 0; i < l.triangle.size(); ++i) {
            const corv::HLine& row = l.triangle[i];
            EXPECT_EQ(row.x1 - row.x0, static_cast<int>(2 * (c.rows - i) - 1));
            EXPECT_EQ((row.x0 + row.x1) / 2.0, centre);
            EXPECT_EQ(row.y, l.triangle[0].y + static_cast<int>(i));
            EXPECT_GE(row.x0, l.markFace.left);
            EXPECT_LE(row.x1, l.markFace.right);
            EXPECT_LT(row.y, l.markFace.bottom);
        }
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
