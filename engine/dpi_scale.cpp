#include "engine/dpi_scale.h"

#include <cstdlib>

namespace corv {

namespace {

// Past 8 times 100 % no display goes; a larger answer is a broken query.
constexpr int32_t kLargestDpi = kBaseDpi * 8;

}  // namespace

int32_t MulDivRound(int32_t a, int32_t b, int32_t c) {
    if (c == 0) return -1;
    const int64_t product = static_cast<int64_t>(a) * b;
    const bool negative = (product < 0) != (c < 0);
    const int64_t num = std::llabs(product);
    const int64_t den = std::llabs(static_cast<int64_t>(c));
    const int64_t rounded = (num + den / 2) / den;
    return static_cast<int32_t>(negative ? -rounded : rounded);
}

int32_t UsableDpi(int32_t dpi) {
    return dpi > 0 && dpi <= kLargestDpi ? dpi : kBaseDpi;
}

int32_t ScaleForDpi(int32_t pixels, int32_t dpi) {
    return MulDivRound(pixels, UsableDpi(dpi), kBaseDpi);
}

float ScaleForDpi(float pixels, int32_t dpi) {
    const int32_t usable = UsableDpi(dpi);
    if (usable == kBaseDpi) return pixels;
    return pixels * static_cast<float>(usable) / static_cast<float>(kBaseDpi);
}

int32_t DpiToFit(int32_t pixels, int32_t room, int32_t dpi) {
    const int32_t usable = UsableDpi(dpi);
    if (pixels <= 0 || ScaleForDpi(pixels, usable) <= room) return usable;
    if (room <= pixels) return usable < kBaseDpi ? usable : kBaseDpi;
    int32_t fitting = static_cast<int32_t>(static_cast<int64_t>(kBaseDpi) * room / pixels);
    while (fitting > kBaseDpi && ScaleForDpi(pixels, fitting) > room) --fitting;
    return fitting < usable ? fitting : usable;
}

}  // namespace corv
