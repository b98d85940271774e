#include "compose/effects.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <memory>

#include "engine/paths.h"

namespace corv {

namespace {

constexpr uint32_t kOpaqueBlack = 0xFF000000u;
constexpr uint32_t kOpaqueWhite = 0xFFFFFFFFu;

// The shadow sticks out by 18/482 of the picture's size.
int32_t ShadowMargin(int32_t size) {
    return static_cast<int32_t>(18LL * size / 482);
}

// How the picture sits in its layer and where the layer lands.
struct LayerPlan {
    bool rotate = false;
    int32_t width = 0;  // of the layer
    int32_t height = 0;
    int32_t side = 0;   // d, with rotation
    int32_t angle = 0;  // degrees, with rotation
    RectI work;         // the picture's rectangle in layer coordinates
    int32_t x = 0;      // the layer's top-left on the canvas
    int32_t y = 0;
};

// The square layer for a rotated picture: the picture is centred on the
// origin and the layer's transform turns it and moves it to the middle.
void PlanRotation(const EffectsContext& ctx, int32_t w, int32_t h, LayerPlan& plan) {
    plan.rotate = true;
    plan.side = RotationLayerSide(w, h);
    plan.width = plan.side;
    plan.height = plan.side;
    plan.work = RectI{-(w / 2), -(h / 2), w, h};
    plan.angle = PickRotationAngle(ctx.settings.rotatevalue, ctx.random);
    // The picture's centre stays where the placement put it.
    plan.x -= (plan.side - w) / 2;
    plan.y -= (plan.side - h) / 2;
}

void ApplyRotation(Surface& surface, const LayerPlan& plan) {
    const float half = static_cast<float>(plan.side) * 0.5f;
    surface.TranslateTransform(half, half, MatrixOrder::Append);
    surface.RotateTransform(static_cast<float>(plan.angle), MatrixOrder::Prepend);
}

// The shadow image stretched over a (w + sw) x (h + sh) bitmap, drawn behind
// the picture two pixels down and right of the source's origin. A shadow
// file that does not decode leaves the layer as it is.
void DrawShadow(const EffectsContext& ctx, Surface& layer, const RectI& work, int32_t w,
                int32_t h) {
    const int32_t width = w + ShadowMargin(w);
    const int32_t height = h + ShadowMargin(h);
    std::unique_ptr<Image> shadow = ctx.imaging.LoadPicture(DropShadowPath(ctx.programDir));
    if (shadow->Width() <= 0 || shadow->Height() <= 0) return;
    std::unique_ptr<Image> stretched = ctx.imaging.NewBitmap(width, height, PixelFormat::Argb32);
    if (stretched->Width() <= 0) return;
    {
        std::unique_ptr<Surface> surface = ctx.imaging.SurfaceOn(*stretched);
        if (!surface) return;
        surface->DrawImage(*shadow, RectI{0, 0, width, height});
    }
    layer.DrawImage(*stretched, RectI{work.x, work.y, width, height},
                    RectI{-2, -2, width + 2, height + 2});
}

// A band of the frame colour with a black line along its inner edge, drawn
// over the picture's rectangle; gives the rectangle left for the picture.
RectI DrawFrame(const EffectsContext& ctx, Surface& layer, const RectI& work, int32_t w,
                int32_t h) {
    // A negative thickness from a hand-edited file is taken as no band.
    const int32_t fs = std::max<int32_t>(0, ctx.settings.framesize);
    std::unique_ptr<Image> frame = ctx.imaging.NewBitmap(w, h, PixelFormat::Argb32);
    if (frame->Width() > 0) {
        std::unique_ptr<Surface> surface = ctx.imaging.SurfaceOn(*frame);
        if (surface) {
            surface->Clear(ColorRefToArgb(ctx.settings.framecolor).value);
            const RectI line{fs, fs, w - 2 * fs - 1, h - 2 * fs - 1};
            // A band wider than half the picture leaves no inner line.
            if (line.width > 0 && line.height > 0) surface->DrawRectOutline(line, kOpaqueBlack);
            surface.reset();
            layer.DrawImage(*frame, RectI{work.x, work.y, w, h}, RectI{-1, -1, w + 1, h + 1});
        }
    }
    return RectI{work.x + fs + 1, work.y + fs + 1, work.width - 2 * fs - 2,
                 work.height - 2 * fs - 2};
}

void DrawPictureInto(Surface& layer, Image& picture, const LayerPlan& plan, RectI rc) {
    const int32_t iw = picture.Width();
    const int32_t ih = picture.Height();
    if (iw <= 0 || ih <= 0) return;
    if (plan.rotate) {
        if (rc.width < 1 || rc.height < 1) return;
        const Interpolation previous = layer.GetInterpolation();
        layer.SetInterpolation(Interpolation::HighQualityBicubic);
        layer.DrawImage(picture, rc, RectI{-2, -2, iw + 2, ih + 2});
        layer.SetInterpolation(previous);
        return;
    }
    rc = RectI{rc.x + 1, rc.y + 1, rc.width - 1, rc.height - 1};
    if (rc.width < 1 || rc.height < 1) return;  // the frame took all of it
    layer.DrawImage(picture, rc, RectI{0, 0, iw, ih});
}

// The mask to use, or empty for none.
std::string ChooseMask(const EffectsContext& ctx) {
    if (ctx.settings.isrndmask) return PickRandomMask(ctx.maskList, ctx.random);
    return ctx.settings.maskfilename;
}

// Builds the mask layer for `plan` and cuts the picture layer with it.
// False when there is no usable mask; the picture layer is then unchanged.
bool CutWithMask(const EffectsContext& ctx, Image& pictureLayer, const LayerPlan& plan, int32_t w,
                 int32_t h) {
    const std::string path = ChooseMask(ctx);
    if (path.empty()) return false;
    std::unique_ptr<Image> mask = ctx.imaging.LoadPicture(path);
    const int32_t mw = mask->Width();
    const int32_t mh = mask->Height();
    if (mw <= 0 || mh <= 0) return false;
    std::unique_ptr<Image> maskLayer =
        ctx.imaging.NewBitmap(plan.width, plan.height, PixelFormat::Argb32);
    if (maskLayer->Width() <= 0) return false;
    {
        std::unique_ptr<Surface> surface = ctx.imaging.SurfaceOn(*maskLayer);
        if (!surface) return false;
        if (plan.rotate) {
            // Outside the turned picture the mask hides everything. The clear
            // covers the whole bitmap whatever the transform; doing it before
            // the transform is set keeps every edge pixel covered too.
            surface->Clear(kOpaqueWhite);
            ApplyRotation(*surface, plan);
            surface->DrawImage(*mask, RectI{plan.work.x, plan.work.y, w, h}, RectI{0, 0, mw, mh});
        } else {
            surface->DrawImage(*mask, RectI{0, 0, w, h});
        }
    }
    ApplyMaskAlpha(ctx.imaging, pictureLayer, *maskLayer);
    return true;
}

bool EndsWithGif(const std::string& name) {
    static const char kSuffix[] = ".gif";
    const std::size_t n = sizeof kSuffix - 1;
    if (name.size() < n) return false;
    for (std::size_t i = 0; i < n; ++i) {
        char c = name[name.size() - n + i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != kSuffix[i]) return false;
    }
    return true;
}

}  // namespace

bool IsOpaquePicture(const Image& picture) {
    return picture.BitsPerPixel() == 24;
}

std::string DropShadowPath(const std::string& programDir) {
    return JoinPath(JoinPath(programDir, "effects"), "dropshadow.png");
}

int32_t RotationLayerSide(int32_t w, int32_t h) {
    const long long squares = 1LL * w * w + 1LL * h * h;
    return static_cast<int32_t>(std::sqrt(static_cast<double>(squares)));
}

int32_t PickRotationAngle(int32_t rotateValue, Random& random) {
    if (rotateValue <= 0) return 0;
    long long r = random.Next() % rotateValue;
    if (r < 0) r += rotateValue;
    return static_cast<int32_t>(r - rotateValue / 2);
}

void DrawPictureLayer(const EffectsContext& ctx, Surface& canvas, Image& picture, int32_t w,
                      int32_t h, int32_t x, int32_t y) {
    if (w < 1 || h < 1) return;
    const Settings& s = ctx.settings;
    LayerPlan plan;
    plan.x = x;
    plan.y = y;
    if (s.isrotate) {
        PlanRotation(ctx, w, h, plan);
    } else {
        plan.width = s.isshadow ? w + ShadowMargin(w) : w;
        plan.height = h + ShadowMargin(h);
        plan.work = RectI{0, 0, w, h};
    }
    // An opaque picture that is not turned covers its part of the layer
    // whole: it goes straight onto the canvas after the layer, and the
    // layer holds only the shadow and the frame (and is not made without
    // them).
    const bool direct = !plan.rotate && IsOpaquePicture(picture);
    RectI rc = plan.work;
    if (!direct || s.isshadow || s.isframe) {
        std::unique_ptr<Image> layer =
            ctx.imaging.NewBitmap(plan.width, plan.height, PixelFormat::Argb32);
        if (layer->Width() <= 0) return;
        {
            std::unique_ptr<Surface> surface = ctx.imaging.SurfaceOn(*layer);
            if (!surface) return;
            if (plan.rotate) ApplyRotation(*surface, plan);
            if (s.isshadow) DrawShadow(ctx, *surface, rc, w, h);
            if (s.isframe) rc = DrawFrame(ctx, *surface, rc, w, h);
            if (!direct) DrawPictureInto(*surface, picture, plan, rc);
        }
        canvas.DrawImage(*layer, RectI{plan.x, plan.y, plan.width, plan.height});
    }
    if (direct)
        DrawPictureInto(canvas, picture, plan,
                        RectI{plan.x + rc.x, plan.y + rc.y, rc.width, rc.height});
}

void DrawMaskedPicture(const EffectsContext& ctx, Surface& canvas, Image& picture, int32_t w,
                       int32_t h, int32_t x, int32_t y) {
    if (w < 1 || h < 1) return;
    LayerPlan plan;
    plan.x = x;
    plan.y = y;
    if (ctx.settings.isrotate) {
        PlanRotation(ctx, w, h, plan);
    } else {
        plan.width = w;
        plan.height = h;
        plan.work = RectI{0, 0, w, h};
    }
    std::unique_ptr<Image> layer =
        ctx.imaging.NewBitmap(plan.width, plan.height, PixelFormat::Argb32);
    if (layer->Width() <= 0) return;
    const int32_t iw = picture.Width();
    const int32_t ih = picture.Height();
    {
        std::unique_ptr<Surface> surface = ctx.imaging.SurfaceOn(*layer);
        if (!surface) return;
        if (plan.rotate) ApplyRotation(*surface, plan);
        if (iw > 0 && ih > 0) {
            if (plan.rotate) {
                const Interpolation previous = surface->GetInterpolation();
                surface->SetInterpolation(Interpolation::HighQualityBicubic);
                surface->DrawImage(picture, RectI{plan.work.x, plan.work.y, w, h},
                                   RectI{0, 0, iw, ih});
                surface->SetInterpolation(previous);
            } else {
                surface->DrawImage(picture, RectI{0, 0, w, h}, RectI{0, 0, iw, ih});
            }
        }
    }
    CutWithMask(ctx, *layer, plan, w, h);
    canvas.DrawImage(*layer, RectI{plan.x, plan.y, plan.width, plan.height});
}

void ApplyMaskAlpha(Imaging& imaging, Image& layer, Image& mask) {
    // Both are made the same size; should they ever differ, only the part
    // they share is touched.
    const int32_t width = std::min(layer.Width(), mask.Width());
    const int32_t height = std::min(layer.Height(), mask.Height());
    if (width <= 0 || height <= 0) return;
    const RectI area{0, 0, width, height};
    ScopedBits target(imaging, layer, area, PixelFormat::Argb32, true);
    if (!target.Locked()) return;
    ScopedBits source(imaging, mask, area, PixelFormat::Argb32, false);
    if (!source.Locked()) return;
    const PixelBuffer& p = target.Buffer();
    const PixelBuffer& k = source.Buffer();
    for (int32_t row = 0; row < height; ++row) {
        uint8_t* out = p.scan0 + static_cast<std::ptrdiff_t>(row) * p.stride;
        const uint8_t* in = k.scan0 + static_cast<std::ptrdiff_t>(row) * k.stride;
        for (int32_t col = 0; col < width; ++col)
            out[col * 4 + 3] = static_cast<uint8_t>(255 - in[col * 4 + 2]);
    }
}

std::string PickRandomMask(const std::vector<std::string>& maskList, Random& random) {
    if (maskList.empty()) return std::string();
    const long long count = static_cast<long long>(maskList.size());
    long long index = random.Next() % count;
    if (index < 0) index += count;
    return maskList[static_cast<std::size_t>(index)];
}

void LoadMaskList(FileSystem& fileSystem, const std::string& folder,
                  std::vector<std::string>& maskList) {
    maskList.clear();
    fileSystem.ForEachEntry(folder, [&](const DirEntry& entry) {
        if (entry.isDirectory || entry.name == "." || entry.name == "..") return;
        if (!EndsWithGif(entry.name)) return;
        maskList.push_back(JoinPath(folder, entry.name));
    });
}

}  // namespace corv
