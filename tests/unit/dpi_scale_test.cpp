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

// The calendar's 800-pixel strip on work areas of several widths.
TEST(DpiScale, ShrinksToFitButNeverBelow96) {
    struct FitCase {
        int32_t pixels, room, dpi, expected;
    };
    const FitCase cases[] = {
        {800, 1920, 144, 144},                       // fits: the screen's DPI
        {800, 1024, 144, 122},                       // 1017 pixels at 122, 1025 at 123
        {800, 1017, 192, 122},                       // exactly filled
        {800, 1016, 192, 121}, {800, 800, 192, 96},  // fits only at 100 %
        {800, 640, 144, 96},                         // too narrow even at 100 %: never smaller
        {800, 640, 72, 72},                          // a DPI below 96 is kept
        {0, 0, 144, 144},      {600, 1000, 0, 96},   // an unusable answer counts as 96
    };
    for (const FitCase& c : cases) {
        EXPECT_EQ(corv::DpiToFit(c.pixels, c.room, c.dpi), c.expected)
            << c.pixels << " in " << c.room << " at " << c.dpi;
        const int32_t got = corv::DpiToFit(c.pixels, c.room, c.dpi);
        if (got > 96) {
            EXPECT_LE(corv::ScaleForDpi(c.pixels, got), c.room);
        }
    }
}

}  // namespace
