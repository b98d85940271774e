#include "compose/composer.h"

#include <algorithm>
#include <cstdint>

#include "compose/calendar.h"
#include "compose/effects.h"
#include "compose/shadow_text.h"
#include "compose/slots_file.h"
#include "engine/catalogue.h"
#include "engine/file_io.h"
#include "engine/paths.h"

namespace corv {

namespace {

constexpr int32_t kDefaultPictureLimit = 400;

// The slot editor can shorten the slot list under the index: an index off
// the list starts again at the first slot.
void CheckSlotIndex(AppState& state) {
    if (state.slotIndex < 0 ||
        static_cast<std::size_t>(state.slotIndex) >= state.placementSlots.size())
        state.slotIndex = 0;
}

// The slot at the index. A slot without width or height (an empty line of
// poslist.txt gives 0,0,0,0) holds pictures at the nearest allowed size, as
// the slot editor shows it; every other slot is used as it is.
SlotRect CurrentSlot(const AppState& state, int32_t screenWidth) {
    const SlotRect& slot = state.placementSlots[static_cast<std::size_t>(state.slotIndex)];
    if (slot.right - slot.left > 0 && slot.bottom - slot.top > 0) return slot;
    return NearestAllowedSlot(slot, screenWidth);
}

// The size limit of a picture: the width of the slot `later` slots after
// the index in slot mode, else picmaxsize. An index off the list counts
// as the first slot.
int32_t PictureLimit(const AppState& state, std::size_t later = 0) {
    if (state.settings.imagepos == ImagePos::Slots && !state.placementSlots.empty()) {
        const std::size_t count = state.placementSlots.size();
        const std::size_t index =
            state.slotIndex < 0 || static_cast<std::size_t>(state.slotIndex) >= count
                ? 0
                : static_cast<std::size_t>(state.slotIndex);
        const SlotRect& stored = state.placementSlots[(index + later) % count];
        const SlotRect slot = stored.right - stored.left > 0 && stored.bottom - stored.top > 0
                                  ? stored
                                  : NearestAllowedSlot(stored, state.screenWidth);
        return slot.right - slot.left;
    }
    return state.settings.picmaxsize;
}

// A limit that is not positive (possible only through a hand-edited env.ini
// or a degenerate slot) counts as the default limit.
int32_t EffectiveLimit(int32_t limit) {
    return limit > 0 ? limit : kDefaultPictureLimit;
}

// One random coordinate: (r * t) mod span + 10, or centred when the screen
// leaves no room for the margin.
int32_t RandomCoordinate(int32_t screen, int32_t size, Random& random, Clock& clock) {
    const uint32_t r = static_cast<uint32_t>(random.Next());
    const uint32_t t = clock.TickCount();
    const int32_t span = screen - size - 20;
    if (span <= 0) return (screen - size) / 2;
    return static_cast<int32_t>((r * t) % static_cast<uint32_t>(span)) + 10;
}

void DrawBase(AppState& state, Surface& canvas, ComposeServices& services, int32_t W, int32_t H) {
    const Settings& s = state.settings;
    const bool collage = s.isoverlap && state.freshCanvasRequested == 0 &&
                         s.piccleartotalcnt >= state.overlapCount + 1 && AllowsCollage(s.imagepos);
    if (collage) {
        std::unique_ptr<Image> kept = services.imaging.LoadPicture(WallpaperFilePath(s.programDir));
        if (kept->Width() > 0) {
            if (s.isbackgray) {
                ScopedBits bits(services.imaging, *kept, RectI{0, 0, kept->Width(), kept->Height()},
                                PixelFormat::Rgb24, true);
                if (bits.Locked()) MakeGray(bits.Buffer());
            }
            canvas.DrawImage(*kept, RectI{0, 0, W, H});
            return;  // the file is released here, before it is written again
        }
        // The kept wallpaper is gone or unreadable: a fresh canvas rather
        // than a black one for the rest of the round.
    }
    canvas.Clear((s.isbackcolor ? s.backcolor : s.desktopColor).value);
    if (s.isbackimg && !s.backimagename.empty()) {
        // Stretched over the screen, or fitted into it: never more pixels.
        std::unique_ptr<Image> back =
            services.imaging.LoadPicture(s.backimagename, NeededSize{W, H, s.isstretch});
        if (back->Width() > 0) {
            StandUpright(services.imaging, *back);
            if (s.isstretch)
                canvas.DrawImage(*back, RectI{0, 0, W, H});
            else
                canvas.DrawImage(*back, FitBackgroundRect(back->Width(), back->Height(), W, H));
        }
    }
    state.overlapCount = 0;
    state.freshCanvasRequested = 0;
}

void DrawPictureStep(AppState& state, int step, Surface& canvas, ComposeServices& services,
                     int32_t W, int32_t H, const RectI& workArea) {
    PickSources sources{services.fs, services.random, services.clock, services.scanStep,
                        services.listScanned};
    StepPicture(state, step, sources);
    const std::string path = state.currentPicture;
    if (!path.empty()) {
        // The picture is drawn inside a square of the limit's side, so a
        // large photo need not be decoded in full.
        CheckSlotIndex(state);
        const int32_t limit = EffectiveLimit(PictureLimit(state));
        const NeededSize need{limit, limit, false};
        std::unique_ptr<Image> picture;
        if (services.preparedPicture) picture = services.preparedPicture(path, need);
        if (!picture) picture = services.imaging.LoadPicture(path, need);
        if (picture->Width() > 0 && picture->Height() > 0) {
            ++state.overlapCount;
            StandUpright(services.imaging, *picture);
            const SizeI size = FitPictureSize(picture->Width(), picture->Height(), limit,
                                              state.settings.notstrech);
            const PointI at =
                PlacePicture(state, W, H, size.width, size.height, services.random, services.clock);
            const EffectsContext effects{state.settings, services.imaging, services.random,
                                         state.maskList, state.settings.programDir};
            if (state.settings.ismask)
                DrawMaskedPicture(effects, canvas, *picture, size.width, size.height, at.x, at.y);
            else
                DrawPictureLayer(effects, canvas, *picture, size.width, size.height, at.x, at.y);
        }
    }
    if (state.settings.ispath) DrawPathCaption(canvas, path, workArea, state.screenDpi);
}

// Saves the canvas beside the final file first, so a failed write never
// leaves a broken wallpaper behind.
// The save replaces the file in one step, so a failed one leaves the last
// wallpaper as it was.
void SaveWallpaper(Imaging& imaging, Image& canvas, const std::string& path) {
    imaging.SaveImage(canvas, path, "image/bmp");
}

}  // namespace

NeededSize PictureNeed(const AppState& state, std::size_t later) {
    const int32_t limit = EffectiveLimit(PictureLimit(state, later));
    return NeededSize{limit, limit, false};
}

std::string WallpaperFilePath(const std::string& programDir) {
    return JoinPath(programDir, kWallpaperFileName);
}

void StandUpright(Imaging& imaging, Image& picture) {
    const int orientation = picture.Orientation();
    if (orientation != 1) imaging.Orient(picture, orientation);
}

RectF FitBackgroundRect(int32_t iw, int32_t ih, int32_t W, int32_t H) {
    if (W >= iw && H >= ih)
        return RectF{static_cast<float>((W - iw) / 2), static_cast<float>((H - ih) / 2),
                     static_cast<float>(iw), static_cast<float>(ih)};
    if (iw <= 0 || ih <= 0) return RectF{0, 0, static_cast<float>(W), static_cast<float>(H)};
    const double imageRatio = static_cast<double>(iw) / ih;
    const double targetRatio = static_cast<double>(W) / H;
    if (imageRatio < targetRatio) {
        const int64_t sw = static_cast<int64_t>(H) * iw / ih;
        return RectF{static_cast<float>((W - sw) / 2), 0, static_cast<float>(sw),
                     static_cast<float>(H)};
    }
    const int64_t sh = static_cast<int64_t>(W) * ih / iw;
    return RectF{0, static_cast<float>((H - sh) / 2), static_cast<float>(W),
                 static_cast<float>(sh)};
}

void MakeGray(const PixelBuffer& pixels) {
    for (int32_t row = 0; row < pixels.height; ++row) {
        uint8_t* p = pixels.scan0 + static_cast<std::ptrdiff_t>(row) * pixels.stride;
        for (int32_t col = 0; col < pixels.width; ++col, p += 3) {
            const uint8_t g = static_cast<uint8_t>((11 * p[0] + 30 * p[2] + 59 * p[1]) / 100);
            p[0] = p[1] = p[2] = g;
        }
    }
}

SizeI FitPictureSize(int32_t iw, int32_t ih, int32_t limit, bool notStretch) {
    if (iw <= 0 || ih <= 0) return SizeI{0, 0};
    const int64_t L = EffectiveLimit(limit);
    int64_t w, h;
    if (iw >= ih) {
        w = L;
        h = ih * L / iw;
    } else {
        h = L;
        w = iw * L / ih;
    }
    if (notStretch) {
        w = std::min<int64_t>(w, iw);
        h = std::min<int64_t>(h, ih);
    }
    return SizeI{static_cast<int32_t>(w), static_cast<int32_t>(h)};
}

PointI PlacePicture(AppState& state, int32_t W, int32_t H, int32_t w, int32_t h, Random& random,
                    Clock& clock) {
    const PointI centred{(W - w) / 2, (H - h) / 2};
    switch (state.settings.imagepos) {
        case ImagePos::Centred:
            return centred;
        case ImagePos::Slots: {
            if (state.placementSlots.empty()) return centred;
            const std::size_t count = state.placementSlots.size();
            CheckSlotIndex(state);
            const SlotRect s = CurrentSlot(state, W);
            const PointI at{s.left + (s.right - s.left - w) / 2,
                            s.top + (s.bottom - s.top - h) / 2};
            if (static_cast<std::size_t>(++state.slotIndex) >= count) state.slotIndex = 0;
            return at;
        }
        case ImagePos::Random: {
            PointI at;
            at.x = RandomCoordinate(W, w, random, clock);
            at.y = RandomCoordinate(H, h, random, clock);
            PointI centre{at.x + w / 2, at.y + h / 2};
            const PointI& last = state.lastCentre;
            if (at.x <= last.x && last.x < at.x + w && at.y <= last.y && last.y < at.y + h) {
                centre = PointI{W - centre.x, H - centre.y};
                at = PointI{centre.x - w / 2, centre.y - h / 2};
            }
            state.lastCentre = centre;
            return at;
        }
        default:
            return PointI{0, 0};
    }
}

void DrawPathCaption(Surface& canvas, const std::string& path, const RectI& workArea,
                     int32_t screenDpi) {
    // Whether there is a path to show decides, not the state of the list:
    // the last picture of a random round has its caption, and a pick that
    // found nothing draws no empty bar.
    if (path.empty()) return;
    const int32_t right = workArea.x + workArea.width;
    const int32_t bottom = workArea.y + workArea.height;
    // The bar stays on the work area where the scale would push it past the
    // left edge.
    const int32_t dpi = DpiToFit(600, workArea.width, screenDpi);
    auto px = [dpi](int32_t pixels) { return ScaleForDpi(pixels, dpi); };
    const RectI bar{right - px(600), bottom - px(20), px(600), px(12)};
    canvas.FillGradient(bar, 0x00000000u, 0xDC000000u, 0);
    RectF layout{static_cast<float>(bar.x), static_cast<float>(bar.y),
                 static_cast<float>(bar.width), static_cast<float>(bar.height)};
    DrawShadowText(canvas, path, FontSpec{"Tahoma", ScaleForDpi(10.0f, dpi), kFontRegular}, layout,
                   0xFFFFFFFFu, dpi);
}

void ChangeWallpaper(AppState& state, int step, ComposeServices& services) {
    const SizeI screen = services.desktop.ScreenSize();
    state.screenWidth = screen.width;
    state.screenHeight = screen.height;
    const RectI workArea = services.desktop.WorkArea();
    if (screen.width <= 0 || screen.height <= 0) return;

    std::unique_ptr<Image> canvas =
        services.imaging.NewBitmap(screen.width, screen.height, PixelFormat::Rgb24);
    if (canvas->Width() <= 0) return;
    std::unique_ptr<Surface> surface = services.imaging.SurfaceOn(*canvas);
    if (!surface) return;

    DrawBase(state, *surface, services, screen.width, screen.height);
    if (state.settings.isforeimg)
        DrawPictureStep(state, step, *surface, services, screen.width, screen.height, workArea);
    if (state.settings.iscalender)
        DrawCalendar(*surface, services.imaging, workArea, services.clock.Today(), state.settings,
                     state.specialDays, state.settings.programDir, state.screenDpi);

    surface.reset();
    const std::string path = WallpaperFilePath(state.settings.programDir);
    SaveWallpaper(services.imaging, *canvas, path);
    services.desktop.SetWallpaper(path);
}

}  // namespace corv
