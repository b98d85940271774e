// The base of the tests that draw through the real GDI+ layer: one GDI+
// session for the whole suite, and helpers to make bitmaps and read pixels.
#pragma once

#include <windows.h>

#include <psapi.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "compose/imaging_gdiplus_win.h"

namespace corvtest {

struct Rgb {
    int r, g, b;
};

inline bool Near(const Rgb& got, const Rgb& want, int tolerance) {
    return std::abs(got.r - want.r) <= tolerance && std::abs(got.g - want.g) <= tolerance &&
           std::abs(got.b - want.b) <= tolerance;
}

inline ::testing::AssertionResult IsNear(const Rgb& got, const Rgb& want, int tolerance = 8) {
    if (Near(got, want, tolerance)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "got (" << got.r << "," << got.g << "," << got.b << "), want (" << want.r << ","
           << want.g << "," << want.b << ") within " << tolerance;
}

// A file of tests/data/`folder` through the Z: drive (CORV_TEST_DATA names
// tests/data).
inline std::string TestDataFile(const std::string& folder, const std::string& name) {
    const char* root = std::getenv("CORV_TEST_DATA");
    if (root == nullptr) {
        ADD_FAILURE() << "CORV_TEST_DATA must name the tests/data folder";
        return name;
    }
    std::string path = std::string("Z:") + root + "/" + folder + "/" + name;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

// The process's private memory, for leak checks.
inline std::size_t PrivateBytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PagefileUsage;
}

// The bitmap's own size of a loaded picture ("WxH"), which is smaller than
// the picture when it was decoded reduced.
inline std::string PixelSize(corv::Image& image) {
    auto* own = dynamic_cast<corv::GdiplusImage*>(&image);
    if (!own) return "not a GDI+ image";
    return std::to_string(own->PixelWidth()) + "x" + std::to_string(own->PixelHeight());
}

class GdiplusTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { session_ = new corv::GdiplusSession(); }
    static void TearDownTestSuite() {
        delete session_;
        session_ = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(session_->Started()); }

    // A bitmap cleared to one colour.
    std::unique_ptr<corv::Image> Solid(int32_t w, int32_t h, uint32_t argb,
                                       corv::PixelFormat format = corv::PixelFormat::Rgb24) {
        auto bitmap = imaging.NewBitmap(w, h, format);
        auto surface = imaging.SurfaceOn(*bitmap);
        EXPECT_TRUE(surface);
        if (surface) surface->Clear(argb);
        return bitmap;
    }

    // One pixel as 0xAARRGGBB.
    uint32_t Argb(corv::Image& image, int32_t x, int32_t y) {
        corv::ScopedBits bits(imaging, image, corv::RectI{x, y, 1, 1}, corv::PixelFormat::Argb32,
                              false);
        if (!bits.Locked()) {
            ADD_FAILURE() << "cannot lock (" << x << "," << y << ")";
            return 0;
        }
        const uint8_t* p = bits.Buffer().scan0;
        return uint32_t{p[3]} << 24 | uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
    }

    Rgb At(corv::Image& image, int32_t x, int32_t y) {
        const uint32_t v = Argb(image, x, y);
        return Rgb{static_cast<int>(v >> 16 & 0xFF), static_cast<int>(v >> 8 & 0xFF),
                   static_cast<int>(v & 0xFF)};
    }

    // Pixels of `rect` for which `match` holds; -1 when it cannot be read.
    template <typename Match>
    int Count(corv::Image& image, const corv::RectI& rect, Match match) {
        corv::ScopedBits bits(imaging, image, rect, corv::PixelFormat::Rgb24, false);
        if (!bits.Locked()) return -1;
        int count = 0;
        for (int32_t y = 0; y < rect.height; ++y) {
            const uint8_t* row = bits.Buffer().scan0 + y * bits.Buffer().stride;
            for (int32_t x = 0; x < rect.width; ++x)
                if (match(Rgb{row[3 * x + 2], row[3 * x + 1], row[3 * x]})) ++count;
        }
        return count;
    }

    static corv::GdiplusSession* session_;
    corv::GdiplusImaging imaging;
};

// One definition for the whole test program.
inline corv::GdiplusSession* GdiplusTest::session_ = nullptr;

}  // namespace corvtest
