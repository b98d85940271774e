// Luma and chroma planes to bitmap rows: the colour matrices and ranges,
// deep samples, subsampled chroma, and the reduction's block means with
// premultiplied alpha.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "compose/yuv_to_bgr.h"

namespace {

using corv::YuvPicture;

// A picture of one colour: w x h luma, chroma as subsampled.
struct Planes {
    std::vector<uint16_t> y, cb, cr, a;
    YuvPicture picture;

    Planes(int w, int h, uint16_t yv, uint16_t cbv, uint16_t crv, int depth, int shiftX = 1,
           int shiftY = 1) {
        const int cw = (w + (1 << shiftX) - 1) >> shiftX;
        const int ch = (h + (1 << shiftY) - 1) >> shiftY;
        y.assign(static_cast<std::size_t>(w * h), yv);
        cb.assign(static_cast<std::size_t>(cw * ch), cbv);
        cr.assign(static_cast<std::size_t>(cw * ch), crv);
        picture.width = w;
        picture.height = h;
        picture.bitDepth = depth;
        picture.chromaShiftX = shiftX;
        picture.chromaShiftY = shiftY;
        Pack(y, w, 0);
        Pack(cb, cw, 1);
        Pack(cr, cw, 2);
    }
    // 8-bit samples as bytes, deeper ones as 16-bit words.
    void Pack(std::vector<uint16_t>& samples, int width, int plane) {
        if (picture.bitDepth > 8) {
            picture.planes[plane] = reinterpret_cast<const uint8_t*>(samples.data());
            picture.strides[plane] = width * 2;
            return;
        }
        bytes[plane].assign(samples.begin(), samples.end());
        picture.planes[plane] = bytes[plane].data();
        picture.strides[plane] = width;
    }
    std::vector<uint8_t> bytes[3];
};

struct Bgr {
    int b, g, r;
};

Bgr Convert(YuvPicture picture, int matrix, bool fullRange) {
    picture.matrix = matrix;
    picture.fullRange = fullRange;
    const int32_t stride = picture.width * 3;
    std::vector<uint8_t> out(static_cast<std::size_t>(stride) * picture.height);
    corv::ReduceYuvToBgr(picture, 1, out.data(), stride);
    return Bgr{out[0], out[1], out[2]};
}

::testing::AssertionResult Near(const Bgr& got, int r, int g, int b, int tolerance = 3) {
    if (std::abs(got.r - r) <= tolerance && std::abs(got.g - g) <= tolerance &&
        std::abs(got.b - b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got rgb(" << got.r << "," << got.g << "," << got.b
                                         << "), want rgb(" << r << "," << g << "," << b << ")";
}

TEST(YuvToBgr, MatricesAndRangesGiveTheirColours) {
    // Pure red in each description, as encoders write it.
    EXPECT_TRUE(
        Near(Convert(Planes(2, 2, 81, 90, 240, 8).picture, corv::kMatrixBt601, false), 255, 0, 0));
    EXPECT_TRUE(
        Near(Convert(Planes(2, 2, 76, 85, 255, 8).picture, corv::kMatrixBt601, true), 255, 0, 0));
    EXPECT_TRUE(
        Near(Convert(Planes(2, 2, 63, 102, 240, 8).picture, corv::kMatrixBt709, false), 255, 0, 0));
    EXPECT_TRUE(
        Near(Convert(Planes(2, 2, 74, 97, 240, 8).picture, corv::kMatrixBt2020, false), 255, 0, 0));
    // An unknown or unspecified matrix counts as BT.601.
    EXPECT_TRUE(Near(Convert(Planes(2, 2, 81, 90, 240, 8).picture, corv::kMatrixUnspecified, false),
                     255, 0, 0));
    // Identity: the planes are G, B, R (lossless AVIF).
    EXPECT_TRUE(
        Near(Convert(Planes(2, 2, 10, 20, 200, 8, 0, 0).picture, corv::kMatrixIdentity, true), 200,
             10, 20, 0));
    // YCgCo: Y 128, Cg 128 + 64, Co 128 gives green.
    EXPECT_TRUE(Near(Convert(Planes(2, 2, 128, 192, 128, 8).picture, corv::kMatrixYcgco, true), 64,
                     192, 64, 2));
    // Ten bits: limited-range white and black, and red.
    EXPECT_TRUE(Near(Convert(Planes(2, 2, 940, 512, 512, 10).picture, corv::kMatrixBt709, false),
                     255, 255, 255, 0));
    EXPECT_TRUE(Near(Convert(Planes(2, 2, 64, 512, 512, 10).picture, corv::kMatrixBt709, false), 0,
                     0, 0, 0));
    EXPECT_TRUE(Near(Convert(Planes(2, 2, 324, 360, 960, 10).picture, corv::kMatrixBt601, false),
                     255, 0, 0));
    // Out-of-range samples are clamped, not wrapped.
    EXPECT_TRUE(Near(Convert(Planes(2, 2, 255, 255, 255, 8).picture, corv::kMatrixBt601, false),
                     255, 125, 255, 1));
}

TEST(YuvToBgr, GreyPicturesHaveOnlyLuma) {
    Planes grey(4, 2, 126, 0, 0, 8);
    grey.picture.planes[1] = grey.picture.planes[2] = nullptr;
    EXPECT_TRUE(Near(Convert(grey.picture, corv::kMatrixBt601, false), 128, 128, 128, 1));
    EXPECT_TRUE(Near(Convert(grey.picture, corv::kMatrixIdentity, true), 126, 126, 126, 0));
}

TEST(YuvToBgr, ReducedBlocksAreMeansAndChromaFollowsItsSubsampling) {
    // A grey 5 x 3 picture (4:2:0) whose luma rises left to right.
    const int w = 5, h = 3;
    Planes p(w, h, 0, 128, 128, 8);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.bytes[0][static_cast<std::size_t>(y * w + x)] = static_cast<uint8_t>(16 + 40 * x);
    p.picture.matrix = corv::kMatrixBt601;
    std::vector<uint8_t> full(w * 3 * h);
    corv::ReduceYuvToBgr(p.picture, 1, full.data(), w * 3);
    for (int x = 0; x < w; ++x) {
        const int expected = (40 * x * 255 + 109) / 219;
        EXPECT_NEAR(full[static_cast<std::size_t>(x * 3)], std::min(expected, 255), 1) << x;
    }
    // Halved: 3 x 2 pixels; the last column and row take the one there is.
    std::vector<uint8_t> half(3 * 3 * 2, 0xEE);
    corv::ReduceYuvToBgr(p.picture, 2, half.data(), 9);
    EXPECT_NEAR(half[0], (full[0] + full[3] + full[15] + full[18] + 2) / 4, 1);
    EXPECT_NEAR(half[6], (full[12] + full[27] + 1) / 2, 1);  // column 4, rows 0 and 1
    EXPECT_NEAR(half[9 + 6], full[2 * 15 + 12], 1);          // the corner pixel alone

    // 4:2:2: each chroma sample of a row stands over two pixels: red, red,
    // blue, blue.
    Planes c(4, 1, 81, 90, 240, 8, 1, 0);
    c.bytes[0][2] = c.bytes[0][3] = 41;
    c.bytes[1][1] = 240;
    c.bytes[2][1] = 110;
    c.picture.matrix = corv::kMatrixBt601;
    std::vector<uint8_t> row(12);
    corv::ReduceYuvToBgr(c.picture, 1, row.data(), 12);
    for (int x = 0; x < 4; ++x) {
        const Bgr px{row[static_cast<std::size_t>(3 * x)], row[static_cast<std::size_t>(3 * x + 1)],
                     row[static_cast<std::size_t>(3 * x + 2)]};
        EXPECT_TRUE(x < 2 ? Near(px, 255, 0, 0) : Near(px, 0, 0, 255)) << x;
    }
}

TEST(YuvToBgr, AlphaIsPremultipliedBeforeItIsAveraged) {
    // 2 x 1: an opaque white pixel beside a fully transparent black one.
    Planes p(2, 1, 255, 128, 128, 8, 0, 0);
    p.bytes[0][1] = 0;
    std::vector<uint8_t> alpha = {255, 0};
    p.picture.alpha = alpha.data();
    p.picture.alphaStride = 2;
    p.picture.matrix = corv::kMatrixBt601;
    p.picture.fullRange = true;
    std::vector<uint8_t> out(8, 0xEE);
    corv::ReduceYuvToBgr(p.picture, 1, out.data(), 8);
    EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + 8),
              (std::vector<uint8_t>{255, 255, 255, 255, 0, 0, 0, 0}));
    // Their mean is half-transparent white: premultiplied 128 in every
    // channel, which stands for white (a straight mean would give grey).
    corv::ReduceYuvToBgr(p.picture, 2, out.data(), 8);
    EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + 4),
              (std::vector<uint8_t>{128, 128, 128, 128}));
    // Ten-bit alpha.
    std::vector<uint16_t> deep = {1023, 512};
    p.picture.alpha = reinterpret_cast<const uint8_t*>(deep.data());
    p.picture.alphaBitDepth = 10;
    corv::ReduceYuvToBgr(p.picture, 1, out.data(), 8);
    EXPECT_EQ(out[3], 255);
    EXPECT_EQ(out[7], 128);
}

TEST(YuvToBgr, NonsenseDescriptionsWriteNothing) {
    Planes p(2, 2, 81, 90, 240, 8);
    std::vector<uint8_t> out(12, 0xEE);
    YuvPicture bad = p.picture;
    bad.bitDepth = 4;
    corv::ReduceYuvToBgr(bad, 1, out.data(), 6);
    bad = p.picture;
    bad.width = 0;
    corv::ReduceYuvToBgr(bad, 1, out.data(), 6);
    corv::ReduceYuvToBgr(p.picture, 0, out.data(), 6);
    EXPECT_EQ(out, std::vector<uint8_t>(12, 0xEE));
}

}  // namespace
