#include "compose/composer.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "compose/calendar.h"
#include "compose/effects.h"
#include "compose/monitor_layout.h"
#include "compose/shadow_text.h"
#include "compose/slots_file.h"
#include "engine/catalogue.h"
#include "engine/desktop_settings.h"
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
// The width of slot `index` (of a list that is not empty), as CurrentSlot
// takes it.
int32_t SlotWidthAt(const AppState& state, std::size_t index) {
    const SlotRect& stored = state.placementSlots[index % state.placementSlots.size()];
    const SlotRect slot = stored.right - stored.left > 0 && stored.bottom - stored.top > 0
                              ? stored
                              : NearestAllowedSlot(stored, state.screenWidth);
    return slot.right - slot.left;
}

int32_t PictureLimit(const AppState& state, std::size_t later = 0) {
    if (state.settings.imagepos == ImagePos::Slots && !state.placementSlots.empty()) {
        const std::size_t count = state.placementSlots.size();
        const std::size_t index =
            state.slotIndex < 0 || static_cast<std::size_t>(state.slotIndex) >= count
                ? 0
                : static_cast<std::size_t>(state.slotIndex);
        return SlotWidthAt(state, index + later);
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

// The background of every region of the plan (one region for one monitor),
// or the kept wallpaper of a collage, put back in canvas order when the file
// was laid out for the tile style.
//
// With a file of each monitor's own (`eachMonitor` holds the monitors), the
// kept wallpaper is those files, each put back on its monitor's part.
bool DrawKeptMonitorFiles(AppState& state, Surface& canvas, ComposeServices& services,
                          const WallpaperPlan& plan, const std::vector<MonitorArea>& monitors) {
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        std::unique_ptr<Image> kept =
            services.imaging.LoadPicture(OwnMonitorWallpaperPath(state.settings.programDir, i));
        if (kept->Width() <= 0) return false;
        if (state.settings.isbackgray) {
            ScopedBits bits(services.imaging, *kept, RectI{0, 0, kept->Width(), kept->Height()},
                            PixelFormat::Rgb24, true);
            if (bits.Locked()) MakeGray(bits.Buffer());
        }
        const RectI& area = monitors[i].area;
        canvas.DrawImage(
            *kept, RectI{area.x - plan.canvas.x, area.y - plan.canvas.y, area.width, area.height});
    }
    return true;
}

void DrawBase(AppState& state, Surface& canvas, ComposeServices& services,
              const WallpaperPlan& plan, const std::vector<MonitorArea>* eachMonitor) {
    const int32_t W = plan.canvas.width;
    const int32_t H = plan.canvas.height;
    const Settings& s = state.settings;
    const bool collage = s.isoverlap && state.freshCanvasRequested == 0 &&
                         s.piccleartotalcnt >= state.overlapCount + 1 && AllowsCollage(s.imagepos);
    if (collage && eachMonitor != nullptr) {
        if (DrawKeptMonitorFiles(state, canvas, services, plan, *eachMonitor)) return;
        // A file is gone or unreadable: a fresh canvas, as below.
    } else if (collage) {
        std::unique_ptr<Image> kept = services.imaging.LoadPicture(WallpaperFilePath(s.programDir));
        if (kept->Width() > 0) {
            if (s.isbackgray || plan.tiled) {
                ScopedBits bits(services.imaging, *kept, RectI{0, 0, kept->Width(), kept->Height()},
                                PixelFormat::Rgb24, true);
                if (bits.Locked() && plan.tiled)
                    ShiftCyclically(bits.Buffer(), -plan.tileShift.x, -plan.tileShift.y, 3);
                if (bits.Locked() && s.isbackgray) MakeGray(bits.Buffer());
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
        // Decoded for the largest region it covers.
        NeededSize need{0, 0, s.isstretch};
        for (const RectI& r : plan.regions) {
            need.width = std::max(need.width, r.width);
            need.height = std::max(need.height, r.height);
        }
        std::unique_ptr<Image> back = services.imaging.LoadPicture(s.backimagename, need);
        if (back->Width() > 0) {
            StandUpright(services.imaging, *back);
            for (const RectI& r : plan.regions) {
                if (s.isstretch) {
                    canvas.DrawImage(*back, r);
                    continue;
                }
                RectF fit = FitBackgroundRect(back->Width(), back->Height(), r.width, r.height);
                fit.x += static_cast<float>(r.x);
                fit.y += static_cast<float>(r.y);
                canvas.DrawImage(*back, fit);
            }
        }
    }
    state.overlapCount = 0;
    state.freshCanvasRequested = 0;
}

// Where the next picture goes: a region of the canvas (file pixels) and the
// monitor it shows on (virtual-screen pixels). With several monitors a
// monitor takes the next slot whose centre lies on it, or is centred when
// none does.
struct PictureRegion {
    RectI canvas;
    RectI monitor;
    PointI origin;  // the canvas's top-left on the virtual screen
    bool severalMonitors = false;
};

// Draws the next picture into the region; the path of the picture drawn.
std::string DrawPictureStep(AppState& state, int step, Surface& canvas, ComposeServices& services,
                            const PictureRegion& region) {
    PickSources sources{services.fs, services.random, services.clock, services.scanStep,
                        services.listScanned};
    StepPicture(state, step, sources);
    const std::string path = state.currentPicture;
    if (path.empty()) return path;
    const int32_t W = region.canvas.width;
    const int32_t H = region.canvas.height;
    Settings& s = state.settings;
    const ImagePos mode = s.imagepos;
    if (region.severalMonitors && mode == ImagePos::Slots) {
        const int32_t slot =
            NextSlotOnMonitor(state.placementSlots, state.slotIndex, region.monitor);
        if (slot >= 0)
            state.slotIndex = slot;
        else
            s.imagepos = ImagePos::Centred;  // for this picture only
    }
    // The picture is drawn inside a square of the limit's side, so a
    // large photo need not be decoded in full.
    CheckSlotIndex(state);
    int32_t limit = EffectiveLimit(PictureLimit(state));
    if (region.severalMonitors && s.imagepos != ImagePos::Slots)
        limit = MonitorPictureLimit(limit, W);
    const NeededSize need{limit, limit, false};
    std::unique_ptr<Image> picture;
    if (services.preparedPicture) picture = services.preparedPicture(path, need);
    if (!picture) picture = services.imaging.LoadPicture(path, need);
    if (picture->Width() > 0 && picture->Height() > 0) {
        ++state.overlapCount;
        StandUpright(services.imaging, *picture);
        const SizeI size = FitPictureSize(picture->Width(), picture->Height(), limit, s.notstrech);
        PointI at =
            PlacePicture(state, W, H, size.width, size.height, services.random, services.clock);
        if (s.imagepos == ImagePos::Slots && !state.placementSlots.empty()) {
            // Slots are virtual-screen rectangles.
            at.x -= region.origin.x;
            at.y -= region.origin.y;
        } else {
            at.x += region.canvas.x;
            at.y += region.canvas.y;
        }
        const EffectsContext effects{s, services.imaging, services.random, state.maskList,
                                     s.programDir};
        if (s.ismask)
            DrawMaskedPicture(effects, canvas, *picture, size.width, size.height, at.x, at.y);
        else
            DrawPictureLayer(effects, canvas, *picture, size.width, size.height, at.x, at.y);
    }
    s.imagepos = mode;
    return path;
}

// The pictures of the plan's regions, the primary's first; each region
// keeps a last centre of its own for random placement.
std::string DrawPictures(AppState& state, int step, Surface& canvas, ComposeServices& services,
                         const WallpaperPlan& plan) {
    const bool several = plan.regions.size() > 1;
    const PointI origin{plan.canvas.x, plan.canvas.y};
    if (!several) {
        return DrawPictureStep(
            state, step, canvas, services,
            PictureRegion{plan.regions.front(), plan.monitors.front(), origin, false});
    }
    // The primary takes the step (a previous picture too); every other
    // monitor its next picture. The primary's picture stays the current
    // one, which the caption names and the tray's commands open or delete.
    // A change adds one picture to each monitor's collage.
    state.monitorCentres.resize(plan.regions.size(), kNoCentreYet);
    const int32_t overlapBefore = state.overlapCount;
    std::string primaryPath, primaryPrevious;
    for (std::size_t i = 0; i < plan.regions.size(); ++i) {
        std::swap(state.lastCentre, state.monitorCentres[i]);
        const std::string path =
            DrawPictureStep(state, i == 0 ? step : 0, canvas, services,
                            PictureRegion{plan.regions[i], plan.monitors[i], origin, true});
        std::swap(state.lastCentre, state.monitorCentres[i]);
        if (i == 0) {
            primaryPath = path;
            primaryPrevious = state.previousPicture;
        }
    }
    state.currentPicture = primaryPath;
    state.previousPicture = primaryPrevious;
    if (state.overlapCount > overlapBefore) state.overlapCount = overlapBefore + 1;
    return primaryPath;
}

// Saves the canvas beside the final file first, so a failed write never
// leaves a broken wallpaper behind.
// The save replaces the file in one step, so a failed one leaves the last
// wallpaper as it was.
void SaveWallpaper(Imaging& imaging, Image& canvas, const std::string& path) {
    imaging.SaveImage(canvas, path, "image/bmp");
}

// Each monitor's part of the canvas as a file of its own, at the monitor's
// pixel size, set on that monitor.
void SetMonitorFiles(AppState& state, Image& canvas, ComposeServices& services,
                     const WallpaperPlan& plan, const std::vector<MonitorArea>& monitors) {
    std::vector<MonitorFile> files;
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const RectI& area = monitors[i].area;
        const RectI part{area.x - plan.canvas.x, area.y - plan.canvas.y, area.width, area.height};
        std::unique_ptr<Image> file =
            services.imaging.NewBitmap(part.width, part.height, PixelFormat::Rgb24);
        if (file->Width() <= 0) continue;
        {
            ScopedBits from(services.imaging, canvas, part, PixelFormat::Rgb24, false);
            ScopedBits to(services.imaging, *file, RectI{0, 0, part.width, part.height},
                          PixelFormat::Rgb24, true);
            if (!from.Locked() || !to.Locked()) continue;
            const std::size_t rowBytes = static_cast<std::size_t>(part.width) * 3;
            for (int32_t row = 0; row < part.height; ++row)
                std::memcpy(
                    to.Buffer().scan0 + static_cast<std::ptrdiff_t>(row) * to.Buffer().stride,
                    from.Buffer().scan0 + static_cast<std::ptrdiff_t>(row) * from.Buffer().stride,
                    rowBytes);
        }
        const std::string path = OwnMonitorWallpaperPath(state.settings.programDir, i);
        SaveWallpaper(services.imaging, *file, path);
        files.push_back(MonitorFile{area, path});
    }
    services.desktop.SetMonitorWallpapers(files);
    state.eachMonitorSet = true;
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

namespace {

WallpaperPlan ChangePlan(const Settings& settings, const std::vector<MonitorArea>& monitors,
                         SizeI screen, const RectI& workArea) {
    WallpaperPlan plan = PlanWallpaper(monitors, MonitorModeOf(settings.multimonitor));
    if (!plan.tiled) {
        // One file of the primary screen's size, as the system reports it.
        plan.canvas = RectI{0, 0, screen.width, screen.height};
        plan.regions = {plan.canvas};
        plan.monitors = {plan.canvas};
        plan.workArea = workArea;
    }
    return plan;
}

WallpaperPlan ChangePlan(const Settings& settings, Desktop& desktop, SizeI screen,
                         const RectI& workArea) {
    return ChangePlan(settings, UsableMonitors(desktop.Monitors(), screen, workArea), screen,
                      workArea);
}

}  // namespace

std::vector<NeededSize> NextPictureNeeds(const AppState& state, Desktop& desktop) {
    const SizeI screen = desktop.ScreenSize();
    if (screen.width <= 0 || screen.height <= 0) return {};
    const WallpaperPlan plan = ChangePlan(state.settings, desktop, screen, desktop.WorkArea());
    if (plan.regions.size() <= 1) return {PictureNeed(state)};
    // As DrawPictureStep goes through the monitors: a slot on the monitor
    // when there is one, else centred within three quarters of it.
    const Settings& s = state.settings;
    const std::size_t slots = state.placementSlots.size();
    int32_t slotIndex = state.slotIndex;
    std::vector<NeededSize> needs;
    for (std::size_t i = 0; i < plan.regions.size(); ++i) {
        int32_t limit = 0;
        const int32_t slot =
            s.imagepos == ImagePos::Slots
                ? NextSlotOnMonitor(state.placementSlots, slotIndex, plan.monitors[i])
                : -1;
        if (slot >= 0) {
            limit = EffectiveLimit(SlotWidthAt(state, static_cast<std::size_t>(slot)));
            slotIndex = static_cast<std::size_t>(slot) + 1 >= slots ? 0 : slot + 1;
        } else {
            limit = MonitorPictureLimit(EffectiveLimit(s.picmaxsize), plan.regions[i].width);
        }
        needs.push_back(NeededSize{limit, limit, false});
    }
    return needs;
}

void ChangeWallpaper(AppState& state, int step, ComposeServices& services) {
    const SizeI screen = services.desktop.ScreenSize();
    state.screenWidth = screen.width;
    state.screenHeight = screen.height;
    const RectI workArea = services.desktop.WorkArea();
    if (screen.width <= 0 || screen.height <= 0) return;

    const std::vector<MonitorArea> monitors =
        UsableMonitors(services.desktop.Monitors(), screen, workArea);
    WallpaperPlan plan = ChangePlan(state.settings, monitors, screen, workArea);
    const int32_t W = plan.canvas.width;
    const int32_t H = plan.canvas.height;
    if (W <= 0 || H <= 0) return;
    if (state.canvasWidth != W || state.canvasHeight != H) {
        // A new layout: the kept wallpaper no longer fits it.
        if (state.canvasWidth > 0) state.freshCanvasRequested = 1;
        state.canvasWidth = W;
        state.canvasHeight = H;
    }

    std::unique_ptr<Image> canvas = services.imaging.NewBitmap(W, H, PixelFormat::Rgb24);
    if (canvas->Width() <= 0) return;
    std::unique_ptr<Surface> surface = services.imaging.SurfaceOn(*canvas);
    if (!surface) return;

    // Where the system sets every monitor's own wallpaper, each monitor gets
    // a file of its own instead of the one tiled file.
    const bool eachMonitor = plan.tiled && services.desktop.SetsEachMonitor();
    DrawBase(state, *surface, services, plan, eachMonitor ? &monitors : nullptr);
    if (state.settings.isforeimg) {
        const std::string path = DrawPictures(state, step, *surface, services, plan);
        if (state.settings.ispath) DrawPathCaption(*surface, path, plan.workArea, state.screenDpi);
    }
    if (state.settings.iscalender)
        DrawCalendar(*surface, services.imaging, plan.workArea, services.clock.Today(),
                     state.settings, state.specialDays, state.settings.programDir, state.screenDpi);

    surface.reset();
    if (eachMonitor) {
        SetMonitorFiles(state, *canvas, services, plan, monitors);
        return;
    }
    if (plan.tiled) {
        ScopedBits bits(services.imaging, *canvas, RectI{0, 0, W, H}, PixelFormat::Rgb24, true);
        if (bits.Locked()) ShiftCyclically(bits.Buffer(), plan.tileShift.x, plan.tileShift.y, 3);
    }
    const std::string path = WallpaperFilePath(state.settings.programDir);
    SaveWallpaper(services.imaging, *canvas, path);
    if (plan.tiled) {
        services.desktop.SetTiledWallpaper(path);
        state.tiledWallpaperSet = true;
    } else {
        services.desktop.SetWallpaper(path);
    }
}

}  // namespace corv
