// The program's own bicubic resampling against a plain floating-point
// evaluation of the same filter, and what a draw relies on: flat colours
// stay flat, a part of the picture is the same pixels as the whole, and
// sizes that make no sense write nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "compose/resample.h"

namespace {

using corv::ResampleBicubic;
using corv::SourceRows;
using corv::TargetRows;

struct Picture {
    int32_t width, height, bpp, stride;
    std::vector<uint8_t> bytes;
    Picture(int32_t w, int32_t h, int b = 3) : width(w), height(h), bpp(b) {
        stride = (w * b + 3) & ~3;
        bytes.assign(static_cast<std::size_t>(stride) * h, 0);
    }
    uint8_t* At(int32_t x, int32_t y) {
        return &bytes[static_cast<std::size_t>(y) * stride + x * bpp];
    }
    SourceRows Rows() const { return SourceRows{bytes.data(), stride, width, height, bpp, 0, 0}; }
};

// Noise on top of a gradient: every frequency the filter must treat right.
Picture MakeNoisy(int32_t w, int32_t h, unsigned seed, int bpp = 3) {
    Picture p(w, h, bpp);
    std::srand(seed);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            uint8_t* px = p.At(x, y);
            for (int c = 0; c < 3; ++c) px[c] = static_cast<uint8_t>(std::rand() % 256);
            if (bpp == 4) px[3] = 0x5A;
        }
    return p;
}

// The same filter evaluated in double precision, one output pixel at a time.
std::vector<double> AxisWeights(int32_t sourceLength, double extent, int32_t length, int32_t i) {
    const double scale = length / extent;
    const double radius = 2.0 / std::min(scale, 1.0);
    const double centre = (i + 0.5) / scale - 0.5;
    std::vector<double> w(static_cast<std::size_t>(sourceLength), 0.0);
    double total = 0;
    for (auto j = static_cast<int32_t>(std::ceil(centre - radius)); j <= centre + radius; ++j) {
        const double v = corv::BicubicWeight(j - centre, scale);
        w[static_cast<std::size_t>(std::clamp(j, 0, sourceLength - 1))] += v;
        total += v;
    }
    for (double& v : w) v /= total;
    return w;
}

uint8_t Reference(const Picture& p, double ew, double eh, int32_t W, int32_t H, int32_t x,
                  int32_t y, int c) {
    const std::vector<double> wx = AxisWeights(p.width, ew, W, x);
    const std::vector<double> wy = AxisWeights(p.height, eh, H, y);
    double sum = 0;
    for (int32_t j = 0; j < p.height; ++j) {
        if (wy[static_cast<std::size_t>(j)] == 0) continue;
        for (int32_t k = 0; k < p.width; ++k)
            sum += wy[static_cast<std::size_t>(j)] * wx[static_cast<std::size_t>(k)] *
                   p.bytes[static_cast<std::size_t>(j) * p.stride + k * p.bpp + c];
    }
    return static_cast<uint8_t>(std::clamp(std::lround(sum), 0L, 255L));
}

struct Output {
    int32_t width, height;
    std::vector<uint8_t> bytes;
    Output(int32_t w, int32_t h)
        : width(w), height(h), bytes(static_cast<std::size_t>(w) * h * 3, 7) {}
    TargetRows Rows(int32_t vx = 0, int32_t vy = 0, int32_t vw = -1, int32_t vh = -1) {
        return TargetRows{bytes.data(),        width * 3,           width, height, vx, vy,
                          vw < 0 ? width : vw, vh < 0 ? height : vh};
    }
    uint8_t At(int32_t x, int32_t y, int c) const {
        return bytes[(static_cast<std::size_t>(y) * width + x) * 3 + c];
    }
};

struct Case {
    const char* name;
    int32_t sw, sh, dw, dh;
    double extentW, extentH;  // 0: the whole source
};

TEST(Resample, MatchesTheFilterInDoublePrecision) {
    const Case cases[] = {
        {"reduced a little under 1/2", 75, 50, 40, 26, 0, 0},
        {"reduced 1/5, odd sizes", 97, 61, 19, 12, 0, 0},
        {"enlarged", 9, 7, 31, 22, 0, 0},
        {"one axis reduced, one enlarged", 40, 10, 12, 33, 0, 0},
        {"same size", 23, 17, 23, 17, 0, 0},
        {"bitmap larger than the picture's extent", 38, 26, 20, 13, 37.5, 25.125},
        {"one pixel wide source", 1, 20, 5, 8, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Picture source = MakeNoisy(c.sw, c.sh, 11);
        SourceRows rows = source.Rows();
        rows.extentWidth = c.extentW;
        rows.extentHeight = c.extentH;
        Output out(c.dw, c.dh);
        ASSERT_TRUE(ResampleBicubic(rows, out.Rows()));
        const double ew = c.extentW > 0 ? c.extentW : c.sw;
        const double eh = c.extentH > 0 ? c.extentH : c.sh;
        int worst = 0;
        for (int32_t y = 0; y < c.dh; ++y)
            for (int32_t x = 0; x < c.dw; ++x)
                for (int ch = 0; ch < 3; ++ch)
                    worst =
                        std::max(worst, std::abs(out.At(x, y, ch) -
                                                 Reference(source, ew, eh, c.dw, c.dh, x, y, ch)));
        EXPECT_LE(worst, 1);
    }
}

TEST(Resample, SameSizeIsACopyAndFlatStaysFlat) {
    const Picture noisy = MakeNoisy(13, 9, 3);
    Output copy(13, 9);
    ASSERT_TRUE(ResampleBicubic(noisy.Rows(), copy.Rows()));
    for (int32_t y = 0; y < 9; ++y)
        for (int32_t x = 0; x < 13; ++x)
            for (int c = 0; c < 3; ++c)
                ASSERT_EQ(copy.At(x, y, c), noisy.bytes[y * noisy.stride + x * 3 + c]);

    Picture flat(50, 40);
    for (int32_t y = 0; y < 40; ++y)
        for (int32_t x = 0; x < 50; ++x) {
            flat.At(x, y)[0] = 10;
            flat.At(x, y)[1] = 200;
            flat.At(x, y)[2] = 255;
        }
    for (const auto& size : {std::pair<int, int>{7, 5}, {50, 40}, {123, 97}}) {
        Output out(size.first, size.second);
        ASSERT_TRUE(ResampleBicubic(flat.Rows(), out.Rows()));
        for (int32_t y = 0; y < out.height; ++y)
            for (int32_t x = 0; x < out.width; ++x) {
                ASSERT_EQ(out.At(x, y, 0), 10);
                ASSERT_EQ(out.At(x, y, 1), 200);
                ASSERT_EQ(out.At(x, y, 2), 255);  // the lobes overshoot, the clamp holds
            }
    }
}

TEST(Resample, FourByteRowsAndAPartGiveTheSamePixels) {
    const Picture three = MakeNoisy(64, 48, 5, 3);
    const Picture four = MakeNoisy(64, 48, 5, 4);
    Output whole(30, 22);
    Output fromFour(30, 22);
    ASSERT_TRUE(ResampleBicubic(three.Rows(), whole.Rows()));
    ASSERT_TRUE(ResampleBicubic(four.Rows(), fromFour.Rows()));
    EXPECT_EQ(whole.bytes, fromFour.bytes);

    // The part a canvas edge leaves visible: (7, 5) to (22, 21) of the whole.
    std::vector<uint8_t> part(static_cast<std::size_t>(15) * 16 * 3, 0);
    const TargetRows rows{part.data(), 15 * 3, 30, 22, 7, 5, 15, 16};
    ASSERT_TRUE(ResampleBicubic(three.Rows(), rows));
    for (int32_t y = 0; y < 16; ++y)
        for (int32_t x = 0; x < 15; ++x)
            for (int c = 0; c < 3; ++c)
                ASSERT_EQ(part[(static_cast<std::size_t>(y) * 15 + x) * 3 + c],
                          whole.At(x + 7, y + 5, c));
}

TEST(Resample, SizesThatMakeNoSenseWriteNothing) {
    const Picture source = MakeNoisy(8, 8, 1);
    struct Bad {
        const char* name;
        SourceRows source;
        TargetRows target;
    };
    Output out(4, 4);
    const TargetRows good = out.Rows();
    SourceRows noRows = source.Rows();
    noRows.scan0 = nullptr;
    SourceRows twoBytes = source.Rows();
    twoBytes.bytesPerPixel = 2;
    SourceRows empty = source.Rows();
    empty.width = 0;
    TargetRows pastRight = good;
    pastRight.visibleX = 1;
    TargetRows negative = good;
    negative.visibleY = -1;
    TargetRows none = good;
    none.visibleHeight = 0;
    TargetRows zero = good;
    zero.width = 0;
    const Bad cases[] = {
        {"no source rows", noRows, good},
        {"two bytes a pixel", twoBytes, good},
        {"empty source", empty, good},
        {"visible part past the right", source.Rows(), pastRight},
        {"negative visible", source.Rows(), negative},
        {"nothing visible", source.Rows(), none},
        {"zero width", source.Rows(), zero},
    };
    for (const Bad& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(ResampleBicubic(c.source, c.target));
        EXPECT_TRUE(
            std::all_of(out.bytes.begin(), out.bytes.end(), [](uint8_t b) { return b == 7; }));
    }
}

}  // namespace
