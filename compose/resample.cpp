#include "compose/resample.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <new>
#include <vector>

namespace corv {

namespace {

// Weights are fixed-point with this many fraction bits; each tap run sums
// to exactly 1 << kWeightBits.
constexpr int kWeightBits = 14;
constexpr int32_t kWeightOne = 1 << kWeightBits;
// Bits the vertical sums keep below a whole colour step between the passes.
constexpr int kKeepBits = kWeightBits - 7;
constexpr int kFinalShift = kWeightBits + 7;

// The taps of one axis: for every destination pixel of the visible run,
// the first source pixel and the weights of the source pixels from there.
struct Taps {
    std::vector<int32_t> first;
    std::vector<int32_t> count;
    std::vector<int32_t> weights;  // `span` per destination pixel
    int32_t span = 0;
    int32_t lowest = 0;   // the lowest source pixel any tap reads
    int32_t highest = 0;  // the highest
};

bool MakeTaps(int32_t sourceLength, double extent, int32_t length, int32_t from, int32_t visible,
              Taps& taps) {
    const double scale = static_cast<double>(length) / extent;
    const double filterScale = std::min(scale, 1.0);
    const double radius = 2.0 / filterScale;
    taps.span = static_cast<int32_t>(std::ceil(2 * radius)) + 2;
    if (taps.span > sourceLength) taps.span = sourceLength;
    try {
        taps.first.assign(static_cast<std::size_t>(visible), 0);
        taps.count.assign(static_cast<std::size_t>(visible), 0);
        taps.weights.assign(static_cast<std::size_t>(visible) * static_cast<std::size_t>(taps.span),
                            0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    taps.lowest = sourceLength;
    taps.highest = 0;
    std::vector<double> raw(static_cast<std::size_t>(taps.span));
    for (int32_t i = 0; i < visible; ++i) {
        const double centre = (from + i + 0.5) / scale - 0.5;
        const auto low = static_cast<int32_t>(std::ceil(centre - radius));
        const auto high = static_cast<int32_t>(std::floor(centre + radius));
        // Pixels past an edge count as the edge pixel.
        const int32_t first = std::clamp(low, 0, sourceLength - 1);
        const int32_t last = std::clamp(high, 0, sourceLength - 1);
        int32_t n = std::min(last - first + 1, taps.span);
        std::fill(raw.begin(), raw.end(), 0.0);
        double total = 0;
        for (int32_t j = low; j <= high; ++j) {
            const double w = BicubicWeight(j - centre, scale);
            const int32_t at = std::clamp(j, first, first + n - 1) - first;
            raw[static_cast<std::size_t>(at)] += w;
            total += w;
        }
        if (!(total > 0)) {  // cannot happen for a sane size; the nearest pixel then
            std::fill(raw.begin(), raw.end(), 0.0);
            raw[static_cast<std::size_t>(
                std::clamp(static_cast<int32_t>(std::lround(centre)), first, first + n - 1) -
                first)] = 1;
            total = 1;
        }
        int32_t* out = &taps.weights[static_cast<std::size_t>(i) * taps.span];
        int32_t sum = 0;
        int32_t largest = 0;
        for (int32_t k = 0; k < n; ++k) {
            out[k] = static_cast<int32_t>(
                std::lround(raw[static_cast<std::size_t>(k)] / total * kWeightOne));
            sum += out[k];
            if (out[k] > out[largest]) largest = k;
        }
        out[largest] += kWeightOne - sum;
        // Zero weights at both ends are not read.
        int32_t skip = 0;
        while (n > 1 && out[0] == 0) {
            for (int32_t k = 0; k + 1 < n; ++k) out[k] = out[k + 1];
            out[--n] = 0;
            ++skip;
        }
        while (n > 1 && out[n - 1] == 0) --n;
        taps.first[static_cast<std::size_t>(i)] = first + skip;
        taps.count[static_cast<std::size_t>(i)] = n;
        taps.lowest = std::min(taps.lowest, first + skip);
        taps.highest = std::max(taps.highest, first + skip + n - 1);
    }
    return true;
}

uint8_t ToByte(int64_t sum) {
    const int64_t value = (sum + (int64_t{1} << (kFinalShift - 1))) >> kFinalShift;
    return static_cast<uint8_t>(std::clamp<int64_t>(value, 0, 255));
}

}  // namespace

double BicubicWeight(double x, double scale) {
    const double s = std::min(scale, 1.0);
    const double t = std::fabs(x * s);
    constexpr double a = -0.5;
    if (t < 1) return ((a + 2) * t - (a + 3)) * t * t + 1;
    if (t < 2) return ((a * t - 5 * a) * t + 8 * a) * t - 4 * a;
    return 0;
}

bool ResampleBicubic(const SourceRows& source, const TargetRows& target) {
    if (!source.scan0 || !target.scan0 || source.width <= 0 || source.height <= 0 ||
        target.width <= 0 || target.height <= 0 || target.visibleWidth <= 0 ||
        target.visibleHeight <= 0 || target.visibleX < 0 || target.visibleY < 0 ||
        int64_t{target.visibleX} + target.visibleWidth > target.width ||
        int64_t{target.visibleY} + target.visibleHeight > target.height ||
        (source.bytesPerPixel != 3 && source.bytesPerPixel != 4))
        return false;
    const double extentW = source.extentWidth > 0 ? source.extentWidth : source.width;
    const double extentH = source.extentHeight > 0 ? source.extentHeight : source.height;
    Taps across;
    Taps down;
    if (!MakeTaps(source.width, extentW, target.width, target.visibleX, target.visibleWidth,
                  across) ||
        !MakeTaps(source.height, extentH, target.height, target.visibleY, target.visibleHeight,
                  down))
        return false;

    // One row of vertical sums over the source columns the visible part
    // reads, then the horizontal filter over that row.
    const int32_t columnFrom = across.lowest;
    const int32_t columns = across.highest - across.lowest + 1;
    std::vector<int32_t> row;
    try {
        row.assign(static_cast<std::size_t>(columns) * 3, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    const int bpp = source.bytesPerPixel;
    for (int32_t y = 0; y < target.visibleHeight; ++y) {
        const int32_t first = down.first[static_cast<std::size_t>(y)];
        const int32_t n = down.count[static_cast<std::size_t>(y)];
        const int32_t* wv = &down.weights[static_cast<std::size_t>(y) * down.span];
        std::fill(row.begin(), row.end(), 0);
        for (int32_t k = 0; k < n; ++k) {
            const uint8_t* in = source.scan0 +
                                static_cast<std::ptrdiff_t>(first + k) * source.stride +
                                static_cast<std::ptrdiff_t>(columnFrom) * bpp;
            const int32_t w = wv[k];
            int32_t* acc = row.data();
            for (int32_t x = 0; x < columns; ++x, in += bpp, acc += 3) {
                acc[0] += w * in[0];
                acc[1] += w * in[1];
                acc[2] += w * in[2];
            }
        }
        for (int32_t& v : row) v = (v + (1 << (kKeepBits - 1))) >> kKeepBits;

        uint8_t* out = target.scan0 + static_cast<std::ptrdiff_t>(y) * target.stride;
        for (int32_t x = 0; x < target.visibleWidth; ++x, out += 3) {
            const int32_t from = across.first[static_cast<std::size_t>(x)] - columnFrom;
            const int32_t m = across.count[static_cast<std::size_t>(x)];
            const int32_t* wh = &across.weights[static_cast<std::size_t>(x) * across.span];
            const int32_t* in = &row[static_cast<std::size_t>(from) * 3];
            int64_t b = 0, g = 0, r = 0;
            for (int32_t k = 0; k < m; ++k, in += 3) {
                b += int64_t{wh[k]} * in[0];
                g += int64_t{wh[k]} * in[1];
                r += int64_t{wh[k]} * in[2];
            }
            out[0] = ToByte(b);
            out[1] = ToByte(g);
            out[2] = ToByte(r);
        }
    }
    return true;
}

}  // namespace corv
