// A recording double of the imaging interface for native tests: every call
// becomes one line of text in `log`, so tests can assert exact geometry.
// Images have real pixel memory behind LockBits, so pixel passes can be
// checked too.
//
// Log lines:
//   new bmp1 414x311 argb32          load C:\a.jpg 400x300 (or "failed")
//   bmp1: clear ff000000             bmp1: draw C:\a.jpg (1,1,399,299) from (0,0,400,300)
//   bmp1: fill (0,0,10,10) ff112233  bmp1: gradient (0,0,600,12) 00000000 dc000000 0
//   bmp1: outline (7,7,385,285) ff000000
//   bmp1: text "2007. 5." Georgia 30 3 (x,y,w,h) ffd7fd00 far center
//   bmp1: interpolation bicubic      bmp1: rotate 12 prepend   bmp1: translate 250 250 append
//   lock bmp1 (0,0,10,10) rgb24 write    unlock bmp1    save bmp1 C:\x.bmp image/bmp
#pragma once

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "compose/imaging.h"

namespace corvtest {

inline std::string Hex(uint32_t v) {
    char b[16];
    std::snprintf(b, sizeof b, "%08x", v);
    return b;
}

inline std::string Str(const corv::RectI& r) {
    return "(" + std::to_string(r.x) + "," + std::to_string(r.y) + "," + std::to_string(r.width) +
           "," + std::to_string(r.height) + ")";
}

inline std::string Num(float v) {
    char b[32];
    std::snprintf(b, sizeof b, "%g", static_cast<double>(v));
    return b;
}

inline std::string Str(const corv::RectF& r) {
    return "(" + Num(r.x) + "," + Num(r.y) + "," + Num(r.width) + "," + Num(r.height) + ")";
}

class FakeImage : public corv::Image {
public:
    FakeImage(std::string label, int32_t w, int32_t h, int bpp)
        : label(std::move(label)), width(w), height(h), bpp(bpp) {}
    int32_t Width() const override { return width; }
    int32_t Height() const override { return height; }
    int BitsPerPixel() const override { return bpp; }
    int Orientation() const override { return orientation; }

    std::string label;
    int orientation = 1;
    int32_t width;
    int32_t height;
    int bpp;
    // Pixel memory per locked format, made on the first lock.
    std::map<corv::PixelFormat, std::vector<uint8_t>> pixels;
    int32_t Stride(corv::PixelFormat f, int32_t extra) const {
        int32_t bytes = width * (f == corv::PixelFormat::Rgb24 ? 3 : 4);
        return ((bytes + 3) / 4) * 4 + extra;
    }
};

class RecordingImaging;

class RecordingSurface : public corv::Surface {
public:
    RecordingSurface(std::vector<std::string>& log, std::string target)
        : log_(log), target_(std::move(target)) {}

    void Clear(uint32_t argb) override { Say("clear " + Hex(argb)); }
    void DrawImage(corv::Image& image, const corv::RectI& dest) override {
        Say("draw " + Label(image) + " " + Str(dest));
    }
    void DrawImage(corv::Image& image, const corv::RectF& dest) override {
        Say("draw " + Label(image) + " " + Str(dest));
    }
    void DrawImage(corv::Image& image, const corv::RectI& dest, const corv::RectI& src) override {
        Say("draw " + Label(image) + " " + Str(dest) + " from " + Str(src));
    }
    void DrawImage(corv::Image& image, const corv::RectF& dest, const corv::RectF& src) override {
        Say("draw " + Label(image) + " " + Str(dest) + " from " + Str(src));
    }
    corv::Interpolation GetInterpolation() const override { return mode_; }
    void SetInterpolation(corv::Interpolation mode) override {
        mode_ = mode;
        Say(std::string("interpolation ") +
            (mode == corv::Interpolation::HighQualityBicubic ? "bicubic" : "default"));
    }
    void RotateTransform(float degrees, corv::MatrixOrder order) override {
        Say("rotate " + Num(degrees) + " " + Order(order));
    }
    void TranslateTransform(float dx, float dy, corv::MatrixOrder order) override {
        Say("translate " + Num(dx) + " " + Num(dy) + " " + Order(order));
    }
    void FillRect(const corv::RectI& rect, uint32_t argb) override {
        Say("fill " + Str(rect) + " " + Hex(argb));
    }
    void FillGradient(const corv::RectI& rect, uint32_t from, uint32_t to, float angle) override {
        Say("gradient " + Str(rect) + " " + Hex(from) + " " + Hex(to) + " " + Num(angle));
    }
    void DrawRectOutline(const corv::RectI& rect, uint32_t argb) override {
        Say("outline " + Str(rect) + " " + Hex(argb));
    }
    void DrawString(const std::string& text, const corv::FontSpec& font, const corv::RectF& layout,
                    uint32_t argb, corv::TextAlign h, corv::TextAlign v) override {
        Say("text \"" + text + "\" " + font.family + " " + Num(font.pixelSize) + " " +
            std::to_string(font.style) + " " + Str(layout) + " " + Hex(argb) + " " + Align(h) +
            " " + Align(v));
    }

private:
    static std::string Label(corv::Image& image) {
        auto* fake = dynamic_cast<FakeImage*>(&image);
        return fake ? fake->label : "?";
    }
    static std::string Order(corv::MatrixOrder o) {
        return o == corv::MatrixOrder::Prepend ? "prepend" : "append";
    }
    static std::string Align(corv::TextAlign a) {
        return a == corv::TextAlign::Near     ? "near"
               : a == corv::TextAlign::Center ? "center"
                                              : "far";
    }
    void Say(const std::string& line) { log_.push_back(target_ + ": " + line); }

    std::vector<std::string>& log_;
    std::string target_;
    corv::Interpolation mode_ = corv::Interpolation::Default;
};

class RecordingImaging : public corv::Imaging {
public:
    struct Picture {
        int32_t width;
        int32_t height;
        int bpp;
        int orientation;
    };

    // Makes `path` decodable with the given size, as stored, and the
    // orientation its file records.
    void AddPicture(const std::string& path, int32_t w, int32_t h, int bpp = 24,
                    int orientation = 1) {
        pictures[path] = Picture{w, h, bpp, orientation};
    }

    using corv::Imaging::LoadPicture;
    std::unique_ptr<corv::Image> LoadPicture(const std::string& path,
                                             const corv::NeededSize& need) override {
        needs[path] = need;
        auto it = pictures.find(path);
        if (it == pictures.end()) {
            log.push_back("load " + path + " failed");
            return std::make_unique<FakeImage>(path, 0, 0, 0);
        }
        log.push_back("load " + path + " " + std::to_string(it->second.width) + "x" +
                      std::to_string(it->second.height));
        auto image =
            std::make_unique<FakeImage>(path, it->second.width, it->second.height, it->second.bpp);
        image->orientation = it->second.orientation;
        lastLoaded = image.get();
        return image;
    }

    std::unique_ptr<corv::Image> NewBitmap(int32_t w, int32_t h, corv::PixelFormat f) override {
        std::string label = "bmp" + std::to_string(++bitmaps_);
        log.push_back("new " + label + " " + std::to_string(w) + "x" + std::to_string(h) +
                      (f == corv::PixelFormat::Rgb24 ? " rgb24" : " argb32"));
        return std::make_unique<FakeImage>(label, w, h, f == corv::PixelFormat::Rgb24 ? 24 : 32);
    }

    std::unique_ptr<corv::Surface> SurfaceOn(corv::Image& bitmap) override {
        auto* fake = dynamic_cast<FakeImage*>(&bitmap);
        return std::make_unique<RecordingSurface>(log, fake ? fake->label : "?");
    }

    bool LockBits(corv::Image& bitmap, const corv::RectI& rect, corv::PixelFormat f, bool write,
                  corv::PixelBuffer& out) override {
        auto* fake = dynamic_cast<FakeImage*>(&bitmap);
        log.push_back("lock " + (fake ? fake->label : std::string("?")) + " " + Str(rect) +
                      (f == corv::PixelFormat::Rgb24 ? " rgb24" : " argb32") +
                      (write ? " write" : " read"));
        if (fake == nullptr || fake->width <= 0 || failLocks) return false;
        const int32_t stride = fake->Stride(f, extraStride);
        auto& memory = fake->pixels[f];
        if (memory.empty()) memory.assign(static_cast<size_t>(stride) * fake->height, 0);
        const int32_t pixelBytes = f == corv::PixelFormat::Rgb24 ? 3 : 4;
        out.scan0 = memory.data() + static_cast<size_t>(rect.y) * stride + rect.x * pixelBytes;
        out.stride = stride;
        out.width = rect.width;
        out.height = rect.height;
        out.format = f;
        return true;
    }

    void UnlockBits(corv::Image& bitmap, corv::PixelBuffer&) override {
        auto* fake = dynamic_cast<FakeImage*>(&bitmap);
        log.push_back("unlock " + (fake ? fake->label : std::string("?")));
    }

    bool Orient(corv::Image& picture, int orientation) override {
        auto* fake = dynamic_cast<FakeImage*>(&picture);
        log.push_back("orient " + (fake ? fake->label : std::string("?")) + " " +
                      std::to_string(orientation));
        if (fake == nullptr || orientation < 1 || orientation > 8) return false;
        if (orientation >= 5) std::swap(fake->width, fake->height);
        fake->orientation = 1;
        return true;
    }

    bool SaveImage(corv::Image& image, const std::string& path, const std::string& mime) override {
        auto* fake = dynamic_cast<FakeImage*>(&image);
        log.push_back("save " + (fake ? fake->label : std::string("?")) + " " + path + " " + mime);
        return saveSucceeds;
    }

    // Lines of the log that start with `prefix`.
    std::vector<std::string> Lines(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const auto& line : log)
            if (line.compare(0, prefix.size(), prefix) == 0) out.push_back(line);
        return out;
    }

    std::vector<std::string> log;
    std::map<std::string, Picture> pictures;
    // The size each path was last loaded for (0 x 0: the whole picture).
    std::map<std::string, corv::NeededSize> needs;
    FakeImage* lastLoaded = nullptr;
    int32_t extraStride = 0;  // padding added to every row, to test stride walks
    bool failLocks = false;
    bool saveSucceeds = true;

private:
    int bitmaps_ = 0;
};

}  // namespace corvtest
