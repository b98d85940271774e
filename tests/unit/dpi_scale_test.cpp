#include "engine/dpi_scale.h"

#include <gtest/gtest.h>

namespace {

struct ScaleCase {
    int32_t pixels;
    int32_t dpi;
    int32_t expected;
};

TEST(DpiScale, ScalesAndRoundsAsMulDiv) {
    const ScaleCase cases[] = {
        {22, 96, 22},  {22, 120, 28},                  // 27.5: halves go up
        {22, 144, 33}, {22, 192, 44},  {23, 144, 35},  // 34.5
        {5, 144, 8},   {1, 120, 1},                    // 1.25
        {1, 144, 2},   {-5, 144, -8},                  // halves away from zero, both ways
        {-3, 120, -4}, {-29, 96, -29}, {0, 192, 0},   {800, 168, 1400}, {600, 120, 750},
    };
    for (const ScaleCase& c : cases)
        EXPECT_EQ(corv::ScaleForDpi(c.pixels, c.dpi), c.expected)
            << c.pixels << " px at " << c.dpi << " DPI";
}

TEST(DpiScale, UnusableAnswersCountAs96) {
    for (int32_t dpi : {0, -144, 100000}) {
        EXPECT_EQ(corv::UsableDpi(dpi), 96) << dpi;
        EXPECT_EQ(corv::ScaleForDpi(22, dpi), 22) << dpi;
        EXPECT_EQ(corv::ScaleForDpi(7.5f, dpi), 7.5f) << dpi;
    }
    EXPECT_EQ(corv::UsableDpi(144), 144);
}

TEST(DpiScale, FractionsScaleExactlyAndStayAt96) {
    EXPECT_EQ(corv::ScaleForDpi(16.0f, 96), 16.0f);
    EXPECT_EQ(corv::ScaleForDpi(0.1f, 96), 0.1f);  // not even rounding error
    EXPECT_FLOAT_EQ(corv::ScaleForDpi(10.0f, 144), 15.0f);
    EXPECT_FLOAT_EQ(corv::ScaleForDpi(30.0f, 120), 37.5f);
    EXPECT_FLOAT_EQ(corv::ScaleForDpi(-6.0f, 192), -12.0f);
}

}  // namespace
