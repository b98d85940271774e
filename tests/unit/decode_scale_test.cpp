#include "compose/decode_scale.h"

#include <gtest/gtest.h>

#include "compose/composer.h"

using corv::ChooseDecodeScale;
using corv::DecodedScale;
using corv::NeededSize;
using corv::RectF;
using corv::RectI;
using corv::ScaledLength;
using corv::SizeI;

namespace {

TEST(DecodeScale, ScaledLengthRoundsUpAsTheDecoderDoes) {
    EXPECT_EQ(ScaledLength(6000, 8), 750);
    EXPECT_EQ(ScaledLength(6001, 8), 751);
    EXPECT_EQ(ScaledLength(7, 8), 1);
    EXPECT_EQ(ScaledLength(65535, 8), 8192);
    EXPECT_EQ(ScaledLength(0x7FFFFFFF, 2), 0x40000000);
    EXPECT_EQ(ScaledLength(0, 2), 0);
    EXPECT_EQ(ScaledLength(5, 0), 0);
}

TEST(DecodeScale, ChoosesLargestReductionThatKeepsTheDrawnPixels) {
    struct Case {
        int32_t w, h;
        NeededSize need;
        bool swap;
        int want;
        const char* why;
    };
    const Case cases[] = {
        {6000, 4000, {400, 400}, false, 8, "750 x 500 still covers 400 x 266"},
        {6000, 4000, {800, 800}, false, 4, "750 is too narrow for 800"},
        {6000, 4000, {750, 750}, false, 8, "exactly 750 is enough"},
        {6000, 4000, {751, 751}, false, 4, "one pixel more is not"},
        {6000, 4000, {1920, 1080}, false, 2, "fitted background: 1620 x 1080 drawn"},
        {6000, 4000, {1920, 1080}, true, 4, "turned: 720 x 1080 drawn, 1000 x 1500 at 1/4"},
        {6000, 4000, {1500, 1000}, false, 4, "fitted exactly at 1/4"},
        {8000, 2000, {1920, 1080}, false, 4, "a panorama fitted: 1920 x 480 drawn"},
        {8000, 2000, {1920, 1080, true}, false, 1, "stretched: 1080 rows of 2000 needed"},
        {8000, 2000, {400, 400}, false, 8, "a panorama at the picture limit"},
        {4000, 6000, {400, 400}, false, 8, "portrait: 266 x 400 drawn"},
        {300, 200, {400, 400}, false, 1, "enlarged: every pixel is needed"},
        {3000, 200, {400, 400}, false, 4, "row count 26 drawn, width decides"},
        {16, 16, {1, 1}, false, 8, "tiny need"},
        {6000, 4000, {0, 0}, false, 2, "whole picture: 24 MP is over the buffer, 6 MP fits"},
        {4096, 4096, {0, 0}, false, 1, "whole 16 MP picture fits the buffer"},
        {4097, 4096, {0, 0}, false, 2, "one column more does not"},
        {32768, 32768, {400, 400}, false, 8, "a 1 GP picture at 1/8 is exactly 16 MP"},
        {32769, 32768, {400, 400}, false, 0, "past that even 1/8 is too large"},
        {65535, 65535, {400, 400}, false, 0, "the largest header"},
        {0, 4000, {400, 400}, false, 0, "no pixels"},
        {6000, -1, {400, 400}, false, 0, "negative"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChooseDecodeScale(c.w, c.h, c.need, c.swap), c.want) << c.why;
    }
}

TEST(DecodeScale, StretchNeedsEveryAxisInFull) {
    NeededSize screen{1920, 1080, true};
    EXPECT_EQ(ChooseDecodeScale(8000, 2000, screen, false), 1);  // 1000 rows at 1/2 < 1080
    EXPECT_EQ(ChooseDecodeScale(8000, 4400, screen, false), 4);  // 2000 x 1100
    // Turned a quarter, the stored rows run across the screen.
    EXPECT_EQ(ChooseDecodeScale(2000, 8000, screen, true), 1);
    EXPECT_EQ(ChooseDecodeScale(2000, 8000, screen, false), 1);  // 250 columns at 1/8
    EXPECT_EQ(ChooseDecodeScale(4400, 8000, screen, true), 4);
}

// The composer's own sizing, checked against what the chosen scale gives:
// every drawn picture has at least as many decoded pixels on each axis.
TEST(DecodeScale, DecodedPicturesAlwaysCoverTheComposersSize) {
    for (int32_t w : {640, 1000, 3999, 6000, 6001, 12000})
        for (int32_t h : {480, 999, 4000, 4001, 9000})
            for (int32_t limit : {100, 333, 400, 1024, 2500}) {
                const int d = ChooseDecodeScale(w, h, NeededSize{limit, limit}, false);
                ASSERT_GT(d, 0) << w << "x" << h;
                const SizeI drawn = corv::FitPictureSize(w, h, limit, true);
                EXPECT_GE(ScaledLength(w, d), drawn.width) << w << "x" << h << " at " << limit;
                EXPECT_GE(ScaledLength(h, d), drawn.height) << w << "x" << h << " at " << limit;
                // And the next reduction would not.
                if (d < 8) {
                    EXPECT_TRUE(ScaledLength(w, 2 * d) < drawn.width ||
                                ScaledLength(h, 2 * d) < drawn.height)
                        << w << "x" << h << " at " << limit;
                }
            }
}

TEST(DecodeScale, LogicalRectanglesMapOntoTheDecodedPixels) {
    const DecodedScale scale{SizeI{6001, 4000}, 8};
    EXPECT_EQ(scale.Pixels().width, 751);
    EXPECT_EQ(scale.Pixels().height, 500);
    // The whole picture, and the effects' source reaching two pixels past it.
    const RectF whole = scale.ToPixels(RectI{0, 0, 6001, 4000});
    EXPECT_FLOAT_EQ(whole.x, 0);
    EXPECT_FLOAT_EQ(whole.width, 750.125f);
    EXPECT_FLOAT_EQ(whole.height, 500);
    const RectF margin = scale.ToPixels(RectF{-2, -2, 6003, 4002});
    EXPECT_FLOAT_EQ(margin.x, -0.25f);
    EXPECT_FLOAT_EQ(margin.y, -0.25f);
    EXPECT_FLOAT_EQ(margin.width, 750.375f);
    // A picture decoded in full maps one to one.
    const DecodedScale full{SizeI{640, 480}, 1};
    const RectF same = full.ToPixels(RectI{-2, -2, 642, 482});
    EXPECT_FLOAT_EQ(same.x, -2);
    EXPECT_FLOAT_EQ(same.width, 642);
    EXPECT_EQ(full.Pixels().width, 640);

    // Turned a quarter, both sizes change axes; the reduction stays.
    const DecodedScale turned = scale.Turned();
    EXPECT_EQ(turned.logical.width, 4000);
    EXPECT_EQ(turned.logical.height, 6001);
    EXPECT_EQ(turned.Pixels().width, 500);
    EXPECT_EQ(turned.Pixels().height, 751);
    EXPECT_EQ(turned.denominator, 8);
}

}  // namespace
